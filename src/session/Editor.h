// The editor put together: the services of one running editor and the one place where they are
// connected. The Qt main window holds one over its frame and view; tests and batch runs hold one
// over the headless frame.
#pragma once

#include <functional>
#include <string>

#include "aids/AidCommands.h"
#include "aids/HelpCommands.h"
#include "aids/SpellChecker.h"
#include "aids/TemplateStore.h"
#include "toolchain/BuildCommands.h"
#include "toolchain/OutputWindows.h"
#include "toolchain/ToolCommands.h"
#include "commands/CommandProcessor.h"
#include "frame/StatusLine.h"
#include "keyboard/KeyRoad.h"
#include "keyboard/MacroCommands.h"
#include "keyboard/PrefixKeyList.h"
#include "navigation/NavigationCommands.h"
#include "findfiles/FindInFilesCommands.h"
#include "platform/ManualPage.h"
#include "session/DocumentRecovery.h"
#include "session/ScriptCommands.h"
#include "session/StartupHistory.h"
#include "session/WindowCommands.h"
#include "session/Workspace.h"
#include "syntax/SyntaxSettings.h"

namespace vexa {

class Frame;
class Options;
class WorkspaceView;
namespace platform {
class Clipboard;
class Clock;
class KeyState;
class ProcessLauncher;
class SoundPlayer;
} // namespace platform

// What the editor takes from its surroundings; all outlive it.
struct EditorPorts {
    Frame& frame;
    WorkspaceView& view;
    Options& options;
    const platform::Clock& clock;
    platform::Clipboard& clipboard;
    platform::SoundPlayer& sound;
    // What a long search polls for Escape.
    platform::KeyState& keyState;
    // Where the output windows are shown, and what starts the compiler, make and tools.
    toolchain::OutputWindowHost& outputHost;
    platform::ProcessLauncher& launcher;
    // Where the companion programs (vCommand, vStdErr) are: the directory of the editor's program.
    std::string companionDirectory;
    // Whether a lock key (by its virtual-key code) is toggled on.
    std::function<bool(int key)> keyToggled;
    // Whether the documents' edits are journalled for recovery after a crash (when "Recovery" is
    // on): the desktop editor's, not a batch run's.
    bool journal = false;
    // Whether compiles, makes and captured runs are waited for before the next function goes on
    // (a run without a window, where no timer follows them).
    bool waitForRuns = false;
    // Whether a large file's window shows its first blocks at once while the rest loads from the
    // event loop (the desktop editor); otherwise every file loads whole before its window opens.
    bool loadInSlices = false;
};

class Editor {
public:
    explicit Editor(EditorPorts ports);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    CommandProcessor& processor() { return m_processor; }
    StatusLine& statusLine() { return m_statusLine; }
    ui::KeyRoad& keys() { return m_keys; }
    Workspace& workspace() { return m_workspace; }
    DocumentRecovery& recovery() { return m_recovery; }
    toolchain::OutputWindows& outputs() { return m_outputs; }
    toolchain::BuildCommands& building() { return m_buildCommands; }
    navigation::NavigationCommands& navigation() { return m_navigation; }
    findfiles::FindInFilesCommands& findInFiles() { return m_findInFiles; }
    toolchain::ToolCommands& tools() { return m_toolCommands; }
    MacroCommands& macros() { return m_macroCommands; }
    ScriptCommands& scripts() { return m_scriptCommands; }
    StartupHistory& history() { return m_history; }
    syntax::SyntaxSettings& syntax() { return m_syntax; }
    const PrefixKeyList& prefixes() const { return m_prefixes; }
    Options& options() { return m_options; }
    aids::TemplateStore& templates() { return m_templates; }
    aids::SpellChecker& spelling() { return m_spelling; }
    aids::AidCommands& aidCommands() { return m_aidCommands; }
    aids::HelpCommands& help() { return m_helpCommands; }

    // Writes what the editor keeps between runs (recent files, search state); false when any
    // write failed (each failure is reported to the user).
    [[nodiscard]] bool saveState();

private:
    Frame& m_frame;
    Options& m_options;
    JournalSyncingLauncher m_launcher;
    StatusLine m_statusLine;
    syntax::SyntaxSettings m_syntax;
    CommandProcessor m_processor;
    ui::KeyRoad m_keys;
    StartupHistory m_history;
    PrefixKeyList m_prefixes;
    Workspace m_workspace;
    WindowCommands m_windowCommands;
    toolchain::OutputWindows m_outputs;
    toolchain::BuildCommands m_buildCommands;
    navigation::NavigationCommands m_navigation;
    findfiles::FindInFilesCommands m_findInFiles;
    toolchain::ToolCommands m_toolCommands;
    MacroCommands m_macroCommands;
    ScriptCommands m_scriptCommands;
    aids::TemplateStore m_templates;
    aids::SpellChecker m_spelling;
    aids::AidCommands m_aidCommands;
    platform::SystemManualPages m_manualPages;
    aids::HelpCommands m_helpCommands;
    // Last: its journals let go of the documents before the workspace closes them.
    DocumentRecovery m_recovery;
};

} // namespace vexa
