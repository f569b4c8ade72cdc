// Reading a file into a document block by block.
#include "core/FileLoad.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <exception>
#include <span>
#include <sys/stat.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/Document.h"
#include "core/Messenger.h"
#include "platform/Files.h"
#include "settings/Format.h"

namespace vexa {
namespace {

namespace msg = file_messages;
using platform::SoundKind;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Whether a whole file is valid UTF-8 with a multi-byte sequence.
bool fileIsUtf8(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        return false;
    }
    text::Utf8Stream stream;
    auto piece = std::make_unique_for_overwrite<char[]>(FileLoad::kBlockSize);
    while (const std::size_t read = std::fread(piece.get(), 1, FileLoad::kBlockSize, file.get())) {
        stream.add(std::string_view(piece.get(), read));
    }
    const text::Utf8Check check = stream.result();
    return check.valid && check.multiByte;
}

// Finds the line ends of a block and where a comment marker may start, sixty-four bytes at a
// time: a line is scanned for markers only when one starts within it, and the many lines without
// one are appended at once. A marker is looked for as its bytes in a row (a byte of a two-byte
// marker alone, such as the '/' of a path or a division, does not count).
class BlockScan {
public:
    static constexpr std::size_t kStride = 64;
    static constexpr std::size_t kPrefetch = 2048;

    BlockScan(const CommentMarkers& markers, const char* data, std::size_t size) : m_data(data), m_size(size) {
        const std::string_view both[] = {markers.open, markers.close};
        for (std::size_t i = 0; i < 2; ++i) {
            Pattern& pattern = m_patterns[i];
            pattern.used = !both[i].empty();
            if (pattern.used) {
                pattern.first = both[i][0];
                pattern.second = both[i].size() > 1 ? both[i][1] : '\0';
                pattern.oneByte = both[i].size() == 1;
            }
#if defined(__SSE2__)
            pattern.firstBytes = _mm_set1_epi8(pattern.first);
            pattern.secondBytes = _mm_set1_epi8(pattern.second);
            pattern.anySecond = pattern.oneByte ? _mm_set1_epi8(-1) : _mm_setzero_si128();
#endif
        }
        m_anyMarker = m_patterns[0].used || m_patterns[1].used;
    }

    // Calls visit(start, end, markerFree) for every line that ends in the block, in order, with
    // [start, end) its bytes before the line feed; returns the offset just past the last line
    // feed (0 when there is none).
    template <typename Visit>
    std::size_t forEachLine(Visit&& visit) const {
        std::size_t start = 0;
        // The offset just past the start of the last marker seen before the line end in hand.
        std::size_t markerEnd = 0;
        for (std::size_t base = 0; base < m_size; base += kStride) {
            __builtin_prefetch(m_data + base + kPrefetch);
            // A stride is read with the byte after it, the second byte of a marker at its end.
            const Masks masks = base + kStride < m_size ? masksAt(m_data + base) : tailMasks(base);
            for (std::uint64_t ends = masks.ends; ends != 0; ends &= ends - 1) {
                const auto bit = static_cast<unsigned>(std::countr_zero(ends));
                const std::uint64_t before = masks.markers & ((std::uint64_t{1} << bit) - 1);
                if (before != 0) {
                    markerEnd = base + static_cast<std::size_t>(std::bit_width(before));
                }
                const std::size_t end = base + bit;
                visit(start, end, markerEnd <= start);
                start = end + 1;
            }
            if (masks.markers != 0) {
                markerEnd = base + static_cast<std::size_t>(std::bit_width(masks.markers));
            }
        }
        return start;
    }

private:
    // Bit i: byte i of the stride is a line feed; a marker starts there.
    struct Masks {
        std::uint64_t ends = 0;
        std::uint64_t markers = 0;
    };
    // A marker's first byte and the byte after it (any byte for a one-byte marker).
    struct Pattern {
        bool used = false;
        bool oneByte = false;
        char first = '\0';
        char second = '\0';
#if defined(__SSE2__)
        __m128i firstBytes;
        __m128i secondBytes;
        __m128i anySecond; // every bit set for a one-byte marker
#endif
    };

