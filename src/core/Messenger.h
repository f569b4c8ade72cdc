// How the behaviour speaks to the user: status messages, message boxes, questions, the busy cursor.
// The frame implements it (the Qt main window, or the headless frame of tests and batch runs).
#pragma once

#include <span>
#include <string_view>

#include "platform/Sound.h"

namespace vexa {

inline constexpr std::string_view kErrorTitle = "Vexa Error";

enum class Answer { Yes, No, Cancel };

enum class Question { YesNo, YesNoCancel };

// Whether a status message stays until the next one replaces it or is cleared by the next command.
enum class Hold { No, Yes };

class Messenger {
public:
    virtual ~Messenger() = default;

    // A message on the status line with its sound kind (the frame decides from "MakeSound"
    // whether the sound is made).
    virtual void status(std::string_view text, platform::SoundKind sound, Hold hold = Hold::No) = 0;

    // A message box with one OK button.
    virtual void messageBox(std::string_view text, std::string_view title = kErrorTitle) = 0;

    // A question; YesNo never answers Cancel.
    virtual Answer ask(std::string_view text, std::string_view title, Question kind = Question::YesNo) = 0;

    // A question with buttons of its own; the index of the button pressed. The default button
    // is what Enter presses; a frame that cannot ask gives it.
    virtual int choose(std::string_view /*text*/, std::string_view /*title*/,
                       std::span<const std::string_view> /*buttons*/, int defaultButton) {
        return defaultButton;
    }

    // The busy cursor is a nesting counter: shown on the first begin, removed when the count
    // returns to zero. Use BusyCursor rather than calling these directly.
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;

    // Lets the user interface handle pending events during a long operation.
    virtual void drainEvents() {}
};

// Shows the busy cursor for its lifetime.
class BusyCursor {
public:
    explicit BusyCursor(Messenger& messenger) : m_messenger(messenger) { m_messenger.beginBusy(); }
    ~BusyCursor() { m_messenger.endBusy(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Messenger& m_messenger;
};

} // namespace vexa
