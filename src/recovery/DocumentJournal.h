// The journal of one open document: its edits as they happen, handed to the writer thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/EditRecordValue.h"
#include "recovery/JournalFormat.h"
#include "recovery/SnapshotSlices.h"

namespace vexa {
class Document;
}

namespace vexa::recovery {

class JournalWriter;

// Watches a document's edits. The journal file is made at the first edit that leaves the document
// modified (with the edits before it, so that undo and the cursor replay as they ran); it starts
// from the file as read, or from a snapshot of the text for an untitled or already changed
// document. A journal grown past its cap starts again from a snapshot.
class DocumentJournal final : public EditObserver {
public:
    DocumentJournal(Document& document, JournalWriter& writer, std::string path, uint64_t sizeCap);
    ~DocumentJournal() override;
    DocumentJournal(const DocumentJournal&) = delete;
    DocumentJournal& operator=(const DocumentJournal&) = delete;

    const std::string& path() const { return m_path; }
    // Whether a journal file exists (or has been handed to the writer to make).
    bool written() const { return m_written; }
    // Removes the journal file; the next edit starts a new one from the text as it then is.
    void remove();
    // The journal goes on under another name (its file renamed, when there is one).
    void moveTo(std::string path);
    // Hands what was journalled since the last hand-over to the writer thread. Edits are added
    // to a batch as plain copies (journal_batch: typing costs an append to a string; the writer
    // thread makes the frames), and batches are handed over by the owner's timer, when one is
    // full, and before a sync.
    void handOver() { flush(); }
    static constexpr std::size_t kBatchBytes = 16 * 1024;

    void beforeRecord() override;
    void recorded(const EditRecordView& record, int group) override;
    void undone() override;
    void redone() override;
    void undoFlushed() override;
    void encodingSwitched() override;
    void lineEndsChanged() override;
    void textReplaced() override;

    // The header that describes the document's text as its journal starts now.
    static JournalHeader headerFor(const Document& document);

private:
    // Bytes of the journal not yet handed over: either all of it until the file is made, or
    // what was added since.
    void flush();
    // Counts an entry added to the batch; hands a full batch over.
    void added(std::size_t frameSize);
    // Copies the next slice of the snapshot being taken; when it is the last, the journal starts
    // (again) from the copy. True when the copy is done.
    bool copySlice();
    // Edits go on from the cursor and the mark as they are, not where a replayed snapshot leaves them.
    void placeCursor();
    // A change that leaves no trace of which lines it touched: a copy being taken starts again.
    void copyAgain();

    Document& m_document;
    JournalWriter& m_writer;
    std::string m_path;
    uint64_t m_sizeCap;
    // Entries not yet handed over: all of them until the file is made, or those added since.
    journal_batch::Batch m_pending;
    std::size_t m_pendingFrames = 0; // the size of their frames in the journal
    // What the journal starts from, until its file is made.
    JournalHeader m_header;
    std::optional<SnapshotRuns> m_snapshot;
    // The snapshot being taken: for the start of the journal of a text that is not its file's,
    // past the cap, or under a new name.
    std::optional<SnapshotSlices> m_slices;
    bool m_started = false;
    bool m_written = false;
    bool m_snapshotBase = false;
    uint64_t m_size = 0;
};

} // namespace vexa::recovery
