// Tests of keymap lookup with prefix arming, binding limits, unbinding and key texts.
#include "keyboard/Keymap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/FunctionTable.h"
#include "keyboard/PrefixKeyList.h"
#include "keyboard/DefaultKeymap.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

constexpr KeyChord kCtrlK{0x4B, 2};
constexpr KeyChord kCtrlQ{0x51, 2};
constexpr KeyChord kB{0x42, 0};
constexpr KeyChord kF9{0x78, 0};

constexpr FunctionId kFileSave = functionIdOf("FileSave");
constexpr FunctionId kFileOpen = functionIdOf("FileOpen");
constexpr FunctionId kMarkCopyEx = functionIdOf("MarkCopyEx");

class KeymapTest : public ::testing::Test {
protected:
    test::TempHome m_home;
    PrefixKeyList m_prefixes;
};

TEST_F(KeymapTest, EmptyKeymapFindsNothingAndIsValid) {
    Keymap keymap;
    EXPECT_TRUE(keymap.isValid());
    EXPECT_EQ(keymap.flags(), KeymapFlags{});
    EXPECT_EQ(keymap.lookup({0x43, 2}), kNoFunction);
    EXPECT_FALSE(keymap.isArmed());
    EXPECT_FALSE(keymap.isPrefixKey(kNoPrefix));
}

TEST_F(KeymapTest, DefaultKeymapLooksUpItsBindings) {
    Keymap keymap = Keymap::makeDefault();
    struct Case {
        KeyChord key;
        std::string_view function;
    };
    const std::vector<Case> cases = {
        {{0x43, 2}, "MarkCopyEx"},     {{0x2D, 2}, "MarkCopyEx"},       {{0x28, 1}, "MoveLineDown"},
        {{0x7E, 5}, "MacroExecute15"}, {{0x2D, 0}, "InsertModeToggle"}, {{0x0D, 2}, "EnterNext"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keymap.lookup(c.key), FunctionTable::standard().idOf(c.function)) << c.function;
        EXPECT_FALSE(keymap.isArmed());
    }
    EXPECT_EQ(keymap.lookup({0x43, 6}), kNoFunction);
    EXPECT_EQ(keymap.tables().size(), 1u);
    EXPECT_EQ(keymap.tables()[0].size(), defaultKeyBindings().size());
    EXPECT_TRUE(keymap.isPrefixKey(kNoPrefix));
}

TEST_F(KeymapTest, PrefixKeyArmsAndTheNextKeyIsLookedUpInItsTable) {
    Keymap keymap = Keymap::makeDefault();
    ASSERT_EQ(keymap.bind(kCtrlK, {kB.keyCode, kB.modifiers, kFileSave}), BindResult::Bound);
    EXPECT_TRUE(keymap.isPrefixKey(kCtrlK));

    EXPECT_EQ(keymap.lookup(kCtrlK), kPrefixAccepted);
    EXPECT_TRUE(keymap.isArmed());
    EXPECT_EQ(keymap.lookup(kB), kFileSave);
    // The lookup never unarms; the processor does after the function ran.
    EXPECT_TRUE(keymap.isArmed());
    keymap.resetPrefixState();
    EXPECT_EQ(keymap.lookup(kB), kNoFunction) << "B alone is unbound in the primary table";
}

TEST_F(KeymapTest, ArmedKeymapTakesAPrefixKeyAsAnOrdinaryKeyAndPrefixesDoNotNest) {
    Keymap keymap;
    ASSERT_EQ(keymap.bind(kCtrlK, {kCtrlQ.keyCode, kCtrlQ.modifiers, kFileOpen}), BindResult::Bound);
    ASSERT_EQ(keymap.bind(kCtrlQ, {kB.keyCode, kB.modifiers, kFileSave}), BindResult::Bound);
    EXPECT_EQ(keymap.lookup(kCtrlK), kPrefixAccepted);
    const uint32_t armedSlot = keymap.prefixState();
    EXPECT_EQ(keymap.lookup(kCtrlQ), kFileOpen);
    EXPECT_EQ(keymap.prefixState(), armedSlot);
    EXPECT_EQ(keymap.lookup(kF9), kNoFunction);
    EXPECT_EQ(keymap.prefixState(), armedSlot) << "an unbound key leaves the keymap armed";
}

TEST_F(KeymapTest, FirstBindingUnderAPrefixBringsThePrimaryTableFirst) {
    Keymap keymap;
    ASSERT_EQ(keymap.bind(kCtrlK, {kB.keyCode, kB.modifiers, kFileSave}), BindResult::Bound);
    ASSERT_EQ(keymap.tables().size(), 2u);
    EXPECT_EQ(keymap.tables()[0].prefix(), kNoPrefix);
    EXPECT_EQ(keymap.tables()[1].prefix(), kCtrlK);
    EXPECT_EQ(keymap.lookup(kCtrlK), kPrefixAccepted);
    EXPECT_EQ(keymap.prefixState(), 1u);
}

