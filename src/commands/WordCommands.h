// The word functions: deleting, copying, cutting, case changes and reversal of the word at the cursor.
#pragma once

#include <cstdint>
#include <optional>

#include "commands/FunctionTable.h"
#include "commands/WordRules.h"

namespace vexa {

class CommandProcessor;
class Document;

class WordCommands {
public:
    static constexpr int kMaxReversed = 80;

    explicit WordCommands(CommandProcessor& processor) : m_processor(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

private:
    // The word under the cursor, or the "not over a word" report.
    std::optional<WordBounds> wordOrReport();
    void deleteRange(int from, int to);
    int32_t deleteToNeighbour(bool forward);
    int32_t copyWord(const WordBounds& word);
    int32_t reverseWord(const WordBounds& word);

    Document& document();

    CommandProcessor& m_processor;
};

} // namespace vexa
