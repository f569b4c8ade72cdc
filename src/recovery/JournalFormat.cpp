// Writing and reading the recovery journal's frames.
#include "recovery/JournalFormat.h"

#include "core/ContentHash.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <type_traits>

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

constexpr uint8_t kHeaderVersion = 1;
constexpr std::size_t kFrameHead = 8; // length and checksum

uint32_t checksum(std::string_view payload) {
    return static_cast<uint32_t>(ContentHash::of(payload));
}

void putU8(std::string& out, uint8_t value) {
    out.push_back(static_cast<char>(value));
}

void putU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

void putU64(std::string& out, uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

void putI32(std::string& out, int value) {
    putU32(out, static_cast<uint32_t>(value));
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

void setU32(char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<char>((value >> (8 * i)) & 0xff);
    }
}

void endFrame(std::string& out, std::size_t start) {
    const std::string_view payload(out.data() + start + kFrameHead, out.size() - start - kFrameHead);
    const uint32_t sum = checksum(payload);
    setU32(out.data() + start, static_cast<uint32_t>(payload.size()));
    setU32(out.data() + start + 4, sum);
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
    if (fields.u8() != kHeaderVersion) {
        return std::nullopt;
    }
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
    putU8(out, kHeaderVersion);
    putU8(out, header.encoding == TextEncoding::Windows1252 ? 0 : 1);
    putU8(out, header.lineEnds == LineEnds::Dos ? 0 : 1);
    putU8(out, header.byteOrderMark ? 1 : 0);
    putU64(out, header.size);
    putU64(out, static_cast<uint64_t>(header.modified));
    putU64(out, header.hash);
    putBytes(out, header.path);
    endFrame(out, start);
}

void appendRecord(std::string& out, const EditRecordValue& value, int group) {
    const std::size_t start = beginFrame(out, FrameType::Record);
    putU8(out, static_cast<uint8_t>(value.kind));
    putI32(out, group);
    putI32(out, value.line);
    putI32(out, value.offset);
    putU8(out, static_cast<uint8_t>(value.byte));
    if (value.kind == EditRecordValue::Kind::InsertLine) {
        putU8(out, value.otherLineEnd ? 1 : 0);
        putBytes(out, value.bytes);
    } else if (value.kind == EditRecordValue::Kind::ReplaceBytes) {
        putI32(out, value.count);
        putBytes(out, value.bytes);
    } else if (value.kind == EditRecordValue::Kind::Mark) {
        putU8(out, static_cast<uint8_t>(value.mark.type));
        putI32(out, value.mark.anchor.column);
        putI32(out, value.mark.anchor.line);
        putI32(out, value.mark.moving.column);
        putI32(out, value.mark.moving.line);
        putU8(out, value.mark.active ? 1 : 0);
    }
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
        appendRecord(out, entry.value, entry.group);
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

// Calls `use` with each entry of a batch.
template <typename Use>
void forEach(std::string_view batch, Use&& use) {
    uint8_t kind = 0;
    while (take(batch, kind)) {
        JournalEntry entry;
        entry.kind = static_cast<JournalEntry::Kind>(kind >> 4);
        if (hasSetting(entry.kind) && !take(batch, entry.setting)) {
            return;
        }
        if (entry.kind == JournalEntry::Kind::Record) {
            EditRecordValue& value = entry.value;
            value.kind = static_cast<EditRecordValue::Kind>(kind & 0xf);
            int32_t group = 0;
            if (!take(batch, group) || !take(batch, value.line) || !take(batch, value.offset)) {
                return;
            }
            entry.group = group;
            uint32_t length = 0;
            switch (value.kind) {
            case EditRecordValue::Kind::ReplaceBytes:
                (void)take(batch, value.count);
                [[fallthrough]];
            case EditRecordValue::Kind::InsertLine:
                (void)take(batch, value.otherLineEnd);
                (void)take(batch, length);
                length = static_cast<uint32_t>(std::min<std::size_t>(length, batch.size()));
                value.bytes.assign(batch.substr(0, length));
                batch.remove_prefix(length);
                break;
            case EditRecordValue::Kind::OverwriteCharacter:
                (void)take(batch, value.byte);
                break;
            case EditRecordValue::Kind::Mark:
                (void)take(batch, value.mark);
                break;
            default:
                break;
            }
        }
        use(entry);
    }
}

} // namespace

std::size_t addRecord(std::string& batch, const EditRecordValue& value, int group) {
    static_assert(std::is_trivially_copyable_v<MarkState>);
    char block[kMost];
    char* at = block;
    at = put(at, kindByte(JournalEntry::Kind::Record, value.kind));
    at = put(at, static_cast<int32_t>(group));
    at = put(at, static_cast<int32_t>(value.line));
    at = put(at, static_cast<int32_t>(value.offset));
    constexpr std::size_t kRecordFixed = kFrameHead + 1 + 1 + 4 + 4 + 4 + 1;
    std::size_t frame = kRecordFixed;
    switch (value.kind) {
    case EditRecordValue::Kind::ReplaceBytes:
        at = put(at, static_cast<int32_t>(value.count));
        at = put(at, value.otherLineEnd);
        at = put(at, static_cast<uint32_t>(value.bytes.size()));
        frame += 4 + 4 + value.bytes.size();
        break;
    case EditRecordValue::Kind::InsertLine:
        at = put(at, value.otherLineEnd);
        at = put(at, static_cast<uint32_t>(value.bytes.size()));
        frame += 1 + 4 + value.bytes.size();
        break;
    case EditRecordValue::Kind::OverwriteCharacter:
        at = put(at, value.byte);
        break;
    case EditRecordValue::Kind::Mark:
        at = put(at, value.mark);
        frame += 1 + 16 + 1;
        break;
    default:
        break;
    }
    batch.append(block, static_cast<std::size_t>(at - block));
    if (!value.bytes.empty()) {
        batch.append(value.bytes);
    }
    return frame;
}

std::size_t addStep(std::string& batch, JournalEntry::Kind kind, uint8_t setting) {
    batch.push_back(static_cast<char>(kindByte(kind, {})));
    if (hasSetting(kind)) {
        batch.push_back(static_cast<char>(setting));
        return kFrameHead + 2;
    }
    return kFrameHead + 1;
}

std::vector<JournalEntry> entries(std::string_view batch) {
    std::vector<JournalEntry> result;
    forEach(batch, [&](JournalEntry& entry) { result.push_back(std::move(entry)); });
    return result;
}

void encode(std::string& out, std::string_view batch) {
    forEach(batch, [&](const JournalEntry& entry) { journal_bytes::appendEntry(out, entry); });
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
