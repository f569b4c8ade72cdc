// The road of a key press from the message loop to the command message, and the character rules.
#include "keyboard/KeyFilter.h"

#include "commands/FunctionTable.h"
#include "keyboard/Keymap.h"
#include "settings/Options.h"

namespace vexa {

namespace {

// Prior, Next, End, Home, the four arrows and Return: the keys an output window moves its own
// selection with, and the keys that end a pending literal character.
bool isNavigationKey(uint16_t keyCode) {
    return (keyCode >= kVirtualKeyPrior && keyCode <= kVirtualKeyDown) || keyCode == kVirtualKeyReturn;
}

} // namespace

KeyHandling KeyFilter::keyMessage(const KeyPress& press) {
    if (press.direction == KeyDirection::Up) {
        if (press.keyCode == kVirtualKeyShift) {
            shiftReleased();
        }
        return KeyHandling::NotHandled;
    }
    const KeyHandling handling = keyDown(press);
    // The Shift-held state is set after translation, so the Shift key's own lookup comes first.
    if (press.keyCode == kVirtualKeyShift && press.repeat == KeyRepeat::First && shiftMarkingApplies()) {
        m_surroundings.setShiftHeld(true);
    }
    return handling;
}

bool KeyFilter::shiftMarkingApplies() {
    const Keymap* keymap = m_surroundings.activeKeymap();
    return keymap != nullptr && keymap->flags().allowShiftMarking == 1 && m_surroundings.editWindowActive();
}

void KeyFilter::shiftReleased() {
    if (!shiftMarkingApplies()) {
        return;
    }
    m_surroundings.setShiftHeld(false);
    if (m_surroundings.shiftMarkingInProgress()) {
        m_surroundings.setShiftMarkingInProgress(false);
        m_dispatcher.sendCommand(kMarkCuaEnd, kKeyboardCommandSource);
    }
}

KeyHandling KeyFilter::keyDown(const KeyPress& press) {
    if (m_surroundings.literalCharacterPending()) {
        // The key must reach the character road unchanged; a navigation key gives the quote up.
        if (isNavigationKey(press.keyCode)) {
            m_surroundings.clearLiteralCharacter();
        }
        return KeyHandling::NotHandled;
    }
    if (m_surroundings.outputWindowActive() && isNavigationKey(press.keyCode)) {
        return KeyHandling::NotHandled;
    }
    if (press.keyCode == kVirtualKeyEscape && press.modifiers == 0 && m_surroundings.foregroundWorkRunning()) {
        m_dispatcher.sendCommand(functionIdOf("RunStop"), kKeyboardCommandSource);
        return KeyHandling::Handled;
    }
    Keymap* keymap = m_surroundings.activeKeymap();
    if (keymap == nullptr) {
        return KeyHandling::NotHandled;
    }
    const KeyChord key{press.keyCode, press.modifiers};
    const bool autoRepeat = press.repeat == KeyRepeat::AutoRepeat;
    // Holding a prefix key down arms the keymap once; the repeats are swallowed.
    if (autoRepeat && keymap->isPrefixKey(key)) {
        return KeyHandling::Handled;
    }
    const FunctionId function = keymap->lookup(key);
    if (function == kPrefixAccepted) {
        return KeyHandling::Handled;
    }
    if (function == kNoFunction) {
        return KeyHandling::NotHandled;
    }
    if (shiftMarkingApplies() && !m_surroundings.shiftMarkingInProgress() &&
        FunctionTable::standard().is(function, FunctionClass::Movement)) {
        if (m_surroundings.shiftHeld()) {
            m_surroundings.setShiftMarkingInProgress(true);
            m_dispatcher.sendCommand(kMarkCuaStart, kKeyboardCommandSource);
        } else {
            m_surroundings.removeShiftMark();
        }
    }
    // A whole-document jump, or a function reached through a prefix, must not run again and again
    // while its key is held.
    const bool runsOnlyOnce = keymap->isArmed() || function == functionIdOf("MoveDocumentEndEx") ||
                              function == functionIdOf("MoveDocumentStartEx");
    if (!runsOnlyOnce || !autoRepeat) {
        m_dispatcher.sendCommand(function, kKeyboardCommandSource);
    }
    return KeyHandling::Handled;
}

} // namespace vexa
