// The atomic text-file writer.
#include "core/TextWriter.h"

#include <cstring>
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
    m_runStart = nullptr;
    m_runEnd = nullptr;
    m_hash = ContentHash();
    return m_file.open(path);
}

void TextWriter::writeBytes(std::string_view bytes) {
    flushRun();
    m_buffer.append(bytes);
}

void TextWriter::writeKeptLine(std::string_view text, bool otherLineEnd) {
    if (m_options.oemText || text.data() == nullptr) {
        writeLine(text, otherLineEnd); // converted, or an empty line with no place in memory
        return;
    }
    const std::string_view terminator = terminatorFor(otherLineEnd);
    // The line continues the run when it starts just past the run's end and the bytes between
    // are the terminator the run's last line is written with: a loaded block holds its lines
    // with their ends between them, so those bytes lie in the same block as the lines.
    if (m_runStart != nullptr && text.data() == m_runEnd + m_runTerminator.size() &&
        std::memcmp(m_runEnd, m_runTerminator.data(), m_runTerminator.size()) == 0) {
        m_runEnd = text.data() + text.size();
    } else {
        flushRun();
        m_runStart = text.data();
        m_runEnd = text.data() + text.size();
    }
    m_runTerminator = terminator;
    m_lastWritten = text.size() + terminator.size();
}

void TextWriter::flushRun() {
    if (m_runStart == nullptr) {
        return;
    }
    const std::string_view run(m_runStart, static_cast<std::size_t>(m_runEnd - m_runStart));
    m_runStart = nullptr;
    m_runEnd = nullptr;
    // A short run is gathered with the lines around it; a long one goes out as it is, after what
    // was gathered before it.
    const bool large = run.size() >= kBufferSize / 4;
    if (large || m_buffer.size() + run.size() + m_runTerminator.size() > kBufferSize) {
        flush();
    }
    if (large) {
        put(run);
    } else {
        m_buffer.append(run);
    }
    m_buffer.append(m_runTerminator);
}

void TextWriter::writeLine(std::string_view text, bool otherLineEnd) {
    flushRun();
    if (m_options.oemText) {
        m_scratch.assign(text);
        platform::ansiToOem(std::span<char>(m_scratch.data(), m_scratch.size()));
        text = m_scratch;
    }
    const std::string_view terminator = terminatorFor(otherLineEnd);
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
    flushRun();
    flush();
    return m_file.commit();
}

} // namespace vexa
