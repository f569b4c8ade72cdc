// The main window driven by real key and mouse events: typing, Shift marking, copy and paste
// between two document windows, undo, menu commands and hints, the status bar and the window menu.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "toolchain/ToolsFile.h"
#include "commands/FunctionTable.h"
#include "commands/MenuTable.h"
#include "core/Document.h"
#include "settings/Directories.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "support/TempHome.h"
#include "ui/ColourOptionsWindow.h"
#include "ui/EditPaneWidget.h"
#include "ui/EditorOptionsDialog.h"
#include "ui/FileFiltersDialog.h"
#include "ui/MainWindow.h"
#include "ui/OutputWindowWidget.h"
#include "toolchain/OutputWindows.h"

#include "MainWindowFixture.h"
#include "ui/QtClipboard.h"

using vexa::Answer;
using vexa::functionIdOf;
using vexa::StatusPane;
using vexa::ui::EditPaneWidget;
using vexa::ui::MainWindow;

class MainWindowTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    EditPaneWidget* newPane() {
        m_window->action(functionIdOf("FileNew"))->trigger();
        EditPaneWidget* pane = m_window->activePane();
        if (pane != nullptr) {
            pane->setFocus();
        }
        return pane;
    }

    std::string text(EditPaneWidget* pane) { return pane->document().text(); }

    // Home, then Right pressed `characters` times with Shift held down as a hand holds it.
    static void shiftMarkFromLineStart(EditPaneWidget* pane, int characters) {
        QTest::keyClick(pane, Qt::Key_Home);
        QTest::keyPress(pane, Qt::Key_Shift, Qt::ShiftModifier);
        for (int i = 0; i < characters; ++i) {
            QTest::keyClick(pane, Qt::Key_Right, Qt::ShiftModifier);
        }
        QTest::keyRelease(pane, Qt::Key_Shift, Qt::NoModifier);
    }

