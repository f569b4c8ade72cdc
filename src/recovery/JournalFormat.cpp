// Writing and reading the recovery journal's frames.
#include "recovery/JournalFormat.h"

#include "core/WordChainHash.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <span>
#include <type_traits>
#include <utility>

namespace vexa::recovery {

namespace {

enum class FrameType : uint8_t {
    Header = 'H',
    Record = 'R',
    Undo = 'U',
    Redo = 'D',
    Snapshot = 'S',
    Flush = 'F',
    Encoding = 'E',
    LineEnds = 'L',
    TypedRun = 'T',
};

// The frame of an entry that has no value of its own.
FrameType stepFrame(JournalEntry::Kind kind) {
    switch (kind) {
    case JournalEntry::Kind::Undo:
        return FrameType::Undo;
    case JournalEntry::Kind::Redo:
        return FrameType::Redo;
    case JournalEntry::Kind::Flush:
        return FrameType::Flush;
    case JournalEntry::Kind::Encoding:
        return FrameType::Encoding;
    case JournalEntry::Kind::LineEnds:
        return FrameType::LineEnds;
    default:
        return FrameType::Undo;
    }
}

bool hasSetting(JournalEntry::Kind kind) {
    return kind == JournalEntry::Kind::Encoding || kind == JournalEntry::Kind::LineEnds;
}

// The header's first byte: 1 for a file hashed by the word chain, 2 by the content hash; the
// fields are the same in both.
constexpr uint8_t kWordChainHeader = 1;
constexpr uint8_t kLanesHeader = 2;
constexpr int64_t kMaxInt = std::numeric_limits<int>::max();
constexpr std::size_t kFrameHead = 8; // length and checksum

uint32_t checksum(std::string_view payload) {
    return static_cast<uint32_t>(WordChainHash::of(payload));
}

// The records of a typed run: for each byte, its insert and the cursor move past it.
template <typename Record>
void forEachTyped(int line, int offset, int group, int step, std::string_view bytes, bool lastMoved,
                  Record&& record) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int key = static_cast<int>(i);
        EditRecordView insert;
        insert.kind = EditRecordValue::Kind::ReplaceBytes;
        insert.line = line;
        insert.offset = offset + key;
        insert.bytes = bytes.substr(i, 1);
        record(insert, group + key * step);
        if (i + 1 < bytes.size() || lastMoved) {
            EditRecordView move;
            move.kind = EditRecordValue::Kind::MoveColumn;
            move.line = offset + key + 1;
            record(move, group + key * step);
        }
    }
}

// Little-endian fields written at a pointer into room made beforehand.
char* putU8(char* at, uint8_t value) {
    *at = static_cast<char>(value);
    return at + 1;
}

template <typename Word>
char* putWord(char* at, Word value) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at, &value, sizeof value);
    } else {
        for (std::size_t i = 0; i < sizeof value; ++i) {
            at[i] = static_cast<char>((value >> (8 * i)) & 0xff);
        }
    }
    return at + sizeof value;
}

char* putU32(char* at, uint32_t value) {
    return putWord(at, value);
}

char* putI32(char* at, int value) {
    return putWord(at, static_cast<uint32_t>(value));
}

void putU8(std::string& out, uint8_t value) {
    out.push_back(static_cast<char>(value));
}

void putU32(std::string& out, uint32_t value) {
    char word[4];
    out.append(word, putU32(word, value));
}

void putU64(std::string& out, uint64_t value) {
    char word[8];
    out.append(word, putWord(word, value));
}

void putBytes(std::string& out, std::string_view bytes) {
    putU32(out, static_cast<uint32_t>(bytes.size()));
    out.append(bytes);
}

// Starts a frame: its head is filled in by endFrame once the payload is there.
std::size_t beginFrame(std::string& out, FrameType type) {
    const std::size_t start = out.size();
    out.append(kFrameHead, '\0');
    putU8(out, static_cast<uint8_t>(type));
    return start;
}

void endFrame(std::string& out, std::size_t start) {
    const std::string_view payload(out.data() + start + kFrameHead, out.size() - start - kFrameHead);
    const uint32_t sum = checksum(payload);
    putU32(putU32(out.data() + start, static_cast<uint32_t>(payload.size())), sum);
}

// Reads the fields of one payload; any read past its end makes the whole payload bad.
class Fields {
public:
    explicit Fields(std::string_view bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_position == m_bytes.size(); }

