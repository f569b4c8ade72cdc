// The in-memory key state: held keys, lock toggles and presses remembered until asked for.
#include "platform/KeyState.h"

#include <gtest/gtest.h>

namespace vexa::platform {
namespace {

TEST(MemoryKeyState, HeldKeysAndTogglesAreIndependent) {
    MemoryKeyState keys;
    keys.setToggled(kKeyCapsLock, true);
    keys.setDown(kKeyShift, true);
    EXPECT_TRUE(keys.isToggled(kKeyCapsLock));
    EXPECT_FALSE(keys.isDown(kKeyCapsLock));
    EXPECT_TRUE(keys.isDown(kKeyShift));
    EXPECT_FALSE(keys.isToggled(kKeyShift));
    EXPECT_FALSE(keys.isToggled(kKeyNumLock));
    keys.setToggled(kKeyCapsLock, false);
    keys.setDown(kKeyShift, false);
    EXPECT_FALSE(keys.isToggled(kKeyCapsLock));
    EXPECT_FALSE(keys.isDown(kKeyShift));
}

TEST(MemoryKeyState, EscapePollingSeesEachPressOnce) {
    MemoryKeyState keys;
    EXPECT_FALSE(keys.wasPressed(kKeyEscape));

    keys.tap(kKeyEscape);
    EXPECT_TRUE(keys.wasPressed(kKeyEscape));
    EXPECT_FALSE(keys.wasPressed(kKeyEscape)) << "a press is reported once";

    // Held down it stays reported; released, the press is already used up.
    keys.setDown(kKeyEscape, true);
    EXPECT_TRUE(keys.wasPressed(kKeyEscape));
    EXPECT_TRUE(keys.wasPressed(kKeyEscape));
    keys.setDown(kKeyEscape, false);
    EXPECT_FALSE(keys.wasPressed(kKeyEscape));

    // A press of another key is kept for that key alone.
    keys.tap(kKeyControl);
    EXPECT_FALSE(keys.wasPressed(kKeyEscape));
    EXPECT_TRUE(keys.wasPressed(kKeyControl));
}

} // namespace
} // namespace vexa::platform
