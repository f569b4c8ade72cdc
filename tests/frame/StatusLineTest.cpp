// Tests of the status line model against a fake clock, a counting sound player and fake lock keys.
#include "frame/StatusLine.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "support/FakeClock.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using platform::SoundKind;

class PaneLog final : public StatusLineObserver {
public:
    void paneChanged(StatusPane pane, std::string_view text) override {
        changes.push_back({pane, std::string(text)});
    }
    int count(StatusPane pane) const {
        int n = 0;
        for (const auto& change : changes) {
            n += change.first == pane ? 1 : 0;
        }
        return n;
    }
    std::vector<std::pair<StatusPane, std::string>> changes;
};

class StatusLineTest : public ::testing::Test {
protected:
    StatusLineTest() : m_line(m_clock, m_sound, [this](int key) { return m_toggled[key]; }) {
        m_line.setObserver(&m_log);
        m_log.changes.clear(); // the texts a new observer is told at once
    }

    void setTime(int hour, int minute, int second) {
        platform::LocalTime time;
        time.hour = hour;
        time.minute = minute;
        time.second = second;
        m_clock.setLocalTime(time);
    }

    // Runs ticks until the next one that checks the message time-out (every fifth after the first six).
    void tickToNextTimeoutCheck() {
        do {
            m_line.tick();
            ++m_ticks;
        } while (!(m_ticks == 6 || (m_ticks > 6 && (m_ticks - 6) % 5 == 0)));
    }

    test::TempHome m_home;
    test::FakeClock m_clock;
    platform::SilentSoundPlayer m_sound;
    std::map<int, bool> m_toggled;
    PaneLog m_log;
    StatusLine m_line;
    int m_ticks = 0;
};

TEST_F(StatusLineTest, ClockTextsInBothForms) {
    struct Case {
        int hour, minute, second;
        bool clock24;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {0, 5, 0, false, " 12:05 AM"},    {12, 30, 0, false, " 12:30 PM"}, {13, 0, 0, false, " 01:00 PM"},
        {11, 59, 59, false, " 11:59 AM"}, {23, 59, 0, false, " 11:59 PM"}, {1, 2, 3, false, " 01:02 AM"},
        {0, 5, 9, true, "00:05:09"},      {13, 0, 0, true, "13:00:00"},    {23, 59, 59, true, "23:59:59"},
    };
    for (const Case& c : cases) {
        StatusLine line(m_clock, m_sound, {});
        line.setClock24Hour(c.clock24);
        setTime(c.hour, c.minute, c.second);
        line.tick(); // the first tick does not refresh the clock
        EXPECT_EQ(line.text(StatusPane::Clock), "");
        line.tick();
        EXPECT_EQ(line.text(StatusPane::Clock), c.expected) << c.hour << ":" << c.minute;
    }
}

TEST_F(StatusLineTest, ClockIsRefreshedOnOddCounterValues) {
    m_line.setClock24Hour(true);
    std::vector<int> refreshedOn;
    for (int tick = 1; tick <= 12; ++tick) {
        setTime(10, 0, tick); // a new second every tick, so every refresh rewrites the text
        const int before = m_log.count(StatusPane::Clock);
        m_line.tick();
        if (m_log.count(StatusPane::Clock) != before) {
            refreshedOn.push_back(tick);
        }
    }
    // The counter runs 0..5 and restarts at 1, so the refresh after the fifth comes one tick early.
    EXPECT_EQ(refreshedOn, (std::vector<int>{2, 4, 6, 7, 9, 11, 12}));
}

TEST_F(StatusLineTest, ANewObserverIsToldEveryPaneAsItIsNow) {
    m_line.setIndicator(Indicator::Mode, true);
    m_line.showEditPosition(3, 4);
    PaneLog late;
    m_line.setObserver(&late);
    ASSERT_EQ(late.changes.size(), kStatusPaneCount);
    for (const auto& [pane, text] : late.changes) {
        EXPECT_EQ(text, m_line.text(pane));
    }
    EXPECT_NE(m_line.text(StatusPane::Mode), "");
}

TEST_F(StatusLineTest, UnchangedTextsAreNotRewritten) {
    setTime(9, 15, 0);
    m_toggled[20] = true;
    for (int tick = 0; tick < 12; ++tick) {
        m_line.tick();
    }
    EXPECT_EQ(m_log.count(StatusPane::Clock), 1);
    EXPECT_EQ(m_log.count(StatusPane::CapsLock), 1);
    m_line.setIndicator(Indicator::Changed, true);
    m_line.setIndicator(Indicator::Changed, true);
    m_line.showEditPosition(3, 4);
    m_line.showEditPosition(3, 4);
    EXPECT_EQ(m_log.count(StatusPane::Changed), 1);
    EXPECT_EQ(m_log.count(StatusPane::Position), 1);
}

