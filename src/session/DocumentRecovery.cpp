// Journals, the recovery question and the second-editor warning.
#include "session/DocumentRecovery.h"

#include <array>
#include <string_view>

#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "frame/Frame.h"
#include "platform/Files.h"
#include "settings/Format.h"

namespace vexa {

namespace {

constexpr std::array<std::string_view, 3> kRecoverButtons = {"Recover", "Open as saved", "Discard"};
constexpr uint32_t kHandOverMs = 200;
enum RecoverButton : int { kRecover = 0, kOpenAsSaved = 1, kDiscard = 2 };
constexpr std::array<std::string_view, 2> kElsewhereButtons = {"Open read-only", "Edit anyway"};

int recordCount(const recovery::LeftJournal& journal) {
    int count = 0;
    for (const recovery::JournalEntry& entry : journal.content.entries) {
        count += entry.kind == recovery::JournalEntry::Kind::Snapshot ? 0 : 1;
    }
    return count;
}

std::string shownName(const recovery::LeftJournal& journal) {
    return journal.untitled() ? std::string("Untitled") : journal.documentPath();
}

} // namespace

DocumentRecovery::DocumentRecovery(Frame& frame, std::optional<recovery::RecoverySettings> settings)
    : m_frame(frame) {
    if (settings && settings->enabled) {
        m_store = std::make_unique<recovery::RecoveryStore>(std::move(*settings));
        // Typing only adds to a string; this hands the edits to the writer thread, which has
        // them on the disk within a second of the last one.
        m_timer = m_frame.startTimer(kHandOverMs, [this] { m_store->handOver(); });
    }
}

DocumentRecovery::~DocumentRecovery() {
    if (m_timer) {
        m_frame.stopTimer(*m_timer);
    }
}

bool DocumentRecovery::mayEdit(const std::string& fullPath) {
    if (!m_store) {
        return true;
    }
    const std::optional<int> other = m_store->editedElsewhere(fullPath);
    if (!other) {
        return true;
    }
    const int choice =
        m_frame.choose(formatText(kEditedElsewhere, fullPath.c_str(), *other), "Vexa", kElsewhereButtons, 0);
    return choice == 1;
}

void DocumentRecovery::opened(Document& document) {
    if (m_store) {
        m_store->attach(document);
    }
}

void DocumentRecovery::closed(Document& document) {
    if (m_store) {
        m_store->detach(document);
    }
}

void DocumentRecovery::sync() {
    if (m_store) {
        m_store->sync();
    }
}

void DocumentRecovery::offerFor(EditPane& pane, DocumentWindows& windows, const FileOptions& options) {
    if (!m_store || !pane.document().hasName()) {
        return;
    }
    for (const recovery::LeftJournal& journal : m_store->leftJournals(pane.document().fileName())) {
        offer(journal, &pane, windows, options);
    }
}

void DocumentRecovery::offerAll(DocumentWindows& windows, const FileOptions& options) {
    if (!m_store) {
        return;
    }
    for (const recovery::LeftJournal& journal : m_store->leftJournals()) {
        offer(journal, nullptr, windows, options);
    }
}

void DocumentRecovery::offer(const recovery::LeftJournal& journal, EditPane* loaded, DocumentWindows& windows,
                             const FileOptions& options) {
    const std::string name = shownName(journal);
    const bool untitled = journal.untitled();
    const bool unchanged = !untitled && recovery::RecoveryStore::fileUnchanged(journal);
    std::string question = formatText(kRecoverQuestion, name.c_str(), recordCount(journal));
    const bool intoUntitled = untitled || (!unchanged && !journal.content.hasSnapshot());
    if (!untitled && !unchanged) {
        if (!recovery::RecoveryStore::hasBase(journal)) {
            m_frame.messageBox(formatText(kRecoverLost, name.c_str(), journal.journalPath.c_str()),
                               kRecoverTitle);
            m_store->setAside(journal);
            return;
        }
        // A journal that holds the whole text brings it back into the file's own window.
        if (intoUntitled) {
            question += "\n\n" + formatText(kRecoverChanged, name.c_str());
        }
    }
    switch (m_frame.choose(question, kRecoverTitle, kRecoverButtons, kRecover)) {
    case kDiscard:
        m_store->discard(journal);
        return;
    case kOpenAsSaved:
        m_store->setAside(journal);
        // The file as it is on the disk now, whether or not it changed since the journal began.
        if (loaded == nullptr && !untitled && platform::fileInfo(journal.documentPath())) {
            (void)windows.openDocument(journal.documentPath());
        }
        return;
    default:
        break;
    }
    EditPane* pane = nullptr;
    if (intoUntitled) {
        pane = windows.newDocument();
        if (pane != nullptr && !untitled && !journal.content.hasSnapshot()) {
            // The edits go onto the bytes they were made to, kept beside the journal.
            Document& document = pane->document();
            document.setFileName(recovery::RecoveryStore::basePath(journal));
            (void)DocumentFile(options, m_frame).load(document);
            document.setFileName({});
            document.setReadOnly(false);
        }
    } else {
        pane = loaded != nullptr ? loaded : windows.openDocument(journal.documentPath());
    }
    if (pane != nullptr) {
        recoverInto(journal, *pane);
    }
}

void DocumentRecovery::recoverInto(const recovery::LeftJournal& journal, EditPane& pane) {
    const recovery::ReplayResult result = m_store->recover(journal, pane.document());
    const std::string name = shownName(journal);
    if (journal.content.complete) {
        m_frame.status(formatText(kRecovered, result.applied, name.c_str()), platform::SoundKind::None);
    } else {
        m_frame.messageBox(formatText(kRecoveredPart, result.applied, name.c_str(),
                                      static_cast<int>(journal.fileBytes - journal.content.wholeBytes)),
                           kRecoverTitle);
    }
    pane.updateExtent();
    pane.bringCursorIntoView();
    pane.repaintChanged();
}

} // namespace vexa
