// The help dialogs' views over their models: the guide opened at a section, the Quick Search
// dialog searching as OK is pressed, and the configuration dialog's lists.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <filesystem>

#include "aids/HelpCommands.h"
#include "aids/QuickHelpDialogs.h"
#include "support/TempHome.h"
#include "ui/DialogViews.h"

class HelpViewsTest : public QObject {
    Q_OBJECT

private slots:
    void guideOpensAtItsSection() {
        vexa::aids::HelpTextDialog model("Vexa User Guide", std::string(vexa::userGuideText()),
                                         vexa::aids::HelpTextDialog::Format::Markdown,
                                         std::string(vexa::aids::kGuideHelpSection));
        auto view = vexa::ui::makeDialogView(model, nullptr);
        QVERIFY(view != nullptr);
        QCOMPARE(view->windowTitle(), QStringLiteral("Vexa User Guide"));
        auto* browser = view->findChild<QTextBrowser*>();
        QVERIFY(browser != nullptr);
        QCOMPARE(browser->textCursor().block().text(), QStringLiteral("Quick Help"));
        QVERIFY(browser->textCursor().block().blockFormat().headingLevel() > 0);
    }

    void plainPagesKeepTheirText() {
        vexa::aids::HelpTextDialog model("printf(3)", "NAME\n  printf \xe9");
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* browser = view->findChild<QTextBrowser*>();
        QVERIFY(browser != nullptr);
        QCOMPARE(browser->toPlainText(), QString::fromUtf8("NAME\n  printf \u00e9"));
    }

    void quickSearchSearchesOnOkAndAcceptsAPickedHit() {
        vexa::test::TempHome home;
        std::vector<std::string> searched;
        std::vector<std::string> reports;
        vexa::aids::QuickHelpDialog model(
            [&](std::string_view keyword) {
                searched.emplace_back(keyword);
                vexa::aids::HelpSearchResult result;
                result.code = vexa::aids::HelpSearchCode::SeveralHits;
                result.hits = {{"/h/A.HLP", "Alpha"}, {"/h/B.HLP", "Beta"}};
                return result;
            },
            [&](std::string_view message) { reports.emplace_back(message); }, home.file("VexaHlp.his"));
        auto view = vexa::ui::makeDialogView(model, nullptr);
        QVERIFY(view != nullptr);
        QCOMPARE(view->windowTitle(), QStringLiteral("Quick Search"));
        auto* keyword = view->findChild<QComboBox*>();
        auto* hits = view->findChild<QListWidget*>();
        auto* buttons = view->findChild<QDialogButtonBox*>();
        QVERIFY(keyword != nullptr && hits != nullptr && buttons != nullptr);

        buttons->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(reports, std::vector<std::string>{"No key word has been specified."});
        keyword->setEditText(QStringLiteral("print"));
        buttons->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(searched, std::vector<std::string>{"print"});
        QCOMPARE(hits->count(), 2);
        QCOMPARE(hits->item(1)->text(), QStringLiteral("Beta"));
        QCOMPARE(view->result(), 0);
        hits->setCurrentRow(1);
        buttons->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(view->result(), int(QDialog::Accepted));
        QCOMPARE(model.selected().value_or(9), std::size_t(1));
    }

    void configurationListsDirectoriesAndHelpFiles() {
        vexa::test::TempHome home;
        std::filesystem::create_directories(home.path() / "help");
        std::filesystem::create_directories(home.path() / "files" / "sub");
        vexa::test::writeFileBytes(home.path() / "files" / "api.hlp", "not really");
        vexa::aids::QuickSetupDialog model(home.file("help") + "/", home.file("files"),
                                           [](std::string_view, std::string_view) {});
        auto view = vexa::ui::makeDialogView(model, nullptr);
        QVERIFY(view != nullptr);
        QCOMPARE(view->windowTitle(), QStringLiteral("Quick Configuration"));
        auto lists = view->findChildren<QListWidget*>();
        QCOMPARE(lists.size(), 2);
        QStringList left;
        for (int i = 0; i < lists[0]->count(); ++i) {
            left << lists[0]->item(i)->text();
        }
        QCOMPARE(left, (QStringList{"[..]", "[sub]", "api.hlp"}));
        QCOMPARE(lists[1]->count(), 0);
    }
};

QTEST_MAIN(HelpViewsTest)
#include "HelpViewsTest.moc"
