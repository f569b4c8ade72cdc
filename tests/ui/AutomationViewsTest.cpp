// The views of the macro and script dialogs: each shows its model and hands what the user entered
// back to it when accepted.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "frame/HeadlessFrame.h"
#include "keyboard/MacroDialogs.h"
#include "session/ScriptCommands.h"
#include "session/UserInputModel.h"
#include "ui/AutomationWindows.h"
#include "ui/DialogViews.h"

namespace {

// Presses the button of the dialog's button box that has the role.
void press(QDialog& dialog, QDialogButtonBox::ButtonRole role) {
    auto* box = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(box != nullptr);
    for (QAbstractButton* button : box->buttons()) {
        if (box->buttonRole(button) == role) {
            button->click();
            return;
        }
    }
    QFAIL("no button with the role");
}

} // namespace

class AutomationViewsTest : public QObject {
    Q_OBJECT

private slots:
    void repeatCountGoesToTheModel() {
        vexa::MacroRepeatModel model;
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* dialog = dynamic_cast<vexa::ui::MacroRepeatWindow*>(view.get());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Repeat Macro"));
        dialog->count()->setValue(12);
        press(*dialog, QDialogButtonBox::AcceptRole);
        QCOMPARE(model.count(), 12);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void executeScriptShowsTheHistoryAndRunsTheTypedLine() {
        vexa::HeadlessFrame frame;
        vexa::ExecuteScriptModel model(frame, {"first.zm a", "second.zm"});
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* dialog = dynamic_cast<vexa::ui::ExecuteScriptWindow*>(view.get());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->script()->count(), 2);
        QCOMPARE(dialog->script()->currentText(), QStringLiteral("first.zm a"));
        // An empty line cannot be run.
        dialog->script()->setEditText(QString());
        press(*dialog, QDialogButtonBox::AcceptRole);
        QVERIFY(dialog->result() != int(QDialog::Accepted));
        dialog->script()->setEditText(QStringLiteral("caf\u00e9.zm 1"));
        press(*dialog, QDialogButtonBox::AcceptRole);
        QCOMPARE(model.commandLine(), std::string("caf\xE9.zm 1"));
    }

    void userInputFieldsGoToTheModel() {
        vexa::UserInputModel model({"Name", "Count"});
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* dialog = dynamic_cast<vexa::ui::UserInputWindow*>(view.get());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->fields().size(), std::size_t(2));
        QTest::keyClicks(dialog->fields()[0], QStringLiteral("vexa"));
        QTest::keyClicks(dialog->fields()[1], QStringLiteral("42"));
        press(*dialog, QDialogButtonBox::AcceptRole);
        QCOMPARE(model.text(0), std::string("vexa"));
        QCOMPARE(model.text(1), std::string("42"));
    }

    void macroOptionsListsTheEntries() {
        vexa::HeadlessFrame frame;
        vexa::MacroOptionsModel model({{"Abc", "/m/abc.mac"}}, frame);
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* dialog = dynamic_cast<vexa::ui::MacroOptionsWindow*>(view.get());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->entries()->count(), 1);
        QCOMPARE(dialog->entries()->item(0)->text(), QStringLiteral("Abc\t/m/abc.mac"));
    }
};

QTEST_MAIN(AutomationViewsTest)
#include "AutomationViewsTest.moc"
