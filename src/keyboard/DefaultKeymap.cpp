// The built-in default keymap: the bindings of its primary table in their stored order.
#include "keyboard/DefaultKeymap.h"

#include <array>

#include "commands/FunctionTable.h"

namespace vexa {

namespace {

// The order decides which key a menu shows for a function bound twice: the first binding wins.
// The Shift variants of movement keys are bound to the same functions so that Shift marking applies.
constexpr std::array<KeyBinding, 101> kDefaultBindings = {{
    {0x4E, 2, functionIdOf("FileNew")},            // Ctrl+N
    {0x4F, 2, functionIdOf("FileOpen")},           // Ctrl+O
    {0x53, 2, functionIdOf("FileSave")},           // Ctrl+S
    {0x50, 2, functionIdOf("FilePrint")},          // Ctrl+P
    {0x5A, 2, functionIdOf("Undo")},               // Ctrl+Z
    {0x59, 2, functionIdOf("Redo")},               // Ctrl+Y
    {0x1B, 0, functionIdOf("MarkHide")},           // Escape
    {0x41, 2, functionIdOf("MarkSelectAll")},      // Ctrl+A
    {0x43, 2, functionIdOf("MarkCopyEx")},         // Ctrl+C
    {0x2D, 2, functionIdOf("MarkCopyEx")},         // Ctrl+Insert
    {0x56, 2, functionIdOf("MarkPasteEx")},        // Ctrl+V
    {0x2D, 1, functionIdOf("MarkPasteEx")},        // Shift+Insert
    {0x2E, 0, functionIdOf("MarkDeleteEx")},       // Delete
    {0x2E, 2, functionIdOf("MarkDeleteEx")},       // Ctrl+Delete
    {0x58, 2, functionIdOf("MarkCutEx")},          // Ctrl+X
    {0x2E, 1, functionIdOf("MarkCutEx")},          // Shift+Delete
    {0x43, 4, functionIdOf("MarkColumnToggle")},   // Alt+C
    {0x4C, 4, functionIdOf("MarkLineToggle")},     // Alt+L
    {0x46, 2, functionIdOf("SearchWordCurrent")},  // Ctrl+F
    {0x46, 3, functionIdOf("FindInFiles")},        // Ctrl+Shift+F
    {0x72, 0, functionIdOf("SearchNext")},         // F3
    {0x72, 1, functionIdOf("SearchPrevious")},     // Shift+F3
    {0x48, 2, functionIdOf("ReplaceWordCurrent")}, // Ctrl+H
    {0x47, 2, functionIdOf("LineGoto")},           // Ctrl+G
    {0x44, 4, functionIdOf("FileListDisplay")},    // Alt+D
    {0x75, 0, functionIdOf("WindowNext")},         // F6
    {0x75, 1, functionIdOf("WindowPrevious")},     // Shift+F6
    {0x70, 0, functionIdOf("HelpIndex")},          // F1
    {0x70, 2, functionIdOf("HelpQuickHelp")},      // Ctrl+F1
    {0x70, 4, functionIdOf("HelpQuickSearch")},    // Alt+F1
    {0x51, 4, functionIdOf("HelpQuickHelp")},      // Alt+Q
    {0x76, 0, functionIdOf("MacroRecordToggle")},  // F7
    {0x77, 0, functionIdOf("MacroPlay")},          // F8
    {0x5A, 4, functionIdOf("ToolsShell")},         // Alt+Z
    {0x70, 3, functionIdOf("ToolsExecute1")},      // Ctrl+Shift+F1
    {0x71, 3, functionIdOf("ToolsExecute2")},      // Ctrl+Shift+F2
    {0x72, 3, functionIdOf("ToolsExecute3")},      // Ctrl+Shift+F3
    {0x73, 3, functionIdOf("ToolsExecute4")},      // Ctrl+Shift+F4
    {0x74, 3, functionIdOf("ToolsExecute5")},      // Ctrl+Shift+F5
    {0x75, 3, functionIdOf("ToolsExecute6")},      // Ctrl+Shift+F6
    {0x76, 3, functionIdOf("ToolsExecute7")},      // Ctrl+Shift+F7
    {0x77, 3, functionIdOf("ToolsExecute8")},      // Ctrl+Shift+F8
    {0x78, 3, functionIdOf("ToolsExecute9")},      // Ctrl+Shift+F9
    {0x79, 3, functionIdOf("ToolsExecute10")},     // Ctrl+Shift+F10
    {0x7A, 3, functionIdOf("ToolsExecute11")},     // Ctrl+Shift+F11
    {0x7B, 3, functionIdOf("ToolsExecute12")},     // Ctrl+Shift+F12
    {0x7C, 3, functionIdOf("ToolsExecute13")},     // Ctrl+Shift+F13
    {0x7D, 3, functionIdOf("ToolsExecute14")},     // Ctrl+Shift+F14
    {0x7E, 3, functionIdOf("ToolsExecute15")},     // Ctrl+Shift+F15
    {0x52, 2, functionIdOf("MacroRepeat")},        // Ctrl+R
    {0x70, 5, functionIdOf("MacroExecute1")},      // Alt+Shift+F1
    {0x71, 5, functionIdOf("MacroExecute2")},      // Alt+Shift+F2
    {0x72, 5, functionIdOf("MacroExecute3")},      // Alt+Shift+F3
    {0x73, 5, functionIdOf("MacroExecute4")},      // Alt+Shift+F4
    {0x74, 5, functionIdOf("MacroExecute5")},      // Alt+Shift+F5
    {0x75, 5, functionIdOf("MacroExecute6")},      // Alt+Shift+F6
    {0x76, 5, functionIdOf("MacroExecute7")},      // Alt+Shift+F7
    {0x77, 5, functionIdOf("MacroExecute8")},      // Alt+Shift+F8
    {0x78, 5, functionIdOf("MacroExecute9")},      // Alt+Shift+F9
    {0x79, 5, functionIdOf("MacroExecute10")},     // Alt+Shift+F10
    {0x7A, 5, functionIdOf("MacroExecute11")},     // Alt+Shift+F11
    {0x7B, 5, functionIdOf("MacroExecute12")},     // Alt+Shift+F12
    {0x7C, 5, functionIdOf("MacroExecute13")},     // Alt+Shift+F13
    {0x7D, 5, functionIdOf("MacroExecute14")},     // Alt+Shift+F14
    {0x7E, 5, functionIdOf("MacroExecute15")},     // Alt+Shift+F15
    {0x08, 0, functionIdOf("Backspace")},          // Back
    {0x08, 4, functionIdOf("WordDeleteNext")},     // Alt+Back
    {0x08, 2, functionIdOf("WordDeletePrevious")}, // Ctrl+Back
    {0x09, 0, functionIdOf("Tab")},                // Tab
    {0x09, 1, functionIdOf("TabBack")},            // Shift+Tab
    {0x0D, 0, functionIdOf("Enter")},              // Return
    {0x0D, 1, functionIdOf("EnterOpen")},          // Shift+Return
    {0x0D, 2, functionIdOf("EnterNext")},          // Ctrl+Return
    {0x0C, 0, functionIdOf("MovePageCenter")},     // Clear
    {0x21, 0, functionIdOf("MovePageUp")},         // Prior
    {0x21, 1, functionIdOf("MovePageUp")},         // Shift+Prior
    {0x21, 2, functionIdOf("MoveDocumentStart")},  // Ctrl+Prior
    {0x22, 0, functionIdOf("MovePageDown")},       // Next
    {0x22, 1, functionIdOf("MovePageDown")},       // Shift+Next
    {0x22, 2, functionIdOf("MoveDocumentEnd")},    // Ctrl+Next
    {0x23, 0, functionIdOf("MoveLineEnd")},        // End
    {0x23, 1, functionIdOf("MoveLineEnd")},        // Shift+End
    {0x23, 2, functionIdOf("MoveLineEnd")},        // Ctrl+End
    {0x24, 0, functionIdOf("MoveLineHome")},       // Home
    {0x24, 1, functionIdOf("MoveLineHome")},       // Shift+Home
    {0x24, 2, functionIdOf("MovePageStart")},      // Ctrl+Home
    {0x25, 0, functionIdOf("MoveLineLeft")},       // Left
    {0x25, 1, functionIdOf("MoveLineLeft")},       // Shift+Left
    {0x25, 2, functionIdOf("MoveWordPrevious")},   // Ctrl+Left
    {0x25, 3, functionIdOf("MoveWordPrevious")},   // Ctrl+Shift+Left
    {0x27, 0, functionIdOf("MoveLineRight")},      // Right
    {0x27, 1, functionIdOf("MoveLineRight")},      // Shift+Right
    {0x27, 2, functionIdOf("MoveWordNext")},       // Ctrl+Right
    {0x27, 3, functionIdOf("MoveWordNext")},       // Ctrl+Shift+Right
    {0x26, 0, functionIdOf("MoveLineUp")},         // Up
    {0x26, 1, functionIdOf("MoveLineUp")},         // Shift+Up
    {0x28, 0, functionIdOf("MoveLineDown")},       // Down
    {0x28, 1, functionIdOf("MoveLineDown")},       // Shift+Down
    {0x2D, 0, functionIdOf("InsertModeToggle")},   // Insert
    // The keys the Compiler and Project menus name.
    {0x79, 4, functionIdOf("CompilerCompile")},    // Alt+F10
    {0x79, 2, functionIdOf("ProjectMake")},        // Ctrl+F10
}};

} // namespace

std::span<const KeyBinding> defaultKeyBindings() {
    return kDefaultBindings;
}

} // namespace vexa
