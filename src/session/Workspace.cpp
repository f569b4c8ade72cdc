// The open documents and their windows.
#include "session/Workspace.h"

#include <algorithm>

#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "commands/FileCommands.h"
#include "core/Document.h"
#include "core/FileLoad.h"
#include "frame/Frame.h"
#include "frame/StatusLine.h"
#include "frame/StatusMessages.h"
#include "keyboard/ActiveKeymap.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "session/StartupHandOff.h"
#include "session/StartupHistory.h"
#include "session/WorkspaceView.h"
#include "session/DocumentRecovery.h"
#include "settings/Format.h"
#include "settings/Options.h"
#include "syntax/SyntaxSettings.h"

namespace vexa {

class Workspace::LoopGuard {
public:
    explicit LoopGuard(Workspace& workspace) : m_workspace(workspace) { ++m_workspace.m_loopDepth; }
    ~LoopGuard() {
        if (--m_workspace.m_loopDepth == 0) {
            m_workspace.runQueuedRequests();
        }
    }
    LoopGuard(const LoopGuard&) = delete;
    LoopGuard& operator=(const LoopGuard&) = delete;

private:
    Workspace& m_workspace;
};

Workspace::Workspace(WorkspaceServices services)
    : m_services(services), m_loads(DocumentLoads::Services{services.frame, services.clock, services.keys},
                                     [this] { loadTick(); }) {}

Workspace::~Workspace() {
    announceShutdown();
}

void Workspace::announceShutdown() {
    if (m_shutdownAnnounced) {
        return;
    }
    m_shutdownAnnounced = true;
    m_services.processor.activatePane(nullptr);
    for (Window& window : m_windows) {
        m_services.processor.paneClosed(window.pane.get());
    }
}

// ---- the window list ----

Workspace::Window* Workspace::find(const EditPane& pane) {
    auto found = std::find_if(m_windows.begin(), m_windows.end(),
                              [&pane](const Window& window) { return window.pane.get() == &pane; });
    return found != m_windows.end() ? &*found : nullptr;
}

const Workspace::Window* Workspace::find(const EditPane& pane) const {
    return const_cast<Workspace*>(this)->find(pane);
}

bool Workspace::isOpen(const EditPane* pane) const {
    return pane != nullptr && find(*pane) != nullptr;
}

std::vector<EditPane*> Workspace::panes() {
    std::vector<EditPane*> result;
    result.reserve(m_windows.size());
    for (Window& window : m_windows) {
        result.push_back(window.pane.get());
    }
    return result;
}

std::string Workspace::title(const EditPane& pane) const {
    const Document& document = pane.document();
    std::string text = document.hasName() ? document.fileName() : std::string(kUntitled);
    if (document.isModified()) {
        text += '*';
    }
    if (document.isReadOnly()) {
        text += " (RO)";
    }
    return text;
}

std::shared_ptr<syntax::SyntaxProfile> Workspace::profileOf(const EditPane& pane) const {
    const Window* window = find(pane);
    return window != nullptr ? window->profile : nullptr;
}

void Workspace::refreshTitles() {
    for (Window& window : m_windows) {
        std::string now = title(*window.pane);
        if (now != window.shownTitle) {
            window.shownTitle = std::move(now);
            m_services.view.windowChanged(*window.pane);
        }
    }
}

void Workspace::chooseProfile(Window& window) {
    window.profile = m_services.syntax.profileForFile(window.pane->document().fileName());
    if (window.profile) {
        window.pane->document().setLanguageRules(window.profile);
    }
}

// ---- activation ----

void Workspace::showPosition() {
    if (m_active != nullptr) {
        const Document& document = m_active->document();
        m_services.statusLine.showEditPosition(static_cast<uint32_t>(document.cursorLine()),
                                               document.cursorColumn());
    }
}

void Workspace::windowActivatedByUser(EditPane& pane) {
    if (find(pane) == nullptr) {
        return;
    }
    m_active = &pane;
    m_loads.setActive(&pane);
    m_services.processor.activatePane(&pane);
    showPosition();
}

void Workspace::activate(EditPane& pane) {
    if (find(pane) == nullptr) {
        return;
    }
    windowActivatedByUser(pane);
    m_services.view.windowActivated(pane);
}

void Workspace::activateAt(std::size_t index) {
    if (index < m_windows.size()) {
        activate(*m_windows[index].pane);
    }
}

void Workspace::activateNext() {
    if (m_windows.size() < 2 || m_active == nullptr) {
        return;
    }
    const auto at = static_cast<std::size_t>(find(*m_active) - m_windows.data());
    activateAt((at + 1) % m_windows.size());
}

void Workspace::activatePrevious() {
    if (m_windows.size() < 2 || m_active == nullptr) {
        return;
    }
    const auto at = static_cast<std::size_t>(find(*m_active) - m_windows.data());
    activateAt((at + m_windows.size() - 1) % m_windows.size());
}

// ---- opening ----

FileOptions Workspace::fileOptions() const {
    return fileOptionsFrom(m_services.options);
}

EditPane* Workspace::addWindow(std::unique_ptr<Document> document,
                               std::shared_ptr<syntax::SyntaxProfile> profile) {
    document->setMessenger(&m_services.frame);
    document->setCuaMarkingRule(m_services.keymaps.cuaRule());
    document->setSettings(m_services.processor.editSettings());
    Window window;
    window.pane = std::make_unique<EditPane>(std::move(document));
    window.profile = std::move(profile);
    window.shownTitle = title(*window.pane);
    EditPane& pane = *window.pane;
    if (m_recovery != nullptr) {
        m_recovery->opened(pane.document());
    }
    m_windows.push_back(std::move(window));
    m_services.view.windowOpened(pane);
    activate(pane);
    return &pane;
}

EditPane* Workspace::newDocument() {
    auto document = std::make_unique<Document>();
    DocumentFile(fileOptions(), m_services.frame).makeNew(*document);
    return addWindow(std::move(document), m_services.syntax.profileForFile(""));
}

EditPane* Workspace::openDocument(const std::string& path) {
    return openDocumentAt(path, 0);
}

EditPane* Workspace::openDocumentAt(const std::string& path, int line) {
    if (path.empty()) {
        return newDocument();
    }
    const std::string full = platform::fullPath(path).value_or(path);
    EditPane* pane = nullptr;
    if (m_services.options.editor().multipleCopies == 0) {
        for (Window& window : m_windows) {
            if (window.pane->document().fileName() == full) {
                pane = window.pane.get();
                activate(*pane);
                break;
            }
        }
    }
    if (pane == nullptr) {
        auto document = std::make_unique<Document>();
        document->setMessenger(&m_services.frame);
        document->setFileName(full);
        // The language rules come before the text, so that the comment state is scanned once.
        auto profile = m_services.syntax.profileForFile(full);
        if (profile) {
            document->setLanguageRules(profile);
        }
        const bool editable = m_recovery == nullptr || m_recovery->mayEdit(full);
        pane = openInSlices(document, profile, editable, line);
        if (pane == nullptr) {
            DocumentFile file(fileOptions(), m_services.frame);
            if (!file.load(*document)) {
                m_services.frame.status(formatText(file_messages::kNewFileCreated, document->namePart().c_str()),
                                        platform::SoundKind::Exclamation);
            } else {
                m_services.frame.status({}, platform::SoundKind::None); // the loading dots end with the load
            }
            if (!editable) {
                document->setReadOnly(true);
            }
            pane = addWindow(std::move(document), std::move(profile));
            if (m_recovery != nullptr) {
                m_recovery->offerFor(*pane, *this, fileOptions());
                refreshTitles();
            }
        }
    }
    if (line > 0) {
        Document& document = pane->document();
        // A line not read yet is waited for (Escape stops the wait, and the load).
        (void)m_loads.waitForLines(document, line - 1);
        document.goToLine(line - 1);
        // The jump is a step of its own: the user's first Undo must not take the cursor back.
        document.nextGroup();
        pane->updateExtent();
        pane->bringCursorIntoView();
        pane->repaintChanged();
        showPosition();
    }
    return pane;
}

EditPane* Workspace::openInSlices(std::unique_ptr<Document>& document,
                                  std::shared_ptr<syntax::SyntaxProfile>& profile, bool editable, int line) {
    const std::string& full = document->fileName();
    const std::optional<uint64_t> size = platform::fileSize(full);
    // A file with journals left to offer loads whole, so that a recovery never meets a load.
    if (!size || !m_loads.inSlices(*size) || (m_recovery != nullptr && m_recovery->hasLeftJournals(full))) {
        return nullptr;
    }
    const FileOptions options = fileOptions();
    constexpr std::size_t kFirstBytes = DocumentLoads::kFirstBlocks * FileLoad::kBlockSize;
    auto load = std::make_unique<FileLoad>(*document, options, m_services.frame);
    if (!load->start()) {
        return nullptr; // the whole load says why
    }
    // A window that opens at a line shows that line at once: the blocks up to it are read first,
    // as a whole file is, with the percentage and the pending events handled.
    int shown = -1;
    for (int block = 0; (block < DocumentLoads::kFirstBlocks || document->lineCount() < line) && load->step();
         ++block) {
        if (block >= DocumentLoads::kFirstBlocks && load->percent() != shown) {
            shown = load->percent();
            m_services.frame.status(formatText(file_messages::kLoadingPercent, shown), platform::SoundKind::None);
            m_services.frame.drainEvents();
        }
    }
    // How the first screen reads until the whole file has decided: as its first blocks read.
    if (!load->complete()) {
        text::Utf8Stream check;
        std::size_t checked = 0;
        for (int index = 0; index < document->lineCount() && checked < kFirstBytes; ++index) {
            check.add(document->lineText(index));
            checked += document->lineText(index).size();
        }
        document->setEncoding(text::encodingFor(check.result(), options.newEncoding));
    }
    EditPane* pane = addWindow(std::move(document), std::move(profile));
    m_loads.add(*pane, std::move(load), !editable);
    refreshTitles();
    return pane;
}

void Workspace::loadTick() {
    if (!atTopLevel()) {
        return;
    }
    // What a load ends with may ask (a file with null bytes): a nested event loop.
    LoopGuard guard(*this);
    if (!m_loads.slice().empty()) {
        refreshTitles();
    }
}

bool Workspace::waitForLines(Document& document, int lines) {
    return m_loads.waitForLines(document, lines);
}

void Workspace::documentRenamed(Document& document, bool extensionChanged) {
    for (Window& window : m_windows) {
        if (&window.pane->document() != &document) {
            continue;
        }
        // A new extension may bring another colouring profile.
        if (extensionChanged) {
            chooseProfile(window);
        }
        window.shownTitle = title(*window.pane);
        m_services.view.windowChanged(*window.pane);
    }
}

// ---- closing ----

bool Workspace::confirmClose(EditPane& pane) {
    Document& document = pane.document();
    if (!document.isModified()) {
        return true;
    }
    const std::string name = document.hasName() ? document.namePart() : std::string(kUntitled);
    const Answer answer =
        m_services.frame.ask(formatText(kSaveQuestion, name.c_str()), "Vexa", Question::YesNoCancel);
    if (answer == Answer::Cancel) {
        return false;
    }
    if (answer == Answer::No) {
        return true;
    }
    activate(pane);
    (void)m_services.processor.execute(functionIdOf("FileSave"));
    return !document.isModified();
}

bool Workspace::closeWindow(EditPane& pane, bool forExit) {
    if (find(pane) == nullptr || !confirmClose(pane)) {
        return false;
    }
    const Document& document = pane.document();
    if (document.hasName()) {
        if (forExit) {
            (void)m_services.history.recordStartupFile(document.fileName(), document.cursorLine());
        }
        m_services.history.addRecentFile(document.fileName());
        if (!forExit) {
            m_services.view.recentFilesChanged();
        }
    }
    const auto index = static_cast<std::size_t>(find(pane) - m_windows.data());
    m_loads.forget(pane);
    if (m_recovery != nullptr) {
        m_recovery->closed(pane.document());
    }
    m_services.processor.paneClosed(&pane);
    const bool wasActive = m_active == &pane;
    // Out of the list before the view gets it, so that nothing reached from the view's handlers
    // finds a window half gone.
    std::unique_ptr<EditPane> closing = std::move(m_windows[index].pane);
    m_windows.erase(m_windows.begin() + static_cast<std::ptrdiff_t>(index));
    m_services.view.windowClosed(std::move(closing));
    if (wasActive) {
        m_active = nullptr;
        if (m_windows.empty()) {
            m_services.processor.activatePane(nullptr);
            m_services.statusLine.clearAll();
        } else {
            activateAt(std::min(index, m_windows.size() - 1));
        }
    }
    return true;
}

bool Workspace::close(EditPane& pane) {
    return closeWindow(pane, false);
}

bool Workspace::closeActive() {
    return m_active != nullptr && closeWindow(*m_active, false);
}

bool Workspace::closeAll() {
    LoopGuard guard(*this);
    while (!m_windows.empty()) {
        if (!closeWindow(*m_windows.front().pane, false)) {
            return false;
        }
    }
    return true;
}

bool Workspace::closeAllForExit() {
    LoopGuard guard(*this);
    m_closingAll = true;
    while (!m_windows.empty()) {
        activate(*m_windows.front().pane);
        if (!closeWindow(*m_windows.front().pane, true)) {
            m_closingAll = false;
            return false;
        }
    }
    return true;
}

std::string Workspace::recentFile(int functionId) {
    return m_services.history.recentFile(static_cast<uint32_t>(functionId));
}

void Workspace::exitApplication() {
    m_services.view.exitRequested();
}

void Workspace::optionsChanged(Profiles profiles) {
    m_services.processor.applySettings();
    const EditorOptions& editor = m_services.options.editor();
    m_services.statusLine.setSoundEnabled(editor.makeSound != 0);
    m_services.statusLine.setClock24Hour(editor.clock24Hour != 0);
    m_services.statusLine.setIndicator(Indicator::Mode, m_services.processor.editSettings().insertMode);
    for (Window& window : m_windows) {
        if (profiles == Profiles::ChooseAgain) {
            chooseProfile(window);
        }
        m_services.view.windowChanged(*window.pane);
    }
}

// ---- start-up, hand-off and idle work ----

void Workspace::openStartupFiles(std::span<const std::string> arguments) {
    LoopGuard guard(*this);
    const EditorOptions& editor = m_services.options.editor();
    if (editor.restoreFiles != 0) {
        for (const HandOff& entry : m_services.history.takeStartupFiles()) {
            (void)openDocumentAt(entry.file, entry.line);
        }
    }
    const StartupFiles files = collectStartupFiles(arguments);
    for (const std::string& name : files.names) {
        if (hasWildcards(name)) {
            const std::string directory(platform::directoryPart(name));
            for (const platform::FoundFile& found : platform::findFiles(name)) {
                (void)openDocumentAt(directory + found.name, files.line);
            }
        } else {
            // A name that does not exist yet opens as a new document under that name.
            (void)openDocumentAt(name, files.line);
        }
    }
    if (m_recovery != nullptr) {
        m_recovery->offerAll(*this, fileOptions());
        refreshTitles();
    }
    const std::string& last = m_services.options.lastDirectoryUsed();
    if (editor.restoreDirectory != 0 && !last.empty() && !platform::setCurrentDirectory(last)) {
        m_services.frame.status(formatText("The directory '%s' could not be restored.", last.c_str()),
                                platform::SoundKind::Exclamation);
    }
}

void Workspace::acceptHandOff(const std::optional<HandOff>& handOff) {
    if (!handOff) {
        m_services.frame.beep(platform::SoundKind::Exclamation);
        m_services.frame.messageBox(handOffReadFailure(__LINE__));
        return;
    }
    if (!handOff->file.empty()) {
        m_queuedOpens.push_back(*handOff);
        runQueuedRequests();
    }
}

bool Workspace::atTopLevel() const {
    return m_loopDepth == 0 && !m_services.processor.isExecuting();
}

void Workspace::runQueuedRequests() {
    // Nothing opens once the editor is closing for exit.
    if (!atTopLevel() || m_closingAll || m_queuedOpens.empty()) {
        return;
    }
    // A load may itself handle events, and with them new requests: they queue behind these.
    LoopGuard guard(*this);
    BusyCursor busy(m_services.frame);
    while (!m_queuedOpens.empty()) {
        const HandOff next = std::move(m_queuedOpens.front());
        m_queuedOpens.erase(m_queuedOpens.begin());
        (void)openDocumentAt(next.file, next.line);
    }
}

void Workspace::idleBackup() {
    if (m_services.options.editor().autoBackup == 0 || m_closingAll) {
        return;
    }
    LoopGuard guard(*this);
    DocumentFile file(fileOptions(), m_services.frame);
    const auto now = static_cast<int64_t>(m_services.clock.tickCount());
    // A backup handles pending events, in which a function may open a window.
    for (EditPane* pane : panes()) {
        if (isOpen(pane)) {
            (void)file.automaticBackup(pane->document(), now);
        }
    }
}

void Workspace::checkOutsideChanges() {
    if (m_checkingOutside) {
        return;
    }
    LoopGuard guard(*this);
    m_checkingOutside = true;
    DocumentFile file(fileOptions(), m_services.frame);
    // Each question is a nested event loop.
    for (EditPane* pane : panes()) {
        // A document holding part of its file has no file time to compare yet.
        if (isOpen(pane) && pane->document().hasName() && !pane->document().isLoadIncomplete() &&
            file.checkForOutsideChange(pane->document())) {
            pane->updateExtent();
            pane->repaintChanged();
            m_services.view.windowChanged(*pane);
        }
    }
    m_checkingOutside = false;
}

} // namespace vexa
