// The output window's lines: limit, classification, make's directories, loading and closing lines.
#include "toolchain/OutputWindow.h"

#include <fstream>
#include <vector>

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

constexpr std::size_t kReadChunk = 64 * 1024;

} // namespace

void OutputLineSplitter::feed(std::string_view bytes, const std::function<void(std::string_view, bool)>& emit) {
    std::size_t start = 0;
    if (m_afterCarriageReturn && !bytes.empty() && bytes.front() == '\n') {
        start = 1; // the second half of a CR LF that the chunks split
    }
    m_afterCarriageReturn = false;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
        keep(bytes.substr(start, stop - start));
        if (end == std::string_view::npos) {
            return;
        }
        emit(m_line, m_cut);
        m_line.clear();
        m_cut = false;
        start = end + 1;
        if (bytes[end] == '\r') {
            if (start < bytes.size() && bytes[start] == '\n') {
                ++start;
            } else if (start == bytes.size()) {
                m_afterCarriageReturn = true;
            }
        }
    }
}

void OutputLineSplitter::finish(const std::function<void(std::string_view, bool)>& emit) {
    if (!m_line.empty() || m_cut) {
        emit(m_line, m_cut);
    }
    m_line.clear();
    m_cut = false;
    m_afterCarriageReturn = false;
}

void OutputLineSplitter::keep(std::string_view piece) {
    const std::size_t room = OutputWindow::kMaxLineBytes - std::min(m_line.size(), OutputWindow::kMaxLineBytes);
    if (piece.size() > room) {
        m_cut = true;
        piece = piece.substr(0, room);
    }
    m_line.append(piece);
}

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
    m_printedLines = false;
    m_headerLines = 0;
    ++m_clears;
}

void OutputWindow::setRun(std::string directory, std::string defaultFile) {
    m_directories.front() = std::move(directory);
    m_defaultFile = std::move(defaultFile);
}

void OutputWindow::addHeader() {
    addLine(kSeparator);
    addLine(kHeaderTitle);
    addLine(kSeparator);
    m_headerLines = m_lines.size();
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

void OutputWindow::addLine(std::string_view text, bool cut) {
    append(text, classifies() ? Reading::Classified : Reading::AsIs, cut);
}

void OutputWindow::append(std::string_view text, Reading reading, bool cut) {
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
    if (text.size() > kMaxLineBytes) {
        text = text.substr(0, kMaxLineBytes);
        cut = true;
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
    if (cut) {
        line.text += kLineCutNotice;
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
    append(text, Reading::AsIs, false);
    if (m_lines.size() > before && m_lines.back().text != kMaximumLinesReached) {
        m_lines.back().location = std::move(location);
    }
}

void OutputWindow::loadText(std::string_view bytes) {
    OutputLineSplitter splitter;
    const auto add = [this](std::string_view text, bool cut) {
        m_printedLines = true;
        addLine(text, cut);
    };
    splitter.feed(bytes, add);
    splitter.finish(add);
    addClosingLines();
}

void OutputWindow::addClosingLines() {
    addLine("");
    addLine(m_kind == OutputKind::Compiler ? outcome() : kCommandCompleted);
}

bool OutputWindow::loadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        addFailureLines(path);
        return false;
    }
    // Read in pieces and only while the list has room: a run that wrote gigabytes costs no more
    // than the lines kept, and each line keeps only its start.
    OutputLineSplitter splitter;
    const auto add = [this](std::string_view text, bool cut) {
        m_printedLines = true;
        addLine(text, cut);
    };
    std::vector<char> buffer(kReadChunk);
    while (!isFull() && in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize got = in.gcount();
        if (got <= 0) {
            break;
        }
        splitter.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)), add);
    }
    splitter.finish(add);
    addClosingLines();
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
