// Selecting, going to, stepping through and copying the lines of the output windows.
#include "toolchain/OutputWindows.h"

#include "toolchain/PathParts.h"
#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "core/MarkState.h"
#include "platform/Clipboard.h"
#include "settings/Format.h"
#include "settings/Options.h"
#include "text/TextEncoding.h"

namespace vexa::toolchain {
namespace {

UserErrorPatterns patternsOf(const Options& options) {
    return UserErrorPatterns{options.regex().errors, options.regex().lines};
}

} // namespace

EditPane* OutputWindows::locateAndOpen(std::string_view name, std::string_view baseDirectory, int line,
                                       int column) {
    DocumentWindows* windows = m_processor.windows();
    const auto path = locateFile(name, baseDirectory, locateSettings());
    if (!path || windows == nullptr) {
        return nullptr;
    }
    EditPane* pane = windows->openDocumentAt(*path, line);
    if (pane != nullptr && column > 0) {
        pane->document().setCursorColumn(column - 1);
        pane->document().nextGroup();
    }
    return pane;
}

OutputWindows::OutputWindows(CommandProcessor& processor, OutputWindowHost& host,
                             platform::ProcessLauncher* launcher)
    : m_processor(processor), m_host(host), m_compiler(OutputKind::Compiler, patternsOf(processor.options())),
      m_project(OutputKind::Project, patternsOf(processor.options())), m_standard(OutputKind::Standard),
      m_searchResults(OutputKind::SearchResults), m_includePath(launcher, processor.options().homeDirectory()) {}

OutputWindow& OutputWindows::window(OutputKind kind) {
    switch (kind) {
    case OutputKind::Compiler:
        return m_compiler;
    case OutputKind::Project:
        return m_project;
    case OutputKind::SearchResults:
        return m_searchResults;
    case OutputKind::Standard:
        break;
    }
    return m_standard;
}

void OutputWindows::show(OutputKind kind) {
    m_host.showOutputWindow(window(kind));
}

void OutputWindows::linesChanged(OutputKind kind) {
    if (kind != OutputKind::Standard) {
        m_lastFilled = kind;
    }
    m_host.outputLinesChanged(window(kind));
}

void OutputWindows::linesAdded(OutputKind kind) {
    m_host.outputLinesChanged(window(kind));
}

LocateSettings OutputWindows::locateSettings() {
    const EditorOptions& editor = m_processor.options().editor();
    return LocateSettings{editor.defaultSearchPath, editor.searchInclude != 0, &m_includePath};
}

bool OutputWindows::showStandardOutput(const std::string& pipeFile, const std::string& directory) {
    m_standard.clear();
    m_standard.setRun(directory, {});
    m_standard.addHeader();
    const bool loaded = m_standard.loadFile(pipeFile);
    m_host.outputLinesChanged(m_standard);
    if (!loaded) {
        m_processor.showStatus(formatText(kUnableToOpenErrorFile, pipeFile.c_str()),
                               platform::SoundKind::Exclamation);
        m_host.showOutputWindow(m_standard);
        return false;
    }
    m_processor.showStatus(kCommandCompleted);
    // What the command printed is what the user ran it for: its window comes forward, as the
    // compiler's does with errors. A command that printed nothing leaves the windows as they are.
    if (m_standard.printedLines()) {
        m_host.showOutputWindow(m_standard);
    }
    return true;
}

void OutputWindows::goToCompiledLine(const OutputWindow& window, int line, int column) {
    if (DocumentWindows* windows = m_processor.windows()) {
        EditPane* pane = windows->openDocumentAt(window.defaultFile(), line);
        if (pane != nullptr && line > 0 && column > 0) {
            pane->document().setCursorColumn(column - 1);
            pane->document().nextGroup();
        }
    }
}

void OutputWindows::select(OutputKind kind, std::size_t index) {
    OutputWindow& output = window(kind);
    if (index >= output.lineCount()) {
        return;
    }
    output.setSelection(index);
    m_host.outputSelectionChanged(output);
    const OutputLine& line = output.lines()[index];
    if (kind == OutputKind::Compiler && !line.location && line.parsed.kind != ErrorKind::None && !line.parsed.otherFile &&
        line.parsed.line > 0) {
        goToCompiledLine(output, line.parsed.line, line.parsed.column);
    }
    m_processor.showStatus(line.text);
}

bool OutputWindows::openAt(const std::string& name, const std::string& baseDirectory, int line, int column) {
    if (locateAndOpen(name, baseDirectory, line, column) == nullptr) {
        m_processor.showStatus(formatText(kUnexpectedErrorOpening, name.c_str()),
                               platform::SoundKind::Exclamation);
        return false;
    }
    return true;
}

bool OutputWindows::goToInCompiler(OutputWindow& output, std::size_t index) {
    const OutputLine& line = output.lines()[index];
    const std::string& base = output.directoryOf(index);
    if (line.parsed.kind == ErrorKind::None) {
        // Not an error line, but it may still name a file ("In file included from x.h:3").
        ErrorLineParser parser;
        const ParsedLine named = parser.fileAndLine(line.text);
        if (named.fileName.empty()) {
            m_processor.showStatus(kNotAnErrorLine, platform::SoundKind::Exclamation);
            return false;
        }
        return openAt(named.fileName, base, 0);
    }
    if (line.parsed.otherFile && line.parsed.line > 0) {
        return openAt(line.parsed.fileName, base, line.parsed.line, line.parsed.column);
    }
    if (!line.parsed.otherFile) {
        goToCompiledLine(output, line.parsed.line, line.parsed.column);
        return true;
    }
    goToCompiledLine(output, 0);
    return true;
}

bool OutputWindows::goToNamedPlace(OutputWindow& output, std::size_t index) {
    const OutputLine& line = output.lines()[index];
    ParsedLine named = line.parsed;
    if (named.fileName.empty() || named.line == 0) {
        ErrorLineParser parser;
        named = parser.fileAndLine(line.text);
    }
    // A line that refers to the project file by its name ("Makefile:12: ..."): a sub-make's line
    // means the file of that name in the directory it entered, the top make's the project file.
    if (named.fileName.empty() && line.parsed.kind != ErrorKind::None && !output.defaultFile().empty()) {
        named.fileName = splitPath(output.defaultFile()).fileName();
        named.line = line.parsed.line;
    }
    DocumentWindows* windows = m_processor.windows();
    if (!named.fileName.empty() && named.line > 0 && windows != nullptr) {
        if (auto path = locateFile(named.fileName, output.directoryOf(index), locateSettings())) {
            if (windows->openDocumentAt(*path, named.line) != nullptr) {
                return true;
            }
        }
    }
    if (output.kind() == OutputKind::Standard && named.line > 0 && !m_standardDocument.empty() &&
        windows != nullptr && windows->openDocumentAt(m_standardDocument, named.line) != nullptr) {
        return true;
    }
    m_processor.showStatus(kNoFileOrLine, platform::SoundKind::Exclamation);
    return false;
}

bool OutputWindows::goToLocation(const OutputLocation& location) {
    DocumentWindows* windows = m_processor.windows();
    EditPane* pane = windows != nullptr ? windows->openDocumentAt(location.path, location.line) : nullptr;
    if (pane == nullptr) {
        m_processor.showStatus(formatText(kUnexpectedErrorOpening, location.path.c_str()),
                               platform::SoundKind::Exclamation);
        return false;
    }
    if (location.column > 0) {
        pane->document().setCursorOffset(location.column - 1);
        pane->document().nextGroup();
    }
    return true;
}

bool OutputWindows::goToSelected(OutputKind kind) {
    OutputWindow& output = window(kind);
    if (!output.selection()) {
        m_processor.showStatus(kNoFileOrLine, platform::SoundKind::Exclamation);
        return false;
    }
    if (const auto& location = output.lines()[*output.selection()].location) {
        return goToLocation(*location);
    }
    if (kind == OutputKind::Compiler) {
        return goToInCompiler(output, *output.selection());
    }
    return goToNamedPlace(output, *output.selection());
}

bool OutputWindows::stepError(OutputKind kind, int direction) {
    OutputWindow& output = window(kind);
    const auto count = static_cast<std::ptrdiff_t>(output.lineCount());
    std::ptrdiff_t index =
        output.selection() ? static_cast<std::ptrdiff_t>(*output.selection()) : (direction > 0 ? -1 : count);
    for (index += direction; index >= 0 && index < count; index += direction) {
        const OutputLine& line = output.lines()[static_cast<std::size_t>(index)];
        if (line.location || line.parsed.kind != ErrorKind::None) {
            select(kind, static_cast<std::size_t>(index));
            if (kind != OutputKind::Compiler || line.parsed.otherFile || line.location) {
                (void)goToSelected(kind);
            }
            return true;
        }
    }
    m_processor.showStatus(kNoMoreErrors, platform::SoundKind::Exclamation);
    return false;
}

bool OutputWindows::nextError(OutputKind kind) {
    return stepError(kind, 1);
}

bool OutputWindows::previousError(OutputKind kind) {
    return stepError(kind, -1);
}

bool OutputWindows::copy(OutputKind kind) {
    // Program output is UTF-8 when it is valid UTF-8, otherwise Windows-1252.
    return m_processor.clipboard().put(text::externalToUtf8(window(kind).allText()),
                                       static_cast<int32_t>(MarkType::Line));
}

} // namespace vexa::toolchain
