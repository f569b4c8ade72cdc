// The keymap manager and binding windows opened from the main window's keyboard-options function:
// a keymap is made from the defaults, a key captured from a real key press is bound, the keymap is
// saved and becomes the active one.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "commands/FunctionTable.h"
#include "keyboard/KeymapFile.h"
#include "keyboard/KeymapManager.h"
#include "settings/Directories.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "support/TempHome.h"
#include "ui/BindingEditorWindow.h"
#include "ui/KeymapManagerWindow.h"
#include "ui/MainWindow.h"

#include "MainWindowFixture.h"

using vexa::Answer;
using vexa::functionIdOf;
using vexa::StatusPane;
using vexa::ui::BindingEditorWindow;
using vexa::ui::KeymapManagerWindow;
using vexa::ui::MainWindow;

class KeymapDialogsTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    using ManagerStep = std::function<void(KeymapManagerWindow&)>;
    using BindingStep = std::function<void(BindingEditorWindow&)>;

    void openManager(const ManagerStep& manager, const BindingStep& binding = {}) {
        bool shown = false;
        m_window->setDialogRunner([&](QDialog& dialog) {
            // Shown, so that the buttons have a place to be clicked at.
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog)) {
                return int(QDialog::Rejected);
            }
            if (auto* editor = qobject_cast<BindingEditorWindow*>(&dialog)) {
                if (binding) {
                    binding(*editor);
                }
                return editor->result();
            }
            auto* window = qobject_cast<KeymapManagerWindow*>(&dialog);
            if (window == nullptr) {
                return int(QDialog::Rejected);
            }
            shown = true;
            manager(*window);
            return window->result();
        });
        m_window->action(functionIdOf("OptionsKeyboard"))->trigger();
        QVERIFY(shown);
    }

    static QStringList listed(const QListWidget* list) {
        QStringList result;
        for (int i = 0; i < list->count(); ++i) {
            result << list->item(i)->text();
        }
        return result;
    }

    QString message() const { return m_window->statusText(StatusPane::Message); }

private slots:
    void init() { QVERIFY(startWindow()); }

    void cleanup() { stopWindow(); }

    void newKeymapBindsACapturedKeyAndBecomesActive() {
        m_answer = Answer::Yes;
        QString boundMessage;
        openManager(
            [](KeymapManagerWindow& window) {
                QCOMPARE(window.keymaps()->item(0)->text(), QStringLiteral("<Default Keymap>"));
                QVERIFY(!window.newButton()->isEnabled());
                QTest::keyClicks(window.newName(), QStringLiteral("Mine"));
                QVERIFY(window.newButton()->isEnabled());
                QTest::mouseClick(window.newButton(), Qt::LeftButton);
                QVERIFY(listed(window.keymaps()).contains(QStringLiteral("Mine")));
                QCOMPARE(window.keymaps()->currentItem()->text(), QStringLiteral("Mine"));
                window.confirm();
            },
            [&boundMessage, this](BindingEditorWindow& editor) {
                // A real key press in the key-code list selects the key and its modifier boxes.
                editor.keys()->setFocus();
                QTest::keyClick(editor.keys(), Qt::Key_F5, Qt::ControlModifier);
                QVERIFY(editor.keys()->currentItem() != nullptr);
                QCOMPARE(editor.keys()->currentItem()->text(), QStringLiteral("VK_F5"));
                QVERIFY(editor.control()->isChecked());
                QVERIFY(!editor.shift()->isChecked());
                const auto found =
                    editor.functions()->findItems(QStringLiteral("FileSave"), Qt::MatchExactly);
                QCOMPARE(found.size(), qsizetype{1});
                editor.functions()->setCurrentItem(found.front());
                QTest::mouseClick(editor.updateButton(), Qt::LeftButton);
                boundMessage = message();
                editor.closeEditor();
            });
        QCOMPARE(m_questions.front(), std::string(vexa::kUseDefaultsQuestion));
        QCOMPARE(boundMessage, QStringLiteral("Key is now bounded to the 'FileSave' function"));
        QCOMPARE(m_options->keymapName(), std::string("Mine"));
        const auto path = vexa::keymapFilePath(m_options->directory(vexa::DirectoryKind::Config), "Mine");
        QVERIFY(path.has_value() && std::filesystem::exists(*path));
        // The manager made the new keymap the active one: Ctrl+F5 now saves.
        const vexa::KeyChord ctrlF5{0x74, 2};
        QCOMPARE(m_window->keys().keymaps().keymap().lookupInTable(vexa::KeyChord{}, ctrlF5),
                 functionIdOf("FileSave"));
    }

    void defaultKeymapCannotBeEditedOrDeleted() {
        openManager([this](KeymapManagerWindow& window) {
            window.keymaps()->setCurrentRow(0);
            QTest::mouseClick(window.editButton(), Qt::LeftButton);
            QCOMPARE(message(), QString::fromLatin1(vexa::kCannotEditDefaultMessage.data(),
                                                    qsizetype(vexa::kCannotEditDefaultMessage.size())));
            QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
            QCOMPARE(message(), QString::fromLatin1(vexa::kCannotDeleteDefaultMessage.data(),
                                                    qsizetype(vexa::kCannotDeleteDefaultMessage.size())));
            QCOMPARE(window.keymaps()->count(), 1);
        });
    }
};

QTEST_MAIN(KeymapDialogsTest)
#include "KeymapDialogsTest.moc"
