// Glyphs placed at character cells.
#include "ui/CellGlyphs.h"

#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

#include "ui/Windows1252.h"

namespace vexa::ui {

void CellGlyphs::reset(const QFont& font, qreal cellWidth, int cellHeight, int ascent) {
    m_font = font;
    m_cellWidth = cellWidth;
    m_cellHeight = cellHeight;
    m_ascent = ascent;
    m_fonts.clear();
    m_queues.clear();
    m_ascii.fill(Glyph{});
    m_other.clear();
}

CellGlyphs::Glyph CellGlyphs::lookUp(char32_t character, int cells) {
    QString text;
    appendCharacter(text, character);
    QTextLayout layout(text, m_font);
    layout.beginLayout();
    (void)layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    Glyph glyph;
    glyph.font = kNoGlyph;
    if (runs.size() != 1 || runs.front().glyphIndexes().size() != 1) {
        return glyph;
    }
    glyph.index = runs.front().glyphIndexes().front();
    if (glyph.index == 0) {
        // Glyph 0 stands for a character the font lacks; many fonts draw it as nothing.
        glyph.font = kMissing;
        return glyph;
    }
    const QRawFont font = runs.front().rawFont();
    std::size_t which = 0;
    while (which < m_fonts.size() && !(m_fonts[which] == font)) {
        ++which;
    }
    if (which == m_fonts.size()) {
        m_fonts.push_back(font);
        m_queues.resize(m_fonts.size() * syntax::kColourSlotCount);
    }
    glyph.font = static_cast<int16_t>(which);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(QList<quint32>{glyph.index});
    const qreal advance = advances.isEmpty() ? cells * m_cellWidth : advances.front().x();
    glyph.offset = (cells * m_cellWidth - advance) / 2;
    return glyph;
}

bool CellGlyphs::queue(char32_t character, int cells, QPointF at, syntax::ColourSlot colour) {
    if (character == ' ') {
        return true; // a blank draws nothing over the background the run already has
    }
    Glyph* glyph = nullptr;
    if (character < m_ascii.size()) {
        glyph = &m_ascii[character];
    } else {
        glyph = &m_other[character];
    }
    if (glyph->font == kUnknown) {
        *glyph = lookUp(character, cells);
    }
    if (glyph->font == kNoGlyph) {
        return false;
    }
    if (glyph->font == kMissing) {
        const int left = qRound(at.x()) + 1;
        const int top = qRound(at.y()) - m_ascent + 2;
        m_boxes[static_cast<std::size_t>(colour)].append(
            QRect(left, top, qRound(cells * m_cellWidth) - 2, m_cellHeight - 4));
        return true;
    }
    Queue& queue = m_queues[static_cast<std::size_t>(glyph->font) * syntax::kColourSlotCount +
                            static_cast<std::size_t>(colour)];
    queue.indexes.append(glyph->index);
    queue.positions.append(QPointF(at.x() + glyph->offset, at.y()));
    return true;
}

void CellGlyphs::draw(QPainter& painter, const std::array<QColor, syntax::kColourSlotCount>& colours) {
    for (std::size_t colour = 0; colour < colours.size(); ++colour) {
        // Four solid edges each: filling is much quicker than stroking a rectangle.
        for (const QRect& box : m_boxes[colour]) {
            painter.fillRect(box.left(), box.top(), box.width(), 1, colours[colour]);
            painter.fillRect(box.left(), box.bottom(), box.width(), 1, colours[colour]);
            painter.fillRect(box.left(), box.top(), 1, box.height(), colours[colour]);
            painter.fillRect(box.right(), box.top(), 1, box.height(), colours[colour]);
        }
        m_boxes[colour].resize(0);
    }
    for (std::size_t which = 0; which < m_queues.size(); ++which) {
        Queue& queue = m_queues[which];
        if (queue.indexes.isEmpty()) {
            continue;
        }
        painter.setPen(colours[which % syntax::kColourSlotCount]);
        {
            QGlyphRun run;
            run.setRawFont(m_fonts[which / syntax::kColourSlotCount]);
            run.setGlyphIndexes(queue.indexes);
            run.setPositions(queue.positions);
            painter.drawGlyphRun(QPointF(0, 0), run);
        }
        // The run has let go of the lists, so that emptying them keeps their capacity.
        queue.indexes.resize(0);
        queue.positions.resize(0);
    }
}

} // namespace vexa::ui
