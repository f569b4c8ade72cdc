// The recovery journal's bytes: a header naming what the edits apply to, then framed entries.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/EditRecordValue.h"
#include "text/TextEncoding.h"

namespace vexa::recovery {

// How a journal's header hashed its file: journals written before the content hash took four
// lanes hold the word-chain hash (WordChainHash), later ones the content hash (ContentHash). A
// file is compared with a journal by the hash that journal holds.
enum class FileHashKind : uint8_t { WordChain, Lanes };

// What the journal's edits start from: a file as it was read (its full path, size, modification
// time and the hash of its bytes), or, for an untitled document or a journal started again past
// its size cap, the snapshot that follows the header.
struct JournalHeader {
    std::string path; // empty for an untitled document
    uint64_t size = 0;
    int64_t modified = 0;
    uint64_t hash = 0;
    FileHashKind hashKind = FileHashKind::Lanes; // a document's file hash is the content hash
    TextEncoding encoding = TextEncoding::Utf8;
    LineEnds lineEnds = LineEnds::Unix;
    bool byteOrderMark = false;

    friend bool operator==(const JournalHeader&, const JournalHeader&) = default;
};

// One line of a snapshot.
struct SnapshotLine {
    std::string bytes;
    bool otherLineEnd = false;

    friend bool operator==(const SnapshotLine&, const SnapshotLine&) = default;
};

// A snapshot's lines as they were copied, in runs (one frame all the same).
using SnapshotRuns = std::vector<std::vector<SnapshotLine>>;

struct JournalEntry {
    // Flush: the undo store was emptied. Encoding, LineEnds: the user's switch to `setting`.
    enum class Kind : uint8_t { Record, Undo, Redo, Snapshot, Flush, Encoding, LineEnds };
    Kind kind = Kind::Record;
    EditRecordValue value;           // Record
    int group = 0;                   // Record
    std::vector<SnapshotLine> lines; // Snapshot
    uint8_t setting = 0;             // Encoding: 0 Windows-1252, 1 UTF-8; LineEnds: 0 DOS, 1 Unix

    static uint8_t settingOf(TextEncoding encoding) { return encoding == TextEncoding::Windows1252 ? 0 : 1; }
    static uint8_t settingOf(LineEnds ends) { return ends == LineEnds::Dos ? 0 : 1; }
    TextEncoding encoding() const { return setting == 0 ? TextEncoding::Windows1252 : TextEncoding::Utf8; }
    LineEnds lineEnds() const { return setting == 0 ? LineEnds::Dos : LineEnds::Unix; }
};

// Each entry is a frame: its length and checksum, then its bytes, so that a reader stops at the
// last whole frame of a journal cut short by a crash.
// Beside a journal of a file: a copy of the bytes its edits start from.
inline constexpr std::string_view kBaseSuffix = ".base";

namespace journal_bytes {
inline constexpr std::string_view kMagic{"VEXAJNL1", 8};
// No frame is longer: a longer length marks a damaged or foreign file.
inline constexpr uint32_t kMaxFrame = 1U << 30;

void appendMagic(std::string& out);
void appendHeader(std::string& out, const JournalHeader& header);
void appendRecord(std::string& out, const EditRecordView& record, int group);
// Characters typed one after another on a line: for each byte, a one-byte ReplaceBytes at the
// next offset and the MoveColumn past it, both in the key's group (`group`, then one more per
// key when `step` is 1). Reads back as those records.
void appendTypedRun(std::string& out, int line, int offset, int group, uint8_t step, std::string_view bytes);
// An entry without a value (Undo, Redo, Flush) or with a setting (Encoding, LineEnds).
void appendStep(std::string& out, JournalEntry::Kind kind, uint8_t setting = 0);
void appendSnapshot(std::string& out, const std::vector<SnapshotLine>& lines);
// A snapshot whose lines come in runs (one frame all the same).
void appendSnapshot(std::string& out, std::span<const std::vector<SnapshotLine>> runs);
void appendEntry(std::string& out, const JournalEntry& entry);
} // namespace journal_bytes

// Entries on their way from the editor's thread to the writer thread: each a plain copy of a
// fixed-size block (and a record's bytes after it), so that adding one costs about as much as a
// string append; the writer thread makes the frames. Not a file format: it never leaves the process.
namespace journal_batch {
// A batch being filled. Its string is kept longer than the entries it holds, the rest room for
// the next ones: adding an entry is a few stores into memory already there.
//
// Typing makes two records a key: a one-byte insert and the cursor move past it. Keys typed one
// after another on a line go into one entry, a typed run, a byte a key, which the writer makes
// into typed-run frames (a key a frame, not two) that read back as the same records in the same
// undo groups.
class Batch {
public:
    // Each gives about the size the entry adds to the journal (for its size cap).
    std::size_t addRecord(const EditRecordView& record, int group) {
        if (m_run != kNoRun && continuesRun(record, group)) {
            return 1;
        }
        return addEntry(record, group);
    }
    // An entry without a value (Undo, Redo, Flush) or with a setting (Encoding, LineEnds).
    std::size_t addStep(JournalEntry::Kind kind, uint8_t setting = 0);