TEST_F(StatusLineTest, IndicatorTexts) {
    struct Case {
        Indicator indicator;
        bool on;
        StatusPane pane;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {Indicator::Changed, true, StatusPane::Changed, "CHG"},
        {Indicator::Changed, false, StatusPane::Changed, ""},
        {Indicator::ReadOnly, true, StatusPane::ReadOnly, " RO"},
        {Indicator::ReadOnly, false, StatusPane::ReadOnly, ""},
        {Indicator::Wrap, true, StatusPane::Wrap, " WRAP"},
        {Indicator::Wrap, false, StatusPane::Wrap, ""},
        {Indicator::Recording, true, StatusPane::Recording, "REC"},
        {Indicator::Recording, false, StatusPane::Recording, ""},
        {Indicator::Mode, true, StatusPane::Mode, " INS"},
        {Indicator::Mode, false, StatusPane::Mode, "OVR "},
    };
    for (const Case& c : cases) {
        m_line.setIndicator(c.indicator, c.on);
        EXPECT_EQ(m_line.text(c.pane), c.expected);
    }
    m_line.blankMode();
    EXPECT_EQ(m_line.text(StatusPane::Mode), "    ");
}

TEST_F(StatusLineTest, PositionFollowsTheActiveWindows) {
    struct Case {
        CursorWindow window;
        uint32_t line;
        int32_t column;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {CursorWindow::ActiveEditPane, 0, 0, " L:00001 C:0001"},
        {CursorWindow::ActiveEditPane, 41, 6, " L:00042 C:0007"},
        {CursorWindow::Other, 7, 7, " L:00042 C:0007"}, // another window leaves the pane alone
        {CursorWindow::ActiveEditPane, 123455, 12344, " L:123456 C:12345"},
        {CursorWindow::ActiveOutputWindow, 0, 99, " Line:00001"},
        {CursorWindow::ActiveOutputWindow, 99998, 0, " Line:99999"},
        {CursorWindow::Other, 1, 1, " Line:99999"},
        {CursorWindow::ActiveEditPane, 0, std::numeric_limits<int32_t>::max(), " L:00001 C:2147483647"},
    };
    for (const Case& c : cases) {
        m_line.cursorMoved(c.window, c.line, c.column);
        EXPECT_EQ(m_line.text(StatusPane::Position), c.expected);
    }
}

TEST_F(StatusLineTest, KeyStatePanesShowTheLockKeys) {
    struct Case {
        bool num, caps, scroll;
    };
    const std::vector<Case> cases = {{true, false, false},
                                     {false, true, false},
                                     {false, false, true},
                                     {true, true, true},
                                     {false, false, false}};
    for (const Case& c : cases) {
        m_toggled[144] = c.num;
        m_toggled[20] = c.caps;
        m_toggled[145] = c.scroll;
        m_line.refreshKeyStates();
        EXPECT_EQ(m_line.text(StatusPane::NumLock), c.num ? "NUM" : "");
        EXPECT_EQ(m_line.text(StatusPane::CapsLock), c.caps ? "CAPS" : "");
        EXPECT_EQ(m_line.text(StatusPane::ScrollLock), c.scroll ? "SCRL" : "");
    }
    // Every tick reads the keys too.
    m_toggled[145] = true;
    m_line.tick();
    EXPECT_EQ(m_line.text(StatusPane::ScrollLock), "SCRL");
}

TEST_F(StatusLineTest, MessageTimeOutAfterMoreThanEightWholeSeconds) {
    struct Case {
        uint64_t elapsedAtCheck;
        MessageTimeout timeout;
        bool shown;
        std::string text;
    };
    const std::vector<Case> cases = {
        {8000, MessageTimeout::Clear, true, "Saved"}, {8999, MessageTimeout::Clear, true, "Saved"},
        {9000, MessageTimeout::Clear, false, ""},     {60000, MessageTimeout::Clear, false, ""},
        {9000, MessageTimeout::Keep, false, "Saved"}, {8999, MessageTimeout::Keep, true, "Saved"},
    };
    for (const Case& c : cases) {
        m_ticks = 0;
        StatusLine line(m_clock, m_sound, {});
        m_clock.setTicks(1000000);
        line.showMessage("Saved", c.timeout, MessageBeep::No);
        m_clock.advance(c.elapsedAtCheck);
        for (int tick = 0; tick < 6; ++tick) {
            line.tick(); // the sixth tick is the first time-out check
        }
        EXPECT_EQ(line.isMessageShown(), c.shown) << c.elapsedAtCheck;
        EXPECT_EQ(line.text(StatusPane::Message), c.text) << c.elapsedAtCheck;
    }
}

TEST_F(StatusLineTest, TimeOutRunsOnlyAtItsChecks) {
    m_line.showMessage("Write successful.", MessageTimeout::Clear, MessageBeep::No);
    m_clock.advance(20000);
    for (int tick = 0; tick < 5; ++tick) {
        m_line.tick();
    }
    EXPECT_EQ(m_line.text(StatusPane::Message), "Write successful.");
    m_line.tick();
    EXPECT_EQ(m_line.text(StatusPane::Message), "");
}

