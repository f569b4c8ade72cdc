// Turning a plain word list (one word a line) into a dictionary, as the vexa-dict program and the
// build use it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "aids/SpellDictionary.h"

namespace vexa::aids {

// A line of the list that did not become a word, with the reason.
struct SkippedWord {
    std::size_t lineNumber = 0; // 1-based
    std::string word;
    std::string reason;
};

struct WordListResult {
    std::size_t added = 0;
    std::size_t duplicates = 0;
    std::vector<SkippedWord> skipped;
};

// A line of UTF-8 as Windows-1252 bytes, the encoding of document text. A line that is not valid
// UTF-8 is taken as 1252 bytes already; false when a character has no 1252 form.
bool wordListLineTo1252(std::string_view line, std::string& out);

// Adds every word of the list to the dictionary. Empty lines are passed over; a trailing carriage
// return is dropped; words the dictionary cannot hold are skipped and reported.
WordListResult addWordList(std::string_view text, SpellDictionary& dictionary);

} // namespace vexa::aids
