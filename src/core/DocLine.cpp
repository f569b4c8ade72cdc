// One line of a document: byte storage, column mapping and the comment scan.
#include "core/DocLine.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vexa {
namespace {

constexpr uint32_t kMinCapacity = 16;
constexpr int kMaxCount = 63;
constexpr int kMaxDepth = 65535;

// The capacity of an owned block follows from the length, so the line need not store it: a
// block is always at least this large for the length it holds.
uint32_t capacityFor(uint32_t length) {
    return std::max(kMinCapacity, std::bit_ceil(length));
}

bool matchesAt(std::string_view text, std::size_t at, std::string_view marker) {
    return !marker.empty() && text.size() - at >= marker.size() &&
           text.compare(at, marker.size(), marker) == 0;
}

// Finds the bytes that can begin a comment marker. A marker can only match where the line holds
// its first byte, so the scan jumps from one such byte to the next instead of testing both
// markers at every byte. With two different first bytes, the next place of each is remembered
// until the scan passes it: every byte of the line is searched at most once per first byte.
class MarkerBytes {
public:
    MarkerBytes(std::string_view line, const CommentMarkers& markers) : m_line(line) {
        if (!markers.open.empty()) {
            m_first = markers.open.front();
            m_firstUsed = true;
        }
        if (!markers.close.empty()) {
            if (!m_firstUsed) {
                m_first = markers.close.front();
                m_firstUsed = true;
            } else if (markers.close.front() != m_first) {
                m_second = markers.close.front();
                m_secondUsed = true;
            }
        }
        m_nextFirst = find(m_first, 0, m_firstUsed);
        m_nextSecond = find(m_second, 0, m_secondUsed);
    }

    // The first offset at or after `from` holding a first byte, or the line's size.
    std::size_t next(std::size_t from) {
        if (m_nextFirst < from) {
            m_nextFirst = find(m_first, from, true);
        }
        if (m_nextSecond < from) {
            m_nextSecond = find(m_second, from, true);
        }
        return std::min(m_nextFirst, m_nextSecond);
    }

private:
    std::size_t find(char byte, std::size_t from, bool used) const {
        if (!used || from >= m_line.size()) {
            return m_line.size();
        }
        const void* found =
            std::memchr(m_line.data() + from, static_cast<unsigned char>(byte), m_line.size() - from);
        return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - m_line.data())
                                : m_line.size();
    }

    std::string_view m_line;
    char m_first = 0;
    char m_second = 0;
    bool m_firstUsed = false;
    bool m_secondUsed = false;
    std::size_t m_nextFirst = 0;
    std::size_t m_nextSecond = 0;
};

struct MarkerScan {
    int depth = 0;
    int opens = 0;
    int closes = 0;
};

// Walks a line from its start: at each offset an open marker wins over a close marker, a matched
// marker is stepped over whole, and any other byte is stepped over alone. Open markers add one
// to the depth, close markers set it to zero.
MarkerScan scanMarkers(std::string_view line, int startDepth, const CommentMarkers& markers) {
    MarkerScan scan;
    scan.depth = startDepth;
    if (line.empty() || (markers.open.empty() && markers.close.empty())) {
        return scan;
    }
    MarkerBytes candidates(line, markers);
    std::size_t i = candidates.next(0);
    while (i < line.size()) {
        if (matchesAt(line, i, markers.open)) {
            scan.depth = std::min(scan.depth + 1, kMaxDepth);
            ++scan.opens;
            i += markers.open.size();
        } else if (matchesAt(line, i, markers.close)) {
            scan.depth = 0;
            ++scan.closes;
            i += markers.close.size();
        } else {
            ++i;
        }
        i = candidates.next(i);
    }
    return scan;
}

} // namespace

DocLine::DocLine(std::string_view text) {
    assign(text);
}

DocLine DocLine::borrowing(std::string_view bytes) {
    DocLine line;
    line.m_data = const_cast<char*>(bytes.data());
    line.m_length = static_cast<uint32_t>(bytes.size());
    return line;
}

DocLine::DocLine(const DocLine& other)
    : m_startDepth(other.m_startDepth), m_openCount(other.m_openCount), m_closeCount(other.m_closeCount) {
    // A copy always owns its bytes: it may leave the document whose buffer the original reads.
    assign(other.text());
    setChanged(other.isChanged());
}

DocLine& DocLine::operator=(const DocLine& other) {
    if (this != &other) {
        assign(other.text());
        m_startDepth = other.m_startDepth;
        m_openCount = other.m_openCount;
        m_closeCount = other.m_closeCount;
        setChanged(other.isChanged());
    }
    return *this;
}

void DocLine::freeOwned() {
    std::free(m_data);
}

