// Checkpoints of the column mapping of one long line.
#include "core/ColumnIndex.h"

#include <algorithm>

namespace vexa {

void ColumnIndex::use(int index, const DocLine& line, LineLayout layout) {
    const bool same = m_index == index && m_data == line.text().data() && m_length == line.length() &&
                      m_layout.tabSize == layout.tabSize && m_layout.encoding == layout.encoding;
    if (same) {
        return;
    }
    m_index = index;
    m_data = line.text().data();
    m_length = line.length();
    m_layout = layout;
    m_points.assign(1, Point{0, 0});
    m_complete = false;
    m_width = 0;
}

void ColumnIndex::textChanged(int index, const DocLine& line, int from) {
    if (index != m_index) {
        return;
    }
    // A checkpoint at the changed offset keeps its column: only bytes before it count.
    while (m_points.size() > 1 && m_points.back().offset > from) {
        m_points.pop_back();
    }
    m_data = line.text().data();
    m_length = line.length();
    m_complete = false;
}

template <typename Stop>
void ColumnIndex::extend(const DocLine& line, Stop&& stop) {
    if (m_complete) {
        return;
    }
    const Point start = m_points.back();
    int nextPoint = start.offset + kStep;
    int end = start.column;
    bool stopped = false;
    forEachCellFrom(line.text(), m_layout, start.offset, start.column, [&](const LineCell& cell) {
        if (cell.offset >= nextPoint) {
            m_points.push_back(Point{cell.offset, cell.column});
            nextPoint = cell.offset + kStep;
            if (stop(cell)) {
                stopped = true;
                return false;
            }
        }
        end = cell.next;
        return true;
    });
    if (!stopped) {
        m_complete = true;
        m_width = end;
    }
}

const ColumnIndex::Point& ColumnIndex::pointAtOffset(int offset) const {
    auto after = std::upper_bound(m_points.begin(), m_points.end(), offset,
                                  [](int value, const Point& point) { return value < point.offset; });
    return *(after - 1);
}

const ColumnIndex::Point& ColumnIndex::pointAtColumn(int column) const {
    auto after = std::upper_bound(m_points.begin(), m_points.end(), column,
                                  [](int value, const Point& point) { return value < point.column; });
    return after == m_points.begin() ? m_points.front() : *(after - 1);
}

int ColumnIndex::columnOfOffset(int index, const DocLine& line, int offset, LineLayout layout) {
    if (line.length() < kMinLength) {
        return line.columnOfOffset(offset, layout);
    }
    use(index, line, layout);
    offset = std::max(offset, 0);
    if (offset >= m_length) {
        extend(line, [](const LineCell&) { return false; });
        return m_width + offset - m_length;
    }
    extend(line, [offset](const LineCell& cell) { return cell.offset > offset; });
    const Point start = pointAtOffset(offset);
    int result = start.column;
    forEachCellFrom(line.text(), m_layout, start.offset, start.column, [&](const LineCell& cell) {
        if (cell.offset + cell.bytes > offset) {
            result = cell.column;
            return false;
        }
        return true;
    });
    return result;
}

int ColumnIndex::offsetOfColumn(int index, const DocLine& line, int column, LineLayout layout) {
    if (line.length() < kMinLength) {
        return line.offsetOfColumn(column, layout);
    }
    use(index, line, layout);
    extend(line, [column](const LineCell& cell) { return cell.column > column; });
    const Point start = pointAtColumn(column);
    int found = -1;
    int end = start.column;
    forEachCellFrom(line.text(), m_layout, start.offset, start.column, [&](const LineCell& cell) {
        // A column inside a tab's or a wide character's cells belongs to that character.
        if (cell.next > column) {
            found = cell.offset;
            return false;
        }
        end = cell.next;
        return true;
    });
    return found >= 0 ? found : m_length + std::max(column - end, 0);
}

} // namespace vexa
