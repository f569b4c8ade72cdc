// The writing aids' dialog views: each is found for its model and passes the user's choices on.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

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
        QCOMPARE(vexa::ui::fromWindows1252(model.replacement()), QStringLiteral("hello"));
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
