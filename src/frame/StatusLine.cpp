// The status line model: message time-out and hold flag, pane texts, clock formats.
#include "frame/StatusLine.h"

#include <limits>
#include <utility>

#include "settings/Format.h"

namespace vexa {

void StatusLine::setObserver(StatusLineObserver* observer) {
    m_observer = observer;
    if (m_observer == nullptr) {
        return;
    }
    for (std::size_t pane = 0; pane < kStatusPaneCount; ++pane) {
        m_observer->paneChanged(static_cast<StatusPane>(pane), m_texts[pane]);
    }
}

namespace {

struct IndicatorTexts {
    StatusPane pane;
    std::string_view on;
    std::string_view off;
};

// Indexed by Indicator.
constexpr std::array<IndicatorTexts, 5> kIndicators = {{
    {StatusPane::Changed, "CHG", ""},
    {StatusPane::ReadOnly, " RO", ""},
    {StatusPane::Wrap, " WRAP", ""},
    {StatusPane::Recording, "REC", ""},
    {StatusPane::Mode, " INS", "OVR "},
}};

struct KeyStatePane {
    StatusPane pane;
    int virtualKey;
    std::string_view text;
};

constexpr std::array<KeyStatePane, 3> kKeyStatePanes = {{
    {StatusPane::NumLock, 144, "NUM"},
    {StatusPane::CapsLock, 20, "CAPS"},
    {StatusPane::ScrollLock, 145, "SCRL"},
}};

constexpr int kTimeoutEveryTicks = 5;

} // namespace

StatusLine::StatusLine(const platform::Clock& clock, platform::SoundPlayer& sound, KeyToggleReader keyToggles)
    : m_clock(clock), m_sound(sound), m_keyToggles(std::move(keyToggles)) {}

void StatusLine::setText(StatusPane pane, std::string_view text) {
    std::string& current = m_texts[static_cast<std::size_t>(pane)];
    if (current == text) {
        return;
    }
    current.assign(text);
    if (m_observer != nullptr) {
        m_observer->paneChanged(pane, current);
    }
}

void StatusLine::play(platform::SoundKind sound) {
    if (m_soundEnabled && sound != platform::SoundKind::None) {
        m_sound.beep(sound);
    }
}

void StatusLine::showMessage(std::string_view text, MessageTimeout timeout, MessageBeep beep) {
    setText(StatusPane::Message, text);
    m_messageShown = true;
    m_messageTimeout = timeout;
    m_messageSetAt = m_clock.tickCount();
    if (beep == MessageBeep::Yes) {
        play(platform::SoundKind::Exclamation);
    }
}

bool StatusLine::report(std::string_view text, platform::SoundKind sound, MessageTimeout timeout) {
    if (m_hold) {
        if (m_messageShown) {
            return false;
        }
        m_hold = false;
    }
    showMessage(text, timeout, MessageBeep::No);
    play(sound);
    return true;
}

void StatusLine::setIndicator(Indicator indicator, bool on) {
    const IndicatorTexts& texts = kIndicators[static_cast<std::size_t>(indicator)];
    setText(texts.pane, on ? texts.on : texts.off);
}

void StatusLine::blankMode() {
    setText(StatusPane::Mode, "    ");
}

void StatusLine::cursorMoved(CursorWindow window, uint32_t line, int32_t column) {
    switch (window) {
    case CursorWindow::ActiveEditPane:
        showEditPosition(line, column);
        break;
    case CursorWindow::ActiveOutputWindow:
        showOutputPosition(line);
        break;
    case CursorWindow::Other:
        break;
    }
}

void StatusLine::showEditPosition(uint32_t line, int32_t column) {
    // A column at the very top of its range would overflow when made one-based; it cannot occur in
    // a document, so it is shown as the largest column instead of wrapping to a negative number.
    const int shownColumn = column < std::numeric_limits<int32_t>::max() ? column + 1 : column;
    setText(StatusPane::Position,
            formatText(" L:%5.5u C:%4.4d", static_cast<unsigned>(line + 1u), static_cast<int>(shownColumn)));
}

void StatusLine::showOutputPosition(uint32_t line) {
    setText(StatusPane::Position, formatText(" Line:%5.5u", static_cast<unsigned>(line + 1u)));
}

void StatusLine::refreshKeyStates() {
    for (const KeyStatePane& key : kKeyStatePanes) {
        const bool on = m_keyToggles && m_keyToggles(key.virtualKey);
        setText(key.pane, on ? key.text : std::string_view{});
    }
}

void StatusLine::refreshClock() {
    const platform::LocalTime now = m_clock.localTime();
    if (m_clock24Hour) {
        setText(StatusPane::Clock, formatText("%2.2d:%2.2d:%2.2d", now.hour, now.minute, now.second));
        return;
    }
    const int hour12 = now.hour % 12 == 0 ? 12 : now.hour % 12;
    setText(StatusPane::Clock,
            formatText(" %2.2d:%2.2d %2s", hour12, now.minute, now.hour < 12 ? "AM" : "PM"));
}

void StatusLine::runMessageTimeout() {
    if (!m_messageShown) {
        return;
    }
    const uint64_t now = m_clock.tickCount();
    const uint64_t elapsedSeconds = now > m_messageSetAt ? (now - m_messageSetAt) / 1000 : 0;
    if (elapsedSeconds <= kMessageSeconds) {
        return;
    }
    m_messageShown = false;
    // The message that the hold flag protected has gone, so the flag falls with it.
    m_hold = false;
    if (m_messageTimeout == MessageTimeout::Clear) {
        setText(StatusPane::Message, "");
    }
}

void StatusLine::tick() {
    refreshKeyStates();
    if (m_tickCounter % 2 == 1) {
        refreshClock();
    }
    if (m_tickCounter >= kTimeoutEveryTicks) {
        m_tickCounter = 0;
        runMessageTimeout();
    }
    ++m_tickCounter;
}

void StatusLine::showFormat(TextEncoding encoding, LineEnds ends, bool mixed) {
    std::string text(encodingName(encoding));
    text += ' ';
    text += mixed ? (ends == LineEnds::Dos ? "CRLF+LF" : "LF+CRLF") : lineEndsName(ends);
    setText(StatusPane::Format, text);
}

void StatusLine::clearAll() {
    for (const IndicatorTexts& indicator : kIndicators) {
        setText(indicator.pane, "");
    }
    setText(StatusPane::Format, "");
    setText(StatusPane::Position, "");
    setText(StatusPane::Message, "");
    m_messageShown = false;
}

} // namespace vexa
