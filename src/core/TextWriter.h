// Writes the lines of a text file with DOS or Unix line ends, optionally as OEM text, atomically.
#pragma once

#include <string>
#include <string_view>

#include "core/ContentHash.h"
#include "platform/AtomicFile.h"

namespace vexa {

// How a file is written: "FileWrite" (Unix text) and "OEMWrite".
struct WriteOptions {
    bool unixText = false;
    bool oemText = false;
};

// The new content goes to a temporary file beside the target and replaces it only when every
// write and the close succeeded, so the file on disk is always the old or the complete new text.
class TextWriter {
public:
    explicit TextWriter(WriteOptions options = {}) : m_options(options) {}

    // False when the temporary file cannot be created (the directory is not writable, the path
    // names a directory ...).
    [[nodiscard]] bool open(const std::string& path);
    // Writes the text and its terminator (every line, the last one too, ends with one): the
    // options' line end, or the other one.
    void writeLine(std::string_view text, bool otherLineEnd = false);
    // The same for a line whose bytes stay where they are and unchanged until commit() (a
    // document's line): lines that follow one another in memory with their terminators between
    // them, as a loaded file's unedited lines do, go out as one span without a copy.
    void writeKeptLine(std::string_view text, bool otherLineEnd = false);
    // Bytes as they are (a byte-order mark), before the first line.
    void writeBytes(std::string_view bytes);
    // Writes everything out and replaces the target; false (old file kept) on any failure.
    [[nodiscard]] bool commit();
    // The system's text for the failure, if any.
    const std::string& errorText() const { return m_file.errorText(); }
    // The file holding the old content after a failed in-place rewrite could not be undone.
    const std::string& keptOldCopy() const { return m_file.keptOldCopy(); }
    // Bytes written by the last writeLine.
    std::size_t lastWritten() const { return m_lastWritten; }
    // The hash and count of every byte written, taken as they go out.
    const ContentHash& contentHash() const { return m_hash; }

private:
    static constexpr std::size_t kBufferSize = 1024 * 1024;
    std::string_view terminatorFor(bool otherLineEnd) const {
        return m_options.unixText != otherLineEnd ? "\n" : "\r\n";
    }
    // Writes the span of kept lines gathered so far, with the last one's terminator.
    void flushRun();
    void flush();
    void put(std::string_view bytes);

    WriteOptions m_options;
    platform::AtomicFileWriter m_file;
    std::string m_buffer;
    std::string m_scratch;
    // The kept lines not written yet: their bytes from the first line's start to the last line's
    // end, and the last line's terminator.
    const char* m_runStart = nullptr;
    const char* m_runEnd = nullptr;
    std::string_view m_runTerminator;
    std::size_t m_lastWritten = 0;
    ContentHash m_hash;
};

} // namespace vexa
