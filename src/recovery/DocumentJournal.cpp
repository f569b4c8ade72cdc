// Journalling one document's edits.
#include "recovery/DocumentJournal.h"

#include "core/Document.h"
#include "platform/Files.h"
#include "recovery/JournalWriter.h"

namespace vexa::recovery {

namespace {

// Cursor moves of an unchanged document are kept in memory until the first change; past this
// many bytes they are dropped (the text does not depend on them).
constexpr std::size_t kUnchangedLimit = 256 * 1024;

std::vector<SnapshotLine> snapshotOf(const Document& document) {
    std::vector<SnapshotLine> lines;
    lines.reserve(static_cast<std::size_t>(document.lineCount()));
    for (int i = 0; i < document.lineCount(); ++i) {
        lines.push_back({std::string(document.lineText(i)), document.line(i).hasOtherLineEnd()});
    }
    return lines;
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
    journal_bytes::appendMagic(m_pending);
    journal_bytes::appendHeader(m_pending, headerFor(m_document));
    // A text that is not its file's bytes is written out whole as the starting point.
    m_snapshotBase = !m_document.hasName() || m_document.isModified();
    if (m_snapshotBase) {
        journal_bytes::appendSnapshot(m_pending, snapshotOf(m_document));
    }
}

void DocumentJournal::recorded(const EditRecordValue& value, int group) {
    journal_bytes::appendRecord(m_pending, value, group);
    if (m_pending.size() >= kBatchBytes) {
        flush();
    }
}

void DocumentJournal::undone() {
    journal_bytes::appendUndo(m_pending);
    if (m_pending.size() >= kBatchBytes) {
        flush();
    }
}

void DocumentJournal::redone() {
    journal_bytes::appendRedo(m_pending);
    if (m_pending.size() >= kBatchBytes) {
        flush();
    }
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
    m_size = 0;
}

void DocumentJournal::flush() {
    if (m_pending.empty() || !m_started) {
        return;
    }
    if (!m_written) {
        if (!m_document.isModified()) {
            if (m_pending.size() > kUnchangedLimit) {
                m_started = false;
                m_pending.clear();
            }
            return;
        }
        m_written = true;
        m_size = m_pending.size();
        m_writer.start(m_path, std::move(m_pending));
        if (m_document.hasName() && !m_snapshotBase) {
            m_writer.copyBase(m_document.fileName(), m_path + std::string(kBaseSuffix),
                              m_document.fileHash());
        }
        m_pending.clear();
        return;
    }
    m_size += m_pending.size();
    m_writer.append(m_path, std::move(m_pending));
    m_pending.clear();
    m_pending.reserve(kBatchBytes + 256);
    if (m_sizeCap > 0 && m_size > m_sizeCap) {
        restartFromSnapshot();
    }
}

void DocumentJournal::restartFromSnapshot() {
    // The copy of the text is the only work on this thread; the writer encodes and writes it.
    std::vector<SnapshotLine> lines = snapshotOf(m_document);
    m_size = 0;
    for (const SnapshotLine& line : lines) {
        m_size += line.bytes.size() + 5;
    }
    m_writer.restart(m_path, headerFor(m_document), std::move(lines));
}

} // namespace vexa::recovery
