// Turns one document line into the coloured runs the edit pane draws.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/DocLine.h"
#include "core/Document.h"
#include "core/MarkState.h"
#include "syntax/ColourSlot.h"
#include "syntax/ExtensionProfile.h"

namespace vexa::syntax {

enum class RunContent : uint8_t { Text, Blanks };

// One piece to draw: width columns from column on, either the line's bytes from offset on (one
// byte a column) or blanks (the expansion of a tab), in the two slot colours.
struct PaintRun {
    int column = 0;
    int width = 0;
    std::size_t offset = 0;
    RunContent content = RunContent::Text;
    ColourSlot foreground = ColourSlot::Default;
    ColourSlot background = ColourSlot::Background;

    friend bool operator==(const PaintRun&, const PaintRun&) = default;
};

// The columns of one line that the marked area covers: [from, to).
struct MarkedColumns {
    int from = 0;
    int to = 0;
    bool empty() const { return from >= to; }
};

// What the marked area covers on a line: columns for column marks and for the first and last
// line of a stream, every column for line marks and for the lines inside a stream.
MarkedColumns markedColumns(const MarkState& mark, int line);

// The pane's horizontal view: the first and last visible column (both included).
struct VisibleColumns {
    int first = 0;
    int last = INT_MAX;
};

// Paints lines into a buffer that it keeps, so that painting allocates nothing once the buffer
// has grown to the longest line.
class LinePainter {
public:
    // The runs of one line. comment says whether the line begins inside a block comment and
    // where the first comment end stops. Runs wholly outside the visible columns are left out;
    // the others are complete, for the pane to clip. Tabs, also those inside comments, strings
    // and directives, become blanks to the next multiple of the tab size.
    std::span<const PaintRun> paint(std::string_view line, CommentStart comment,
                                    const ExtensionProfile& profile, int tabSize, VisibleColumns visible,
                                    MarkedColumns marked);

    // The runs of line index of a document: its comment state, its tab size and its marked area.
    std::span<const PaintRun> paintDocumentLine(const Document& document, int index,
                                                const ExtensionProfile& profile, VisibleColumns visible);

    std::span<const PaintRun> runs() const { return m_runs; }

private:
    // Adds the bytes [offset, offset + length) at the running column in the given text colour.
    void addText(std::string_view line, std::size_t offset, std::size_t length, ColourSlot foreground);
    void addPiece(int width, std::size_t offset, RunContent content, ColourSlot foreground);
    void push(PaintRun run);

    std::vector<PaintRun> m_runs;
    int m_column = 0;
    int m_tabSize = 1;
    VisibleColumns m_visible;
    MarkedColumns m_marked;
};

} // namespace vexa::syntax
