// The texts a folder search shows: the line saying what was searched, each result line and the
// summary at the end. The output window and vexa-batch show the same texts.
#pragma once

#include <string>
#include <vector>

#include "findfiles/FolderSearch.h"

namespace vexa::findfiles {

// "Searching for 'TEXT' in FOLDER (OPTIONS)".
[[nodiscard]] std::string searchHeader(const FolderSearchRequest& request);

// "PATH:LINE: TEXT".
[[nodiscard]] std::string resultLineText(const std::string& relativePath, const ResultLine& line);

// The counts, then one line per file or folder that could not be read; the first line says
// whether the search was stopped.
[[nodiscard]] std::vector<std::string> searchSummary(const SearchTotals& totals);

} // namespace vexa::findfiles
