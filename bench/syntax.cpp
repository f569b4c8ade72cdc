// Timing of syntax colouring: tokenizing the generated C text with the C profile, painting a
// full screen of 60 lines by 200 columns with a column mark across it (also of UTF-8 text mixed into
// the code), and importing a dictionary of 104,000 words as a keyword list.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "frame/HeadlessFrame.h"
#include "support/GeneratedText.h"
#include "syntax/EditExtensionDialog.h"
#include "syntax/ExtensionProfile.h"
#include "syntax/LinePainter.h"
#include "syntax/LineTokenizer.h"

namespace {

using vexa::syntax::ExtensionProfile;

ExtensionProfile cProfile() {
    ExtensionProfile profile(vexa::syntax::BuiltInKeywords::Yes);
    profile.setExtension("C");
    profile.setSpecial(vexa::syntax::SpecialChar::Literal, '\\');
    return profile;
}

// Imports a dictionary-sized word file (unsorted, with some duplicates) through the New Extension
// dialog; prints the time in milliseconds.
void benchKeywordImport() {
    constexpr int kWords = 104000;
    std::string path = "/tmp/vexa-bench-words-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) {
        return;
    }
    close(fd);
    {
        std::ofstream out(path, std::ios::binary);
        // A fixed scramble of the numbers so the file is not already in order.
        for (int i = 0; i < kWords; ++i) {
            const int n = static_cast<int>((static_cast<long long>(i) * 7919) % kWords);
            out << "word" << n << (i % 50 == 0 ? "\nword7\n" : "\n");
        }
    }
    vexa::HeadlessFrame frame;
    ExtensionProfile profile(vexa::syntax::BuiltInKeywords::Yes);
    vexa::syntax::EditExtensionDialog dialog(profile, vexa::syntax::ExtensionDialogMode::New, frame, "/tmp");
    frame.chooseNextOpen({path});
    const auto start = std::chrono::steady_clock::now();
    const bool imported = dialog.importKeywords();
    const double seconds = vexa::bench::secondsSince(start);
    std::remove(path.c_str());
    std::printf("keyword_import_words: %zu\n", imported ? dialog.keywordEntries().size() : 0);
    std::printf("keyword_import_104000_ms: %.1f\n", seconds * 1e3);
}

} // namespace

int main() {
    const std::string text = vexa::bench::generateCText();
    const std::vector<std::string_view> lines = vexa::bench::splitGeneratedLines(text);
    const ExtensionProfile profile = cProfile();
    std::size_t bytes = 0;
    for (const auto line : lines) {
        bytes += line.size();
    }

    // Best of three passes over every line, so that a busy moment of the machine does not count.
    double best = 1e9;
    std::size_t tokens = 0;
    for (int pass = 0; pass < 3; ++pass) {
        tokens = 0;
        const auto start = std::chrono::steady_clock::now();
        for (const auto line : lines) {
            for (std::size_t pos = 0;;) {
                const vexa::syntax::Token token = vexa::syntax::scanToken(profile, line, pos);
                if (token.kind == vexa::syntax::TokenKind::EndOfLine) {
                    break;
                }
                ++tokens;
                pos = token.offset + token.length;
            }
        }
        best = std::min(best, vexa::bench::secondsSince(start));
    }
    std::printf("tokenize_lines: %zu\n", lines.size());
    std::printf("tokenize_tokens: %zu\n", tokens);
    std::printf("tokenize_mb_s: %.1f\n", static_cast<double>(bytes) / best / 1e6);

    // A screen of 60 lines, each filled to at least 200 columns from the generated lines.
    constexpr int kScreenLines = 60;
    constexpr int kScreenColumns = 200;
    std::vector<std::string> screen;
    std::size_t next = 0;
    for (int row = 0; row < kScreenLines; ++row) {
        std::string line;
        while (line.size() < static_cast<std::size_t>(kScreenColumns)) {
            line.append(lines[next++ % lines.size()]);
            line.push_back(' ');
        }
        screen.push_back(line);
    }
    vexa::syntax::LinePainter painter;
    const vexa::syntax::VisibleColumns visible{0, kScreenColumns - 1};
    const vexa::syntax::MarkedColumns marked{40, 120};
    constexpr int kRepeats = 2000;
    std::size_t runs = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        for (const std::string& line : screen) {
            runs += painter.paint(line, {}, profile, vexa::LineLayout{4}, visible, marked).size();
        }
    }
    const double seconds = vexa::bench::secondsSince(start);
    std::printf("paint_runs_per_screen: %zu\n", runs / kRepeats);
    std::printf("paint_screen_us: %.1f\n", seconds / kRepeats * 1e6);

    // The same screen of UTF-8 text: Latin, Greek, CJK and box drawing between the code.
    static constexpr const char* kUtf8Pieces[] = {
        "Gr\xC3\xBC\xC3\x9F"
        "e caf\xC3\xA9 ",
        "\xCE\xB1\xCE\xB2\xCE\xB3 \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 ",
        "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97 ",
        "\xE2\x94\x8C\xE2\x94\x80\xE2\x94\x80\xE2\x94\x90 ",
    };
    std::vector<std::string> utf8Screen;
    for (int row = 0; row < kScreenLines; ++row) {
        std::string line;
        for (std::size_t piece = static_cast<std::size_t>(row); line.size() < 2 * kScreenColumns; ++piece) {
            line.append(piece % 2 == 0 ? lines[next++ % lines.size()]
                                       : kUtf8Pieces[piece / 2 % std::size(kUtf8Pieces)]);
            line.push_back(' ');
        }
        utf8Screen.push_back(line);
    }
    std::size_t utf8Runs = 0;
    const auto utf8Start = std::chrono::steady_clock::now();
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        for (const std::string& line : utf8Screen) {
            utf8Runs +=
                painter
                    .paint(line, {}, profile, vexa::LineLayout{4, vexa::TextEncoding::Utf8}, visible, marked)
                    .size();
        }
    }
    const double utf8Seconds = vexa::bench::secondsSince(utf8Start);
    std::printf("paint_runs_per_screen_utf8: %zu\n", utf8Runs / kRepeats);
    std::printf("paint_screen_utf8_us: %.1f\n", utf8Seconds / kRepeats * 1e6);
    benchKeywordImport();
    return 0;
}
