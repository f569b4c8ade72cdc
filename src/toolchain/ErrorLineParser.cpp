// The error-line patterns and the order in which kind, line number and file name are found.
#include "toolchain/ErrorLineParser.h"

#include <algorithm>
#include <cctype>

#include "toolchain/PathParts.h"

namespace vexa::toolchain {
namespace {

// A word is an error or warning only when no letter touches it on either side, so "errors" and
// "warnings" in a summary are not.
constexpr std::string_view kErrorPattern = "[ \t(]*[^a-z]ERROR[^a-z][ \t:!)]*|^ERROR[^a-z]";
constexpr std::string_view kWarningPattern = "[ \t(]*[^a-z]WARNING[^a-z][ \t:!)]*|^WARNING[^a-z]";
constexpr std::string_view kLinePattern = "[ \t(]*[^a-z]LINE[^a-z][ \t(:!)]*[0-9]+";
constexpr std::string_view kNumberPattern = "[ \t(:]+[0-9:]+(([ \t):,]+[^0-9]+)|$)";
constexpr std::string_view kDigitsPattern = "[0-9]+";
constexpr std::string_view kFilePattern = "[^ \t\")(<'`]*[a-zA-Z0-9_\\:]*\\.[a-zA-Z0-9_]*[^ :\t\")(>'`*}]";
constexpr std::string_view kFilePatternAgain = "[^ \t\")(<'`]*[a-zA-Z0-9_]*\\.[a-zA-Z0-9_]*[^ :\t\")(>'`*}]";

constexpr std::size_t kLineMatchLimit = 50;
// Only the start of a line is classified, as far as the compilers' old line buffers reached: the
// file-name patterns backtrack over long runs of characters in time that grows with the cube of
// the length, and every compiler names file, line and kind at the start.
constexpr std::size_t kParsedLength = 255;
constexpr std::size_t kMaxFileName = 255;

// The number of at most nine digits at the start of text, and how many characters it took.
std::pair<int, std::size_t> leadingNumber(std::string_view text) {
    std::size_t length = 0;
    int value = 0;
    while (length < text.size() && length < 9 && text[length] >= '0' && text[length] <= '9') {
        value = value * 10 + (text[length] - '0');
        ++length;
    }
    if (length < text.size() && text[length] >= '0' && text[length] <= '9') {
        return {0, 0}; // too long for a line number
    }
    return {value, length};
}

bool startsWithWord(std::string_view text, std::string_view lowerWord) {
    if (text.size() < lowerWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lowerWord.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != lowerWord[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<CompilerLine> readCompilerLine(std::string_view line) {
    // Each ':' is looked at once, and the digits after it belong to no other ':', so the search
    // is linear in the line's length.
    for (std::size_t colon = line.find(':'); colon != std::string_view::npos && colon > 0;
         colon = line.find(':', colon + 1)) {
        const auto [lineNumber, lineDigits] = leadingNumber(line.substr(colon + 1));
        std::size_t at = colon + 1 + lineDigits;
        if (lineDigits == 0 || at >= line.size() || line[at] != ':') {
            continue;
        }
        CompilerLine result;
        result.file = line.substr(0, colon);
        result.line = lineNumber;
        ++at;
        const auto [columnNumber, columnDigits] = leadingNumber(line.substr(at));
        if (columnDigits > 0 && at + columnDigits < line.size() && line[at + columnDigits] == ':') {
            result.column = columnNumber;
            at += columnDigits + 1;
        }
        while (at < line.size() && line[at] == ' ') {
            ++at;
        }
        std::string_view rest = line.substr(at);
        if (startsWithWord(rest, "fatal error:") || startsWithWord(rest, "error:")) {
            result.kind = ErrorKind::Error;
        } else if (startsWithWord(rest, "warning:")) {
            result.kind = ErrorKind::Warning;
        } else {
            return std::nullopt;
        }
        return result;
    }
    return std::nullopt;
}

ErrorLineParser::ErrorLineParser(UserErrorPatterns patterns)
    : m_patterns(std::move(patterns)), m_matcher(RegexMatcher::kIgnoreCase) {}

bool ErrorLineParser::matches(std::string_view line, std::string_view pattern) {
    // The engine's case flag is shared by every matcher, so it is set before each match.
    m_matcher.setCaseMode(RegexMatcher::kIgnoreCase);
    return m_matcher.match(line, pattern);
}

int ErrorLineParser::lineNumberOf(std::string_view line) {
    const bool found = (!m_patterns.lines.empty() && matches(line, m_patterns.lines)) ||
                       matches(line, kLinePattern) || matches(line, kNumberPattern);
    if (!found) {
        return 0;
    }
    std::string text = m_matcher.matchedText().substr(0, kLineMatchLimit);
    if (!matches(text, kDigitsPattern)) {
        return 0;
    }
    // A number too long for an int is no line number anyone can go to.
    const std::string& digits = m_matcher.matchedText();
    if (digits.size() > 9) {
        return 0;
    }
    return std::stoi(digits);
}

std::string ErrorLineParser::fileNameIn(std::string_view line) {
    if (matches(line, kFilePattern) || matches(line, kFilePatternAgain)) {
        return m_matcher.matchedText().substr(0, kMaxFileName);
    }
    return {};
}

static bool containsWordIgnoringCase(std::string_view line, std::string_view lowerWord) {
    if (line.size() < lowerWord.size()) {
        return false;
    }
    for (std::size_t at = 0; at + lowerWord.size() <= line.size(); ++at) {
        std::size_t i = 0;
        while (i < lowerWord.size() && std::tolower(static_cast<unsigned char>(line[at + i])) ==
                                           static_cast<unsigned char>(lowerWord[i])) {
            ++i;
        }
        if (i == lowerWord.size()) {
            return true;
        }
    }
    return false;
}

ParsedLine ErrorLineParser::parse(std::string_view line, std::string_view defaultFile) {
    ParsedLine result;
    // The user's own error pattern decides first where there is one.
    if (m_patterns.errors.empty()) {
        if (const std::optional<CompilerLine> compiler = readCompilerLine(line)) {
            result.kind = compiler->kind;
            result.line = compiler->line;
            result.column = compiler->column;
            // File names are compared exactly: the file system tells case apart.
            const std::string defaultName = splitPath(defaultFile).fileName();
            const PathParts named = splitPath(std::string(compiler->file));
            if (defaultName.empty() || named.fileName() != defaultName) {
                result.fileName = std::string(compiler->file);
                result.otherFile = true;
            }
            return result;
        }
    }
    line = line.substr(0, std::min(line.size(), kParsedLength));
    // Both built-in patterns need their word; most output lines have neither, and are settled
    // without running the patterns.
    if (m_patterns.errors.empty() && !containsWordIgnoringCase(line, "error") &&
        !containsWordIgnoringCase(line, "warning")) {
        return result;
    }
    if ((!m_patterns.errors.empty() && matches(line, m_patterns.errors)) || matches(line, kErrorPattern)) {
        result.kind = ErrorKind::Error;
    } else if (matches(line, kWarningPattern)) {
        result.kind = ErrorKind::Warning;
    } else {
        return result;
    }
    result.line = lineNumberOf(line);
    // File names are compared exactly: the file system tells case apart.
    const std::string defaultName = splitPath(defaultFile).fileName();
    if (!defaultName.empty() && line.find(defaultName) != std::string_view::npos) {
        return result;
    }
    result.fileName = fileNameIn(line);
    if (!result.fileName.empty()) {
        result.otherFile = true;
        return result;
    }
    if (result.line == 0) {
        return ParsedLine{};
    }
    return result;
}

ParsedLine ErrorLineParser::fileAndLine(std::string_view line) {
    ParsedLine result;
    line = line.substr(0, std::min(line.size(), kParsedLength));
    result.line = lineNumberOf(line);
    result.fileName = fileNameIn(line);
    result.otherFile = !result.fileName.empty();
    return result;
}

} // namespace vexa::toolchain
