// The headless frame: what it records, how it answers from its script, and the busy counter.
#include "frame/HeadlessFrame.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

using platform::SoundKind;

TEST(HeadlessFrame, RecordsMessagesInOrderWithTitlesSoundsAndHold) {
    HeadlessFrame frame;
    Messenger& messenger = frame;
    messenger.status("Saved.", SoundKind::Information);
    messenger.messageBox("Cannot open the file");
    messenger.status("Wrapped", SoundKind::Exclamation, Hold::Yes);
    frame.beep(SoundKind::Error);
    messenger.messageBox("Out of memory", "No Memory");

    const auto& events = frame.events();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].kind, FrameEventKind::Status);
    EXPECT_EQ(events[0].text, "Saved.");
    EXPECT_EQ(events[0].sound, SoundKind::Information);
    EXPECT_EQ(events[0].hold, Hold::No);
    EXPECT_EQ(events[1].kind, FrameEventKind::MessageBox);
    EXPECT_EQ(events[1].title, "Vexa Error");
    EXPECT_EQ(events[2].hold, Hold::Yes);
    EXPECT_EQ(events[3].kind, FrameEventKind::Beep);
    EXPECT_EQ(events[3].sound, SoundKind::Error);
    EXPECT_EQ(events[4].title, "No Memory");

    EXPECT_EQ(frame.lastStatus(), "Wrapped");
    EXPECT_EQ(frame.eventsOf(FrameEventKind::MessageBox).size(), 2u);
    EXPECT_TRUE(frame.unexpected().empty());

    frame.clearEvents();
    EXPECT_TRUE(frame.events().empty());
    EXPECT_EQ(frame.lastStatus(), "");
}

struct QuestionCase {
    const char* name;
    std::vector<Answer> script;
    Question kind;
    Answer expected;
    bool expectUnexpected;
    std::size_t unusedAfter;
};

TEST(HeadlessFrame, AnswersQuestionsFromTheScriptOrWithTheSafeDefault) {
    const QuestionCase kCases[] = {
        {"scripted yes", {Answer::Yes}, Question::YesNo, Answer::Yes, false, 0},
        {"scripted no", {Answer::No}, Question::YesNoCancel, Answer::No, false, 0},
        {"scripted cancel", {Answer::Cancel}, Question::YesNoCancel, Answer::Cancel, false, 0},
        {"only the first is used", {Answer::Yes, Answer::No}, Question::YesNo, Answer::Yes, false, 1},
        {"empty script, yes/no", {}, Question::YesNo, Answer::No, true, 0},
        {"empty script, with cancel", {}, Question::YesNoCancel, Answer::Cancel, true, 0},
        {"cancel cannot answer yes/no", {Answer::Cancel}, Question::YesNo, Answer::No, true, 1},
    };
    for (const QuestionCase& c : kCases) {
        HeadlessFrame frame;
        for (Answer a : c.script) {
            frame.answerNext(a);
        }
        EXPECT_EQ(frame.ask("Save changes?", kErrorTitle, c.kind), c.expected) << c.name;
        EXPECT_EQ(!frame.unexpected().empty(), c.expectUnexpected) << c.name;
        EXPECT_EQ(frame.unusedReplies(), c.unusedAfter) << c.name;
        auto questions = frame.eventsOf(FrameEventKind::Question);
        ASSERT_EQ(questions.size(), 1u) << c.name;
        EXPECT_EQ(questions[0].text, "Save changes?");
        EXPECT_EQ(questions[0].title, "Vexa Error");
        EXPECT_EQ(questions[0].question, c.kind);
        EXPECT_EQ(questions[0].answer, c.expected);
        EXPECT_EQ(questions[0].scripted, !c.expectUnexpected) << c.name;
    }
}

TEST(HeadlessFrame, UnexpectedQuestionIsNamedInTheReport) {
    HeadlessFrame frame;
    (void)frame.ask("Reload the file?", "Vexa");
    ASSERT_EQ(frame.unexpected().size(), 1u);
    EXPECT_NE(frame.unexpected()[0].find("Reload the file?"), std::string::npos);
}

