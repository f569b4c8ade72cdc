// Tests of the key filter and the keyboard's share of the character road, against a fake pane.
#include "keyboard/KeyFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/FunctionTable.h"
#include "keyboard/Keymap.h"
#include "settings/Options.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using platform::SoundKind;

constexpr uint16_t kKeyB = 0x42;
constexpr uint16_t kKeyK = 0x4B;
constexpr uint16_t kKeyF9 = 0x78;
constexpr uint16_t kKeyEnd = 0x23;
constexpr uint16_t kKeyDown = 0x28;

// The surroundings of the filter: a pane with its Shift states.
class FakeSurroundings final : public KeyFilterSurroundings {
public:
    Keymap* activeKeymap() override { return keymap; }
    bool literalCharacterPending() const override { return literalPending; }
    void clearLiteralCharacter() override { literalPending = false; }
    bool outputWindowActive() const override { return outputActive; }
    bool editWindowActive() const override { return editActive; }
    bool shiftHeld() const override { return shift; }
    void setShiftHeld(bool held) override { shift = held; }
    bool shiftMarkingInProgress() const override { return marking; }
    void setShiftMarkingInProgress(bool inProgress) override { marking = inProgress; }
    void removeShiftMark() override { ++shiftMarksRemoved; }
    void beep(SoundKind kind) override { beeps.push_back(kind); }
    bool foregroundWorkRunning() override { return foreground; }

    Keymap* keymap = nullptr;
    bool literalPending = false;
    bool outputActive = false;
    bool editActive = true;
    bool shift = false;
    bool marking = false;
    int shiftMarksRemoved = 0;
    bool foreground = false;
    std::vector<SoundKind> beeps;
};

// Records the commands and, as the command processor does, unarms the keymap after each one.
class RecordingDispatcher final : public FunctionDispatcher {
public:
    explicit RecordingDispatcher(FakeSurroundings& surroundings) : m_surroundings(surroundings) {}
    void sendCommand(uint16_t id, uint32_t source) override {
        sent.push_back(id);
        sources.push_back(source);
        if (m_surroundings.keymap != nullptr) {
            m_surroundings.keymap->resetPrefixState();
        }
    }
    std::vector<uint16_t> sent;
    std::vector<uint32_t> sources;

private:
    FakeSurroundings& m_surroundings;
};

class KeyFilterTest : public ::testing::Test {
protected:
    KeyFilterTest() {
        m_keymap = Keymap::makeDefault();
        EXPECT_EQ(m_keymap.bind({kKeyK, 2}, {kKeyB, 0, functionIdOf("MarkBlockSet")}), BindResult::Bound);
        EXPECT_EQ(m_keymap.bind(kNoPrefix, {kKeyF9, 2, functionIdOf("MoveDocumentEndEx")}),
                  BindResult::Bound);
        m_surroundings.keymap = &m_keymap;
    }

    KeyHandling down(uint16_t code, uint16_t modifiers = 0, KeyRepeat repeat = KeyRepeat::First) {
        return m_filter.keyMessage({code, modifiers, repeat, KeyDirection::Down});
    }
    KeyHandling up(uint16_t code, uint16_t modifiers = 0) {
        return m_filter.keyMessage({code, modifiers, KeyRepeat::First, KeyDirection::Up});
    }

    test::TempHome m_home;
    Keymap m_keymap;
    FakeSurroundings m_surroundings;
    RecordingDispatcher m_dispatcher{m_surroundings};
    KeyFilter m_filter{m_surroundings, m_dispatcher};
};

TEST_F(KeyFilterTest, BoundKeyRunsItsFunctionAsAKeyboardCommand) {
    EXPECT_EQ(down(0x43, 2), KeyHandling::Handled);
    ASSERT_EQ(m_dispatcher.sent, std::vector<uint16_t>{functionIdOf("MarkCopyEx")});
    EXPECT_EQ(m_dispatcher.sources, std::vector<uint32_t>{kKeyboardCommandSource});
    EXPECT_EQ(down(kKeyB), KeyHandling::NotHandled);
    EXPECT_EQ(m_dispatcher.sent.size(), 1u);
}