    // The masks of the kStride bytes at `bytes`, which may read one byte beyond them.
    Masks masksAt(const char* bytes) const {
        Masks masks;
#if defined(__SSE2__)
        const __m128i feed = _mm_set1_epi8('\n');
        for (unsigned part = 0; part < kStride / 16; ++part) {
            const char* const at = bytes + 16 * part;
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            const auto ends = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, feed)));
            masks.ends |= std::uint64_t{ends} << (16 * part);
            if (m_anyMarker) {
                const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
                __m128i hits = _mm_setzero_si128();
                for (const Pattern& pattern : m_patterns) {
                    if (pattern.used) {
                        const __m128i second =
                            _mm_or_si128(_mm_cmpeq_epi8(next, pattern.secondBytes), pattern.anySecond);
                        hits = _mm_or_si128(hits, _mm_and_si128(_mm_cmpeq_epi8(chunk, pattern.firstBytes), second));
                    }
                }
                masks.markers |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(hits))} << (16 * part);
            }
        }
#else
        for (unsigned i = 0; i < kStride; ++i) {
            masks.ends |= std::uint64_t{bytes[i] == '\n'} << i;
            bool marker = false;
            for (const Pattern& pattern : m_patterns) {
                marker = marker || (pattern.used && bytes[i] == pattern.first &&
                                    (pattern.oneByte || bytes[i + 1] == pattern.second));
            }
            masks.markers |= std::uint64_t{marker} << i;
        }
#endif
        return masks;
    }

    // The last stride, read from a copy padded with byte 0 (no line feed, and a marker whose
    // bytes run past the block is not within a line cut here).
    Masks tailMasks(std::size_t base) const {
        char padded[kStride + 1] = {};
        std::memcpy(padded, m_data + base, m_size - base);
        Masks masks = masksAt(padded);
        const std::size_t valid = m_size - base;
        if (valid < kStride) {
            const std::uint64_t inside = (std::uint64_t{1} << valid) - 1;
            masks.ends &= inside;
            masks.markers &= inside;
        }
        return masks;
    }

    const char* m_data;
    std::size_t m_size;
    Pattern m_patterns[2];
    bool m_anyMarker = false;
};

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// Only plain files are text files: a directory opens for reading on POSIX but yields no bytes,
// and a device or pipe may never end.
std::FILE* openPlainFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    return std::fopen(path.c_str(), "rb");
}

} // namespace

FileLoad::FileLoad(Document& document, const FileOptions& options, Messenger& messenger,
                   WritableCheck mayWrite)
    : m_document(document), m_options(options), m_messenger(messenger), m_mayWrite(mayWrite) {}

FileLoad::~FileLoad() = default;

bool FileLoad::start() {
    const std::string& name = m_document.fileName();
    // OEM text is converted only in a file that is not UTF-8, which takes a look at the whole
    // file first (only then, as the conversion is rare).
    m_oem = m_options.oemRead && m_document.hasName() && !fileIsUtf8(name);
    std::FILE* file = m_document.hasName() ? openPlainFile(name) : nullptr;
    if (file == nullptr) {
        m_document.makeNew();
        m_document.setEncoding(m_options.newEncoding);
        m_document.setLineEnds(m_options.newLineEnds());
        m_document.setByteOrderMark(false);
        m_document.setLoaded(false);
        // A file that is there but cannot be read must not be replaced by this empty text
        // through an unwary save.
        if (m_document.hasName() && exists(name)) {
            m_document.setReadOnly(true);
        }
        return false;
    }
    m_expected = platform::fileSize(name).value_or(0);
    m_document.clearForLoad(0);
    // Until the last block is in, the document can be read but not changed or written.
    m_wasReadOnly = m_document.isReadOnly();
    m_document.setReadOnly(true);
    m_document.setLoadIncomplete(true);
    m_reader = std::make_unique<BlockReader>(BlockReader::File(file), m_oem);
    m_state = State::Reading;
    return true;
}

int FileLoad::percent() const {
    if (m_state == State::Complete) {
        return 100;
    }
    if (m_expected == 0) {
        return 0;
    }
    return static_cast<int>(std::min<std::uint64_t>(99, m_read * 100 / m_expected));
}

