// Where the cursor goes after whole-document edits and clicks outside the text, by real keys and
// mouse clicks in a document window.
#include <QtTest>

#include "MainWindowFixture.h"
#include "commands/FunctionTable.h"
#include "core/Document.h"
#include "ui/EditPaneWidget.h"

using vexa::functionIdOf;
using vexa::StatusPane;
using vexa::ui::EditPaneWidget;

class CursorPlacementTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    // A new document with the lines typed in, the cursor left on the last one's end.
    EditPaneWidget* typeLines(const QStringList& lines) {
        m_window->runCommand(functionIdOf("FileNew"));
        EditPaneWidget* pane = m_window->activePane();
        if (pane == nullptr) {
            return nullptr;
        }
        pane->setFocus();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                QTest::keyClick(pane, Qt::Key_Return);
            }
            QTest::keyClicks(pane, lines[i]);
        }
        return pane;
    }

private slots:
    void init() { QVERIFY(startWindow()); }
    void cleanup() { stopWindow(); }

    void selectAllAndDeleteLeaveTheCursorAtTheStart_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("upKeys"); // where the cursor stands before Select All
        QTest::newRow("cursor on the last line") << QStringList{"int main(void)", "return 0;", "end"} << 0;
        QTest::newRow("cursor deep in a line") << QStringList{"int main(void)", "return 0;", "end"} << 1;
        QTest::newRow("one line") << QStringList{"alpha beta"} << 0;
    }

    void selectAllAndDeleteLeaveTheCursorAtTheStart() {
        QFETCH(QStringList, lines);
        QFETCH(int, upKeys);
        EditPaneWidget* pane = typeLines(lines);
        QVERIFY(pane != nullptr);
        for (int i = 0; i < upKeys; ++i) {
            QTest::keyClick(pane, Qt::Key_Up);
        }
        QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(pane, Qt::Key_Delete);
        QCOMPARE(pane->document().text(), std::string());
        QCOMPARE(pane->document().cursorLine(), 0);
        QCOMPARE(pane->document().cursorColumn(), 0);
        QCOMPARE(m_window->statusText(StatusPane::Position), QStringLiteral(" L:00001 C:0001"));
        // Undo brings the text back.
        QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(
            QString::fromStdString(pane->document().text()).split(QLatin1Char('\n')).mid(0, lines.size()),
            lines);
    }

    void aClickPutsTheCursorOnTheClickedCellOrBelowTheTextAtItsEnd_data() {
        QTest::addColumn<int>("line"); // the clicked cell, from the top of the view
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("cursorLine");
        QTest::addColumn<int>("cursorColumn");
        QTest::newRow("in the text") << 1 << 2 << 1 << 2;
        QTest::newRow("past a line's end: the clicked column") << 0 << 30 << 0 << 30;
        QTest::newRow("below the last line: the end of the text") << 8 << 40 << 2 << 9;
        QTest::newRow("below the last line, left of its end") << 6 << 3 << 2 << 9;
    }

    void aClickPutsTheCursorOnTheClickedCellOrBelowTheTextAtItsEnd() {
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(int, cursorLine);
        QFETCH(int, cursorColumn);
        EditPaneWidget* pane = typeLines({"int x;", "int y;", "return 0;"});
        QVERIFY(pane != nullptr);
        QTest::keyClick(pane, Qt::Key_Up);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, pane->cellCentre(line, column));
        QCOMPARE(pane->document().cursorLine(), cursorLine);
        QCOMPARE(pane->document().cursorColumn(), cursorColumn);
    }
};

QTEST_MAIN(CursorPlacementTest)
#include "CursorPlacementTest.moc"
