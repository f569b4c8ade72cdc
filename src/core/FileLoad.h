// Reading a file into a document block by block: the lines of each block are there as soon as it
// has been read, and the document stays read only until the last block is in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/BlockReader.h"
#include "core/DocumentFile.h"
#include "text/TextEncoding.h"

namespace vexa {

class Document;
class Messenger;

// One pass over the file: a reader thread reads each block once into memory the document keeps,
// hashing it and checking it for UTF-8 and byte 0 while it is in the cache; the load (on the
// thread that owns the document) cuts the blocks into lines, which point into them (an edited
// line takes bytes of its own). A line cut by the end of a block is put together in bytes of its
// own, so a line end or a character is never split.
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
    // Whether step() would find its block read already rather than wait for the disk (a caller
    // that must not block may step only then); false when the load is not reading.
    bool blockReady() const { return m_state == State::Reading && m_reader->ready(); }
    // Ends a load that has not reached the end of the file: the document keeps the lines read so
    // far, stays read only and says it is incomplete.
    void stop();
    // Reads every remaining block.
    void runToEnd();

    // Called when a block read after the first changes the document's encoding while the load
    // runs (a later block shows the file is not UTF-8 after all), and when the end of the file
    // does; the document is already marked for a full repaint. Bytes never change.
    void setEncodingListener(std::function<void(TextEncoding)> listener) {
        m_encodingListener = std::move(listener);
    }

    State state() const { return m_state; }
    bool complete() const { return m_state == State::Complete; }
    // How much of the file is in, 0 to 100 (100 only once complete).
    int percent() const;

    // The size of a block read at once.
    static constexpr std::size_t kBlockSize = BlockReader::kBlockSize;

private:
    // Appends the lines that end in the bytes; the count of bytes left after the last line end
    // (none at the end of the file, where they make the last line).
    std::size_t cutLines(const char* data, std::size_t size, bool endOfFile);
    // Appends the bytes after the last line end of a file as its last line; returns 0.
    std::size_t cutLastLine(const char* data, std::size_t size);
    // Ends the line carried from the blocks before with the bytes up to a block's first line end
    // (all of them when `end` is none, at the end of the file): the line gets bytes of its own.
    void endCarriedLine(std::string_view head, bool hasEnd);
    // crLf: the line's end, none for the last line of a file without a line end. `copy`: the
    // bytes are not in a block the document keeps. `markerFree`: no byte of the line starts a
    // comment marker.
    void appendLine(std::string_view bytes, std::optional<bool> crLf, bool copy = false,
                    bool markerFree = false);
    // The encoding of the bytes checked so far; a change after the first block is announced.
    void followEncoding(const text::Utf8Check& check);
    // The encoding, line ends and checks that need the whole file, after its last block.
    void finish(const BlockReader::Piece& last);

    Document& m_document;
    FileOptions m_options;
    Messenger& m_messenger;
    WritableCheck m_mayWrite;
    std::unique_ptr<BlockReader> m_reader;
    std::function<void(TextEncoding)> m_encodingListener;
    State m_state = State::Idle;
    bool m_oem = false;
    bool m_wasReadOnly = false;
    bool m_firstLine = true;
    bool m_byteOrderMark = false;
    bool m_nulls = false;
    bool m_failed = false;
    std::optional<bool> m_firstCrLf;
    bool m_firstBlock = true;
    std::uint64_t m_expected = 0;
    std::uint64_t m_read = 0;
    // The start of a line that the blocks read so far do not end.
    std::string m_carry;
    text::Utf8Check m_utf8;
    int m_widest = 80;
};

} // namespace vexa
