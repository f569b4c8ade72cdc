// The three output windows held together, and what the user does in them: select a line, go to the
// place it names, step through the errors, copy the lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "toolchain/FileLocator.h"
#include "toolchain/IncludeDirectories.h"
#include "toolchain/OutputWindow.h"

namespace vexa {
class CommandProcessor;
class EditPane;
} // namespace vexa

namespace vexa::toolchain {

inline constexpr std::string_view kNoMoreErrors = "No more errors.";
inline constexpr std::string_view kNotAnErrorLine = "This line does not contain an error.";
inline constexpr std::string_view kNoFileOrLine =
    "The line selected does not contain a valid file name or line number.";
inline constexpr const char* kUnexpectedErrorOpening = "Unexpected error opening the '%s' file.";

// What the output windows need from the window system: the main window shows each as a child
// window of the document area; tests use a recording fake.
class OutputWindowHost {
public:
    virtual ~OutputWindowHost() = default;
    // Creates the window on first use, shows it and gives it the focus.
    virtual void showOutputWindow(OutputWindow& window) = 0;
    // The window's lines changed (cleared, loaded): its list is filled again.
    virtual void outputLinesChanged(OutputWindow& window) = 0;
    // The selected line changed (by the editor, not by the list itself).
    virtual void outputSelectionChanged(OutputWindow& window) = 0;
};

class OutputWindows {
public:
    // The error patterns come from the options' "RegularExpress" section. The launcher starts the
    // compiler that is asked for its include directories; without one the usual ones are searched.
    OutputWindows(CommandProcessor& processor, OutputWindowHost& host, platform::ProcessLauncher* launcher = nullptr);

    // Locates a file (the base directory first) and opens it with the cursor on a 1-based line and
    // column (0 leaves them); null when it was not found or could not be opened.
    EditPane* locateAndOpen(std::string_view name, std::string_view baseDirectory, int line, int column = 0);
    // How files named in lines are looked for: the options' search settings and the compiler's
    // include directories.
    LocateSettings locateSettings();

    OutputWindow& window(OutputKind kind);
    OutputWindow& compiler() { return m_compiler; }
    OutputWindow& project() { return m_project; }
    OutputWindow& standard() { return m_standard; }
    OutputWindow& searchResults() { return m_searchResults; }
    OutputWindowHost& host() { return m_host; }

    // Shows and focuses a window.
    void show(OutputKind kind);
    // Tells the host that a window's lines were replaced. The compiler, project and search
    // results windows so filled become the one Next and Previous Error walk.
    void linesChanged(OutputKind kind);
    // The window whose lines Next and Previous Error walk: the one of those three filled last.
    [[nodiscard]] OutputKind lastFilled() const { return m_lastFilled; }
    // Tells the host that lines were added at the end of a window that is filling (a search
    // streaming its results), without making it the walked window again.
    void linesAdded(OutputKind kind);

    // Selects a line, as a click in the list does: in the compiler window an error line of the
    // compiled file takes that document's cursor to its line; every window shows the line's text
    // on the status line.
    void select(OutputKind kind, std::size_t index);
    // Goes to the place the selected line names (double click, Enter): the line's own location
    // when it has one, else what its text names. False when it could not.
    bool goToSelected(OutputKind kind);
    // Selects the next (previous) error or warning line, or line with a location of its own, after
    // (before) the selection and goes there; "No more errors." when there is none, the selection
    // then unchanged.
    bool nextError(OutputKind kind);
    bool previousError(OutputKind kind);
    // Puts every line of the window on the clipboard.
    bool copy(OutputKind kind);

    // The captured output of a DOS command line or tool: the window is cleared, given its header
    // and loaded from the pipe file with the run's directory as base. The status line says
    // "Command has completed." or why the file could not be read; the window is shown when it
    // could not. False when it could not.
    bool showStandardOutput(const std::string& pipeFile, const std::string& directory);

    // The Standard Output window's document: a line number without a file goes there.
    void setStandardDocument(std::string path) { m_standardDocument = std::move(path); }

private:
    bool stepError(OutputKind kind, int direction);
    bool openAt(const std::string& name, const std::string& baseDirectory, int line, int column = 0);
    bool goToInCompiler(OutputWindow& window, std::size_t index);
    bool goToNamedPlace(OutputWindow& window, std::size_t index);
    bool goToLocation(const OutputLocation& location);
    // Opens the compiled file at the line and, where the compiler named one, the column (from 1).
    void goToCompiledLine(const OutputWindow& window, int line, int column = 0);

    CommandProcessor& m_processor;
    OutputWindowHost& m_host;
    OutputWindow m_compiler;
    OutputWindow m_project;
    OutputWindow m_standard;
    OutputWindow m_searchResults;
    OutputKind m_lastFilled = OutputKind::Compiler;
    std::string m_standardDocument;
    CompilerIncludePath m_includePath;
};

} // namespace vexa::toolchain
