// The keyboard-macro functions: recording, playback, repeat, macro files and the Macros menu list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "commands/CommandFamily.h"
#include "keyboard/MacroFile.h"
#include "keyboard/MacroRecorder.h"

namespace vexa {

class CommandProcessor;
class SearchBudget;

// The status message of a playback that Escape stopped.
inline constexpr const char* kMacroPlaybackStopped = "Macro playback terminated by user!";

// The module that internal-error reports of the macros name.
inline constexpr const char* kMacroModule = "QLWMAC01";

// The function of the Macros menu entry at the index (MacroExecute1 upward).
FunctionId macroExecuteId(size_t index);

class MacroCommands final : public CommandFamily {
public:
    // The Macros menu list is read from the configuration directory. The recorder is linked into
    // the processor with the other links of the editor.
    explicit MacroCommands(CommandProcessor& processor);
    MacroCommands(const MacroCommands&) = delete;
    MacroCommands& operator=(const MacroCommands&) = delete;

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;

    MacroRecorder& recorder() { return m_recorder; }
    // Plays the current macro once: false when it could not start or Escape stopped it.
    bool play();
    // Loads a macro file into the recorder, with the messages of MacroLoad.
    bool load(const std::string& path);
    // Saves the current macro, with the messages of MacroSave.
    bool save(const std::string& path);
    // The Macros menu entries and their item texts.
    const std::vector<MacroMenuEntry>& menu() const { return m_menu; }
    std::vector<std::string> menuItemTexts() const;
    // Replaces the list and writes it to the configuration directory; the observer is told.
    bool setMenu(std::vector<MacroMenuEntry> entries);
    // Called whenever the list changed, so that the menu is built again.
    void setMenuObserver(std::function<void()> observer) { m_menuObserver = std::move(observer); }

private:
    bool play(SearchBudget& watch);
    void startRecording();
    void stopRecording(bool dropLast = false);
    int32_t repeat();
    int32_t loadChosen();
    int32_t saveChosen();
    int32_t executeEntry(size_t number);
    int32_t editMenu();

    CommandProcessor& m_processor;
    MacroRecorder m_recorder;
    std::vector<MacroMenuEntry> m_menu;
    std::function<void()> m_menuObserver;
};

} // namespace vexa
