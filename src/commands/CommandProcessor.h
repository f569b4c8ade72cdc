// The executor of editor functions against the active document and its pane, and of typed characters.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "commands/FunctionTable.h"
#include "commands/MacroRecorderHook.h"
#include "core/EditSettings.h"
#include "frame/StatusMessages.h"
#include "platform/Sound.h"

namespace vexa {

class CommandFamily;
class Document;
class DocumentWindows;
class EditPane;
class FileCommands;
class Frame;
class KeymapState;
class LineCommands;
class MacroRecorderHook;
class MarkCommands;
class MovementCommands;
class OptionCommands;
class Options;
class SearchCommands;
class SearchState;
class StampCommands;
class StatusLine;
class TemplateHook;
class TypingRoad;
class WordCommands;

namespace platform {
class Clipboard;
class Clock;
class KeyState;
} // namespace platform

// The modifier keys held with a typed character.
struct CharacterModifiers {
    bool alt = false;
    bool ctrl = false;

    // As a recorded macro keeps them.
    uint16_t flags() const {
        return static_cast<uint16_t>((ctrl ? kCharacterCtrlFlag : 0) | (alt ? kCharacterAltFlag : 0));
    }
    static CharacterModifiers fromFlags(uint16_t flags) {
        return {(flags & kCharacterAltFlag) != 0, (flags & kCharacterCtrlFlag) != 0};
    }
};

// The collaborators that live above the commands, given once when the editor is put together; all
// outlive the processor's use of them.
struct ProcessorLinks {
    StatusLine& statusLine;
    KeymapState& keymap;
    DocumentWindows& windows;
    // The keyboard macros' recorder, which hears every dispatched function and typed character, and
    // the templates a typed space expands.
    MacroRecorderHook& recorder;
    TemplateHook& templates;
    // The families of functions from the floors above the commands (windows, compiling, ...).
    std::vector<CommandFamily*> families;
};

// The services the processor works with; all outlive it.
struct ProcessorServices {
    Frame& frame;
    Options& options;
    const platform::Clock& clock;
    platform::Clipboard& clipboard;
    // Where long searches poll Escape (it handles pending events itself, without letting user
    // input through); without it searches are only bounded in work.
    platform::KeyState* keyState = nullptr;
};

// The module that internal-error reports of the processor (and of the hand-off it receives) name.
inline constexpr const char* kProcessorModule = "QLWKEY01";
inline constexpr std::string_view kNoActiveDocument = "Action can only be performed on an active document!";
inline constexpr std::string_view kNotOverWord = "The cursor is not over a word.";

// Every key, menu item, keyboard macro and script runs editor functions through here. Each
// dispatched function forms one undo group; after it the pane is refreshed and the keymap's prefix
// state reset.
class CommandProcessor {
public:
    explicit CommandProcessor(ProcessorServices services);
    ~CommandProcessor();
    CommandProcessor(const CommandProcessor&) = delete;
    CommandProcessor& operator=(const CommandProcessor&) = delete;

    // The one wiring step: until it is done every function is refused as an internal error, so
    // that a missing connection shows at once instead of turning functions into silent no-ops.
    void link(ProcessorLinks links);
    bool isLinked() const { return m_linked; }
    // Forgets the recorder and the templates of the links, for an owner whose destructor runs before
    // the processor's: functions then record nothing and expand no template.
    void unlinkHooks() {
        m_recorder = nullptr;
        m_templates = nullptr;
    }

    // How many families claim a function: 1 for every built function, 0 for the others.
    int claimCount(FunctionId id) const;
    // Whether a family runs work the user waits for.
    bool hasForegroundWork();
    // Stops the work the user waits for in every family that runs some ("RunStop"); false when
    // none ran.
    bool stopForegroundWork();

    // The active window. Activating a pane forgets both three-press memories; activating an
    // output window leaves no document; a closed pane is forgotten, and every family is told its
    // document closed.
    void activatePane(EditPane* pane);
    void activateOutputWindow();
    void paneClosed(EditPane* pane);
    // Ends the undo step of a word being typed ("UndoWords"): whatever comes next is undone apart
    // from it. Functions, other characters, mouse steps and a change of window call it.
    void closeTypedWord();
    // Whether an output window rather than a document window is the active window.
    bool outputWindowActive() const { return m_outputWindowActive; }

    // A command message: the identifier in the low 16 bits of the first parameter. The result is
    // the handler's, 0 when nothing handled it (the main window then handles the message).
    int32_t execute(uint32_t message, uint32_t source = 0);
    // Runs one function with another clipboard standing in for the desktop's: a middle click
    // pastes the primary selection through the same paste function as Ctrl+V.
    int32_t executeWithClipboard(platform::Clipboard& clipboard, uint32_t message, uint32_t source = 0);
    // A character that no key binding claimed, by its code point; it is typed as the document's
    // encoding writes it, or refused with a message when the encoding cannot hold it. A line end
    // (LF or CR, from a script or a macro) splits the line without any typing aid; NUL is refused
    // with a message. False when it was not handled.
    bool typeCharacter(char32_t character, CharacterModifiers modifiers = {});
    // A plain char would widen with its sign: say which character is meant (U'x').
    bool typeCharacter(char, CharacterModifiers = {}) = delete;
    // Types UTF-8 text character by character (scripts); CR LF is one line end.
    void typeText(std::string_view utf8);

