// Checkpoints of the column mapping of one long line.
#pragma once

#include <cstdint>
#include <vector>

#include "core/DocLine.h"

namespace vexa {

// Keeps (offset, column) pairs every few KB along the one long line whose columns were asked for
// last, so that the column of an offset and the offset of a column are found by walking at most
// one step's bytes from a checkpoint instead of the whole line. The results are exactly those of
// DocLine::columnOfOffset and DocLine::offsetOfColumn. Shorter lines are walked whole.
//
// An edit keeps the checkpoints before the changed offset (a column depends only on the bytes
// before it), so typing at the end of a long line walks only the last step again. The index is
// told of every change to its line's text and forgets everything when lines move.
class ColumnIndex {
public:
    static constexpr int kMinLength = 16 * 1024;
    static constexpr int kStep = 4 * 1024;

    int columnOfOffset(int index, const DocLine& line, int offset, LineLayout layout);
    int offsetOfColumn(int index, const DocLine& line, int column, LineLayout layout);
    // The text of a line changed from an offset on: the checkpoints after it no longer hold.
    void textChanged(int index, const DocLine& line, int from);
    // Lines were added, removed or replaced.
    void clear() { m_index = -1; }

private:
    struct Point {
        int offset;
        int column;
    };

    // Makes the index describe a line, keeping its checkpoints when it already did.
    void use(int index, const DocLine& line, LineLayout layout);
    // Walks on from the last checkpoint, adding checkpoints, until `stop` says a cell is far
    // enough or the line ends (then the width is known).
    template <typename Stop>
    void extend(const DocLine& line, Stop&& stop);
    // The last checkpoint at or before an offset, or with a column at or before a column.
    const Point& pointAtOffset(int offset) const;
    const Point& pointAtColumn(int column) const;

    int m_index = -1;
    const char* m_data = nullptr;
    int m_length = 0;
    LineLayout m_layout{};
    std::vector<Point> m_points;
    bool m_complete = false;
    int m_width = 0;
};

} // namespace vexa
