// The key profiles in the main window: the Edit menu offers the bookmark functions with the keys
// of the keymap in use, real keys and menu choices run them, and Editor Options switches the
// profile without losing a habit changed in the same dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "commands/FunctionTable.h"
#include "core/Document.h"
#include "frame/HeadlessFrame.h"
#include "keyboard/KeyProfile.h"
#include "settings/Options.h"
#include "ui/EditPaneWidget.h"

#include "MainWindowFixture.h"

using vexa::functionIdOf;
using vexa::ui::EditPaneWidget;

class KeyProfileWindowTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    // Starts the window with the profile already chosen, as after the first start's question, and
    // opens a file of seven lines.
    EditPaneWidget* startWith(vexa::KeyProfile profile) {
        const bool started = startWindow([this, profile] {
            // The shipped text of the Common keymap is in the home, as a start puts it there.
            std::filesystem::copy_file(std::filesystem::path(VEXA_SHIPPED_CONFIG) / "COMMON.ZXP",
                                       m_options->directory(vexa::DirectoryKind::Config) + "COMMON.ZXP");
            vexa::HeadlessFrame frame;
            const std::vector<std::filesystem::path> shipped{VEXA_SHIPPED_CONFIG};
            QVERIFY(vexa::applyProfile(profile, *m_options, frame, shipped));
        });
        if (!started) {
            return nullptr;
        }
        const std::filesystem::path file = m_home->path() / "marks.c";
        {
            std::ofstream out(file, std::ios::binary);
            out << "one\ntwo\nthree\nfour\nfive\nsix\nseven\n";
        }
        if (m_window->openDocumentAt(file.string(), 1) == nullptr) {
            return nullptr;
        }
        EditPaneWidget* pane = m_window->activePane();
        if (pane != nullptr) {
            pane->setFocus();
        }
        return pane;
    }

    QString itemText(const char* function) const {
        const QAction* item = m_window->action(vexa::FunctionTable::standard().idOf(function));
        return item == nullptr ? QStringLiteral("<no item>") : item->text();
    }

    QMenu* editMenu() const { return m_window->menuBar()->actions().at(1)->menu(); }