private slots:
    void init() { QVERIFY(startWindow()); }

    void cleanup() { stopWindow(); }

    void typingInsertsAndUpdatesTheStatusBar() {
        EditPaneWidget* pane = newPane();
        QVERIFY(pane != nullptr);
        QCOMPARE(m_window->statusText(StatusPane::Changed), QString());
        QTest::keyClicks(pane, QStringLiteral("int x;"));
        QCOMPARE(text(pane), std::string("int x;"));
        QCOMPARE(m_window->statusText(StatusPane::Changed), QStringLiteral("CHG"));
        QCOMPARE(m_window->statusText(StatusPane::Position), QStringLiteral(" L:00001 C:0007"));
        QCOMPARE(m_window->statusText(StatusPane::Mode), QStringLiteral(" INS"));
        QTest::keyClick(pane, Qt::Key_Return);
        QTest::keyClicks(pane, QStringLiteral("y"));
        QCOMPARE(text(pane), std::string("int x;\ny"));
        QCOMPARE(m_window->statusText(StatusPane::Position), QStringLiteral(" L:00002 C:0002"));
    }

    // Keys of another layout arrive with their text and no Latin key code; the characters are
    // written as the document's encoding has them, and one that Windows-1252 cannot hold is
    // refused there with a message.
    void charactersTypeInTheDocumentsEncoding_data() {
        QTest::addColumn<bool>("windows1252");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("utf-8") << false << QByteArray("\xC3\xA9\xE2\x82\xAC\xCE\xB1\xF0\x9F\x98\x80");
        QTest::newRow("windows-1252") << true << QByteArray("\xE9\x80");
    }
    void charactersTypeInTheDocumentsEncoding() {
        QFETCH(bool, windows1252);
        QFETCH(QByteArray, expected);
        EditPaneWidget* pane = newPane();
        if (windows1252) {
            m_window->runCommand(functionIdOf("FileEncodingToggle"));
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u00e9\u20ac\u03b1\U0001F600"));
        QApplication::sendEvent(pane, &press);
        QCOMPARE(text(pane), expected.toStdString());
        if (windows1252) {
            QVERIFY(m_window->statusText(StatusPane::Message).contains(QStringLiteral("can not be held")));
        }
        QCOMPARE(m_window->statusText(StatusPane::Format),
                 windows1252 ? QStringLiteral("1252 LF") : QStringLiteral("UTF-8 LF"));
    }

    void undoRestoresTheText() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("abc"));
        QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY2(text(pane) != "abc", "Ctrl+Z changed nothing");
        while (!text(pane).empty() && pane->document().isModified()) {
            QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(text(pane), std::string());
        m_window->action(functionIdOf("Redo"))->trigger();
        QVERIFY(!text(pane).empty());
    }

    void shiftMarkingCopiesAStreamBetweenWindows() {
        EditPaneWidget* first = newPane();
        QTest::keyClicks(first, QStringLiteral("hello world"));
        shiftMarkFromLineStart(first, 5);
        QVERIFY(first->document().hasMark());
        QTest::keyClick(first, Qt::Key_C, Qt::ControlModifier);

        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        QCOMPARE(data->text(), QStringLiteral("hello"));
        const QByteArray type = data->data(QString::fromLatin1(vexa::ui::kPrivateMimeType));
        QCOMPARE(type.size(), 4);
        QCOMPARE(int(type[0]), int(vexa::MarkType::CuaStream));
        QCOMPARE(int(type[1]) | int(type[2]) | int(type[3]), 0);

        EditPaneWidget* second = newPane();
        QVERIFY(second != first);
        QTest::keyClicks(second, QStringLiteral("<>"));
        QTest::keyClick(second, Qt::Key_Left);
        QTest::keyClick(second, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text(second), std::string("<hello>"));
        QCOMPARE(text(first), std::string("hello world"));
    }

    void columnMarkPastesAsAColumn() {
        EditPaneWidget* first = newPane();
        QTest::keyClicks(first, QStringLiteral("abcd"));
        QTest::keyClick(first, Qt::Key_Return);
        QTest::keyClicks(first, QStringLiteral("efgh"));
        // A click places the cursor where the drag's marking then starts; the plain drag marks
        // with "MouseMark1", a column mark by default.
        QTest::mouseClick(first->viewport(), Qt::LeftButton, {}, first->cellCentre(0, 1));
        QCOMPARE(first->document().cursorLine(), 0);
        QCOMPARE(first->document().cursorColumn(), 1);
        QTest::mousePress(first->viewport(), Qt::LeftButton, {}, first->cellCentre(0, 1));
        QTest::mouseMove(first->viewport(), first->cellCentre(1, 2));
        QTest::mouseMove(first->viewport(), first->cellCentre(1, 3));
        QTest::mouseRelease(first->viewport(), Qt::LeftButton, {}, first->cellCentre(1, 3));
        QCOMPARE(first->document().mark().type, vexa::MarkType::Column);
        m_window->action(functionIdOf("MarkCopyEx"))->trigger();
        auto content = vexa::ui::QtClipboard().get();
        QVERIFY(content.has_value());
        QCOMPARE(content->privateMarkType, std::optional<int32_t>(int32_t(vexa::MarkType::Column)));

        EditPaneWidget* second = newPane();
        QTest::keyClicks(second, QStringLiteral("12"));
        QTest::keyClick(second, Qt::Key_Return);
        QTest::keyClicks(second, QStringLiteral("34"));
        QTest::keyClick(second, Qt::Key_Up);
        QTest::keyClick(second, Qt::Key_Left);
        m_window->action(functionIdOf("MarkPasteEx"))->trigger();
        QCOMPARE(QString::fromStdString(text(second)), QStringLiteral("1bc2\n3fg4"));
    }

    void dragMarksWithTheKindOfItsModifier_data() {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain drag: MouseMark1") << int(Qt::NoModifier) << int(vexa::MarkType::Column);
        QTest::newRow("Ctrl+drag: MouseMark2") << int(Qt::ControlModifier) << int(vexa::MarkType::Line);
        QTest::newRow("Shift+drag: MouseMark3") << int(Qt::ShiftModifier) << int(vexa::MarkType::Stream);
    }

    // The user holds the modifier key down, drags from line 1 column 1 to line 2 column 3 and
    // lets go of the button and then of the key, as a hand does.
    void dragMarksWithTheKindOfItsModifier() {
        QFETCH(int, modifiers);
        QFETCH(int, expected);
        const auto held = Qt::KeyboardModifiers(modifiers);
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("abcd"));
        QTest::keyClick(pane, Qt::Key_Return);
        QTest::keyClicks(pane, QStringLiteral("efgh"));
        const Qt::Key key = held == Qt::ShiftModifier ? Qt::Key_Shift : Qt::Key_Control;
        if (held != Qt::NoModifier) {
            QTest::keyPress(pane, key, held);
        }
        QTest::mousePress(pane->viewport(), Qt::LeftButton, held, pane->cellCentre(0, 1));
        QMouseEvent move(QEvent::MouseMove, pane->cellCentre(1, 2), pane->viewport()->mapToGlobal(pane->cellCentre(1, 2)),
                         Qt::NoButton, Qt::LeftButton, held);
        QApplication::sendEvent(pane->viewport(), &move);
        QTest::mouseRelease(pane->viewport(), Qt::LeftButton, held, pane->cellCentre(1, 3));
        if (held != Qt::NoModifier) {
            QTest::keyRelease(pane, key, Qt::NoModifier);
        }
        QCOMPARE(int(pane->document().mark().type), expected);
        QVERIFY(pane->document().isInside(0, 2));
        QVERIFY(pane->document().isInside(1, 1));
    }

    // The user opens the File menu with the mouse, closes it with Escape and presses Ctrl+N: the
    // key reaches the keymap at once instead of the menu bar that kept the keyboard.
    void aShortcutAfterEscapeClosedAMenuRuns() {
        EditPaneWidget* pane = newPane();
        m_window->activateWindow();
        QTRY_VERIFY(pane->hasFocus());
        QMenuBar* bar = m_window->menuBar();
        QAction* fileMenu = bar->actions().front();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fileMenu).center());
        QTRY_VERIFY(fileMenu->menu()->isVisible());
        QTest::keyClick(fileMenu->menu(), Qt::Key_Escape);
        QTRY_VERIFY(!fileMenu->menu()->isVisible());
        const std::size_t before = m_window->paneWidgets().size();
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        QTest::keyClick(focus, Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(m_window->paneWidgets().size(), before + 1);
    }

    // With the compiler's output window active, the arrows still move its selection while keys
    // bound to functions run them: F6 brings the next window forward, Ctrl+N makes a document.
    void keysInAnOutputWindowTakeTheKeyRoad() {
        EditPaneWidget* first = newPane();
        (void)newPane();
        vexa::toolchain::OutputWindow& output = m_window->editor().outputs().compiler();
        output.setRun("/src/", "/src/main.c");
        output.loadText("one\ntwo\nthree\n");
        m_window->showOutputWindow(output);
        auto* widget = m_window->findChild<vexa::ui::OutputWindowWidget*>();
        QVERIFY(widget != nullptr);
        QListView* list = widget->list();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(output.selection(), std::optional<std::size_t>(1));

        QTest::keyClick(list, Qt::Key_F6);
        QCOMPARE(m_window->activePane(), first);

        m_window->showOutputWindow(output);
        const std::size_t before = m_window->paneWidgets().size();
        QTest::keyClick(list, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(m_window->paneWidgets().size(), before + 1);
    }

    void markingSetsThePrimarySelectionAndAMiddleClickPastesIt_data() {
        QTest::addColumn<bool>("windows1252");
        QTest::newRow("utf-8") << false;
        QTest::newRow("windows-1252") << true;
    }

    // Shift+arrows mark "caf\u00e9"; the selection holds it as UTF-8 whatever the document's
    // encoding, and the clipboard of Ctrl+C is left alone. A drag then marks "lait", and a middle
    // click at the end of the line pastes it there, back in the document's encoding.
    void markingSetsThePrimarySelectionAndAMiddleClickPastesIt() {
        QFETCH(bool, windows1252);
        QGuiApplication::clipboard()->setText(QStringLiteral("desktop clipboard"));
        EditPaneWidget* pane = newPane();
        if (windows1252) {
            m_window->runCommand(functionIdOf("FileEncodingToggle"));
        }
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("caf\u00e9 au lait"));
        QApplication::sendEvent(pane, &typed);
        shiftMarkFromLineStart(pane, 4);
        vexa::platform::Clipboard& selection = m_window->primarySelection().clipboard();
        QTRY_VERIFY(selection.get().has_value());
        QTRY_COMPARE(QString::fromStdString(selection.get()->text), QStringLiteral("caf\u00e9"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("desktop clipboard"));

        QTest::keyPress(pane, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::mousePress(pane->viewport(), Qt::LeftButton, Qt::ShiftModifier, pane->cellCentre(0, 8));
        QMouseEvent move(QEvent::MouseMove, pane->cellCentre(0, 10),
                         pane->viewport()->mapToGlobal(pane->cellCentre(0, 10)), Qt::NoButton, Qt::LeftButton,
                         Qt::ShiftModifier);
        QApplication::sendEvent(pane->viewport(), &move);
        QTest::mouseRelease(pane->viewport(), Qt::LeftButton, Qt::ShiftModifier, pane->cellCentre(0, 12));
        QTest::keyRelease(pane, Qt::Key_Shift, Qt::NoModifier);
        QTRY_COMPARE(QString::fromStdString(selection.get()->text), QStringLiteral("lait"));

        QTest::mouseClick(pane->viewport(), Qt::MiddleButton, {}, pane->cellCentre(0, 12));
        const QByteArray e = windows1252 ? QByteArray("\xE9") : QByteArray("\xC3\xA9");
        QCOMPARE(QByteArray::fromStdString(text(pane)), "caf" + e + " au laitlait");
        QCOMPARE(pane->document().cursorColumn(), 16);
    }

    // Seen with try-vexa: "int" marked with Shift+Right, Upper Case from the context menu, and a
    // middle click pasted "int" — the selection still held the text from before the edit.
    void anEditInsideTheMarkReachesThePrimarySelection() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("int main"));
        shiftMarkFromLineStart(pane, 3);
        vexa::platform::Clipboard& selection = m_window->primarySelection().clipboard();
        QTRY_COMPARE(QString::fromStdString(selection.get().value_or(vexa::platform::ClipboardContent{}).text),
                     QStringLiteral("int"));

        QContextMenuEvent event(QContextMenuEvent::Mouse, pane->cellCentre(0, 1),
                                pane->viewport()->mapToGlobal(pane->cellCentre(0, 1)));
        QApplication::sendEvent(pane->viewport(), &event);
        QTRY_VERIFY(m_window->contextMenu()->isVisible());
        QTest::keyClick(m_window->contextMenu(), Qt::Key_U);
        QTRY_VERIFY(!m_window->contextMenu()->isVisible());
        QCOMPARE(QByteArray::fromStdString(text(pane)), QByteArray("INT main"));
        QVERIFY(pane->document().hasMark());
        QTRY_COMPARE(QString::fromStdString(selection.get()->text), QStringLiteral("INT"));

        QTest::mouseClick(pane->viewport(), Qt::MiddleButton, {}, pane->cellCentre(0, 8));
        QCOMPARE(QByteArray::fromStdString(text(pane)), QByteArray("INT mainINT"));
    }

    void functionKeyTenOpensTheMenuBarWithTheCommonHabit_data() {
        QTest::addColumn<int>("menuKey");
        QTest::newRow("Common: F10 opens the File menu") << 1;
        QTest::newRow("Classic: F10 leaves the menus shut") << 0;
    }

    void functionKeyTenOpensTheMenuBarWithTheCommonHabit() {
        QFETCH(int, menuKey);
        m_options->editor().menuKey = menuKey;
        EditPaneWidget* pane = newPane();
        QMenu* fileMenu = m_window->menuBar()->actions().front()->menu();
        QTest::keyClick(pane, Qt::Key_F10);
        if (menuKey != 0) {
            QTRY_VERIFY(fileMenu->isVisible());
            QTest::keyClick(fileMenu, Qt::Key_Escape);
            QTRY_VERIFY(!fileMenu->isVisible());
        } else {
            QTest::qWait(100);
            QVERIFY(!fileMenu->isVisible());
        }
    }

    void foreignTextPastesAsAStream_data() {
        QTest::addColumn<QString>("clipboardText");
        QTest::newRow("LF") << QStringLiteral("one\ntwo");
        QTest::newRow("CR LF") << QStringLiteral("one\r\ntwo");
    }

    void foreignTextPastesAsAStream() {
        QFETCH(QString, clipboardText);
        QGuiApplication::clipboard()->setText(clipboardText);
        EditPaneWidget* pane = newPane();
        m_window->action(functionIdOf("MarkPasteEx"))->trigger();
        // Compared line by line: a line holding a raw LF joins to the same text.
        QCOMPARE(pane->document().lineCount(), 2);
        QCOMPARE(std::string(pane->document().lineText(0)), std::string("one"));
        QCOMPARE(std::string(pane->document().lineText(1)), std::string("two"));
    }

    void doubleClickMarksTheWord() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("alpha beta"));
        QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, pane->cellCentre(0, 7));
        QVERIFY(pane->document().hasMark());
        QVERIFY(pane->document().isInside(0, 6));
        QVERIFY(!pane->document().isInside(0, 4));
    }

    void dragBelowTheTextAreaScrolls() {
        EditPaneWidget* pane = newPane();
        for (int i = 0; i < 200; ++i) {
            QTest::keyClicks(pane, QStringLiteral("x"));
            QTest::keyClick(pane, Qt::Key_Return);
        }
        m_window->runCommand(functionIdOf("MoveDocumentStart"));
        QCOMPARE(pane->pane().topLine(), 0);
        QTest::mousePress(pane->viewport(), Qt::LeftButton, {}, pane->cellCentre(1, 0));
        QTest::mouseMove(pane->viewport(), pane->cellCentre(2, 0));
        QTest::mouseMove(pane->viewport(),
                         QPoint(pane->cellCentre(2, 0).x(), pane->viewport()->height() + 20));
        QTRY_VERIFY(pane->pane().topLine() > 2);
        QTest::mouseRelease(pane->viewport(), Qt::LeftButton, {},
                            QPoint(pane->cellCentre(2, 0).x(), pane->viewport()->height() + 20));
        const int top = pane->pane().topLine();
        QTest::qWait(200);
        QCOMPARE(pane->pane().topLine(), top);
        QVERIFY(pane->document().hasMark());
    }

    void rightButtonOpensTheContextMenu() {
        EditPaneWidget* pane = newPane();
        QContextMenuEvent event(QContextMenuEvent::Mouse, pane->cellCentre(0, 0),
                                pane->viewport()->mapToGlobal(pane->cellCentre(0, 0)));
        QApplication::sendEvent(pane->viewport(), &event);
        QTRY_VERIFY(m_window->contextMenu()->isVisible());
        QCOMPARE(m_window->contextMenu()->actions().size(), qsizetype(vexa::editContextMenu().size()));
        m_window->contextMenu()->hide();
    }

    void chosenFontReachesPanesAndSettings() {
        EditPaneWidget* pane = newPane();
        const int before = pane->cellHeight();
        QFont font(QStringLiteral("Monospace"));
        font.setPixelSize(before * 2);
        font.setBold(true);
        m_window->applyFontChoice(font);
        QVERIFY2(pane->cellHeight() > before, "the pane kept its old cells");
        QCOMPARE(m_options->font().height, -before * 2);
        QCOMPARE(m_options->font().weight, 700);
        vexa::Options reread(vexa::Directories(vexa::Directories::resolveHome()));
        reread.load();
        QCOMPARE(reread.font().height, -before * 2);
        QCOMPARE(reread.font().face, m_options->font().face);
    }

    void findDialogMovesOffTheFoundLine() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("first line"));
        QTest::keyClick(pane, Qt::Key_Home);
        m_window->action(functionIdOf("SearchWordCurrent"))->trigger();
        QDialog* dialog = m_window->searchDialog();
        QVERIFY(dialog != nullptr);
        QTRY_VERIFY(dialog->isVisible());
        const QPoint cell = pane->viewport()->mapToGlobal(pane->cellCentre(0, 0));
        dialog->move(cell - QPoint(10, 10)); // right over the line
        m_window->action(functionIdOf("SearchNext"))->trigger();
        QPushButton* findNext = nullptr;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("&Find Next")) {
                findNext = button;
            }
        }
        QVERIFY(findNext != nullptr);
        QTest::mouseClick(findNext, Qt::LeftButton);
        QTRY_VERIFY(!dialog->frameGeometry().contains(cell));

        // Its Help button takes the help road of the processor: the user guide is shown.
        auto* help = dialog->findChild<QPushButton*>(QStringLiteral("help"));
        QVERIFY(help != nullptr);
        QString shown;
        m_window->setDialogRunner([&shown](QDialog& guide) {
            shown = guide.windowTitle();
            return int(QDialog::Rejected);
        });
        QTest::mouseClick(help, Qt::LeftButton);
        QVERIFY2(shown.contains(QStringLiteral("Guide")), qPrintable(shown));
    }

    void findDialogFindsTheWordAtTheCursor() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("alpha beta alpha gamma alpha"));
        QTest::keyClick(pane, Qt::Key_Home);
        m_window->action(functionIdOf("SearchWordCurrent"))->trigger();
        QDialog* dialog = m_window->searchDialog();
        QVERIFY(dialog != nullptr);
        QTRY_VERIFY(dialog->isVisible());
        auto* text = dialog->findChild<QComboBox*>();
        QVERIFY(text != nullptr);
        QCOMPARE(text->currentText(), QStringLiteral("alpha"));
        QPushButton* findNext = nullptr;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("&Find Next")) {
                findNext = button;
            }
        }
        QVERIFY(findNext != nullptr);
        QTest::mouseClick(findNext, Qt::LeftButton);
        // The search starts at the cursor, so the word under it is the first match.
        QCOMPARE(pane->document().cursorColumn(), 0);
        QCOMPARE(m_window->statusText(StatusPane::Message), QStringLiteral("Search completed."));
        m_window->action(functionIdOf("SearchNext"))->trigger();
        QCOMPARE(pane->document().cursorColumn(), 11);
        m_window->action(functionIdOf("SearchNext"))->trigger();
        QCOMPARE(pane->document().cursorColumn(), 23);
        m_window->action(functionIdOf("SearchPrevious"))->trigger();
        QCOMPARE(pane->document().cursorColumn(), 11);

        text->setEditText(QStringLiteral("nowhere"));
        QTest::mouseClick(findNext, Qt::LeftButton);
        QCOMPARE(pane->document().cursorColumn(), 11);
        QVERIFY(m_window->statusText(StatusPane::Message) != QStringLiteral("Search completed."));
    }

    // Patterns on which plain backtracking takes minutes: the Find dialog's search must end,
    // here with the not-found message, and leave the window working.
    void findDialogEndsPathologicalPatterns() {
        struct Case {
            const char* pattern;
            std::vector<std::string> lines;
        };
        std::vector<std::string> source;
        for (int i = 0; i < 10'000; ++i) {
            source.push_back(i % 3 == 0 ? "int function_" + std::to_string(i) + "(int count, char *name)"
                                        : "    /* compute the value of item " + std::to_string(i) + " */");
        }
        const Case cases[] = {
            {"(.+)+;", source},
            {"(a+)+b", {std::string(10'000, 'a')}},
            {"(a+)+b", {"b" + std::string(10'000, 'a')}},
        };
        EditPaneWidget* pane = newPane();
        QVERIFY(pane != nullptr);
        m_window->action(functionIdOf("SearchWordCurrent"))->trigger();
        QDialog* dialog = m_window->searchDialog();
        QVERIFY(dialog != nullptr);
        QTRY_VERIFY(dialog->isVisible());
        auto* text = dialog->findChild<QComboBox*>();
        QVERIFY(text != nullptr);
        QCheckBox* regex = nullptr;
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
            if (box->text() == QStringLiteral("Regular E&xpression")) {
                regex = box;
            }
        }
        QVERIFY(regex != nullptr);
        regex->setChecked(true);
        QPushButton* findNext = nullptr;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("&Find Next")) {
                findNext = button;
            }
        }
        QVERIFY(findNext != nullptr);
        for (const Case& c : cases) {
            vexa::Document& document = pane->document();
            document.clearForLoad(0);
            for (const std::string& line : c.lines) {
                document.appendLoadedLine(line);
            }
            document.goToLine(0);
            document.setCursorOffset(0);
            text->setEditText(QString::fromLatin1(c.pattern));
            QTest::mouseClick(findNext, Qt::LeftButton);
            QCOMPARE(document.cursorLine(), 0);
            QCOMPARE(m_window->statusText(StatusPane::Message),
                     QStringLiteral("Reached the end of document and the search string '%1' was not found.")
                         .arg(QString::fromLatin1(c.pattern)));
        }
        // The window still answers: a plain find after them works.
        pane->document().clearForLoad(0);
        pane->document().appendLoadedLine("a line with a b in it");
        text->setEditText(QStringLiteral("(a+)+ b"));
        QTest::mouseClick(findNext, Qt::LeftButton);
        QCOMPARE(pane->document().cursorOffset(), 12);
        QCOMPARE(m_window->statusText(StatusPane::Message), QStringLiteral("Search completed."));
    }

    void replaceDialogReplacesEveryMatch() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("cat dog cat"));
        QTest::keyClick(pane, Qt::Key_Home);
        m_window->action(functionIdOf("ReplaceWordCurrent"))->trigger();
        QDialog* dialog = m_window->searchDialog();
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Replace"));
        const auto boxes = dialog->findChildren<QComboBox*>();
        QCOMPARE(boxes.size(), qsizetype(2));
        QCOMPARE(boxes[0]->currentText(), QStringLiteral("cat"));
        boxes[1]->setEditText(QStringLiteral("bird"));
        QCheckBox* all = nullptr;
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
            if (box->text() == QStringLiteral("Replace &All")) {
                all = box;
            }
        }
        QVERIFY(all != nullptr);
        all->setChecked(true);
        auto* replace = dialog->findChild<QPushButton*>(QStringLiteral("replace"));
        QVERIFY(replace != nullptr);
        QTest::mouseClick(replace, Qt::LeftButton);
        QCOMPARE(text(pane), std::string("bird dog bird"));
        QCOMPARE(m_window->statusText(StatusPane::Changed), QStringLiteral("CHG"));
    }

    void printsToPdfPageByPage() {
        EditPaneWidget* pane = newPane();
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = QString::fromStdString(m_home->file("out.pdf"));
        printer.setOutputFileName(pdf);
        QTest::keyClicks(pane, QStringLiteral("one\ttab"));
        QCOMPARE(m_window->printActive(printer, false), 1);
        const std::string bytes = vexa::test::readFileBytes(pdf.toStdString());
        QVERIFY(bytes.rfind("%PDF", 0) == 0);

        for (int i = 0; i < 300; ++i) {
            QTest::keyClick(pane, Qt::Key_Return);
            QTest::keyClicks(pane, QStringLiteral("l"));
        }
        QPrinter longer;
        longer.setOutputFormat(QPrinter::PdfFormat);
        longer.setOutputFileName(QString::fromStdString(m_home->file("long.pdf")));
        QVERIFY(m_window->printActive(longer, false) > 2);

        // Only the marked lines: nothing without a mark, one page for three lines.
        QPrinter marked;
        marked.setOutputFormat(QPrinter::PdfFormat);
        marked.setOutputFileName(QString::fromStdString(m_home->file("marked.pdf")));
        QCOMPARE(m_window->printActive(marked, true), 0);
        pane->document().beginMark(vexa::MarkType::Line);
        pane->document().markRange({0, 10}, {0, 12});
        QCOMPARE(m_window->printActive(marked, true), 1);
    }

    void reactivationOffersToReloadAChangedFile() {
        const std::string path = m_home->file("b.c");
        vexa::test::writeFileBytes(path, "old\r\n");
        m_window->openDocumentAt(path, 0);
        EditPaneWidget* pane = m_window->activePane();
        QCOMPARE(text(pane), std::string("old"));
        vexa::test::writeFileBytes(path, "new text\r\n");
        std::filesystem::last_write_time(path,
                                         std::filesystem::last_write_time(path) + std::chrono::seconds(5));
        m_answer = Answer::Yes;
        QEvent activation(QEvent::ActivationChange);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QApplication::sendEvent(m_window.get(), &activation);
        QTRY_COMPARE(text(pane), std::string("new text"));
        QCOMPARE(m_questions.size(), std::size_t(1));
        QVERIFY2(m_questions[0].find("b.c") != std::string::npos, m_questions[0].c_str());
    }

    void saveAsRenamesTheWindowAndOpenReadsTheFile() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("int y;"));
        const std::string path = m_home->file("saved.c");
        m_window->setFileChooser(
            [&](const vexa::FileDialogRequest&) { return std::vector<std::string>{path}; });
        m_window->action(functionIdOf("FileSaveAs"))->trigger();
        QCOMPARE(vexa::test::readFileBytes(path).substr(0, 6), std::string("int y;"));
        auto* window = qobject_cast<QMdiSubWindow*>(pane->parentWidget());
        QCOMPARE(window->windowTitle(), QString::fromStdString(path));
        QCOMPARE(m_window->statusText(StatusPane::Changed), QString());

        m_window->action(functionIdOf("FileClose"))->trigger();
        QVERIFY(m_window->documentArea()->subWindowList().isEmpty());
        m_window->action(functionIdOf("FileOpen"))->trigger();
        QCOMPARE(m_window->documentArea()->subWindowList().size(), 1);
        QCOMPARE(text(m_window->activePane()), std::string("int y;"));
        // The closed file became a recent-file item of the File menu.
        QCOMPARE(m_window->history().recentFile(1014), path);
    }

    void editorOptionsDialogChangesTheOptions() {
        EditPaneWidget* pane = newPane();
        QCOMPARE(m_options->editor().insertMode, 1);
        m_window->setDialogRunner([](QDialog& dialog) {
            auto& options = static_cast<vexa::ui::EditorOptionsDialog&>(dialog);
            options.switchFor("InsertMode")->setChecked(false);
            options.switchFor("FileRead")->setChecked(true);
            options.numberFor("TabSize")->setValue(4);
            return options.apply() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        m_window->action(functionIdOf("OptionsEditor"))->trigger();
        QCOMPARE(m_options->editor().insertMode, 0);
        QCOMPARE(m_options->editor().fileRead, 1);
        QCOMPARE(m_options->editor().tabSize, 4);
        QCOMPARE(m_window->statusText(StatusPane::Mode), QStringLiteral("OVR "));
        QTest::keyClicks(pane, QStringLiteral("ab"));
        QTest::keyClick(pane, Qt::Key_Home);
        QTest::keyClicks(pane, QStringLiteral("X"));
        QCOMPARE(text(pane), std::string("Xb"));
        vexa::Options reread(vexa::Directories(vexa::Directories::resolveHome()));
        reread.load();
        QCOMPARE(reread.editor().tabSize, 4);
        QCOMPARE(reread.editor().insertMode, 0);
    }

    // The user picks Common in Editor Options: Ctrl+Home and Ctrl+End go to the document's start
    // and end at once, a plain drag marks a stream; switching back gives the classic keys again.
    void editorOptionsSwitchTheKeyProfile() {
        stopWindow();
        QVERIFY(startWindow([] {
            const std::string config =
                vexa::Directories(vexa::Directories::resolveHome()).path(vexa::DirectoryKind::Config);
            std::filesystem::copy_file(std::filesystem::path(VEXA_SHIPPED_CONFIG) / "COMMON.ZXP",
                                       config + "COMMON.ZXP");
        }));
        const auto chooseProfile = [this](const QString& name) {
            m_window->setDialogRunner([name](QDialog& dialog) {
                auto* profile = dialog.findChild<QComboBox*>(QStringLiteral("Profile"));
                profile->setCurrentIndex(profile->findText(name));
                return static_cast<vexa::ui::EditorOptionsDialog&>(dialog).apply() ? int(QDialog::Accepted)
                                                                                  : int(QDialog::Rejected);
            });
            m_window->action(functionIdOf("OptionsEditor"))->trigger();
        };
        EditPaneWidget* pane = newPane();
        for (int i = 0; i < 60; ++i) {
            QTest::keyClicks(pane, QStringLiteral("line"));
            QTest::keyClick(pane, Qt::Key_Return);
        }
        chooseProfile(QStringLiteral("Common"));
        QCOMPARE(m_options->editor().profile, std::string("Common"));
        pane->setFocus();
        QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(pane->document().cursorLine(), 0);
        QTest::keyClick(pane, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(pane->document().cursorLine(), 60);
        QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
        QTest::mousePress(pane->viewport(), Qt::LeftButton, {}, pane->cellCentre(0, 2));
        QTest::mouseMove(pane->viewport(), pane->cellCentre(1, 1));
        QTest::mouseRelease(pane->viewport(), Qt::LeftButton, {}, pane->cellCentre(1, 1));
        QCOMPARE(pane->document().mark().type, vexa::MarkType::Stream);

        chooseProfile(QStringLiteral("Classic"));
        pane->setFocus();
        QTest::keyClick(pane, Qt::Key_End, Qt::ControlModifier);
        QVERIFY2(pane->document().cursorLine() < 60, "Ctrl+End is the classic end of the line again");
    }

    void fileFiltersDialogKeepsTheFilters() {
        m_window->setDialogRunner([](QDialog& dialog) {
            auto& filters = static_cast<vexa::ui::FileFiltersDialog&>(dialog);
            filters.filter(0)->setText(QStringLiteral("C Files (*.c)|*.c"));
            filters.filter(8)->setText(QStringLiteral("All Files (*.*)|*.*"));
            filters.filter(1)->setText(QString::fromUtf8("Caf\u00e9 (*.txt)|*.txt"));
            filters.useDefaults()->setChecked(false);
            return filters.apply() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        m_window->action(functionIdOf("OptionsFilters"))->trigger();
        QCOMPARE(m_options->filters().filter1, std::string("C Files (*.c)|*.c"));
        QCOMPARE(m_options->filters().filter9, std::string("All Files (*.*)|*.*"));
        QCOMPARE(m_options->filters().filter2,
                 std::string("Caf\xE9 (*.txt)|*.txt")); // the settings hold 1252 text
        QCOMPARE(m_options->filters().useDefaults, 0);
        vexa::Options reread(vexa::Directories(vexa::Directories::resolveHome()));
        reread.load();
        QCOMPARE(reread.filters().filter1, std::string("C Files (*.c)|*.c"));
        QCOMPARE(reread.filters().useDefaults, 0);
    }

    void colourOptionsRecolourThePanes() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("x"));
        const QColor before = pane->viewport()->grab().toImage().pixelColor(pane->cellCentre(3, 10));
        m_window->setDialogRunner([](QDialog& dialog) {
            auto& colours = static_cast<vexa::ui::ColourOptionsWindow&>(dialog);
            colours.groups()->setCurrentRow(int(vexa::syntax::ColourSlot::Background));
            // The last of the sixteen colours of the palette.
            colours.colours()->setCurrentRow(colours.colours()->count() - 1);
            colours.update();
            return dialog.result();
        });
        m_window->action(functionIdOf("OptionsColors"))->trigger();
        const QColor after = pane->viewport()->grab().toImage().pixelColor(pane->cellCentre(3, 10));
        QVERIFY(before != after);
        const vexa::syntax::Rgb last = vexa::syntax::kPalette.back().rgb;
        QCOMPARE(after, QColor(last.red, last.green, last.blue));
    }

    void menuItemsShowHintsAndKeys() {
        QAction* save = m_window->action(functionIdOf("FileSave"));
        QVERIFY(save != nullptr);
        QVERIFY2(save->text().startsWith(QStringLiteral("&Save")), qPrintable(save->text()));
        QAction* undo = m_window->action(functionIdOf("Undo"));
        QVERIFY(undo != nullptr);
        QVERIFY2(undo->text().contains(QStringLiteral("\tCtrl+Z")), qPrintable(undo->text()));
        undo->hover();
        QCOMPARE(m_window->statusText(StatusPane::Message).toStdString(),
                 std::string(vexa::commandHint(functionIdOf("Undo"))));
        // Every item of the menu data is reachable from the menu bar.
        for (const vexa::MenuDefinition& menu : vexa::mainMenuBar()) {
            for (const vexa::MenuItem& item : menu.items) {
                if (!item.isSeparator()) {
                    QVERIFY2(m_window->action(item.commandId) != nullptr, item.text.data());
                }
            }
        }
    }

    void functionKeySixSwitchesTheActiveDocumentWindow() {
        EditPaneWidget* first = newPane();
        EditPaneWidget* second = newPane();
        QVERIFY(first != nullptr && second != nullptr);
        QCOMPARE(m_window->activePane(), second);
        QTest::keyClick(second, Qt::Key_F6);
        QCOMPARE(m_window->activePane(), first);
        QCOMPARE(&m_window->processor().pane()->document(), &first->document());
        QTest::keyClick(first, Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(m_window->activePane(), second);
    }

    void ctrlPReachesThePrintDialog() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("print me"));
        int printDialogs = 0;
        m_window->setDialogRunner([&printDialogs](QDialog& dialog) {
            printDialogs += qobject_cast<QPrintDialog*>(&dialog) != nullptr ? 1 : 0;
            return int(QDialog::Rejected);
        });
        QTest::keyClick(pane, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(printDialogs, 1);
        QCOMPARE(text(pane), std::string("print me"));
    }

    void viewToolbarHidesTheToolbarAndShowsItAgain() {
        QVERIFY(m_window->toolBar()->isVisible());
        m_window->action(functionIdOf("ToolBarViewToggle"))->trigger();
        QVERIFY(!m_window->toolBar()->isVisible());
        QCOMPARE(m_options->editor().toolBar, 0);
        m_window->action(functionIdOf("ToolBarViewToggle"))->trigger();
        QVERIFY(m_window->toolBar()->isVisible());
        m_window->action(functionIdOf("StatusBarViewToggle"))->trigger();
        QVERIFY(!m_window->statusBar()->isVisible());
    }

    void undoAfterOpeningAtALineLeavesTheCursorWhereTheUserTyped() {
        const std::string path = m_home->file("lines.c");
        vexa::test::writeFileBytes(path, "one\ntwo\nthree\nfour\nfive\n");
        m_window->openDocumentAt(path, 4);
        EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        pane->setFocus();
        QTest::keyClick(pane, Qt::Key_X);
        QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pane->document().lineText(3), std::string_view("four"));
        QCOMPARE(pane->document().cursorLine(), 3);
        QCOMPARE(m_window->statusText(StatusPane::Position).left(9), QStringLiteral(" L:00004 "));
    }

    void newWindowsFollowDisplayModeAndOpenAtAUsefulSize() {
        m_options->editor().displayMode = 1;
        EditPaneWidget* normal = newPane();
        auto* window = qobject_cast<QMdiSubWindow*>(normal->parentWidget());
        QVERIFY(!window->isMaximized());
        const QRect area = m_window->documentArea()->viewport()->rect();
        QVERIFY(window->width() > area.width() / 2 && window->height() > area.height() / 2);
        m_options->editor().displayMode = 3;
        EditPaneWidget* maximised = newPane();
        QVERIFY(qobject_cast<QMdiSubWindow*>(maximised->parentWidget())->isMaximized());
    }

    void aClickMovesThePositionPaneAndALongMessageShowsWholeInItsToolTip() {
        m_options->editor().displayMode = 3;
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("abcdef"));
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, Qt::NoModifier, pane->cellCentre(0, 2));
        QCOMPARE(m_window->statusText(StatusPane::Position), QStringLiteral(" L:00001 C:0003"));
        const std::string message(300, 'm');
        m_window->status(message, vexa::platform::SoundKind::None);
        auto* label = m_window->statusBar()->findChild<QLabel*>(QStringLiteral("statusPane0"));
        QVERIFY(label != nullptr);
        QCOMPARE(label->toolTip(), QString::fromStdString(message));
    }

    void newWindowFromTheMenuAndTheWindowMenu() {
        EditPaneWidget* first = newPane();
        EditPaneWidget* second = newPane();
        QCOMPARE(m_window->documentArea()->subWindowList().size(), 2);
        QCOMPARE(m_window->activePane(), second);
        m_window->action(functionIdOf("WindowNext"))->trigger();
        QCOMPARE(m_window->activePane(), first);
        QTest::keyClicks(first, QStringLiteral("x"));
        QCOMPARE(text(first), std::string("x"));
        QCOMPARE(text(second), std::string());

        m_window->action(functionIdOf("WindowTileVertical"))->trigger();
        const QRect a = first->parentWidget()->geometry();
        const QRect b = second->parentWidget()->geometry();
        QCOMPARE(a.top(), b.top());
        QVERIFY(a.right() < b.left() || b.right() < a.left());

        emit m_window->windowMenu()->aboutToShow();
        int listed = 0;
        for (QAction* item : m_window->windowMenu()->actions()) {
            listed += item->text().contains(QStringLiteral("Untitled")) ? 1 : 0;
        }
        QCOMPARE(listed, 2);

        // Closing a modified window asks; No closes it without saving.
        m_answer = Answer::No;
        m_window->documentArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        m_window->action(functionIdOf("FileClose"))->trigger();
        QCOMPARE(m_questions.size(), std::size_t(1));
        QCOMPARE(m_window->documentArea()->subWindowList().size(), 1);
        m_window->action(functionIdOf("WindowCloseAll"))->trigger();
        // An unchanged document closes without a question.
        QCOMPARE(m_questions.size(), std::size_t(1));
        QVERIFY(m_window->documentArea()->subWindowList().isEmpty());
    }

    void cancelKeepsTheModifiedWindow() {
        EditPaneWidget* pane = newPane();
        QTest::keyClicks(pane, QStringLiteral("keep"));
        m_answer = Answer::Cancel;
        m_window->action(functionIdOf("FileClose"))->trigger();
        QCOMPARE(m_questions.size(), std::size_t(1));
        QCOMPARE(m_window->documentArea()->subWindowList().size(), 1);
        QVERIFY(!m_window->close());
    }

    void openingTheSameFileTwiceActivatesIt() {
        const std::string path = m_home->file("a.c");
        vexa::test::writeFileBytes(path, "line1\r\nline2\r\nline3\r\n");
        m_window->openDocumentAt(path, 0);
        QCOMPARE(m_window->activePane()->document().lineCount(), 3);
        QCOMPARE(m_window->activePane()->document().text(), std::string("line1\nline2\nline3"));
        m_window->openDocumentAt(path, 3);
        QCOMPARE(m_window->documentArea()->subWindowList().size(), 1);
        QCOMPARE(m_window->activePane()->document().cursorLine(), 2);
        QCOMPARE(m_window->statusText(StatusPane::Position), QStringLiteral(" L:00003 C:0001"));
    }

    void openingALongFileKnowsItsCommentsAndEndsTheLoadingDots() {
        const std::string path = m_home->file("long.c");
        std::string bytes = "int a; /* opened here\r\n";
        for (int i = 1; i < 3000; ++i) {
            bytes += i == 1500 ? "closed here */ int b;\r\n" : "text\r\n";
        }
        vexa::test::writeFileBytes(path, bytes);
        m_window->openDocumentAt(path, 0);
        const vexa::Document& document = m_window->activePane()->document();
        QCOMPARE(document.lineCount(), 3000);
        QCOMPARE(document.line(1).startDepth(), 1);
        QCOMPARE(document.line(1500).startDepth(), 1);
        QCOMPARE(document.commentStart(1500).closeEnd, 14);
        QCOMPARE(document.line(1501).startDepth(), 0);
        // The dots counted the load's progress; once it is done they are gone.
        QVERIFY2(!m_window->statusText(StatusPane::Message).startsWith(QStringLiteral("Loading")),
                 qPrintable(m_window->statusText(StatusPane::Message)));
    }

    void theToolsMenuListsTheInstalledTools() {
        stopWindow();
        QVERIFY(startWindow([this] {
            vexa::toolchain::ToolRecord make = vexa::toolchain::newToolRecord("");
            make.arguments = "make";
            make.menuText = "&Make here";
            QVERIFY(vexa::toolchain::saveToolsFile(
                m_options->directory(vexa::DirectoryKind::Config) + "/VexaTool.INF", {make}));
        }));
        QMenu* tools = nullptr;
        for (QAction* item : m_window->menuBar()->actions()) {
            if (item->text() == QStringLiteral("&Tools")) {
                tools = item->menu();
            }
        }
        QVERIFY(tools != nullptr);
        QAction* found = nullptr;
        for (QAction* item : tools->actions()) {
            if (item->text() == QStringLiteral("&Make here")) {
                found = item;
            }
        }
        QVERIFY(found != nullptr);
        QVERIFY(found->isEnabled());
        QCOMPARE(found->data().toUInt(), uint32_t(functionIdOf("ToolsExecute1")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
