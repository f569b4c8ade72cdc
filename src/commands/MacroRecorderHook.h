// The keyboard-macro recorder as the command processor sees it: recording and playback state.
#pragma once

#include <cstdint>

namespace vexa {

// Implemented by the keyboard-macro recorder. The processor appends every dispatched function
// (except the few never recorded) and every typed character while recording is on.
class MacroRecorderHook {
public:
    virtual ~MacroRecorderHook() = default;
    virtual bool isRecording() const = 0;
    virtual bool isPlayingBack() const = 0;
    virtual void recordFunction(uint16_t id) = 0;
    // A typed character by its code point.
    virtual void recordCharacter(char32_t character) = 0;
};

} // namespace vexa
