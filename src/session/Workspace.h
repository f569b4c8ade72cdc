// The open documents and their windows: opening, closing with the save question, the window order,
// recent and startup files, the hand-off from a second start, the idle backup and the check for
// changes made by other programs.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "commands/DocumentWindows.h"
#include "core/DocumentFile.h"
#include "session/DocumentLoads.h"
#include "session/StartupCommandLine.h"

namespace vexa {

class CommandProcessor;
class ActiveKeymap;
class DocumentRecovery;
class EditPane;
class Frame;
class Options;
class StartupHistory;
class StatusLine;
class WorkspaceView;
namespace platform {
class Clock;
class KeyState;
} // namespace platform
namespace syntax {
class SyntaxProfile;
class SyntaxSettings;
} // namespace syntax

inline constexpr const char* kSaveQuestion =
    "The '%s' file has been modified.\nDo you want to save the changes?";
inline constexpr const char* kUntitled = "Untitled";

// What the workspace works with; all outlive it.
struct WorkspaceServices {
    Frame& frame;
    WorkspaceView& view;
    Options& options;
    CommandProcessor& processor;
    StatusLine& statusLine;
    StartupHistory& history;
    syntax::SyntaxSettings& syntax;
    const ActiveKeymap& keymaps; // the Shift-marking rule of the active keymap
    const platform::Clock& clock;
    // Polled for Escape while a function waits for a file to load; may be null.
    platform::KeyState* keys = nullptr;
};

class Workspace final : public DocumentWindows {
public:
    explicit Workspace(WorkspaceServices services);
    ~Workspace() override;
    // Tells the processor, and through it the function families, that every window goes, while
    // the families still live; the destructor then does not tell again.
    void announceShutdown();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // DocumentWindows
    EditPane* newDocument() override;
    EditPane* openDocument(const std::string& path) override;
    EditPane* openDocumentAt(const std::string& path, int line) override;
    bool closeActive() override;
    std::vector<EditPane*> panes() override;
    std::string recentFile(int functionId) override;
    void exitApplication() override;
    void documentRenamed(Document& document, bool extensionChanged) override;
    bool waitForLines(Document& document, int lines) override;

    // The files loading in slices (enabled by the window's editor).
    DocumentLoads& loads() { return m_loads; }

    // The active window; null when none is open.
    EditPane* active() const { return m_active; }
    // Makes a window the active one and tells the view (for the functions).
    void activate(EditPane& pane);
    // The view activated a window (the user clicked it): the processor and the status line follow.
    void windowActivatedByUser(EditPane& pane);
    // The next or previous window in window order, wrapping around; nothing with fewer than two.
    void activateNext();
    void activatePrevious();

    // Closes one window after the save question; false when the user cancelled or saving failed.
    bool close(EditPane& pane);
    // WindowCloseAll: closes the windows one by one until the user cancels one.
    bool closeAll();
    // Closes every window to leave the editor, remembering the open files as startup files; false
    // (and everything still open) when the user cancelled.
    bool closeAllForExit();

    // The title of a window: the file name (or "Untitled"), "*" when modified, " (RO)" when
    // read-only.
    std::string title(const EditPane& pane) const;
    // The colouring profile of a window's document.
    std::shared_ptr<syntax::SyntaxProfile> profileOf(const EditPane& pane) const;
    // The titles and state of the open windows changed (after any function or key): tells the
    // view of every window whose title changed.
    void refreshTitles();

    // The options, colours, font or extension profiles changed in a dialog: the processor, the
    // status line and every window follow them.
    enum class Profiles : uint8_t { Keep, ChooseAgain };
    void optionsChanged(Profiles profiles);

    // The files of the command line and the remembered startup files.
    void openStartupFiles(std::span<const std::string> arguments);
    // A second start handed over a file (or only asked to be brought forward), a file was dropped
    // on the window or the open command came; a record that could not be read is reported. Such a
    // request may arrive inside a nested event loop (a message box, events handled during a load
    // or a backup, a script's yield, macro playback): it is queued, and the file opens from the
    // top level, never under a loop over the windows or a running function.
    void acceptHandOff(const std::optional<HandOff>& handOff);
    // Handles the queued requests when nothing runs below the top-level event loop; the front
    // end calls it from its event loop (the link poll), and the workspace's own loops when they end.
    void runQueuedRequests();
    // Idle work: the automatic backup of modified documents.
    void idleBackup();
    // The application was activated again: each window's file is checked for outside changes.
    void checkOutsideChanges();

    FileOptions fileOptions() const;
    // The journals of the open documents (none set: nothing is journalled).
    void setRecovery(DocumentRecovery* recovery) { m_recovery = recovery; }

private:
    struct Window {
        std::unique_ptr<EditPane> pane;
        std::shared_ptr<syntax::SyntaxProfile> profile;
        std::string shownTitle;
    };

    EditPane* addWindow(std::unique_ptr<Document> document, std::shared_ptr<syntax::SyntaxProfile> profile);
    Window* find(const EditPane& pane);
    const Window* find(const EditPane& pane) const;
    void chooseProfile(Window& window);
    void activateAt(std::size_t index);
    // Asks whether to save a modified document; false when the user cancelled or saving failed.
    bool confirmClose(EditPane& pane);
    bool closeWindow(EditPane& pane, bool forExit);
    void showPosition();
    // Opens a large file in slices: its first blocks, and the blocks up to the 1-based line the
    // window opens at, are read and the window shows them; the rest loads from the top-level event
    // loop. Null when the file is not one to load so.
    EditPane* openInSlices(std::unique_ptr<Document>& document, std::shared_ptr<syntax::SyntaxProfile>& profile,
                           bool editable, int line);
    // The loads' turn from the top-level event loop: a slice of each, and the ended ones reported.
    void loadTick();
    // Held by every workspace function that loops over the windows or may wait in a nested event
    // loop; when the last one ends at the top level, the queued requests run.
    class LoopGuard;
    bool atTopLevel() const;
    // The open windows' panes as they are now: a loop that may reach a nested event loop walks
    // these and skips a pane that has gone meanwhile.
    bool isOpen(const EditPane* pane) const;

    WorkspaceServices m_services;
    std::vector<Window> m_windows; // window order: the order they were opened in
    bool m_shutdownAnnounced = false;
    EditPane* m_active = nullptr;
    bool m_closingAll = false;
    bool m_checkingOutside = false;
    int m_loopDepth = 0;
    std::vector<HandOff> m_queuedOpens;
    DocumentRecovery* m_recovery = nullptr;
    // After the windows: the loads go first, while the documents they read into are there.
    DocumentLoads m_loads;
};

} // namespace vexa
