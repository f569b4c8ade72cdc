// The marked area of a document: its type, its two points and the normalised rectangle or stream.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vexa {

// Stored as a 32-bit integer and carried by the clipboard's private format; 4 is not used.
enum class MarkType : int32_t { None = 0, Line = 1, Stream = 2, Column = 3, CuaStream = 5 };

// A position in display columns and zero-based lines.
struct MarkPoint {
    int column = 0;
    int line = 0;

    friend bool operator==(const MarkPoint&, const MarkPoint&) = default;
};

struct MarkState {
    MarkType type = MarkType::None;
    MarkPoint anchor; // where marking started
    MarkPoint moving; // follows the cursor while marking is active
    bool active = false;

    friend bool operator==(const MarkState&, const MarkState&) = default;

    bool isStream() const { return type == MarkType::Stream || type == MarkType::CuaStream; }
    // A line mark of one line exists even when both points are equal.
    bool exists() const { return type != MarkType::None && (!(anchor == moving) || type == MarkType::Line); }

    int firstLine() const { return std::min(anchor.line, moving.line); }
    int lastLine() const { return std::max(anchor.line, moving.line); }

    // Streams run from the point on the earlier line (the smaller column on one line) to the
    // other; lines and columns span the rectangle of the two points.
    MarkPoint start() const {
        if (isStream()) {
            return earlier(anchor, moving) ? anchor : moving;
        }
        return {std::min(anchor.column, moving.column), firstLine()};
    }
    MarkPoint end() const {
        if (isStream()) {
            return earlier(anchor, moving) ? moving : anchor;
        }
        return {std::max(anchor.column, moving.column), lastLine()};
    }

    bool isInside(int line, int column) const {
        if (!exists() || line < firstLine() || line > lastLine()) {
            return false;
        }
        switch (type) {
        case MarkType::Line:
            return true;
        case MarkType::Column:
            return column >= start().column && column < end().column;
        default: {
            MarkPoint from = start();
            MarkPoint to = end();
            if (from.line == to.line) {
                return column >= from.column && column < to.column;
            }
            if (line == from.line) {
                return column >= from.column;
            }
            if (line == to.line) {
                return column < to.column;
            }
            return true;
        }
        }
    }

private:
    static bool earlier(const MarkPoint& a, const MarkPoint& b) {
        return a.line < b.line || (a.line == b.line && a.column <= b.column);
    }
};

} // namespace vexa