TEST_F(StatusLineTest, ShowingTheSameTextAgainRestartsItsTime) {
    m_line.showMessage("Busy", MessageTimeout::Clear, MessageBeep::No);
    m_clock.advance(7000);
    m_line.showMessage("Busy", MessageTimeout::Clear, MessageBeep::No);
    EXPECT_EQ(m_log.count(StatusPane::Message), 1);
    m_clock.advance(3000);
    tickToNextTimeoutCheck();
    EXPECT_EQ(m_line.text(StatusPane::Message), "Busy");
    m_clock.advance(6000);
    tickToNextTimeoutCheck();
    EXPECT_EQ(m_line.text(StatusPane::Message), "");
}

TEST_F(StatusLineTest, MessageSounds) {
    struct Case {
        bool soundEnabled;
        SoundKind kind;
        bool beepExpected;
    };
    const std::vector<Case> cases = {
        {true, SoundKind::Information, true},
        {true, SoundKind::Error, true},
        {true, SoundKind::None, false},
        {false, SoundKind::Exclamation, false},
    };
    for (const Case& c : cases) {
        platform::SilentSoundPlayer sound;
        StatusLine line(m_clock, sound, {});
        line.setSoundEnabled(c.soundEnabled);
        EXPECT_TRUE(line.report("text", c.kind));
        EXPECT_EQ(sound.count(), c.beepExpected ? 1 : 0);
        if (c.beepExpected) {
            EXPECT_EQ(sound.last(), c.kind);
        }
        line.showMessage("other", MessageTimeout::Keep, MessageBeep::Yes);
        EXPECT_EQ(sound.count(), c.soundEnabled ? (c.beepExpected ? 2 : 1) : 0);
        if (c.soundEnabled) {
            EXPECT_EQ(sound.last(), SoundKind::Exclamation);
        }
    }
}

TEST_F(StatusLineTest, HeldMessageDropsNewOnesUntilItHasGone) {
    ASSERT_TRUE(m_line.report("Script line 4: syntax error", SoundKind::Error));
    m_line.setHold(true);
    EXPECT_FALSE(m_line.report("The document can not be changed as it is marked as 'Read Only'",
                               SoundKind::Information));
    EXPECT_EQ(m_line.text(StatusPane::Message), "Script line 4: syntax error");
    EXPECT_EQ(m_sound.count(), 1);
    EXPECT_TRUE(m_line.isHeld());

    m_clock.advance(9000);
    tickToNextTimeoutCheck();
    EXPECT_FALSE(m_line.isMessageShown());
    EXPECT_FALSE(m_line.isHeld());
    EXPECT_TRUE(m_line.report("Write successful.", SoundKind::Information));
    EXPECT_EQ(m_line.text(StatusPane::Message), "Write successful.");
    EXPECT_EQ(m_sound.count(), 2);
}

TEST_F(StatusLineTest, ReportedMessagesClearAtTheirTimeOutUnlessKept) {
    for (MessageTimeout timeout : {MessageTimeout::Clear, MessageTimeout::Keep}) {
        m_ticks = 0;
        StatusLine line(m_clock, m_sound, {});
        ASSERT_TRUE(line.report("Write successful.", SoundKind::None, timeout));
        m_clock.advance(9000);
        for (int tick = 0; tick < 6; ++tick) {
            line.tick();
        }
        EXPECT_FALSE(line.isMessageShown());
        EXPECT_EQ(line.text(StatusPane::Message), timeout == MessageTimeout::Keep ? "Write successful." : "");
    }
}

TEST_F(StatusLineTest, HoldWithoutAShownMessageFallsAtTheNextReport) {
    m_line.setHold(true);
    EXPECT_TRUE(m_line.report("Ready", SoundKind::None));
    EXPECT_FALSE(m_line.isHeld());
    EXPECT_TRUE(m_line.report("Next", SoundKind::None));
    EXPECT_EQ(m_line.text(StatusPane::Message), "Next");
}

TEST_F(StatusLineTest, ClearAllEmptiesIndicatorsAndMessageButKeepsKeysAndClock) {
    m_toggled[144] = true;
    setTime(8, 0, 0);
    m_line.tick();
    m_line.tick();
    m_line.setIndicator(Indicator::Changed, true);
    m_line.setIndicator(Indicator::ReadOnly, true);
    m_line.setIndicator(Indicator::Wrap, true);
    m_line.setIndicator(Indicator::Recording, true);
    m_line.setIndicator(Indicator::Mode, false);
    m_line.showEditPosition(1, 1);
    m_line.showMessage("hello", MessageTimeout::Keep, MessageBeep::No);

    m_line.clearAll();
    for (StatusPane pane : {StatusPane::Message, StatusPane::Changed, StatusPane::ReadOnly, StatusPane::Wrap,
                            StatusPane::Recording, StatusPane::Mode, StatusPane::Position}) {
        EXPECT_EQ(m_line.text(pane), "") << static_cast<int>(pane);
    }
    EXPECT_FALSE(m_line.isMessageShown());
    EXPECT_EQ(m_line.text(StatusPane::NumLock), "NUM");
    EXPECT_EQ(m_line.text(StatusPane::Clock), " 08:00 AM");
}

} // namespace
} // namespace vexa
