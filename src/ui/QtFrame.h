// The frame port of the Qt main window: messages and questions, the busy cursor, event draining,
// the file choosers, timers, the frame's own dialogs, the model dialogs and the Find or Replace
// dialog. What it needs of the window's other parts it asks through the hooks the window gives it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "frame/Frame.h"

class QDialog;
class QFont;
class QMainWindow;
class QPagedPaintDevice;
class QPrinter;
class QTimer;

namespace vexa {
class Editor;
class Options;
class StatusLine;
class StatusLineObserver;
} // namespace vexa

namespace vexa::ui {

class EditPaneWidget;
class KeyRoad;
class QtSoundPlayer;
class SearchDialog;

// What the frame port asks of the main window's other parts; the main window answers each from the
// part that owns it.
struct FrameWindowParts {
    // Lays out the document windows.
    std::function<void(WindowArrangement)> arrangeWindows;
    // Shows or hides the tool bar or the status bar.
    std::function<void(FrameBar, bool)> showBar;
    // Prints the active document, or its marked lines: the number of pages.
    std::function<int(QPagedPaintDevice&, bool markedOnly)> printActive;
    // A font chosen in the Font dialog: kept and given to every pane.
    std::function<void(const QFont&)> applyFontChoice;
    // The key texts of the menu items, after the keymap changed.
    std::function<void()> refreshMenuKeyTexts;
    // The active pane's caret and the document-state panes, after a search.
    std::function<void()> syncActivePane;
    // The pane of the active document window; null when none.
    std::function<EditPaneWidget*()> activePane;
};

class QtFrame final : public QObject, public Frame {
    Q_OBJECT

public:
    // The editor is the main window's: null while it is being put together, when a message goes
    // straight to the status bar's message pane. The window, the options, the sound player and the
    // status bar outlive the frame.
    QtFrame(QMainWindow& window, Options& options, QtSoundPlayer& sound,
            const std::unique_ptr<Editor>& editor, StatusLineObserver& statusBar, FrameWindowParts parts);
    ~QtFrame() override;

    // The open Find or Replace dialog; null when none is open.
    QDialog* searchDialog() const;

    // Questions and message boxes go to this function instead of a dialog when it is set (tests,
    // and runs without a user).
    using Responder = std::function<Answer(std::string_view text, std::string_view title)>;
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // The file dialogs' answers likewise: the chosen paths, empty for Cancel.
    using FileChooser = std::function<std::vector<std::string>(const FileDialogRequest& request)>;
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    // A dialog opened by a command, shown to a test instead of run (null: run it).
    using DialogRunner = std::function<int(QDialog& dialog)>;
    void setDialogRunner(DialogRunner runner) { m_dialogRunner = std::move(runner); }

    // Frame
    void status(std::string_view text, platform::SoundKind sound, Hold hold = Hold::No) override;
    void messageBox(std::string_view text, std::string_view title = kErrorTitle) override;
    Answer ask(std::string_view text, std::string_view title, Question kind = Question::YesNo) override;
    int choose(std::string_view text, std::string_view title, std::span<const std::string_view> buttons,
               int defaultButton) override;
    void beginBusy() override;
    void endBusy() override;
    void drainEvents() override;
    [[nodiscard]] std::vector<std::string> chooseFilesToOpen(const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
    void beep(platform::SoundKind kind) override;
    [[nodiscard]] TimerId startTimer(uint32_t intervalMs, std::function<void()> tick) override;
    void stopTimer(TimerId id) override;
    void arrangeWindows(WindowArrangement arrangement) override;
    void showBar(FrameBar bar, bool visible) override;
    int print(PrintScope scope) override;
    [[nodiscard]] DialogResult showFrameDialog(FrameDialog dialog) override;
    [[nodiscard]] DialogResult showDialog(DialogModel& model) override;
    void showSearchDialog(std::unique_ptr<SearchDialogSession> dialog) override;
    void closeSearchDialog() override;

private:
    // The editor's parts the dialogs work with.
    StatusLine& statusLine() const;
    KeyRoad& keys() const;
    int runDialog(QDialog& dialog);
    // What a dialog runs the dialogs it opens with: the same road as the window's own.
    DialogRunner nestedRunner();
    // Moves the Find or Replace dialog off the cursor's line, so that a match is never hidden.
    void keepSearchDialogOffTheCursor();

    QMainWindow& m_window;
    Options& m_options;
    QtSoundPlayer& m_sound;
    const std::unique_ptr<Editor>& m_editor;
    StatusLineObserver& m_statusBar;
    FrameWindowParts m_parts;
    SearchDialog* m_searchDialog = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    std::map<TimerId, QTimer*> m_timers;
    TimerId m_nextTimer = 1;
    int m_busy = 0;
    // When pending events were last handled for a long operation (see drainEvents).
    QElapsedTimer m_lastDrain;
    Responder m_responder;
    FileChooser m_fileChooser;
    DialogRunner m_dialogRunner;
};

} // namespace vexa::ui
