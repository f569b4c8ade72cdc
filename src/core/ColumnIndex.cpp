// Checkpoints of the column mapping and of the colouring of long lines.
#include "core/ColumnIndex.h"

#include <algorithm>

namespace vexa {

ColumnIndex::Line* ColumnIndex::find(int index) {
    for (Line& entry : m_lines) {
        if (entry.index == index) {
            return &entry;
        }
    }
    return nullptr;
}

ColumnIndex::Line& ColumnIndex::use(int index, const DocLine& line, LineLayout layout) {
    Line* entry = find(index);
    if (entry != nullptr && entry->data == line.text().data() && entry->length == line.length() &&
        entry->layout.tabSize == layout.tabSize && entry->layout.encoding == layout.encoding) {
        entry->lastUse = ++m_clock;
        return *entry;
    }
    if (entry == nullptr) {
        if (m_lines.size() < static_cast<std::size_t>(kLines)) {
            // Reserved whole, so that a new entry never moves the others.
            m_lines.reserve(kLines);
            entry = &m_lines.emplace_back();
        } else {
            entry = &*std::min_element(m_lines.begin(), m_lines.end(),
                                       [](const Line& a, const Line& b) { return a.lastUse < b.lastUse; });
        }
    }
    ++m_rebuilds;
    entry->index = index;
    entry->data = line.text().data();
    entry->length = line.length();
    entry->layout = layout;
    entry->points.assign(1, Point{0, 0});
    entry->complete = false;
    entry->width = 0;
    entry->colours.clear();
    entry->lastUse = ++m_clock;
    return *entry;
}

void ColumnIndex::textChanged(int index, const DocLine& line, int from) {
    Line* entry = find(index);
    if (entry == nullptr) {
        return;
    }
    // A checkpoint at the changed offset keeps its column: only bytes before it count.
    while (entry->points.size() > 1 && entry->points.back().offset > from) {
        entry->points.pop_back();
    }
    std::vector<ColourPoint>& colours = entry->colours;
    while (!colours.empty() && colours.back().offset > from - kLookahead) {
        colours.pop_back();
    }
    // Token ends grow with the offset: only the last points' tokens can reach the change.
    for (auto point = colours.rbegin(); point != colours.rend(); ++point) {
        if (point->tokenEnd != ColourPoint::kEndUnknown && point->tokenEnd <= from - kLookahead) {
            break;
        }
        point->tokenEnd = ColourPoint::kEndUnknown;
    }
    entry->data = line.text().data();
    entry->length = line.length();
    entry->complete = false;
}

void ColumnIndex::lineInserted(int index) {
    for (Line& entry : m_lines) {
        if (entry.index >= index) {
            ++entry.index;
        }
    }
}

void ColumnIndex::lineRemoved(int index) {
    std::erase_if(m_lines, [index](const Line& entry) { return entry.index == index; });
    for (Line& entry : m_lines) {
        if (entry.index > index) {
            --entry.index;
        }
    }
}

void ColumnIndex::clearColours() {
    for (Line& entry : m_lines) {
        entry.colours.clear();
    }
}

std::vector<ColourPoint>& ColumnIndex::colourPoints(int index, const DocLine& line, LineLayout layout,
                                                    uint64_t tag) {
    Line& entry = use(index, line, layout);
    if (entry.colourTag != tag) {
        entry.colours.clear();
        entry.colourTag = tag;
    }
    return entry.colours;
}

template <typename Stop>
void ColumnIndex::extend(Line& entry, const DocLine& line, Stop&& stop) {
    if (entry.complete) {
        return;
    }
    const Point start = entry.points.back();
    int nextPoint = start.offset + kStep;
    int end = start.column;
    bool stopped = false;
    forEachCellFrom(line.text(), entry.layout, start.offset, start.column, [&](const LineCell& cell) {
        if (cell.offset >= nextPoint) {
            entry.points.push_back(Point{cell.offset, cell.column});
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
        entry.complete = true;
        entry.width = end;
    }
}

namespace {

template <typename Point>
const Point& pointAtOffset(const std::vector<Point>& points, int offset) {
    auto after = std::upper_bound(points.begin(), points.end(), offset,
                                  [](int value, const Point& point) { return value < point.offset; });
    return *(after - 1);
}

template <typename Point>
const Point& pointAtColumn(const std::vector<Point>& points, int column) {
    auto after = std::upper_bound(points.begin(), points.end(), column,
                                  [](int value, const Point& point) { return value < point.column; });
    return after == points.begin() ? points.front() : *(after - 1);
}

} // namespace

int ColumnIndex::columnOfOffset(int index, const DocLine& line, int offset, LineLayout layout) {
    if (line.length() < kMinLength) {
        return line.columnOfOffset(offset, layout);
    }
    Line& entry = use(index, line, layout);
    offset = std::max(offset, 0);
    if (offset >= entry.length) {
        extend(entry, line, [](const LineCell&) { return false; });
        return entry.width + offset - entry.length;
    }
    extend(entry, line, [offset](const LineCell& cell) { return cell.offset > offset; });
    const Point start = pointAtOffset(entry.points, offset);
    int result = start.column;
    forEachCellFrom(line.text(), entry.layout, start.offset, start.column, [&](const LineCell& cell) {
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
    Line& entry = use(index, line, layout);
    extend(entry, line, [column](const LineCell& cell) { return cell.column > column; });
    const Point start = pointAtColumn(entry.points, column);
    int found = -1;
    int end = start.column;
    forEachCellFrom(line.text(), entry.layout, start.offset, start.column, [&](const LineCell& cell) {
        // A column inside a tab's or a wide character's cells belongs to that character.
        if (cell.next > column) {
            found = cell.offset;
            return false;
        }
        end = cell.next;
        return true;
    });
    return found >= 0 ? found : entry.length + std::max(column - end, 0);
}

} // namespace vexa
