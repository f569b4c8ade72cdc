// The editor's main window: puts the editor together with its rooms and owns them — the frame port
// (QtFrame), the document area that shows the workspace's windows and the output windows
// (DocumentArea), and the menus, toolbar and status bar (MenuBar). Every menu item, button and key
// goes to the command processor; the window decides nothing about what a function does.
#pragma once

#include <QMainWindow>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "commands/PrimarySelection.h"
#include "frame/Frame.h"
#include "frame/StatusLine.h"
#include "platform/Clock.h"
#include "platform/posix/PosixProcess.h"
#include "session/Editor.h"
#include "ui/DocumentArea.h"
#include "ui/MenuBar.h"
#include "ui/QtClipboard.h"
#include "ui/QtFrame.h"
#include "ui/QtKeyState.h"
#include "ui/QtSoundPlayer.h"
#include "ui/SearchKeyState.h"

class QAction;
class QDialog;
class QFont;
class QPagedPaintDevice;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;

namespace vexa {
class Options;
}

namespace vexa::ui {

class EditPaneWidget;

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    // The options outlive the window; they are saved by the owner after the window closed.
    explicit MainWindow(Options& options, QWidget* parent = nullptr);
    ~MainWindow() override;

    Editor& editor() { return *m_editor; }
    CommandProcessor& processor() { return m_editor->processor(); }
    StatusLine& statusLine() { return m_editor->statusLine(); }
    StartupHistory& history() { return m_editor->history(); }
    KeyRoad& keys() { return m_editor->keys(); }
    Workspace& workspace() { return m_editor->workspace(); }
    QtKeyState& keyState() { return m_keyState; }
    PrimarySelection& primarySelection() { return m_primary; }

    QMdiArea* documentArea() const { return m_area->documentArea(); }
    QToolBar* toolBar() const { return m_menus->toolBar(); }
    // The text a status-bar pane shows now.
    QString statusText(StatusPane pane) const { return m_menus->statusText(pane); }
    // The menu action of a command identifier; null when the menus have none.
    QAction* action(uint32_t commandId) const { return m_menus->action(commandId); }
    QMenu* contextMenu() const { return m_menus->contextMenu(); }
    QMenu* windowMenu() const { return m_menus->windowMenu(); }
    // The open Find or Replace dialog; null when none is open.
    QDialog* searchDialog() const { return m_frame->searchDialog(); }
    EditPaneWidget* activePane() const { return m_area->activePane(); }
    std::vector<EditPaneWidget*> paneWidgets() const { return m_area->paneWidgets(); }

    // A font chosen in the Options > Font dialog: kept in "Font Details" and given to every pane.
    void applyFontChoice(const QFont& font) { m_area->applyFontChoice(font); }
    // Prints the active document, or its marked lines, on a printer (or a PDF writer); the number
    // of pages.
    int printActive(QPagedPaintDevice& device, bool markedOnly) { return m_area->printActive(device, markedOnly); }

    // Runs a menu command, as the menus, the toolbar and the context menu do.
    void runCommand(uint32_t commandId);

    // Opens a document at a 1-based line (0 leaves the cursor); an empty path makes a new one.
    EditPane* openDocumentAt(const std::string& path, int line);
    // Brings the window forward and lets the workspace open what a second start handed over.
    void acceptHandOff(const std::optional<HandOff>& handOff);
    // Opens the files handed over, dropped or asked for while a nested event loop ran.
    void runQueuedRequests();
    // The files of the command line and the remembered startup files.
    void openStartupFiles(std::span<const std::string> arguments);

    // Questions and message boxes go to this function instead of a dialog when it is set (tests,
    // and runs without a user).
    using Responder = QtFrame::Responder;
    void setResponder(Responder responder) { m_frame->setResponder(std::move(responder)); }
    // The file dialogs' answers likewise: the chosen paths, empty for Cancel.
    using FileChooser = QtFrame::FileChooser;
    void setFileChooser(FileChooser chooser) { m_frame->setFileChooser(std::move(chooser)); }
    // A dialog opened by a command, shown to a test instead of run (null: run it).
    using DialogRunner = QtFrame::DialogRunner;
    void setDialogRunner(DialogRunner runner) { m_frame->setDialogRunner(std::move(runner)); }

    // The frame port's messages.
    void status(std::string_view text, platform::SoundKind sound, Hold hold = Hold::No) {
        m_frame->status(text, sound, hold);
    }
    void messageBox(std::string_view text, std::string_view title = kErrorTitle) {
        m_frame->messageBox(text, title);
    }

    // Shows an output window, as the output windows' host does.
    void showOutputWindow(toolchain::OutputWindow& window) { m_area->showOutputWindow(window); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Files dropped on the window open as documents.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    Options& m_options;
    platform::SystemClock m_clock;
    QtSoundPlayer m_sound;
    QtKeyState m_keyState;
    SearchKeyState m_searchKeys{m_keyState};
    QtClipboard m_clipboard;
    QtClipboard m_selectionClipboard{ClipboardMode::Selection};
    PrimarySelection m_primary{m_selectionClipboard};
    platform::PosixProcessLauncher m_launcher;
    // The rooms are built before the editor, which works through them, and go after it. Each
    // knows the others only through what the window hands it here.
    std::unique_ptr<MenuBar> m_menus;
    std::unique_ptr<QtFrame> m_frame;
    std::unique_ptr<DocumentArea> m_area;
    std::unique_ptr<Editor> m_editor;
    QTimer* m_statusTimer = nullptr;
    QTimer* m_idleTimer = nullptr;
};

} // namespace vexa::ui