TEST(HeadlessFrame, OpenDialogReturnsScriptedPathsOrNothing) {
    FileDialogRequest several;
    several.title = "Open";
    several.selection = FileSelection::Several;
    FileDialogRequest one;
    one.title = "Open one";
    one.initialName = "*.c";

    HeadlessFrame frame;
    frame.chooseNextOpen({"/src/a.c", "/src/b.c"});
    frame.cancelNextDialog();
    frame.chooseNextOpen({"/src/c.c"});
    EXPECT_EQ(frame.chooseFilesToOpen(several), (std::vector<std::string>{"/src/a.c", "/src/b.c"}));
    EXPECT_TRUE(frame.chooseFilesToOpen(several).empty());
    EXPECT_EQ(frame.chooseFilesToOpen(one), (std::vector<std::string>{"/src/c.c"}));
    EXPECT_TRUE(frame.unexpected().empty());
    EXPECT_EQ(frame.unusedReplies(), 0u);

    auto dialogs = frame.eventsOf(FrameEventKind::OpenDialog);
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(dialogs[0].text, "Open");
    EXPECT_EQ(dialogs[1].paths.size(), 0u);
    EXPECT_TRUE(dialogs[1].scripted);
    EXPECT_EQ(dialogs[2].dialog.initialName, "*.c");
    EXPECT_EQ(dialogs[0].dialog.selection, FileSelection::Several);

    // Unscripted, the dialog is cancelled and noted.
    EXPECT_TRUE(frame.chooseFilesToOpen(one).empty());
    EXPECT_EQ(frame.unexpected().size(), 1u);
}

TEST(HeadlessFrame, RepliesThatDoNotFitStayQueued) {
    FileDialogRequest one;
    one.title = "Open";
    FileDialogRequest save;
    save.title = "Save As";

    HeadlessFrame frame;
    // Two names cannot come from a single-selection dialog.
    frame.chooseNextOpen({"/a", "/b"});
    EXPECT_TRUE(frame.chooseFilesToOpen(one).empty());
    EXPECT_EQ(frame.unusedReplies(), 1u);
    // An open reply does not fit a save dialog, nor an answer a dialog.
    EXPECT_FALSE(frame.chooseFileToSave(save).has_value());
    EXPECT_EQ(frame.ask("Sure?", "Vexa"), Answer::No);
    EXPECT_EQ(frame.unexpected().size(), 3u);
    EXPECT_EQ(frame.unusedReplies(), 1u);
}

TEST(HeadlessFrame, SaveDialogReturnsScriptedPathOrCancel) {
    FileDialogRequest save;
    save.title = "Save As";
    save.initialName = "untitled.c";
    HeadlessFrame frame;
    frame.chooseNextSave("/home/u/new.c");
    frame.cancelNextDialog();
    EXPECT_EQ(frame.chooseFileToSave(save), "/home/u/new.c");
    EXPECT_FALSE(frame.chooseFileToSave(save).has_value());
    EXPECT_TRUE(frame.unexpected().empty());
    auto dialogs = frame.eventsOf(FrameEventKind::SaveDialog);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].dialog.initialName, "untitled.c");
    EXPECT_EQ(dialogs[0].paths, std::vector<std::string>{"/home/u/new.c"});
}

class NameDialog final : public DialogModel {
public:
    std::string_view title() const override { return "Name"; }
    std::string name;
};

TEST(HeadlessFrame, ModalDialogsRunTheirScriptInOrderAndAreCancelledWithoutOne) {
    HeadlessFrame frame;
    frame.scriptNextDialog([&frame](DialogModel& model) {
        frame.status("pressed OK", platform::SoundKind::None);
        static_cast<NameDialog&>(model).name = "typed";
        return DialogResult::Accepted;
    });
    NameDialog dialog;
    EXPECT_EQ(frame.showDialog(dialog), DialogResult::Accepted);
    EXPECT_EQ(dialog.name, "typed");
    EXPECT_EQ(frame.showDialog(dialog), DialogResult::Cancelled);

    const auto& events = frame.events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, FrameEventKind::Dialog);
    EXPECT_EQ(events[0].text, "Name");
    EXPECT_EQ(events[0].answer, Answer::Yes);
    EXPECT_TRUE(events[0].scripted);
    EXPECT_EQ(events[1].text, "pressed OK"); // what the buttons showed comes after the dialog
    EXPECT_EQ(events[2].answer, Answer::Cancel);
    EXPECT_FALSE(events[2].scripted);
    ASSERT_EQ(frame.unexpected().size(), 1u);
    EXPECT_NE(frame.unexpected()[0].find("Name"), std::string::npos);
}

