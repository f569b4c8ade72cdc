// A messenger over the command processor's status road.
#include "commands/ProcessorMessenger.h"

#include "commands/CommandProcessor.h"
#include "frame/Frame.h"

namespace vexa {

void ProcessorMessenger::status(std::string_view text, platform::SoundKind sound, Hold hold) {
    if (hold == Hold::Yes) {
        m_processor.frame().status(text, sound, hold);
        return;
    }
    m_processor.showStatus(text, sound);
}

void ProcessorMessenger::messageBox(std::string_view text, std::string_view title) {
    m_processor.frame().messageBox(text, title);
}

Answer ProcessorMessenger::ask(std::string_view text, std::string_view title, Question kind) {
    return m_processor.frame().ask(text, title, kind);
}

void ProcessorMessenger::beginBusy() {
    m_processor.frame().beginBusy();
}

void ProcessorMessenger::endBusy() {
    m_processor.frame().endBusy();
}

void ProcessorMessenger::drainEvents() {
    m_processor.frame().drainEvents();
}

} // namespace vexa
