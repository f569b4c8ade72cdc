// Tests of the key and habit profiles: what a start does about the question, the Common keymap made
// from the shipped text, its settings, and switching that keeps the user's own keymaps.
#include "keyboard/KeyProfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "KeymapFixture.h"
#include "commands/FunctionTable.h"
#include "keyboard/DefaultKeymap.h"
#include "keyboard/MenuKeyTexts.h"
#include "keyboard/PrefixKeyList.h"
#include "settings/HomeSetup.h"

namespace vexa {
namespace {

class KeyProfileTest : public ::testing::Test, protected test::KeymapFixture {
protected:
    const std::vector<std::filesystem::path> m_shipped{VEXA_SHIPPED_CONFIG};
};

struct StartCase {
    const char* name;
    const char* setting;
    const char* environment;
    bool ask;
    std::optional<KeyProfile> answer;
};

TEST_F(KeyProfileTest, AStartAsksOnlyWhenNothingAnswers) {
    const StartCase cases[] = {
        {"first start", "", nullptr, true, std::nullopt},
        {"answered in advance", "", "common", false, KeyProfile::Common},
        {"any case", "", "CLASSIC", false, KeyProfile::Classic},
        {"an unknown value never asks", "", "emacs", false, KeyProfile::Classic},
        {"chosen before", "Common", nullptr, false, std::nullopt},
        {"chosen before wins over the variable", "Classic", "common", false, std::nullopt},
    };
    for (const StartCase& c : cases) {
        m_options.editor().profile = c.setting;
        const ProfileStart start = profileAtStart(m_options, c.environment);
        EXPECT_EQ(start.ask, c.ask) << c.name;
        EXPECT_EQ(start.answer, c.answer) << c.name;
    }
}

struct BindingCase {
    uint16_t keyCode;
    uint16_t modifiers;
    std::string_view function;
};

TEST_F(KeyProfileTest, CommonMakesItsKeymapFromTheShippedTextAndSetsItsHabits) {
    ASSERT_TRUE(applyProfile(KeyProfile::Common, m_options, m_frame, m_shipped));
    EXPECT_EQ(m_options.editor().keymap, "Common");
    EXPECT_EQ(m_options.editor().menuKey, 1);
    EXPECT_EQ(m_options.mouse().mouseMark1, 2) << "a plain drag marks a stream";
    EXPECT_EQ(m_options.editor().saveKeepsUndo, 1);
    EXPECT_EQ(m_options.editor().undoWords, 1);

    const auto keymap = m_store.create("Common");
    ASSERT_TRUE(keymap->isValid());
    const BindingCase bindings[] = {
        {0x46, 2, "SearchDialog"},
        {0x48, 2, "ReplaceDialog"},
        {0x24, 2, "MoveDocumentStart"},
        {0x23, 2, "MoveDocumentEnd"},
        {0x24, 3, "MoveDocumentStart"},
        {0x23, 3, "MoveDocumentEnd"},
        {0x5A, 3, "Redo"},
        {0x59, 2, "Redo"},
        {0x5A, 2, "Undo"},
        {0x78, 2, "CompilerCompile"},
        {0x78, 0, "ProjectMake"},
        {0x73, 0, "CompilerOutputNext"},
        {0x73, 1, "CompilerOutputPrevious"},
        {0x42, 2, "BraceMatch"},
        {0x25, 3, "MoveWordPrevious"},
        {0x22, 1, "MovePageDown"},
        // What the classic keymap binds elsewhere stays.
        {0x53, 2, "FileSave"},
        {0x4F, 2, "FileOpen"},
        {0x75, 0, "WindowNext"},
        {0x72, 0, "SearchNext"},
        {0x72, 1, "SearchPrevious"},
        {0x47, 2, "LineGoto"},
        {0x41, 2, "MarkSelectAll"},
        {0x79, 4, "CompilerCompile"},
        {0x79, 2, "ProjectMake"},
        // The bookmark keys.
        {0x71, 2, "BookMarkToggle"},
        {0x71, 0, "BookMarkNext"},
        {0x71, 1, "BookMarkPrevious"},
    };
    for (const BindingCase& b : bindings) {
        EXPECT_EQ(keymap->lookupInTable({}, {b.keyCode, b.modifiers}),
                  FunctionTable::standard().idOf(b.function))
            << b.keyCode << "/" << b.modifiers;
    }
    EXPECT_EQ(keymap->lookupInTable({}, {0x79, 0}), kNoFunction) << "F10 is left to the menu bar";

    // Written at once, so that a crash before the exit keeps the answer.
    SettingsFile& settings = m_options.settingsFile();
    EXPECT_EQ(settings.getString("Editor Options", "Profile", "", 16), "Common");
    EXPECT_EQ(settings.getString("Editor Options", "Keymap", "", 51), "Common");
    EXPECT_EQ(settings.getInteger("Mouse Options", "MouseMark1", 0), 2);
    EXPECT_EQ(settings.getInteger("Mouse Options", "ShiftClickExtends", 0), 1);
    EXPECT_EQ(settings.getInteger("Editor Options", "UndoWords", 0), 1);
}

// The Edit menu's bookmark items show the keys the active keymap binds to their functions: the
// Common keys, and none with the classic keymap, which leaves the three functions unbound.
TEST_F(KeyProfileTest, TheBookmarkItemsOfTheEditMenuShowTheKeysOfTheKeymap) {
    ASSERT_TRUE(applyProfile(KeyProfile::Common, m_options, m_frame, m_shipped));
    PrefixKeyList prefixes;
    const auto keymap = m_store.create("Common");
    ASSERT_TRUE(keymap->isValid());
    MenuBarTexts common = menuBarTexts(mainMenuBar());
    (void)rewriteMenuKeyTexts(common, 0, *keymap, prefixes);
    MenuBarTexts classic = menuBarTexts(mainMenuBar());
    (void)rewriteMenuKeyTexts(classic, 0, Keymap::makeDefault(), prefixes);
    const auto textOf = [](const MenuBarTexts& menus, std::string_view function) {
        const FunctionId id = FunctionTable::standard().idOf(function);
        const auto& edit = menus.at(1);
        const auto item =
            std::find_if(edit.begin(), edit.end(), [&](const MenuItemText& i) { return i.commandId == id; });
        return item == edit.end() ? std::string("<missing>") : item->text;
    };
    struct ItemCase {
        std::string_view function;
        std::string_view common;
        std::string_view classic;
    };
    const ItemCase items[] = {
        {"BookMarkToggle", "&Toggle Bookmark\tCtrl+F2", "&Toggle Bookmark"},
        {"BookMarkNext", "Ne&xt Bookmark\tF2", "Ne&xt Bookmark"},
        {"BookMarkPrevious", "Previous Boo&kmark\tShift+F2", "Previous Boo&kmark"},
    };
    for (const ItemCase& c : items) {
        EXPECT_EQ(textOf(common, c.function), c.common) << c.function;
        EXPECT_EQ(textOf(classic, c.function), c.classic) << c.function;
    }
}

// A home made before the profiles has settings but no COMMON.ZXP: the Options switch, which
// looks only in the home, could not make the Common keymap until a start copied the shipped text.
TEST_F(KeyProfileTest, AStartGivesAnOlderHomeTheTextTheSwitchNeeds) {
    ASSERT_TRUE(m_options.settingsFile().putString("Editor Options", "Keymap", "<Default Keymap>"));
    ASSERT_FALSE(std::filesystem::exists(configFile("COMMON.ZXP")));
    EXPECT_FALSE(applyProfile(KeyProfile::Common, m_options, m_frame));

    const std::filesystem::path share = std::filesystem::path(VEXA_SHIPPED_CONFIG).parent_path();
    EXPECT_EQ(prepareHome(m_directories, {share}, profileShippedFiles()), HomeStart::Ready);
    EXPECT_TRUE(std::filesystem::exists(configFile("COMMON.ZXP")));
    EXPECT_FALSE(std::filesystem::exists(configFile("VEXAC.PRF"))) << "only the needed file";
    ASSERT_TRUE(applyProfile(KeyProfile::Common, m_options, m_frame));
    EXPECT_EQ(m_options.editor().keymap, "Common");
    EXPECT_TRUE(m_store.fileExists(kCommonKeymapName));
}

// The profile writes its habits at once; a habit the user sets back afterwards differs from what
// the file holds and is written by the next save, not lost because it equals the loaded value.
TEST_F(KeyProfileTest, AHabitSetBackAfterTheSwitchIsWrittenByTheNextSave) {
    m_options.load();
    ASSERT_EQ(m_options.editor().undoWords, 0);
    ASSERT_TRUE(applyProfile(KeyProfile::Common, m_options, m_frame, m_shipped));
    m_options.editor().undoWords = 0;
    ASSERT_TRUE(m_options.save());
    Options reread(m_directories);
    reread.load();
    EXPECT_EQ(reread.editor().undoWords, 0);
    EXPECT_EQ(reread.editor().saveKeepsUndo, 1);
    EXPECT_EQ(reread.editor().profile, "Common");
}

TEST_F(KeyProfileTest, SwitchingKeepsTheUsersOwnKeymaps) {
    Keymap mine;
    ASSERT_EQ(mine.bind(kNoPrefix, {0x73, 0, functionIdOf("CompilerOutputNext")}), BindResult::Bound);
    saveFile("Mine.BND", mine);
    // The user's own Common keymap, edited after an earlier switch.
    Keymap edited = Keymap::makeDefault();
    ASSERT_EQ(edited.bind(kNoPrefix, {0x46, 2, functionIdOf("FindInFiles")}), BindResult::Bound);
    saveFile("Common.BND", edited);

    ASSERT_TRUE(applyProfile(KeyProfile::Classic, m_options, m_frame, m_shipped));
    EXPECT_EQ(m_options.editor().keymap, kDefaultKeymapName);
    EXPECT_EQ(m_options.editor().menuKey, 0);
    EXPECT_EQ(m_options.mouse().mouseMark1, 3);
    EXPECT_EQ(m_options.mouse().shiftClickExtends, 0);
    EXPECT_EQ(m_options.editor().saveKeepsUndo, 0);
    EXPECT_EQ(m_options.editor().undoWords, 0);
    ASSERT_TRUE(applyProfile(KeyProfile::Common, m_options, m_frame, m_shipped));

    EXPECT_EQ(m_store.create("Common")->lookupInTable({}, {0x46, 2}), functionIdOf("FindInFiles"));
    EXPECT_EQ(m_store.create("Mine")->lookupInTable({}, {0x73, 0}), functionIdOf("CompilerOutputNext"));
}

TEST_F(KeyProfileTest, WithoutTheShippedTextCommonChangesNothing) {
    const std::string before = m_options.editor().keymap;
    EXPECT_FALSE(applyProfile(KeyProfile::Common, m_options, m_frame, {}));
    EXPECT_EQ(m_options.editor().keymap, before);
    EXPECT_EQ(m_options.editor().profile, "");
    ASSERT_EQ(m_frame.eventsOf(FrameEventKind::MessageBox).size(), 1u);
    EXPECT_EQ(m_frame.eventsOf(FrameEventKind::MessageBox)[0].text, kCommonKeymapMissing);
}

} // namespace
} // namespace vexa
