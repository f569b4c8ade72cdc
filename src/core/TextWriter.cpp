// The atomic text-file writer.
#include "core/TextWriter.h"

#include <span>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Charset.h"

namespace vexa {

bool TextWriter::open(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return false;
    }
    // Replacing the file by renaming would get round its write protection; a file that could
    // not be opened for writing is not written.
    if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) {
        return false;
    }
    m_buffer.clear();
    m_buffer.reserve(kBufferSize);
    m_hash = ContentHash();
    return m_file.open(path);
}

void TextWriter::writeBytes(std::string_view bytes) {
    m_buffer.append(bytes);
}

void TextWriter::writeLine(std::string_view text, bool otherLineEnd) {
    if (m_options.oemText) {
        m_scratch.assign(text);
        platform::ansiToOem(std::span<char>(m_scratch.data(), m_scratch.size()));
        text = m_scratch;
    }
    std::string_view terminator = m_options.unixText != otherLineEnd ? "\n" : "\r\n";
    if (m_buffer.size() + text.size() + terminator.size() > kBufferSize) {
        flush();
    }
    if (text.size() >= kBufferSize) {
        put(text);
    } else {
        m_buffer.append(text);
    }
    m_buffer.append(terminator);
    m_lastWritten = text.size() + terminator.size();
}

void TextWriter::put(std::string_view bytes) {
    m_hash.add(bytes);
    m_file.write(bytes);
}

void TextWriter::flush() {
    if (!m_buffer.empty()) {
        put(m_buffer);
        m_buffer.clear();
    }
}

bool TextWriter::commit() {
    flush();
    return m_file.commit();
}

} // namespace vexa
