// One line of a document: its bytes, its redraw flag and its cached comment state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "text/TextEncoding.h"

namespace vexa {

// What turns a line's bytes into display cells: the tab stops and the document's encoding.
struct LineLayout {
    int tabSize = 3;
    TextEncoding encoding = TextEncoding::Windows1252;
};

// One character of a line as the display lays it out: its bytes, the cells [column, next) it
// takes and the character it shows (a tab is '\t'; a byte that is no part of a valid UTF-8
// sequence in a UTF-8 line shows the replacement character and takes one cell).
struct LineCell {
    int offset;
    int bytes;
    int column;
    int next;
    char32_t character;
};

// Steps over the characters of a line in order, from a character start `offset` that lies at
// display column `column` (the start of the line at column 0, or a point a column index keeps),
// until `visit` returns false: the one walk that turns bytes into display cells (a tab reaches the
// next multiple of the tab size, a UTF-8 character takes one cell or two when it is wide, a
// Windows-1252 byte one).
template <typename Visit>
void forEachCellFrom(std::string_view text, LineLayout layout, int offset, int column, Visit&& visit) {
    const int tabSize = layout.tabSize < 1 ? 1 : layout.tabSize;
    const bool utf8 = layout.encoding == TextEncoding::Utf8;
    const int length = static_cast<int>(text.size());
    for (int i = offset; i < length;) {
        const auto byte = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        LineCell cell{i, 1, column, column + 1, byte};
        if (byte == '\t') {
            cell.next = (column / tabSize + 1) * tabSize;
        } else if (byte >= 0x80) {
            if (utf8) {
                const text::Decoded decoded = text::decodeUtf8(text, static_cast<std::size_t>(i));
                cell.bytes = decoded.length;
                cell.character = decoded.character;
                cell.next = column + text::cellWidth(decoded.character);
            } else {
                cell.character = text::windows1252ToUnicode(byte);
            }
        }
        if (!visit(static_cast<const LineCell&>(cell))) {
            return;
        }
        column = cell.next;
        i += cell.bytes;
    }
}

// The same walk from the start of the line.
template <typename Visit>
void forEachCell(std::string_view text, LineLayout layout, Visit&& visit) {
    forEachCellFrom(text, layout, 0, 0, std::forward<Visit>(visit));
}

// The two comment markers of a language, each one or two bytes long; empty when it has none.
struct CommentMarkers {
    std::string_view open;
    std::string_view close;

    bool empty() const { return open.empty(); }
    // Whether no byte of `bytes` is a byte of either marker: an edit that removes and inserts
    // only such bytes, between neighbours that are such bytes too, cannot make or break a marker.
    bool absentFrom(std::string_view bytes) const;
};

// Where the painter starts colouring a line: whether it begins inside a comment and the offset
// just past its first comment-close marker (0 when it has none).
struct CommentStart {
    bool insideAtStart = false;
    int closeEnd = 0;
};

// A line is the most numerous object of the editor: a loaded file holds one per text line. Its
// bytes either point into the document's load buffer (borrowed, never freed by the line) or live
// in a heap block the line owns, taken on the first change. The record is kept to 14 bytes with
// an alignment of 2 (a file of short lines is mostly records), so the line manages its block
// itself rather than through a std::string, and keeps its fields in 16-bit pieces: the address
// in 48 bits, the 32-bit length in two.
//
// User-space addresses on Linux fit in 48 bits (x86-64 with four- or five-level paging, where
// nothing higher is handed out unless a mapping asks for it, and AArch64). An address is checked
// wherever it is stored and is never cut short: a borrowed view elsewhere is copied into a block
// of the line's own; an owned block elsewhere is allocated again once, and when that one does not
// fit either (or cannot be had) the program stops with a message saying why: an allocator that
// hands out such addresses would fail every change, and an edit whose allocation fails ends the
// program as well.
class DocLine {
public:
    DocLine() = default;
    // A line owning a copy of the bytes.
    explicit DocLine(std::string_view text);
    // A line reading bytes that outlive it (the document's load buffer).
    static DocLine borrowing(std::string_view bytes);
    struct Borrow {};
    DocLine(Borrow, std::string_view bytes, bool otherLineEnd) {
        m_bits.otherLineEnd = otherLineEnd ? 1 : 0;
        if (fitsInRecord(reinterpret_cast<uintptr_t>(bytes.data()))) [[likely]] {
            setData(const_cast<char*>(bytes.data()));
            setSize(static_cast<uint32_t>(bytes.size()));
        } else {
            assign(bytes);
        }
    }

    DocLine(const DocLine& other);
    DocLine& operator=(const DocLine& other);
    // Moves are inline: the line list shifts lines by moving them, many at a time.
    DocLine(DocLine&& other) noexcept { steal(other); }
    DocLine& operator=(DocLine&& other) noexcept {
        if (this != &other) {
            release();
            steal(other);
        }
        return *this;
    }
    ~DocLine() { release(); }

    std::string_view text() const { return {data(), size()}; }
    int length() const { return static_cast<int>(size()); }
    bool empty() const { return size() == 0; }
    // The byte at an offset, 0 past the end.
    char at(int offset) const {
        return offset >= 0 && static_cast<uint32_t>(offset) < size() ? data()[offset] : '\0';
    }
    bool ownsText() const { return (m_bits.flags & kOwned) != 0; }

