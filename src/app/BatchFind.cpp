// The find mode of vexa-batch, over the folder search the editor's Find in Files uses.
#include "app/BatchFind.h"

#include <cstdio>
#include <iostream>
#include <stop_token>
#include <string>
#include <string_view>

#include "findfiles/FolderSearch.h"
#include "findfiles/SearchReport.h"

namespace vexa::app {
namespace {

constexpr int kMatches = 0;
constexpr int kNoMatches = 1;
constexpr int kBadArguments = 2;

constexpr const char* kFindUsage =
    "Usage: vexa-batch --find PATTERN [--regex] [--case] [--word] [--include GLOB]... [DIR]\n"
    "Prints every line under DIR (default .) that holds PATTERN, as PATH:LINE: TEXT with PATH\n"
    "relative to DIR. Every file is searched unless --include names the files to search; .gitignore\n"
    "rules apply, hidden folders and .git are skipped, binary files are skipped and counted.\n"
    "  --regex   PATTERN is a regular expression\n"
    "  --case    letters must match in case\n"
    "  --word    PATTERN must match a whole word\n"
    "Exit status: 0 with matches, 1 with none, 2 for bad arguments or a folder that cannot be read.\n";

int findUsageError(std::string_view why) {
    std::cerr << "vexa-batch: " << why << "\n" << kFindUsage;
    return kBadArguments;
}

} // namespace

int runBatchFind(int argc, char* argv[]) {
    if (argc < 3) {
        return findUsageError("--find needs a PATTERN");
    }
    if (std::string_view(argv[2]) == "--help") {
        std::cout << kFindUsage;
        return kMatches;
    }
    findfiles::FolderSearchRequest request;
    request.findText = argv[2];
    bool folderGiven = false;
    for (int i = 3; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--regex") {
            request.options.regularExpression = true;
        } else if (arg == "--case") {
            request.options.caseCheck = true;
        } else if (arg == "--word") {
            request.options.wholeWord = true;
        } else if (arg == "--include") {
            if (i + 1 >= argc) {
                return findUsageError("--include needs a GLOB");
            }
            request.filePatterns.emplace_back(argv[++i]);
        } else if (arg.starts_with("-") && arg != "-") {
            return findUsageError("unknown option '" + std::string(arg) + "'");
        } else if (folderGiven) {
            return findUsageError("more than one DIR given");
        } else {
            request.folder = std::string(arg);
            folderGiven = true;
        }
    }
    if (!folderGiven) {
        request.folder = ".";
    }
    request.threads = 2;
    const std::string header = findfiles::searchHeader(request);
    findfiles::FolderSearch search(request);
    if (!search.usable()) {
        std::cerr << "vexa-batch: " << search.error() << "\n";
        return kBadArguments;
    }
    std::cerr << header << "\n";
    std::string line;
    const findfiles::SearchTotals totals =
        search.run(std::stop_token{}, [&](findfiles::FileOutcome&& outcome) {
            for (const findfiles::ResultLine& result : outcome.lines) {
                line = findfiles::resultLineText(outcome.relativePath, result);
                line += '\n';
                std::fwrite(line.data(), 1, line.size(), stdout);
            }
        });
    std::fflush(stdout);
    for (const std::string& text : findfiles::searchSummary(totals)) {
        std::cerr << text << "\n";
    }
    return totals.matchingLines > 0 ? kMatches : kNoMatches;
}

} // namespace vexa::app
