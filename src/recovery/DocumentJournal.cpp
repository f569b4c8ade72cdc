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

std::vector<SnapshotLine> snapshotOf(const Document& document) {
    std::vector<SnapshotLine> lines;
    lines.reserve(static_cast<std::size_t>(document.lineCount()));
    for (int i = 0; i < document.lineCount(); ++i) {
        lines.push_back({std::string(document.lineText(i)), document.line(i).hasOtherLineEnd()});
    }
    return lines;
}

// About the bytes a snapshot takes in the journal.
uint64_t sizeOf(const std::vector<SnapshotLine>& lines) {
    uint64_t size = 0;
    for (const SnapshotLine& line : lines) {
        size += line.bytes.size() + 5;
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
    // A text that is not its file's bytes is written out whole as the starting point.
    m_snapshotBase = !m_document.hasName() || m_document.isModified();
    m_snapshot.reset();
    if (m_snapshotBase) {
        m_snapshot = snapshotOf(m_document);
        m_pendingFrames = sizeOf(*m_snapshot);
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

void DocumentJournal::undone() {
    // Which lines an undo or redo step changes is not known here: a snapshot being taken starts
    // again.
    m_slices.reset();
    added(m_pending.addStep(JournalEntry::Kind::Undo));
}

void DocumentJournal::redone() {
    m_slices.reset();
    added(m_pending.addStep(JournalEntry::Kind::Redo));
}

void DocumentJournal::undoFlushed() {
    // Before the journal starts, its edits start from an empty undo store anyway.
    if (m_started) {
        added(m_pending.addStep(JournalEntry::Kind::Flush));
    }
}

void DocumentJournal::encodingSwitched() {
    added(m_pending.addStep(JournalEntry::Kind::Encoding,
                                 JournalEntry::settingOf(m_document.encoding())));
}

void DocumentJournal::lineEndsChanged() {
    m_slices.reset(); // every line's end may have changed
    added(m_pending.addStep(JournalEntry::Kind::LineEnds,
                                 JournalEntry::settingOf(m_document.lineEnds())));
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
}

void DocumentJournal::flush() {
    if (!m_started || (m_written && m_pending.empty())) {
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
    if (m_sizeCap > 0 && m_size > m_sizeCap) {
        continueSnapshot();
    }
}

void DocumentJournal::continueSnapshot() {
    if (!m_slices) {
        m_slices.emplace();
    }
    if (!m_slices->copyNext(m_document)) {
        return;
    }
    // The copy is the text as it is now: the edits up to here are in the old journal, those
    // from here on follow the snapshot in the new one.
    std::vector<std::vector<SnapshotLine>> runs = m_slices->finish(m_document);
    m_slices.reset();
    m_size = 0;
    for (const std::vector<SnapshotLine>& run : runs) {
        m_size += sizeOf(run);
    }
    m_writer.restart(m_path, headerFor(m_document), std::move(runs));
}

} // namespace vexa::recovery
