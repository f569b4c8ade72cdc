// One line of a document: byte storage, column mapping and the comment scan.
#include "core/DocLine.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Markers are a byte or two: comparing them in place is cheaper than a call to compare.
bool matchesAt(std::string_view text, std::size_t at, std::string_view marker) {
    if (marker.empty() || text.size() - at < marker.size()) {
        return false;
    }
    for (std::size_t k = 0; k < marker.size(); ++k) {
        if (text[at + k] != marker[k]) {
            return false;
        }
    }
    return true;
}

#if defined(__SSE2__)
// The offsets of a 16-byte block at which a marker may begin, as a bit mask: its first byte is
// there and, for a longer marker, its second byte follows (the last offset of the block cannot
// see the byte after it and is kept whenever its first byte is there). Empty markers never begin.
class MarkerMask {
public:
    explicit MarkerMask(std::string_view marker)
        : m_used(!marker.empty()), m_long(marker.size() > 1),
          m_first(_mm_set1_epi8(m_used ? marker[0] : '\0')),
          m_second(_mm_set1_epi8(m_long ? marker[1] : '\0')) {}

    uint32_t at(__m128i bytes, __m128i following) const {
        if (!m_used) {
            return 0;
        }
        auto mask = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, m_first)));
        if (m_long) {
            mask &= static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(following, m_second))) | 0x8000u;
        }
        return mask;
    }

private:
    bool m_used;
    bool m_long;
    __m128i m_first;
    __m128i m_second;
};
#endif

// Walks a line from its start: at each offset an open marker wins over a close marker, a matched
// marker is stepped over whole, and any other byte is stepped over alone. Open markers add one
// to the depth, close markers set it to zero. Returns the depth at the end of the line and adds
// the markers met to the counts.
//
// Only the offsets where a marker may begin are tested: with SSE2 sixteen bytes at a time give a
// mask of them (a last block shorter than sixteen bytes is taken as the sixteen bytes ending at
// the end of the line, never reading past it), and the walk goes from one set bit to the next.
// An offset inside a marker already stepped over is passed by, as the byte-by-byte walk would.
int scanMarkers(std::string_view line, int depth, const CommentMarkers& markers, int& opens, int& closes) {
    if (line.empty() || (markers.open.empty() && markers.close.empty())) {
        return depth;
    }
    const char* data = line.data();
    const std::size_t size = line.size();
    std::size_t next = 0; // the first offset the walk has not stepped over
    auto visit = [&](std::size_t at) {
        if (at < next) {
            return;
        }
        if (matchesAt(line, at, markers.open)) {
            depth = std::min(depth + 1, kMaxDepth);
            ++opens;
            next = at + markers.open.size();
        } else if (matchesAt(line, at, markers.close)) {
            depth = 0;
            ++closes;
            next = at + markers.close.size();
        }
    };
#if defined(__SSE2__)
    if (size >= 16) {
        const MarkerMask open(markers.open);
        const MarkerMask close(markers.close);
        for (std::size_t block = 0; block < size; block += 16) {
            const std::size_t at = std::min(block, size - 16);
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
            const __m128i following = _mm_srli_si128(bytes, 1);
            uint32_t mask = open.at(bytes, following) | close.at(bytes, following);
            // The last block may reach back into the one before: those bytes were seen there.
            mask &= ~0u << (block - at);
            while (mask != 0) {
                visit(at + static_cast<std::size_t>(std::countr_zero(mask)));
                mask &= mask - 1;
            }
        }
        return depth;
    }
#endif
    const char openFirst = markers.open.empty() ? '\0' : markers.open.front();
    const char closeFirst = markers.close.empty() ? '\0' : markers.close.front();
    for (std::size_t at = 0; at < size; ++at) {
        if ((data[at] == openFirst && !markers.open.empty()) ||
            (data[at] == closeFirst && !markers.close.empty())) {
            visit(at);
        }
    }
    return depth;
}

} // namespace

bool CommentMarkers::absentFrom(std::string_view bytes) const {
    if (bytes.empty()) {
        return true;
    }
    // One library search per distinct marker byte (two for most languages): each is a
    // vectorised pass, much faster than testing every byte against the set.
    std::string distinct;
    for (std::string_view marker : {open, close}) {
        for (char byte : marker) {
            if (distinct.find(byte) == std::string::npos) {
                distinct += byte;
            }
        }
    }
    return std::none_of(distinct.begin(), distinct.end(), [bytes](char byte) {
        return std::memchr(bytes.data(), byte, bytes.size()) != nullptr;
    });
}

