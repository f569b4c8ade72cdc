// Tests of the key-name table and of key texts with modifier sets.
#include "keyboard/KeyNameTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/TempHome.h"

namespace vexa {
namespace {

class KeyNameTableTest : public ::testing::Test {
protected:
    test::TempHome m_home;
};

TEST_F(KeyNameTableTest, CodesAndCodeNamesAreUnique) {
    const auto table = keyNameTable();
    ASSERT_EQ(table.size(), 119u);
    std::set<uint16_t> codes;
    std::set<std::string_view> codeNames;
    for (const KeyName& row : table) {
        EXPECT_TRUE(codes.insert(row.keyCode).second) << row.codeName;
        EXPECT_TRUE(codeNames.insert(row.codeName).second) << row.codeName;
        EXPECT_TRUE(row.codeName.starts_with("VK_")) << row.codeName;
        EXPECT_FALSE(row.displayName.empty()) << row.codeName;
        EXPECT_EQ(findKeyName(row.keyCode), &row);
    }
}

// The rows that follow a rule: consecutive codes whose names count up with them.
TEST_F(KeyNameTableTest, RuleRowsCountUpTogether) {
    struct Rule {
        std::size_t firstRow; // one-based, as the binding dialog counts
        uint16_t firstCode;
        int count;
        std::string codePrefix;
        std::string displayPrefix;
        bool letters;
        int firstNumber;
    };
    const std::vector<Rule> rules = {
        {1, 0x30, 10, "VK_", "", false, 0},
        {11, 0x41, 26, "VK_", "", true, 0},
        {67, 0x60, 10, "VK_NUMPAD", "Numpad", false, 0},
        {83, 0x70, 24, "VK_F", "F", false, 1},
    };
    const auto table = keyNameTable();
    for (const Rule& rule : rules) {
        for (int i = 0; i < rule.count; ++i) {
            const KeyName& row = table[rule.firstRow - 1 + static_cast<std::size_t>(i)];
            const std::string suffix = rule.letters ? std::string(1, static_cast<char>('A' + i))
                                                    : std::to_string(rule.firstNumber + i);
            EXPECT_EQ(row.keyCode, rule.firstCode + i) << rule.codePrefix << suffix;
            EXPECT_EQ(row.codeName, rule.codePrefix + suffix);
            EXPECT_EQ(row.displayName, rule.displayPrefix + suffix);
        }
    }
}

TEST_F(KeyNameTableTest, IrregularRowsStandWhereTheListPutsThem) {
    struct Row {
        std::size_t row;
        uint16_t code;
        std::string_view codeName;
        std::string_view displayName;
    };
    const std::vector<Row> rows = {
        {37, 0x09, "VK_TAB", "Tab"},        {38, 0x01, "VK_LBUTTON", "Lbutton"},
        {66, 0x2F, "VK_HELP", "Help"},      {77, 0x6A, "VK_MULTIPLY", "Multiply"},
        {78, 0x6B, "VK_ADD", "Plus"},       {80, 0x6D, "VK_SUBTRACT", "Minus"},
        {82, 0x6F, "VK_DIVIDE", "Divide"},  {107, 0x90, "VK_NUMLOCK", "NumLock"},
        {108, 0x91, "VK_SCROLL", "Scroll"}, {109, 0xC0, "VK_0xC0", "VK_0xC0"},
        {110, 0xBD, "VK_0xBD", "Minus"},    {114, 0xDD, "VK_0xDD", "]"},
        {119, 0xBF, "VK_0xBF", "VK_0xBF"},
    };
    const auto table = keyNameTable();
    for (const Row& expected : rows) {
        const KeyName& row = table[expected.row - 1];
        EXPECT_EQ(row.keyCode, expected.code) << expected.row;
        EXPECT_EQ(row.codeName, expected.codeName) << expected.row;
        EXPECT_EQ(row.displayName, expected.displayName) << expected.row;
    }
}

char noCharacters(uint16_t) {
    return '\0';
}

TEST_F(KeyNameTableTest, KeyTextsWithModifierSets) {
    struct Case {
        uint16_t code;
        uint16_t modifiers;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases = {
        {0x43, 2, "Ctrl+C"},
        {0x43, 0, "C"},
        {0x70, 5, "Alt+Shift+F1"},
        {0x7E, 3, "Ctrl+Shift+F15"},
        {0x2D, 1, "Shift+Insert"},
        {0x0D, 4, "Alt+Return"},
        {0x6B, 0, "Plus"},
        {0xBD, 2, "Ctrl+Minus"},
        {0xDD, 2, "Ctrl+]"},
        {0xC0, 0, "`"},
        {0xDC, 2, "Ctrl+\\"},
        {0xDE, 1, "Shift+'"},
        {0xFF, 2, "Ctrl+"}, // no row: the modifier text alone
        {0xFF, 0, ""},
        {0x43, 6, std::nullopt}, // Ctrl+Alt has no text
        {0x43, 7, std::nullopt},
        {0x43, 8, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyName(c.code, c.modifiers), c.expected) << c.code << "/" << c.modifiers;
    }
    // A layout that gives no character for a punctuation key leaves the modifier text alone.
    EXPECT_EQ(keyName(0xC0, 2, noCharacters), std::optional<std::string>("Ctrl+"));
    EXPECT_EQ(keyName(0xBD, 2, noCharacters), std::optional<std::string>("Ctrl+Minus"));
}

} // namespace
} // namespace vexa
