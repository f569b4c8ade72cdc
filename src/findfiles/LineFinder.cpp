// The line finder: a scan of the whole buffer for a literal every match holds, then Find's own
// matching on each line that holds it.
#include "findfiles/LineFinder.h"

#include <bit>
#include <cstring>
#include <optional>

#include "regex/RegexProgram.h"
#include "syntax/ExtensionProfile.h"

namespace vexa::findfiles {
namespace {

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// How often a byte appears in source text, roughly: the scan looks for the needle's rarest byte.
int commonness(unsigned char c) {
    if (c == ' ' || c == 'e' || c == 't') {
        return 9;
    }
    if (c >= 'a' && c <= 'z') {
        return std::strchr("aoinsrhldcu", c) != nullptr ? 8 : 6;
    }
    if (c == '_' || c == '(' || c == ')' || c == ';' || c == '*' || c == '\n' || c == '\t') {
        return 7;
    }
    if (c >= 'A' && c <= 'Z') {
        return 5;
    }
    if (c >= '0' && c <= '9') {
        return c <= '2' ? 5 : 4;
    }
    return c < 0x80 ? 4 : 2;
}

} // namespace

std::size_t findBytes(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (needle.empty() || from > haystack.size() || haystack.size() - from < needle.size()) {
        return std::string_view::npos;
    }
    std::size_t rare = 0;
    for (std::size_t i = 1; i < needle.size(); ++i) {
        if (commonness(static_cast<unsigned char>(needle[i])) <
            commonness(static_cast<unsigned char>(needle[rare]))) {
            rare = i;
        }
    }
    const char* base = haystack.data();
    const char* const last = base + haystack.size() - needle.size(); // the last possible start
    const char* probe = base + from + rare;
    while (probe <= last + rare) {
        const void* hit = std::memchr(probe, needle[rare], static_cast<std::size_t>(last + rare - probe) + 1);
        if (hit == nullptr) {
            return std::string_view::npos;
        }
        const char* start = static_cast<const char*>(hit) - rare;
        if (std::memcmp(start, needle.data(), needle.size()) == 0) {
            return static_cast<std::size_t>(start - base);
        }
        probe = static_cast<const char*>(hit) + 1;
    }
    return std::string_view::npos;
}

std::size_t countLineEnds(std::string_view text) {
    // Eight bytes at a time: a byte equal to "\n" becomes a zero byte, and the zero bytes of a word
    // are counted exactly with one population count.
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    std::size_t count = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        const uint64_t t = word ^ (kOnes * '\n');
        const uint64_t zeroHigh = ~(((t & kLow7) + kLow7) | t | kLow7);
        count += static_cast<std::size_t>(std::popcount(zeroHigh));
    }
    for (; at < text.size(); ++at) {
        count += text[at] == '\n' ? 1 : 0;
    }
    return count;
}

LineFinder::LineFinder(std::string_view findText, FindOptions options) {
    m_state.setFindText(findText, false);
    m_state.setCaseCheck(options.caseCheck);
    m_state.setWholeWord(options.wholeWord);
    m_state.setRegularExpression(options.regularExpression);
    const std::string& pattern = m_state.findPattern();
    m_usable = !pattern.empty();
    for (const TextEncoding encoding : {TextEncoding::Windows1252, TextEncoding::Utf8}) {
        const std::optional<std::string> converted = text::fromUtf8(pattern, encoding);
        std::string& prefilter = m_prefilter[static_cast<std::size_t>(encoding)];
        if (!converted || !m_usable) {
            continue;
        }
        if (!options.regularExpression) {
            // Ignoring case, a literal can be written in either case in the file.
            prefilter = options.caseCheck ? *converted : std::string();
            continue;
        }
        std::string error;
        const std::optional<RegexProgram> program = RegexProgram::compile(*converted, &error, encoding);
        if (!program) {
            m_usable = false;
            m_error = error;
            continue;
        }
        if (options.caseCheck && program->facts().known) {
            prefilter = program->facts().requiredLiteral;
        }
    }
    const std::string& utf8Prefilter = m_prefilter[static_cast<std::size_t>(TextEncoding::Utf8)];
    m_asciiPrefilter = m_usable && isAscii(pattern) && !utf8Prefilter.empty() &&
                       utf8Prefilter == m_prefilter[static_cast<std::size_t>(TextEncoding::Windows1252)];
}

bool LineFinder::mayMatch(std::string_view bytes) const {
    if (!m_usable) {
        return false;
    }
    if (!m_asciiPrefilter) {
        return true;
    }
    return findBytes(bytes, m_prefilter[0], 0) != std::string_view::npos;
}

int LineFinder::matchLine(std::string_view line, TextEncoding encoding) {
    if (!m_usable) {
        return -1;
    }
    const std::optional<SearchMatch> match =
        m_state.searchLine(line, 0, syntax::kDefaultDelimiters, encoding);
    return match ? match->offset : -1;
}

void LineFinder::findLines(std::string_view bytes, TextEncoding encoding,
                           const std::function<bool(const LineHit&)>& hit) {
    if (!m_usable) {
        return;
    }
    const std::string& prefilter = m_prefilter[static_cast<std::size_t>(encoding)];
    std::size_t lineNumber = 1;
    std::size_t counted = 0; // line ends before this offset are counted in lineNumber
    std::size_t at = 0;      // where the next line to consider starts
    while (at < bytes.size()) {
        std::size_t lineStart = at;
        if (!prefilter.empty()) {
            const std::size_t candidate = findBytes(bytes, prefilter, at);
            if (candidate == std::string_view::npos) {
                return;
            }
            const void* previousEnd =
                candidate > at ? memrchr(bytes.data() + at, '\n', candidate - at) : nullptr;
            if (previousEnd != nullptr) {
                lineStart =
                    static_cast<std::size_t>(static_cast<const char*>(previousEnd) - bytes.data()) + 1;
            }
        }
        const void* end = std::memchr(bytes.data() + lineStart, '\n', bytes.size() - lineStart);
        const std::size_t lineEnd =
            end == nullptr ? bytes.size()
                           : static_cast<std::size_t>(static_cast<const char*>(end) - bytes.data());
        std::string_view line = bytes.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::optional<SearchMatch> match =
            m_state.searchLine(line, 0, syntax::kDefaultDelimiters, encoding);
        if (match) {
            lineNumber += countLineEnds(bytes.substr(counted, lineStart - counted));
            counted = lineStart;
            if (!hit(LineHit{static_cast<int>(lineNumber), match->offset, line})) {
                return;
            }
        }
        at = lineEnd + 1;
    }
}

} // namespace vexa::findfiles
