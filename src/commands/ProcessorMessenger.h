// A messenger whose status messages take the processor's road (held messages, "MakeSound").
#pragma once

#include <string_view>

#include "core/Messenger.h"

namespace vexa {

class CommandProcessor;

// Lets parts written against a plain messenger, such as the search actions and dialog models,
// report the way every editor function does; everything else goes straight to the frame.
class ProcessorMessenger final : public Messenger {
public:
    explicit ProcessorMessenger(CommandProcessor& processor) : m_processor(processor) {}

    void status(std::string_view text, platform::SoundKind sound, Hold hold = Hold::No) override;
    void messageBox(std::string_view text, std::string_view title = kErrorTitle) override;
    Answer ask(std::string_view text, std::string_view title, Question kind = Question::YesNo) override;
    void beginBusy() override;
    void endBusy() override;
    void drainEvents() override;

private:
    CommandProcessor& m_processor;
};

} // namespace vexa
