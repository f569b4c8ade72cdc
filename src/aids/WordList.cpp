// Turning a plain word list into a dictionary.
#include "aids/WordList.h"

#include <optional>

#include "text/TextEncoding.h"

namespace vexa::aids {

bool wordListLineTo1252(std::string_view line, std::string& out) {
    out.clear();
    if (!text::checkUtf8(line).valid) {
        out.assign(line);
        return true;
    }
    std::optional<std::string> bytes = text::fromUtf8(line, TextEncoding::Windows1252);
    if (!bytes) {
        return false;
    }
    out = std::move(*bytes);
    return true;
}

WordListResult addWordList(std::string_view text, SpellDictionary& dictionary) {
    WordListResult result;
    std::size_t lineNumber = 0;
    std::string word;
    std::vector<std::string> batch;
    // A byte-order mark opens the text, not its first word.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        if (!wordListLineTo1252(line, word)) {
            result.skipped.push_back({lineNumber, std::string(line), "a character outside Windows-1252"});
            continue;
        }
        const WordFault fault = checkDictionaryWord(word);
        if (fault != WordFault::Ok) {
            result.skipped.push_back({lineNumber, std::string(line), std::string(wordFaultText(fault))});
            continue;
        }
        batch.push_back(word);
    }
    const std::size_t before = dictionary.wordCount();
    const std::size_t offered = batch.size();
    dictionary.addWords(std::move(batch));
    result.added = dictionary.wordCount() - before;
    result.duplicates = offered - result.added;
    return result;
}

} // namespace vexa::aids
