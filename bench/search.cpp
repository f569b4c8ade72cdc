// Timing of search: a literal that is not in the file through the search state (and grep with it),
// the first built-in function pattern on every line (and grep with it), all three patterns, and
// regular-expression finds with patterns that defeat plain backtracking; then the literal and the
// first of those patterns in a UTF-8 copy of the text with non-ASCII characters on many lines.
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
#include "support/BenchSearchPane.h"
#include "support/GeneratedText.h"

namespace {

using Clock = std::chrono::steady_clock;

// The function patterns tried in this order on each line when the user has set none.
const char* const kFunctionPatterns[] = {
    "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9]+[ \t]*[(]+.*[^; ]+$",
    "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9&+=*<>]+[:_a-z0-9&+=*<>~]+[ \t]*[(]+.*[^; ]+$",
    "^[_a-z0-9&+=*<>]+[:_a-z0-9&+=*<>~]+[ \t]*[(]+.*[^; ]+$",
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

// A plain find (down, ignoring case) for a text the document lacks, from its start; gives seconds.
double timeLiteralFind(vexa::Document& document, const char* findText, bool& found) {
    vexa::SearchState state;
    vexa::bench::BenchSearchPane pane(document);
    state.setFindText(findText, false);
    document.goToLine(0);
    document.setCursorOffset(0);
    const auto start = Clock::now();
    state.attach(&pane);
    found = state.findNext(true);
    state.detach();
    return vexa::bench::secondsSince(start);
}

// The text with a UTF-8 comment of Latin, Greek and CJK characters on every fourth line.
std::string withUtf8Comments(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    std::size_t start = 0;
    int line = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::size_t lineEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        out.append(text, start, lineEnd - start);
        if (line++ % 4 == 0) {
            out += " /* \u00C9t\u00E9 \u00FCber \u03B1\u03B2\u03B3 \u4E2D\u6587 */";
        }
        out += '\n';
        start = end + 1;
    }
    return out;
}

// A regular-expression find for a pattern the document does not match, from its start; gives
// milliseconds.
double timeRegexFind(vexa::Document& document, const char* pattern, bool& found) {
    vexa::SearchState state;
    vexa::bench::BenchSearchPane pane(document);
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
    vexa::bench::BenchSearchPane pane(document);
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

    // The same searches in a UTF-8 document: the plain literal (and one with a Latin letter,
    // folded as a character), compared with the Windows-1252 search of the same ASCII text.
    vexa::Document utf8Document;
    loadLines(utf8Document, withUtf8Comments(text));
    utf8Document.setEncoding(vexa::TextEncoding::Utf8);
    vexa::Document asciiDocument;
    loadLines(asciiDocument, text);
    bool literalFound = false;
    const double ascii = timeLiteralFind(asciiDocument, "no_such_identifier", literalFound);
    const double utf8 = timeLiteralFind(utf8Document, "no_such_identifier", literalFound);
    std::printf("literal_utf8_s: %.3f\n", utf8);
    // The UTF-8 document is a quarter longer by its comments; the ratio is per byte.
    const double bytesRatio =
        static_cast<double>(text.size()) / static_cast<double>(withUtf8Comments(text).size());
    std::printf("literal_utf8_ratio: %.2f\n", ascii > 0 ? utf8 * bytesRatio / ascii : 0.0);
    const double latin = timeLiteralFind(utf8Document, "no_such_\u00E9t\u00E9", literalFound);
    std::printf("literal_utf8_latin_s: %.3f\n", latin);
    if (literalFound) {
        std::fprintf(stderr, "the UTF-8 literal was found, the measurement is wrong\n");
        return 1;
    }
    vexa::Document utf8Source;
    loadLines(utf8Source, withUtf8Comments(withoutSemicolons));
    utf8Source.setEncoding(vexa::TextEncoding::Utf8);
    std::printf("pathological_scan_utf8_ms: %.3f\n", timeRegexFind(utf8Source, "(.+)+;", patternFound));
    if (patternFound) {
        std::fprintf(stderr, "(.+)+; was found in UTF-8, the measurement is wrong\n");
        return 1;
    }
    // Only sets of characters: no byte a line must hold turns it away, so the interpreter runs
    // from every start of every line.
    std::printf("nested_sets_utf8_ms: %.3f\n",
                timeRegexFind(utf8Source, "(.+)+[\u00E0-\u00FF][\u4E00-\u9FFF]", patternFound));
    if (patternFound) {
        std::fprintf(stderr, "the UTF-8 set pattern was found, the measurement is wrong\n");
        return 1;
    }
    return 0;
}
