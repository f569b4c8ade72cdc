// Classifying a line of compiler or make output: error, warning or neither, with the file and line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "regex/RegexMatcher.h"

namespace vexa::toolchain {

enum class ErrorKind : uint8_t { None = 0, Error = 1, Warning = 2 };

struct ParsedLine {
    ErrorKind kind = ErrorKind::None;
    int line = 0;           // 0: none found
    std::string fileName;   // the other file named in the line (up to 255 characters)
    bool otherFile = false; // the line names a file other than the default file
    int column = 0;         // 0: none found (compilers that name one: "file:line:column: error")

    friend bool operator==(const ParsedLine&, const ParsedLine&) = default;
};

// The user's own patterns of section "RegularExpress"; empty ones are not used.
struct UserErrorPatterns {
    std::string errors;
    std::string lines;
};

// The common compiler form "file:line[:column]: [fatal ]error|warning: text", read in one pass over
// the line without patterns, so a line of any length (a deep path) takes time in proportion to it.
// Nothing when the line is not of that form.
struct CompilerLine {
    ErrorKind kind = ErrorKind::None;
    std::string_view file;
    int line = 0;
    int column = 0;
};
std::optional<CompilerLine> readCompilerLine(std::string_view line);

// All patterns are matched without regard to case.
class ErrorLineParser {
public:
    explicit ErrorLineParser(UserErrorPatterns patterns = {});

    // Parses a line against the default file (the compiled source, the project file). A line of
    // the common compiler form is read whole; of any other only the start is matched against the
    // patterns.
    ParsedLine parse(std::string_view line, std::string_view defaultFile);

    // The file name and line number a line names, whatever its kind (for the project and standard
    // output windows): the file pattern's match, else nothing.
    ParsedLine fileAndLine(std::string_view line);

private:
    bool matches(std::string_view line, std::string_view pattern);
    int lineNumberOf(std::string_view line);
    std::string fileNameIn(std::string_view line);

    UserErrorPatterns m_patterns;
    RegexMatcher m_matcher;
};

} // namespace vexa::toolchain
