// The edit pane widget: shows one document through its pane model in character cells, draws the
// painter's runs in the colour table's colours, and forwards keys and the mouse to the editor.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <memory>
#include <optional>
#include <string_view>

#include "commands/EditPane.h"
#include "commands/PaneMouse.h"
#include "navigation/NavigationCommands.h"
#include "syntax/LinePainter.h"
#include "ui/CellGlyphs.h"

class QMenu;
class QPainter;

namespace vexa {
class CommandProcessor;
class Options;
class PrimarySelection;
class Workspace;
namespace syntax {
class SyntaxProfile;
class SyntaxSettings;
} // namespace syntax
} // namespace vexa

namespace vexa::ui {

class KeyRoad;
class QtKeyState;

// The font the panes draw with, from the "Font Details" of the options; its style name is the one
// the font matched, so that a font dialog opens on it.
QFont editorFont(const Options& options);

// What every pane works with; all outlive the panes.
struct PaneServices {
    CommandProcessor& processor;
    KeyRoad& keys;
    QtKeyState& keyState;
    Options& options;
    syntax::SyntaxSettings& syntax;
    Workspace& workspace;
    // A middle click pastes it at the clicked cell.
    PrimarySelection& primary;
    QMenu* contextMenu = nullptr;
};

class EditPaneWidget final : public QAbstractScrollArea, public PaneObserver {
    Q_OBJECT

public:
    // Shows a pane of the workspace; the workspace owns it until its window closes.
    EditPaneWidget(PaneServices services, EditPane& pane, QWidget* parent = nullptr);
    ~EditPaneWidget() override;

    EditPane& pane() { return m_pane; }
    Document& document() { return m_pane.document(); }

    // The window closed: the pane lives on until this widget goes.
    void adoptClosedPane(std::unique_ptr<EditPane> pane) { m_closedPane = std::move(pane); }

    // Takes the document's colouring profile from the workspace again (after a load or rename).
    void chooseProfile();
    // Takes the font of the options again.
    void applyFont();
    // Moves the drawn caret to the document's cursor and repaints what changed.
    void syncCaret();

    // Cell geometry, for tests and for the benchmark.
    qreal cellWidth() const { return m_cellWidth; }
    int cellHeight() const { return m_cellHeight; }
    int marginWidth() const;
    // The viewport point at the middle of a cell of the view.
    QPoint cellCentre(int line, int column) const;
    // Whether a long line in view is shown uncoloured while its colouring goes on in slices.
    bool colouringBehind() const;

    // PaneObserver
    void extentChanged(int lines, int width) override;
    void viewScrolled() override;
    void repaintAll() override;
    void repaintLine(int index) override;

signals:
    void activated(EditPaneWidget* pane);
    // A key or mouse action went to the editor.
    void inputHandled();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    void updateTextArea();
    void updateScrollBars();
    QRect lineRect(int index) const;
    // The text-area cell of a viewport point (negative or beyond the area outside it).
    PaneCell cellAt(QPoint point) const;
    bool insideTextArea(QPoint point) const;
    MouseModifiers mouseModifiers() const;
    void afterMouse();
    void autoScroll();
    // One slice of the colouring of the long lines in view that a paint left behind; repaints
    // when their colour points reach the view.
    void colourSlice();
    // Draws a UTF-8 text run with every character at its own cells; text is a reused buffer.
    void drawUtf8Run(QPainter& painter, std::string_view line, const syntax::PaintRun& run, qreal y,
                     QString& text);
    // Frames the brace beside the cursor and its partner where they are in rows [firstRow, lastRow].
    void drawBracePair(QPainter& painter, int firstRow, int lastRow, const QColor& colour);

    PaneServices m_services;
    std::unique_ptr<EditPane> m_closedPane; // declared first: it outlives everything that uses it
    EditPane& m_pane;
    std::shared_ptr<syntax::SyntaxProfile> m_profile;
    syntax::LinePainter m_painter;
    qreal m_cellWidth = 8.0;
    int m_cellHeight = 16;
    int m_ascent = 12;
    int m_caretLine = 0;
    // The brace pair last framed, so that a cursor move clears its lines.
    std::optional<navigation::BracePair> m_bracePair;
    CellGlyphs m_glyphs;
    bool m_syncingScrollBars = false;
    PaneMouse m_mouse;
    Qt::KeyboardModifiers m_pressModifiers;
    QPoint m_lastPointer;
    class QTimer* m_autoScrollTimer = nullptr;
    class QTimer* m_colourTimer = nullptr;
};

} // namespace vexa::ui
