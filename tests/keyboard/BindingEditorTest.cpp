// Tests of the binding editor model: lists, flags, lookup of the entered key, capture, update,
// remove and saving on close.
#include "keyboard/BindingEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeymapFixture.h"
#include "commands/FunctionTable.h"
#include "keyboard/PrefixKeyList.h"
#include "keyboard/DefaultKeymap.h"

namespace vexa {
namespace {

constexpr FunctionId kFileSave = functionIdOf("FileSave");

class BindingEditorTest : public ::testing::Test, protected test::KeymapFixture {
protected:
    BindingEditorTest() { m_prefixes.addFromText("CtrlK 75 2\nCtrlC 67 2\n"); }

    BindingEditor makeEditor(Keymap keymap, KeymapEditMode mode = KeymapEditMode::Edit,
                             StartsChanged changed = StartsChanged::No) {
        return BindingEditor(std::move(keymap), "Mine", mode, changed, m_prefixes, m_store, m_frame);
    }

    static std::size_t rowOf(uint16_t keyCode) {
        const auto rows = keyNameTable();
        for (std::size_t index = 0; index < rows.size(); ++index) {
            if (rows[index].keyCode == keyCode) {
                return index;
            }
        }
        ADD_FAILURE() << "no row for " << keyCode;
        return 0;
    }

    std::size_t functionIndex(const BindingEditor& editor, std::string_view name) const {
        const auto& names = editor.functionNames();
        const auto found = std::find(names.begin(), names.end(), name);
        EXPECT_NE(found, names.end()) << name;
        return static_cast<std::size_t>(found - names.begin());
    }

    std::vector<std::string> statuses() const {
        std::vector<std::string> texts;
        for (const FrameEvent& event : m_frame.eventsOf(FrameEventKind::Status)) {
            texts.push_back(event.text);
        }
        return texts;
    }

