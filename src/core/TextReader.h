// The buffered line reader of text files: DOS or Unix line ends, NUL bytes, OEM text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "core/ContentHash.h"
#include "text/TextEncoding.h"

namespace vexa {

// The end a line had in the file.
enum class ReadLineEnd : uint8_t { None, Lf, CrLf };

// How a file is read: "FileRead" (Unix text) and "OEMRead".
struct ReadOptions {
    bool unixText = false;
    bool oemText = false;
};

// Reads one file in chunks of 8192 bytes. A line is returned whole, whatever its length, without
// its terminator. Every byte of the file passes through the chunk once (`refill`), where byte
// checks that look at the whole file belong.
class TextReader {
public:
    static constexpr std::size_t kChunkSize = 8192;

    explicit TextReader(ReadOptions options = {}) : m_options(options) {}

    // Opens a file for reading; false when it cannot be opened or is not a plain file (a
    // directory, a device, a pipe).
    [[nodiscard]] bool open(const std::string& path);
    // Reads from a stream the caller opened; the reader closes it.
    void adopt(std::FILE* stream);
    bool isOpen() const { return m_file != nullptr; }
    void close() { m_file.reset(); }

    // The next line into `line`; its length, or -1 when no line could be read.
    int readLine(std::string& line);

    bool endReached() const { return m_end; }
    // Sticky for the whole file: some byte 0 was replaced by a space.
    bool nullsSeen() const { return m_nulls; }
    // A read of the file failed (not the end of the file).
    bool readFailed() const { return m_failed; }
    int lastLength() const { return m_lastLength; }
    // The end of the line just returned: none for the last bytes of a file without a line end.
    ReadLineEnd lastLineEnd() const { return m_lastEnd; }
    // Whether the bytes read so far are valid UTF-8 and hold a multi-byte sequence (checked as
    // each chunk comes in, so a file is looked at once).
    text::Utf8Check utf8Check() const { return m_utf8.result(); }
    // The hash and count of the file's bytes as read (before any byte 0 was replaced), taken in
    // the same pass.
    const ContentHash& contentHash() const { return m_hash; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    // Keeps the unread bytes and fills the chunk up behind them; false when nothing was added.
    bool refill();
    // The offset of the next line end at or after `from`, or -1 when the chunk holds none yet.
    long findTerminator(std::size_t from, bool& needMore) const;

    ReadOptions m_options;
    std::unique_ptr<std::FILE, Closer> m_file;
    std::array<char, kChunkSize + 1> m_chunk{};
    std::size_t m_size = 0;
    std::size_t m_position = 0;
    bool m_end = false;
    bool m_nulls = false;
    bool m_failed = false;
    bool m_fileDone = false;
    int m_lastLength = -1;
    ReadLineEnd m_lastEnd = ReadLineEnd::None;
    text::Utf8Stream m_utf8;
    ContentHash m_hash;
};

} // namespace vexa
