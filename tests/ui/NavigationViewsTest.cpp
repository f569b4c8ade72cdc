// The navigation and tool dialog views, driven with keys and clicks over their models.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "toolchain/ToolDialogs.h"
#include "frame/HeadlessFrame.h"
#include "navigation/NavigationDialogs.h"
#include "support/TempHome.h"
#include "ui/DialogViews.h"
#include "ui/NavigationWindows.h"
#include "TypeText.h"

namespace {

QPushButton* buttonNamed(QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

class NavigationViewsTest : public QObject {
    Q_OBJECT

private slots:
    void gotoIsEnabledOnlyWithTextAndHandsItOver() {
        std::string pressed;
        vexa::navigation::NumberDialogModel model("Goto Line", "&Line Number:", "",
                                                  [&pressed](const std::string& t) {
                                                      pressed = t;
                                                      return true;
                                                  });
        auto view = vexa::ui::makeDialogView(model, nullptr);
        QVERIFY(dynamic_cast<vexa::ui::NumberDialogWindow*>(view.get()) != nullptr);
        QCOMPARE(view->windowTitle(), QStringLiteral("Goto Line"));
        QPushButton* go = buttonNamed(*view, QStringLiteral("&Goto"));
        QVERIFY(go != nullptr);
        QVERIFY(!go->isEnabled());
        auto* text = view->findChild<QLineEdit*>();
        QTest::keyClicks(text, QStringLiteral("12"));
        QVERIFY(go->isEnabled());
        text->setText(QStringLiteral("12") + QChar(0xe9)); // typed through the 1252 conversion
        QVERIFY(go->isEnabled());
        go->click();
        QCOMPARE(pressed, std::string("12\xe9"));
        QCOMPARE(view->result(), int(QDialog::Accepted));
    }

    void aChoiceIsMadeByActivatingAnItem() {
        vexa::navigation::ChoiceListModel model("Association List", {"/a/x.h", "/a/x.txt"},
                                                "Open this document");
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* list = view->findChild<QListWidget*>();
        QVERIFY(list != nullptr);
        QCOMPARE(list->count(), 2);
        list->setCurrentRow(1);
        emit list->itemActivated(list->item(1));
        QCOMPARE(model.chosen(), std::optional<std::size_t>(1));
    }

    void toolOptionsShowAndAddTools() {
        vexa::HeadlessFrame frame;
        vexa::toolchain::ToolRecord tool = vexa::toolchain::newToolRecord("/");
        tool.program = "/usr/bin/make";
        tool.arguments = "all";
        tool.menuText = "&Make";
        vexa::toolchain::ToolOptionsModel model(frame, {tool}, "/");
        auto view = vexa::ui::makeDialogView(model, nullptr);
        QVERIFY(dynamic_cast<vexa::ui::ToolOptionsWindow*>(view.get()) != nullptr);
        auto* list = view->findChild<QListWidget*>();
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("make all"));
        const auto edits = view->findChildren<QLineEdit*>();
        QLineEdit* menuText = nullptr;
        for (QLineEdit* edit : edits) {
            if (edit->maxLength() == 40) {
                menuText = edit;
            }
        }
        QVERIFY(menuText != nullptr);
        menuText->setText(QStringLiteral("&Other"));
        buttonNamed(*view, QStringLiteral("&Add"))->click();
        QCOMPARE(model.tools().size(), std::size_t(2));
        QCOMPARE(model.tools()[1].menuText, std::string("&Other"));
        QCOMPARE(list->count(), 2);
    }

    void dosCommandLineKeepsItsHistory() {
        vexa::test::TempHome home;
        const std::string config = home.path().string() + "/";
        {
            vexa::toolchain::DosCommandLineModel model(config);
            model.directory = "/tmp";
            model.arguments = "ls -l";
            QVERIFY(model.accept());
        }
        vexa::toolchain::DosCommandLineModel model(config);
        auto view = vexa::ui::makeDialogView(model, nullptr);
        const auto boxes = view->findChildren<QComboBox*>();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[1]->currentText(), QStringLiteral("ls -l"));
        QCOMPARE(model.argumentHistory(), std::vector<std::string>{"ls -l"});
    }

    // Commands, arguments and folders are file-system text: what is typed is kept as UTF-8 and
    // shown again as typed.
    void commandLineAndToolFieldsKeepTypedTextAsUtf8() {
        vexa::test::TempHome home;
        const std::string config = home.path().string() + "/";
        const std::string utf8Name = "cat jos\xc3\xa9.txt \xe4\xb8\xad";
        {
            vexa::toolchain::DosCommandLineModel model(config);
            auto view = vexa::ui::makeDialogView(model, nullptr);
            const auto boxes = view->findChildren<QComboBox*>();
            QCOMPARE(boxes.size(), 2);
            boxes[1]->clearEditText();
            vexa::test::typeText(boxes[1]->lineEdit(), QString::fromUtf8(utf8Name));
            view->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            QCOMPARE(model.arguments, utf8Name);
        }
        vexa::toolchain::DosCommandLineModel again(config);
        auto view = vexa::ui::makeDialogView(again, nullptr);
        QCOMPARE(view->findChildren<QComboBox*>()[1]->currentText(), QString::fromUtf8(utf8Name));

        vexa::HeadlessFrame frame;
        vexa::toolchain::ToolRecord tool = vexa::toolchain::newToolRecord("/");
        tool.program = "/opt/caf\xc3\xa9/run";
        tool.arguments = "jos\xc3\xa9";
        tool.menuText = "&Run";
        vexa::toolchain::ToolOptionsModel tools(frame, {tool}, "/");
        auto toolView = vexa::ui::makeDialogView(tools, nullptr);
        toolView->findChild<QListWidget*>()->setCurrentRow(0);
        bool programShown = false;
        for (QLineEdit* edit : toolView->findChildren<QLineEdit*>()) {
            programShown = programShown || edit->text() == QStringLiteral("/opt/caf\u00e9/run");
        }
        QVERIFY(programShown);
    }
};

QTEST_MAIN(NavigationViewsTest)
#include "NavigationViewsTest.moc"
