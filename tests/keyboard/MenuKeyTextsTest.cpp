// Tests of the menu key texts rewritten from the active keymap.
#include "keyboard/MenuKeyTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/FunctionTable.h"
#include "keyboard/Keymap.h"
#include "keyboard/PrefixKeyList.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

class MenuKeyTextsTest : public ::testing::Test {
protected:
    // The text of the first item with the command in the menus.
    static std::string textOf(const MenuBarTexts& menus, std::string_view function) {
        const FunctionId id = FunctionTable::standard().idOf(function);
        for (const auto& menu : menus) {
            for (const MenuItemText& item : menu) {
                if (item.commandId == id) {
                    return item.text;
                }
            }
        }
        return "<missing>";
    }

    test::TempHome m_home;
    PrefixKeyList m_prefixes;
};

TEST_F(MenuKeyTextsTest, DefaultKeymapShowsTheFirstKeyOfEachFunction) {
    MenuBarTexts menus = menuBarTexts(mainMenuBar());
    ASSERT_GE(menus.size(), kMenusWithKeyTexts);
    const Keymap keymap = Keymap::makeDefault();
    EXPECT_GT(rewriteMenuKeyTexts(menus, 0, keymap, m_prefixes), 0u);
    EXPECT_EQ(textOf(menus, "MarkCopyEx"), "C&opy\tCtrl+C");
    // Running it again changes nothing.
    EXPECT_EQ(rewriteMenuKeyTexts(menus, 0, keymap, m_prefixes), 0u);
}

TEST_F(MenuKeyTextsTest, ItemsLoseTheirKeyTextWhenNothingIsBound) {
    const FunctionId copy = functionIdOf("MarkCopyEx");
    const FunctionId save = functionIdOf("FileSave");
    const FunctionId notShown = functionIdOf("MarkCut");
    ASSERT_TRUE(FunctionTable::standard().is(copy, FunctionClass::ShowsKey));
    ASSERT_TRUE(FunctionTable::standard().is(save, FunctionClass::ShowsKey));
    ASSERT_FALSE(FunctionTable::standard().is(notShown, FunctionClass::ShowsKey));
    MenuBarTexts menus = {{{copy, "C&opy\tOld"}, {0, ""}, {save, "&Save"}, {notShown, "Cu&t\tKeep"}}};
    Keymap keymap;
    ASSERT_EQ(keymap.bind(kNoPrefix, {0x53, 2, save}), BindResult::Bound);
    EXPECT_EQ(rewriteMenuKeyTexts(menus, 0, keymap, m_prefixes), 2u);
    EXPECT_EQ(menus[0][0].text, "C&opy");
    EXPECT_EQ(menus[0][2].text, "&Save\tCtrl+S");
    EXPECT_EQ(menus[0][3].text, "Cu&t\tKeep");
}

TEST_F(MenuKeyTextsTest, WalkStartsAtTheGivenMenuAndCoversEleven) {
    const FunctionId save = functionIdOf("FileSave");
    MenuBarTexts menus(13, std::vector<MenuItemText>{{save, "&Save"}});
    const Keymap keymap = Keymap::makeDefault();
    EXPECT_EQ(rewriteMenuKeyTexts(menus, 1, keymap, m_prefixes), kMenusWithKeyTexts);
    EXPECT_EQ(menus[0][0].text, "&Save");
    EXPECT_EQ(menus[1][0].text, "&Save\tCtrl+S");
    EXPECT_EQ(menus[11][0].text, "&Save\tCtrl+S");
    EXPECT_EQ(menus[12][0].text, "&Save");
}

TEST_F(MenuKeyTextsTest, LongTextsAreCutToFiftyNine) {
    const FunctionId save = functionIdOf("FileSave");
    PrefixKeyList prefixes;
    prefixes.addFromText("CtrlK 75 2\n");
    Keymap keymap;
    ASSERT_EQ(keymap.bind({75, 2}, {0x70, 5, save}), BindResult::Bound);
    MenuBarTexts menus = {{{save, std::string(50, 'x')}}};
    EXPECT_EQ(rewriteMenuKeyTexts(menus, 0, keymap, prefixes), 1u);
    EXPECT_EQ(menus[0][0].text, (std::string(50, 'x') + "\tCtrlK Al").substr(0, 59));
    EXPECT_EQ(menus[0][0].text.size(), kMaxMenuItemText);
}

} // namespace
} // namespace vexa