TEST_F(KeymapTest, PrimaryTableWithAForeignPrefixNeverArms) {
    // A file may put a prefix on its first table; arming slot 0 would never leave the prefix step.
    Keymap keymap;
    KeyTable first(kCtrlK);
    ASSERT_TRUE(first.append({kB.keyCode, kB.modifiers, kFileSave}));
    ASSERT_TRUE(keymap.appendTable(first));
    EXPECT_EQ(keymap.lookup(kCtrlK), kNoFunction);
    EXPECT_FALSE(keymap.isArmed());
    EXPECT_EQ(keymap.lookup(kB), kFileSave);
}

TEST_F(KeymapTest, LastMatchingPrefixTableWins) {
    Keymap keymap;
    ASSERT_TRUE(keymap.appendTable(KeyTable(kNoPrefix)));
    KeyTable first(kCtrlK);
    ASSERT_TRUE(first.append({kB.keyCode, kB.modifiers, kFileOpen}));
    KeyTable second(kCtrlK);
    ASSERT_TRUE(second.append({kB.keyCode, kB.modifiers, kFileSave}));
    ASSERT_TRUE(keymap.appendTable(first));
    ASSERT_TRUE(keymap.appendTable(second));
    EXPECT_EQ(keymap.lookup(kCtrlK), kPrefixAccepted);
    EXPECT_EQ(keymap.prefixState(), 2u);
    EXPECT_EQ(keymap.lookup(kB), kFileSave);
}

TEST_F(KeymapTest, BindingToNoFunctionNeverMatchesAndLaterBindingIsFound) {
    Keymap keymap;
    ASSERT_TRUE(keymap.appendTable(KeyTable(kNoPrefix)));
    KeyTable table(kCtrlK);
    ASSERT_TRUE(table.append({kB.keyCode, kB.modifiers, kNoFunction}));
    ASSERT_TRUE(table.append({kB.keyCode, kB.modifiers, kFileSave}));
    ASSERT_TRUE(keymap.appendTable(table));
    EXPECT_EQ(keymap.lookupInTable(kCtrlK, kB), kFileSave);

    Keymap onlyNone;
    ASSERT_EQ(onlyNone.bind(kNoPrefix, {kB.keyCode, kB.modifiers, kNoFunction}), BindResult::Bound);
    EXPECT_EQ(onlyNone.lookup(kB), kNoFunction);
    EXPECT_EQ(onlyNone.lookupInTable(kNoPrefix, kB), kNoFunction);
}

TEST_F(KeymapTest, LookupInTableLeavesThePrefixStateAlone) {
    Keymap keymap = Keymap::makeDefault();
    ASSERT_EQ(keymap.bind(kCtrlK, {kB.keyCode, kB.modifiers, kFileSave}), BindResult::Bound);
    EXPECT_EQ(keymap.lookupInTable(kCtrlK, kB), kFileSave);
    EXPECT_EQ(keymap.lookupInTable(kCtrlQ, kB), kNoFunction);
    EXPECT_EQ(keymap.lookupInTable(kNoPrefix, {0x43, 2}), kMarkCopyEx);
    EXPECT_FALSE(keymap.isArmed());
}

TEST_F(KeymapTest, TwentyEightTablesRefuseATwentyNinthPrefix) {
    Keymap keymap;
    for (uint16_t table = 0; table < Keymap::kMaxTables; ++table) {
        const KeyChord prefix = table == 0 ? kNoPrefix : KeyChord{static_cast<uint16_t>(0x41 + table), 2};
        ASSERT_EQ(keymap.bind(prefix, {kB.keyCode, kB.modifiers, kFileSave}), BindResult::Bound) << table;
    }
    EXPECT_EQ(keymap.bind({0x70, 6}, {kB.keyCode, kB.modifiers, kFileSave}), BindResult::TableLimit);
    EXPECT_EQ(keymap.tables().size(), Keymap::kMaxTables);
    EXPECT_FALSE(keymap.isPrefixKey({0x70, 6}));
    // Existing tables still take bindings.
    EXPECT_EQ(keymap.bind({0x42, 2}, {kF9.keyCode, kF9.modifiers, kFileOpen}), BindResult::Bound);
}

TEST_F(KeymapTest, FullTableRefusesANewKeyButOverwritesAnExistingOne) {
    Keymap keymap;
    for (uint16_t index = 0; index < KeyTable::kMaxBindings; ++index) {
        ASSERT_EQ(keymap.bind(kNoPrefix, {index, 0, kFileOpen}), BindResult::Bound);
    }
    EXPECT_EQ(keymap.bind(kNoPrefix, {999, 0, kFileSave}), BindResult::BindingLimit);
    EXPECT_EQ(keymap.lookup({999, 0}), kNoFunction);
    EXPECT_EQ(keymap.bind(kNoPrefix, {250, 0, kFileSave}), BindResult::Bound);
    EXPECT_EQ(keymap.lookup({250, 0}), kFileSave);
    EXPECT_EQ(keymap.tables()[0].size(), KeyTable::kMaxBindings);
}