private slots:
    void cleanup() { stopWindow(); }

    void theBookmarkItemsShowTheKeysOfTheKeymap_data() {
        QTest::addColumn<int>("profile");
        QTest::addColumn<QString>("toggle");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("previous");
        QTest::newRow("Common") << int(vexa::KeyProfile::Common)
                                << QStringLiteral("&Toggle Bookmark\tCtrl+F2")
                                << QStringLiteral("Ne&xt Bookmark\tF2")
                                << QStringLiteral("Previous Boo&kmark\tShift+F2");
        QTest::newRow("Classic: no key")
            << int(vexa::KeyProfile::Classic) << QStringLiteral("&Toggle Bookmark")
            << QStringLiteral("Ne&xt Bookmark") << QStringLiteral("Previous Boo&kmark");
    }

    void theBookmarkItemsShowTheKeysOfTheKeymap() {
        QFETCH(int, profile);
        QFETCH(QString, toggle);
        QFETCH(QString, next);
        QFETCH(QString, previous);
        QVERIFY(startWith(static_cast<vexa::KeyProfile>(profile)) != nullptr);
        QCOMPARE(itemText("BookMarkToggle"), toggle);
        QCOMPARE(itemText("BookMarkNext"), next);
        QCOMPARE(itemText("BookMarkPrevious"), previous);
        // They stand in the Edit menu right after Goto Bookmark.
        const QList<QAction*> items = editMenu()->actions();
        const qsizetype gotoAt = items.indexOf(m_window->action(functionIdOf("BookMarkGoto")));
        QVERIFY(gotoAt >= 0 && gotoAt + 3 < items.size());
        QCOMPARE(items.at(gotoAt + 1)->text(), toggle);
        QCOMPARE(items.at(gotoAt + 2)->text(), next);
        QCOMPARE(items.at(gotoAt + 3)->text(), previous);
    }

    // Seen with try-vexa in the Common profile: Ctrl+F2 set a bookmark, Edit | Next Bookmark chosen
    // by its access key went to it and said "At bookmark '0'".
    void keysAndMenuItemsSetAndVisitBookmarks() {
        EditPaneWidget* pane = startWith(vexa::KeyProfile::Common);
        QVERIFY(pane != nullptr);
        const vexa::Document& document = pane->document();
        const auto line = [&] { return document.cursorLine(); };
        QTest::keyClick(pane, Qt::Key_Down);
        QTest::keyClick(pane, Qt::Key_Down);
        QTest::keyClick(pane, Qt::Key_F2, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(pane, Qt::Key_Down);
        }
        QTest::keyClick(pane, Qt::Key_F2, Qt::ControlModifier);
        QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(line(), 0);

        // F10 opens the menu bar at File; Right goes on to Edit, whose "x" is Next Bookmark.
        QTest::keyClick(pane, Qt::Key_F10);
        QMenu* file = m_window->menuBar()->actions().at(0)->menu();
        QTRY_VERIFY(file->isVisible());
        QTest::keyClick(file, Qt::Key_Right);
        QTRY_VERIFY(editMenu()->isVisible());
        QTest::keyClick(editMenu(), Qt::Key_X);
        QTRY_VERIFY(!editMenu()->isVisible());
        QTRY_COMPARE(line(), 2);

        QTest::keyClick(pane, Qt::Key_F2);
        QCOMPARE(line(), 5);
        QTest::keyClick(pane, Qt::Key_F2);
        QCOMPARE(line(), 2); // round to the first
        QTest::keyClick(pane, Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(line(), 5); // round to the last

        // The menu's Toggle Bookmark clears the one on the cursor line; F2 then finds only the other.
        m_window->action(functionIdOf("BookMarkToggle"))->trigger();
        QTest::keyClick(pane, Qt::Key_F2);
        QCOMPARE(line(), 2);
        QTest::keyClick(pane, Qt::Key_F2);
        QCOMPARE(line(), 2);
    }

    void aHabitChangedWithTheProfileInOneDialogIsKept_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("habit");
        QTest::addColumn<int>("habitBefore");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("others");
        // Seen with try-vexa: Classic with "Undo a typed word at once" ticked; Common chosen and the
        // box unticked in the same dialog; after OK the setting was on again.
        QTest::newRow("to Common, a typed word undone by letters")
            << int(vexa::KeyProfile::Classic) << QStringLiteral("UndoWords") << 1 << QStringLiteral("Common")
            << 1;
        QTest::newRow("to Classic, F10 kept for the menu bar")
            << int(vexa::KeyProfile::Common) << QStringLiteral("MenuKey") << 0 << QStringLiteral("Classic")
            << 0;
    }

    // The profile is applied first, then the switch the user changed: the switch wins, and the
    // habits left alone take the new profile's values.
    void aHabitChangedWithTheProfileInOneDialogIsKept() {
        QFETCH(int, from);
        QFETCH(QString, habit);
        QFETCH(int, habitBefore);
        QFETCH(QString, to);
        QFETCH(int, others);
        QVERIFY(startWith(static_cast<vexa::KeyProfile>(from)) != nullptr);
        const auto field = [&](vexa::EditorOptions& editor) -> int& {
            return habit == QStringLiteral("UndoWords") ? editor.undoWords : editor.menuKey;
        };
        field(m_options->editor()) = habitBefore;
        m_window->setDialogRunner([&](QDialog& dialog) {
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog)) {
                return int(QDialog::Rejected);
            }
            auto* box = dialog.findChild<QCheckBox*>(habit);
            auto* profile = dialog.findChild<QComboBox*>(QStringLiteral("Profile"));
            auto* buttons = dialog.findChild<QDialogButtonBox*>();
            if (box == nullptr || profile == nullptr || buttons == nullptr) {
                return int(QDialog::Rejected);
            }
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
            profile->setFocus();
            QTest::keyClick(profile, to == QStringLiteral("Common") ? Qt::Key_Down : Qt::Key_Up);
            QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
            return dialog.result();
        });
        m_window->runCommand(functionIdOf("OptionsEditor"));

        vexa::Options reread(vexa::Directories(vexa::Directories::resolveHome()));
        reread.load();
        for (vexa::Options* options : {m_options.get(), &reread}) {
            QCOMPARE(QString::fromStdString(options->editor().profile), to);
            QCOMPARE(QString::fromStdString(options->editor().keymap),
                     to == QStringLiteral("Common") ? to : QStringLiteral("<Default Keymap>"));
            QCOMPARE(field(options->editor()), 1 - habitBefore);
            QCOMPARE(options->editor().saveKeepsUndo, others);
            QCOMPARE(habit == QStringLiteral("UndoWords") ? options->editor().menuKey
                                                          : options->editor().undoWords,
                     others);
        }
    }
};

QTEST_MAIN(KeyProfileWindowTest)
#include "KeyProfileWindowTest.moc"
