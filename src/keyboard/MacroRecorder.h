// The keyboard-macro recorder: the one current macro, and the recording and playing states.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "commands/MacroRecorderHook.h"

namespace vexa {

inline constexpr uint16_t kMacroCharacterEvent = 0;
inline constexpr uint16_t kMacroFunctionEvent = 1;

// One recorded step: a function that ran or a character that was typed.
struct MacroEvent {
    uint16_t modifiers = 0; // the key state that came with a character; 0 for a function
    uint16_t character = 0; // a character's code; 0 for a function
    uint16_t function = 0;  // a function's identifier; 0 for a character
    uint16_t type = kMacroCharacterEvent;

    static MacroEvent ofFunction(uint16_t id) { return {0, 0, id, kMacroFunctionEvent}; }
    // A character event holds a UTF-16 code unit: characters beyond the first 65,536 are recorded
    // as two events, a surrogate pair.
    static MacroEvent ofCharacter(char16_t unit, uint16_t modifiers = 0) {
        return {modifiers, static_cast<uint16_t>(unit), 0, kMacroCharacterEvent};
    }
    // A plain char would widen with its sign (0xE9 becoming 0xFFE9): say which character is meant.
    static MacroEvent ofCharacter(char, uint16_t = 0) = delete;
    bool isFunction() const { return type == kMacroFunctionEvent; }
    friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

using MacroEvents = std::vector<MacroEvent>;

// A recording replaces the current macro only once its first event arrives, so a recording that
// captures nothing leaves the previous macro in place. Nothing is recorded while a macro plays.
class MacroRecorder final : public MacroRecorderHook {
public:
    MacroRecorder() : m_events(std::make_shared<const MacroEvents>()) {}

    bool isRecording() const override { return m_recording; }
    bool isPlayingBack() const override { return m_playing; }
    void recordFunction(uint16_t id) override;
    void recordCharacter(char32_t character, uint16_t modifierFlags = 0) override;

    // Starts a recording in replace mode (a recording in progress goes on afresh).
    void startRecording();
    // Ends the recording: how many events it captured. The function that stops a recording is
    // recorded before it runs; `dropLast` takes that event back out, and a recording left
    // empty gives the previous macro back.
    uint32_t stopRecording(bool dropLast = false);
    // Appends an event as if it had been recorded (no check of the playing state).
    void append(const MacroEvent& event);
    // Makes the events the current macro through a silent recording: an empty list leaves the
    // old macro in place.
    void replaceWith(const MacroEvents& events);

    // The current macro. A playback holds on to the list it plays, so a macro that loads another
    // one while it plays keeps its own list until it ends.
    std::shared_ptr<const MacroEvents> macro() const { return m_events; }
    bool hasMacro() const { return !m_events->empty(); }
    void setPlaying(bool playing) { m_playing = playing; }

private:
    bool m_recording = false;
    bool m_playing = false;
    bool m_replaceOnFirst = false;
    uint32_t m_count = 0;
    std::shared_ptr<const MacroEvents> m_events;
    // The macro before the recording in progress.
    std::shared_ptr<const MacroEvents> m_before;
    // The events of the recording in progress, moved into m_events as they arrive.
    MacroEvents m_recorded;
};

} // namespace vexa
