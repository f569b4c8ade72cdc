// The buffered line reader of text files.
#include "core/TextReader.h"

#include <algorithm>
#include <climits>
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
    m_lastEnd = ReadLineEnd::None;
    if (m_file == nullptr || m_end) {
        m_end = true;
        return -1;
    }
    // A line is gathered piece by piece: each pass takes the bytes of the chunk up to a line end
    // or up to the end of the chunk, and refills the chunk until the line ends or the file does.
    // Every pass consumes at least one byte or ends the file, so the loop ends.
    bool any = false;
    for (;;) {
        if (m_position >= m_size && !refill()) {
            break;
        }
        bool needMore = false;
        const long terminator = findTerminator(m_position, needMore);
        const char* start = m_chunk.data() + m_position;
        if (terminator >= 0) {
            line.append(start, static_cast<std::size_t>(terminator) - m_position);
            m_position = static_cast<std::size_t>(terminator) + (m_options.unixText ? 1 : 2);
            m_lastEnd = m_options.unixText ? ReadLineEnd::Lf : ReadLineEnd::CrLf;
            // In Unix mode a CR before the LF goes with the terminator, so DOS files read alike.
            if (m_options.unixText && !line.empty() && line.back() == '\r') {
                line.pop_back();
                m_lastEnd = ReadLineEnd::CrLf;
            }
            any = true;
            break;
        }
        // A CR at the very end of the chunk stays unread until the next byte tells whether it
        // ends the line.
        const std::size_t take = (needMore ? m_size - 1 : m_size) - m_position;
        line.append(start, take);
        m_position += take;
        any = any || take > 0;
        if (!refill() && m_position >= m_size) {
            break;
        }
    }
    if (!any) {
        m_end = true;
        return -1;
    }
    // Ctrl-Z (26) is an ordinary byte here: cutting the text at it lost the rest of the file,
    // and a save then wrote the shortened file.
    if (m_options.oemText) {
        platform::oemToAnsi(std::span<char>(line.data(), line.size()));
    }
    m_lastLength = static_cast<int>(std::min<std::size_t>(line.size(), INT_MAX));
    return m_lastLength;
}

} // namespace vexa
