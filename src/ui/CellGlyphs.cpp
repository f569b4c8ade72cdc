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
        m_queues.emplace_back();
    }
    glyph.font = static_cast<int16_t>(which);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(QList<quint32>{glyph.index});
    const qreal advance = advances.isEmpty() ? cells * m_cellWidth : advances.front().x();
    glyph.offset = (cells * m_cellWidth - advance) / 2;
    return glyph;
}

bool CellGlyphs::queue(char32_t character, int cells, QPointF at) {
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
        m_boxes.append(QRectF(at.x() + 1, at.y() - m_ascent + 2, cells * m_cellWidth - 3, m_cellHeight - 5));
        return true;
    }
    Queue& queue = m_queues[static_cast<std::size_t>(glyph->font)];
    queue.indexes.append(glyph->index);
    queue.positions.append(QPointF(at.x() + glyph->offset, at.y()));
    return true;
}

void CellGlyphs::draw(QPainter& painter) {
    if (!m_boxes.isEmpty()) {
        painter.drawRects(m_boxes);
        m_boxes.resize(0);
    }
    for (std::size_t font = 0; font < m_queues.size(); ++font) {
        Queue& queue = m_queues[font];
        if (queue.indexes.isEmpty()) {
            continue;
        }
        {
            QGlyphRun run;
            run.setRawFont(m_fonts[font]);
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
