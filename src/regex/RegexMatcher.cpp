// The matcher: compile (or reuse), match once, report the matched text and its position.
#include "regex/RegexMatcher.h"

#include <algorithm>

#include "regex/RegexShared.h"
#include "text/TextEncoding.h"

namespace vexa {

namespace {

// The failure report of a pattern that does not compile names the module and a fixed line.
constexpr const char* kCompileFailureLine = "162";

} // namespace

RegexMatcher::RegexMatcher(int32_t caseMode) {
    setCaseMode(caseMode);
}

void RegexMatcher::setCaseMode(int32_t caseMode) {
    setRegexIgnoreCase(caseMode != kCaseSensitive);
}

const std::string& RegexMatcher::lastErrorText() {
    return regexErrorText();
}

const RegexMatcher::CachedProgram& RegexMatcher::programFor(std::string_view pattern) {
    for (const CachedProgram& cached : m_cache) {
        if (cached.pattern == pattern && cached.encoding == m_encoding) {
            return cached;
        }
    }
    CachedProgram fresh;
    fresh.pattern = std::string(pattern);
    fresh.encoding = m_encoding;
    fresh.program = RegexProgram::compile(pattern, &fresh.error, m_encoding);
    ++m_compileCount;
    if (m_cache.size() < kCacheSize) {
        m_cache.push_back(std::move(fresh));
        return m_cache.back();
    }
    CachedProgram& slot = m_cache[m_nextReplaced];
    m_nextReplaced = (m_nextReplaced + 1) % kCacheSize;
    slot = std::move(fresh);
    return slot;
}

bool RegexMatcher::match(const char* subject, const char* pattern) {
    if (subject == nullptr || pattern == nullptr) {
        setRegexErrorMessage("Bad command line arguments supplied.");
        return false;
    }
    return match(std::string_view(subject), std::string_view(pattern));
}

bool RegexMatcher::match(std::string_view subject, std::string_view pattern) {
    return match(subject, pattern, 0);
}

bool RegexMatcher::match(std::string_view subject, std::string_view pattern, std::size_t from) {
    setRegexErrorMessage("");
    m_engineMessage.clear();
    const CachedProgram& cached = programFor(pattern.substr(0, pattern.find('\0')));
    if (!cached.program) {
        m_engineMessage = cached.error;
        setRegexErrorMessage("Unexpected Vexa error at File: " + std::string(kRegexModule) +
                             " Line: " + kCompileFailureLine);
        return false;
    }
    RegexMatch positions;
    const RegexOutcome outcome =
        cached.program->execute(subject, &positions, &m_engineMessage, from, m_limit);
    if (outcome != RegexOutcome::Match || positions.start[0] < 0 || positions.end[0] < 0) {
        return false;
    }
    m_positions = positions;
    const auto start = static_cast<std::size_t>(positions.start[0]);
    const auto length = static_cast<std::size_t>(positions.end[0] - positions.start[0]);
    m_offset = start;
    m_matchedLength = std::min(length, kMaxMatchedText);
    if (m_encoding == TextEncoding::Utf8 && m_matchedLength < length) {
        // A cut match still ends where a character does.
        const int end = static_cast<int>(start + m_matchedLength);
        m_matchedLength = static_cast<std::size_t>(text::characterStart(subject, end, m_encoding)) - start;
    }
    m_matchedText.assign(subject.substr(start, m_matchedLength));
    return true;
}

} // namespace vexa
