// A messenger that shows nothing and answers No: for loading and saving in the benchmarks.
#pragma once

#include "core/Messenger.h"

namespace vexa::bench {

class QuietMessenger final : public Messenger {
public:
    void status(std::string_view, platform::SoundKind, Hold) override {}
    void messageBox(std::string_view, std::string_view) override {}
    Answer ask(std::string_view, std::string_view, Question) override { return Answer::No; }
    void beginBusy() override {}
    void endBusy() override {}
};

} // namespace vexa::bench