    uint8_t u8() {
        if (!take(1)) {
            return 0;
        }
        return static_cast<uint8_t>(m_bytes[m_position - 1]);
    }
    uint32_t u32() {
        if (!take(4)) {
            return 0;
        }
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<uint32_t>(static_cast<uint8_t>(m_bytes[m_position - 4 + i])) << (8 * i);
        }
        return value;
    }
    uint64_t u64() {
        const uint64_t low = u32();
        const uint64_t high = u32();
        return low | (high << 32);
    }
    int i32() { return static_cast<int>(u32()); }
    std::string_view bytes() {
        const uint32_t size = u32();
        if (!take(size)) {
            return {};
        }
        return m_bytes.substr(m_position - size, size);
    }

private:
    bool take(std::size_t count) {
        if (!m_ok || m_bytes.size() - m_position < count) {
            m_ok = false;
            return false;
        }
        m_position += count;
        return true;
    }

    std::string_view m_bytes;
    std::size_t m_position = 0;
    bool m_ok = true;
};

std::optional<JournalHeader> parseHeader(Fields& fields) {
    JournalHeader header;
    const uint8_t version = fields.u8();
    if (version != kWordChainHeader && version != kLanesHeader) {
        return std::nullopt;
    }
    header.hashKind = version == kWordChainHeader ? FileHashKind::WordChain : FileHashKind::Lanes;
    const uint8_t encoding = fields.u8();
    const uint8_t ends = fields.u8();
    header.byteOrderMark = fields.u8() != 0;
    header.size = fields.u64();
    header.modified = static_cast<int64_t>(fields.u64());
    header.hash = fields.u64();
    header.path.assign(fields.bytes());
    if (!fields.ok() || !fields.atEnd() || encoding > 1 || ends > 1) {
        return std::nullopt;
    }
    header.encoding = encoding == 0 ? TextEncoding::Windows1252 : TextEncoding::Utf8;
    header.lineEnds = ends == 0 ? LineEnds::Dos : LineEnds::Unix;
    return header;
}

bool parseMark(Fields& fields, MarkState& mark) {
    const uint8_t type = fields.u8();
    mark.anchor.column = fields.i32();
    mark.anchor.line = fields.i32();
    mark.moving.column = fields.i32();
    mark.moving.line = fields.i32();
    mark.active = fields.u8() != 0;
    switch (static_cast<MarkType>(type)) {
    case MarkType::None:
    case MarkType::Line:
    case MarkType::Stream:
    case MarkType::Column:
    case MarkType::CuaStream:
        mark.type = static_cast<MarkType>(type);
        return true;
    }
    return false;
}

bool parseRecord(Fields& fields, JournalEntry& entry) {
    const uint8_t kind = fields.u8();
    if (kind >= EditRecordValue::kKindCount) {
        return false;
    }
    EditRecordValue& value = entry.value;
    value.kind = static_cast<EditRecordValue::Kind>(kind);
    entry.group = fields.i32();
    value.line = fields.i32();
    value.offset = fields.i32();
    value.byte = static_cast<char>(fields.u8());
    if (value.kind == EditRecordValue::Kind::InsertLine) {
        value.otherLineEnd = fields.u8() != 0;
        value.bytes.assign(fields.bytes());
    } else if (value.kind == EditRecordValue::Kind::ReplaceBytes) {
        value.count = fields.i32();
        value.bytes.assign(fields.bytes());
    } else if (value.kind == EditRecordValue::Kind::Mark && !parseMark(fields, value.mark)) {
        return false;
    }
    return fields.ok() && fields.atEnd();
}

// A typed run's records, each an entry; false when its fields do not make sense.
bool parseTypedRun(Fields& fields, std::vector<JournalEntry>& entries) {
    const int line = fields.i32();
    const int offset = fields.i32();
    const int group = fields.i32();
    const uint8_t step = fields.u8();
    const std::string_view bytes = fields.bytes();
    if (!fields.ok() || !fields.atEnd() || bytes.empty() || step > 1 || offset < 0 ||
        static_cast<int64_t>(offset) + static_cast<int64_t>(bytes.size()) > kMaxInt ||
        static_cast<int64_t>(group) + static_cast<int64_t>(bytes.size()) * step > kMaxInt) {
        return false;
    }
    forEachTyped(line, offset, group, step, bytes, true, [&](const EditRecordView& record, int recordGroup) {
        JournalEntry& entry = entries.emplace_back();
        entry.value = EditRecordValue(record);
        entry.group = recordGroup;
    });
    return true;
}