TEST_F(KeyFilterTest, EscapeStopsForegroundWorkInsteadOfItsBinding) {
    EXPECT_EQ(down(0x1B), KeyHandling::Handled);
    EXPECT_EQ(m_dispatcher.sent, std::vector<uint16_t>{functionIdOf("MarkHide")});
    m_surroundings.foreground = true;
    EXPECT_EQ(down(0x1B), KeyHandling::Handled);
    EXPECT_EQ(m_dispatcher.sent.back(), functionIdOf("RunStop"));
    // With a modifier Escape is an ordinary key.
    EXPECT_EQ(down(0x1B, 2), KeyHandling::NotHandled);
    EXPECT_EQ(m_dispatcher.sent.size(), 2u);
}

TEST_F(KeyFilterTest, PrefixThenKeyRunsTheBindingAndLeavesTheKeymapUnarmed) {
    EXPECT_EQ(down(kKeyK, 2), KeyHandling::Handled);
    EXPECT_TRUE(m_dispatcher.sent.empty());
    EXPECT_TRUE(m_keymap.isArmed());
    EXPECT_EQ(down(kKeyB), KeyHandling::Handled);
    EXPECT_EQ(m_dispatcher.sent, std::vector<uint16_t>{functionIdOf("MarkBlockSet")});
    EXPECT_FALSE(m_keymap.isArmed());
}

TEST_F(KeyFilterTest, HeldPrefixKeyArmsOnceAndItsRepeatsAreSwallowed) {
    EXPECT_EQ(down(kKeyK, 2), KeyHandling::Handled);
    const uint32_t slot = m_keymap.prefixState();
    for (int repeat = 0; repeat < 3; ++repeat) {
        EXPECT_EQ(down(kKeyK, 2, KeyRepeat::AutoRepeat), KeyHandling::Handled);
    }
    EXPECT_EQ(m_keymap.prefixState(), slot);
    EXPECT_TRUE(m_dispatcher.sent.empty());
}

TEST_F(KeyFilterTest, ArmedKeymapWithUnboundKeys) {
    // An unbound key without a character leaves the keymap armed.
    down(kKeyK, 2);
    EXPECT_EQ(down(kKeyF9), KeyHandling::NotHandled);
    EXPECT_TRUE(m_keymap.isArmed());
    // An unbound letter goes on to the character road (the processor's typing, which beeps,
    // drops it and unarms).
    EXPECT_EQ(down(0x5A), KeyHandling::NotHandled);
    EXPECT_TRUE(m_dispatcher.sent.empty());
}

TEST_F(KeyFilterTest, RepeatsRunMovementsButWholeDocumentJumpsOnce) {
    struct Case {
        std::string name;
        KeyChord key;
        std::size_t expectedRuns;
    };
    const std::vector<Case> cases = {
        {"Down repeats", {kKeyDown, 0}, 4},
        {"MoveDocumentEndEx runs once", {kKeyF9, 2}, 1},
    };
    for (const Case& c : cases) {
        m_dispatcher.sent.clear();
        down(c.key.keyCode, c.key.modifiers);
        for (int repeat = 0; repeat < 3; ++repeat) {
            EXPECT_EQ(down(c.key.keyCode, c.key.modifiers, KeyRepeat::AutoRepeat), KeyHandling::Handled)
                << c.name;
        }
        EXPECT_EQ(m_dispatcher.sent.size(), c.expectedRuns) << c.name;
    }
}

TEST_F(KeyFilterTest, FunctionUnderAPrefixIsNotRunByARepeat) {
    down(kKeyK, 2);
    EXPECT_EQ(down(kKeyB, 0, KeyRepeat::AutoRepeat), KeyHandling::Handled);
    EXPECT_TRUE(m_dispatcher.sent.empty());
    EXPECT_TRUE(m_keymap.isArmed());
}

