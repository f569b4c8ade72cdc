// The headless frame: recorded events, scripted replies, the busy-cursor counter.
#include "frame/HeadlessFrame.h"

#include <utility>

namespace vexa {

void HeadlessFrame::answerNext(Answer answer) {
    m_script.push_back(Reply{ReplyKind::Answer, answer, {}});
}

void HeadlessFrame::chooseNextOpen(std::vector<std::string> paths) {
    m_script.push_back(Reply{ReplyKind::Open, Answer::No, std::move(paths)});
}

void HeadlessFrame::chooseNextSave(std::string path) {
    m_script.push_back(Reply{ReplyKind::Save, Answer::No, {std::move(path)}});
}

void HeadlessFrame::cancelNextDialog() {
    m_script.push_back(Reply{ReplyKind::Cancel, Answer::Cancel, {}});
}

void HeadlessFrame::scriptNextSearchDialog(SearchDialogScript script) {
    m_searchDialogScripts.push_back(std::move(script));
}

void HeadlessFrame::scriptNextDialog(DialogScript script) {
    m_dialogScripts.push_back(std::move(script));
}

void HeadlessFrame::arrangeWindows(WindowArrangement arrangement) {
    FrameEvent event;
    event.kind = FrameEventKind::Arrange;
    event.value = static_cast<int>(arrangement);
    record(std::move(event));
}

void HeadlessFrame::showBar(FrameBar bar, bool visible) {
    FrameEvent event;
    event.kind = FrameEventKind::Bar;
    event.value = static_cast<int>(bar);
    event.visible = visible;
    record(std::move(event));
}

int HeadlessFrame::print(PrintScope scope) {
    FrameEvent event;
    event.kind = FrameEventKind::Print;
    event.value = static_cast<int>(scope);
    const auto reply = takeReply(!m_script.empty() && m_script.front().kind != ReplyKind::Open &&
                                     m_script.front().kind != ReplyKind::Save,
                                 "printer choice");
    event.scripted = reply.has_value();
    event.answer = reply ? reply->answer : Answer::Cancel;
    const int pages = event.answer == Answer::Yes ? m_printPages : 0;
    record(std::move(event));
    return pages;
}

DialogResult HeadlessFrame::showFrameDialog(FrameDialog dialog) {
    FrameEvent event;
    event.kind = FrameEventKind::FrameDialog;
    event.value = static_cast<int>(dialog);
    const auto reply = takeReply(!m_script.empty() && m_script.front().kind != ReplyKind::Open &&
                                     m_script.front().kind != ReplyKind::Save,
                                 "frame dialog " + std::to_string(event.value));
    event.scripted = reply.has_value();
    event.answer = reply ? reply->answer : Answer::Cancel;
    const DialogResult result =
        event.answer == Answer::Yes ? DialogResult::Accepted : DialogResult::Cancelled;
    record(std::move(event));
    return result;
}

DialogResult HeadlessFrame::showDialog(DialogModel& model) {
    FrameEvent event;
    event.kind = FrameEventKind::Dialog;
    event.text = std::string(model.title());
    event.scripted = !m_dialogScripts.empty();
    event.answer = Answer::Cancel;
    if (m_dialogScripts.empty()) {
        m_unexpected.push_back("dialog \"" + event.text + "\" (no script)");
    }
    // Recorded before the script runs, so that what the dialog's buttons show comes after it.
    record(std::move(event));
    const std::size_t index = m_events.size() - 1;
    if (m_dialogScripts.empty()) {
        return DialogResult::Cancelled;
    }
    DialogScript script = std::move(m_dialogScripts.front());
    m_dialogScripts.pop_front();
    const DialogResult result = script(model);
    m_events[index].answer = result == DialogResult::Accepted ? Answer::Yes : Answer::Cancel;
    return result;
}

void HeadlessFrame::showSearchDialog(std::unique_ptr<SearchDialogSession> dialog) {
    if (dialog == nullptr) {
        return;
    }
    closeSearchDialog();
    FrameEvent event;
    event.kind = FrameEventKind::SearchDialog;
    event.text = dialog->kind() == SearchDialogKind::Replace ? "Replace" : "Find";
    m_searchDialog = std::move(dialog);
    event.scripted = !m_searchDialogScripts.empty();
    record(std::move(event));
    if (!m_searchDialogScripts.empty()) {
        SearchDialogScript script = std::move(m_searchDialogScripts.front());
        m_searchDialogScripts.pop_front();
        script(*m_searchDialog);
    }
}

void HeadlessFrame::closeSearchDialog() {
    if (m_searchDialog != nullptr) {
        // Released before closing, so that a close reached again from inside finds none open.
        std::unique_ptr<SearchDialogSession> dialog = std::move(m_searchDialog);
        m_searchDialogSaved = dialog->close();
    }
}

void HeadlessFrame::cancelSearchDialog() {
    if (m_searchDialog != nullptr) {
        m_searchDialog->cancel();
        closeSearchDialog();
    }
}

std::optional<HeadlessFrame::Reply> HeadlessFrame::takeReply(bool fits, std::string_view request) {
    if (m_script.empty() || !fits) {
        std::string note(request);
        note += m_script.empty() ? " (no reply scripted)" : " (the next scripted reply does not fit)";
        m_unexpected.push_back(std::move(note));
        return std::nullopt;
    }
    Reply reply = std::move(m_script.front());
    m_script.pop_front();
    return reply;
}

void HeadlessFrame::record(FrameEvent event) {
    m_events.push_back(std::move(event));
    if (m_observer) {
        m_observer(m_events.back());
    }
}

void HeadlessFrame::status(std::string_view text, platform::SoundKind sound, Hold hold) {
    FrameEvent event;
    event.kind = FrameEventKind::Status;
    event.text = text;
    event.sound = sound;
    event.hold = hold;
    record(std::move(event));
}

void HeadlessFrame::runNestedLoopAction() {
    // Taken out first: the action may itself reach a nested loop.
    if (auto action = std::exchange(m_nestedLoopAction, nullptr)) {
        action();
    }
}

void HeadlessFrame::drainEvents() {
    ++m_drainCount;
    runNestedLoopAction();
}

void HeadlessFrame::messageBox(std::string_view text, std::string_view title) {
    runNestedLoopAction();
    FrameEvent event;
    event.kind = FrameEventKind::MessageBox;
    event.text = text;
    event.title = title;
    record(std::move(event));
}

Answer HeadlessFrame::ask(std::string_view text, std::string_view title, Question kind) {
    runNestedLoopAction();
    const Reply* head = m_script.empty() ? nullptr : &m_script.front();
    // A Yes/No question has no Cancel button, so a scripted Cancel cannot be its answer.
    bool fits = head != nullptr && head->kind == ReplyKind::Answer &&
                (kind == Question::YesNoCancel || head->answer != Answer::Cancel);
    auto reply = takeReply(fits, std::string("question \"") + std::string(text) + "\"");

    FrameEvent event;
    event.kind = FrameEventKind::Question;
    event.text = text;
    event.title = title;
    event.question = kind;
    event.scripted = reply.has_value();
    // Unscripted, the safe reply: the one that changes nothing.
    event.answer = reply ? reply->answer : (kind == Question::YesNo ? Answer::No : Answer::Cancel);
    Answer answer = event.answer;
    record(std::move(event));
    return answer;
}

int HeadlessFrame::choose(std::string_view text, std::string_view title, std::span<const std::string_view> buttons,
                          int defaultButton) {
    const Reply* head = m_script.empty() ? nullptr : &m_script.front();
    const auto index = [](Answer answer) { return answer == Answer::Yes ? 0 : answer == Answer::No ? 1 : 2; };
    const bool fits = head != nullptr && head->kind == ReplyKind::Answer &&
                      index(head->answer) < static_cast<int>(buttons.size());
    auto reply = takeReply(fits, std::string("choice \"") + std::string(text) + "\"");
    FrameEvent event;
    event.kind = FrameEventKind::Question;
    event.text = text;
    event.title = title;
    event.question = Question::YesNoCancel;
    event.scripted = reply.has_value();
    event.answer = reply ? reply->answer : Answer::Cancel;
    record(std::move(event));
    return reply ? index(reply->answer) : defaultButton;
}

void HeadlessFrame::beginBusy() {
    if (m_busyDepth++ == 0) {
        ++m_busyShown;
    }
}

void HeadlessFrame::endBusy() {
    if (m_busyDepth == 0) {
        ++m_busyUnderflows;
        return;
    }
    --m_busyDepth;
}

std::vector<std::string> HeadlessFrame::chooseFilesToOpen(const FileDialogRequest& request) {
    const Reply* head = m_script.empty() ? nullptr : &m_script.front();
    bool fits =
        head != nullptr && (head->kind == ReplyKind::Cancel ||
                            (head->kind == ReplyKind::Open &&
                             (request.selection == FileSelection::Several || head->paths.size() <= 1)));
    auto reply = takeReply(fits, std::string("open dialog \"") + request.title + "\"");

    FrameEvent event;
    event.kind = FrameEventKind::OpenDialog;
    event.text = request.title;
    event.dialog = request;
    event.scripted = reply.has_value();
    if (reply && reply->kind == ReplyKind::Open) {
        event.paths = reply->paths;
    }
    std::vector<std::string> paths = event.paths;
    record(std::move(event));
    return paths;
}

std::optional<std::string> HeadlessFrame::chooseFileToSave(const FileDialogRequest& request) {
    const Reply* head = m_script.empty() ? nullptr : &m_script.front();
    bool fits = head != nullptr && (head->kind == ReplyKind::Cancel || head->kind == ReplyKind::Save);
    auto reply = takeReply(fits, std::string("save dialog \"") + request.title + "\"");

    FrameEvent event;
    event.kind = FrameEventKind::SaveDialog;
    event.text = request.title;
    event.dialog = request;
    event.scripted = reply.has_value();
    std::optional<std::string> path;
    if (reply && reply->kind == ReplyKind::Save) {
        event.paths = reply->paths;
        path = reply->paths.front();
    }
    record(std::move(event));
    return path;
}

void HeadlessFrame::beep(platform::SoundKind kind) {
    FrameEvent event;
    event.kind = FrameEventKind::Beep;
    event.sound = kind;
    record(std::move(event));
}

Frame::TimerId HeadlessFrame::startTimer(uint32_t intervalMs, std::function<void()> tick) {
    TimerId id = m_nextTimer++;
    // A zero interval would fall due forever at the same moment.
    uint64_t interval = intervalMs == 0 ? 1 : intervalMs;
    m_timers[id] = Timer{interval, m_now + interval, std::move(tick)};
    return id;
}

void HeadlessFrame::stopTimer(TimerId id) {
    m_timers.erase(id);
}

void HeadlessFrame::advanceTime(uint64_t milliseconds) {
    const uint64_t target = m_now + milliseconds;
    while (true) {
        auto next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (it->second.due <= target && (next == m_timers.end() || it->second.due < next->second.due)) {
                next = it;
            }
        }
        if (next == m_timers.end()) {
            break;
        }
        m_now = next->second.due;
        next->second.due += next->second.interval;
        // A copy: the tick may stop its own timer, which destroys the stored function.
        std::function<void()> tick = next->second.tick;
        if (tick) {
            tick();
        }
    }
    m_now = target;
}

std::vector<FrameEvent> HeadlessFrame::eventsOf(FrameEventKind kind) const {
    std::vector<FrameEvent> found;
    for (const FrameEvent& event : m_events) {
        if (event.kind == kind) {
            found.push_back(event);
        }
    }
    return found;
}

std::string HeadlessFrame::lastStatus() const {
    for (auto it = m_events.rbegin(); it != m_events.rend(); ++it) {
        if (it->kind == FrameEventKind::Status) {
            return it->text;
        }
    }
    return {};
}

} // namespace vexa
