// Journalling one document's edits.
#include "recovery/DocumentJournal.h"

#include "core/Document.h"
#include "platform/Files.h"
#include "recovery/JournalWriter.h"

namespace vexa::recovery {

namespace {

// Cursor moves of an unchanged document are kept in memory until the first change; past this
// many bytes they are dropped (the text does not depend on them).
constexpr std::size_t kUnchangedLimit = 1024 * 1024;

// About the bytes a snapshot takes in the journal.
uint64_t sizeOf(const SnapshotRuns& runs) {
    uint64_t size = 0;
    for (const std::vector<SnapshotLine>& run : runs) {
        for (const SnapshotLine& line : run) {
            size += line.bytes.size() + 5;
        }
    }
    return size;
}

} // namespace

DocumentJournal::DocumentJournal(Document& document, JournalWriter& writer, std::string path,
                                 uint64_t sizeCap)
    : m_document(document), m_writer(writer), m_path(std::move(path)), m_sizeCap(sizeCap) {
    m_document.setEditObserver(this);
}

DocumentJournal::~DocumentJournal() {
    // What was handed over stays on the disk: a journal outlives an editor that did not close
    // its document.
    flush();
    if (m_document.editObserver() == this) {
        m_document.setEditObserver(nullptr);
    }
}

JournalHeader DocumentJournal::headerFor(const Document& document) {
    JournalHeader header;
    header.path = document.fileName();
    header.encoding = document.encoding();
    header.lineEnds = document.lineEnds();
    header.byteOrderMark = document.hasByteOrderMark();
    if (document.hasName()) {
        header.size = document.fileSize();
        header.hash = document.fileHash();
        header.hashKind = FileHashKind::Lanes; // as the load and the save hash the file
        header.modified = document.fileTime();
    }
    return header;
}

void DocumentJournal::beforeRecord() {
    if (m_started) {
        return;
    }
    m_started = true;
    m_pending.clear();
    m_pendingFrames = 0;
    m_header = headerFor(m_document);
    // A text that is not its file's bytes is written out whole as the starting point, copied a
    // slice at a time: a text of one slice is copied now, as it is before this edit; a larger one
    // goes on being copied at each hand-over, and the journal starts from the text as it is when
    // the copy is done.
    m_snapshotBase = !m_document.hasName() || m_document.isModified();
    m_snapshot.reset();
    m_slices.reset();
    if (m_snapshotBase) {
        m_slices.emplace();
        copySlice();
    }
}

bool DocumentJournal::copySlice() {
    if (!m_slices->copyNext(m_document)) {
        return false;
    }
    SnapshotRuns runs = m_slices->finish(m_document);
    m_slices.reset();
    const uint64_t size = sizeOf(runs);
    if (!m_written) {
        // What was added while the copy went on is in it.
        m_pending.clear();
        m_header = headerFor(m_document);
        m_snapshot = std::move(runs);
        m_pendingFrames = size;
    } else {
        m_writer.restart(m_path, headerFor(m_document), std::move(runs));
        m_size = size;
    }
    placeCursor();
    return true;
}

void DocumentJournal::placeCursor() {
    // A replayed snapshot leaves the cursor at the start with nothing marked.
    const int group = m_document.undoStore().currentGroup();
    if (m_document.cursorLine() != 0) {
        EditRecordView line;
        line.kind = EditRecordValue::Kind::GoToLine;
        line.line = m_document.cursorLine();
        added(m_pending.addRecord(line, group));
    }
    if (m_document.cursorOffset() != 0) {
        EditRecordView offset;
        offset.kind = EditRecordValue::Kind::MoveColumn;
        offset.line = m_document.cursorOffset();
        added(m_pending.addRecord(offset, group));
    }
    if (m_document.mark().type != MarkType::None) {
        EditRecordView mark;
        mark.kind = EditRecordValue::Kind::Mark;
        mark.mark = m_document.mark();
        added(m_pending.addRecord(mark, group));
    }
}

void DocumentJournal::added(std::size_t frameSize) {
    m_pendingFrames += frameSize;
    if (m_pending.size() >= kBatchBytes) {
        flush();
    }
}

void DocumentJournal::recorded(const EditRecordView& record, int group) {
    if (m_slices) {
        m_slices->follow(record);
    }
    added(m_pending.addRecord(record, group));
}

void DocumentJournal::copyAgain() {
    if (m_slices) {
        m_slices.emplace();
    }
}

void DocumentJournal::undone() {
    // Which lines an undo or redo step changes is not known here: a snapshot being taken starts
    // again.
    copyAgain();
    added(m_pending.addStep(JournalEntry::Kind::Undo));
}

void DocumentJournal::redone() {
    copyAgain();
    added(m_pending.addStep(JournalEntry::Kind::Redo));
}

void DocumentJournal::undoFlushed() {
    // Before the journal starts, its edits start from an empty undo store anyway.
    if (m_started) {
        added(m_pending.addStep(JournalEntry::Kind::Flush));
    }
}

void DocumentJournal::encodingSwitched() {
    added(m_pending.addStep(JournalEntry::Kind::Encoding, JournalEntry::settingOf(m_document.encoding())));
}

void DocumentJournal::lineEndsChanged() {
    copyAgain(); // every line's end may have changed
    added(m_pending.addStep(JournalEntry::Kind::LineEnds, JournalEntry::settingOf(m_document.lineEnds())));
}

void DocumentJournal::textReplaced() {
    remove();
}

void DocumentJournal::remove() {
    if (m_written) {
        m_writer.remove(m_path);
    }
    m_written = false;
    m_started = false;
    m_pending.clear();
    m_pendingFrames = 0;
    m_snapshot.reset();
    m_slices.reset();
    m_size = 0;
}

void DocumentJournal::moveTo(std::string path) {
    if (m_written) {
        flush();
        m_writer.rename(m_path, path);
    }
    m_path = std::move(path);
    if (!m_started) {
        return;
    }
    // The header names the document's file: under its new name the journal starts again from a
    // snapshot (its edits are no longer those of the old file's bytes), copied a slice per
    // hand-over; until it is done the journal goes on as it was.
    m_snapshotBase = m_snapshotBase || !m_written;
    if (!m_slices) {
        m_slices.emplace();
    }
}

void DocumentJournal::flush() {
    if (!m_started || (m_written && m_pending.empty() && !m_slices)) {
        return;
    }
    if (!m_written && !m_document.isModified()) {
        if (m_pending.size() > kUnchangedLimit) {
            m_started = false;
            m_pending.clear();
            m_pendingFrames = 0;
        }
        return;
    }
    if (!m_written && m_slices && !copySlice()) {
        return; // the journal starts when its snapshot is copied
    }
    // The batch goes to the writer whole; this thread goes on with an emptied one it gives back.
    m_size += m_pendingFrames;
    m_pendingFrames = 0;
    if (!m_written) {
        m_written = true;
        m_pending.reuse(m_writer.start(m_path, m_header, std::move(m_snapshot), m_pending.take()));
        m_snapshot.reset();
        if (m_document.hasName() && !m_snapshotBase) {
            m_writer.copyBase(m_document.fileName(), m_path + std::string(kBaseSuffix),
                              m_document.fileHash());
        }
        return;
    }
    m_pending.reuse(m_writer.append(m_path, m_pending.take()));
    if (!m_slices && m_sizeCap > 0 && m_size > m_sizeCap) {
        m_slices.emplace();
    }
    if (m_slices) {
        // The edits up to here are in the old journal; the copy is the text as it is when it is
        // done, and the edits from then on follow it in the new one.
        (void)copySlice();
    }
}

} // namespace vexa::recovery
