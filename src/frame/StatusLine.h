// The status line model: the message area with its time-out and hold flag, the indicator panes, the
// key-state panes, the clock and the cursor position, observed by the status bar of the window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/Sound.h"
#include "text/TextEncoding.h"

namespace vexa {

// Every pane of the status line. The order, widths and drawing belong to the window.
enum class StatusPane : uint8_t {
    Message,
    Changed,
    ReadOnly,
    Wrap,
    Recording,
    Mode,
    Format,
    Position,
    NumLock,
    CapsLock,
    ScrollLock,
    Clock,
};
inline constexpr std::size_t kStatusPaneCount = 12;

// The panes that show the state of the active document and the editor.
enum class Indicator : uint8_t { Changed, ReadOnly, Wrap, Recording, Mode };

// Whether a message is emptied when its time runs out, or stays until another replaces it.
enum class MessageTimeout : uint8_t { Keep, Clear };

// Whether showing a message plays the exclamation sound.
enum class MessageBeep : uint8_t { No, Yes };

// The window whose cursor moved, as the frame sees it.
enum class CursorWindow : uint8_t { ActiveEditPane, ActiveOutputWindow, Other };

// Told of every pane whose text was rewritten; texts that did not change are not rewritten.
class StatusLineObserver {
public:
    virtual ~StatusLineObserver() = default;
    virtual void paneChanged(StatusPane pane, std::string_view text) = 0;
};

// Reads whether a key's toggle state (Num Lock, Caps Lock, Scroll Lock) is on, by virtual-key code.
using KeyToggleReader = std::function<bool(int virtualKey)>;

class StatusLine {
public:
    // Messages that have stood this many whole seconds are timed out.
    static constexpr uint64_t kMessageSeconds = 8;

    StatusLine(const platform::Clock& clock, platform::SoundPlayer& sound, KeyToggleReader keyToggles);

    // The observer is not owned; nullptr detaches it.
    // A new observer is told every pane's current text at once.
    void setObserver(StatusLineObserver* observer);

    // Shows a message: a different text replaces the shown one, the message counts as shown from now
    // and the time-out rule is the given one. With a beep the exclamation sound is played.
    void showMessage(std::string_view text, MessageTimeout timeout, MessageBeep beep);

    // How every editor function reports: while the hold flag is set and a message is still shown, the
    // message and its sound are dropped (false). Otherwise the hold flag falls and the message is shown
    // with the given time-out rule (cleared at its time-out unless told otherwise), and its sound is
    // played.
    bool report(std::string_view text, platform::SoundKind sound,
                MessageTimeout timeout = MessageTimeout::Clear);

    // Set by whoever shows a message that must stay visible (script runner, spelling, templates).
    void setHold(bool hold) { m_hold = hold; }
    bool isHeld() const { return m_hold; }

    // "MakeSound": when off, no message makes a sound.
    void setSoundEnabled(bool enabled) { m_soundEnabled = enabled; }

    bool isMessageShown() const { return m_messageShown; }

    void setIndicator(Indicator indicator, bool on);
    // Blanks the insert/overwrite pane to four spaces.
    void blankMode();

    // The cursor of a window moved; only the active edit pane and the active output window show it.
    void cursorMoved(CursorWindow window, uint32_t line, int32_t column);
    void showEditPosition(uint32_t line, int32_t column);
    // The active document's encoding and line ends ("UTF-8 LF", "1252 CRLF"; "CRLF+LF" for a file
    // that keeps both).
    void showFormat(TextEncoding encoding, LineEnds ends, bool mixed);
    void showOutputPosition(uint32_t line);

    // "Clock24Hour"; the clock text follows at its next refresh.
    void setClock24Hour(bool on) { m_clock24Hour = on; }
    bool isClock24Hour() const { return m_clock24Hour; }

    // Reads the three lock keys again; also called on every key-down and key-up.
    void refreshKeyStates();

    // Called periodically by the frame: key states every time, the clock every second call, the
    // message time-out every fifth.
    void tick();

    // Empties the indicator panes (position included) and the message area.
    void clearAll();

    const std::string& text(StatusPane pane) const { return m_texts[static_cast<std::size_t>(pane)]; }

private:
    void setText(StatusPane pane, std::string_view text);
    void play(platform::SoundKind sound);
    void refreshClock();
    void runMessageTimeout();

    const platform::Clock& m_clock;
    platform::SoundPlayer& m_sound;
    KeyToggleReader m_keyToggles;
    StatusLineObserver* m_observer = nullptr;

    std::array<std::string, kStatusPaneCount> m_texts;

    bool m_messageShown = false;
    MessageTimeout m_messageTimeout = MessageTimeout::Keep;
    uint64_t m_messageSetAt = 0;
    bool m_hold = false;
    bool m_soundEnabled = true;

    bool m_clock24Hour = false;
    int m_tickCounter = 0;
};

} // namespace vexa
