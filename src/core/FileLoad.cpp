// Reading a file into a document block by block.
#include "core/FileLoad.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <sys/stat.h>

#include "core/Document.h"
#include "core/Messenger.h"
#include "platform/Charset.h"
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

// The size of a block that starts with `carried` bytes of an unended line: a block's worth, or
// twice the line once it is longer than half a block.
std::size_t blockCapacityFor(std::size_t carried) {
    return std::max(FileLoad::kBlockSize, 2 * carried);
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
    // The blocks are read whole; stdio's own buffer would only add a copy.
    std::setvbuf(file, nullptr, _IONBF, 0);
    m_file.reset(file);
    m_expected = platform::fileSize(name).value_or(0);
    m_document.clearForLoad(0);
    // Until the last block is in, the document can be read but not changed or written.
    m_wasReadOnly = m_document.isReadOnly();
    m_document.setReadOnly(true);
    m_document.setLoadIncomplete(true);
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
    return static_cast<int>(std::min<std::uint64_t>(99, m_hash.size() * 100 / m_expected));
}

bool FileLoad::step() {
    if (m_state != State::Reading) {
        return false;
    }
    // The block under way holds the unended line of the last read at its start. A line longer
    // than half a block makes the block grow to twice its size, so a line of any length is read
    // with a bounded number of moves (a large block grows in place).
    const std::size_t capacity = blockCapacityFor(m_used);
    const std::size_t readSize = capacity - m_used;
    if (!m_block.grow(capacity)) {
        m_failed = true;
        finish();
        return false;
    }
    char* fresh = m_block.data() + m_used;
    const std::size_t read = std::fread(fresh, 1, readSize, m_file.get());
    const bool endOfFile = read < readSize;
    if (endOfFile && std::ferror(m_file.get()) != 0) {
        m_failed = true;
    }
    const std::string_view added(fresh, read);
    m_hash.add(added);
    // Byte 0 would end the text early for much of the editor: it is shown and kept as a space,
    // and the document is read only so that the file is not written with spaces in their place.
    char* const end = fresh + read;
    for (char* at = fresh;
         (at = static_cast<char*>(std::memchr(at, '\0', static_cast<std::size_t>(end - at)))) != nullptr;
         ++at) {
        *at = ' ';
        m_nulls = true;
    }
    m_utf8.add(added);
    m_used += read;
    const std::size_t rest = cutLines(m_block.data(), m_used, endOfFile);
    if (rest == m_used && !endOfFile) {
        return true; // no line ends in the block yet: it grows on the next step
    }
    // The block goes to the document, whose lines read from it; the unended line moves to the
    // start of the next block.
    TextArena::Block next;
    if (!endOfFile && !next.grow(blockCapacityFor(rest))) {
        m_failed = true;
    } else if (rest > 0 && !endOfFile) {
        std::memcpy(next.data(), m_block.data() + m_used - rest, rest);
    }
    m_document.keepLoadBlock(std::move(m_block));
    m_block = std::move(next);
    m_used = endOfFile || m_failed ? 0 : rest;
    if (endOfFile || m_failed) {
        finish();
        return false;
    }
    return true;
}

std::size_t FileLoad::cutLines(char* data, std::size_t size, bool endOfFile) {
    std::size_t start = 0;
    while (start < size) {
        const void* hit = std::memchr(data + start, '\n', size - start);
        if (hit == nullptr) {
            break;
        }
        const auto end = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        // A CR before the LF belongs to the line end, so DOS and Unix files read alike.
        const bool crLf = end > start && data[end - 1] == '\r';
        appendLine(std::string_view(data + start, end - start - (crLf ? 1 : 0)), crLf);
        start = end + 1;
    }
    // The last bytes of a file without a line end are a line of their own.
    if (endOfFile && start < size) {
        appendLine(std::string_view(data + start, size - start), std::nullopt);
        start = size;
    }
    return size - start;
}

void FileLoad::appendLine(std::string_view bytes, std::optional<bool> crLf) {
    if (m_firstLine) {
        m_firstLine = false;
        if (!m_oem && bytes.starts_with(kByteOrderMark)) {
            m_byteOrderMark = true;
            bytes.remove_prefix(kByteOrderMark.size());
        }
    }
    if (m_oem) {
        // The bytes lie in the block this load owns: converted in place.
        platform::oemToAnsi(std::span<char>(const_cast<char*>(bytes.data()), bytes.size()));
    }
    if (crLf && !m_firstCrLf) {
        m_firstCrLf = crLf; // the first line end decides the document's
    }
    m_document.appendBorrowedLine(bytes, crLf && *crLf != *m_firstCrLf);
    m_widest = std::max(m_widest, static_cast<int>(std::min<std::size_t>(bytes.size(), INT32_MAX)));
}

void FileLoad::runToEnd() {
    while (step()) {
    }
}

void FileLoad::stop() {
    if (m_state != State::Reading) {
        return;
    }
    m_file.reset();
    m_block = {};
    m_used = 0;
    m_state = State::Stopped;
    m_document.setLoaded(true);
    m_document.setEncoding(text::encodingFor(m_utf8.result(), m_options.newEncoding));
    m_document.setWidestLine(m_widest);
    m_document.finishLoad();
    m_messenger.status(formatText(msg::kLoadStopped, m_document.namePart().c_str()), SoundKind::Information,
                       Hold::Yes);
}

void FileLoad::finish() {
    const std::string& name = m_document.fileName();
    m_file.reset();
    m_document.setLoadIncomplete(false);
    m_document.setReadOnly(m_wasReadOnly);
    m_document.setWidestLine(m_widest);
    // Every byte was checked as it came in (a byte-order mark is a multi-byte sequence).
    m_document.setEncoding(text::encodingFor(m_utf8.result(), m_options.newEncoding));
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
    m_document.setFileContent(m_hash.size(), m_hash.value());
    m_document.setLoaded(true);
    m_document.markUnmodified();
    m_document.undoStore().flush();
    m_document.finishLoad();
    m_state = State::Complete;
}

} // namespace vexa
