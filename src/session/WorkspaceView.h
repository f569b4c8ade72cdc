// What the window system shows of the workspace: one document-area child window per workspace window.
#pragma once

#include <memory>

namespace vexa {

class EditPane;

// Implemented by the Qt main window, and by a recording view in tests and batch runs. The
// workspace owns the panes; the view only shows them and tells the workspace what the user did.
class WorkspaceView {
public:
    virtual ~WorkspaceView() = default;
    // A new window over the pane; it becomes the active one.
    virtual void windowOpened(EditPane& pane) = 0;
    // The pane's window goes. The view takes the pane and destroys it with its window, which may
    // still be handling the event that closed it.
    virtual void windowClosed(std::unique_ptr<EditPane> pane) = 0;
    // The pane's window becomes the active one.
    virtual void windowActivated(EditPane& pane) = 0;
    // The pane's title or its colouring profile changed.
    virtual void windowChanged(EditPane& pane) = 0;
    // The recent-file items of the File menu changed.
    virtual void recentFilesChanged() = 0;
    // The user asked to leave the editor: the view closes the main window, which closes the
    // workspace's windows first.
    virtual void exitRequested() = 0;
};

} // namespace vexa
