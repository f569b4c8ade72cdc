// Timing of search: a literal that is not in the file through the search state (and grep with it),
// the first built-in function pattern on every line (and grep with it), all three patterns, and
// regular-expression finds with patterns that defeat plain backtracking.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "core/Document.h"
#include "regex/RegexMatcher.h"
#include "search/SearchState.h"
#include "support/GeneratedText.h"

namespace {

using Clock = std::chrono::steady_clock;

// The function patterns tried in this order on each line when the user has set none.
const char* const kFunctionPatterns[] = {
    "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9]+[ \t]*[(]+.*[^; ]+$",
    "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9&+=*<>]+[:_a-z0-9&+=*<>~]+[ \t]*[(]+.*[^; ]+$",
    "^[_a-z0-9&+=*<>]+[:_a-z0-9&+=*<>~]+[ \t]*[(]+.*[^; ]+$",
};

class BenchPane final : public vexa::SearchPane {
public:
    explicit BenchPane(vexa::Document& document) : m_document(document) {}
    bool isAlive() const override { return true; }
    vexa::Document* document() override { return &m_document; }
    int topLine() const override { return m_top; }
    int firstColumn() const override { return m_first; }
    int visibleLines() const override { return 40; }
    int visibleColumns() const override { return 120; }
    void setView(int top, int first) override {
        m_top = top;
        m_first = first;
    }
    void refresh(bool) override {}

private:
    vexa::Document& m_document;
    int m_top = 0;
    int m_first = 0;
};

void loadLines(vexa::Document& document, const std::string& text) {
    document.clearForLoad(text.size());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::size_t lineEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        document.appendLoadedLine(std::string_view(text).substr(start, lineEnd - start));
        start = end + 1;
    }
}

// The pattern quoted for the shell: in single quotes every byte but the quote stands for itself.
std::string shellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// Runs a shell command that prints a count (grep -c) and gives its seconds, or a negative value
// when it failed.
double timeCount(const std::string& command, long& count) {
    const auto start = Clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char output[64] = {};
    const bool read = std::fgets(output, sizeof output, pipe) != nullptr;
    const int status = pclose(pipe);
    const double seconds = vexa::bench::secondsSince(start);
    if (!read || status == -1) {
        return -1;
    }
    count = std::strtol(output, nullptr, 10);
    return seconds;
}

// A regular-expression find for a pattern the document does not match, from its start; gives
// milliseconds.
double timeRegexFind(vexa::Document& document, const char* pattern, bool& found) {
    vexa::SearchState state;
    BenchPane pane(document);
    state.setRegularExpression(true);
    state.setFindText(pattern, false);
    document.goToLine(0);
    document.setCursorOffset(0);
    const auto start = Clock::now();
    state.attach(&pane);
    found = state.findNext(true);
    state.detach();
    return vexa::bench::secondsSince(start) * 1000.0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string path =
        argc > 1 ? argv[1]
                 : vexa::bench::ensureGeneratedFile(
                       (std::filesystem::temp_directory_path() / "vexa-bench-search.c").string());
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    vexa::Document document;
    loadLines(document, text);
    std::printf("lines: %d\n", document.lineCount());

    // A plain search with the default options (down, ignoring case) for a text the file lacks.
    vexa::SearchState state;
    BenchPane pane(document);
    state.setFindText("no_such_identifier", false);
    auto start = Clock::now();
    state.attach(&pane);
    const bool found = state.findNext(true);
    state.detach();
    std::printf("literal_search_s: %.3f\n", vexa::bench::secondsSince(start));
    if (found) {
        std::fprintf(stderr, "the literal was found, the measurement is wrong\n");
        return 1;
    }

    long grepCount = 0;
    const double grepLiteral =
        timeCount("LC_ALL=C grep -c -F -i no_such_identifier " + shellQuoted(path), grepCount);
    if (grepLiteral < 0) {
        std::fprintf(stderr, "grep gave no count\n");
        return 1;
    }
    std::printf("grep_literal_search_s: %.3f\n", grepLiteral);

    // Function scanning: every line with the first built-in pattern, ignoring case, as grep does
    // below; then every line with the patterns in order until one matches.
    vexa::RegexMatcher matcher(vexa::RegexMatcher::kIgnoreCase);
    int functions = 0;
    start = Clock::now();
    for (int line = 0; line < document.lineCount(); ++line) {
        matcher.setCaseMode(vexa::RegexMatcher::kIgnoreCase);
        if (matcher.match(document.lineText(line), kFunctionPatterns[0])) {
            ++functions;
        }
    }
    std::printf("function_scan_s: %.3f\n", vexa::bench::secondsSince(start));
    std::printf("function_lines: %d\n", functions);

    functions = 0;
    start = Clock::now();
    for (int line = 0; line < document.lineCount(); ++line) {
        matcher.setCaseMode(vexa::RegexMatcher::kIgnoreCase);
        for (const char* pattern : kFunctionPatterns) {
            if (matcher.match(document.lineText(line), pattern)) {
                ++functions;
                break;
            }
        }
    }
    std::printf("function_scan_all_patterns_s: %.3f\n", vexa::bench::secondsSince(start));
    std::printf("function_lines_all_patterns: %d\n", functions);

    const double grepFunctions = timeCount(
        "LC_ALL=C grep -c -i -E " + shellQuoted(kFunctionPatterns[0]) + " " + shellQuoted(path), grepCount);
    if (grepFunctions < 0) {
        std::fprintf(stderr, "grep gave no count\n");
        return 1;
    }
    std::printf("grep_function_scan_s: %.3f\n", grepFunctions);
    std::printf("grep_function_lines: %ld\n", grepCount);

    // Patterns that defeat plain backtracking. 10,000 source lines without a ";", so "(.+)+;"
    // matches none of them; and one line of 10,000 "a" for "(a+)+b".
    vexa::Document source;
    std::string withoutSemicolons;
    int kept = 0;
    for (int line = 0; line < document.lineCount() && kept < 10'000; ++line) {
        const std::string_view lineText = document.lineText(line);
        if (lineText.find(';') == std::string_view::npos) {
            withoutSemicolons.append(lineText).append("\n");
            ++kept;
        }
    }
    loadLines(source, withoutSemicolons);
    bool patternFound = false;
    std::printf("pathological_scan_ms: %.3f\n", timeRegexFind(source, "(.+)+;", patternFound));
    if (patternFound) {
        std::fprintf(stderr, "(.+)+; was found, the measurement is wrong\n");
        return 1;
    }
    vexa::Document longLine;
    loadLines(longLine, std::string(10'000, 'a'));
    std::printf("pathological_line_ms: %.3f\n", timeRegexFind(longLine, "(a+)+b", patternFound));
    if (patternFound) {
        std::fprintf(stderr, "(a+)+b was found, the measurement is wrong\n");
        return 1;
    }
    return 0;
}
