// Smoke test of the main window: it opens, shows its document area and closes.
#include <QMdiArea>
#include <QtTest>

#include "ui/MainWindow.h"

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensAndCloses() {
        vexa::ui::MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.documentArea() != nullptr);
        QVERIFY(window.windowTitle().startsWith(QStringLiteral("Vexa")));
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
