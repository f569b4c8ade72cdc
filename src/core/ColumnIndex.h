// Checkpoints of the column mapping and of the colouring of long lines.
#pragma once

#include <cstdint>
#include <vector>

#include "core/DocLine.h"

namespace vexa {

// A place where colouring a long line goes on without looking at the bytes before it: the
// colouring's state at a character start. The bytes [offset, tokenEnd) belong to the token that
// began at tokenStart and take its state; the next token starts at tokenEnd. The states are the
// colouring's own values, which the document only keeps.
struct ColourPoint {
    // The token's end is not known: a change after the point but inside the token (or just after
    // it) may have moved it. The token is scanned again from its start.
    static constexpr int kEndUnknown = -1;

    int offset = 0;
    int column = 0;
    int tokenStart = 0;
    int tokenEnd = 0;
    uint8_t tokenState = 0;
    // The state the blanks after the token take.
    uint8_t nextState = 0;
};

// Keeps, for the few long lines asked about last, (offset, column) pairs every few KB along the
// line, so that the column of an offset and the offset of a column are found by walking at most
// one step's bytes from a checkpoint instead of the whole line. The results are exactly those of
// DocLine::columnOfOffset and DocLine::offsetOfColumn. Shorter lines are walked whole. Beside the
// column checkpoints a line keeps the colour points its painter leaves there.
//
// An edit keeps the checkpoints before the changed offset (a column depends only on the bytes
// before it), so typing at the end of a long line walks only the last step again. A colour point
// also depends on a few bytes after it (a token's kind looks ahead less than kLookahead bytes)
// and on its token's end: points less than kLookahead bytes before a change go, and those whose
// token reaches the change forget its end. The index is told of every change to a line's text
// and of every line inserted or removed.
class ColumnIndex {
public:
    static constexpr int kMinLength = 16 * 1024;
    static constexpr int kStep = 4 * 1024;
    static constexpr int kLookahead = 32;
    // Lines kept at once: more than a tall pane shows, so that painting several long lines does
    // not evict one line's checkpoints for the next.
    static constexpr int kLines = 64;

    int columnOfOffset(int index, const DocLine& line, int offset, LineLayout layout);
    int offsetOfColumn(int index, const DocLine& line, int column, LineLayout layout);
    // The colour points of a long line, sorted by offset; they are dropped when `tag` (whatever
    // else the colouring depends on) differs from the tag they were made with. The caller adds
    // and mends points; the reference holds until the next call.
    std::vector<ColourPoint>& colourPoints(int index, const DocLine& line, LineLayout layout, uint64_t tag);
    // The text of a line changed from an offset on: the checkpoints after it no longer hold.
    void textChanged(int index, const DocLine& line, int from);
    // A line was inserted before or removed at an index: the lines below move.
    void lineInserted(int index);
    void lineRemoved(int index);
    // Lines were replaced.
    void clear() { m_lines.clear(); }
    // The colouring rules changed.
    void clearColours();
    // How many times a line's checkpoints were started afresh.
    uint64_t rebuilds() const { return m_rebuilds; }

private:
    struct Point {
        int offset;
        int column;
    };
    struct Line {
        int index = -1;
        const char* data = nullptr;
        int length = 0;
        LineLayout layout{};
        std::vector<Point> points;
        bool complete = false;
        int width = 0;
        uint64_t colourTag = 0;
        std::vector<ColourPoint> colours;
        uint64_t lastUse = 0;
    };

    Line* find(int index);
    // The entry describing a line, keeping its checkpoints when it already did; a new one takes
    // the place of the line used longest ago.
    Line& use(int index, const DocLine& line, LineLayout layout);
    // Walks on from the last checkpoint, adding checkpoints, until `stop` says a cell is far
    // enough or the line ends (then the width is known).
    template <typename Stop>
    static void extend(Line& entry, const DocLine& line, Stop&& stop);

    std::vector<Line> m_lines;
    uint64_t m_clock = 0;
    uint64_t m_rebuilds = 0;
};

} // namespace vexa
