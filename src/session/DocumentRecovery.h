// The recovery journal in the editor: each open document's journal and lock, the question about
// the journals editors that did not close left behind, and the warning about a file another live
// editor has open.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/DocumentFile.h"
#include "platform/Process.h"
#include "recovery/RecoveryStore.h"

namespace vexa {

class Document;
class DocumentWindows;
class EditPane;
class Frame;

inline constexpr const char* kRecoverQuestion =
    "Unsaved changes to '%s' were left by a Vexa window that did not close it (%d edits).\n"
    "Recover them?";
inline constexpr const char* kRecoverChanged =
    "The file '%s' has changed since these changes were made: recovering puts them into a new "
    "untitled document.";
inline constexpr const char* kRecoverLost =
    "The file '%s' has changed since these changes were made and the text they were made to is "
    "gone: they cannot be recovered. The journal is kept in '%s'.";
inline constexpr const char* kRecovered = "Recovered %d edits of '%s'.";
inline constexpr const char* kRecoveredPart =
    "Recovered %d edits of '%s'; the journal ends in a damaged or cut entry, %d bytes after it "
    "could not be read.";
inline constexpr const char* kEditedElsewhere =
    "The file '%s' is being edited in another Vexa window, process %d.";
inline constexpr const char* kRecoverTitle = "Recovery";

class DocumentRecovery {
public:
    // Off, the editor makes no journal and asks nothing.
    DocumentRecovery(Frame& frame, std::optional<recovery::RecoverySettings> settings);
    ~DocumentRecovery();

    bool enabled() const { return m_store != nullptr; }
    recovery::RecoveryStore* store() { return m_store.get(); }

    // Before a file is opened: false when another live editor has it and the user chose to open
    // it read only.
    bool mayEdit(const std::string& fullPath);
    void opened(Document& document);
    void closed(Document& document);
    // Everything journalled is on the disk (before a program runs).
    void sync();

    // Whether journals left by editors that did not close are there for a file.
    bool hasLeftJournals(const std::string& fullPath) { return m_store && !m_store->leftJournals(fullPath).empty(); }
    // After a file was loaded into a window: asks about its journals.
    void offerFor(EditPane& pane, DocumentWindows& windows, const FileOptions& options);
    // At start: asks about every journal left.
    void offerAll(DocumentWindows& windows, const FileOptions& options);

private:
    void offer(const recovery::LeftJournal& journal, EditPane* loaded, DocumentWindows& windows,
               const FileOptions& options);
    void recoverInto(const recovery::LeftJournal& journal, EditPane& pane);

    Frame& m_frame;
    std::unique_ptr<recovery::RecoveryStore> m_store;
    std::optional<uint32_t> m_timer;
};

// Starts programs for the editor: the journals are on the disk before each one runs.
class JournalSyncingLauncher final : public platform::ProcessLauncher {
public:
    explicit JournalSyncingLauncher(platform::ProcessLauncher& launcher) : m_launcher(launcher) {}
    void setRecovery(DocumentRecovery* recovery) { m_recovery = recovery; }
    [[nodiscard]] std::unique_ptr<platform::ChildProcess> create() override {
        if (m_recovery != nullptr) {
            m_recovery->sync();
        }
        return m_launcher.create();
    }

private:
    platform::ProcessLauncher& m_launcher;
    DocumentRecovery* m_recovery = nullptr;
};

} // namespace vexa
