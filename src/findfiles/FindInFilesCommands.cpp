// The Find in Files function and the run that fills the Search Results window.
#include "findfiles/FindInFilesCommands.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "findfiles/FindInFilesDialog.h"
#include "findfiles/IgnoreRules.h"
#include "findfiles/SearchReport.h"
#include "platform/Files.h"
#include "platform/KeyState.h"
#include "settings/Directories.h"
#include "settings/Format.h"
#include "settings/Options.h"
#include "text/TextEncoding.h"
#include "toolchain/OutputWindows.h"

namespace vexa::findfiles {
namespace {

using toolchain::OutputKind;

// The document of an open window with a full path, or null when no window shows it any more.
Document* openDocument(CommandProcessor& processor, const std::string& path) {
    DocumentWindows* windows = processor.windows();
    if (windows == nullptr) {
        return nullptr;
    }
    for (EditPane* pane : windows->panes()) {
        if (pane != nullptr && pane->document().fileName() == path) {
            return &pane->document();
        }
    }
    return nullptr;
}

bool isNamed(const FolderSearchRequest& request, std::string_view name) {
    if (request.filePatterns.empty()) {
        return true;
    }
    for (const std::string& pattern : request.filePatterns) {
        if (pattern == "*" || matchesGlob(pattern, name)) {
            return true;
        }
    }
    return false;
}

} // namespace

FindInFilesCommands::FindInFilesCommands(CommandProcessor& processor, toolchain::OutputWindows& outputs,
                                         platform::KeyState* keys)
    : m_processor(processor), m_outputs(outputs), m_keys(keys) {}

FindInFilesCommands::~FindInFilesCommands() {
    if (m_timer) {
        m_processor.frame().stopTimer(*m_timer);
    }
}

bool FindInFilesCommands::claims(FunctionId id) const {
    return id == functionIdOf("FindInFiles");
}

int32_t FindInFilesCommands::run(FunctionId id) {
    if (id != functionIdOf("FindInFiles")) {
        return 0;
    }
    FolderSearchRequest defaults;
    const SearchState& state = m_processor.searchState();
    defaults.findText = state.findText();
    defaults.options.caseCheck = state.options().caseCheck != 0;
    defaults.options.wholeWord = state.options().wholeWord != 0;
    defaults.options.regularExpression = state.options().regularExpression != 0;
    const Document* document = m_processor.document();
    defaults.folder = defaultSearchFolder(document != nullptr ? document->fileName() : std::string());
    FindInFilesDialog dialog(m_processor.options().directory(DirectoryKind::Config), std::move(defaults));
    if (m_processor.frame().showDialog(dialog) != DialogResult::Accepted) {
        return 0;
    }
    return start(dialog.request()) ? 1 : 0;
}

bool FindInFilesCommands::start(FolderSearchRequest request) {
    (void)stop();
    request.folder = platform::fullPath(request.folder).value_or(request.folder);
    while (request.folder.size() > 1 && request.folder.back() == '/') {
        request.folder.pop_back();
    }
    if (const FolderSearch check(request); !check.usable()) {
        m_processor.showStatus(check.error(), platform::SoundKind::Exclamation);
        return false;
    }
    // Open documents are searched here in their edited text; the worker leaves their files out.
    m_documents.clear();
    if (DocumentWindows* windows = m_processor.windows()) {
        const std::string prefix = request.folder == "/" ? request.folder : request.folder + "/";
        for (EditPane* pane : windows->panes()) {
            const std::string& path = pane->document().fileName();
            if (path.starts_with(prefix) && isNamed(request, platform::namePart(path)) &&
                (request.subfolders || path.find('/', prefix.size()) == std::string::npos)) {
                m_documents.push_back(OpenDocument{path, path.substr(prefix.size())});
                request.excludedFiles.push_back(path);
            }
        }
    }
    m_documentIndex = 0;
    m_documentLine = 0;
    m_documentTotals = SearchTotals{};
    m_files = 0;
    m_lines = 0;
    m_finder = std::make_unique<LineFinder>(request.findText, request.options);
    toolchain::OutputWindow& window = m_outputs.searchResults();
    window.clear();
    window.setRun(request.folder, {});
    window.addLine(searchHeader(request));
    m_outputs.linesChanged(OutputKind::SearchResults);
    m_outputs.show(OutputKind::SearchResults);
    if (m_keys != nullptr) {
        (void)m_keys->wasPressed(platform::kKeyEscape); // a press before the start stops nothing
    }
    m_request = request;
    m_worker = std::make_unique<FolderSearchWorker>(std::move(request));
    m_timer = m_processor.frame().startTimer(kSearchTickMs, [this] { tick(); });
    return true;
}

bool FindInFilesCommands::stop() {
    if (m_worker == nullptr) {
        return false;
    }
    finish(true);
    return true;
}

void FindInFilesCommands::addResult(const std::string& relativePath, const std::string& fullPath,
                                    const ResultLine& line) {
    m_outputs.searchResults().addLine(resultLineText(relativePath, line),
                                      toolchain::OutputLocation{fullPath, line.line, line.column + 1});
    ++m_lines;
}

void FindInFilesCommands::searchDocumentSlice() {
    int budget = kDocumentLinesPerTick;
    while (budget > 0 && m_documentIndex < m_documents.size()) {
        const OpenDocument& open = m_documents[m_documentIndex];
        Document* document = openDocument(m_processor, open.path);
        if (document == nullptr || m_documentLine >= document->lineCount()) {
            if (document != nullptr) {
                ++m_documentTotals.filesSearched;
                ++m_files;
            }
            ++m_documentIndex;
            m_documentLine = 0;
            --budget;
            continue;
        }
        const int end = std::min(document->lineCount(), m_documentLine + budget);
        budget -= end - m_documentLine;
        for (; m_documentLine < end; ++m_documentLine) {
            const std::string_view text = document->lineText(m_documentLine);
            const int column = m_finder->matchLine(text, document->encoding());
            if (column >= 0) {
                addResult(open.relativePath, open.path,
                          ResultLine{m_documentLine + 1, column, text::toUtf8(text, document->encoding())});
                ++m_documentTotals.matchingLines;
            }
        }
    }
}

void FindInFilesCommands::tick() {
    if (m_worker == nullptr) {
        return;
    }
    if (m_keys != nullptr && m_keys->wasPressed(platform::kKeyEscape)) {
        (void)stop();
        return;
    }
    const std::size_t before = m_outputs.searchResults().lineCount();
    searchDocumentSlice();
    const bool workerDone = m_worker->finished();
    for (const FileOutcome& outcome : m_worker->takeOutcomes()) {
        if (outcome.kind == FileOutcomeKind::Searched) {
            ++m_files;
        }
        for (const ResultLine& line : outcome.lines) {
            addResult(outcome.relativePath, m_request.folder + "/" + outcome.relativePath, line);
        }
    }
    if (m_outputs.searchResults().lineCount() != before) {
        m_outputs.linesAdded(OutputKind::SearchResults);
    }
    if (workerDone && m_documentIndex >= m_documents.size()) {
        finish(false);
        return;
    }
    m_processor.showStatus(formatText(kSearchProgress, m_files, m_lines));
}

void FindInFilesCommands::finish(bool stopped) {
    if (m_timer) {
        m_processor.frame().stopTimer(*m_timer);
        m_timer.reset();
    }
    if (stopped) {
        m_worker->stop();
    }
    // The worker ends after the file it is reading; what it found up to then is kept.
    while (!m_worker->finished()) {
        m_worker->waitForNews(std::chrono::milliseconds(10));
    }
    for (const FileOutcome& outcome : m_worker->takeOutcomes()) {
        for (const ResultLine& line : outcome.lines) {
            addResult(outcome.relativePath, m_request.folder + "/" + outcome.relativePath, line);
        }
    }
    SearchTotals totals = m_worker->totals();
    m_worker.reset();
    totals.filesSearched += m_documentTotals.filesSearched;
    totals.matchingLines += m_documentTotals.matchingLines;
    totals.stopped = stopped;
    toolchain::OutputWindow& window = m_outputs.searchResults();
    const std::vector<std::string> summary = searchSummary(totals);
    for (const std::string& line : summary) {
        window.addLine(line);
    }
    m_outputs.linesAdded(OutputKind::SearchResults);
    m_processor.showStatus(stopped ? std::string(kSearchStopped) : summary.front());
}

} // namespace vexa::findfiles
