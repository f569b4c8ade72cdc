// An extension profile together with the tokenizer's scan state, its colours and the e-mail finder.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/LanguageRules.h"
#include "regex/RegexMatcher.h"
#include "syntax/ColourTable.h"
#include "syntax/ExtensionProfile.h"
#include "syntax/LineTokenizer.h"

namespace vexa::syntax {

// The pattern of the e-mail finder, matched without regard to case.
inline constexpr std::string_view kEmailPattern =
    "[.0-9a-zA-Z_-]+[@]+[^.]+.[a-zA-Z_-]*.*[a-zA-Z_-]*.*[a-zA-Z_-]*";

// Every profile that colours a pane is one of these; the document takes its word breaks and
// comment markers from it.
class SyntaxProfile : public ExtensionProfile, public LanguageRules {
public:
    explicit SyntaxProfile(const ColourTable& colours, BuiltInKeywords keywords = BuiltInKeywords::No);

    // The next call of nextToken() scans line from offset on.
    void setScanPosition(std::string_view line, std::size_t offset = 0);
    // The token at the scan position, which then moves past it; kind EndOfLine at the end.
    Token nextToken();
    const Token& currentToken() const { return m_token; }
    std::size_t scanPosition() const { return m_scan; }

    ColourSlot currentSlot() const { return slotOf(m_token.kind); }
    Rgb currentColour() const { return m_colours->colour(currentSlot()); }
    const ColourTable& colours() const { return *m_colours; }

    std::string_view wordBreakCharacters() const override { return documentWordBreaks(); }
    std::string_view delimiterCharacters() const override { return delimiters(); }
    CommentMarkers commentMarkers() const override {
        return {comment(CommentMarker::Start), comment(CommentMarker::End)};
    }

    // Searches text for an e-mail address; on a match gives its offset and its length (at most
    // 1024). A null text matches nothing.
    [[nodiscard]] bool findEmailAddress(std::string_view text, std::size_t& offset, std::size_t& length);
    [[nodiscard]] bool findEmailAddress(const char* text, std::size_t& offset, std::size_t& length);

private:
    const ColourTable* m_colours;
    std::string_view m_line;
    std::size_t m_scan = 0;
    Token m_token;
    RegexMatcher m_email;
};

} // namespace vexa::syntax
