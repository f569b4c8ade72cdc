// The work bound of one search operation and Escape: the budget alone, then finds and replaces
// that it ends, with a match placed where only a search that kept going would reach it.
#include "search/SearchBudget.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

#include "core/Document.h"
#include "core/Messenger.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "search/SearchActions.h"
#include "search/SearchState.h"
#include "support/SearchPaneFake.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using platform::kKeyEscape;

// A clock that moves on by a fixed step each time it is read, as time passes while work goes on.
class RunningClock final : public platform::Clock {
public:
    explicit RunningClock(uint64_t step) : m_step(step) {}
    [[nodiscard]] uint64_t tickCount() const override {
        m_ticks += m_step;
        ++reads;
        return m_ticks;
    }
    [[nodiscard]] platform::LocalTime localTime() const override { return {}; }
    mutable int reads = 0;

private:
    uint64_t m_step;
    mutable uint64_t m_ticks = 1000;
};

// The user interface: the status messages shown, and events whose draining may bring a press.
class EventsFake final : public Messenger {
public:
    void status(std::string_view text, platform::SoundKind sound, Hold hold = Hold::No) override {
        statuses.status(text, sound, hold);
    }
    void messageBox(std::string_view, std::string_view) override {}
    Answer ask(std::string_view, std::string_view, Question) override { return Answer::No; }
    void beginBusy() override {}
    void endBusy() override {}
    void drainEvents() override {
        ++drains;
        if (onDrain) {
            onDrain();
        }
    }
    test::StatusRecorder statuses;
    int drains = 0;
    std::function<void()> onDrain;
};

TEST(SearchBudget, EndsWhenTheWorkPassesTheLimit) {
    SearchBudget budget({}, 100);
    EXPECT_TRUE(budget.spend(60));
    EXPECT_TRUE(budget.spend(40));
    EXPECT_FALSE(budget.stopped());
    EXPECT_FALSE(budget.spend(1));
    EXPECT_TRUE(budget.stopped());
    EXPECT_FALSE(budget.cancelled());
    // Once ended it stays ended, also for the engine.
    EXPECT_FALSE(budget.proceed(0));
}

TEST(SearchBudget, PollsEscapeOnlyAfterTheIntervalAndAfterDrainingEvents) {
    RunningClock clock(SearchBudget::kPollIntervalMs / 2);
    platform::MemoryKeyState keys;
    EventsFake events;
    SearchBudget budget({&clock, &keys, &events});
    // Half the interval passes at each clock read: the first read polls nothing.
    EXPECT_TRUE(budget.spend(SearchBudget::kUnitsPerClockRead));
    EXPECT_EQ(events.drains, 0);
    EXPECT_TRUE(budget.spend(SearchBudget::kUnitsPerClockRead));
    EXPECT_EQ(events.drains, 1);

    // A press seen while draining ends the operation at that poll.
    events.onDrain = [&keys] { keys.tap(kKeyEscape); };
    EXPECT_TRUE(budget.spend(SearchBudget::kUnitsPerClockRead));
    EXPECT_FALSE(budget.spend(SearchBudget::kUnitsPerClockRead));
    EXPECT_TRUE(budget.stopped());
    EXPECT_TRUE(budget.cancelled());
}

TEST(SearchBudget, ShortWorkNeverReadsTheClockNorPollsTheKeys) {
    RunningClock clock(SearchBudget::kPollIntervalMs * 10);
    platform::MemoryKeyState keys;
    keys.setDown(kKeyEscape, true);
    EventsFake events;
    SearchBudget budget({&clock, &keys, &events});
    const int readsAtStart = clock.reads;
    EXPECT_TRUE(budget.spend(SearchBudget::kUnitsPerClockRead - 1));
    EXPECT_EQ(clock.reads, readsAtStart);
    EXPECT_EQ(events.drains, 0);
    EXPECT_FALSE(budget.stopped());
}

class SearchStopTest : public ::testing::Test {
protected:
    // Many lines without the text, then one with it: only a search that runs to the end finds it.
    void longDocumentEndingIn(const std::string& last, int lines = 20'000) {
        std::vector<std::string> text(static_cast<std::size_t>(lines),
                                      "    value = value * 31 + 0x1234; // plain");
        text.push_back(last);
        test::setDocumentLines(m_document, text);
        m_document.goToLine(0);
        m_document.setCursorOffset(0);
    }
    void pressEscapeAtDrain(int drain) {
        m_events.onDrain = [this, drain] {
            if (m_events.drains == drain) {
                m_keys.tap(kKeyEscape);
            }
        };
    }
    bool find() {
        m_state.attach(&m_pane);
        const bool found = m_state.findNext(true);
        m_state.detach();
        return found;
    }

    test::TempHome m_home;
    Document m_document;
    test::SearchPaneFake m_pane{m_document};
    RunningClock m_clock{20};
    platform::MemoryKeyState m_keys;
    EventsFake m_events;
    SearchState m_state;
};

