// Timing of search: a literal that is not in the file through the search state, the built-in
// function patterns on every line, and grep with the first of them for comparison.
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

    // Function scanning: every line, the patterns in order until one matches, ignoring case.
    vexa::RegexMatcher matcher(vexa::RegexMatcher::kIgnoreCase);
    int functions = 0;
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
    std::printf("function_scan_s: %.3f\n", vexa::bench::secondsSince(start));
    std::printf("function_lines: %d\n", functions);

    const std::string command =
        "LC_ALL=C grep -c -i -E " + shellQuoted(kFunctionPatterns[0]) + " " + shellQuoted(path);
    start = Clock::now();
    FILE* grep = popen(command.c_str(), "r");
    if (grep == nullptr) {
        std::fprintf(stderr, "cannot run grep\n");
        return 1;
    }
    char output[64] = {};
    const bool read = std::fgets(output, sizeof output, grep) != nullptr;
    const int status = pclose(grep);
    const double grepSeconds = vexa::bench::secondsSince(start);
    if (!read || status == -1) {
        std::fprintf(stderr, "grep gave no count\n");
        return 1;
    }
    std::printf("grep_function_scan_s: %.3f\n", grepSeconds);
    std::printf("grep_function_lines: %ld\n", std::strtol(output, nullptr, 10));
    return 0;
}
