// Finds the lines of a file's bytes that hold a match of a find text, with the matching of Find:
// the same literal search and regular-expression engine, case and whole-word rules.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "search/SearchState.h"
#include "text/TextEncoding.h"

namespace vexa::findfiles {

struct FindOptions {
    bool regularExpression = false;
    bool caseCheck = false;
    bool wholeWord = false;
};

// One line holding a match: its number from 1, the byte offset of the first match in it, and its
// bytes (without the line end) in the file's encoding.
struct LineHit {
    int line = 0;
    int column = 0;
    std::string_view text;
};

class LineFinder {
public:
    // The find text as typed, in UTF-8, with Find's escapes ("\t" a tab, "\\" a backslash).
    LineFinder(std::string_view findText, FindOptions options);

    // Whether the find text can match anything: not empty and, as a regular expression, compiling.
    [[nodiscard]] bool usable() const { return m_usable; }
    // The engine's message when a regular expression does not compile.
    [[nodiscard]] const std::string& error() const { return m_error; }

    // True when a file's encoding must be known before its bytes are scanned: without a literal
    // to look for in the raw bytes, or with a find text that is not plain ASCII. Otherwise a file
    // whose bytes cannot match is turned away before its encoding is worked out.
    [[nodiscard]] bool needsEncodingFirst() const { return !m_asciiPrefilter; }
    // Whether the raw bytes can hold a match (always true when needsEncodingFirst).
    [[nodiscard]] bool mayMatch(std::string_view bytes) const;

    // Calls `hit` for every line holding a match, in order, until it returns false. Lines end at
    // "\n"; a "\r" before it is no part of the line's text.
    void findLines(std::string_view bytes, TextEncoding encoding,
                   const std::function<bool(const LineHit&)>& hit);

    // The byte offset of the first match in one line of the given encoding, or -1 for none.
    [[nodiscard]] int matchLine(std::string_view line, TextEncoding encoding);

private:
    SearchState m_state;
    bool m_usable = false;
    std::string m_error;
    // Per encoding (by its numeric value): a literal every match contains, compared exactly, or
    // nothing when there is none.
    std::array<std::string, 2> m_prefilter;
    bool m_asciiPrefilter = false;
};

// The first occurrence of `needle` in `haystack` at or after `from`; npos when there is none.
[[nodiscard]] std::size_t findBytes(std::string_view haystack, std::string_view needle, std::size_t from);

// How many "\n" bytes a text holds.
[[nodiscard]] std::size_t countLineEnds(std::string_view text);

} // namespace vexa::findfiles
