// The dialogs taken by the keyboard: Tab walks every control of each dialog in the order it shows
// them, and the text a dialog opens with is selected, so that typing replaces it.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <set>

#include "MainWindowFixture.h"
#include "commands/FunctionTable.h"
#include "ui/EditPaneWidget.h"

using vexa::functionIdOf;
using vexa::ui::EditPaneWidget;

namespace {

// How a user would name a control: a button by its text, a field by its label.
QString nameOf(QWidget* widget, const QDialog& dialog) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text().remove(QLatin1Char('&'));
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy() == widget) {
            return label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':'));
        }
    }
    return QString::fromLatin1(widget->metaObject()->className());
}

// The control that has the focus, a combo box for its edit field.
QWidget* focusedControl() {
    QWidget* focused = QApplication::focusWidget();
    if (auto* box = qobject_cast<QComboBox*>(focused != nullptr ? focused->parentWidget() : nullptr)) {
        return box;
    }
    return focused;
}

// The selected and the whole text of a text control; empty for other controls.
std::pair<QString, QString> selectionOf(QWidget* widget) {
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        edit = box->lineEdit();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget)) {
        edit = spin->findChild<QLineEdit*>();
    }
    return edit != nullptr ? std::pair{edit->selectedText(), edit->text()} : std::pair<QString, QString>{};
}

// What a walk with Tab through a shown dialog found.
struct Walk {
    QStringList stops;     // the controls in Tab order, from the first focus back to it
    bool closed = false;   // the walk came back to where it started
    QStringList unreached; // visible, enabled controls that take Tab but were never reached
    QString selected;      // the selected text of the first focus
    QString text;          // its whole text
};

Walk walkWithTab(QDialog& dialog) {
    Walk walk;
    QWidget* first = focusedControl();
    if (first == nullptr || first->window() != &dialog) {
        walk.unreached << QStringLiteral("(no first focus)");
        return walk;
    }
    std::tie(walk.selected, walk.text) = selectionOf(first);
    std::set<QWidget*> seen;
    QWidget* at = first;
    for (int step = 0; step < 80; ++step) {
        seen.insert(at);
        walk.stops << nameOf(at, dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        at = focusedControl();
        if (at == first) {
            walk.closed = true;
            break;
        }
    }
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        const bool takesTab =
            (control->focusPolicy() & Qt::TabFocus) != 0 && control->focusProxy() == nullptr;
        if (takesTab && control->isVisibleTo(&dialog) && control->isEnabled() && seen.count(control) == 0 &&
            qobject_cast<QComboBox*>(control->parentWidget()) == nullptr) {
            // A radio button of a group is reached by its checked partner and the arrow keys.
            auto* button = qobject_cast<QAbstractButton*>(control);
            if (button != nullptr && button->autoExclusive() && !button->isChecked()) {
                continue;
            }
            walk.unreached << nameOf(control, dialog);
        }
    }
    return walk;
}

} // namespace

class DialogFocusTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    EditPaneWidget* newPane(const QString& text) {
        m_window->action(functionIdOf("FileNew"))->trigger();
        EditPaneWidget* pane = m_window->activePane();
        if (pane != nullptr) {
            pane->setFocus();
            for (const QString& line : text.split(QLatin1Char('\n'))) {
                QTest::keyClicks(pane, line);
                QTest::keyClick(pane, Qt::Key_Return);
            }
        }
        return pane;
    }

