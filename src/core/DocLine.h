// One line of a document: its bytes, its redraw flag and its cached comment state.
#pragma once

#include <cstddef>
#include <cstdint>
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
// in a heap block the line owns, taken on the first change. The record is kept to 16 bytes so
// that a loaded file stays within a small multiple of its size; this is why the line manages its
// block itself rather than through a std::string.
class DocLine {
public:
    DocLine() = default;
    // A line owning a copy of the bytes.
    explicit DocLine(std::string_view text);
    // A line reading bytes that outlive it (the document's load buffer).
    static DocLine borrowing(std::string_view bytes);
    struct Borrow {};
    DocLine(Borrow, std::string_view bytes, bool otherLineEnd)
        : m_data(const_cast<char*>(bytes.data())), m_length(static_cast<uint32_t>(bytes.size())),
          m_otherLineEnd(otherLineEnd ? 1 : 0) {}

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

    std::string_view text() const { return {m_data, m_length}; }
    int length() const { return static_cast<int>(m_length); }
    bool empty() const { return m_length == 0; }
    // The byte at an offset, 0 past the end.
    char at(int offset) const {
        return offset >= 0 && static_cast<uint32_t>(offset) < m_length ? m_data[offset] : '\0';
    }
    bool ownsText() const { return (m_flags & kOwned) != 0; }

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
    bool hasOtherLineEnd() const { return m_otherLineEnd != 0; }
    void setOtherLineEnd(bool other) { m_otherLineEnd = other ? 1 : 0; }

    bool isChanged() const { return (m_flags & kChanged) != 0; }
    void setChanged(bool changed);

    // The cached comment state. The start depth is the open-comment depth carried in from the
    // line above; the counts saturate at 63 (only whether a line has a marker matters to the
    // painter) and the depth at 65535.
    int startDepth() const { return m_startDepth; }
    int openCount() const { return m_openCount; }
    int closeCount() const { return m_closeCount; }
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

    void reserveOwned(uint32_t length);
    void release() {
        if ((m_flags & kOwned) != 0) {
            freeOwned();
        }
        m_data = nullptr;
        m_length = 0;
        m_flags &= static_cast<uint8_t>(~kOwned);
    }
    void freeOwned();
    void steal(DocLine& other) noexcept {
        m_data = other.m_data;
        m_length = other.m_length;
        m_startDepth = other.m_startDepth;
        m_openCount = other.m_openCount;
        m_flags = other.m_flags;
        m_closeCount = other.m_closeCount;
        m_otherLineEnd = other.m_otherLineEnd;
        other.m_data = nullptr;
        other.m_length = 0;
        other.m_flags = 0;
    }

    char* m_data = nullptr;
    uint32_t m_length = 0;
    uint16_t m_startDepth = 0;
    uint8_t m_openCount : 6 = 0;
    uint8_t m_flags : 2 = 0;
    uint8_t m_closeCount : 7 = 0;
    uint8_t m_otherLineEnd : 1 = 0;
};

} // namespace vexa
