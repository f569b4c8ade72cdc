// The thin wrapper through which every caller matches one pattern against one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegexProgram.h"

namespace vexa {

inline constexpr std::string_view kRegexModule = "QLWREG01";

class RegexMatcher {
public:
    // Case modes: 1 compares case-sensitively, any other value ignores case.
    static constexpr int32_t kCaseSensitive = 1;
    static constexpr int32_t kIgnoreCase = 0;
    // The matched text keeps at most this many bytes; the length is capped to it too (over UTF-8
    // text, to the start of the character the cap falls in).
    static constexpr std::size_t kMaxMatchedText = 1024;

    // Sets the engine's one ignore-case flag from the case mode.
    explicit RegexMatcher(int32_t caseMode = kIgnoreCase);

    // Sets the engine's shared flag; callers set it before every match.
    void setCaseMode(int32_t caseMode);

    // The encoding of the subjects that following matches read (Windows-1252 until set): a
    // pattern is compiled for it, as UTF-8 when the subjects are.
    void setEncoding(TextEncoding encoding) { m_encoding = encoding; }
    [[nodiscard]] TextEncoding encoding() const { return m_encoding; }

    // The bound every following match reports its work to, until set to nothing; it must
    // outlive its use here. A match it ends finds nothing.
    void setWorkLimit(RegexWorkLimit* limit) { m_limit = limit; }

    // Matches the pattern against the subject. True on a match, with the matched text, length and
    // offset stored; false when nothing matched or the pattern does not compile (the shared error
    // text then names this module). A pattern already seen is not compiled again.
    [[nodiscard]] bool match(std::string_view subject, std::string_view pattern);
    // The same for matches that start at `from` or later; the offset still counts from the
    // subject's start, and line start and word start see the whole subject.
    [[nodiscard]] bool match(std::string_view subject, std::string_view pattern, std::size_t from);
    // The C form: a missing subject or pattern fails with "Bad command line arguments supplied.".
    [[nodiscard]] bool match(const char* subject, const char* pattern);

    [[nodiscard]] const std::string& matchedText() const { return m_matchedText; }
    [[nodiscard]] std::size_t matchedLength() const { return m_matchedLength; }
    [[nodiscard]] std::size_t offset() const { return m_offset; }
    // The positions of the whole match and of the groups in the subject.
    [[nodiscard]] const RegexMatch& positions() const { return m_positions; }

    // The engine's own message for the last failure ("unmatched ()", ...), kept for logs; callers
    // never show it, a pattern that does not compile simply finds nothing.
    [[nodiscard]] const std::string& engineMessage() const { return m_engineMessage; }

    // How many patterns this matcher has compiled: a pattern used again (for the same encoding)
    // is not compiled again while it is among the last few used.
    [[nodiscard]] std::size_t compileCount() const { return m_compileCount; }

    // The text shared by all matchers: "Regex Error: %s" with the newest error.
    [[nodiscard]] static const std::string& lastErrorText();

private:
    struct CachedProgram {
        std::string pattern;
        TextEncoding encoding = TextEncoding::Windows1252;
        std::optional<RegexProgram> program;
        std::string error;
    };
    // Callers scan many lines with the same few patterns, so a handful of compiled programs
    // are kept; replaced in turn.
    static constexpr std::size_t kCacheSize = 8;

    const CachedProgram& programFor(std::string_view pattern);

    std::vector<CachedProgram> m_cache;
    std::size_t m_nextReplaced = 0;
    std::size_t m_compileCount = 0;
    RegexWorkLimit* m_limit = nullptr;
    TextEncoding m_encoding = TextEncoding::Windows1252;
    std::string m_matchedText;
    std::size_t m_matchedLength = 0;
    std::size_t m_offset = 0;
    RegexMatch m_positions{};
    std::string m_engineMessage;
};

} // namespace vexa
