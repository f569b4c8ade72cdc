// Building and searching keyword index files.
#include "aids/HelpIndex.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/AtomicFile.h"
#include "platform/Files.h"
#include "regex/CaseFolding.h"
#include "text/TextEncoding.h"

namespace vexa::aids {
namespace {

// Index lines and keywords are Windows-1252: every letter with two cases folds, not only ASCII.
char32_t folded(char c) {
    return foldedCharacter(text::windows1252ToUnicode(static_cast<unsigned char>(c)));
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (folded(text[i]) != folded(prefix[i])) {
            return false;
        }
    }
    return true;
}

// A keyword as one index line: cut to the limit, line breaks made blanks so one keyword stays
// one line.
std::string indexLine(std::string_view keyword) {
    std::string line(keyword.substr(0, kMaxIndexedKeyword));
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return line;
}

void dropCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
}

} // namespace

std::string helpFileName(std::string_view name) {
    std::string result(name);
    if (platform::namePart(name).find('.') == std::string_view::npos) {
        result += ".HLP";
    }
    return result;
}

std::string helpIndexPath(std::string_view helpDirectory, std::string_view helpFile) {
    std::string_view name = platform::namePart(helpFile);
    std::size_t dot = name.rfind('.');
    std::string path(helpDirectory);
    path += name.substr(0, dot);
    path += kHelpIndexExtension;
    return path;
}

std::string helpIndexText(const std::string& helpFilePath, const HelpFileContents& contents) {
    char count[32];
    std::snprintf(count, sizeof count, "%5.5zu\n", contents.keywords.size());
    std::string text = count;
    // The help file's path is never cut: a cut path names no file, and the search would delete
    // the index.
    text += helpFilePath + "\n";
    text += indexLine(contents.title) + "\n";
    for (const std::string& keyword : contents.keywords) {
        text += indexLine(keyword) + "\n";
    }
    return text;
}

HelpIndexStatus buildHelpIndex(std::string_view helpFile, const std::string& indexPath) {
    std::string name = helpFileName(helpFile);
    HelpIndexStatus status = HelpIndexStatus::CannotOpen;
    std::ifstream in(name, std::ios::binary);
    if (in) {
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) {
            status = HelpIndexStatus::CannotOpen;
        } else {
            HelpFileContents contents = readHelpFile(bytes);
            status = contents.status;
            if (status == HelpIndexStatus::Done) {
                std::string full = platform::fullPath(name).value_or(name);
                // A path holding a line break cannot be one line of the index.
                if (full.find_first_of("\r\n") != std::string::npos ||
                    !platform::writeFileAtomically(indexPath, helpIndexText(full, contents))) {
                    status = HelpIndexStatus::CannotWrite;
                }
            }
        }
    }
    if (status != HelpIndexStatus::Done) {
        (void)platform::removeFile(indexPath);
    }
    return status;
}

std::string_view helpIndexStatusText(HelpIndexStatus status) {
    switch (status) {
    case HelpIndexStatus::Done:
        return "";
    case HelpIndexStatus::CannotOpen:
        return "Unable to open help file.";
    case HelpIndexStatus::CannotWrite:
        return "Can't write help index file to disk.";
    case HelpIndexStatus::UnknownFormat:
        return "Unknown help file format.";
    case HelpIndexStatus::NoKeywords:
        return "No index information found in the selected help file.";
    case HelpIndexStatus::DirectoryError:
        return "Unexpected program error.";
    }
    return "Unexpected program error.";
}

std::vector<std::string> helpIndexFiles(const std::string& helpDirectory) {
    std::set<std::string> names;
    for (const char* pattern : {"*.ZIX", "*.zix"}) {
        for (const platform::FoundFile& found : platform::findFiles(helpDirectory + pattern)) {
            names.insert(found.name);
        }
    }
    return {names.begin(), names.end()};
}

HelpSearchResult searchHelpIndexes(const std::string& helpDirectory, const std::string& installDirectory,
                                   std::string_view keyword) {
    HelpSearchResult result;
    std::vector<std::string> indexes = helpIndexFiles(helpDirectory);
    for (const std::string& index : indexes) {
        if (result.hits.size() >= kMaxHelpHits) {
            break;
        }
        std::string indexPath = helpDirectory + index;
        std::ifstream in(indexPath, std::ios::binary);
        std::string count;
        std::string helpFile;
        std::string title;
        if (!std::getline(in, count) || !std::getline(in, helpFile) || !std::getline(in, title)) {
            continue;
        }
        dropCarriageReturn(helpFile);
        dropCarriageReturn(title);
        if (!platform::isRegularFile(helpFile)) {
            std::string installed = installDirectory + std::string(platform::namePart(helpFile));
            if (!platform::isRegularFile(installed)) {
                in.close();
                (void)platform::removeFile(indexPath);
                continue;
            }
            helpFile = installed;
        }
        std::string line;
        while (std::getline(in, line)) {
            dropCarriageReturn(line);
            if (startsWithIgnoringCase(line, keyword)) {
                result.hits.push_back({helpFile, title});
                break;
            }
        }
    }
    if (indexes.empty()) {
        result.code = HelpSearchCode::NoIndex;
    } else if (result.hits.empty()) {
        result.code = HelpSearchCode::NoHit;
    } else {
        result.code = result.hits.size() == 1 ? HelpSearchCode::OneHit : HelpSearchCode::SeveralHits;
    }
    return result;
}

} // namespace vexa::aids
