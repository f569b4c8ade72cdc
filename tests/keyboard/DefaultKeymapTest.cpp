// Tests of the default keymap's bindings: they name real functions, keys are unique, the order holds.
#include "keyboard/DefaultKeymap.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "commands/FunctionTable.h"
#include "keyboard/KeyNameTable.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

class DefaultKeymapTest : public ::testing::Test {
protected:
    // The function bound to a key, as the primary-table lookup finds it.
    static std::string_view boundTo(uint16_t code, uint16_t modifiers) {
        for (const KeyBinding& binding : defaultKeyBindings()) {
            if (binding.keyCode == code && binding.modifiers == modifiers &&
                binding.function != kNoFunction) {
                return FunctionTable::standard().nameOf(binding.function);
            }
        }
        return {};
    }

    // The key text a menu shows for a function: its first binding in stored order.
    static std::optional<std::string> firstKeyOf(std::string_view function) {
        const FunctionId id = FunctionTable::standard().idOf(function);
        for (const KeyBinding& binding : defaultKeyBindings()) {
            if (binding.function == id) {
                return keyName(binding.keyCode, binding.modifiers);
            }
        }
        return std::nullopt;
    }

    test::TempHome m_home;
    const FunctionTable& m_table = FunctionTable::standard();
};

TEST_F(DefaultKeymapTest, EveryBindingIsAUniqueNamedKeyRunningAFunction) {
    const auto bindings = defaultKeyBindings();
    ASSERT_EQ(bindings.size(), 101u);
    std::set<std::pair<uint16_t, uint16_t>> keys;
    for (const KeyBinding& binding : bindings) {
        EXPECT_TRUE(keys.insert({binding.keyCode, binding.modifiers}).second)
            << "key bound twice: " << binding.keyCode << "/" << binding.modifiers;
        const EditorFunction* function = m_table.find(binding.function);
        ASSERT_NE(function, nullptr) << binding.keyCode;
        EXPECT_LT(binding.function, kMarkCuaStart) << "internal functions are never bound";
        EXPECT_NE(findKeyName(binding.keyCode), nullptr) << binding.keyCode;
        EXPECT_TRUE(keyName(binding.keyCode, binding.modifiers).has_value()) << function->name;
    }
}

TEST_F(DefaultKeymapTest, ShiftedMovementKeysRunTheUnshiftedFunction) {
    int shifted = 0;
    for (const KeyBinding& binding : defaultKeyBindings()) {
        if ((binding.modifiers & kModifierShift) == 0 ||
            !m_table.is(binding.function, FunctionClass::Movement)) {
            continue;
        }
        ++shifted;
        EXPECT_EQ(boundTo(binding.keyCode, static_cast<uint16_t>(binding.modifiers & ~kModifierShift)),
                  m_table.nameOf(binding.function))
            << keyName(binding.keyCode, binding.modifiers).value_or("?");
    }
    EXPECT_GT(shifted, 0);
}

TEST_F(DefaultKeymapTest, FunctionKeyRangesCountUpWithTheirFunctions) {
    struct Range {
        uint16_t modifiers;
        std::string family;
    };
    for (const Range& range : {Range{3, "ToolsExecute"}, Range{5, "MacroExecute"}}) {
        for (int n = 1; n <= 15; ++n) {
            EXPECT_EQ(boundTo(static_cast<uint16_t>(0x70 + n - 1), range.modifiers),
                      range.family + std::to_string(n));
        }
        EXPECT_EQ(boundTo(0x7F, range.modifiers), "") << "F16 is not bound";
    }
}

TEST_F(DefaultKeymapTest, KeysRunTheirFunctions) {
    struct Case {
        uint16_t code;
        uint16_t modifiers;
        std::string_view function;
    };
    const std::vector<Case> cases = {
        {0x4E, 2, "FileNew"},
        {0x1B, 0, "MarkHide"},
        {0x43, 2, "MarkCopyEx"},
        {0x2D, 2, "MarkCopyEx"},
        {0x2D, 1, "MarkPasteEx"},
        {0x2E, 1, "MarkCutEx"},
        {0x43, 4, "MarkColumnToggle"},
        {0x72, 1, "SearchPrevious"},
        {0x51, 4, "HelpQuickHelp"},
        {0x08, 4, "WordDeleteNext"},
        {0x08, 2, "WordDeletePrevious"},
        {0x0C, 0, "MovePageCenter"},
        {0x24, 2, "MovePageStart"},
        {0x23, 2, "MoveLineEnd"},
        {0x25, 3, "MoveWordPrevious"},
        {0x2D, 0, "InsertModeToggle"},
        {0x0D, 2, "EnterNext"},
        {0x79, 4, "CompilerCompile"},
        {0x79, 2, "ProjectMake"},
        {0x79, 0, ""},
        {0x43, 6, ""},
        {0x41, 0, ""},
        {0x26, 2, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(boundTo(c.code, c.modifiers), c.function) << c.code << "/" << c.modifiers;
    }
}

// Menus show the first binding in stored order, so Ctrl+Insert never shows for MarkCopyEx.
TEST_F(DefaultKeymapTest, MenusShowTheFirstBindingOfAFunction) {
    const std::vector<std::pair<std::string_view, std::optional<std::string>>> cases = {
        {"MarkCopyEx", "Ctrl+C"},       {"MarkPasteEx", "Ctrl+V"},
        {"MarkCutEx", "Ctrl+X"},        {"MarkDeleteEx", "Delete"},
        {"CompilerCompile", "Alt+F10"}, {"ProjectMake", "Ctrl+F10"},
        {"HelpQuickHelp", "Ctrl+F1"},   {"MovePageUp", "Prior"},
        {"MacroRepeat", "Ctrl+R"},      {"ToolsExecute15", "Ctrl+Shift+F15"},
        {"MarkCopy", std::nullopt},     {"FileExit", std::nullopt},
    };
    for (const auto& [function, expected] : cases) {
        EXPECT_EQ(firstKeyOf(function), expected) << function;
    }
}

} // namespace
} // namespace vexa