TEST_F(KeyFilterTest, PendingLiteralCharacterLetsEveryKeyThrough) {
    struct Case {
        uint16_t key;
        uint16_t modifiers;
        bool stillPending;
    };
    const std::vector<Case> cases = {
        {0x43, 2, true},     // Ctrl+C is not run
        {kKeyK, 2, true},    // nor does a prefix arm
        {kKeyEnd, 0, false}, // a navigation key ends the pending state
        {kVirtualKeyReturn, 0, false},
    };
    for (const Case& c : cases) {
        m_surroundings.literalPending = true;
        EXPECT_EQ(down(c.key, c.modifiers), KeyHandling::NotHandled) << c.key;
        EXPECT_EQ(m_surroundings.literalPending, c.stillPending) << c.key;
    }
    EXPECT_TRUE(m_dispatcher.sent.empty());
    EXPECT_FALSE(m_keymap.isArmed());
}

TEST_F(KeyFilterTest, OutputWindowKeepsItsNavigationKeys) {
    m_surroundings.outputActive = true;
    EXPECT_EQ(down(kKeyDown), KeyHandling::NotHandled);
    EXPECT_EQ(down(kVirtualKeyReturn), KeyHandling::NotHandled);
    EXPECT_TRUE(m_dispatcher.sent.empty());
    EXPECT_EQ(down(0x43, 2), KeyHandling::Handled);
    EXPECT_EQ(m_dispatcher.sent, std::vector<uint16_t>{functionIdOf("MarkCopyEx")});
}

TEST_F(KeyFilterTest, ShiftMarkingStartsBeforeTheMovementAndEndsWithTheShiftKey) {
    down(kVirtualKeyShift, 1);
    EXPECT_TRUE(m_surroundings.shift);
    down(kKeyDown, 1);
    down(kKeyDown, 1);
    EXPECT_EQ(m_dispatcher.sent, (std::vector<uint16_t>{kMarkCuaStart, functionIdOf("MoveLineDown"),
                                                        functionIdOf("MoveLineDown")}));
    EXPECT_TRUE(m_surroundings.marking);
    up(kVirtualKeyShift);
    EXPECT_FALSE(m_surroundings.shift);
    EXPECT_FALSE(m_surroundings.marking);
    EXPECT_EQ(m_dispatcher.sent.back(), kMarkCuaEnd);
    // A second release sends nothing more.
    up(kVirtualKeyShift);
    EXPECT_EQ(m_dispatcher.sent.size(), 4u);
}

TEST_F(KeyFilterTest, MovementWithoutShiftRemovesTheShiftMark) {
    down(kKeyDown);
    EXPECT_EQ(m_surroundings.shiftMarksRemoved, 1);
    EXPECT_EQ(m_dispatcher.sent, std::vector<uint16_t>{functionIdOf("MoveLineDown")});
    // Functions that are no movements leave the mark alone.
    down(0x43, 2);
    EXPECT_EQ(m_surroundings.shiftMarksRemoved, 1);
}

TEST_F(KeyFilterTest, ShiftMarkingNeedsTheFlagAndAnEditWindow) {
    struct Case {
        std::string name;
        uint16_t allow;
        bool editActive;
    };
    const std::vector<Case> cases = {{"flag off", 0, true}, {"no edit window", 1, false}};
    for (const Case& c : cases) {
        m_keymap.flags().allowShiftMarking = c.allow;
        m_surroundings.editActive = c.editActive;
        m_surroundings.shift = false;
        m_dispatcher.sent.clear();
        down(kVirtualKeyShift, 1);
        EXPECT_FALSE(m_surroundings.shift) << c.name;
        m_surroundings.shift = true;
        down(kKeyDown, 1);
        EXPECT_EQ(m_dispatcher.sent, std::vector<uint16_t>{functionIdOf("MoveLineDown")}) << c.name;
        EXPECT_FALSE(m_surroundings.marking) << c.name;
        EXPECT_EQ(m_surroundings.shiftMarksRemoved, 0) << c.name;
    }
}

TEST_F(KeyFilterTest, RepeatedShiftDoesNotSetTheHeldState) {
    down(kVirtualKeyShift, 1, KeyRepeat::AutoRepeat);
    EXPECT_FALSE(m_surroundings.shift);
}

TEST_F(KeyFilterTest, WithoutAKeymapNothingIsHandled) {
    m_surroundings.keymap = nullptr;
    EXPECT_EQ(down(0x43, 2), KeyHandling::NotHandled);
    EXPECT_TRUE(m_dispatcher.sent.empty());
}

} // namespace
} // namespace vexa
