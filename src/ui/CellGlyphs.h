// Glyphs placed at character cells: each character's glyph is looked up once (with the font
// fallback text layout does) and then drawn centred over its cells, so that neither shaping nor
// the font's advances move the text off the cell grid. A character no installed font has is
// drawn as a box over its cells.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "syntax/ColourSlot.h"

class QPainter;

namespace vexa::ui {

class CellGlyphs {
public:
    // Forgets every glyph: the pane's font or cell width changed.
    void reset(const QFont& font, qreal cellWidth, int cellHeight, int ascent);

    // Queues a character whose cells begin at x on the baseline y, in a colour slot; false when
    // no single glyph shows it (the caller draws it as text instead).
    bool queue(char32_t character, int cells, QPointF at, syntax::ColourSlot colour);
    // Draws the queued glyphs, a few calls for a whole screen, and empties the queues.
    void draw(QPainter& painter, const std::array<QColor, syntax::kColourSlotCount>& colours);

private:
    struct Glyph {
        int16_t font = kUnknown; // index into m_fonts, or one of the two markers
        quint32 index = 0;
        qreal offset = 0; // from the cells' left edge, to centre the glyph over them
    };
    static constexpr int16_t kUnknown = -3;
    static constexpr int16_t kMissing = -2; // no font has it: a box
    static constexpr int16_t kNoGlyph = -1; // not one glyph: drawn as text

    struct Queue {
        QList<quint32> indexes;
        QList<QPointF> positions;
    };

    Glyph lookUp(char32_t character, int cells);

    QFont m_font;
    qreal m_cellWidth = 1;
    int m_cellHeight = 1;
    int m_ascent = 1;
    std::array<QList<QRect>, syntax::kColourSlotCount> m_boxes;
    std::vector<QRawFont> m_fonts;
    std::vector<Queue> m_queues; // one per font and colour slot
    std::array<Glyph, 128> m_ascii{};
    std::unordered_map<char32_t, Glyph> m_other;
};

} // namespace vexa::ui