    PrefixKeyList m_prefixes;
};

TEST_F(BindingEditorTest, OpensWithTheKeymapsFlagsAndTheThreeLists) {
    Keymap keymap;
    keymap.flags() = {0, 1, 0};
    BindingEditor editor = makeEditor(keymap, KeymapEditMode::New);
    EXPECT_EQ(editor.title(), "New Keymap");
    EXPECT_EQ(makeEditor(keymap).title(), "Edit Keymap");
    EXPECT_FALSE(editor.flag(KeymapFlag::AllowShiftMarking));
    EXPECT_TRUE(editor.flag(KeymapFlag::KeyPressRemovesMark));
    EXPECT_FALSE(editor.flag(KeymapFlag::CutCopyRemovesMark));
    EXPECT_EQ(editor.prefixNames(), (std::vector<std::string>{"(None)", "CtrlK", "CtrlC"}));
    EXPECT_EQ(editor.prefixSelection(), 0u);
    EXPECT_EQ(editor.keyRows().size(), 119u);
    EXPECT_EQ(editor.keyRows()[0].codeName, "VK_0");
    EXPECT_EQ(editor.functionNames().size(), FunctionTable::standard().offered().size());
    EXPECT_EQ(editor.functionNames().front(), "NotSupported");
    EXPECT_FALSE(editor.isChanged());
}

TEST_F(BindingEditorTest, ChangingAFlagWritesItAndMarksTheKeymapChanged) {
    BindingEditor editor = makeEditor(Keymap());
    editor.setFlag(KeymapFlag::CutCopyRemovesMark, false);
    EXPECT_EQ(editor.keymap().flags(), (KeymapFlags{1, 1, 0}));
    EXPECT_TRUE(editor.isChanged());
}

TEST_F(BindingEditorTest, EnteredKeyIsLookedUpUnderTheSelectedPrefix) {
    Keymap keymap = Keymap::makeDefault();
    ASSERT_EQ(keymap.bind({75, 2}, {0x42, 0, kFileSave}), BindResult::Bound);
    BindingEditor editor = makeEditor(keymap);

    editor.selectKeyRow(rowOf(0x43));
    EXPECT_EQ(m_frame.lastStatus(), "The entered key is not bound to any function");
    EXPECT_FALSE(editor.functionSelection());
    editor.setControl(true);
    EXPECT_EQ(m_frame.lastStatus(), "The entered key was located successfully");
    EXPECT_EQ(editor.functionSelection(), functionIndex(editor, "MarkCopyEx"));

    editor.selectKeyRow(rowOf(0x42));
    editor.setControl(false);
    EXPECT_FALSE(editor.functionSelection());
    editor.selectPrefix(1);
    EXPECT_EQ(m_frame.lastStatus(), "The entered key was located successfully");
    EXPECT_EQ(editor.functionSelection(), functionIndex(editor, "FileSave"));

    // The same combination again is not looked up again.
    m_frame.clearEvents();
    editor.selectPrefix(1);
    editor.setAlt(false);
    EXPECT_TRUE(statuses().empty());
}

TEST_F(BindingEditorTest, CapturedKeysSelectTheirRowAndModifiers) {
    BindingEditor editor = makeEditor(Keymap::makeDefault());
    struct Case {
        std::string name;
        KeyPress press;
        bool swallowed;
        std::optional<std::size_t> row;
        uint16_t modifiers;
        std::size_t newStatuses;
    };
    const std::vector<Case> cases = {
        {"Ctrl+C", {0x43, 2}, true, rowOf(0x43), 2, 1},
        {"same press again", {0x43, 2}, true, rowOf(0x43), 2, 0},
        {"Tab goes on", {0x09, 0}, false, rowOf(0x43), 2, 0},
        {"Shift goes on", {0x10, 1}, false, rowOf(0x43), 2, 0},
        {"Alt goes on", {0x12, 4}, false, rowOf(0x43), 2, 0},
        {"no row", {0xE5, 0}, true, rowOf(0x43), 2, 0},
        {"Alt+Shift+F3", {0x72, 5}, true, rowOf(0x72), 5, 1},
        {"key up ignored", {0x41, 0, KeyRepeat::First, KeyDirection::Up}, false, rowOf(0x72), 5, 0},
    };
    for (const Case& c : cases) {
        m_frame.clearEvents();
        EXPECT_EQ(editor.captureKey(c.press), c.swallowed) << c.name;
        EXPECT_EQ(editor.keyRowSelection(), c.row) << c.name;
        EXPECT_EQ(editor.modifiers(), c.modifiers) << c.name;
        EXPECT_EQ(statuses().size(), c.newStatuses) << c.name;
    }
    EXPECT_EQ(editor.functionSelection(), functionIndex(editor, "MacroExecute3"));
}

TEST_F(BindingEditorTest, UpdateRules) {
    BindingEditor editor = makeEditor(Keymap::makeDefault());
    editor.update();
    EXPECT_EQ(m_frame.lastStatus(), "The key to be bound has not yet been defined!");

    // Ctrl+C is a primary key, so it cannot serve as a prefix.
    editor.selectPrefix(2);
    editor.selectKeyRow(rowOf(0x42));
    editor.selectFunction(functionIndex(editor, "FileSave"));
    editor.update();
    EXPECT_EQ(m_frame.lastStatus(),
              "This key code is already bound to a primary (non-prefix) key and as such cannot be re-bound!");
    EXPECT_FALSE(editor.isChanged());

    editor.selectPrefix(1);
    editor.selectFunction(std::nullopt);
    editor.update();
    EXPECT_EQ(m_frame.lastStatus(), "Unexpected error binding key!");

    editor.selectFunction(functionIndex(editor, "FileSave"));
    editor.update();
    EXPECT_EQ(m_frame.lastStatus(), "Key is now bounded to the 'FileSave' function");
    EXPECT_TRUE(editor.isChanged());
    EXPECT_EQ(editor.keymap().lookupInTable({75, 2}, {0x42, 0}), kFileSave);
}

TEST_F(BindingEditorTest, UpdateAtTheBindingLimitChangesNothing) {
    Keymap full;
    for (uint16_t index = 0; index < KeyTable::kMaxBindings; ++index) {
        ASSERT_EQ(full.bind(kNoPrefix, {static_cast<uint16_t>(0x1000 + index), 0, kFileSave}),
                  BindResult::Bound);
    }
    BindingEditor editor = makeEditor(full);
    editor.selectKeyRow(rowOf(0x42));
    editor.selectFunction(functionIndex(editor, "FileOpen"));
    editor.update();
    EXPECT_EQ(m_frame.lastStatus(), "Unexpected error binding key!");
    EXPECT_FALSE(editor.isChanged());
    EXPECT_EQ(editor.keymap().lookupInTable(kNoPrefix, {0x42, 0}), kNoFunction);
}

TEST_F(BindingEditorTest, RemoveRules) {
    BindingEditor editor = makeEditor(Keymap::makeDefault());
    editor.remove();
    EXPECT_EQ(m_frame.lastStatus(), "The key to be bound has not yet been defined!");

    editor.selectKeyRow(rowOf(0x42));
    editor.remove();
    EXPECT_EQ(m_frame.lastStatus(), "The key to be bound has not yet been defined!");
    EXPECT_FALSE(editor.isChanged());

    editor.selectKeyRow(rowOf(0x43));
    editor.setControl(true);
    ASSERT_TRUE(editor.functionSelection());
    editor.remove();
    EXPECT_EQ(m_frame.lastStatus(), "The key was removed successfully");
    EXPECT_FALSE(editor.keyRowSelection());
    EXPECT_FALSE(editor.functionSelection());
    EXPECT_EQ(editor.keymap().lookupInTable(kNoPrefix, {0x43, 2}), kNoFunction);
    EXPECT_TRUE(editor.isChanged()) << "a removal must be saved on closing";
}

TEST_F(BindingEditorTest, ClosingSavesOnlyAChangedKeymap) {
    {
        BindingEditor editor = makeEditor(Keymap());
        EXPECT_TRUE(editor.close());
        EXPECT_FALSE(std::filesystem::exists(configFile("Mine.BND")));
    }
    {
        BindingEditor editor = makeEditor(Keymap::makeDefault(), KeymapEditMode::New, StartsChanged::Yes);
        EXPECT_TRUE(editor.close());
        Keymap loaded;
        ASSERT_EQ(loadKeymapFile(configFile("Mine.BND"), loaded), KeymapFileStatus::Ok);
        EXPECT_EQ(loaded.tables()[0].size(), defaultKeyBindings().size());
    }
}

TEST_F(BindingEditorTest, FailedSaveSaysAccessDenied) {
    std::filesystem::remove_all(m_config);
    BindingEditor editor = makeEditor(Keymap());
    editor.setFlag(KeymapFlag::AllowShiftMarking, false);
    EXPECT_FALSE(editor.close());
    EXPECT_EQ(m_frame.lastStatus(), "Access to file denied.");
}

} // namespace
} // namespace vexa
