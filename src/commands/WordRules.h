// The word rules of the word functions: next word, previous word and the word under the cursor.
#pragma once

#include <optional>
#include <string_view>

namespace vexa {

class Document;

// Bounds of a word as byte offsets [start, end) of the cursor line.
struct WordBounds {
    int start = 0;
    int end = 0;
};

// Blanks are space and tab; break characters come from the document's language. The rules work on
// the whole line, whatever its length.
class WordRules {
public:
    explicit WordRules(const Document& document) : m_document(document) {}

    // The offset the next-word rule reaches from an offset of a text; the offset itself when it is
    // at or beyond the end.
    int nextWordStep(std::string_view text, int offset) const;

    // The cursor offset after the next-word move on the cursor line; nothing when the cursor is at
    // or beyond the end (nothing moves).
    std::optional<int> nextWord() const;
    // The same for the previous-word move; nothing at offset 0.
    std::optional<int> previousWord() const;
    // The word under the cursor (a quoted string's text when the cursor is inside one); nothing
    // when the cursor is not over a word.
    std::optional<WordBounds> wordUnderCursor() const;

    bool isBlank(char ch) const { return ch == ' ' || ch == '\t'; }
    bool isBreak(char ch) const;

private:
    std::string_view lineText() const;
    // The previous-word step over the `end` bytes before an offset: how far back the word starts
    // from `end - blanks`, looking back through a window that grows until the step ends inside it.
    int previousWordStep(std::string_view text, int end, int& blanks) const;

    const Document& m_document;
};

} // namespace vexa
