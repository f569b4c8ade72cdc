// The editor's main window: the frame that holds the document windows, the menus built from the
// menu data, the toolbar and the status bar; it serves the frame and document-window ports.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "core/DocumentFile.h"
#include "frame/Frame.h"
#include "frame/StatusLine.h"
#include "keyboard/KeyRoad.h"
#include "keyboard/MenuKeyTexts.h"
#include "keyboard/PrefixKeyList.h"
#include "platform/Clock.h"
#include "session/StartupHistory.h"
#include "syntax/SyntaxSettings.h"
#include "ui/QtClipboard.h"
#include "ui/QtKeyState.h"
#include "ui/QtSoundPlayer.h"

class QAction;
class QDialog;
class QFont;
class QPagedPaintDevice;
class QPrinter;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;

namespace vexa {
class Options;
}

namespace vexa::ui {

class EditPaneWidget;
class SearchDialog;

class MainWindow final : public QMainWindow, public Frame, public DocumentWindows, public StatusLineObserver {
    Q_OBJECT

public:
    // The options outlive the window; they are saved by the owner after the window closed.
    explicit MainWindow(Options& options, QWidget* parent = nullptr);
    ~MainWindow() override;

    QMdiArea* documentArea() const { return m_documentArea; }
    CommandProcessor& processor() { return m_processor; }
    StatusLine& statusLine() { return m_statusLine; }
    StartupHistory& history() { return m_history; }
    KeyRoad& keys() { return m_keys; }
    QtKeyState& keyState() { return m_keyState; }
    // The text a status-bar pane shows now.
    QString statusText(StatusPane pane) const;
    // The menu action of a command identifier; null when the menus have none.
    QAction* action(uint32_t commandId) const;
    QMenu* contextMenu() const { return m_contextMenu; }
    QMenu* windowMenu() const { return m_windowMenu; }
    // The open Find or Replace dialog; null when none is open.
    QDialog* searchDialog() const;
    EditPaneWidget* activePane() const;
    std::vector<EditPaneWidget*> paneWidgets() const;

    // A font chosen in the Options > Font dialog: kept in "Font Details" and given to every pane.
    void applyFontChoice(const QFont& font);

    // Prints the active document, or its marked lines, on the window's printer (or a PDF writer);
    // the number of pages.
    int printActive(QPagedPaintDevice& device, bool markedOnly);

    // The options changed in a dialog: the processor, the status line and every pane follow them.
    void optionsChanged();

    // Runs a menu command: the processor first, the window's own commands when it has none.
    void runCommand(uint32_t commandId);

    // Opens a document at a 1-based line (0 leaves the cursor); an empty path makes a new one.
    EditPane* openDocumentAt(const std::string& path, int line) override;
    // Brings the window forward and opens the file a second start handed over; a record that
    // could not be read is reported.
    void acceptHandOff(const std::optional<HandOff>& handOff);
    // The files of the command line and the remembered startup files.
    void openStartupFiles(std::span<const std::string> arguments);

    // Questions and message boxes go to this function instead of a dialog when it is set (tests,
    // and runs without a user).
    using Responder = std::function<Answer(std::string_view text, std::string_view title)>;
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // The file dialogs' answers likewise: the chosen paths, empty for Cancel.
    using FileChooser = std::function<std::vector<std::string>(const FileDialogRequest& request)>;
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    // A dialog opened by a menu command, shown to a test instead of run (null: run it).
    using DialogRunner = std::function<int(QDialog& dialog)>;
    void setDialogRunner(DialogRunner runner) { m_dialogRunner = std::move(runner); }

    // Frame
    void status(std::string_view text, platform::SoundKind sound, Hold hold = Hold::No) override;
    void messageBox(std::string_view text, std::string_view title = kErrorTitle) override;
    Answer ask(std::string_view text, std::string_view title, Question kind = Question::YesNo) override;
    void beginBusy() override;
    void endBusy() override;
    void drainEvents() override;
    [[nodiscard]] std::vector<std::string> chooseFilesToOpen(const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
    void beep(platform::SoundKind kind) override;
    [[nodiscard]] TimerId startTimer(uint32_t intervalMs, std::function<void()> tick) override;
    void stopTimer(TimerId id) override;
    [[nodiscard]] DialogResult showDialog(DialogModel& model) override;
    void showSearchDialog(std::unique_ptr<SearchDialogSession> dialog) override;
    void closeSearchDialog() override;

    // DocumentWindows
    EditPane* newDocument() override;
    EditPane* openDocument(const std::string& path) override;
    bool closeActive() override;
    std::vector<EditPane*> panes() override;
    std::string recentFile(int functionId) override;
    void exitApplication() override;
    void documentRenamed(Document& document, bool extensionChanged) override;

    // StatusLineObserver
    void paneChanged(StatusPane pane, std::string_view text) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void refreshMenuKeyTexts();
    void refreshRecentFiles();
    void refreshWindowList();
    void showHint(QAction* action);
    bool handleWindowCommand(uint32_t commandId);
    EditPane* addWindow(std::unique_ptr<Document> document);
    // Asks whether to save a modified document; false when the user cancelled or saving failed.
    bool confirmClose(EditPaneWidget& pane);
    void windowActivated(QMdiSubWindow* window);
    void paneDestroyed(EditPaneWidget* pane);
    void idleBackup();
    // The document-state panes of the status line after a command or key.
    void updateIndicators();
    void checkOutsideChanges();
    FileOptions fileOptions() const;

    Options& m_options;
    platform::SystemClock m_clock;
    QtSoundPlayer m_sound;
    QtKeyState m_keyState;
    QtClipboard m_clipboard;
    StatusLine m_statusLine;
    syntax::SyntaxSettings m_syntax;
    CommandProcessor m_processor;
    KeyRoad m_keys;
    StartupHistory m_history;
    PrefixKeyList m_prefixes;
    MenuBarTexts m_menuTexts;
    SearchDialog* m_searchDialog = nullptr;
    std::unique_ptr<QPrinter> m_printer;

    QMdiArea* m_documentArea;
    QMenu* m_contextMenu = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    std::map<uint32_t, QAction*> m_actions;
    std::vector<QAction*> m_recentActions;
    std::vector<QAction*> m_windowListActions;
    std::array<QLabel*, kStatusPaneCount> m_statusLabels{};
    QTimer* m_statusTimer = nullptr;
    QTimer* m_idleTimer = nullptr;
    std::map<TimerId, QTimer*> m_timers;
    TimerId m_nextTimer = 1;
    int m_busy = 0;
    // When pending events were last handled for a long operation (see drainEvents).
    QElapsedTimer m_lastDrain;
    bool m_closingAll = false;
    bool m_checkingOutside = false;
    Responder m_responder;
    FileChooser m_fileChooser;
    DialogRunner m_dialogRunner;
};

} // namespace vexa::ui
