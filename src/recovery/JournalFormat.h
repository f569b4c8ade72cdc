// The recovery journal's bytes: a header naming what the edits apply to, then framed entries.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/EditRecordValue.h"
#include "text/TextEncoding.h"

namespace vexa::recovery {

// What the journal's edits start from: a file as it was read (its full path, size, modification
// time and the hash of its bytes), or, for an untitled document or a journal started again past
// its size cap, the snapshot that follows the header.
struct JournalHeader {
    std::string path; // empty for an untitled document
    uint64_t size = 0;
    int64_t modified = 0;
    uint64_t hash = 0;
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
class Batch {
public:
    // Each gives the size of the entry's frame in the journal.
    std::size_t addRecord(const EditRecordView& record, int group);
    // An entry without a value (Undo, Redo, Flush) or with a setting (Encoding, LineEnds).
    std::size_t addStep(JournalEntry::Kind kind, uint8_t setting = 0);

    std::size_t size() const { return m_used; }
    bool empty() const { return m_used == 0; }
    std::string_view bytes() const { return {m_bytes.data(), m_used}; }
    void clear() { m_used = 0; }
    // The entries as a string of their own; the batch is left empty, without memory.
    std::string take();
    // The batch goes on empty in a string whose memory serves again.
    void reuse(std::string bytes);

private:
    char* room(std::size_t count);

    std::string m_bytes;
    std::size_t m_used = 0;
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