DocLine::DocLine(std::string_view text) {
    assign(text);
}

DocLine DocLine::borrowing(std::string_view bytes) {
    return {Borrow{}, bytes, false};
}

DocLine::DocLine(const DocLine& other) : m_startDepth(other.m_startDepth), m_bits(other.m_bits) {
    m_bits.flags = 0;
    // A copy always owns its bytes: it may leave the document whose buffer the original reads.
    assign(other.text());
    setChanged(other.isChanged());
}

DocLine& DocLine::operator=(const DocLine& other) {
    if (this != &other) {
        assign(other.text());
        m_startDepth = other.m_startDepth;
        m_bits.openCount = other.m_bits.openCount;
        m_bits.closeCount = other.m_bits.closeCount;
        m_bits.otherLineEnd = other.m_bits.otherLineEnd;
        setChanged(other.isChanged());
    }
    return *this;
}

void DocLine::freeOwned() {
    std::free(data());
}

namespace {

// Stops the program: the allocator handed out an address the line record cannot keep.
[[noreturn]] void addressOutOfReach() {
    std::fputs("vexa: the system gave a line's bytes an address beyond the 48 bits a line keeps\n", stderr);
    std::terminate();
}

} // namespace

// A block at an address the line record can keep, taking the place of `block` (whose address
// does not fit): allocated again once while `block` is still held, so that it is another block,
// with the first `keep` bytes of `block` copied into it; `block` is freed.
char* DocLine::allocateInReach(void* block, std::size_t capacity, std::size_t keep) {
    void* again = std::malloc(capacity);
    if (again == nullptr || !fitsInRecord(reinterpret_cast<uintptr_t>(again))) {
        addressOutOfReach();
    }
    std::memcpy(again, block, keep);
    std::free(block);
    return static_cast<char*>(again);
}

// Makes the line own a block large enough for `length` bytes, keeping its current bytes.
void DocLine::reserveOwned(uint32_t length) {
    const uint32_t used = size();
    if (ownsText()) {
        if (length <= capacityFor(used)) {
            return;
        }
        const uint32_t capacity = capacityFor(length);
        auto* grown = static_cast<char*>(std::realloc(data(), capacity));
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        setData(fitsInRecord(reinterpret_cast<uintptr_t>(grown)) ? grown
                                                                 : allocateInReach(grown, capacity, used));
        return;
    }
    const uint32_t capacity = capacityFor(std::max(length, used));
    auto* block = static_cast<char*>(std::malloc(capacity));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    if (!fitsInRecord(reinterpret_cast<uintptr_t>(block))) {
        block = allocateInReach(block, capacity, 0);
    }
    if (used != 0) {
        std::memcpy(block, data(), used);
    }
    setData(block);
    m_bits.flags |= kOwned;
}

// Whether `bytes` start inside the line's own bytes.
bool DocLine::holds(std::string_view bytes) const {
    const char* own = data();
    return own != nullptr && bytes.data() >= own && bytes.data() < own + size();
}

void DocLine::assign(std::string_view bytes) {
    if (bytes.empty()) {
        release();
        return;
    }
    if (ownsText() && holds(bytes)) {
        DocLine copy(bytes);
        *this = std::move(copy);
        return;
    }
    uint8_t changed = m_bits.flags & kChanged;
    release();
    m_bits.flags = changed;
    reserveOwned(static_cast<uint32_t>(bytes.size()));
    std::memcpy(data(), bytes.data(), bytes.size());
    setSize(static_cast<uint32_t>(bytes.size()));
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
    if (holds(bytes)) {
        keep.assign(bytes);
        source = keep.text();
    }
    const uint32_t used = size();
    reserveOwned(used + count);
    char* own = data();
    std::memmove(own + at + count, own + at, used - at);
    std::memcpy(own + at, source.data(), count);
    setSize(used + count);
}

