// Timing of the writing aids against the English dictionary made from the system's word list:
// loading it, checking the words, comments and strings of the generated 100,000-line C text, and
// suggestions for a misspelt word.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "aids/SpellChecker.h"
#include "aids/WordList.h"
#include "frame/HeadlessFrame.h"
#include "support/GeneratedText.h"
#include "syntax/ColourTable.h"
#include "syntax/SyntaxProfile.h"

namespace {

using vexa::aids::SpellDictionary;

} // namespace

int main() {
    const std::filesystem::path list = "/usr/share/dict/american-english";
    std::ifstream in(list, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "vexa-bench-aids: the word list %s is missing (package wamerican)\n",
                     list.c_str());
        return 1;
    }
    const std::string words((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::filesystem::path directory = std::filesystem::temp_directory_path() / "vexa-bench-aids";
    std::filesystem::create_directories(directory);
    const std::string dictionaryPath = (directory / "ENGLISH.DIC").string();
    {
        SpellDictionary built;
        built.setDescription("English (American)");
        built.setFileName(dictionaryPath);
        (void)vexa::aids::addWordList(words, built);
        if (built.save() != SpellDictionary::FileResult::Ok) {
            std::fprintf(stderr, "vexa-bench-aids: cannot write %s\n", dictionaryPath.c_str());
            return 1;
        }
        std::printf("dictionary_words: %zu\n", built.wordCount());
    }

    double bestLoad = 1e9;
    for (int round = 0; round < 5; ++round) {
        SpellDictionary loaded;
        const auto start = std::chrono::steady_clock::now();
        const auto result = loaded.load(dictionaryPath);
        bestLoad = std::min(bestLoad, vexa::bench::secondsSince(start));
        if (result != SpellDictionary::FileResult::Ok) {
            return 1;
        }
    }
    std::printf("dictionary_load_ms: %.1f\n", bestLoad * 1e3);

    vexa::HeadlessFrame frame;
    vexa::aids::SpellChecker checker(directory.string(), frame, nullptr);
    checker.setSettings({dictionaryPath, {}});
    checker.ensureLoaded();

    const std::string text = vexa::bench::generateCText(100'000);
    const std::vector<std::string_view> lines = vexa::bench::splitGeneratedLines(text);
    vexa::syntax::ColourTable colours;
    vexa::syntax::SyntaxProfile profile(colours, vexa::syntax::BuiltInKeywords::Yes);
    profile.setSpecial(vexa::syntax::SpecialChar::Literal, '\\');
    profile.setSpecial(vexa::syntax::SpecialChar::Preprocessor, '#');
    double bestScan = 1e9;
    std::size_t stops = 0;
    for (int round = 0; round < 3; ++round) {
        stops = 0;
        const auto start = std::chrono::steady_clock::now();
        for (const std::string_view line : lines) {
            std::size_t from = 0;
            while (auto stop = checker.scanLine(line, profile, from, nullptr)) {
                ++stops;
                from = static_cast<std::size_t>(stop->offset + stop->length);
            }
        }
        bestScan = std::min(bestScan, vexa::bench::secondsSince(start));
    }
    std::printf("spell_lines: %zu\n", lines.size());
    std::printf("spell_unknown_words: %zu\n", stops);
    std::printf("spell_100k_lines_s: %.3f\n", bestScan);

    const std::vector<std::string_view> misspelt = {"wurld", "recieve", "teh", "definately", "speling"};
    double worst = 0;
    std::size_t found = 0;
    for (const std::string_view word : misspelt) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<std::string> suggestions = checker.suggestions(word);
        worst = std::max(worst, vexa::bench::secondsSince(start));
        found += suggestions.size();
    }
    std::printf("suggest_words: %zu\n", found);
    std::printf("suggest_ms: %.2f\n", worst * 1e3);
    std::filesystem::remove_all(directory);
    return 0;
}
