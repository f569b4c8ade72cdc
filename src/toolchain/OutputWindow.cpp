// The output window's lines: limit, classification, make's directories, loading and closing lines.
#include "toolchain/OutputWindow.h"

#include <fstream>
#include <sstream>

#include "toolchain/PathParts.h"
#include "settings/Format.h"

namespace vexa::toolchain {
namespace {

const std::string kSeparator(99, '-');
constexpr std::string_view kHeaderTitle = "     Vexa for Windows Programmers Editor";

constexpr const char* kFailedFirst =
    "The %s has failed. Please check that the compiler/linker EXE file has been correctly";
constexpr std::string_view kFailedSecond =
    "specified, that the compiler/linker EXE is located in the PATH statement of the AUTOEXEC.BAT file,";
constexpr std::string_view kFailedThird =
    "check the online help and also check to make sure that the error file is not write protected.";
constexpr std::string_view kNoOutputFirst =
    "The command just run did not produce any output and this may well be the";
constexpr std::string_view kNoOutputSecond =
    "expected result. But it could also mean that the command was not found in";
constexpr std::string_view kNoOutputThird = "the PATH statement of the AUTOEXEC.BAT file. ";

// The directory named in make's "Entering directory 'x'" or "Leaving directory 'x'" (older makes
// open the quote with a backquote).
std::optional<std::pair<bool, std::string>> makeDirectoryLine(std::string_view text) {
    for (std::string_view marker : {"Entering directory ", "Leaving directory "}) {
        const std::size_t at = text.find(marker);
        if (at == std::string_view::npos) {
            continue;
        }
        std::string_view rest = text.substr(at + marker.size());
        if (rest.size() < 2 || (rest.front() != '\'' && rest.front() != '`')) {
            return std::nullopt;
        }
        const std::size_t close = rest.rfind('\'');
        if (close == 0 || close == std::string_view::npos) {
            return std::nullopt;
        }
        return std::make_pair(marker.front() == 'E', std::string(rest.substr(1, close - 1)));
    }
    return std::nullopt;
}

} // namespace

OutputWindow::OutputWindow(OutputKind kind, UserErrorPatterns patterns)
    : m_kind(kind), m_parser(std::move(patterns)) {}

std::string_view OutputWindow::title() const {
    switch (m_kind) {
    case OutputKind::Compiler:
        return kCompilerOutputTitle;
    case OutputKind::Project:
        return kProjectOutputTitle;
    case OutputKind::Standard:
        return kStandardOutputTitle;
    case OutputKind::SearchResults:
        return kSearchResultsTitle;
    }
    return {};
}

void OutputWindow::clear() {
    m_lines.clear();
    m_directories.resize(1);
    m_directoryStack.clear();
    m_selection.reset();
    m_errorSeen = false;
    m_warningSeen = false;
    m_runFailed = false;
}

void OutputWindow::setRun(std::string directory, std::string defaultFile) {
    m_directories.front() = std::move(directory);
    m_defaultFile = std::move(defaultFile);
}

void OutputWindow::addHeader() {
    addLine(kSeparator);
    addLine(kHeaderTitle);
    addLine(kSeparator);
}

void OutputWindow::followMakeDirectory(std::string_view text) {
    auto directory = makeDirectoryLine(text);
    if (!directory) {
        return;
    }
    if (directory->first) {
        m_directories.push_back(directory->second);
        m_directoryStack.push_back(static_cast<uint32_t>(m_directories.size() - 1));
    } else if (!m_directoryStack.empty()) {
        // The leaving line still belongs to the directory it leaves.
        m_leaving = true;
    }
}

void OutputWindow::addLine(std::string_view text) {
    append(text, classifies() ? Reading::Classified : Reading::AsIs);
}

void OutputWindow::append(std::string_view text, Reading reading) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    if (m_lines.size() >= kMaxLines) {
        return;
    }
    if (m_lines.size() == kMaxLines - 1) {
        m_lines.push_back(OutputLine{std::string(kMaximumLinesReached), {}, 0, std::nullopt});
        return;
    }
    OutputLine line;
    line.text = std::string(text);
    if (reading == Reading::Classified) {
        followMakeDirectory(text);
        line.parsed = m_parser.parse(text, m_defaultFile);
        if (!m_errorSeen) {
            m_errorSeen = line.parsed.kind == ErrorKind::Error;
            m_warningSeen = m_warningSeen || line.parsed.kind == ErrorKind::Warning;
        }
    }
    // A line that names the directory make enters belongs to that directory already.
    line.directoryIndex = m_directoryStack.empty() ? 0 : m_directoryStack.back();
    if (m_leaving) {
        m_directoryStack.pop_back();
        m_leaving = false;
    }
    m_lines.push_back(std::move(line));
}

void OutputWindow::addLine(std::string_view text, OutputLocation location) {
    const std::size_t before = m_lines.size();
    // The place is known: the line is not read for one, nor counted as an error or warning.
    append(text, Reading::AsIs);
    if (m_lines.size() > before && m_lines.back().text != kMaximumLinesReached) {
        m_lines.back().location = std::move(location);
    }
}

void OutputWindow::loadText(std::string_view bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            addLine(bytes.substr(start));
            break;
        }
        addLine(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') {
            ++start;
        }
    }
    addLine("");
    addLine(m_kind == OutputKind::Compiler ? outcome() : kCommandCompleted);
}

bool OutputWindow::loadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        addFailureLines(path);
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    loadText(bytes.str());
    return true;
}

void OutputWindow::addFailureLines(const std::string& path) {
    addLine(formatText(kUnableToOpenErrorFile, path.c_str()));
    addLine("");
    switch (m_kind) {
    case OutputKind::Compiler:
    case OutputKind::Project:
        addLine(
            formatText(kFailedFirst, m_kind == OutputKind::Compiler ? "compile command" : "build process"));
        addLine(kFailedSecond);
        addLine(kFailedThird);
        break;
    case OutputKind::Standard:
    case OutputKind::SearchResults:
        addLine(kNoOutputFirst);
        addLine(kNoOutputSecond);
        addLine(kNoOutputThird);
        break;
    }
}

std::string_view OutputWindow::outcome() const {
    if (errorSeen()) {
        return kCompiledWithErrors;
    }
    return m_warningSeen ? kCompiledWithWarnings : kCompiledSuccessfully;
}

const std::string& OutputWindow::directoryOf(std::size_t index) const {
    if (index >= m_lines.size()) {
        return m_directories.front();
    }
    return m_directories[m_lines[index].directoryIndex];
}

void OutputWindow::setSelection(std::optional<std::size_t> index) {
    if (index && *index >= m_lines.size()) {
        index.reset();
    }
    m_selection = index;
}

std::string OutputWindow::allText() const {
    std::string text;
    for (const OutputLine& line : m_lines) {
        text += line.text;
        text += "\r\n";
    }
    return text;
}

} // namespace vexa::toolchain
