// The frame port: everything the behaviour asks of the main window, beyond the messages.
// The Qt main window implements it, and so does the headless frame of tests and batch runs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Messenger.h"
#include "frame/DialogModel.h"
#include "frame/SearchDialogSession.h"
#include "platform/Sound.h"

namespace vexa {

// One entry of a file dialog's type list: the text shown and its patterns ("*.c;*.h").
struct FileFilter {
    std::string description;
    std::string patterns;

    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

enum class FileSelection : uint8_t { One, Several };

// What a file dialog starts with. Empty fields leave the choice to the frame.
struct FileDialogRequest {
    std::string title;
    std::string initialDirectory;
    std::string initialName;
    std::vector<FileFilter> filters;
    std::size_t filterIndex = 0;  // the filter selected first, 0-based
    std::string defaultExtension; // appended by a save dialog to a name without one
    FileSelection selection = FileSelection::One;
    bool mustExist = true; // an open dialog accepts only names of existing files
};

// How the document windows are laid out by the Window functions.
enum class WindowArrangement : uint8_t {
    Cascade,
    Tile,
    TileVertical,
    TileHorizontal,
    ArrangeIcons,
    RestoreAll,
    MinimizeAll,
    MaximizeAll
};

// The bars of the main window that the View switches show and hide.
enum class FrameBar : uint8_t { ToolBar, StatusBar };

// What the print functions print of the active document.
enum class PrintScope : uint8_t { Document, MarkedLines };

// The frame's own dialogs, shown by kind: they edit the options (or the font, the colours, the
// keymaps, the extension profiles) themselves; the caller applies what changed when one is accepted.
enum class FrameDialog : uint8_t {
    EditorOptions,
    FileFilters,
    Colours,
    Keyboard,
    Extensions,
    Font,
    PrintSetup,
    About
};

class Frame : public Messenger {
public:
    // The open dialog: the full paths chosen (one, or several when the request allows it),
    // empty when the user cancelled.
    [[nodiscard]] virtual std::vector<std::string> chooseFilesToOpen(const FileDialogRequest& request) = 0;

    // The save-as dialog: the full path chosen, nothing when the user cancelled.
    [[nodiscard]] virtual std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) = 0;

    // A beep of the given kind without a message (the frame applies "MakeSound").
    virtual void beep(platform::SoundKind kind) = 0;

    // A repeating timer on the user-interface thread: `tick` runs every `intervalMs` until the
    // timer is stopped (a tick may stop its own timer). The id is never 0.
    using TimerId = uint32_t;
    [[nodiscard]] virtual TimerId startTimer(uint32_t intervalMs, std::function<void()> tick) = 0;
    // Stopping a timer that is not running does nothing.
    virtual void stopTimer(TimerId id) = 0;

    // Lays out the document windows.
    virtual void arrangeWindows(WindowArrangement arrangement) = 0;
    // Shows or hides one of the main window's bars.
    virtual void showBar(FrameBar bar, bool visible) = 0;
    // Asks for a printer and prints the active document, or its marked lines: the number of pages
    // printed, 0 when the user cancelled.
    virtual int print(PrintScope scope) = 0;
    // Shows one of the frame's own dialogs until the user closes it.
    [[nodiscard]] virtual DialogResult showFrameDialog(FrameDialog dialog) = 0;

    // Shows a modal dialog over its model until the user closes it. The model does the work of its
    // buttons (validation, messages, saving); the frame only shows the fields and forwards.
    [[nodiscard]] virtual DialogResult showDialog(DialogModel& model) = 0;

    // Shows the modeless Find or Replace dialog; the caller has closed any open one first. A
    // frame without dialogs drops it.
    virtual void showSearchDialog(std::unique_ptr<SearchDialogSession> dialog) { dialog.reset(); }
    // Closes the open Find or Replace dialog, writing its histories; nothing when none is open.
    virtual void closeSearchDialog() {}
};

} // namespace vexa
