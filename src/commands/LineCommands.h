// Text changes on the cursor line and its characters: deletions, cuts, case, reversal, swaps.
#pragma once

#include <cstdint>
#include <string_view>

#include "commands/FunctionTable.h"

namespace vexa {

class CommandProcessor;
class Document;

class LineCommands {
public:
    explicit LineCommands(CommandProcessor& processor) : m_processor(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

private:
    int32_t backspace(bool joinAtStart);
    int32_t swapNext();
    int32_t swapPrevious();
    int32_t copyFromLine(int delta);
    int32_t deleteLine();
    int32_t copyLine();
    // Puts a part of the cursor line on the clipboard and deletes it.
    int32_t cutPart(bool toEnd);
    int32_t reverseLine();
    bool putOnClipboard(std::string_view text, int32_t markType);

    Document& document();

    CommandProcessor& m_processor;
};

} // namespace vexa
