// The stamp functions: the date, the time and facts of the document's file typed at the cursor.
#pragma once

#include <cstdint>
#include <string>

#include "commands/FunctionTable.h"
#include "platform/Clock.h"

namespace vexa {

class CommandProcessor;

class StampCommands {
public:
    explicit StampCommands(CommandProcessor& processor) : m_processor(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

    // The standard C library's 24-character date and time ("Wed Jan 02 03:04:05 2026" with the
    // day padded by a blank), without its newline.
    static std::string dateTimeText(const platform::LocalTime& time);

private:
    CommandProcessor& m_processor;
};

} // namespace vexa
