// The option and state functions, sounds, the version, the cursor tests and the unimplemented ones.
#pragma once

#include <cstdint>
#include <string_view>

#include "commands/FunctionTable.h"

namespace vexa {

class CommandProcessor;

class OptionCommands {
public:
    static constexpr std::string_view kVersionText = "Vexa for Windows 95, Windows NT Version 2.50";

    explicit OptionCommands(CommandProcessor& processor) : m_processor(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

private:
    enum class Switch : uint8_t { Set, Reset, Toggle };
    // One switchable option: its new value, the indicator it drives and its message.
    int32_t switchOption(int& value, Switch action, const char* message);
    int32_t switchReadOnly(Switch action);
    void updateIndicators();

    CommandProcessor& m_processor;
};

} // namespace vexa
