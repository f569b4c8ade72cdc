// A search of a folder tree: which files it reads (file patterns, hidden folders, ignore files;
// symbolic links are never followed) and the lines of each that match, on one or more threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "findfiles/LineFinder.h"

namespace vexa::findfiles {

// What to search and how. Everything is a value, so that a worker thread can own a copy.
struct FolderSearchRequest {
    std::string folder;
    std::string findText; // UTF-8, as typed
    FindOptions options;
    // Name patterns ("*.c", "Makefile"); a file is searched when its name matches one. Empty, or
    // holding "*", searches every file.
    std::vector<std::string> filePatterns;
    bool subfolders = true;
    // Folders whose names start with "." (".git" among them) are not entered.
    bool skipHiddenFolders = true;
    bool useIgnoreFiles = true;
    // Full paths searched elsewhere (documents open in the editor, searched in their edited text).
    std::vector<std::string> excludedFiles;
    int threads = 2;
};

// One line of a result: its number from 1, the byte offset of the match in it, and its text in
// UTF-8 without the line end.
struct ResultLine {
    int line = 0;
    int column = 0;
    std::string text;
};

enum class FileOutcomeKind : uint8_t { Searched, Binary, Unreadable };

// What searching one file gave. Paths are relative to the searched folder, with "/".
struct FileOutcome {
    std::string relativePath;
    FileOutcomeKind kind = FileOutcomeKind::Searched;
    std::string errorText;
    std::vector<ResultLine> lines;
};

// The counts a search reports as it goes and when it ends.
struct SearchTotals {
    std::size_t filesSearched = 0;
    std::size_t matchingLines = 0;
    std::size_t binaryFiles = 0;
    // Files and folders that could not be read, relative to the searched folder (a folder ends
    // with "/"), each with the system's text.
    std::vector<std::string> unreadable;
    bool stopped = false;

    void add(const FileOutcome& outcome);
};

// Splits a pattern list as the dialog takes it: separated by ";" (blanks around each trimmed).
[[nodiscard]] std::vector<std::string> splitFilePatterns(std::string_view list);

class FolderSearch {
public:
    explicit FolderSearch(FolderSearchRequest request);

    // Whether the find text can match (see LineFinder::usable) and the folder exists.
    [[nodiscard]] bool usable() const;
    [[nodiscard]] const std::string& error() const { return m_error; }

    // Searches, giving `deliver` each file's outcome in the order of the walk (names sorted
    // within each folder), on the calling thread. Returns at once with `stopped` set once `stop`
    // is asked. Folders that cannot be read are counted in the totals.
    SearchTotals run(std::stop_token stop, const std::function<void(FileOutcome&&)>& deliver);

    // Searches one file's bytes as `run` does (binary check, encoding, matching lines).
    static void searchBytes(LineFinder& finder, std::string_view bytes, FileOutcome& outcome);

private:
    struct Job {
        std::string relativePath;
    };
    struct WalkState;
    // Reads folders of the walk until at least `enough` files are found or none is left; false
    // when the walk is over.
    bool walk(std::stop_token stop, WalkState& state, std::vector<Job>& jobs, SearchTotals& totals,
              std::size_t enough);
    // Searches the files found by one stretch of the walk, on the request's threads, and hands on
    // their outcomes in walk order.
    void searchFiles(std::stop_token stop, std::vector<Job>& jobs, SearchTotals& totals,
                     const std::function<void(FileOutcome&&)>& deliver);

    FolderSearchRequest m_request;
    std::string m_error;
};

} // namespace vexa::findfiles
