// The edit pane widget: paints the document in character cells and forwards input to the editor.
#include "ui/EditPaneWidget.h"

#include <QFontInfo>

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "commands/CommandProcessor.h"
#include "commands/FunctionTable.h"
#include "commands/PrimarySelection.h"
#include "frame/StatusLine.h"
#include "keyboard/KeyRoad.h"
#include "session/Workspace.h"
#include "settings/Options.h"
#include "syntax/SyntaxProfile.h"
#include "syntax/SyntaxSettings.h"
#include "ui/KeyForwarding.h"
#include "ui/QtKeyState.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

constexpr int kAutoScrollMs = 50;
constexpr int kDefaultPixelSize = 14;

QColor toQColor(syntax::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

} // namespace

EditPaneWidget::EditPaneWidget(PaneServices services, EditPane& pane, QWidget* parent)
    : QAbstractScrollArea(parent), m_services(services), m_pane(pane), m_mouse(services.processor, m_pane),
      m_autoScrollTimer(new QTimer(this)), m_colourTimer(new QTimer(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pane.setObserver(this);
    m_autoScrollTimer->setInterval(kAutoScrollMs);
    connect(m_autoScrollTimer, &QTimer::timeout, this, &EditPaneWidget::autoScroll);
    // Slices run whenever no other event waits, each walking a bounded part of a long line.
    m_colourTimer->setInterval(0);
    connect(m_colourTimer, &QTimer::timeout, this, &EditPaneWidget::colourSlice);
    chooseProfile();
    applyFont();
    m_pane.updateExtent();
}

EditPaneWidget::~EditPaneWidget() {
    m_pane.setObserver(nullptr);
}

void EditPaneWidget::chooseProfile() {
    m_profile = m_services.workspace.profileOf(m_pane);
    viewport()->update();
}

QFont editorFont(const Options& options) {
    const FontDetails& details = options.font();
    QFont font(details.face.empty() ? QStringLiteral("Monospace") : fromWindows1252(details.face));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(details.height != 0 ? std::abs(details.height) : kDefaultPixelSize);
    font.setBold(details.weight >= 600);
    font.setItalic(details.italic != 0);
    font.setKerning(false);
    // The family and style the font matched by name: a font dialog finds no family "Monospace",
    // and without a style name it takes the family's first style, often an oblique one.
    const QFontInfo matched(font);
    font.setFamily(matched.family());
    font.setStyleName(matched.styleName());
    return font;
}

void EditPaneWidget::applyFont() {
    const QFont font = editorFont(m_services.options);
    setFont(font);
    viewport()->setFont(font);
    const QFontMetrics metrics(font);
    // The advance may be fractional; drawn text moves by it, so the cells must too.
    m_cellWidth = std::max<qreal>(1.0, QFontMetricsF(font).horizontalAdvance(QLatin1Char('M')));
    m_cellHeight = std::max(1, metrics.height());
    m_ascent = metrics.ascent();
    m_glyphs.reset(font, m_cellWidth, m_cellHeight, m_ascent);
    updateTextArea();
    viewport()->update();
}

int EditPaneWidget::marginWidth() const {
    return m_services.options.editor().hasMargin != 0 ? qRound(m_cellWidth) : 0;
}

QPoint EditPaneWidget::cellCentre(int line, int column) const {
    return {marginWidth() + qRound((column - m_pane.firstColumn() + 0.5) * m_cellWidth),
            (line - m_pane.topLine()) * m_cellHeight + m_cellHeight / 2};
}

void EditPaneWidget::updateTextArea() {
    const QSize size = viewport()->size();
    m_pane.setTextArea(static_cast<int>((size.width() - marginWidth()) / m_cellWidth),
                       size.height() / m_cellHeight);
    updateScrollBars();
}

void EditPaneWidget::updateScrollBars() {
    m_syncingScrollBars = true;
    const int lines = std::max(m_pane.extentLines(), document().lineCount());
    verticalScrollBar()->setRange(0, std::max(std::max(0, lines - m_pane.visibleLines()), m_pane.topLine()));
    verticalScrollBar()->setPageStep(m_pane.pageLines());
    verticalScrollBar()->setValue(m_pane.topLine());
    const int width = std::max(m_pane.extentWidth(), document().widestLine());
    horizontalScrollBar()->setRange(
        0, std::max(std::max(0, width - m_pane.visibleColumns()), m_pane.firstColumn()));
    horizontalScrollBar()->setPageStep(m_pane.pageColumns());
    horizontalScrollBar()->setValue(m_pane.firstColumn());
    m_syncingScrollBars = false;
}

void EditPaneWidget::extentChanged(int, int) {
    updateScrollBars();
}

void EditPaneWidget::viewScrolled() {
    updateScrollBars();
    viewport()->update();
}

void EditPaneWidget::repaintAll() {
    viewport()->update();
}

void EditPaneWidget::repaintLine(int index) {
    viewport()->update(lineRect(index));
}

QRect EditPaneWidget::lineRect(int index) const {
    return {0, (index - m_pane.topLine()) * m_cellHeight, viewport()->width(), m_cellHeight};
}

void EditPaneWidget::syncCaret() {
    emit inputHandled();
    const int line = document().cursorLine();
    if (line != m_caretLine) {
        viewport()->update(lineRect(m_caretLine));
        m_caretLine = line;
    }
    viewport()->update(lineRect(line));
    const std::optional<navigation::BracePair> pair =
        navigation::bracePairAt(document(), line, document().cursorOffset());
    if (pair != m_bracePair) {
        for (const auto& shown : {m_bracePair, pair}) {
            if (shown) {
                viewport()->update(lineRect(shown->line));
                viewport()->update(lineRect(shown->partnerLine));
            }
        }
    }
}

void EditPaneWidget::scrollContentsBy(int, int) {
    if (m_syncingScrollBars) {
        return;
    }
    // The bars scroll the view only; the cursor stays where it is.
    m_pane.scrollTo(verticalScrollBar()->value(), horizontalScrollBar()->value());
}

void EditPaneWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateTextArea();
}

void EditPaneWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const syntax::ColourTable& colours = m_services.syntax.colours();
    const QColor background = toQColor(colours.colour(syntax::ColourSlot::Background));
    const QRect dirty = event->rect();
    const int margin = marginWidth();
    if (margin > 0) {
        painter.fillRect(QRect(0, dirty.top(), margin, dirty.height()), palette().window());
    }
    // A run that begins left of the view (a character the view starts inside) stays out of the
    // margin.
    painter.setClipRect(QRect(margin, dirty.top(), viewport()->width() - margin, dirty.height()));
    const Document& doc = document();
    const bool utf8 = doc.encoding() == TextEncoding::Utf8;
    const int first = m_pane.firstColumn();
    const syntax::VisibleColumns visible{first, m_pane.lastVisibleColumn() + 1};
    const int firstRow = std::max(0, dirty.top() / m_cellHeight);
    const int lastRow = dirty.bottom() / m_cellHeight;
    std::array<QColor, syntax::kColourSlotCount> slotColours;
    for (std::size_t slot = 0; slot < slotColours.size(); ++slot) {
        slotColours[slot] = toQColor(colours.colour(static_cast<syntax::ColourSlot>(slot)));
    }
    QString text;
    bool behind = false;
    // The rows share one walk budget, so a paint of many long lines far from their colour points
    // costs no more than one.
    m_painter.beginPaint();
    // One fill for the whole area; runs paint only backgrounds that differ from it.
    painter.fillRect(QRect(margin, dirty.top(), viewport()->width() - margin, dirty.height()), background);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int index = m_pane.topLine() + row;
        const int y = row * m_cellHeight;
        if (index >= doc.lineCount() || !m_profile) {
            continue;
        }
        const std::string_view line = doc.lineText(index);
        const auto runs = m_painter.paintDocumentLine(doc, index, *m_profile, visible);
        behind = behind || m_painter.behind();
        for (const syntax::PaintRun& run : runs) {
            const qreal x = margin + (run.column - first) * m_cellWidth;
            const QRectF cells(x, y, run.width * m_cellWidth, m_cellHeight);
            const QColor& back = slotColours[static_cast<std::size_t>(run.background)];
            if (back != background) {
                painter.fillRect(cells, back);
            }
            if (run.content != syntax::RunContent::Text) {
                continue;
            }
            painter.setPen(slotColours[static_cast<std::size_t>(run.foreground)]);
            if (utf8) {
                drawUtf8Run(painter, line, run, y, text);
                continue;
            }
            text.resize(static_cast<qsizetype>(run.length));
            for (std::size_t i = 0; i < run.length; ++i) {
                text[static_cast<qsizetype>(i)] =
                    windows1252Char(static_cast<unsigned char>(line[run.offset + i]));
            }
            painter.drawText(QPointF(x, y + m_ascent), text);
        }
    }
    m_painter.endPaint();
    if (behind && !m_colourTimer->isActive()) {
        m_colourTimer->start();
    }
    // The glyphs of UTF-8 text, queued by the runs, go over every background at once.
    if (utf8) {
        m_glyphs.draw(painter, slotColours);
    }
    drawBracePair(painter, firstRow, lastRow,
                  slotColours[static_cast<std::size_t>(syntax::ColourSlot::Default)]);
    // The caret: a bar for inserting, a block for overwriting; hidden while the mouse marks.
    if (hasFocus() && !m_mouse.caretHidden()) {
        const QPoint centre = cellCentre(doc.cursorLine(), doc.cursorColumn());
        const int x = margin + qRound((doc.cursorColumn() - first) * m_cellWidth);
        const int y = centre.y() - m_cellHeight / 2;
        if (x >= margin) {
            const QColor caret = slotColours[static_cast<std::size_t>(syntax::ColourSlot::Default)];
            if (m_services.processor.editSettings().insertMode) {
                painter.fillRect(QRect(x, y, 2, m_cellHeight), caret);
            } else {
                // The block covers the character under the cursor: two cells for a wide one.
                int cells = 1;
                if (doc.cursorWithin() && doc.characterLength(doc.cursorOffset()) > 1) {
                    const int next = doc.nextCharacterOffset(doc.cursorOffset());
                    cells = std::max(1, doc.columnOfOffset(doc.cursorLine(), next) -
                                            doc.cursorColumn());
                }
                painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                painter.fillRect(QRect(x, y, qRound(m_cellWidth * cells), m_cellHeight), Qt::white);
            }
        }
    }
}