    // Display columns: a tab reaches the next multiple of the tab size; any other character takes
    // its cells (a Windows-1252 byte one; a UTF-8 character one, or two when it is wide; the
    // continuation bytes of a sequence none); every offset past the end counts one. An offset
    // inside a sequence has the column of the sequence's start, and a column maps to the start
    // of the character covering it, so a column never leads into a sequence.
    int columnOfOffset(int offset, LineLayout layout) const;
    int offsetOfColumn(int column, LineLayout layout) const;
    int width(LineLayout layout) const;

    // Byte changes; offsets are clamped to the text.
    void insert(int offset, std::string_view bytes);
    void erase(int offset, int count);
    // Puts bytes in place of `count` bytes at an offset, moving the tail once.
    void replace(int offset, int count, std::string_view bytes);
    void setByte(int offset, char byte);
    void truncate(int length);
    void append(std::string_view bytes) { insert(length(), bytes); }
    void assign(std::string_view bytes);

    // A line read from a file with the other line end than the document's (a file that mixes
    // CR LF and LF): it is written back with the end it came with.
    bool hasOtherLineEnd() const { return m_bits.otherLineEnd != 0; }
    void setOtherLineEnd(bool other) { m_bits.otherLineEnd = other ? 1 : 0; }

    bool isChanged() const { return (m_bits.flags & kChanged) != 0; }
    void setChanged(bool changed);

    // The cached comment state. The start depth is the open-comment depth carried in from the
    // line above; the counts saturate at 63 (only whether a line has a marker matters to the
    // painter) and the depth at 65535.
    int startDepth() const { return m_startDepth; }
    int openCount() const { return m_bits.openCount; }
    int closeCount() const { return m_bits.closeCount; }
    // Stores the start depth, counts the markers and returns the depth at the end of the line.
    int scanComments(int startDepth, const CommentMarkers& markers);
    // The depth at the end of the line for a start depth, without storing anything.
    int endDepth(int startDepth, const CommentMarkers& markers) const;
    // Where painting starts; the close marker is looked for from searchFrom on.
    CommentStart commentStart(const CommentMarkers& markers, int searchFrom = 0) const;
    void clearCommentState();

private:
    static constexpr uint8_t kOwned = 1;
    static constexpr uint8_t kChanged = 2;

    // Whether an address fits in the 48 bits the record keeps.
    static bool fitsInRecord(uintptr_t address) { return static_cast<uint64_t>(address) >> 48 == 0; }
    // The address is the low 48 bits of the pointer: its low 32 bits and its next 16. A 32-bit
    // piece is copied in and out through a uint32_t whole, which compiles to one unaligned move.
    char* data() const {
        uint32_t low = 0;
        std::memcpy(&low, m_addressLow, sizeof low);
        return reinterpret_cast<char*>(static_cast<uintptr_t>(uint64_t{low} | uint64_t{m_addressHigh} << 32));
    }
    // The address must fit (fitsInRecord).
    void setData(char* bytes) {
        const auto address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(bytes));
        const auto low = static_cast<uint32_t>(address);
        std::memcpy(m_addressLow, &low, sizeof low);
        m_addressHigh = static_cast<uint16_t>(address >> 32);
    }
    uint32_t size() const {
        uint32_t length = 0;
        std::memcpy(&length, m_size, sizeof length);
        return length;
    }
    void setSize(uint32_t length) { std::memcpy(m_size, &length, sizeof length); }

    void reserveOwned(uint32_t length);
    static char* allocateInReach(void* block, std::size_t capacity, std::size_t keep);
    bool holds(std::string_view bytes) const;
    void release() {
        if ((m_bits.flags & kOwned) != 0) {
            freeOwned();
        }
        setData(nullptr);
        setSize(0);
        m_bits.flags &= static_cast<uint8_t>(~kOwned);
    }
    void freeOwned();
    void steal(DocLine& other) noexcept {
        m_addressLow[0] = other.m_addressLow[0];
        m_addressLow[1] = other.m_addressLow[1];
        m_addressHigh = other.m_addressHigh;
        m_size[0] = other.m_size[0];
        m_size[1] = other.m_size[1];
        m_startDepth = other.m_startDepth;
        m_bits = other.m_bits;
        other.setData(nullptr);
        other.setSize(0);
        other.m_bits.flags = 0;
    }

    // The bit fields, kept together so that a move copies them as one piece.
    struct Bits {
        uint8_t openCount : 6 = 0;
        uint8_t flags : 2 = 0;
        uint8_t closeCount : 7 = 0;
        uint8_t otherLineEnd : 1 = 0;
    };

    // Every field is a 16-bit piece or the two bytes of bit fields, so the record has no padding
    // and an alignment of 2.
    uint16_t m_addressLow[2] = {0, 0};
    uint16_t m_addressHigh = 0;
    uint16_t m_size[2] = {0, 0};
    uint16_t m_startDepth = 0;
    Bits m_bits;
};

static_assert(sizeof(DocLine) == 14 && alignof(DocLine) == 2, "a line record is 14 bytes, aligned to 2");

} // namespace vexa