bool parseSnapshot(Fields& fields, JournalEntry& entry) {
    const uint32_t count = fields.u32();
    for (uint32_t i = 0; i < count && fields.ok(); ++i) {
        SnapshotLine line;
        line.otherLineEnd = fields.u8() != 0;
        line.bytes.assign(fields.bytes());
        if (fields.ok()) {
            entry.lines.push_back(std::move(line));
        }
    }
    return fields.ok() && fields.atEnd();
}

} // namespace

namespace journal_bytes {

void appendMagic(std::string& out) {
    out.append(kMagic);
}

void appendHeader(std::string& out, const JournalHeader& header) {
    const std::size_t start = beginFrame(out, FrameType::Header);
    putU8(out, header.hashKind == FileHashKind::WordChain ? kWordChainHeader : kLanesHeader);
    putU8(out, header.encoding == TextEncoding::Windows1252 ? 0 : 1);
    putU8(out, header.lineEnds == LineEnds::Dos ? 0 : 1);
    putU8(out, header.byteOrderMark ? 1 : 0);
    putU64(out, header.size);
    putU64(out, static_cast<uint64_t>(header.modified));
    putU64(out, header.hash);
    putBytes(out, header.path);
    endFrame(out, start);
}

void appendRecord(std::string& out, const EditRecordView& record, int group) {
    // The frame is written into room made for its longest form, then cut to its length.
    constexpr std::size_t kMostFields = 1 + 1 + 4 + 4 + 4 + 1 + 1 + 4 * 4 + 1 + 4;
    const std::size_t start = out.size();
    out.resize(start + kFrameHead + kMostFields + record.bytes.size());
    char* at = out.data() + start + kFrameHead;
    at = putU8(at, static_cast<uint8_t>(FrameType::Record));
    at = putU8(at, static_cast<uint8_t>(record.kind));
    at = putI32(at, group);
    at = putI32(at, record.line);
    at = putI32(at, record.offset);
    at = putU8(at, static_cast<uint8_t>(record.byte));
    const auto putText = [&] {
        at = putU32(at, static_cast<uint32_t>(record.bytes.size()));
        if (!record.bytes.empty()) {
            std::memcpy(at, record.bytes.data(), record.bytes.size());
        }
        at += record.bytes.size();
    };
    if (record.kind == EditRecordValue::Kind::InsertLine) {
        at = putU8(at, record.otherLineEnd ? 1 : 0);
        putText();
    } else if (record.kind == EditRecordValue::Kind::ReplaceBytes) {
        at = putI32(at, record.count);
        putText();
    } else if (record.kind == EditRecordValue::Kind::Mark) {
        at = putU8(at, static_cast<uint8_t>(record.mark.type));
        at = putI32(at, record.mark.anchor.column);
        at = putI32(at, record.mark.anchor.line);
        at = putI32(at, record.mark.moving.column);
        at = putI32(at, record.mark.moving.line);
        at = putU8(at, record.mark.active ? 1 : 0);
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
    endFrame(out, start);
}

void appendTypedRun(std::string& out, int line, int offset, int group, uint8_t step, std::string_view bytes) {
    const std::size_t start = beginFrame(out, FrameType::TypedRun);
    putU32(out, static_cast<uint32_t>(line));
    putU32(out, static_cast<uint32_t>(offset));
    putU32(out, static_cast<uint32_t>(group));
    putU8(out, step);
    putBytes(out, bytes);
    endFrame(out, start);
}

void appendStep(std::string& out, JournalEntry::Kind kind, uint8_t setting) {
    const std::size_t start = beginFrame(out, stepFrame(kind));
    if (hasSetting(kind)) {
        putU8(out, setting);
    }
    endFrame(out, start);
}

void appendSnapshot(std::string& out, std::span<const std::vector<SnapshotLine>> runs) {
    const std::size_t start = beginFrame(out, FrameType::Snapshot);
    std::size_t count = 0;
    for (const std::vector<SnapshotLine>& run : runs) {
        count += run.size();
    }
    putU32(out, static_cast<uint32_t>(count));
    for (const std::vector<SnapshotLine>& run : runs) {
        for (const SnapshotLine& line : run) {
            putU8(out, line.otherLineEnd ? 1 : 0);
            putBytes(out, line.bytes);
        }
    }
    endFrame(out, start);
}

void appendSnapshot(std::string& out, const std::vector<SnapshotLine>& lines) {
    appendSnapshot(out, std::span(&lines, 1));
}

void appendEntry(std::string& out, const JournalEntry& entry) {
    switch (entry.kind) {
    case JournalEntry::Kind::Record:
        appendRecord(out, entry.value.view(), entry.group);
        break;
    case JournalEntry::Kind::Snapshot:
        appendSnapshot(out, entry.lines);
        break;
    default:
        appendStep(out, entry.kind, entry.setting);
        break;
    }
}

} // namespace journal_bytes

namespace journal_batch {

namespace {

// An entry is its kind (JournalEntry::Kind in the high four bits, EditRecordValue::Kind in the
// low four), then for a record its group, line and offset, then what its kind needs: a plain
// copy of each field, in this process's own byte order.
constexpr std::size_t kFixed = 1 + 3 * sizeof(int32_t);
constexpr std::size_t kMost = kFixed + sizeof(int32_t) + sizeof(uint32_t) + sizeof(MarkState);
// A typed run: this kind byte, its line, first offset and first group, its group step, its byte
// count, whether its last key's move came, then its bytes.
constexpr uint8_t kTypedRun = 0xf0;
// The keys of a typed run in one frame of the journal: a journal cut in its last frame loses no
// more than these.
constexpr std::size_t kKeysPerFrame = 1;

template <typename T>
char* put(char* at, const T& value) {
    std::memcpy(at, &value, sizeof value);
    return at + sizeof value;
}

template <typename T>
bool take(std::string_view& from, T& value) {
    if (from.size() < sizeof value) {
        return false;
    }
    std::memcpy(&value, from.data(), sizeof value);
    from.remove_prefix(sizeof value);
    return true;
}

uint8_t kindByte(JournalEntry::Kind entry, EditRecordValue::Kind kind) {
    return static_cast<uint8_t>((static_cast<unsigned>(entry) << 4) | static_cast<unsigned>(kind));
}

// Calls `record` with each record of a batch (its bytes a view into the batch) and `step` with
// each other entry, in order.
template <typename Record, typename Step, typename Typed>
void forEach(std::string_view batch, Record&& record, Step&& step, Typed&& typed) {
    uint8_t kind = 0;
    while (take(batch, kind)) {
        if (kind == kTypedRun) {
            int32_t line = 0, offset = 0, group = 0;
            uint8_t step = 0, moved = 0;
            uint32_t count = 0;
            if (!take(batch, line) || !take(batch, offset) || !take(batch, group) || !take(batch, step) ||
                !take(batch, count) || !take(batch, moved)) {
                return;
            }
            count = static_cast<uint32_t>(std::min<std::size_t>(count, batch.size()));
            typed(line, offset, group, step, batch.substr(0, count), moved != 0);
            batch.remove_prefix(count);
            continue;
        }
        const auto entry = static_cast<JournalEntry::Kind>(kind >> 4);
        if (entry != JournalEntry::Kind::Record) {
            uint8_t setting = 0;
            if (hasSetting(entry) && !take(batch, setting)) {
                return;
            }
            step(entry, setting);
            continue;
        }
        EditRecordView view;
        view.kind = static_cast<EditRecordValue::Kind>(kind & 0xf);
        int32_t group = 0;
        if (!take(batch, group) || !take(batch, view.line) || !take(batch, view.offset)) {
            return;
        }
        uint32_t length = 0;
        switch (view.kind) {
        case EditRecordValue::Kind::ReplaceBytes:
            (void)take(batch, view.count);
            [[fallthrough]];
        case EditRecordValue::Kind::InsertLine:
            (void)take(batch, view.otherLineEnd);
            (void)take(batch, length);
            length = static_cast<uint32_t>(std::min<std::size_t>(length, batch.size()));
            view.bytes = batch.substr(0, length);
            batch.remove_prefix(length);
            break;
        case EditRecordValue::Kind::OverwriteCharacter:
            (void)take(batch, view.byte);
            break;
        case EditRecordValue::Kind::Mark:
            (void)take(batch, view.mark);
            break;
        default:
            break;
        }
        record(view, static_cast<int>(group));
    }
}

} // namespace

char* Batch::room(std::size_t count) {
    if (m_bytes.size() - m_used < count) {
        m_bytes.resize(std::max({2 * m_bytes.size(), m_used + count, std::size_t{4096}}));
    }
    return m_bytes.data() + m_used;
}

std::string Batch::take() {
    m_bytes.resize(m_used);
    m_used = 0;
    m_run = kNoRun;
    return std::exchange(m_bytes, {});
}

void Batch::reuse(std::string bytes) {
    m_bytes = std::move(bytes);
    m_bytes.resize(m_bytes.capacity());
    m_used = 0;
    m_run = kNoRun;
}

std::size_t Batch::addEntry(const EditRecordView& record, int group) {
    static_assert(std::is_trivially_copyable_v<MarkState>);
    constexpr std::size_t kRecordFixed = kFrameHead + 1 + 1 + 4 + 4 + 4 + 1;
    if (record.kind == EditRecordValue::Kind::ReplaceBytes && record.bytes.size() == 1 && record.count == 0 &&
        record.byte == 0 && !record.otherLineEnd) {
        // A typed key starts a run.
        char* at = room(kRunMoved + 1 + 1);
        m_run = m_used;
        at = put(at, kTypedRun);
        at = put(at, static_cast<int32_t>(record.line));
        at = put(at, static_cast<int32_t>(record.offset));
        at = put(at, static_cast<int32_t>(group));
        at = put(at, uint8_t{0});
        at = put(at, uint32_t{1});
        at = put(at, uint8_t{0});
        *at = record.bytes[0];
        m_used += kRunMoved + 1 + 1;
        m_runLine = record.line;
        m_runEnd = record.offset + 1;
        m_runGroup = group;
        m_runStep = -1;
        m_runCount = 1;
        m_runMoved = false;
        return kRecordFixed + 4 + 4 + 1;
    }
    m_run = kNoRun;
    char* const start = room(kMost + record.bytes.size());
    char* at = start;
    at = put(at, kindByte(JournalEntry::Kind::Record, record.kind));
    at = put(at, static_cast<int32_t>(group));
    at = put(at, static_cast<int32_t>(record.line));
    at = put(at, static_cast<int32_t>(record.offset));
    std::size_t frame = kRecordFixed;
    switch (record.kind) {
    case EditRecordValue::Kind::ReplaceBytes:
        at = put(at, static_cast<int32_t>(record.count));
        at = put(at, record.otherLineEnd);
        at = put(at, static_cast<uint32_t>(record.bytes.size()));
        frame += 4 + 4 + record.bytes.size();
        break;
    case EditRecordValue::Kind::InsertLine:
        at = put(at, record.otherLineEnd);
        at = put(at, static_cast<uint32_t>(record.bytes.size()));
        frame += 1 + 4 + record.bytes.size();
        break;
    case EditRecordValue::Kind::OverwriteCharacter:
        at = put(at, record.byte);
        break;
    case EditRecordValue::Kind::Mark:
        at = put(at, record.mark);
        frame += 1 + 16 + 1;
        break;
    default:
        break;
    }
    if (!record.bytes.empty()) {
        std::memcpy(at, record.bytes.data(), record.bytes.size());
        at += record.bytes.size();
    }
    m_used += static_cast<std::size_t>(at - start);
    return frame;
}

std::size_t Batch::addStep(JournalEntry::Kind kind, uint8_t setting) {
    m_run = kNoRun;
    char* at = room(2);
    at = put(at, kindByte(kind, {}));
    if (hasSetting(kind)) {
        (void)put(at, setting);
        m_used += 2;
        return kFrameHead + 2;
    }
    m_used += 1;
    return kFrameHead + 1;
}

std::vector<JournalEntry> entries(std::string_view batch) {
    std::vector<JournalEntry> result;
    forEach(
        batch,
        [&](const EditRecordView& record, int group) {
            JournalEntry& entry = result.emplace_back();
            entry.value = EditRecordValue(record);
            entry.group = group;
        },
        [&](JournalEntry::Kind kind, uint8_t setting) {
            JournalEntry& entry = result.emplace_back();
            entry.kind = kind;
            entry.setting = setting;
        },
        [&](int line, int offset, int group, int step, std::string_view bytes, bool lastMoved) {
            forEachTyped(line, offset, group, step, bytes, lastMoved, [&](const EditRecordView& record, int key) {
                JournalEntry& entry = result.emplace_back();
                entry.value = EditRecordValue(record);
                entry.group = key;
            });
        });
    return result;
}

void encode(std::string& out, std::string_view batch) {
    forEach(
        batch,
        [&](const EditRecordView& record, int group) { journal_bytes::appendRecord(out, record, group); },
        [&](JournalEntry::Kind kind, uint8_t setting) { journal_bytes::appendStep(out, kind, setting); },
        [&](int line, int offset, int group, int step, std::string_view bytes, bool lastMoved) {
            if (bytes.empty()) {
                return;
            }
            // The keys whose move came make one frame; a last key without it, a record of its own.
            const std::size_t whole = lastMoved ? bytes.size() : bytes.size() - 1;
            for (std::size_t key = 0; key < whole; key += kKeysPerFrame) {
                const int at = static_cast<int>(key);
                journal_bytes::appendTypedRun(out, line, offset + at, group + at * step, static_cast<uint8_t>(step),
                                              bytes.substr(key, std::min(kKeysPerFrame, whole - key)));
            }
            if (whole < bytes.size()) {
                EditRecordView last;
                last.kind = EditRecordValue::Kind::ReplaceBytes;
                last.line = line;
                last.offset = offset + static_cast<int>(whole);
                last.bytes = bytes.substr(whole);
                journal_bytes::appendRecord(out, last, group + static_cast<int>(whole) * step);
            }
        });
}

} // namespace journal_batch

JournalContent readJournal(std::string_view bytes) {
    JournalContent content;
    if (!bytes.starts_with(journal_bytes::kMagic)) {
        return content;
    }
    std::size_t position = journal_bytes::kMagic.size();
    content.wholeBytes = position;
    bool first = true;
    while (bytes.size() - position >= kFrameHead) {
        Fields head(bytes.substr(position, kFrameHead));
        const uint32_t length = head.u32();
        const uint32_t sum = head.u32();
        if (length == 0 || length > journal_bytes::kMaxFrame ||
            bytes.size() - position - kFrameHead < length) {
            break;
        }
        const std::string_view payload = bytes.substr(position + kFrameHead, length);
        if (checksum(payload) != sum) {
            break;
        }
        Fields fields(payload.substr(1));
        const auto type = static_cast<FrameType>(payload[0]);
        if (first) {
            // Nothing counts without the header: edits mean nothing without their starting point.
            if (type != FrameType::Header) {
                break;
            }
            content.header = parseHeader(fields);
            if (!content.header) {
                break;
            }
            first = false;
        } else {
            JournalEntry entry;
            bool good = true;
            switch (type) {
            case FrameType::Record:
                entry.kind = JournalEntry::Kind::Record;
                good = parseRecord(fields, entry);
                break;
            case FrameType::Undo:
                entry.kind = JournalEntry::Kind::Undo;
                good = fields.atEnd();
                break;
            case FrameType::Redo:
                entry.kind = JournalEntry::Kind::Redo;
                good = fields.atEnd();
                break;
            case FrameType::Flush:
                entry.kind = JournalEntry::Kind::Flush;
                good = fields.atEnd();
                break;
            case FrameType::Encoding:
            case FrameType::LineEnds:
                entry.kind =
                    type == FrameType::Encoding ? JournalEntry::Kind::Encoding : JournalEntry::Kind::LineEnds;
                entry.setting = fields.u8();
                good = fields.ok() && fields.atEnd() && entry.setting <= 1;
                break;
            case FrameType::TypedRun:
                // Its records are entries of their own, as if each had a frame.
                good = parseTypedRun(fields, content.entries);
                if (good) {
                    position += kFrameHead + length;
                    content.wholeBytes = position;
                    continue;
                }
                break;
            case FrameType::Snapshot:
                // A snapshot is the starting point: it comes first or not at all.
                entry.kind = JournalEntry::Kind::Snapshot;
                good = content.entries.empty() && parseSnapshot(fields, entry);
                break;
            default:
                good = false;
            }
            if (!good) {
                break;
            }
            content.entries.push_back(std::move(entry));
        }
        position += kFrameHead + length;
        content.wholeBytes = position;
    }
    content.complete = content.header.has_value() && content.wholeBytes == bytes.size();
    return content;
}

} // namespace vexa::recovery