bool EditPaneWidget::colouringBehind() const {
    return m_colourTimer->isActive();
}

void EditPaneWidget::colourSlice() {
    const Document& doc = document();
    if (m_profile) {
        const syntax::VisibleColumns visible{m_pane.firstColumn(), m_pane.lastVisibleColumn() + 1};
        const int end = std::min(doc.lineCount(), m_pane.lastVisibleLine() + 1);
        for (int index = std::max(m_pane.topLine(), 0); index < end; ++index) {
            // A line whose walk the budget stopped takes the whole slice.
            if (!m_painter.walkOn(doc, index, *m_profile, visible, syntax::LinePainter::kWalkBudget)) {
                return;
            }
        }
    }
    m_colourTimer->stop();
    viewport()->update();
}

void EditPaneWidget::drawBracePair(QPainter& painter, int firstRow, int lastRow, const QColor& colour) {
    const Document& doc = document();
    m_bracePair = navigation::bracePairAt(doc, doc.cursorLine(), doc.cursorOffset());
    if (!m_bracePair) {
        return;
    }
    painter.save();
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    for (const auto& [line, offset] : {std::pair{m_bracePair->line, m_bracePair->offset},
                                       std::pair{m_bracePair->partnerLine, m_bracePair->partnerOffset}}) {
        const int row = line - m_pane.topLine();
        if (row < firstRow || row > lastRow) {
            continue;
        }
        const int column = doc.line(line).columnOfOffset(offset, doc.layout());
        const qreal x = marginWidth() + (column - m_pane.firstColumn()) * m_cellWidth;
        painter.drawRect(QRectF(x + 0.5, row * m_cellHeight + 0.5, m_cellWidth - 1, m_cellHeight - 1));
    }
    painter.restore();
}

void EditPaneWidget::drawUtf8Run(QPainter& painter, std::string_view line, const syntax::PaintRun& run,
                                 qreal y, QString& text) {
    const int margin = marginWidth();
    const int first = m_pane.firstColumn();
    const int last = m_pane.lastVisibleColumn() + 1;
    const qreal baseline = y + m_ascent;
    // Every character at its own cells, so that the font's advance cannot shift what follows.
    // Glyphs are queued for one draw after all rows; a character that is not one glyph is drawn
    // now.
    int column = run.column;
    const std::size_t end = run.offset + run.length;
    for (std::size_t at = run.offset; at < end && column <= last;) {
        const auto lead = static_cast<unsigned char>(line[at]);
        char32_t character = lead;
        int cells = 1;
        std::size_t length = 1;
        if (lead >= 0x80) {
            // A byte that is no part of a valid sequence shows as the replacement character.
            const text::Decoded decoded = text::decodeUtf8(line, at);
            character = decoded.character;
            cells = text::cellWidth(character);
            length = static_cast<std::size_t>(decoded.length);
        }
        if (column + cells > first) {
            const QPointF origin(margin + (column - first) * m_cellWidth, baseline);
            if (!m_glyphs.queue(character, cells, origin, run.foreground)) {
                text.resize(0);
                appendCharacter(text, character);
                painter.drawText(origin, text);
            }
        }
        column += cells;
        at += length;
    }
}

