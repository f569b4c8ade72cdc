// vexa-dict: makes spelling dictionaries from plain word lists and looks into them.
//   vexa-dict build LIST OUT.DIC "Description"   one word a line (UTF-8 or Windows-1252)
//   vexa-dict check DICT.DIC word...              prints each word the dictionary does not accept
//   vexa-dict list DICT.DIC                       prints every word (UTF-8), bucket by bucket
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "Version.h"
#include "aids/SpellDictionary.h"
#include "aids/WordList.h"
#include "settings/InfoFile.h"
#include "text/TextEncoding.h"

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

// The whole file; false (errno set) when it cannot be opened or read, as a directory cannot.
bool readWholeFile(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::array<char, 64 * 1024> buffer{};
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file)) {
        text.append(buffer.data(), got);
    }
    const bool ok = std::ferror(file) == 0;
    const int error = errno;
    std::fclose(file);
    errno = error;
    return ok;
}

int build(const std::string& listPath, const std::string& outPath, std::string_view description) {
    std::string text;
    if (!readWholeFile(listPath, text)) {
        std::fprintf(stderr, "vexa-dict: cannot read the word list '%s': %s\n", listPath.c_str(),
                     std::strerror(errno));
        return 1;
    }
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
    // The dictionary holds Windows-1252 words; the terminal reads UTF-8.
    for (const auto& bucket : dictionary.buckets()) {
        for (const std::string& word : bucket.words) {
            const std::string shown = vexa::text::toUtf8(word, vexa::TextEncoding::Windows1252);
            std::fwrite(shown.data(), 1, shown.size(), stdout);
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
