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

// One piece to draw, in the two slot colours: the display cells [column, column + width) and the
// line's bytes [offset, offset + length) they show. Text shows its characters in the document's
// encoding (a Windows-1252 byte takes one cell, a UTF-8 character its cells); a run always starts
// and ends between characters. Blanks are the expansion of tabs: their bytes are the tabs, and a
// tab split by the marked area gives each piece the whole tab byte.
struct PaintRun {
    int column = 0;
    int width = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
    RunContent content = RunContent::Text;
    ColourSlot foreground = ColourSlot::Default;
    ColourSlot background = ColourSlot::Background;

    friend bool operator==(const PaintRun&, const PaintRun&) = default;
};

// The columns of one line that the marked area covers: [from, to). A character is marked when its
// last cell lies inside, so a wide character whose cells straddle an edge goes to the side of its
// second cell (inside at the start edge, outside at the end edge), as the marked bytes do.
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
    // The bytes one paint walks at most to colour a long line on from its last colour point.
    // Beyond them the paint leaves the points where the walk stopped and draws the visible part in
    // the default colour, until walkOn brings the points there.
    static constexpr std::size_t kWalkBudget = 256 * 1024;

    // The runs of one line. comment says whether the line begins inside a block comment and
    // where the first comment end stops. Runs wholly outside the visible columns are left out;
    // the others are complete, for the pane to clip. Tabs, also those inside comments, strings
    // and directives, become blanks to the next multiple of the tab size. Tokens are bytes: a
    // UTF-8 character whose bytes two tokens share is drawn whole in the colour of the first.
    std::span<const PaintRun> paint(std::string_view line, CommentStart comment,
                                    const ExtensionProfile& profile, LineLayout layout,
                                    VisibleColumns visible, MarkedColumns marked);

    // The runs of line index of a document: its comment state, its layout (tab size and
    // encoding) and its marked area. A long line is coloured from the last of the colour points
    // the document keeps for it before the visible columns; the walk to a visible part beyond
    // the last point leaves a point every ColumnIndex::kStep bytes on the way. So painting costs
    // the visible part and one step, once the points reach there. A walk longer than kWalkBudget
    // stops there and the visible part is drawn uncoloured (see behind()).
    std::span<const PaintRun> paintDocumentLine(const Document& document, int index,
                                                const ExtensionProfile& profile, VisibleColumns visible);

    // The paintDocumentLine calls up to endPaint share one walk budget, as the rows of one paint
    // of a pane do; outside them each call has a budget of its own.
    void beginPaint() {
        m_budgetLeft = kWalkBudget;
        m_sharing = true;
    }
    void endPaint() { m_sharing = false; }

    // Whether the last paintDocumentLine drew the visible part uncoloured, as its colour points
    // were more than kWalkBudget bytes behind it.
    bool behind() const { return m_behind; }

    // Walks a long line on from its last colour point towards the visible columns, at most
    // `budget` bytes, leaving points on the way; paints nothing. True when the points reach the
    // visible columns (a paint there walks at most a step and a piece before them), also for a
    // short line; false when the budget ran out first. Each false call walks at least one byte.
    bool walkOn(const Document& document, int index, const ExtensionProfile& profile, VisibleColumns visible,
                std::size_t budget);

    // The colour points the document keeps for a long line as painting with a profile left them.
    static std::span<const ColourPoint> colourPoints(const Document& document, int index,
                                                     const ExtensionProfile& profile);

    // The bytes the last paint walked through: the colouring from its starting point and the
    // tokens scanned again to find their ends.
    std::size_t walkedBytes() const { return m_walked; }

    std::span<const PaintRun> runs() const { return m_runs; }

private:
    // Colours the line from a point on, until the visible columns are passed or the line ends;
    // with `record`, adds a point to it at every step past its last point; stops at byte `until`
    // at the latest (a character that begins before it is taken whole). The point is a copy:
    // adding points may move the vector it came from.
    void colourFrom(std::string_view line, const ExtensionProfile& profile, ColourPoint from,
                    std::vector<ColourPoint>* record, std::size_t until = SIZE_MAX);
    // Colours from the last of the points on without painting, up to byte `until`, adding points.
    void walkPoints(std::string_view line, const ExtensionProfile& profile, std::vector<ColourPoint>& points,
                    std::size_t until);
    // The colour points of a long line for a profile, begun with the line's start point when
    // there were none.
    std::vector<ColourPoint>& pointsOf(const Document& document, int index, const ExtensionProfile& profile);
    // Scans the token of a point whose end an edit may have moved again from its start, and
    // gives every point inside it the token's end and colour.
    void mendToken(const Document& document, int index, const ExtensionProfile& profile, bool insideAtStart,
                   std::vector<ColourPoint>& points, std::size_t at);
    void start(LineLayout layout, VisibleColumns visible, MarkedColumns marked);
    // Adds the bytes [offset, offset + length) at the running column in the given text colour.
    void addText(std::string_view line, std::size_t offset, std::size_t length, ColourSlot foreground);
    // Adds the tab at offset as blanks to the next tab stop.
    void addTab(std::size_t offset, ColourSlot foreground);
    // Adds one byte a cell: Windows-1252 text, split at the marked columns.
    void addBytes(int width, std::size_t offset, ColourSlot foreground);
    // Adds UTF-8 text without tabs from offset up to at least end (a character that begins before
    // end is added whole), split between characters at the marked columns.
    void addUtf8(std::string_view line, std::size_t offset, std::size_t end, ColourSlot foreground);
    // Adds cells [from, to) showing bytes [offset, offset + length) when they reach the visible
    // columns, inside or outside the marked area.
    void addRun(int from, int to, std::size_t offset, std::size_t length, RunContent content, bool marked,
                ColourSlot foreground);
    void push(PaintRun run);

    std::vector<PaintRun> m_runs;
    int m_column = 0;
    // The first byte not yet painted: a UTF-8 character may reach past the token it begins in.
    std::size_t m_next = 0;
    int m_tabSize = 1;
    TextEncoding m_encoding = TextEncoding::Windows1252;
    VisibleColumns m_visible;
    MarkedColumns m_marked;
    std::size_t m_walked = 0;
    bool m_behind = false;
    bool m_sharing = false;
    std::size_t m_budgetLeft = kWalkBudget;
};

} // namespace vexa::syntax
