// Reading a file's blocks on a thread of its own, a little ahead of the thread that cuts them into
// lines.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "core/ContentHash.h"
#include "core/TextArena.h"
#include "text/TextEncoding.h"

namespace vexa {

// The reader owns the file and nothing else: it reads each block into memory of its own, hashes
// it and checks it for UTF-8 while it is in the cache, replaces byte 0 by a space and converts OEM
// text, then hands the block over. It reads at most kAhead blocks beyond those taken, so a slow
// taker holds little memory and a file is read no further than the load has asked for.
class BlockReader {
public:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using File = std::unique_ptr<std::FILE, Closer>;

    // A block as read. The last one (endOfFile) may be empty.
    struct Piece {
        TextArena::Block block;
        std::size_t size = 0;
        bool endOfFile = false;
        // The file could not be read on (the piece is the last).
        bool failed = false;
        // Byte 0 was found in this piece (and replaced by a space).
        bool nulls = false;
        // The check of every byte read so far; before the end, a sequence the next block may
        // complete counts as valid.
        text::Utf8Check utf8;
        // On the last piece: the hash and count of every byte read.
        std::uint64_t hash = 0;
        std::uint64_t total = 0;
    };

    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
    static constexpr std::size_t kAhead = 4;

    // Whether the blocks are read on a thread of their own or by take() itself.
    enum class Reading : uint8_t { Ahead, OnTake };

    // Starts reading at once. `oem`: the blocks are OEM text, converted to Windows-1252. When no
    // thread can be started, take() reads each block itself: the load is slower, never lost.
    BlockReader(File file, bool oem, Reading reading = Reading::Ahead);
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // Waits for the next block; not called again after the last.
    Piece take();
    // Whether the next block has been read, so that take() returns at once.
    bool ready();

private:
    void run();
    Piece readPiece();

    File m_file;
    bool m_oem;
    ContentHash m_hash;
    text::Utf8Stream m_utf8;

    std::mutex m_mutex;
    std::condition_variable m_wake;    // the reader may read on, or must stop
    std::condition_variable m_arrived; // a piece is ready
    std::deque<Piece> m_ready;
    std::size_t m_produced = 0;
    std::size_t m_wanted = kAhead;
    bool m_stop = false;
    std::thread m_thread; // none when take() reads
};

} // namespace vexa
