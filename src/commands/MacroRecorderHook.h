// The keyboard-macro recorder as the command processor sees it: recording and playback state.
#pragma once

#include <cstdint>

namespace vexa {

// The modifier flags a typed character keeps, the Ctrl and Alt bits of a key chord.
inline constexpr uint16_t kCharacterCtrlFlag = 2;
inline constexpr uint16_t kCharacterAltFlag = 4;

// Implemented by the keyboard-macro recorder. The processor appends every dispatched function
// (except the few never recorded) and every typed character while recording is on.
class MacroRecorderHook {
public:
    virtual ~MacroRecorderHook() = default;
    virtual bool isRecording() const = 0;
    virtual bool isPlayingBack() const = 0;
    virtual void recordFunction(uint16_t id) = 0;
    // A typed character by its code point, with the flags of the key state that came with it
    // (kCharacterCtrlFlag, kCharacterAltFlag).
    virtual void recordCharacter(char32_t character, uint16_t modifierFlags = 0) = 0;
};

} // namespace vexa
