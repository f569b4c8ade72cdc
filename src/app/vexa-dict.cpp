// vexa-dict: makes spelling dictionaries from plain word lists and looks into them.
//   vexa-dict build LIST OUT.DIC "Description"   one word a line (UTF-8 or Windows-1252)
//   vexa-dict check DICT.DIC word...              prints each word the dictionary does not accept
//   vexa-dict list DICT.DIC                       prints every word, bucket by bucket
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "Version.h"
#include "aids/SpellDictionary.h"
#include "aids/WordList.h"
#include "settings/InfoFile.h"

namespace {

using vexa::aids::SpellDictionary;

constexpr const char* kUsage = "usage: vexa-dict build LIST OUT.DIC \"Description\"\n"
                               "       vexa-dict check DICT.DIC word...\n"
                               "       vexa-dict list DICT.DIC\n"
                               "       vexa-dict --help | --version\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool loadDictionary(const std::string& path, SpellDictionary& dictionary) {
    const auto result = dictionary.load(path);
    if (result == SpellDictionary::FileResult::OpenFailed) {
        std::fprintf(stderr, "vexa-dict: %s\n", vexa::infoOpenErrorMessage(path).c_str());
        return false;
    }
    if (result != SpellDictionary::FileResult::Ok) {
        std::fprintf(stderr, "vexa-dict: %s\n", vexa::infoUnknownFormatMessage(path).c_str());
        return false;
    }
    return true;
}

int build(const std::string& listPath, const std::string& outPath, std::string_view description) {
    std::ifstream in(listPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "vexa-dict: cannot read the word list '%s'\n", listPath.c_str());
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SpellDictionary dictionary;
    dictionary.setDescription(description);
    dictionary.setFileName(outPath);
    const vexa::aids::WordListResult result = vexa::aids::addWordList(text, dictionary);
    for (const auto& skipped : result.skipped) {
        std::fprintf(stderr, "%s:%zu: skipped '%s': %s\n", listPath.c_str(), skipped.lineNumber,
                     skipped.word.c_str(), skipped.reason.c_str());
    }
    if (dictionary.save() != SpellDictionary::FileResult::Ok) {
        std::fprintf(stderr, "vexa-dict: %s\n", vexa::infoCreateErrorMessage(outPath).c_str());
        return 1;
    }
    std::printf("%zu words written to %s (%zu repeated, %zu skipped)\n", dictionary.wordCount(),
                outPath.c_str(), result.duplicates, result.skipped.size());
    return 0;
}

int check(const std::string& path, int count, char** words) {
    SpellDictionary dictionary;
    if (!loadDictionary(path, dictionary)) {
        return 2;
    }
    int status = 0;
    std::string word;
    for (int i = 0; i < count; ++i) {
        // Arguments come from a UTF-8 terminal; the dictionary holds Windows-1252 words.
        if (!vexa::aids::wordListLineTo1252(words[i], word) || !dictionary.accepts(word)) {
            std::printf("%s\n", words[i]);
            status = 1;
        }
    }
    return status;
}

int list(const std::string& path) {
    SpellDictionary dictionary;
    if (!loadDictionary(path, dictionary)) {
        return 2;
    }
    for (const auto& bucket : dictionary.buckets()) {
        for (const std::string& word : bucket.words) {
            std::fwrite(word.data(), 1, word.size(), stdout);
            std::fputc('\n', stdout);
        }
    }
    return std::ferror(stdout) ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    const std::string_view command = argv[1];
    if ((command == "--help" || command == "-h") && argc == 2) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--version" && argc == 2) {
        std::printf("vexa-dict %s\n", vexa::versionText());
        return 0;
    }
    if (command == "build" && argc == 5) {
        return build(argv[2], argv[3], argv[4]);
    }
    if (command == "check" && argc >= 3) {
        return check(argv[2], argc - 3, argv + 3);
    }
    if (command == "list" && argc == 3) {
        return list(argv[2]);
    }
    return usage();
}
