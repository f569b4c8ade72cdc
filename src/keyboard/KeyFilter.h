// The key filter: key presses to editor functions through the active keymap. Platform-neutral:
// the front end feeds it virtual-key codes. Characters take the command processor's typing road,
// which holds the Alt, Ctrl, prefix and mark rules.
#pragma once

#include <cstdint>

#include "commands/FunctionDispatcher.h"
#include "platform/Sound.h"

namespace vexa {

class Keymap;

// Virtual-key codes the filter handles on their own.
inline constexpr uint16_t kVirtualKeyReturn = 0x0D;
inline constexpr uint16_t kVirtualKeyShift = 0x10;
inline constexpr uint16_t kVirtualKeyEscape = 0x1B;
inline constexpr uint16_t kVirtualKeyPrior = 0x21;
inline constexpr uint16_t kVirtualKeyDown = 0x28;

enum class KeyDirection : uint8_t { Down, Up };
enum class KeyRepeat : uint8_t { First, AutoRepeat };

// One key message: the virtual-key code, the modifier set (Alt from the message, Ctrl and Shift
// from the key states), whether it repeats a held key, and down or up.
struct KeyPress {
    uint16_t keyCode = 0;
    uint16_t modifiers = 0;
    KeyRepeat repeat = KeyRepeat::First;
    KeyDirection direction = KeyDirection::Down;
};

enum class KeyHandling : uint8_t {
    Handled,   // the message is dropped
    NotHandled // the message goes on to translation and the window
};

// What the filter needs to know of its surroundings; the command processor side implements it.
class KeyFilterSurroundings {
public:
    virtual ~KeyFilterSurroundings() = default;

    // The active keymap; nullptr while there is none.
    virtual Keymap* activeKeymap() = 0;

    // A literal character is pending: CharQuote ran and its character has not arrived yet.
    virtual bool literalCharacterPending() const = 0;
    virtual void clearLiteralCharacter() = 0;

    virtual bool outputWindowActive() const = 0;
    virtual bool editWindowActive() const = 0;

    // The pane's Shift-held and Shift-marking states.
    virtual bool shiftHeld() const = 0;
    virtual void setShiftHeld(bool held) = 0;
    virtual bool shiftMarkingInProgress() const = 0;
    virtual void setShiftMarkingInProgress(bool inProgress) = 0;

    // Removes the document's Shift (CUA stream) mark, when it has one.
    virtual void removeShiftMark() = 0;

    virtual void beep(platform::SoundKind kind) = 0;

    // Whether work the user waits for runs: Escape then stops it instead of its keymap function.
    virtual bool foregroundWorkRunning() { return false; }
};

class KeyFilter {
public:
    KeyFilter(KeyFilterSurroundings& surroundings, FunctionDispatcher& dispatcher)
        : m_surroundings(surroundings), m_dispatcher(dispatcher) {}

    // A key-down or key-up message. Functions are sent to the dispatcher as keyboard commands.
    KeyHandling keyMessage(const KeyPress& press);

private:
    KeyHandling keyDown(const KeyPress& press);
    void shiftReleased();
    bool shiftMarkingApplies();

    KeyFilterSurroundings& m_surroundings;
    FunctionDispatcher& m_dispatcher;
};

} // namespace vexa