TEST(HeadlessFrame, BusyCursorNestsAndCountsShowingsAndStrayEnds) {
    HeadlessFrame frame;
    {
        BusyCursor outer(frame);
        EXPECT_EQ(frame.busyDepth(), 1);
        {
            BusyCursor inner(frame);
            EXPECT_EQ(frame.busyDepth(), 2);
        }
        EXPECT_EQ(frame.busyDepth(), 1);
    }
    EXPECT_EQ(frame.busyDepth(), 0);
    EXPECT_EQ(frame.busyShownCount(), 1);
    { BusyCursor again(frame); }
    EXPECT_EQ(frame.busyShownCount(), 2);

    frame.endBusy();
    EXPECT_EQ(frame.busyUnderflows(), 1);
    EXPECT_EQ(frame.busyDepth(), 0);
}

TEST(HeadlessFrame, ObserverSeesEachEventAsItHappens) {
    HeadlessFrame frame;
    std::vector<std::string> seen;
    frame.setObserver([&seen](const FrameEvent& event) { seen.push_back(event.text); });
    frame.status("one", SoundKind::None);
    frame.answerNext(Answer::Yes);
    (void)frame.ask("two", "Vexa");
    frame.drainEvents();
    EXPECT_EQ(seen, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(frame.drainCount(), 1);
}

TEST(HeadlessFrame, TimersTickInTimeOrderAsTimeAdvances) {
    HeadlessFrame frame;
    std::vector<std::string> ticks;
    auto compile = frame.startTimer(400, [&] { ticks.push_back("compile@" + std::to_string(frame.now())); });
    auto tool = frame.startTimer(350, [&] { ticks.push_back("tool@" + std::to_string(frame.now())); });
    EXPECT_NE(compile, 0u);
    EXPECT_NE(compile, tool);

    frame.advanceTime(349);
    EXPECT_TRUE(ticks.empty());
    frame.advanceTime(851);
    EXPECT_EQ(ticks, (std::vector<std::string>{"tool@350", "compile@400", "tool@700", "compile@800",
                                               "tool@1050", "compile@1200"}));
    EXPECT_EQ(frame.now(), 1200u);

    ticks.clear();
    frame.stopTimer(compile);
    frame.stopTimer(compile);
    frame.advanceTime(400);
    EXPECT_EQ(ticks, (std::vector<std::string>{"tool@1400"}));
    EXPECT_EQ(frame.runningTimers(), 1u);
}

TEST(HeadlessFrame, TickMayStopItsOwnTimerOrStartAnother) {
    HeadlessFrame frame;
    int polls = 0;
    int followUps = 0;
    Frame::TimerId poller = 0;
    poller = frame.startTimer(400, [&] {
        // The third poll finds the work done, as a spawner's owner does.
        if (++polls == 3) {
            frame.stopTimer(poller);
            (void)frame.startTimer(100, [&] { ++followUps; });
        }
    });
    frame.advanceTime(5000);
    EXPECT_EQ(polls, 3);
    // Started at 1200, the follow-up falls due every 100 ms up to 5000.
    EXPECT_EQ(followUps, 38);
    EXPECT_EQ(frame.runningTimers(), 1u);
}

TEST(HeadlessFrame, ZeroIntervalTimerStillLetsTimeMoveOn) {
    HeadlessFrame frame;
    int ticks = 0;
    (void)frame.startTimer(0, [&] { ++ticks; });
    frame.advanceTime(10);
    EXPECT_EQ(ticks, 10);
}

} // namespace
} // namespace vexa