private slots:
    void init() { QVERIFY(startWindow()); }
    void cleanup() { stopWindow(); }

    void everyModalDialogIsWalkedInOrderWithItsTextSelected_data() {
        QTest::addColumn<uint>("function");
        // The first stops of the Tab walk; the rest of the walk must still reach every control.
        QTest::addColumn<QStringList>("firstStops");
        QTest::newRow("goto line") << uint(functionIdOf("LineGoto")) << QStringList{"Line Number", "Cancel"};
        QTest::newRow("OptionsEditor") << uint(functionIdOf("OptionsEditor"))
                                       << QStringList{"Insert mode", "Fill with tabs", "Smart indent"};
        QTest::newRow("OptionsFilters")
            << uint(functionIdOf("OptionsFilters")) << QStringList{"Filter 1", "Filter 2", "Filter 3"};
        QTest::newRow("OptionsColors")
            << uint(functionIdOf("OptionsColors"))
            << QStringList{"QListWidget", "QListWidget", "QListWidget", "Update", "Cancel"};
        QTest::newRow("OptionsKeyboard")
            << uint(functionIdOf("OptionsKeyboard"))
            << QStringList{"Definded Keymaps", "New Keymap", "Edit", "Delete", "Export", "OK", "Cancel"};
        QTest::newRow("OptionsExtension")
            << uint(functionIdOf("OptionsExtension"))
            << QStringList{"QListWidget", "QLineEdit", "New", "Clone", "Edit", "Delete", "Close"};
        QTest::newRow("OptionsTools")
            << uint(functionIdOf("OptionsTools"))
            << QStringList{"QListWidget",  "Add",       "Delete",    "Find...",       "Tool type",
                           "Program name", "Menu text", "Arguments", "Work directory"};
        QTest::newRow("OptionsMacros")
            << uint(functionIdOf("OptionsMacros"))
            << QStringList{"Name", "QLineEdit", "Browse...", "QListWidget", "Add", "Remove", "OK", "Cancel"};
        QTest::newRow("OptionsSpelling") << uint(functionIdOf("OptionsSpelling"))
                                         << QStringList{"Dictionary", "Skip e-mail and HTML addresses"};
        QTest::newRow("CompilerSetup")
            << uint(functionIdOf("CompilerSetup"))
            << QStringList{"Command line", "QListWidget", "Add", "Capture standard error"};
        QTest::newRow("ProjectSetup")
            << uint(functionIdOf("ProjectSetup")) << QStringList{"Make command", "Capture standard error"};
        QTest::newRow("ToolsCommand")
            << uint(functionIdOf("ToolsCommand")) << QStringList{"Directory", "Command line", "OK", "Cancel"};
        QTest::newRow("MacroRepeat") << uint(functionIdOf("MacroRepeat"))
                                     << QStringList{"Repeat count", "OK", "Cancel"};
        QTest::newRow("MacroExecuteScript")
            << uint(functionIdOf("MacroExecuteScript")) << QStringList{"Script", "Run", "Find", "Cancel"};
        QTest::newRow("FindInFiles") << uint(functionIdOf("FindInFiles"))
                                     << QStringList{"Find what", "Folder", "File patterns",
                                                    "Regular Expression"};
        QTest::newRow("HelpQuickSetup")
            << uint(functionIdOf("HelpQuickSetup"))
            << QStringList{"QListWidget", "Add >>", "<< Remove", "QListWidget", "Close"};
        QTest::newRow("FileListDisplay")
            << uint(functionIdOf("FileListDisplay")) << QStringList{"QListWidget", "Open", "Cancel"};
        QTest::newRow("SpellingDocument")
            << uint(functionIdOf("SpellingDocument"))
            << QStringList{"Word not in dictionary", "Change word to", "Words", "Add", "Ignore", "Cancel"};
    }

    void everyModalDialogIsWalkedInOrderWithItsTextSelected() {
        QFETCH(uint, function);
        QFETCH(QStringList, firstStops);
        QVERIFY(newPane(QStringLiteral("int main(void)\nreturn 0;")) != nullptr);
        Walk walk;
        bool shown = false;
        m_window->setDialogRunner([&](QDialog& dialog) {
            dialog.show();
            if (QTest::qWaitForWindowExposed(&dialog)) {
                dialog.activateWindow();
                shown = QTest::qWaitForWindowActive(&dialog);
                walk = walkWithTab(dialog);
            }
            return int(QDialog::Rejected);
        });
        m_window->runCommand(function);
        QVERIFY(shown);
        QVERIFY2(walk.closed, qPrintable(walk.stops.join(QStringLiteral(" > "))));
        QVERIFY2(walk.unreached.isEmpty(), qPrintable(walk.unreached.join(QStringLiteral(", "))));
        QCOMPARE(walk.stops.mid(0, firstStops.size()), firstStops);
        QCOMPARE(walk.selected, walk.text);
    }

    void findAndReplaceOpenOnTheNameAtTheCursorAndWalkInOrder_data() {
        QTest::addColumn<uint>("function");
        QTest::addColumn<QStringList>("firstStops");
        QTest::newRow("find") << uint(functionIdOf("SearchWordCurrent"))
                              << QStringList{"Find What", "Match Whole Word Only", "Match Case Sensitive"};
        QTest::newRow("replace") << uint(functionIdOf("ReplaceWordCurrent"))
                                 << QStringList{"Find What", "Replace With", "Replace All",
                                                "Match Whole Word Only"};
    }

    void findAndReplaceOpenOnTheNameAtTheCursorAndWalkInOrder() {
        QFETCH(uint, function);
        QFETCH(QStringList, firstStops);
        EditPaneWidget* pane = newPane(QStringLiteral("int main(void)"));
        QVERIFY(pane != nullptr);
        // The cursor on the parenthesis right after the name.
        QTest::keyClick(pane, Qt::Key_Up);
        QTest::keyClick(pane, Qt::Key_Home);
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(pane, Qt::Key_Right);
        }
        m_window->runCommand(function);
        auto* dialog = qobject_cast<QDialog*>(m_window->searchDialog());
        QVERIFY(dialog != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        const Walk walk = walkWithTab(*dialog);
        QCOMPARE(walk.text, QStringLiteral("main"));
        QCOMPARE(walk.selected, walk.text);
        QVERIFY2(walk.closed, qPrintable(walk.stops.join(QStringLiteral(" > "))));
        QVERIFY2(walk.unreached.isEmpty(), qPrintable(walk.unreached.join(QStringLiteral(", "))));
        QCOMPARE(walk.stops.mid(0, firstStops.size()), firstStops);
    }

    void aPrefilledLineNumberIsReplacedByTyping() {
        EditPaneWidget* pane = newPane(QStringLiteral(
            "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n19\n20\n21\n22\n23\n24\n25"));
        QVERIFY(pane != nullptr);
        m_window->setDialogRunner([](QDialog& dialog) {
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog)) {
                return int(QDialog::Rejected);
            }
            dialog.activateWindow();
            if (!QTest::qWaitForWindowActive(&dialog) || QApplication::focusWidget()->window() != &dialog) {
                return int(QDialog::Rejected);
            }
            // The user types the number and presses Enter; the dialog closes itself.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            return dialog.result();
        });
        for (const int expected : {2, 2}) {
            m_window->runCommand(functionIdOf("LineGoto"));
            QCOMPARE(pane->document().cursorLine() + 1, expected);
        }
    }
};

QTEST_MAIN(DialogFocusTest)
#include "DialogFocusTest.moc"
