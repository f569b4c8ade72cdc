// The word rules of the word functions.
#include "commands/WordRules.h"

#include <algorithm>
#include <string>

#include "core/Document.h"

namespace vexa {

namespace {

constexpr char kStringCharacter = '"';

} // namespace

bool WordRules::isBreak(char ch) const {
    return m_document.isWordBreak(ch);
}

std::string_view WordRules::lineText() const {
    return m_document.currentLine().text();
}

int WordRules::previousWordStep(std::string_view text, int end, int& blanks) const {
    // The text before the cursor read backwards, a window at a time: a step that stops inside the
    // window is the step over the whole text, one that reaches its edge looks further back. Each
    // window doubles, so the work stays proportional to how far the move goes.
    for (int window = 4096;;) {
        const int size = std::min(window, end);
        std::string reversed(text.substr(static_cast<std::size_t>(end - size), static_cast<std::size_t>(size)));
        std::reverse(reversed.begin(), reversed.end());
        blanks = 0;
        while (blanks < size && isBlank(reversed[static_cast<std::size_t>(blanks)])) {
            ++blanks;
        }
        const int step = nextWordStep(reversed, blanks) - blanks;
        if (size == end || blanks + step < size) {
            return step;
        }
        window = window > end / 2 ? end : window * 2;
    }
}

int WordRules::nextWordStep(std::string_view text, int offset) const {
    const int length = static_cast<int>(text.size());
    int i = offset;
    if (i >= length) {
        return i;
    }
    const auto skipBlanks = [&](int from) {
        while (from < length && isBlank(text[from])) {
            ++from;
        }
        return from;
    };
    if (isBlank(text[i])) {
        return skipBlanks(i);
    }
    if (isBreak(text[i])) {
        while (i < length && isBreak(text[i])) {
            ++i;
        }
        return skipBlanks(i);
    }
    // A run of other characters ends at its blanks, or earlier at the first break character.
    int afterRun = i;
    while (afterRun < length && !isBlank(text[afterRun])) {
        ++afterRun;
    }
    afterRun = skipBlanks(afterRun);
    for (int j = i + 1; j < afterRun; ++j) {
        if (isBreak(text[j])) {
            return j;
        }
    }
    return afterRun;
}

std::optional<int> WordRules::nextWord() const {
    const std::string_view text = lineText();
    const int offset = m_document.cursorOffset();
    if (offset >= m_document.currentLine().length()) {
        return std::nullopt;
    }
    if (offset >= static_cast<int>(text.size())) {
        return m_document.currentLine().length();
    }
    const int target = nextWordStep(text, offset);
    return target == offset ? m_document.currentLine().length() : target;
}

std::optional<int> WordRules::previousWord() const {
    const int length = m_document.currentLine().length();
    const int offset = m_document.cursorOffset();
    if (offset > length) {
        return length;
    }
    if (offset == 0) {
        return std::nullopt;
    }
    const std::string_view text = lineText();
    const int end = std::min<int>(offset, static_cast<int>(text.size()));
    int blanks = 0;
    const int step = previousWordStep(text, end, blanks);
    if (step == 0) {
        return 0;
    }
    int target = end - blanks - step;
    while (target < length && isBlank(m_document.currentLine().at(target))) {
        ++target;
    }
    return target;
}

std::optional<WordBounds> WordRules::wordUnderCursor() const {
    const std::string_view text = lineText();
    const int length = static_cast<int>(text.size());
    const int cursor = m_document.cursorOffset();

    // Inside a string when an odd number of unescaped string characters stand before the cursor.
    int quotes = 0;
    int lastQuote = -1;
    for (int i = 0; i < std::min(cursor, length); ++i) {
        if (text[i] != kStringCharacter) {
            continue;
        }
        const bool escaped = i > 0 && text[i - 1] == '\\' && !(i > 1 && text[i - 2] == '\\');
        if (!escaped) {
            ++quotes;
            lastQuote = i;
        }
    }
    if (quotes % 2 == 1 && cursor < length) {
        int end = lastQuote + 1;
        while (end < length) {
            if (text[end] == kStringCharacter) {
                const bool escaped = text[end - 1] == '\\' && !(end > 1 && text[end - 2] == '\\');
                if (!escaped) {
                    break;
                }
            }
            ++end;
        }
        return WordBounds{lastQuote + 1, end};
    }

    if (cursor >= length || isBlank(text[cursor]) || isBreak(text[cursor])) {
        return std::nullopt;
    }
    int start = cursor;
    while (start > 0 && !isBlank(text[start - 1]) && !isBreak(text[start - 1])) {
        --start;
    }
    int end = nextWordStep(text, start);
    if (end == start) {
        end = length;
    }
    while (end > start && isBlank(text[end - 1])) {
        --end;
    }
    return WordBounds{start, end};
}

} // namespace vexa