    std::size_t size() const { return m_used; }
    bool empty() const { return m_used == 0; }
    std::string_view bytes() const { return {m_bytes.data(), m_used}; }
    void clear() {
        m_used = 0;
        m_run = kNoRun;
    }
    // The entries as a string of their own; the batch is left empty, without memory.
    std::string take();
    // The batch goes on empty in a string whose memory serves again.
    void reuse(std::string bytes);

private:
    static constexpr std::size_t kNoRun = ~std::size_t{0};
    // Where a typed run's count and the flag of its last key's move are kept, from its start.
    static constexpr std::size_t kRunCount = 1 + 3 * sizeof(int32_t) + 1;
    static constexpr std::size_t kRunMoved = kRunCount + sizeof(uint32_t);

    std::size_t addEntry(const EditRecordView& record, int group);
    char* room(std::size_t count);
    // Adds the record to the open typed run when it is the run's next key or its last key's move.
    bool continuesRun(const EditRecordView& record, int group) {
        using Kind = EditRecordFields::Kind;
        if (!m_runMoved) {
            if (record.kind != Kind::MoveColumn || record.line != m_runEnd || group != m_runGroup ||
                record.offset != 0 || record.byte != 0) {
                return false;
            }
            m_runMoved = true;
            m_bytes[m_run + kRunMoved] = 1;
            return true;
        }
        if (record.kind != Kind::ReplaceBytes || record.bytes.size() != 1 || record.line != m_runLine ||
            record.offset != m_runEnd || record.count != 0 || record.byte != 0 || record.otherLineEnd) {
            return false;
        }
        const int step = group - m_runGroup;
        if (step != m_runStep && (m_runStep >= 0 || step < 0 || step > 1)) {
            return false;
        }
        char* at = room(1);
        *at = record.bytes[0];
        ++m_used;
        ++m_runEnd;
        ++m_runCount;
        m_runGroup = group;
        m_runStep = step;
        m_runMoved = false;
        char* const run = m_bytes.data() + m_run;
        std::memcpy(run + kRunCount, &m_runCount, sizeof m_runCount);
        run[kRunCount - 1] = static_cast<char>(step);
        run[kRunMoved] = 0;
        return true;
    }

    std::string m_bytes;
    std::size_t m_used = 0;
    // The typed run the batch ends with, open to more keys: where it starts in the batch, its
    // line, the offset after its last byte, its last key's group, the group step from key to key
    // (-1 until its second key), its byte count, and whether its last key's move came.
    std::size_t m_run = kNoRun;
    int m_runLine = 0;
    int m_runEnd = 0;
    int m_runGroup = 0;
    int m_runStep = -1;
    uint32_t m_runCount = 0;
    bool m_runMoved = false;
};

// The entries of a batch, in order.
std::vector<JournalEntry> entries(std::string_view batch);
// Appends the frames of a batch's entries to `out`.
void encode(std::string& out, std::string_view batch);
} // namespace journal_batch

// What a reader made of a journal's bytes.
struct JournalContent {
    std::optional<JournalHeader> header; // none: not a journal (or cut before its header)
    std::vector<JournalEntry> entries;
    // The bytes up to the end of the last whole frame; less than the file when it was cut
    // short or damaged there.
    std::size_t wholeBytes = 0;
    bool complete = false; // every byte belonged to a whole frame

    bool hasSnapshot() const {
        return !entries.empty() && entries.front().kind == JournalEntry::Kind::Snapshot;
    }
};

// Reads a journal; never fails, stopping at the first frame that is cut short, fails its
// checksum or does not make sense.
JournalContent readJournal(std::string_view bytes);

} // namespace vexa::recovery
