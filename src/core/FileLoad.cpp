// Reading a file into a document block by block.
#include "core/FileLoad.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <sys/stat.h>

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

// Finds, in a block's bytes, the bytes that tell a line may hold a comment marker, each with one
// library search that goes on from the last one found: a line is scanned for markers only when
// one of them lies within it, and the many lines without one are appended at once. A marker lies
// whole within a line, so one byte of each marker is enough, and one byte both markers share
// (C's '/') is enough for both.
class MarkerBytes {
public:
    MarkerBytes(const CommentMarkers& markers, const char* data, std::size_t size) : m_end(data + size) {
        const std::string_view open = markers.open;
        const std::string_view close = markers.close;
        const auto shared = std::find_if(open.begin(), open.end(), [close](char byte) {
            return close.find(byte) != std::string_view::npos;
        });
        if (shared != open.end()) {
            add(*shared, data);
            return;
        }
        for (std::string_view marker : {open, close}) {
            if (!marker.empty()) {
                add(marker.front(), data);
            }
        }
    }

    // Whether such a byte lies in bytes, which follow the bytes asked about before.
    bool within(std::string_view bytes) {
        const char* const from = bytes.data();
        const char* const to = from + bytes.size();
        bool found = false;
        for (int i = 0; i < m_count; ++i) {
            if (m_next[i] < from) {
                m_next[i] = find(m_bytes[i], from);
            }
            found = found || m_next[i] < to;
        }
        return found;
    }

private:
    void add(char byte, const char* data) {
        m_bytes[m_count] = byte;
        m_next[m_count] = find(byte, data);
        ++m_count;
    }
    const char* find(char byte, const char* from) const {
        const void* hit = std::memchr(from, byte, static_cast<std::size_t>(m_end - from));
        return hit != nullptr ? static_cast<const char*>(hit) : m_end;
    }

    const char* m_end;
    char m_bytes[2] = {};
    const char* m_next[2] = {};
    int m_count = 0;
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
    MarkerBytes markers(m_document.commentMarkers(), data, size);
    std::size_t start = 0;
    while (start < size) {
        const void* hit = std::memchr(data + start, '\n', size - start);
        if (hit == nullptr) {
            break;
        }
        const auto end = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        // A CR before the LF belongs to the line end, so DOS and Unix files read alike.
        const bool crLf = end > start && data[end - 1] == '\r';
        const std::string_view line(data + start, end - start - (crLf ? 1 : 0));
        appendLine(line, crLf, false, !markers.within(line));
        start = end + 1;
    }
    // The last bytes of a file without a line end are a line of their own.
    if (endOfFile && start < size) {
        const std::string_view line(data + start, size - start);
        appendLine(line, std::nullopt, false, !markers.within(line));
        start = size;
    }
    return size - start;
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
        m_firstCrLf = crLf; // the first line end decides the document's
    }
    const bool other = crLf && *crLf != *m_firstCrLf;
    if (copy) {
        m_document.appendLoadedLine(bytes, other);
    } else {
        m_document.appendBorrowedLine(bytes, other, markerFree);
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