bool FileLoad::step() {
    if (m_state != State::Reading) {
        return false;
    }
    BlockReader::Piece piece = m_reader->take();
    m_read += piece.size;
    m_nulls = m_nulls || piece.nulls;
    m_failed = m_failed || piece.failed;
    followEncoding(piece.utf8);
    const char* const data = piece.block.data();
    std::size_t start = 0;
    if (!m_carry.empty()) {
        // The line carried from the blocks before ends at this block's first line end; a line
        // with no end in the block grows on (its blocks are not kept).
        const void* hit = piece.size > 0 ? std::memchr(data, '\n', piece.size) : nullptr;
        if (hit == nullptr && !piece.endOfFile) {
            m_carry.append(data, piece.size);
            return true;
        }
        start = hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : piece.size;
        endCarriedLine(std::string_view(data, start), hit != nullptr);
        start = hit != nullptr ? start + 1 : start;
    }
    const std::size_t lines = m_document.lineCount();
    const std::size_t rest = cutLines(data + start, piece.size - start, piece.endOfFile);
    if (rest > 0) {
        m_carry.assign(data + piece.size - rest, rest);
    }
    if (m_firstBlock && piece.size > 0 && m_expected > m_read) {
        // The lines of the first block tell about how many the rest of the file holds; an eighth
        // more leaves room for shorter lines further on (room reserved and not used costs no memory).
        const std::size_t cut = static_cast<std::size_t>(m_document.lineCount());
        try {
            m_document.expectMoreLines(cut * (m_expected - m_read) / m_read * 9 / 8);
        } catch (const std::exception&) {
            // Only a hint: without the room the index grows as the lines come.
        }
    }
    m_firstBlock = false;
    if (static_cast<std::size_t>(m_document.lineCount()) != lines) {
        // The document's lines read from the block from now on.
        m_document.keepLoadBlock(std::move(piece.block));
    }
    if (piece.endOfFile) {
        if (!m_carry.empty()) {
            endCarriedLine({}, false);
        }
        finish(piece);
        return false;
    }
    return true;
}

void FileLoad::endCarriedLine(std::string_view head, bool hasEnd) {
    m_carry.append(head);
    std::string_view line = m_carry;
    std::optional<bool> crLf;
    if (hasEnd) {
        crLf = line.ends_with('\r');
        if (*crLf) {
            line.remove_suffix(1);
        }
    }
    appendLine(line, crLf, true);
    m_carry.clear();
    m_carry.shrink_to_fit();
}

std::size_t FileLoad::cutLines(const char* data, std::size_t size, bool endOfFile) {
    std::size_t first = 0;
    if (m_firstLine || !m_firstCrLf) {
        // The first line may start with a byte-order mark, and its end decides the document's.
        const void* hit = std::memchr(data, '\n', size);
        if (hit == nullptr) {
            return endOfFile ? cutLastLine(data, size) : size;
        }
        const auto end = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        const bool crLf = end > 0 && data[end - 1] == '\r';
        const std::string_view line(data, end - (crLf ? 1 : 0));
        appendLine(line, crLf, false, m_document.commentMarkers().absentFrom(line));
        first = end + 1;
    }
    const char* const rest = data + first;
    const std::size_t restSize = size - first;
    const BlockScan scan(m_document.commentMarkers(), rest, restSize);
    const bool documentCrLf = *m_firstCrLf;
    // Lines go to the document in batches, so that appending one is a few stores.
    constexpr std::size_t kBatch = 1024;
    std::array<Document::BorrowedLine, kBatch> batch;
    std::size_t batched = 0;
    std::size_t widest = 0;
    const std::size_t start = scan.forEachLine([&](std::size_t from, std::size_t end, bool markerFree) {
        // A CR before the LF belongs to the line end, so DOS and Unix files read alike.
        const bool crLf = end > from && rest[end - 1] == '\r';
        const std::size_t length = end - from - (crLf ? 1 : 0);
        batch[batched++] = {rest + from, static_cast<std::uint32_t>(length), crLf != documentCrLf, markerFree};
        widest = std::max(widest, length);
        if (batched == kBatch) {
            m_document.appendBorrowedLines(std::span(batch.data(), batched));
            batched = 0;
        }
    });
    m_document.appendBorrowedLines(std::span(batch.data(), batched));
    m_widest = std::max(m_widest, static_cast<int>(std::min<std::size_t>(widest, INT32_MAX)));
    if (endOfFile && start < restSize) {
        return cutLastLine(rest + start, restSize - start);
    }
    return restSize - start;
}

