// The document windows as the file functions need them: open, create, close, list, exit.
#pragma once

#include <string>
#include <vector>

namespace vexa {

class Document;
class EditPane;

// Implemented by the main window. Each document window owns its pane and its document; the
// processor only keeps the active pane, which the window reports through activatePane.
class DocumentWindows {
public:
    virtual ~DocumentWindows() = default;
    // Opens a window over a new document; null when no window could be made.
    virtual EditPane* newDocument() = 0;
    // Opens a window over the file at a full path (or activates the one showing it).
    virtual EditPane* openDocument(const std::string& path) = 0;
    // The same, then the cursor on a 1-based line (0 leaves it) as one closed undo step.
    virtual EditPane* openDocumentAt(const std::string& path, int line) = 0;
    // Closes the active document window after the frame's own save question.
    virtual bool closeActive() = 0;
    // Every open document window, in window order.
    virtual std::vector<EditPane*> panes() = 0;
    // The full path the File menu's recent-file item with this identifier shows; empty if none.
    virtual std::string recentFile(int functionId) = 0;
    // Closes the main window.
    virtual void exitApplication() = 0;
    // A document was saved under a new name: its window title changes and, when the extension
    // changed, its syntax profile and template set are chosen anew.
    virtual void documentRenamed(Document& /*document*/, bool /*extensionChanged*/) {}
    // A document whose file is still being read in slices: waits (busy cursor) until it holds
    // more than `lines` lines or its load has ended. Escape stops the wait and the load. True when
    // the document then holds more than `lines` lines.
    virtual bool waitForLines(Document& /*document*/, int /*lines*/) { return false; }
};

} // namespace vexa
