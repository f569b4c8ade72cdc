// The writing aids' dialog views: each is found for its model and passes the user's choices on.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <algorithm>

#include "aids/AidDialogs.h"
#include "ui/AidWindows.h"
#include "ui/DialogViews.h"
#include "ui/Windows1252.h"

namespace {

QPushButton* buttonNamed(QWidget& parent, const QString& text) {
    for (QPushButton* button : parent.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

class AidViewsTest : public QObject {
    Q_OBJECT

private slots:
    void spellingSelectionEnablesChange() {
        vexa::aids::SpellingDialog model("Spelling: English", "helo", {"hallo", "hello"});
        auto view = vexa::ui::makeDialogView(model, nullptr);
        QVERIFY(view != nullptr);
        auto* window = dynamic_cast<vexa::ui::SpellingWindow*>(view.get());
        QVERIFY(window != nullptr);
        QCOMPARE(view->windowTitle(), QStringLiteral("Spelling: English"));
        QVERIFY(!window->changeButton()->isEnabled());
        window->words()->setCurrentRow(1);
        QVERIFY(window->changeButton()->isEnabled());
        QCOMPARE(window->changeTo()->text(), QStringLiteral("hello"));
        window->changeButton()->click();
        QCOMPARE(view->result(), int(QDialog::Accepted));
        QVERIFY(model.pressed() == vexa::aids::SpellingDialog::Button::Change);
        QCOMPARE(QString::fromUtf8(model.replacement()), QStringLiteral("hello"));
    }

    void spellingAddPassesTheButton() {
        vexa::aids::SpellingDialog model("Spelling: English", "vexa", {});
        auto view = vexa::ui::makeDialogView(model, nullptr);
        QPushButton* add = buttonNamed(*view, QStringLiteral("&Add"));
        QVERIFY(add != nullptr);
        add->click();
        QVERIFY(model.pressed() == vexa::aids::SpellingDialog::Button::Add);
    }

    void spellingOptionsChooseAndFlags() {
        vexa::aids::SpellingOptionsDialog model({{"ENGLISH.DIC", "English"}, {"OTHER.DIC", "Other"}}, {});
        auto view = vexa::ui::makeDialogView(model, nullptr);
        QVERIFY(view != nullptr);
        auto* combo = view->findChild<QComboBox*>();
        QVERIFY(combo != nullptr);
        QCOMPARE(combo->count(), 2);
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(vexa::ui::fromWindows1252(model.result().dictionary), QStringLiteral("ENGLISH.DIC"));
        for (QCheckBox* box : view->findChildren<QCheckBox*>()) {
            if (box->text().contains(QStringLiteral("possessives"))) {
                box->click();
            }
        }
        QVERIFY(model.result().options.english);
    }

    // The spelling dialog's texts are UTF-8: the word and suggestions show as characters and what
    // is typed in "Change word to" goes back as UTF-8.
    void spellingShowsAndTakesCharacters() {
        vexa::aids::SpellingDialog model("Spelling: English", "na\xC3\xAFve", {"na\xC3\xAF", "caf\xC3\xA9"});
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* window = dynamic_cast<vexa::ui::SpellingWindow*>(view.get());
        QVERIFY(window != nullptr);
        QLineEdit* word = nullptr;
        for (QLineEdit* edit : view->findChildren<QLineEdit*>()) {
            if (edit->isReadOnly()) {
                word = edit;
            }
        }
        QVERIFY(word != nullptr);
        QCOMPARE(word->text(), QString::fromUtf8("na\xC3\xAFve"));
        QCOMPARE(window->words()->item(1)->text(), QString::fromUtf8("caf\xC3\xA9"));
        window->words()->setCurrentRow(1);
        QCOMPARE(window->changeTo()->text(), QString::fromUtf8("caf\xC3\xA9"));
        QCOMPARE(model.replacement(), std::string("caf\xC3\xA9"));
        Q_EMIT window->changeTo()->textEdited(QString::fromUtf8("a\xE2\x86\x92"));
        QCOMPARE(model.replacement(), std::string("a\xE2\x86\x92"));
    }

    // Stored entries show as characters whichever encoding wrote them; new ones are kept as UTF-8.
    void templateEntriesShowAndTakeCharacters() {
        vexa::aids::TemplateSet set = vexa::aids::TemplateSet::makeNew("C");
        set.setEntries({{"old", "caf\xE9"}, {"\xC3\xA9t\xC3\xA9", "summer \xE2\x86\x92"}});
        vexa::aids::EditTemplateDialog edit(set);
        auto view = vexa::ui::makeDialogView(edit, nullptr);
        auto* table = view->findChild<QTableWidget*>();
        QVERIFY(table != nullptr);
        QCOMPARE(table->item(0, 2)->text(), QString::fromUtf8("caf\xC3\xA9"));
        QCOMPARE(table->item(1, 0)->text(), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("3"));
        QCOMPARE(table->item(1, 2)->text(), QString::fromUtf8("summer \xE2\x86\x92"));
        QLineEdit* abbreviation = nullptr;
        for (QLineEdit* field : view->findChildren<QLineEdit*>()) {
            if (field->maxLength() == static_cast<int>(vexa::aids::kMaxAbbreviation)) {
                abbreviation = field;
            }
        }
        auto* expansion = view->findChild<QPlainTextEdit*>();
        QVERIFY(abbreviation != nullptr && expansion != nullptr);
        table->setCurrentCell(0, 0);
        QCOMPARE(abbreviation->text(), QStringLiteral("old"));
        QCOMPARE(expansion->toPlainText(), QString::fromUtf8("caf\xC3\xA9"));
        abbreviation->setText(QString::fromUtf8("\xC5\x9Di"));
        expansion->setPlainText(QString::fromUtf8("\xE2\x86\x92"));
        QPushButton* add = buttonNamed(*view, QStringLiteral("&Add"));
        QVERIFY(add != nullptr);
        add->click();
        const auto& entries = edit.entries();
        const bool added =
            std::any_of(entries.begin(), entries.end(), [](const vexa::aids::TemplateEntry& entry) {
                return entry.abbreviation == "\xC5\x9Di" && entry.expansion == "\xE2\x86\x92";
            });
        QVERIFY(added);
    }

    void templateViewsAreRegistered() {
        vexa::aids::TemplateSet set = vexa::aids::TemplateSet::makeNew("C");
        set.setEntries({{"if", "if ()"}});
        vexa::aids::EditTemplateDialog edit(set);
        auto view = vexa::ui::makeDialogView(edit, nullptr);
        QVERIFY(dynamic_cast<vexa::ui::EditTemplateWindow*>(view.get()) != nullptr);
        QCOMPARE(view->windowTitle(), QStringLiteral("Edit Template"));
    }
};

QTEST_MAIN(AidViewsTest)
#include "AidViewsTest.moc"
