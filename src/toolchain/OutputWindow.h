// The line model of one output window: the lines a run wrote, their classification, the selection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/ErrorLineParser.h"

namespace vexa::toolchain {

enum class OutputKind : uint8_t { Compiler, Project, Standard, SearchResults };

inline constexpr std::string_view kCompilerOutputTitle = "Compiler Output";
inline constexpr std::string_view kProjectOutputTitle = "Project Output";
inline constexpr std::string_view kStandardOutputTitle = "Standard Output";
inline constexpr std::string_view kSearchResultsTitle = "Search Results";
inline constexpr std::string_view kMaximumLinesReached = "The maximum listbox count reached.";
inline constexpr std::string_view kCommandCompleted = "Command has completed.";
inline constexpr std::string_view kCompiledWithErrors = "Compilation completed with errors.";
inline constexpr std::string_view kCompiledWithWarnings = "Compilation completed with warnings.";
inline constexpr std::string_view kCompiledSuccessfully = "Compilation completed successfully.";
inline constexpr const char* kUnableToOpenErrorFile = "Unable to open the '%s' error file.";
inline constexpr std::string_view kLineCutNotice = " [... the rest of this long line is not shown]";

// Splits bytes that arrive in pieces into lines (ending with LF, CR LF or CR); of a line longer
// than the output window keeps, only the start is held, and the line is said to be cut.
class OutputLineSplitter {
public:
    void feed(std::string_view bytes, const std::function<void(std::string_view, bool)>& emit);
    // The last line when the bytes did not end with a line end.
    void finish(const std::function<void(std::string_view, bool)>& emit);

private:
    void keep(std::string_view piece);

    std::string m_line;
    bool m_cut = false;
    bool m_afterCarriageReturn = false;
};

// The place a line stands for, given by whoever wrote the line (a function of the function list, a
// match of a search): a full path, a line from 1 and a byte column from 1 (0 for none).
struct OutputLocation {
    std::string path;
    int line = 0;
    int column = 0;
};

// One line as the window holds it.
struct OutputLine {
    std::string text;
    ParsedLine parsed;           // kind None in the standard window, which classifies nothing
    uint32_t directoryIndex = 0; // the base directory in effect (see OutputWindow::directory)
    // Where the line leads; choosing a line with one goes there before any pattern is tried.
    std::optional<OutputLocation> location;
};

class OutputWindow {
public:
    // The list holds at most this many lines; the last one is the notice that it is full.
    static constexpr std::size_t kMaxLines = 32760;
    // Of a longer line only this many bytes are kept and classified (enough for a deep path).
    static constexpr std::size_t kMaxLineBytes = 4096;

    OutputWindow(OutputKind kind, UserErrorPatterns patterns = {});

    OutputKind kind() const { return m_kind; }
    std::string_view title() const;
    bool classifies() const { return m_kind == OutputKind::Compiler || m_kind == OutputKind::Project; }

    // Empties the list and the selection, and resets the error and warning flags. The run's
    // directory is the base for locating files; the default file is what error lines without a
    // file name of their own refer to.
    void clear();
    void setRun(std::string directory, std::string defaultFile);
    // The user's own error and line patterns, taken afresh for every run.
    void setUserPatterns(UserErrorPatterns patterns) { m_parser = ErrorLineParser(std::move(patterns)); }
    const std::string& runDirectory() const { return m_directories.front(); }
    const std::string& defaultFile() const { return m_defaultFile; }

    // The separator, title and separator lines that open every run's output.
    void addHeader();
    // How many lines the header took since the last clear (0 without one).
    std::size_t headerLineCount() const { return m_headerLines; }
    // How often the window was cleared: a reader following its lines starts again when it changes.
    uint64_t clearCount() const { return m_clears; }
    // Appends a line without its last line-end characters; at the limit the notice takes the last
    // place and later lines are dropped. The compiler and project windows classify it. A line that
    // is cut (here or by its reader) keeps its first kMaxLineBytes and ends with the cut notice.
    void addLine(std::string_view text, bool cut = false);
    // Appends a line that leads to a place of its own; it is not classified.
    void addLine(std::string_view text, OutputLocation location);
    // Whether the list is full: later lines are dropped.
    bool isFull() const { return m_lines.size() >= kMaxLines; }
    // Adds every line of a file, then an empty line and the closing line; false (with the failure
    // lines added instead) when the file cannot be opened. The file is read in pieces, and no
    // further than the lines the list keeps.
    bool loadFile(const std::string& path);
    // The same over bytes already read (lines end with LF, CR LF or CR).
    void loadText(std::string_view bytes);

    const std::vector<OutputLine>& lines() const { return m_lines; }
    std::size_t lineCount() const { return m_lines.size(); }
    // A run that ended with a failing status counts as one with errors even when none of its
    // lines reads as an error line (a compiler that could not be started, a crash).
    void setRunFailed(bool failed) { m_runFailed = failed; }
    bool errorSeen() const { return m_errorSeen || m_runFailed; }
    bool warningSeen() const { return m_warningSeen; }
    // Whether the run printed any line (the lines loaded by loadFile or loadText since clear).
    bool printedLines() const { return m_printedLines; }
    // The closing line for the flags ("Compilation completed with errors." ...).
    std::string_view outcome() const;

    // The base directory of a line: the run's directory, or the directory make said it entered.
    const std::string& directoryOf(std::size_t index) const;

    std::optional<std::size_t> selection() const { return m_selection; }
    void setSelection(std::optional<std::size_t> index);

    // Every line joined with CR LF, for the clipboard.
    std::string allText() const;

private:
    enum class Reading : uint8_t { Classified, AsIs };
    void append(std::string_view text, Reading reading, bool cut);
    void addClosingLines();
    void addFailureLines(const std::string& path);
    void followMakeDirectory(std::string_view text);

    OutputKind m_kind;
    ErrorLineParser m_parser;
    std::vector<OutputLine> m_lines;
    std::vector<std::string> m_directories{std::string()};
    std::vector<uint32_t> m_directoryStack;
    bool m_leaving = false;
    std::string m_defaultFile;
    std::optional<std::size_t> m_selection;
    bool m_errorSeen = false;
    bool m_warningSeen = false;
    bool m_runFailed = false;
    bool m_printedLines = false;
    std::size_t m_headerLines = 0;
    uint64_t m_clears = 0;
};

} // namespace vexa::toolchain