// Makes the line own a block large enough for `length` bytes, keeping its current bytes.
void DocLine::reserveOwned(uint32_t length) {
    if (ownsText()) {
        if (length <= capacityFor(m_length)) {
            return;
        }
        void* grown = std::realloc(m_data, capacityFor(length));
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        m_data = static_cast<char*>(grown);
        return;
    }
    auto* block = static_cast<char*>(std::malloc(capacityFor(std::max(length, m_length))));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    if (m_length != 0) {
        std::memcpy(block, m_data, m_length);
    }
    m_data = block;
    m_flags |= kOwned;
}

void DocLine::assign(std::string_view bytes) {
    if (bytes.empty()) {
        release();
        return;
    }
    if (ownsText() && bytes.data() >= m_data && bytes.data() < m_data + m_length) {
        DocLine copy(bytes);
        *this = std::move(copy);
        return;
    }
    uint8_t changed = m_flags & kChanged;
    release();
    m_flags = changed;
    reserveOwned(static_cast<uint32_t>(bytes.size()));
    std::memcpy(m_data, bytes.data(), bytes.size());
    m_length = static_cast<uint32_t>(bytes.size());
}

void DocLine::insert(int offset, std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    auto at = static_cast<uint32_t>(std::clamp(offset, 0, length()));
    auto count = static_cast<uint32_t>(bytes.size());
    // The bytes may come from this line itself; keep them safe across a reallocation.
    std::string_view source = bytes;
    DocLine keep;
    if (m_data != nullptr && bytes.data() >= m_data && bytes.data() < m_data + m_length) {
        keep.assign(bytes);
        source = keep.text();
    }
    reserveOwned(m_length + count);
    std::memmove(m_data + at + count, m_data + at, m_length - at);
    std::memcpy(m_data + at, source.data(), count);
    m_length += count;
}

void DocLine::erase(int offset, int count) {
    int at = std::clamp(offset, 0, length());
    int n = std::clamp(count, 0, length() - at);
    if (n == 0) {
        return;
    }
    if (at + n == length()) {
        m_length = static_cast<uint32_t>(at);
        return;
    }
    reserveOwned(m_length);
    std::memmove(m_data + at, m_data + at + n, static_cast<std::size_t>(length() - at - n));
    m_length -= static_cast<uint32_t>(n);
}

void DocLine::setByte(int offset, char byte) {
    if (offset < 0 || offset >= length()) {
        return;
    }
    reserveOwned(m_length);
    m_data[offset] = byte;
}

void DocLine::truncate(int newLength) {
    if (newLength >= 0 && newLength < length()) {
        m_length = static_cast<uint32_t>(newLength);
    }
}

void DocLine::setChanged(bool changed) {
    if (changed) {
        m_flags |= kChanged;
    } else {
        m_flags &= static_cast<uint8_t>(~kChanged);
    }
}

int DocLine::columnOfOffset(int offset, int tabSize) const {
    if (tabSize < 1) {
        tabSize = 1;
    }
    int end = std::min(std::max(offset, 0), length());
    int column = 0;
    for (int i = 0; i < end; ++i) {
        column = m_data[i] == '\t' ? (column / tabSize + 1) * tabSize : column + 1;
    }
    return column + std::max(offset, 0) - end;
}

int DocLine::offsetOfColumn(int column, int tabSize) const {
    if (tabSize < 1) {
        tabSize = 1;
    }
    int current = 0;
    for (int i = 0; i < length(); ++i) {
        int next = m_data[i] == '\t' ? (current / tabSize + 1) * tabSize : current + 1;
        // A column inside a tab's span belongs to the tab.
        if (next > column) {
            return i;
        }
        current = next;
    }
    return length() + std::max(column - current, 0);
}

int DocLine::endDepth(int startDepth, const CommentMarkers& markers) const {
    return scanMarkers(text(), startDepth, markers).depth;
}

int DocLine::scanComments(int startDepth, const CommentMarkers& markers) {
    m_startDepth = static_cast<uint16_t>(std::clamp(startDepth, 0, kMaxDepth));
    const MarkerScan scan = scanMarkers(text(), m_startDepth, markers);
    m_openCount = static_cast<uint8_t>(std::min(scan.opens, kMaxCount));
    m_closeCount = static_cast<uint8_t>(std::min(scan.closes, kMaxCount));
    return scan.depth;
}

CommentStart DocLine::commentStart(const CommentMarkers& markers) const {
    CommentStart result;
    result.insideAtStart = m_startDepth > 0;
    if (m_closeCount > 0 && !markers.close.empty()) {
        std::size_t at = text().find(markers.close);
        if (at != std::string_view::npos) {
            result.closeEnd = static_cast<int>(at + markers.close.size());
        }
    }
    return result;
}

void DocLine::clearCommentState() {
    m_startDepth = 0;
    m_openCount = 0;
    m_closeCount = 0;
}

} // namespace vexa
