// The texts of a folder search.
#include "findfiles/SearchReport.h"

namespace vexa::findfiles {

std::string searchHeader(const FolderSearchRequest& request) {
    std::string header = "Searching for '" + request.findText + "' in " + request.folder;
    std::string details;
    const auto add = [&](const std::string& text) { details += details.empty() ? text : ", " + text; };
    if (!request.filePatterns.empty()) {
        std::string patterns;
        for (const std::string& pattern : request.filePatterns) {
            patterns += patterns.empty() ? pattern : ";" + pattern;
        }
        add("files " + patterns);
    }
    if (request.options.regularExpression) {
        add("regular expression");
    }
    if (request.options.caseCheck) {
        add("match case");
    }
    if (request.options.wholeWord) {
        add("whole word");
    }
    if (!request.subfolders) {
        add("no subfolders");
    }
    return details.empty() ? header : header + " (" + details + ")";
}

std::string resultLineText(const std::string& relativePath, const ResultLine& line) {
    std::string text = relativePath;
    text += ':';
    text += std::to_string(line.line);
    text += ": ";
    text += line.text;
    return text;
}

std::vector<std::string> searchSummary(const SearchTotals& totals) {
    std::vector<std::string> lines;
    std::string counts = totals.stopped ? "Search stopped: " : "Search completed: ";
    counts += std::to_string(totals.matchingLines) + " matching lines, " +
              std::to_string(totals.filesSearched) + " files searched";
    if (totals.binaryFiles > 0) {
        counts += ", " + std::to_string(totals.binaryFiles) + " binary files skipped";
    }
    if (!totals.unreadable.empty()) {
        counts += ", " + std::to_string(totals.unreadable.size()) + " could not be read";
    }
    lines.push_back(counts + ".");
    for (const std::string& path : totals.unreadable) {
        lines.push_back("Could not read " + path);
    }
    return lines;
}

} // namespace vexa::findfiles
