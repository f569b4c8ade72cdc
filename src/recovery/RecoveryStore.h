// The journals directory of the home: one journal and one lock per open document, the writer
// thread, and the journals dead editors left behind.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileLock.h"
#include "recovery/DocumentJournal.h"
#include "recovery/JournalFormat.h"
#include "recovery/JournalReplay.h"
#include "recovery/JournalWriter.h"

namespace vexa {
class Document;
}

namespace vexa::recovery {

struct RecoverySettings {
    bool enabled = true;            // "Recovery"
    std::string directory;          // the journals directory
    uint64_t sizeCap = 16ULL << 20; // bytes per journal before it starts again from a snapshot
};

// A journal no live editor holds.
struct LeftJournal {
    std::string journalPath;
    JournalContent content;
    std::size_t fileBytes = 0;

    const std::string& documentPath() const { return content.header->path; }
    bool untitled() const { return content.header->path.empty(); }
};

// How a document came back.
enum class RecoveredInto : uint8_t { File, Untitled };

class RecoveryStore {
public:
    explicit RecoveryStore(RecoverySettings settings);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    bool enabled() const { return m_settings.enabled; }
    const RecoverySettings& settings() const { return m_settings; }

    // The process of another live editor that has this file open, if any.
    std::optional<int> editedElsewhere(const std::string& path) const;

    // Starts journalling an open document and takes its lock (for as long as it stays open).
    void attach(Document& document);
    // The document closes: its journal is removed unless `keepJournal`, its lock given up.
    void detach(Document& document, bool keepJournal = false);
    // The document's text was saved or given up: its journal goes.
    void removeJournal(Document& document);
    // Hands every journal's latest edits to the writer thread (the owner's timer calls it a few
    // times a second); a journal of a document saved under another name moves to that name.
    void handOver();
    // Everything journalled is on the disk (before saving, closing or running a
    // program).
    void sync();

    // The journals left by editors that are not running, each found once per store: those of
    // one file (its full path) when given, else all of them.
    std::vector<LeftJournal> leftJournals(const std::optional<std::string>& forPath = std::nullopt);
    // "Discard": removes the journal. "Open as saved": sets it aside under another name, kept.
    void discard(const LeftJournal& journal);
    void setAside(const LeftJournal& journal);
    // The copy of the bytes a file's journal starts from, and whether it is there whole (or the
    // journal starts from a snapshot): then the edits can come back even onto a changed file.
    static std::string basePath(const LeftJournal& journal);
    static bool hasBase(const LeftJournal& journal);
    // Whether the file still holds the bytes the journal's edits start from.
    static bool fileUnchanged(const LeftJournal& journal);
    // Replays the journal on a document (the file loaded, or a new one for an untitled or changed
    // file, with the snapshot or the journal's header's encoding), then removes the old journal
    // file: the document's own journal holds the edits from now on.
    ReplayResult recover(const LeftJournal& journal, Document& document);

private:
    struct Entry {
        std::unique_ptr<DocumentJournal> journal;
        platform::FileLock lock;
        std::string lockPath;
        std::string name; // the document's file name the journal and the lock are named for
    };
    // Takes the lock of the first name from `base` on that no journal has; that name.
    std::optional<std::string> claim(const std::string& base, platform::FileLock& lock) const;
    void followNames();
    std::string stemFor(const std::string& path) const;
    std::string lockPath(const std::string& stem) const;
    std::string journalPath(const std::string& stem) const;

    RecoverySettings m_settings;
    std::unique_ptr<JournalWriter> m_writer;
    std::map<const Document*, Entry> m_entries;
    std::set<std::string> m_asked;
    int m_untitled = 0;
};

} // namespace vexa::recovery