std::size_t FileLoad::cutLastLine(const char* data, std::size_t size) {
    // The last bytes of a file without a line end are a line of their own.
    if (size > 0) {
        const std::string_view line(data, size);
        appendLine(line, std::nullopt, false, m_document.commentMarkers().absentFrom(line));
    }
    return 0;
}

void FileLoad::appendLine(std::string_view bytes, std::optional<bool> crLf, bool copy, bool markerFree) {
    if (m_firstLine) {
        m_firstLine = false;
        if (!m_oem && bytes.starts_with(kByteOrderMark)) {
            m_byteOrderMark = true;
            bytes.remove_prefix(kByteOrderMark.size());
        }
    }
    if (crLf && !m_firstCrLf) {
        // The first line end decides the document's, shown from now on while the rest loads.
        m_firstCrLf = crLf;
        m_document.setLineEnds(*crLf ? LineEnds::Dos : LineEnds::Unix);
    }
    const bool other = crLf && *crLf != *m_firstCrLf;
    if (copy) {
        m_document.appendLoadedLine(bytes, other);
    } else {
        const Document::BorrowedLine line{bytes.data(), static_cast<std::uint32_t>(bytes.size()), other, markerFree};
        m_document.appendBorrowedLines(std::span(&line, 1));
    }
    m_widest = std::max(m_widest, static_cast<int>(std::min<std::size_t>(bytes.size(), INT32_MAX)));
}

void FileLoad::followEncoding(const text::Utf8Check& check) {
    m_utf8 = check;
    const TextEncoding encoding = text::encodingFor(check, m_options.newEncoding);
    const bool announce = !m_firstBlock && encoding != m_document.encoding();
    // The bytes stay; the document reads them anew and is repainted whole.
    m_document.setEncoding(encoding);
    if (announce && m_encodingListener) {
        m_encodingListener(encoding);
    }
}

void FileLoad::runToEnd() {
    while (step()) {
    }
}

void FileLoad::stop() {
    if (m_state != State::Reading) {
        return;
    }
    m_reader.reset();
    m_carry.clear();
    m_carry.shrink_to_fit();
    m_state = State::Stopped;
    m_document.setLoaded(true);
    m_document.setEncoding(text::encodingFor(m_utf8, m_options.newEncoding));
    m_document.setWidestLine(m_widest);
    m_document.finishLoad();
    m_messenger.status(formatText(msg::kLoadStopped, m_document.namePart().c_str()), SoundKind::Information,
                       Hold::Yes);
}

void FileLoad::finish(const BlockReader::Piece& last) {
    const std::string& name = m_document.fileName();
    m_reader.reset();
    m_document.setLoadIncomplete(false);
    m_document.setReadOnly(m_wasReadOnly);
    m_document.setWidestLine(m_widest);
    // Every byte was checked as it came in (a byte-order mark is a multi-byte sequence); the
    // last piece's check counts a sequence left open at the end as invalid.
    // The mark's bytes are written back whatever the encoding, so a file whose text after the mark
    // is not UTF-8 loses nothing either.
    m_document.setByteOrderMark(m_byteOrderMark);
    m_document.setLineEnds(m_firstCrLf ? (*m_firstCrLf ? LineEnds::Dos : LineEnds::Unix)
                                       : m_options.newLineEnds());
    m_document.setFileTime(platform::modificationTime(name).value_or(0));
    if (m_nulls) {
        m_document.setReadOnly(true);
        m_document.setNullsReplaced(true);
        m_messenger.messageBox(msg::kNullsReplaced);
    }
    if (m_failed) {
        m_document.setReadOnly(true);
        m_messenger.messageBox(formatText(msg::kReadFailed, name.c_str()));
    }
    if (!m_document.isReadOnly() && !m_mayWrite(name)) {
        m_document.setReadOnly(true);
        m_messenger.status(formatText(msg::kWriteProtected, name.c_str()), SoundKind::Information);
    }
    m_document.setFileContent(last.total, last.hash);
    m_document.setLoaded(true);
    m_document.markUnmodified();
    m_document.undoStore().flush();
    m_document.finishLoad();
    m_state = State::Complete;
}

} // namespace vexa