void DocLine::erase(int offset, int count) {
    int at = std::clamp(offset, 0, length());
    int n = std::clamp(count, 0, length() - at);
    if (n == 0) {
        return;
    }
    if (at + n == length()) {
        setSize(static_cast<uint32_t>(at));
        return;
    }
    reserveOwned(size());
    char* own = data();
    std::memmove(own + at, own + at + n, static_cast<std::size_t>(length() - at - n));
    setSize(size() - static_cast<uint32_t>(n));
}

void DocLine::replace(int offset, int count, std::string_view bytes) {
    const int at = std::clamp(offset, 0, length());
    const int n = std::clamp(count, 0, length() - at);
    if (n == 0 && bytes.empty()) {
        return;
    }
    // The bytes may come from this line itself; keep them safe across the move.
    std::string_view source = bytes;
    DocLine keep;
    if (holds(bytes)) {
        keep.assign(bytes);
        source = keep.text();
    }
    const uint32_t used = size();
    const auto added = static_cast<uint32_t>(source.size());
    const uint32_t newLength = used - static_cast<uint32_t>(n) + added;
    reserveOwned(std::max(used, newLength));
    char* own = data();
    const auto tail = static_cast<uint32_t>(at + n);
    if (static_cast<uint32_t>(n) != added) {
        std::memmove(own + at + added, own + tail, used - tail);
    }
    if (added != 0) {
        std::memcpy(own + at, source.data(), added);
    }
    setSize(newLength);
}

void DocLine::setByte(int offset, char byte) {
    if (offset < 0 || offset >= length()) {
        return;
    }
    reserveOwned(size());
    data()[offset] = byte;
}

void DocLine::truncate(int newLength) {
    if (newLength >= 0 && newLength < length()) {
        setSize(static_cast<uint32_t>(newLength));
    }
}

void DocLine::setChanged(bool changed) {
    if (changed) {
        m_bits.flags |= kChanged;
    } else {
        m_bits.flags &= static_cast<uint8_t>(~kChanged);
    }
}

int DocLine::width(LineLayout layout) const {
    int result = 0;
    forEachCell(text(), layout, [&](const LineCell& cell) {
        result = cell.next;
        return true;
    });
    return result;
}

int DocLine::columnOfOffset(int offset, LineLayout layout) const {
    offset = std::max(offset, 0);
    if (offset >= length()) {
        return width(layout) + offset - length();
    }
    int result = 0;
    forEachCell(text(), layout, [&](const LineCell& cell) {
        if (cell.offset + cell.bytes > offset) {
            result = cell.column;
            return false;
        }
        return true;
    });
    return result;
}

int DocLine::offsetOfColumn(int column, LineLayout layout) const {
    int found = -1;
    int end = 0;
    forEachCell(text(), layout, [&](const LineCell& cell) {
        // A column inside a tab's or a wide character's cells belongs to that character.
        if (cell.next > column) {
            found = cell.offset;
            return false;
        }
        end = cell.next;
        return true;
    });
    return found >= 0 ? found : length() + std::max(column - end, 0);
}

int DocLine::endDepth(int startDepth, const CommentMarkers& markers) const {
    int opens = 0;
    int closes = 0;
    return scanMarkers(text(), startDepth, markers, opens, closes);
}

int DocLine::scanComments(int startDepth, const CommentMarkers& markers) {
    m_startDepth = static_cast<uint16_t>(std::clamp(startDepth, 0, kMaxDepth));
    int opens = 0;
    int closes = 0;
    const int depth = scanMarkers(text(), m_startDepth, markers, opens, closes);
    m_bits.openCount = static_cast<uint8_t>(std::min(opens, kMaxCount));
    m_bits.closeCount = static_cast<uint8_t>(std::min(closes, kMaxCount));
    return depth;
}

CommentStart DocLine::commentStart(const CommentMarkers& markers, int searchFrom) const {
    CommentStart result;
    result.insideAtStart = m_startDepth > 0;
    if (m_bits.closeCount > 0 && !markers.close.empty()) {
        const std::size_t at = text().find(markers.close, static_cast<std::size_t>(std::max(searchFrom, 0)));
        if (at != std::string_view::npos) {
            result.closeEnd = static_cast<int>(at + markers.close.size());
        }
    }
    return result;
}

void DocLine::clearCommentState() {
    m_startDepth = 0;
    m_bits.openCount = 0;
    m_bits.closeCount = 0;
}

} // namespace vexa
