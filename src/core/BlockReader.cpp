// The reader thread of a file load.
#include "core/BlockReader.h"

#include <cstring>
#include <span>
#include <string_view>
#include <system_error>

#include "platform/Charset.h"

namespace vexa {

BlockReader::BlockReader(File file, bool oem, Reading reading) : m_file(std::move(file)), m_oem(oem) {
    // The blocks are read whole; stdio's own buffer would only add a copy.
    std::setvbuf(m_file.get(), nullptr, _IONBF, 0);
    if (reading == Reading::Ahead) {
        try {
            m_thread = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            // Out of threads: take() reads.
        }
    }
}

BlockReader::~BlockReader() {
    if (!m_thread.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

BlockReader::Piece BlockReader::take() {
    if (!m_thread.joinable()) {
        return readPiece();
    }
    std::unique_lock lock(m_mutex);
    m_arrived.wait(lock, [this] { return !m_ready.empty(); });
    Piece piece = std::move(m_ready.front());
    m_ready.pop_front();
    ++m_wanted;
    lock.unlock();
    m_wake.notify_one();
    return piece;
}

bool BlockReader::ready() {
    if (!m_thread.joinable()) {
        return true; // take() reads at once, never waiting for another thread
    }
    const std::lock_guard lock(m_mutex);
    return !m_ready.empty();
}

void BlockReader::run() {
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || m_produced < m_wanted; });
            if (m_stop) {
                return;
            }
        }
        Piece piece = readPiece();
        const bool last = piece.endOfFile;
        {
            const std::lock_guard lock(m_mutex);
            m_ready.push_back(std::move(piece));
            ++m_produced;
        }
        m_arrived.notify_one();
        if (last) {
            return;
        }
    }
}

BlockReader::Piece BlockReader::readPiece() {
    Piece piece;
    if (!piece.block.grow(kBlockSize)) {
        piece.failed = true;
        piece.endOfFile = true;
        return piece;
    }
    // The pages come as the bytes are read into them, one fault at a time. Asking for a block's
    // pages in one call is cheaper alone, but holds the process's memory map for the whole
    // block, and the thread cutting lines then waits each time its line index grows.
    char* const data = piece.block.data();
    piece.size = std::fread(data, 1, kBlockSize, m_file.get());
    piece.endOfFile = piece.size < kBlockSize;
    piece.failed = piece.endOfFile && std::ferror(m_file.get()) != 0;
    const std::string_view bytes(data, piece.size);
    m_hash.add(bytes);
    m_utf8.add(bytes);
    // Byte 0 would end the text early for much of the editor: it is shown and kept as a space.
    char* const end = data + piece.size;
    for (char* at = data;
         (at = static_cast<char*>(std::memchr(at, '\0', static_cast<std::size_t>(end - at)))); ++at) {
        *at = ' ';
        piece.nulls = true;
    }
    if (m_oem) {
        // Line ends and every other byte below 128 are the same in both character sets.
        platform::oemToAnsi(std::span<char>(data, piece.size));
    }
    piece.utf8 = piece.endOfFile ? m_utf8.result() : m_utf8.soFar();
    if (piece.endOfFile) {
        piece.hash = m_hash.value();
        piece.total = m_hash.size();
    }
    return piece;
}

} // namespace vexa
