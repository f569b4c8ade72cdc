// The buffered line reader of text files.
#include "core/TextReader.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <sys/stat.h>

#include "platform/Charset.h"

namespace vexa {

bool TextReader::open(const std::string& path) {
    close();
    // A directory opens for reading on POSIX but yields no bytes, and a device or pipe may
    // never end: only plain files are text files.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    adopt(file);
    return true;
}

void TextReader::adopt(std::FILE* stream) {
    m_file.reset(stream);
    if (stream != nullptr) {
        std::setvbuf(stream, nullptr, _IOFBF, kChunkSize);
    }
    m_size = 0;
    m_position = 0;
    m_lastStart = 0;
    m_end = false;
    m_nulls = false;
    m_failed = false;
    m_fileDone = stream == nullptr;
    m_lastLength = -1;
    m_utf8 = text::Utf8Stream();
    m_hash = ContentHash();
}

bool TextReader::refill() {
    // The unread bytes move to the front so that the chunk starts exactly at the read position.
    std::size_t unread = m_size - m_position;
    if (unread > 0 && m_position > 0) {
        std::memmove(m_chunk.data(), m_chunk.data() + m_position, unread);
    }
    m_lastStart = m_lastStart >= m_position ? m_lastStart - m_position : 0;
    m_position = 0;
    m_size = unread;
    if (m_fileDone || m_size == kChunkSize) {
        return false;
    }
    std::size_t read = std::fread(m_chunk.data() + m_size, 1, kChunkSize - m_size, m_file.get());
    if (read < kChunkSize - m_size) {
        m_fileDone = true;
        if (std::ferror(m_file.get()) != 0) {
            m_failed = true;
        }
    }
    char* added = m_chunk.data() + m_size;
    m_hash.add(std::string_view(added, read));
    for (std::size_t i = 0; i < read; ++i) {
        if (added[i] == '\0') {
            added[i] = ' ';
            m_nulls = true;
        }
    }
    m_utf8.add(std::string_view(added, read));
    m_size += read;
    m_chunk[m_size] = '\0';
    return read > 0;
}

long TextReader::findTerminator(std::size_t from, bool& needMore) const {
    needMore = false;
    const char* data = m_chunk.data();
    for (std::size_t i = from; i < m_size; ++i) {
        const void* hit = std::memchr(data + i, m_options.unixText ? '\n' : '\r', m_size - i);
        if (hit == nullptr) {
            break;
        }
        auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (m_options.unixText) {
            return static_cast<long>(at);
        }
        // DOS text ends a line only at CR LF; a CR at the end of the chunk needs the next byte.
        if (at + 1 < m_size) {
            if (data[at + 1] == '\n') {
                return static_cast<long>(at);
            }
            i = at;
            continue;
        }
        if (!m_fileDone) {
            needMore = true;
        }
        return -1;
    }
    return -1;
}

int TextReader::readLine(std::string& line) {
    line.clear();
    m_lastLength = -1;
    if (m_file == nullptr || m_end) {
        m_end = true;
        return -1;
    }
    if (m_position >= m_size) {
        refill();
        if (m_size == 0) {
            m_end = true;
            return -1;
        }
    }
    bool needMore = false;
    long terminator = findTerminator(m_position, needMore);
    // A chunk that holds no line end past the read position is topped up once and searched
    // again; a full chunk without any line end is cut into lines as it stands.
    if (terminator < 0 && !m_fileDone && !(m_position == 0 && m_size == kChunkSize)) {
        refill();
        terminator = findTerminator(m_position, needMore);
    }

    std::size_t available = (terminator >= 0 ? static_cast<std::size_t>(terminator) : m_size) - m_position;
    std::size_t length = std::min<std::size_t>(available, kMaxLineBytes);
    bool cut = length < available;
    const char* start = m_chunk.data() + m_position;
    std::size_t terminatorSize = 0;
    m_lastEnd = ReadLineEnd::None;
    if (!cut && terminator >= 0) {
        terminatorSize = m_options.unixText ? 1 : 2;
        m_lastEnd = m_options.unixText ? ReadLineEnd::Lf : ReadLineEnd::CrLf;
        // In Unix mode a CR before the LF goes with the terminator, so DOS files read alike.
        if (m_options.unixText && length > 0 && start[length - 1] == '\r') {
            --length;
            ++terminatorSize;
            m_lastEnd = ReadLineEnd::CrLf;
        }
    }
    const void* endOfText = std::memchr(start, kEndOfText, length);
    m_lastStart = m_position;
    if (endOfText != nullptr) {
        length = static_cast<std::size_t>(static_cast<const char*>(endOfText) - start);
        m_end = true;
    }
    line.assign(start, length);
    m_position += cut ? length : length + terminatorSize;
    if (!cut && terminator < 0) {
        // The last bytes of the file without a line end.
        m_position = m_size;
    }
    if (m_options.oemText) {
        platform::oemToAnsi(std::span<char>(line.data(), line.size()));
    }
    m_lastLength = static_cast<int>(length);
    return m_lastLength;
}

void TextReader::rereadFrom(int offsetInLastLine) {
    if (m_lastLength < 0 || offsetInLastLine < 0 || offsetInLastLine >= m_lastLength) {
        return;
    }
    m_position = m_lastStart + static_cast<std::size_t>(offsetInLastLine);
}

} // namespace vexa