TEST_F(SearchStopTest, EscapeEndsAFindWithTheNotFoundMessage) {
    struct Case {
        const char* name;
        const char* pattern;
        bool regularExpression;
    };
    const Case cases[] = {
        {"literal", "needle", false},
        {"regular expression", "ne+dle", true},
    };
    for (const Case& c : cases) {
        longDocumentEndingIn("the needle");
        m_state.setInterruption({&m_clock, &m_keys, &m_events});
        m_state.setRegularExpression(c.regularExpression);
        m_state.setFindText(c.pattern, false);

        // Without a press the find reaches the last line.
        EXPECT_TRUE(find()) << c.name;
        EXPECT_EQ(m_document.cursorLine(), 20'000) << c.name;
        EXPECT_FALSE(m_state.lastOperationStopped()) << c.name;

        m_document.goToLine(0);
        m_document.setCursorOffset(0);
        m_state.setFound(false);
        m_events.drains = 0;
        pressEscapeAtDrain(1);
        SearchActions actions(m_state, m_events);
        m_events.statuses.statuses.clear();
        EXPECT_FALSE(actions.searchNext(m_pane)) << c.name;
        EXPECT_TRUE(m_state.lastOperationStopped()) << c.name;
        EXPECT_EQ(m_events.drains, 1) << c.name;
        EXPECT_EQ(m_document.cursorLine(), 0) << c.name;
        ASSERT_EQ(m_events.statuses.statuses.size(), 1u) << c.name;
        EXPECT_EQ(m_events.statuses.statuses[0].text,
                  std::string("Reached the end of document and the search string '") + c.pattern +
                      "' was not found.")
            << c.name;
        m_events.onDrain = nullptr;
    }
}

TEST_F(SearchStopTest, EscapeEndsAMatchInsideOneLongLine) {
    // One line on which the engine itself does all the work: the press is seen between its
    // steps, not only between lines.
    std::string line = "c";
    for (int i = 0; i < 100'000; ++i) {
        line += "ab";
    }
    // "c" is there, so the line is not turned away before the engine runs.
    test::setDocumentLines(m_document, {line});
    m_state.setInterruption({&m_clock, &m_keys, &m_events});
    m_state.setRegularExpression(true);
    m_state.setFindText("(a|b)*c$", false);
    pressEscapeAtDrain(1);
    EXPECT_FALSE(find());
    EXPECT_TRUE(m_state.lastOperationStopped());
    EXPECT_EQ(m_events.drains, 1);

    // Without the press the same find ends by itself and finds nothing.
    m_events.onDrain = nullptr;
    EXPECT_FALSE(find());
    EXPECT_FALSE(m_state.lastOperationStopped());
    EXPECT_GT(m_events.drains, 1);
}

TEST_F(SearchStopTest, TheWorkBoundHoldsForEachOperationAlone) {
    longDocumentEndingIn("the needle", 2'000);
    m_state.setFindText("needle", false);
    m_state.setWorkLimit(50'000); // less than the document's bytes
    EXPECT_FALSE(find());
    EXPECT_TRUE(m_state.lastOperationStopped());
    EXPECT_EQ(m_document.cursorLine(), 0);
    // Spent work is not carried into the next operation: a near match is still found.
    m_document.goToLine(1'990);
    EXPECT_TRUE(find());
    EXPECT_EQ(m_document.cursorLine(), 2'000);
    EXPECT_FALSE(m_state.lastOperationStopped());
}

TEST_F(SearchStopTest, TheBoundGrowsWithTheFileSoALargeFileIsSearchedToItsEnd) {
    longDocumentEndingIn("the needle", 2'000);
    m_state.setFindText("needle", false);
    m_state.setWorkLimit(50'000); // less than the document's bytes
    // The same text read from a file: its size sets the bound.
    m_document.setFileContent(100'000, 0);
    EXPECT_TRUE(find());
    EXPECT_EQ(m_document.cursorLine(), 2'000);
    EXPECT_FALSE(m_state.lastOperationStopped());
}

TEST_F(SearchStopTest, ReplaceAllStopsWithWhatItReplacedSoFar) {
    std::vector<std::string> text(3'000, "some x here and more words to look through");
    test::setDocumentLines(m_document, text);
    m_state.setFindText("x", false);
    m_state.setReplaceText("y");
    m_state.setReplaceAll(true);
    m_state.setWorkLimit(30'000); // several hundred lines' worth
    m_state.attach(&m_pane);
    const int count = m_state.replace(false);
    m_state.detach();
    EXPECT_GT(count, 0);
    EXPECT_LT(count, 3'000);
    EXPECT_TRUE(m_state.lastOperationStopped());
    const std::vector<std::string> lines = test::documentLines(m_document);
    EXPECT_EQ(lines[static_cast<std::size_t>(count - 1)], "some y here and more words to look through");
    EXPECT_EQ(lines[static_cast<std::size_t>(count)], "some x here and more words to look through");
}

} // namespace
} // namespace vexa
