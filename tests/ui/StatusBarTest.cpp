// The status bar of the main window: the message pane takes the width the indicator panes leave,
// a message longer than that is shortened in the middle, never cut, and its tool tip holds it whole.
#include <QLabel>
#include <QStatusBar>
#include <QtTest>

#include "MainWindowFixture.h"
#include "commands/FunctionTable.h"
#include "ui/EditPaneWidget.h"

using vexa::functionIdOf;
using vexa::StatusPane;

class StatusBarTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    QLabel* pane(StatusPane which) const {
        return m_window->statusBar()->findChild<QLabel*>(QStringLiteral("statusPane%1").arg(int(which)));
    }

    void typeInNewDocument(const QString& text) {
        m_window->runCommand(functionIdOf("FileNew"));
        QWidget* edit = m_window->activePane();
        QVERIFY(edit != nullptr);
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

private slots:
    void init() {
        QVERIFY(startWindow());
        m_window->resize(1000, 700);
        QTest::qWait(20);
    }
    void cleanup() { stopWindow(); }

    void theMessagePaneTakesTheFreeWidth() {
        typeInNewDocument(QStringLiteral("int x;"));
        const QString message =
            QStringLiteral("Reached the end of document and the search string 'needle' was not found.");
        m_window->status(message.toStdString(), vexa::platform::SoundKind::None);
        QLabel* label = pane(StatusPane::Message);
        QCOMPARE(label->text(), message);
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(message),
                 qPrintable(QStringLiteral("%1 pixels for the message").arg(label->width())));
        // Every indicator pane still shows its text whole.
        for (const StatusPane indicator : {StatusPane::Changed, StatusPane::Mode, StatusPane::Format,
                                           StatusPane::Position, StatusPane::Clock}) {
            QLabel* shown = pane(indicator);
            QVERIFY2(shown->contentsRect().width() >= shown->fontMetrics().horizontalAdvance(shown->text()),
                     qPrintable(shown->text()));
        }
    }

    void aLongMessageIsShortenedInTheMiddleWithTheWholeTextInItsToolTip() {
        typeInNewDocument(QStringLiteral("x"));
        const QString message = QStringLiteral("The file '%1' could not be read: the end of it is here.")
                                    .arg(QStringLiteral("/very/long/folder").repeated(20));
        m_window->status(message.toStdString(), vexa::platform::SoundKind::None);
        QLabel* label = pane(StatusPane::Message);
        QVERIFY2(label->text().contains(QChar(0x2026)), qPrintable(label->text()));
        QVERIFY(label->text().startsWith(QStringLiteral("The file '/very")));
        QVERIFY(label->text().endsWith(QStringLiteral("the end of it is here.")));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());
        QCOMPARE(label->toolTip(), message);
        QCOMPARE(m_window->statusText(StatusPane::Message), message);

        // A wider window shows more of it.
        const int shownBefore = label->text().size();
        m_window->resize(1600, 700);
        QTRY_VERIFY(label->text().size() > shownBefore);
    }
};

QTEST_MAIN(StatusBarTest)
#include "StatusBarTest.moc"
