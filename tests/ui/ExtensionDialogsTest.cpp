// The Extension Options and Edit/New Extension windows opened from the main window's function:
// typing into their fields and pressing their buttons creates, validates, edits and deletes
// extension profiles in the configuration directory.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "commands/FunctionTable.h"
#include "settings/Directories.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "support/TempHome.h"
#include "syntax/ExtensionProfile.h"
#include "ui/EditExtensionWindow.h"
#include "ui/ExtensionOptionsWindow.h"
#include "ui/MainWindow.h"

#include "MainWindowFixture.h"

using vexa::Answer;
using vexa::functionIdOf;
using vexa::StatusPane;
using vexa::syntax::ExtensionField;
using vexa::syntax::ExtensionProfile;
using vexa::syntax::ProfileFileStatus;
using vexa::ui::EditExtensionWindow;
using vexa::ui::ExtensionOptionsWindow;
using vexa::ui::MainWindow;

class ExtensionDialogsTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    using OptionsStep = std::function<void(ExtensionOptionsWindow&)>;
    using EditorStep = std::function<void(EditExtensionWindow&)>;

    std::string configDirectory() const { return m_options->directory(vexa::DirectoryKind::Config); }

    std::string profilePath(const std::string& extension) const {
        return vexa::syntax::profileFilePath(configDirectory(), extension);
    }

    void writeProfile(const std::string& extension, const std::string& description) {
        ExtensionProfile profile;
        profile.setExtension(extension);
        profile.setDescription(description);
        QCOMPARE(profile.save(profilePath(extension)), ProfileFileStatus::Ok);
    }

    // Opens the Extension Options window through the menu function; the edit windows it shows
    // are handed to editor.
    void openOptions(const OptionsStep& options, const EditorStep& editor = {}) {
        bool shown = false;
        m_window->setDialogRunner([&](QDialog& dialog) {
            // Shown, so that the buttons have a place to be clicked at.
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog)) {
                return int(QDialog::Rejected);
            }
            if (auto* edit = qobject_cast<EditExtensionWindow*>(&dialog)) {
                if (editor) {
                    editor(*edit);
                }
                return edit->result();
            }
            auto* window = qobject_cast<ExtensionOptionsWindow*>(&dialog);
            if (window == nullptr) {
                return int(QDialog::Rejected);
            }
            shown = true;
            options(*window);
            return int(QDialog::Accepted);
        });
        m_window->action(functionIdOf("OptionsExtension"))->trigger();
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
    void init() {
        QVERIFY(startWindow([this] {
            writeProfile("C", "C sources");
            writeProfile("PAS", "Pascal");
        }));
    }

    void cleanup() { stopWindow(); }

    void listsProfilesAndShowsTheSelectedDescription() {
        openOptions([](ExtensionOptionsWindow& window) {
            QCOMPARE(listed(window.entries()), (QStringList{"C", "PAS"}));
            window.entries()->setCurrentRow(1);
            QCOMPARE(window.description()->text(), QStringLiteral("Pascal"));
        });
    }

    void newExtensionIsTypedConfirmedAndSaved() {
        QString title;
        openOptions(
            [](ExtensionOptionsWindow& window) {
                QTest::keyClicks(window.extensionField(), QStringLiteral("pyth"));
                QCOMPARE(window.extensionField()->text(), QStringLiteral("pyt"));
                window.extensionField()->setText(QStringLiteral("py"));
                QTest::mouseClick(window.newButton(), Qt::LeftButton);
                QCOMPARE(listed(window.entries()), (QStringList{"C", "PAS", "PY"}));
                QCOMPARE(window.entries()->currentRow(), 2);
                QVERIFY(window.model().isChanged());
            },
            [&title](EditExtensionWindow& edit) {
                title = edit.windowTitle();
                QTest::keyClicks(edit.field(ExtensionField::Description), QStringLiteral("Python"));
                edit.field(ExtensionField::LineComment)->selectAll();
                QTest::keyClicks(edit.field(ExtensionField::LineComment), QStringLiteral("--"));
                QTest::mouseClick(edit.okButton(), Qt::LeftButton);
            });
        QVERIFY(title.startsWith(QStringLiteral("New Extension")));
        ExtensionProfile saved;
        QCOMPARE(saved.load(profilePath("PY")), ProfileFileStatus::Ok);
        QVERIFY(saved.description() == "Python");
        QVERIFY(saved.comment(vexa::syntax::CommentMarker::Line) == "--");
    }

    void refusedOkKeepsTheEditorOpenAndMarksTheDelimiter() {
        int firstResult = -1;
        openOptions(
            [](ExtensionOptionsWindow& window) {
                window.entries()->setCurrentRow(0);
                QTest::mouseClick(window.editButton(), Qt::LeftButton);
                QCOMPARE(window.description()->text(), QStringLiteral("C language"));
            },
            [&](EditExtensionWindow& edit) {
                // An unchanged edit dialog cannot be confirmed.
                QVERIFY(!edit.okButton()->isEnabled());
                QLineEdit* description = edit.field(ExtensionField::Description);
                description->selectAll();
                QTest::keyClicks(description, QStringLiteral("C language"));
                QVERIFY(edit.okButton()->isEnabled());
                QLineEdit* literal = edit.field(ExtensionField::Literal);
                QTest::keyClicks(literal, QStringLiteral("\\x"));
                // The special characters take one character only.
                QCOMPARE(literal->text(), QStringLiteral("\\"));
                QLineEdit* delimiters = edit.field(ExtensionField::Delimiters);
                delimiters->selectAll();
                QTest::keyClicks(delimiters, QStringLiteral("(\\)"));
                QTest::mouseClick(edit.okButton(), Qt::LeftButton);
                firstResult = edit.result();
                QCOMPARE(message(),
                         QStringLiteral(
                             "The delimiter character has already been used as a 'literal' character."));
                QCOMPARE(delimiters->selectionStart(), 1);
                QCOMPARE(delimiters->selectedText(), QStringLiteral("\\"));
                delimiters->selectAll();
                QTest::keyClicks(delimiters, QStringLiteral("()"));
                QTest::mouseClick(edit.okButton(), Qt::LeftButton);
            });
        QCOMPARE(firstResult, int(QDialog::Rejected));
        ExtensionProfile saved;
        QCOMPARE(saved.load(profilePath("C")), ProfileFileStatus::Ok);
        QVERIFY(saved.description() == "C language");
        QVERIFY(saved.delimiters() == "()");
    }

    void keywordsAreAddedSortedAndDeleted() {
        openOptions(
            [](ExtensionOptionsWindow& window) {
                window.entries()->setCurrentRow(1);
                QTest::mouseClick(window.editButton(), Qt::LeftButton);
            },
            [this](EditExtensionWindow& edit) {
                const int before = edit.keywords()->count();
                QLineEdit* keyword = edit.field(ExtensionField::Keyword);
                QVERIFY(!edit.addButton()->isEnabled());
                for (const QString& word : {QStringLiteral("zeta"), QStringLiteral("alpha")}) {
                    keyword->clear();
                    QTest::keyClicks(keyword, word);
                    QVERIFY(edit.addButton()->isEnabled());
                    QTest::mouseClick(edit.addButton(), Qt::LeftButton);
                }
                const QStringList words = listed(edit.keywords());
                QCOMPARE(words.size(), before + 2);
                QVERIFY(words.indexOf(QStringLiteral("alpha")) < words.indexOf(QStringLiteral("zeta")));
                // Picking a word in the list puts it into the keyword field for Update and Delete.
                edit.keywords()->setCurrentRow(int(words.indexOf(QStringLiteral("alpha"))));
                QCOMPARE(keyword->text(), QStringLiteral("alpha"));
                QVERIFY(edit.deleteButton()->isEnabled());
                QTest::mouseClick(edit.deleteButton(), Qt::LeftButton);
                QVERIFY(!listed(edit.keywords()).contains(QStringLiteral("alpha")));
                QTest::mouseClick(edit.okButton(), Qt::LeftButton);
            });
        ExtensionProfile saved;
        QCOMPARE(saved.load(profilePath("PAS")), ProfileFileStatus::Ok);
        bool hasZeta = false;
        bool hasAlpha = false;
        for (const auto& word : saved.keywords()) {
            const std::string_view text(word.text.data(), word.length);
            hasZeta = hasZeta || text == "zeta";
            hasAlpha = hasAlpha || text == "alpha";
        }
        QVERIFY(hasZeta);
        QVERIFY(!hasAlpha);
    }

    void deleteAsksAndRemovesTheProfile() {
        m_answer = Answer::Yes;
        openOptions([](ExtensionOptionsWindow& window) {
            window.entries()->setCurrentRow(0);
            QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
            QCOMPARE(listed(window.entries()), (QStringList{"PAS"}));
            QCOMPARE(window.description()->text(), QString());
        });
        QCOMPARE(m_questions.size(), std::size_t{1});
        QCOMPARE(m_questions.front(),
                 std::string("Are you sure you want to delete the 'C' extension profile?"));
        QVERIFY(!std::filesystem::exists(profilePath("C")));
        QVERIFY(std::filesystem::exists(profilePath("PAS")));
    }
};

QTEST_MAIN(ExtensionDialogsTest)
#include "ExtensionDialogsTest.moc"
