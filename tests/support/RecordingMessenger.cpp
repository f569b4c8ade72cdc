// The recording messenger of the core tests.
#include "support/RecordingMessenger.h"

namespace vexa::test {

void RecordingMessenger::status(std::string_view text, platform::SoundKind sound, Hold) {
    m_statuses.push_back({std::string(text), sound});
}

void RecordingMessenger::messageBox(std::string_view text, std::string_view title) {
    m_boxes.push_back({std::string(text), std::string(title)});
}

Answer RecordingMessenger::ask(std::string_view text, std::string_view, Question) {
    m_questions.emplace_back(text);
    if (m_answers.empty()) {
        return Answer::No;
    }
    Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingMessenger::beginBusy() {
    if (m_busyDepth++ == 0) {
        ++m_busyShown;
    }
}

void RecordingMessenger::endBusy() {
    --m_busyDepth;
}

bool RecordingMessenger::sawStatus(std::string_view text) const {
    for (const auto& status : m_statuses) {
        if (status.text == text) {
            return true;
        }
    }
    return false;
}

void RecordingMessenger::clear() {
    m_statuses.clear();
    m_boxes.clear();
    m_questions.clear();
}

} // namespace vexa::test