    // The keyboard layer's Shift state.
    void setShiftHeld(bool held) { m_shiftHeld = held; }
    bool shiftHeld() const { return m_shiftHeld; }

    // ---- for the handler families ----
    Document* document();
    EditPane* pane() { return m_pane; }
    Frame& frame() { return m_frame; }
    Options& options() { return m_options; }
    const platform::Clock& clock() const { return m_clock; }
    platform::Clipboard& clipboard() { return *m_clipboard; }
    StatusLine* statusLine() { return m_statusLine; }
    KeymapState* keymap() { return m_keymap; }
    MacroRecorderHook* recorder() { return m_recorder; }
    TemplateHook* templates() { return m_templates; }
    DocumentWindows* windows() { return m_windows; }
    // The application's one search state, read from the "Searching" settings when the processor
    // is made; its owner writes it back at exit with saveSearchState().
    SearchState& searchState() { return *m_searchState; }
    [[nodiscard]] bool saveSearchState();
    TypingRoad& typing() { return *m_typing; }
    uint32_t commandCount() const { return m_commandCount; }
    // Whether a function is running: anything that arrives now comes from a nested event loop.
    bool isExecuting() const { return m_executeDepth > 0; }
    // How many edits were refused because the document is read-only (a batch run that had any
    // fails).
    uint32_t refusedEdits() const { return m_refusedEdits; }

    // A status message with its sound kind. While the status line holds a message that is still
    // shown, the message and its sound are dropped; "MakeSound" 0 silences every sound.
    void showStatus(std::string_view text, platform::SoundKind sound = platform::SoundKind::None);
    // The refusal of a text-changing function on a read-only document: true when it refused.
    bool refuseIfReadOnly();
    // The active document's file may still be loading: waits for it until the document holds
    // more than `lines` lines or the load ends (Escape stops both). True when it holds them.
    bool waitForLines(int lines);
    // The editing settings the document works with, taken from the options ("TabSize" below 1
    // counts as 1).
    EditSettings editSettings() const;
    // Gives every document the current settings (after an option changed).
    void applySettings();
    // Runs the handler of another function as part of the current one (no count, no refresh).
    int32_t run(FunctionId id);

    bool keyPressRemovesMark() const;
    bool cutCopyRemovesMark() const;

    // The literal-next-character state of CharQuote, and the state while a template types.
    bool literalNext() const { return m_literalNext; }
    void setLiteralNext(bool on) { m_literalNext = on; }
    bool templateTyping() const { return m_templateTyping; }
    void setTemplateTyping(bool on) { m_templateTyping = on; }
    // Whether typing gets the typing aids (template expansion, automatic wrapping, smart indent
    // and smart brace); a script turns them off while it types text that must arrive unchanged.
    bool typingAids() const { return m_typingAids; }
    void setTypingAids(bool on) { m_typingAids = on; }

    // The re-show flag: cleared by functions that act on windows rather than on the cursor.
    void clearReshow() { m_reshow = false; }

    // The three-press memory of MoveDocumentStartEx and MoveDocumentEndEx.
    struct RepeatMemory {
        int64_t lastCount = -2;
        int repeats = 0;
    };
    RepeatMemory& startRepeat() { return m_startRepeat; }
    RepeatMemory& endRepeat() { return m_endRepeat; }

private:
    std::optional<int32_t> dispatch(FunctionId id);
    CommandFamily* addedFamilyOf(FunctionId id) const;
    // Shows what the function changed and, unless it leaves a typed word's group open, closes its
    // undo group.
    enum class UndoGroup : uint8_t { Close, KeepOpen };
    void refresh(UndoGroup group = UndoGroup::Close);
    void resetPrefix();
    void forgetRepeats();

    Frame& m_frame;
    Options& m_options;
    const platform::Clock& m_clock;
    platform::Clipboard* m_clipboard; // the desktop's, or another for one function
    StatusLine* m_statusLine = nullptr;
    KeymapState* m_keymap = nullptr;
    MacroRecorderHook* m_recorder = nullptr;
    TemplateHook* m_templates = nullptr;
    DocumentWindows* m_windows = nullptr;
    std::vector<CommandFamily*> m_families;
    bool m_linked = false;

    EditPane* m_pane = nullptr;
    bool m_outputWindowActive = false;
    bool m_typedWordOpen = false; // the last typed character left its word's undo group open
    uint32_t m_commandCount = 0;
    int m_executeDepth = 0;
    uint32_t m_refusedEdits = 0;
    RepeatMemory m_startRepeat;
    RepeatMemory m_endRepeat;
    bool m_shiftHeld = false;
    bool m_reshow = true;
    bool m_literalNext = false;
    bool m_templateTyping = false;
    bool m_typingAids = true;

    std::unique_ptr<TypingRoad> m_typing;
    std::unique_ptr<MovementCommands> m_movement;
    std::unique_ptr<LineCommands> m_lines;
    std::unique_ptr<WordCommands> m_words;
    std::unique_ptr<MarkCommands> m_marks;
    std::unique_ptr<OptionCommands> m_optionCommands;
    std::unique_ptr<StampCommands> m_stamps;
    std::unique_ptr<FileCommands> m_files;
    std::unique_ptr<SearchState> m_searchState;
    std::unique_ptr<SearchCommands> m_search;
};

} // namespace vexa
