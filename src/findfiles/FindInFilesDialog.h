// The Find in Files dialog's model: the find text (with Find's history), the folder, the file
// patterns and the options, checked when the user presses Find.
#pragma once

#include <string>
#include <string_view>

#include "findfiles/FolderSearch.h"
#include "frame/DialogModel.h"
#include "settings/HistoryFile.h"

namespace vexa::findfiles {

inline constexpr std::string_view kFindInFilesTitle = "Find in Files";
inline constexpr std::string_view kDefaultFilePatterns =
    "*.c;*.h;*.cpp;*.hpp;*.cc;*.cxx;*.hxx;*.inl;*.py;*.md;*.txt;Makefile;CMakeLists.txt";
inline constexpr std::string_view kNothingToFind = "Type the text to find.";
inline constexpr const char* kNoSuchFolder = "The folder '%s' does not exist.";

// The folder a search starts from for a document: the nearest folder at or above the document's
// own that holds ".git" (a folder, or the file of a work tree), else the document's folder; the current folder for a document without a
// file.
[[nodiscard]] std::string defaultSearchFolder(const std::string& documentPath);

class FindInFilesDialog : public DialogModel {
public:
    // Reads Find's history from the configuration directory (a path ending in '/').
    FindInFilesDialog(std::string configDirectory, FolderSearchRequest defaults);

    std::string_view title() const override { return kFindInFilesTitle; }

    [[nodiscard]] const HistoryFile& findHistory() const { return m_history; }
    [[nodiscard]] std::string_view filePatterns() const { return m_patterns; }
    void setFilePatterns(std::string patterns) { m_patterns = std::move(patterns); }
    // The fields of the request the dialog edits (find text, folder, options, subfolders, hidden
    // folders, ignore files); the file patterns are kept as typed above.
    [[nodiscard]] FolderSearchRequest& request() { return m_request; }

    // The Find button: true when the dialog may close (a find text and an existing folder; else
    // problem() says what is missing). The find text enters the shared history, which is saved.
    [[nodiscard]] bool pressFind();
    [[nodiscard]] const std::string& problem() const { return m_problem; }

private:
    std::string m_problem;
    std::string m_configDirectory;
    HistoryFile m_history;
    std::string m_patterns;
    FolderSearchRequest m_request;
};

} // namespace vexa::findfiles
