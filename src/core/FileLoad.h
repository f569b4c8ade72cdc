// Reading a file into a document block by block: the lines of each block are there as soon as it
// has been read, and the document stays read only until the last block is in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/ContentHash.h"
#include "core/DocumentFile.h"
#include "core/TextArena.h"
#include "text/TextEncoding.h"

namespace vexa {

class Document;
class Messenger;

// One pass over the file: each block is read once into memory the document keeps, and while it is
// in the cache its bytes are hashed, checked for UTF-8 and byte 0 and cut into lines, which point
// into the block (an edited line takes bytes of its own). A line cut by the end of a block moves
// to the start of the next one, so a line end or a character is never split.
class FileLoad {
public:
    enum class State : uint8_t { Idle, Reading, Complete, Stopped };

    FileLoad(Document& document, const FileOptions& options, Messenger& messenger,
             WritableCheck mayWrite = userMayWrite);
    ~FileLoad();
    FileLoad(const FileLoad&) = delete;
    FileLoad& operator=(const FileLoad&) = delete;

    // Opens the document's file and empties the document for it. False when the file cannot be
    // opened: the document is then a new one-line document, read only when the file exists.
    [[nodiscard]] bool start();
    // Reads the next block and appends its lines; false once the whole file is in (the load is
    // then complete) or it was stopped.
    bool step();
    // Ends a load that has not reached the end of the file: the document keeps the lines read so
    // far, stays read only and says it is incomplete.
    void stop();
    // Reads every remaining block.
    void runToEnd();

    State state() const { return m_state; }
    bool complete() const { return m_state == State::Complete; }
    // How much of the file is in, 0 to 100 (100 only once complete).
    int percent() const;

    // The size of a block read at once.
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    // Appends the lines that end in the bytes; the count of bytes left after the last line end
    // (none at the end of the file, where they make the last line).
    std::size_t cutLines(char* data, std::size_t size, bool endOfFile);
    // crLf: the line's end, none for the last line of a file without a line end.
    void appendLine(std::string_view bytes, std::optional<bool> crLf);
    // The encoding, line ends and checks that need the whole file, after its last block.
    void finish();

    Document& m_document;
    FileOptions m_options;
    Messenger& m_messenger;
    WritableCheck m_mayWrite;
    std::unique_ptr<std::FILE, Closer> m_file;
    State m_state = State::Idle;
    bool m_oem = false;
    bool m_wasReadOnly = false;
    bool m_firstLine = true;
    bool m_byteOrderMark = false;
    bool m_nulls = false;
    bool m_failed = false;
    std::optional<bool> m_firstCrLf;
    std::uint64_t m_expected = 0;
    // The block being filled and the bytes it holds (at its start, the unended line of the last).
    TextArena::Block m_block;
    std::size_t m_used = 0;
    int m_widest = 80;
    text::Utf8Stream m_utf8;
    ContentHash m_hash;
};

} // namespace vexa
