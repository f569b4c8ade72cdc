// The document area of the Qt main window: one child window per workspace window and per output
// window, the active pane's state on the status line after each input, printing and the font of
// the panes. It is the workspace's view and the output windows' host.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "frame/Frame.h"
#include "session/WorkspaceView.h"
#include "toolchain/OutputWindows.h"

class QFont;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPagedPaintDevice;
class QSize;
class QTimer;

namespace vexa {
class CommandProcessor;
class Editor;
class Options;
class PrimarySelection;
class StatusLine;
class Workspace;
} // namespace vexa

namespace vexa::ui {

class EditPaneWidget;
class KeyRoad;
class OutputWindowWidget;
class QtKeyState;

// What the document area asks of the main window's other parts; the main window answers each from
// the part that owns it.
struct DocumentAreaParts {
    // The recent-file items of the File menu changed.
    std::function<void()> refreshRecentFiles;
    // The context menu of the document windows.
    std::function<QMenu*()> contextMenu;
};

class DocumentArea final : public QObject, public WorkspaceView, public toolchain::OutputWindowHost {
    Q_OBJECT

public:
    // The area is the window's central widget. The editor is the main window's: null while it is
    // being put together. The window, the options, the key state, the selection and the frame
    // outlive the area.
    DocumentArea(QMainWindow& window, Options& options, QtKeyState& keyState, PrimarySelection& primary,
                 const std::unique_ptr<Editor>& editor, Frame& frame, DocumentAreaParts parts);
    ~DocumentArea() override;

    QMdiArea* documentArea() const { return m_documentArea; }
    EditPaneWidget* activePane() const;
    std::vector<EditPaneWidget*> paneWidgets() const;
    // Deletes the document and output windows while the editor's services still live.
    void deleteWindows();

    // A font chosen in the Options > Font dialog: kept in "Font Details" and given to every pane.
    void applyFontChoice(const QFont& font);
    // Prints the active document, or its marked lines, on a printer (or a PDF writer); the number
    // of pages.
    int printActive(QPagedPaintDevice& device, bool markedOnly);
    void arrangeWindows(WindowArrangement arrangement);
    // The document-state panes and the window titles after a command, a key or a mouse action.
    void afterInput();
    // The same after a function: the active pane's caret first.
    void syncActivePane();

    // WorkspaceView
    void windowOpened(EditPane& pane) override;
    void windowClosed(std::unique_ptr<EditPane> pane) override;
    void windowActivated(EditPane& pane) override;
    void windowChanged(EditPane& pane) override;
    void recentFilesChanged() override;
    void exitRequested() override;

    // OutputWindowHost
    void showOutputWindow(toolchain::OutputWindow& window) override;
    void outputLinesChanged(toolchain::OutputWindow& window) override;
    void outputSelectionChanged(toolchain::OutputWindow& window) override;

protected:
    // A document window's own close button goes through the save question too.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The editor's parts the windows work with.
    CommandProcessor& processor() const;
    StatusLine& statusLine() const;
    Workspace& workspace() const;
    KeyRoad& keys() const;
    QMdiSubWindow* windowOf(const EditPane& pane) const;
    EditPaneWidget* widgetOf(const EditPane& pane) const;
    OutputWindowWidget* outputWidgetOf(toolchain::OutputKind kind) const;
    void subWindowActivated(QMdiSubWindow* window);
    // The size a document window needs to show 80 columns and 25 lines in the editor's font.
    QSize usefulWindowSize() const;

    QMainWindow& m_window;
    Options& m_options;
    QtKeyState& m_keyState;
    PrimarySelection& m_primary;
    const std::unique_ptr<Editor>& m_editor;
    Frame& m_frame;
    DocumentAreaParts m_parts;
    QMdiArea* m_documentArea;
    QTimer* m_primaryTimer = nullptr; // the selection follows the mark once keys and drags pause
};

} // namespace vexa::ui
