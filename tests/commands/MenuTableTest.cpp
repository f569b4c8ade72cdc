// Tests of the menu data: items name real functions, hints are found by command, key texts are rewritten.
#include "commands/MenuTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/TempHome.h"

namespace vexa {
namespace {

class MenuTableTest : public ::testing::Test {
protected:
    // Every item of the menu bar and of the context menu, in order.
    static std::vector<MenuItem> allItems() {
        std::vector<MenuItem> items;
        for (const MenuDefinition& menu : mainMenuBar()) {
            items.insert(items.end(), menu.items.begin(), menu.items.end());
        }
        const auto context = editContextMenu();
        items.insert(items.end(), context.begin(), context.end());
        return items;
    }

    test::TempHome m_home;
    const FunctionTable& m_table = FunctionTable::standard();
};

TEST_F(MenuTableTest, TheMenuBarHoldsElevenPullDownsInOrder) {
    const std::vector<std::string_view> titles = {"&File",     "&Edit",   "&View",     "&Options",
                                                  "&Macros",   "&Tools",  "&Compiler", "&Project",
                                                  "&Spelling", "&Window", "&Help"};
    const auto bar = mainMenuBar();
    ASSERT_EQ(bar.size(), titles.size());
    for (std::size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(bar[i].title, titles[i]);
        EXPECT_FALSE(bar[i].items.empty()) << titles[i];
    }
}

TEST_F(MenuTableTest, EveryItemRunsAnExistingFunctionAndHasAHint) {
    for (const MenuItem& item : allItems()) {
        if (item.isSeparator()) {
            EXPECT_TRUE(item.text.empty());
            continue;
        }
        ASSERT_NE(m_table.find(item.commandId), nullptr) << item.text;
        EXPECT_FALSE(commandHint(item.commandId).empty()) << item.text;
        EXPECT_FALSE(item.text.empty());
    }
}

TEST_F(MenuTableTest, SeparatorsOnlyStandBetweenItems) {
    const auto checkMenu = [](std::span<const MenuItem> items, std::string_view title) {
        ASSERT_FALSE(items.empty());
        EXPECT_FALSE(items.front().isSeparator()) << title;
        EXPECT_FALSE(items.back().isSeparator()) << title;
        for (std::size_t i = 1; i < items.size(); ++i) {
            EXPECT_FALSE(items[i - 1].isSeparator() && items[i].isSeparator()) << title << " " << i;
        }
    };
    for (const MenuDefinition& menu : mainMenuBar()) {
        checkMenu(menu.items, menu.title);
    }
    checkMenu(editContextMenu(), "context");
}

TEST_F(MenuTableTest, ItemsAreNotRepeatedWithinTheMenuBar) {
    std::set<uint32_t> seen;
    for (const MenuDefinition& menu : mainMenuBar()) {
        for (const MenuItem& item : menu.items) {
            if (!item.isSeparator()) {
                EXPECT_TRUE(seen.insert(item.commandId).second) << item.text;
            }
        }
    }
}

// A key text after the tab goes stale when a keymap is loaded unless the function's key is rewritten.
TEST_F(MenuTableTest, ItemsWithAKeyTextBelongToTheShownKeyFunctions) {
    for (const MenuItem& item : allItems()) {
        if (item.text.find('\t') != std::string_view::npos) {
            EXPECT_TRUE(m_table.is(item.commandId, FunctionClass::ShowsKey)) << item.text;
        }
    }
}

TEST_F(MenuTableTest, AccessKeyMarkersAreWellFormed) {
    for (const MenuItem& item : allItems()) {
        const std::string_view label = menuItemLabel(item.text);
        const std::size_t marker = label.find('&');
        if (item.isSeparator()) {
            continue;
        }
        ASSERT_NE(marker, std::string_view::npos) << item.text;
        EXPECT_LT(marker + 1, label.size()) << item.text;
        EXPECT_EQ(label.find('&', marker + 1), std::string_view::npos) << item.text;
    }
}

TEST_F(MenuTableTest, TheContextMenuHoldsTheMarkingCommands) {
    const std::vector<std::pair<std::string_view, std::string_view>> expected = {
        {"&Cut", "MarkCutEx"},
        {"C&opy", "MarkCopyEx"},
        {"&Paste", "MarkPasteEx"},
        {"Cl&ear", "MarkDelete"},
        {"", ""},
        {"&Upper Case", "MarkCaseUpper"},
        {"&Lower Case", "MarkCaseLower"},
        {"&Toggle Case", "MarkCaseTranspose"},
        {"", ""},
        {"Open &Include", "FileOpenInLine"},
        {"&Document List", "FileListDisplay"},
        {"&Association List", "FileListAssociates"},
    };
    const auto context = editContextMenu();
    ASSERT_EQ(context.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(context[i].text, expected[i].first) << i;
        EXPECT_EQ(m_table.nameOf(context[i].commandId), expected[i].second) << i;
    }
}

TEST_F(MenuTableTest, HintsByCommandIdentifier) {
    const std::vector<std::pair<uint32_t, std::string_view>> cases = {
        {m_table.idOf("FileNew"), "Create a new document"},
        {m_table.idOf("MarkCutEx"), "Cut the current line or the marked area to clipboard"},
        {m_table.idOf("MarkCaseTranspose"),
         "Convert the marked area lower case characters to upper case and vice versa"},
        {m_table.idOf("HelpAbout"), "General information regarding this application"},
        {m_table.idOf("FileReload1"), "Open this document"},
        {m_table.idOf("FileReload9"), "Open this document"},
        {m_table.idOf("FileReloadCurrent"), ""},
        {m_table.idOf("MacroExecute1"), "Run this macro"},
        {m_table.idOf("MacroExecute15"), "Run this macro"},
        {m_table.idOf("ToolsExecute1"), "Run this tool"},
        {m_table.idOf("ToolsExecute15"), "Run this tool"},
        {m_table.idOf("NotSupported"), ""},
        {1095, ""},
        {1499, ""},
        {1500, "Activate this document"},
        {1508, "Activate this document"},
        {1509, "Show entire list of documents"},
        {1510, ""},
        {2665, ""},
        {2666, "Open this document"},
        {2674, "Open this document"},
        {2675, ""},
        {0, ""},
    };
    for (const auto& [id, hint] : cases) {
        EXPECT_EQ(commandHint(id), hint) << id;
    }
}

TEST_F(MenuTableTest, KeyTextsReplaceThePartAfterTheTab) {
    struct Case {
        std::string item;
        std::string keyText;
        std::string expected;
    };
    const std::string longLabel(70, 'x');
    const std::vector<Case> cases = {
        {"&Open...\tAlt+E", "\tCtrl+O", "&Open...\tCtrl+O"},
        {"&Open...\tAlt+E", "\tAlt+E", "&Open...\tAlt+E"},
        {"&Open...\tAlt+E", "", "&Open..."},
        {"&New", "\tCtrl+N", "&New\tCtrl+N"},
        {"&New", "", "&New"},
        {"&Undo \tAlt+U", "\tCtrl+Z", "&Undo \tCtrl+Z"},
        {"a\tb\tc", "\tK", "a\tK"},
        {longLabel, "\tF1", std::string(59, 'x')},
        {"&Find...", "\t" + std::string(60, 'k'), "&Find...\t" + std::string(59 - 9, 'k')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(menuTextWithKey(c.item, c.keyText), c.expected) << c.item;
    }
}

} // namespace
} // namespace vexa
