// The keyword index files of installed help files: building one from a help file and searching
// all of them for a keyword.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "aids/HelpFile.h"

namespace vexa::aids {

// Index file names end in this extension; the index of NAME.HLP is NAME.ZIX.
inline constexpr std::string_view kHelpIndexExtension = ".ZIX";
// A search keeps at most this many hits.
inline constexpr std::size_t kMaxHelpHits = 20;
// Keywords are cut to this many characters in the index.
inline constexpr std::size_t kMaxIndexedKeyword = 179;

// The help file name with ".HLP" appended when its name part has no dot.
[[nodiscard]] std::string helpFileName(std::string_view name);
// The index file name of a help file inside the help directory (which ends in '/').
[[nodiscard]] std::string helpIndexPath(std::string_view helpDirectory, std::string_view helpFile);

// The text of an index: count line, help file line, title line, one line per keyword.
[[nodiscard]] std::string helpIndexText(const std::string& helpFilePath, const HelpFileContents& contents);

// Builds the index of a help file into indexPath, written whole or not at all. On any status but
// Done no index file is left at indexPath.
[[nodiscard]] HelpIndexStatus buildHelpIndex(std::string_view helpFile, const std::string& indexPath);

// The message an index status gives in the configuration dialog ("" for Done).
[[nodiscard]] std::string_view helpIndexStatusText(HelpIndexStatus status);

struct HelpHit {
    std::string helpFile;
    std::string title;
    friend bool operator==(const HelpHit&, const HelpHit&) = default;
};

enum class HelpSearchCode : uint8_t { OneHit = 0, SeveralHits = 1, NoHit = 2, NoIndex = 3 };

struct HelpSearchResult {
    HelpSearchCode code = HelpSearchCode::NoIndex;
    std::vector<HelpHit> hits;
    // The selected hit; meaningful for OneHit.
    std::size_t selected = 0;
};

// Searches every index file of the help directory (which ends in '/') for a keyword beginning
// with the given text, case ignored. An index whose help file exists neither where it names nor
// under the same name in the install directory is deleted.
[[nodiscard]] HelpSearchResult searchHelpIndexes(const std::string& helpDirectory,
                                                 const std::string& installDirectory,
                                                 std::string_view keyword);

// The index files of the help directory, sorted by name.
[[nodiscard]] std::vector<std::string> helpIndexFiles(const std::string& helpDirectory);

} // namespace vexa::aids
