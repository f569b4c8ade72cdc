// The keyboard-macro recorder.
#include "keyboard/MacroRecorder.h"

#include "keyboard/KeyBinding.h"

namespace vexa {

static_assert(kCharacterCtrlFlag == kModifierCtrl && kCharacterAltFlag == kModifierAlt,
              "a character event keeps the key chord's modifier bits");

void MacroRecorder::recordFunction(uint16_t id) {
    if (m_recording && !m_playing) {
        append(MacroEvent::ofFunction(id));
    }
}

void MacroRecorder::recordCharacter(char32_t character, uint16_t modifierFlags) {
    if (!m_recording || m_playing) {
        return;
    }
    if (character < 0x10000) {
        append(MacroEvent::ofCharacter(static_cast<char16_t>(character), modifierFlags));
        return;
    }
    const char32_t above = character - 0x10000;
    append(MacroEvent::ofCharacter(static_cast<char16_t>(0xD800 + (above >> 10)), modifierFlags));
    append(MacroEvent::ofCharacter(static_cast<char16_t>(0xDC00 + (above & 0x3FF)), modifierFlags));
}

void MacroRecorder::startRecording() {
    m_recording = true;
    m_replaceOnFirst = true;
    m_count = 0;
    m_before = m_events;
}

uint32_t MacroRecorder::stopRecording(bool dropLast) {
    if (m_recording && dropLast && m_count > 0) {
        --m_count;
        if (m_count == 0) {
            m_events = m_before;
        } else {
            MacroEvents events(m_events->begin(), m_events->end() - 1);
            m_events = std::make_shared<const MacroEvents>(std::move(events));
        }
    }
    m_before.reset();
    m_recording = false;
    m_replaceOnFirst = false;
    return m_count;
}

void MacroRecorder::append(const MacroEvent& event) {
    if (m_replaceOnFirst) {
        m_replaceOnFirst = false;
        m_recorded.clear();
    } else {
        m_recorded = *m_events;
    }
    m_recorded.push_back(event);
    ++m_count;
    // A playing list is never changed under its player: the new macro is a new list.
    m_events = std::make_shared<const MacroEvents>(std::move(m_recorded));
    m_recorded = {};
}

void MacroRecorder::replaceWith(const MacroEvents& events) {
    if (events.empty()) {
        stopRecording();
        return;
    }
    m_recording = false;
    m_replaceOnFirst = false;
    m_count = static_cast<uint32_t>(events.size());
    m_events = std::make_shared<const MacroEvents>(events);
}

} // namespace vexa
