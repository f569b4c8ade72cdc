// A messenger for core tests: records every status message, box and question, answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/Messenger.h"

namespace vexa::test {

class RecordingMessenger final : public Messenger {
public:
    struct Status {
        std::string text;
        platform::SoundKind sound;
    };
    struct Box {
        std::string text;
        std::string title;
    };

    void status(std::string_view text, platform::SoundKind sound, Hold hold = Hold::No) override;
    void messageBox(std::string_view text, std::string_view title = kErrorTitle) override;
    Answer ask(std::string_view text, std::string_view title, Question kind = Question::YesNo) override;
    void beginBusy() override;
    void endBusy() override;
    void drainEvents() override { ++m_drains; }

    // The answers of the next questions, in order; a question without one is answered No.
    void queueAnswer(Answer answer) { m_answers.push_back(answer); }

    const std::vector<Status>& statuses() const { return m_statuses; }
    const std::vector<Box>& boxes() const { return m_boxes; }
    const std::vector<std::string>& questions() const { return m_questions; }
    std::string lastStatus() const { return m_statuses.empty() ? std::string() : m_statuses.back().text; }
    bool sawStatus(std::string_view text) const;
    int busyDepth() const { return m_busyDepth; }
    int busyShown() const { return m_busyShown; }
    int drains() const { return m_drains; }
    void clear();

private:
    std::vector<Status> m_statuses;
    std::vector<Box> m_boxes;
    std::vector<std::string> m_questions;
    std::deque<Answer> m_answers;
    int m_busyDepth = 0;
    int m_busyShown = 0;
    int m_drains = 0;
};

} // namespace vexa::test