bool EditPaneWidget::event(QEvent* event) {
    // A key the keymap binds goes to the keymap before any menu shortcut or mnemonic.
    if (event->type() == QEvent::ShortcutOverride && keymapClaims(m_services.keys, *static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

bool EditPaneWidget::focusNextPrevChild(bool) {
    return false;
}

void EditPaneWidget::keyPressEvent(QKeyEvent* event) {
    if (sendThroughKeyRoad({m_services.keys, m_services.keyState}, *event)) {
        syncCaret();
        return;
    }
    // With the Common habit F10, when no binding claims it, opens the menu bar at its first menu.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::NoModifier &&
        m_services.options.editor().menuKey != 0) {
        if (auto* frame = qobject_cast<QMainWindow*>(window()); frame != nullptr && !frame->menuBar()->actions().isEmpty()) {
            frame->menuBar()->setActiveAction(frame->menuBar()->actions().front());
        }
        return;
    }
    const QString text = event->text();
    const CharacterModifiers modifiers{event->modifiers().testFlag(Qt::AltModifier),
                                       event->modifiers().testFlag(Qt::ControlModifier)};
    for (const char32_t c : text.toUcs4()) {
        // Control characters come from unbound Ctrl keys; they type nothing.
        if (c < 0x20 || c == 0x7F) {
            continue;
        }
        (void)m_services.processor.typeCharacter(c, modifiers);
    }
    syncCaret();
}

void EditPaneWidget::keyReleaseEvent(QKeyEvent* event) {
    (void)sendThroughKeyRoad({m_services.keys, m_services.keyState}, *event);
}

void EditPaneWidget::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    emit activated(this);
    syncCaret();
}

PaneCell EditPaneWidget::cellAt(QPoint point) const {
    const qreal x = point.x() - marginWidth();
    const int column = static_cast<int>(std::floor(x / m_cellWidth));
    const int row = static_cast<int>(std::floor(static_cast<qreal>(point.y()) / m_cellHeight));
    return {row, column};
}

bool EditPaneWidget::insideTextArea(QPoint point) const {
    return viewport()->rect().contains(point) && point.x() >= marginWidth();
}

MouseModifiers EditPaneWidget::mouseModifiers() const {
    return {m_pressModifiers.testFlag(Qt::ControlModifier), m_pressModifiers.testFlag(Qt::ShiftModifier),
            m_pressModifiers.testFlag(Qt::AltModifier)};
}

void EditPaneWidget::afterMouse() {
    syncCaret();
    viewport()->update();
}

void EditPaneWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        // As in every program of the desktop: the cursor goes to the clicked cell and the primary
        // selection is pasted there.
        const PaneCell cell = cellAt(event->position().toPoint());
        m_mouse.press(cell);
        m_mouse.release(cell);
        (void)m_services.primary.paste(m_services.processor);
        afterMouse();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_pressModifiers = event->modifiers();
        m_lastPointer = event->position().toPoint();
        m_mouse.press(cellAt(m_lastPointer), mouseModifiers());
        afterMouse();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void EditPaneWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!event->buttons().testFlag(Qt::LeftButton)) {
        return;
    }
    m_lastPointer = event->position().toPoint();
    const bool inside = insideTextArea(m_lastPointer);
    m_mouse.move(cellAt(m_lastPointer), mouseModifiers(), inside);
    // Outside the text area the view keeps scrolling towards the pointer while it stays there.
    if (inside) {
        m_autoScrollTimer->stop();
    } else if (!m_autoScrollTimer->isActive()) {
        m_autoScrollTimer->start();
    }
    afterMouse();
}

void EditPaneWidget::autoScroll() {
    if (!m_mouse.isDragging() || insideTextArea(m_lastPointer)) {
        m_autoScrollTimer->stop();
        return;
    }
    m_mouse.move(cellAt(m_lastPointer), mouseModifiers(), false);
    afterMouse();
}

void EditPaneWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_autoScrollTimer->stop();
    m_mouse.release(cellAt(event->position().toPoint()));
    afterMouse();
}

void EditPaneWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_mouse.doubleClick(cellAt(event->position().toPoint()));
        afterMouse();
    }
}

void EditPaneWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (m_services.contextMenu != nullptr) {
        m_services.contextMenu->popup(event->globalPos());
    }
}

} // namespace vexa::ui
