// Timing of the regular-expression engine alone: compiling, the first built-in function pattern
// over the generated text, and patterns that make plain backtracking exponential or quadratic,
// both where the facts of the program turn the line away and where only the interpreter's memory
// of failed positions keeps the work linear.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegexProgram.h"
#include "regex/RegexShared.h"
#include "support/GeneratedText.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kFunctionPattern = "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9]+[ \t]*[(]+.*[^; ]+$";

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::size_t lineEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        lines.emplace_back(text, start, lineEnd - start);
        start = end + 1;
    }
    return lines;
}

vexa::RegexProgram compiled(const char* pattern) {
    auto program = vexa::RegexProgram::compile(pattern);
    if (!program) {
        std::fprintf(stderr, "%s does not compile\n", pattern);
        std::exit(1);
    }
    return *program;
}

// Milliseconds for one pattern over some lines; counts the matching lines.
double timeLines(const vexa::RegexProgram& program, const std::vector<std::string>& lines, int& matches) {
    matches = 0;
    const auto start = Clock::now();
    for (const std::string& line : lines) {
        if (program.execute(line) == vexa::RegexOutcome::Match) {
            ++matches;
        }
    }
    return vexa::bench::secondsSince(start) * 1000.0;
}

// Prints the figure, and fails the run when the answer was not the one the measurement assumes.
bool report(const char* name, double milliseconds, int matches, int expected) {
    std::printf("%s: %.3f\n", name, milliseconds);
    if (matches != expected) {
        std::fprintf(stderr, "%s: %d lines matched, expected %d\n", name, matches, expected);
        return false;
    }
    return true;
}

} // namespace

int main() {
    vexa::setRegexIgnoreCase(true);
    const std::vector<std::string> text = splitLines(vexa::bench::generateCText(200'000));
    std::printf("lines: %zu\n", text.size());

    constexpr int kCompiles = 20'000;
    auto start = Clock::now();
    for (int i = 0; i < kCompiles; ++i) {
        if (!vexa::RegexProgram::compile(kFunctionPattern)) {
            return 1;
        }
    }
    std::printf("compile_function_pattern_us: %.3f\n", vexa::bench::secondsSince(start) * 1e6 / kCompiles);

    int matches = 0;
    const vexa::RegexProgram function = compiled(kFunctionPattern);
    const double functionMs = timeLines(function, text, matches);
    std::printf("function_pattern_ns_per_line: %.1f\n", functionMs * 1e6 / static_cast<double>(text.size()));
    std::printf("function_pattern_lines: %d\n", matches);

    // Source lines with a ";": "(.+)+;" needs the interpreter on every one of them; "(.+)+;[x-z]"
    // matches none, so every start position is tried to the end.
    std::vector<std::string> withSemicolons;
    for (const std::string& line : text) {
        if (line.find(';') != std::string::npos && withSemicolons.size() < 10'000) {
            withSemicolons.push_back(line);
        }
    }
    std::vector<std::string> withoutSemicolons;
    for (const std::string& line : text) {
        if (line.find(';') == std::string::npos && withoutSemicolons.size() < 10'000) {
            withoutSemicolons.push_back(line);
        }
    }
    bool right = true;
    double ms = timeLines(compiled("(.+)+;"), withoutSemicolons, matches);
    right &= report("nested_plus_rejected_scan_ms", ms, matches, 0);
    ms = timeLines(compiled("(.+)+;[x-z]"), withSemicolons, matches);
    right &= report("nested_plus_interpreted_scan_ms", ms, matches, 0);
    ms = timeLines(compiled("(.+)+;"), withSemicolons, matches);
    right &= report("nested_plus_matching_scan_ms", ms, matches, static_cast<int>(withSemicolons.size()));

    // One long line: turned away for lacking the "b", or interpreted because it has one.
    const std::vector<std::string> allA{std::string(10'000, 'a')};
    const std::vector<std::string> leadingB{"b" + std::string(9'999, 'a')};
    ms = timeLines(compiled("(a+)+b"), allA, matches);
    right &= report("nested_plus_line_rejected_ms", ms, matches, 0);
    ms = timeLines(compiled("(a+)+b"), leadingB, matches);
    right &= report("nested_plus_line_interpreted_ms", ms, matches, 0);
    ms = timeLines(compiled("(a|aa)*c"), leadingB, matches);
    right &= report("overlapping_alternatives_line_ms", ms, matches, 0);
    ms = timeLines(compiled("(a|b)*ac"), leadingB, matches);
    right &= report("star_of_group_line_ms", ms, matches, 0);
    return right ? 0 : 1;
}
