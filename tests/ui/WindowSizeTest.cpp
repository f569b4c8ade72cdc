// Document windows get a useful size: new, restored and cascaded windows show at least 80 columns
// and 25 lines of text where the document area holds that many.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include "MainWindowFixture.h"
#include "commands/FunctionTable.h"
#include "ui/EditPaneWidget.h"

using vexa::functionIdOf;

class WindowSizeTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void cleanup() { stopWindow(); }

    void documentWindowsShowAtLeastEightyByTwentyFiveCells_data() {
        QTest::addColumn<int>("displayMode");  // how a new window shows: 1 normal, 3 maximised
        QTest::addColumn<uint>("arrangement"); // the Window function run after opening; 0: none
        QTest::newRow("new windows") << 1 << 0u;
        QTest::newRow("cascaded") << 1 << uint(functionIdOf("WindowCascade"));
        QTest::newRow("opened maximised, restored") << 3 << uint(functionIdOf("WindowRestoreAll"));
        QTest::newRow("opened normal, cascaded, restored") << 1 << uint(functionIdOf("WindowRestoreAll"));
    }

    void documentWindowsShowAtLeastEightyByTwentyFiveCells() {
        QFETCH(int, displayMode);
        QFETCH(uint, arrangement);
        QVERIFY(startWindow([&] { m_options->editor().displayMode = displayMode; }));
        m_window->resize(1280, 1000);
        QTest::qWait(20);
        for (int i = 0; i < 4; ++i) {
            m_window->runCommand(functionIdOf("FileNew"));
        }
        if (arrangement == functionIdOf("WindowRestoreAll") && displayMode == 1) {
            m_window->runCommand(functionIdOf("WindowCascade"));
        }
        if (arrangement != 0) {
            m_window->runCommand(arrangement);
        }
        QTest::qWait(20);
        const QSize area = m_window->documentArea()->viewport()->size();
        for (QMdiSubWindow* window : m_window->documentArea()->subWindowList()) {
            auto* pane = qobject_cast<vexa::ui::EditPaneWidget*>(window->widget());
            QVERIFY(pane != nullptr);
            QVERIFY2(!window->isMaximized(), "the window shows its own size");
            const QString size = QStringLiteral("%1 columns x %2 lines in a %3x%4 area")
                                     .arg(pane->pane().visibleColumns())
                                     .arg(pane->pane().visibleLines())
                                     .arg(area.width())
                                     .arg(area.height());
            QVERIFY2(pane->pane().visibleColumns() >= 80 && pane->pane().visibleLines() >= 25,
                     qPrintable(size));
            QVERIFY2(m_window->documentArea()->viewport()->rect().contains(window->geometry()),
                     qPrintable(size + QStringLiteral(": the window leaves the area")));
        }
    }
};

QTEST_MAIN(WindowSizeTest)
#include "WindowSizeTest.moc"
