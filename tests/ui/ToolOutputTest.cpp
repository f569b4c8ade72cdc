// A command line run from the Tools menu with its output captured: a command that prints lines
// brings the Standard Output window forward, one that prints nothing leaves the document in front.
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include "MainWindowFixture.h"
#include "commands/FunctionTable.h"
#include "ui/EditPaneWidget.h"
#include "ui/OutputWindowWidget.h"

using vexa::functionIdOf;

class ToolOutputTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startWindow()); }
    void cleanup() { stopWindow(); }

    void aCommandThatPrintsBringsItsOutputForward_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("outputInFront");
        QTest::newRow("prints a line") << "echo printed-by-the-command" << true;
        QTest::newRow("prints nothing") << "true" << false;
    }

    void aCommandThatPrintsBringsItsOutputForward() {
        QFETCH(QString, command);
        QFETCH(bool, outputInFront);
        m_window->runCommand(functionIdOf("FileNew"));
        QVERIFY(m_window->activePane() != nullptr);
        m_window->setDialogRunner([&](QDialog& dialog) {
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog)) {
                return int(QDialog::Rejected);
            }
            dialog.activateWindow();
            if (!QTest::qWaitForWindowActive(&dialog)) {
                return int(QDialog::Rejected);
            }
            // The directory first, then the command line; Enter runs it.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), command);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            return dialog.result();
        });
        m_window->runCommand(functionIdOf("ToolsCommand"));
        // The run ends with the closing line of its output.
        const vexa::toolchain::OutputWindow& standard = m_window->editor().outputs().standard();
        QTRY_VERIFY_WITH_TIMEOUT(
            standard.lineCount() > 0 && standard.lines().back().text == "Command has completed.", 10000);
        QMdiSubWindow* front = m_window->documentArea()->activeSubWindow();
        QVERIFY(front != nullptr);
        const bool output = qobject_cast<vexa::ui::OutputWindowWidget*>(front->widget()) != nullptr;
        QCOMPARE(output, outputInFront);
    }
};

QTEST_MAIN(ToolOutputTest)
#include "ToolOutputTest.moc"