TEST_F(KeymapTest, UnbindMovesTheLastBindingIntoTheGap) {
    Keymap keymap = Keymap::makeDefault();
    const KeyBinding last = keymap.tables()[0].bindings().back();
    ASSERT_TRUE(keymap.unbind(kNoPrefix, {0x43, 2}));
    EXPECT_EQ(keymap.tables()[0].size(), defaultKeyBindings().size() - 1);
    EXPECT_EQ(keymap.tables()[0].bindings()[8], last);
    EXPECT_EQ(keymap.lookup({0x43, 2}), kNoFunction);
    // The menu now shows the other key of the function.
    EXPECT_EQ(keymap.keyTextFor(kMarkCopyEx, m_prefixes), "\tCtrl+Insert");

    EXPECT_FALSE(keymap.unbind(kNoPrefix, {0x43, 2}));
    EXPECT_FALSE(keymap.unbind(kCtrlK, kB));
}

TEST_F(KeymapTest, EmptiedTablesStay) {
    Keymap keymap = Keymap::makeDefault();
    ASSERT_EQ(keymap.bind(kCtrlK, {kB.keyCode, kB.modifiers, kFileSave}), BindResult::Bound);
    ASSERT_TRUE(keymap.unbind(kCtrlK, kB));
    EXPECT_EQ(keymap.tables().size(), 2u);
    EXPECT_TRUE(keymap.isPrefixKey(kCtrlK));
}

TEST_F(KeymapTest, CopyKeepsFlagsTablesAndOrder) {
    Keymap original = Keymap::makeDefault();
    original.flags().cutCopyRemovesMark = 0;
    ASSERT_EQ(original.bind(kCtrlK, {kB.keyCode, kB.modifiers, kFileSave}), BindResult::Bound);
    Keymap copy = original;
    ASSERT_EQ(copy.tables().size(), 2u);
    EXPECT_EQ(copy.flags(), original.flags());
    for (std::size_t slot = 0; slot < copy.tables().size(); ++slot) {
        EXPECT_TRUE(std::ranges::equal(copy.tables()[slot].bindings(), original.tables()[slot].bindings()));
    }
}

TEST_F(KeymapTest, KeyTextsOfFunctions) {
    PrefixKeyList prefixes;
    prefixes.addFromText("CtrlK 75 2\nF12 123 0\n");
    Keymap keymap = Keymap::makeDefault();
    ASSERT_EQ(keymap.bind(kCtrlK, {kB.keyCode, kB.modifiers, functionIdOf("MarkBlockSet")}),
              BindResult::Bound);
    ASSERT_EQ(keymap.bind({123, 0}, {kB.keyCode, kB.modifiers, functionIdOf("MarkBlockReset")}),
              BindResult::Bound);
    ASSERT_EQ(keymap.bind(kCtrlQ, {kB.keyCode, kB.modifiers, functionIdOf("MarkLineSet")}),
              BindResult::Bound);
    ASSERT_EQ(keymap.bind(kNoPrefix, {0x43, 6, functionIdOf("FileClose")}), BindResult::Bound);
    ASSERT_EQ(keymap.bind(kNoPrefix, {0xBA, 3, functionIdOf("FileSaveAs")}), BindResult::Bound);
    ASSERT_EQ(keymap.bind(kNoPrefix, {0xFF, 2, functionIdOf("FileSaveAll")}), BindResult::Bound);
    struct Case {
        std::string_view function;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"MarkCopyEx", "\tCtrl+C"},
        {"MovePageUp", "\tPrior"},
        {"MacroExecute3", "\tAlt+Shift+F3"},
        {"MarkBlockSet", "\tCtrlK B"},
        {"MarkBlockReset", "\tB"}, // a prefix without a modifier set shows no name
        {"MarkLineSet", "\tB"},    // a prefix missing from the list shows no name
        {"FileClose", ""},         // Ctrl+Alt has no key text
        {"FileSaveAs", "\tCtrl+Shift+;"},
        {"FileSaveAll", "\tCtrl+"}, // a key without a name row shows the modifiers alone
        {"MarkMoveToCursor", ""},
    };
    for (const Case& c : cases) {
        const FunctionId id = FunctionTable::standard().idOf(c.function);
        ASSERT_NE(id, kNoFunction) << c.function;
        EXPECT_EQ(keymap.keyTextFor(id, prefixes), c.expected) << c.function;
    }
}

} // namespace
} // namespace vexa
