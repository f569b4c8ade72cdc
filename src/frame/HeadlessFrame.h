// The frame of tests and of programs without a window: it records everything it is asked to
// show and answers questions and file dialogs from a script given in advance.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/Frame.h"

namespace vexa {

enum class FrameEventKind : uint8_t {
    Status,
    MessageBox,
    Question,
    OpenDialog,
    SaveDialog,
    Beep,
    SearchDialog,
    Dialog,
    FrameDialog,
    Arrange,
    Bar,
    Print
};

// One thing the behaviour showed or asked, with the reply it got.
struct FrameEvent {
    FrameEventKind kind = FrameEventKind::Status;
    std::string text;  // the message, or the dialog's title ("Find" or "Replace" for a search dialog)
    std::string title; // the title of a box or question
    platform::SoundKind sound = platform::SoundKind::None;
    Hold hold = Hold::No;
    Question question = Question::YesNo;
    Answer answer = Answer::No;     // a question's reply
    std::vector<std::string> paths; // a dialog's reply; empty when cancelled
    bool scripted = false;          // whether the reply came from the script
    FileDialogRequest dialog;       // what a file dialog was opened with
    int value = 0;                  // the arrangement, bar, print scope or frame dialog, as a number
    bool visible = false;           // whether a bar was shown
};

class HeadlessFrame final : public Frame {
public:
    // The script: replies taken in order by the questions and dialogs that come. A reply
    // that does not fit the request (a Yes for a file dialog, a Cancel for a Yes/No question)
    // stays queued and the request counts as unexpected.
    void answerNext(Answer answer);
    void chooseNextOpen(std::vector<std::string> paths);
    void chooseNextSave(std::string path);
    void cancelNextDialog();

    // What the user does in the next Find or Replace dialog shown, run as soon as it is shown;
    // the dialog then stays open (it is modeless) until it is cancelled or closed.
    using SearchDialogScript = std::function<void(SearchDialogSession&)>;
    void scriptNextSearchDialog(SearchDialogScript script);
    // The open Find or Replace dialog; null when none is open.
    SearchDialogSession* searchDialog() { return m_searchDialog.get(); }
    // A frame dialog or a printer choice takes its reply from answerNext: Yes accepts it, anything
    // else cancels it; without a reply it is cancelled and counts as unexpected. An accepted print
    // reports this many pages.
    void printPagesOnAccept(int pages) { m_printPages = pages; }

    // What the user does in the next modal dialog shown (fills its model's fields, presses its
    // buttons) and how the dialog is closed. A dialog without a script is cancelled and counts
    // as unexpected.
    using DialogScript = std::function<DialogResult(DialogModel&)>;
    void scriptNextDialog(DialogScript script);

    // Presses the open dialog's Cancel, then closes it as a window does.
    void cancelSearchDialog();
    // Whether the last close of a search dialog wrote its histories.
    bool lastSearchDialogCloseSaved() const { return m_searchDialogSaved; }

    // What another program or the user does while the next nested event loop runs (a message box
    // or a question is open, or pending events are handled): run once, from inside that loop.
    void duringNextNestedLoop(std::function<void()> action) { m_nestedLoopAction = std::move(action); }

    // Called for each event as it happens (a batch program prints them).
    void setObserver(std::function<void(const FrameEvent&)> observer) { m_observer = std::move(observer); }

    // Messenger
    void status(std::string_view text, platform::SoundKind sound, Hold hold = Hold::No) override;
    void messageBox(std::string_view text, std::string_view title = kErrorTitle) override;
    Answer ask(std::string_view text, std::string_view title, Question kind = Question::YesNo) override;
    // Scripted by answerNext as a question: Yes presses the first button, No the second, Cancel
    // the third; unscripted, the default button.
    int choose(std::string_view text, std::string_view title, std::span<const std::string_view> buttons,
               int defaultButton) override;
    void beginBusy() override;
    void endBusy() override;
    void drainEvents() override;

    // Frame
    [[nodiscard]] std::vector<std::string> chooseFilesToOpen(const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
    void beep(platform::SoundKind kind) override;
    [[nodiscard]] TimerId startTimer(uint32_t intervalMs, std::function<void()> tick) override;
    void stopTimer(TimerId id) override;
    void arrangeWindows(WindowArrangement arrangement) override;
    void showBar(FrameBar bar, bool visible) override;
    int print(PrintScope scope) override;
    [[nodiscard]] DialogResult showFrameDialog(FrameDialog dialog) override;
    [[nodiscard]] DialogResult showDialog(DialogModel& model) override;
    void showSearchDialog(std::unique_ptr<SearchDialogSession> dialog) override;
    void closeSearchDialog() override;

    // Moves the frame's own time on, running every timer tick that falls due on the way, in
    // time order (ties by the order the timers were started). Time stands still otherwise.
    void advanceTime(uint64_t milliseconds);
    uint64_t now() const { return m_now; }
    std::size_t runningTimers() const { return m_timers.size(); }

    // What happened, in order.
    const std::vector<FrameEvent>& events() const { return m_events; }
    std::vector<FrameEvent> eventsOf(FrameEventKind kind) const;
    // The text of the latest status message; empty when there was none.
    std::string lastStatus() const;
    void clearEvents() { m_events.clear(); }

    // Requests the script had no fitting reply for, each described in a line of text, and the
    // replies never used: a test that scripted its dialogs expects both to be empty.
    const std::vector<std::string>& unexpected() const { return m_unexpected; }
    std::size_t unusedReplies() const {
        return m_script.size() + m_searchDialogScripts.size() + m_dialogScripts.size();
    }

    // The busy cursor: the current nesting, how often it was shown (count went 0 -> 1), and
    // how often endBusy came without a matching beginBusy.
    int busyDepth() const { return m_busyDepth; }
    int busyShownCount() const { return m_busyShown; }
    int busyUnderflows() const { return m_busyUnderflows; }
    int drainCount() const { return m_drainCount; }

private:
    enum class ReplyKind : uint8_t { Answer, Open, Save, Cancel };
    struct Reply {
        ReplyKind kind = ReplyKind::Answer;
        Answer answer = Answer::No;
        std::vector<std::string> paths;
    };

    // The head of the script when it fits, else nothing (and the request is noted).
    std::optional<Reply> takeReply(bool fits, std::string_view request);
    void record(FrameEvent event);
    void runNestedLoopAction();

    struct Timer {
        uint64_t interval = 1;
        uint64_t due = 0;
        std::function<void()> tick;
    };

    std::deque<Reply> m_script;
    std::deque<SearchDialogScript> m_searchDialogScripts;
    std::deque<DialogScript> m_dialogScripts;
    std::unique_ptr<SearchDialogSession> m_searchDialog;
    bool m_searchDialogSaved = true;
    std::map<TimerId, Timer> m_timers;
    TimerId m_nextTimer = 1;
    uint64_t m_now = 0;
    std::vector<FrameEvent> m_events;
    std::vector<std::string> m_unexpected;
    std::function<void(const FrameEvent&)> m_observer;
    int m_busyDepth = 0;
    int m_busyShown = 0;
    int m_busyUnderflows = 0;
    int m_drainCount = 0;
    std::function<void()> m_nestedLoopAction;
    int m_printPages = 1;
};

} // namespace vexa
