// The menu data of the main window and the context menu, and the command hint lookup.
#include "commands/MenuTable.h"

#include <array>

namespace vexa {

namespace {

constexpr MenuItem kSeparator{};

constexpr std::array<MenuItem, 11> kFileMenu = {{
    {"&New", functionIdOf("FileNew")},
    {"&Open...\tAlt+E", functionIdOf("FileOpen")},
    {"&Close\tCtrl+Minus", functionIdOf("FileClose")},
    {"&Save\tAlt+W", functionIdOf("FileSave")},
    {"Save &As...\tAlt+O", functionIdOf("FileSaveAs")},
    {"Sav&e All", functionIdOf("FileSaveAll")},
    kSeparator,
    {"P&rint Setup...", functionIdOf("FilePrintSetup")},
    {"&Print...\tAlt+P", functionIdOf("FilePrint")},
    kSeparator,
    {"E&xit\tAlt+X", functionIdOf("FileExit")},
}};

constexpr std::array<MenuItem, 23> kEditMenu = {{
    {"&Undo \tAlt+U", functionIdOf("Undo")},
    {"&Redo \tCtl+U", functionIdOf("Redo")},
    kSeparator,
    {"&Cut\tMinus", functionIdOf("MarkCutEx")},
    {"C&opy\tPlus", functionIdOf("MarkCopyEx")},
    {"&Paste\tIns", functionIdOf("MarkPasteEx")},
    {"Cl&ear\tDelete", functionIdOf("MarkDelete")},
    {"&Select All", functionIdOf("MarkSelectAll")},
    kSeparator,
    {"&Find...\tAlt+S", functionIdOf("SearchWordCurrent")},
    {"R&eplace...\tAlt+T", functionIdOf("ReplaceWordCurrent")},
    {"Find &Next\tShift+F5", functionIdOf("SearchNext")},
    {"Find Pre&vious\tAlt+F5", functionIdOf("SearchPrevious")},
    {"Find &in Files...\tCtrl+Shift+F", functionIdOf("FindInFiles")},
    {"Find &Matching Brace\tCtl+]", functionIdOf("BraceMatch")},
    kSeparator,
    {"&Goto Line...\tAlt+G", functionIdOf("LineGoto")},
    {"Goto &Bookmark...\tAlt+J", functionIdOf("BookMarkGoto")},
    {"&Toggle Bookmark", functionIdOf("BookMarkToggle")},
    {"Ne&xt Bookmark", functionIdOf("BookMarkNext")},
    {"Previous Boo&kmark", functionIdOf("BookMarkPrevious")},
    kSeparator,
    {"Line &Warp", functionIdOf("LineWrapToggle")},
}};

constexpr std::array<MenuItem, 20> kViewMenu = {{
    {"&Toolbar", functionIdOf("ToolBarViewToggle")},
    {"&Status Bar", functionIdOf("StatusBarViewToggle")},
    kSeparator,
    {"&Functions List", functionIdOf("FunctionFindAll")},
    {"&Next Function", functionIdOf("FunctionFindNext")},
    {"&Previous Function", functionIdOf("FunctionFindPrevious")},
    kSeparator,
    {"Open &Include", functionIdOf("FileOpenInLine")},
    {"&Document List", functionIdOf("FileListDisplay")},
    {"&Association List", functionIdOf("FileListAssociates")},
    kSeparator,
    {"Standard &Output", functionIdOf("StandardOutputView")},
    {"P&roject Output", functionIdOf("ProjectOutputView")},
    kSeparator,
    {"&Compiler Output", functionIdOf("CompilerOutputView")},
    {"Ne&xt Error", functionIdOf("CompilerOutputNext")},
    {"Pre&vious Error", functionIdOf("CompilerOutputPrevious")},
    kSeparator,
    {"&Encoding UTF-8/1252", functionIdOf("FileEncodingToggle")},
    {"&Line Ends CRLF/LF", functionIdOf("FileLineEndsToggle")},
}};

constexpr std::array<MenuItem, 13> kOptionsMenu = {{
    {"&Tools...", functionIdOf("OptionsTools")},
    {"&Macros...", functionIdOf("OptionsMacros")},
    {"&Project...", functionIdOf("ProjectSetup")},
    {"&Compiler...", functionIdOf("CompilerSetup")},
    kSeparator,
    {"&Font...", functionIdOf("OptionsFont")},
    {"C&olors...", functionIdOf("OptionsColors")},
    {"&Editor...", functionIdOf("OptionsEditor")},
    {"F&ilters...", functionIdOf("OptionsFilters")},
    {"&Spelling...", functionIdOf("OptionsSpelling")},
    {"&Keyboard...", functionIdOf("OptionsKeyboard")},
    {"Temp&lates...", functionIdOf("OptionsElectric")},
    {"E&xtensions...", functionIdOf("OptionsExtension")},
}};

constexpr std::array<MenuItem, 8> kMacrosMenu = {{
    {"E&xecute Script...", functionIdOf("MacroExecuteScript")},
    kSeparator,
    {"&Load...", functionIdOf("MacroLoad")},
    {"&Save...", functionIdOf("MacroSave")},
    kSeparator,
    {"&Record Start/Stop\tF7", functionIdOf("MacroRecordToggle")},
    {"&Playback\tF8", functionIdOf("MacroPlay")},
    {"R&epeated Playback...\tCtrl+R", functionIdOf("MacroRepeat")},
}};

constexpr std::array<MenuItem, 4> kToolsMenu = {{
    {"DOS &Command Line...\tF10", functionIdOf("ToolsCommand")},
    {"DOS &Shell\tAlt+Z", functionIdOf("ToolsShell")},
    kSeparator,
    {"S&top the run", functionIdOf("RunStop")},
}};

constexpr std::array<MenuItem, 1> kCompilerMenu = {{
    {"&Compile\tAlt+F10", functionIdOf("CompilerCompile")},
}};

constexpr std::array<MenuItem, 4> kProjectMenu = {{
    {"&Open...", functionIdOf("ProjectOpen")},
    {"&Close", functionIdOf("ProjectClose")},
    kSeparator,
    {"&Make\tCtrl+F10", functionIdOf("ProjectMake")},
}};

constexpr std::array<MenuItem, 2> kSpellingMenu = {{
    {"&Document", functionIdOf("SpellingDocument")},
    {"&Current word", functionIdOf("SpellingWordCurrent")},
}};

constexpr std::array<MenuItem, 10> kWindowMenu = {{
    {"&Cascade", functionIdOf("WindowCascade")},
    {"&Tile", functionIdOf("WindowTile")},
    {"Tile &Vertical", functionIdOf("WindowTileVertical")},
    {"Tile &Horizontal", functionIdOf("WindowTileHorizontal")},
    {"Arrange &Icons", functionIdOf("WindowArrange")},
    kSeparator,
    {"Close &All", functionIdOf("WindowCloseAll")},
    kSeparator,
    {"&Next Window\tAlt+N", functionIdOf("WindowNext")},
    {"&Previous Window\tAlt+Minus", functionIdOf("WindowPrevious")},
}};

constexpr std::array<MenuItem, 9> kHelpMenu = {{
    {"&Using Help", functionIdOf("HelpUsing")},
    {"Help on &Keys", functionIdOf("HelpKeys")},
    {"Help &Index\tF1", functionIdOf("HelpIndex")},
    kSeparator,
    {"Quick &Configuration...", functionIdOf("HelpQuickSetup")},
    {"Quick &Help\tAlt+Q", functionIdOf("HelpQuickHelp")},
    {"Quick &Search...\tAlt+F1", functionIdOf("HelpQuickSearch")},
    kSeparator,
    {"&About Vexa...", functionIdOf("HelpAbout")},
}};

constexpr std::array<MenuItem, 12> kContextMenu = {{
    {"&Cut", functionIdOf("MarkCutEx")},
    {"C&opy", functionIdOf("MarkCopyEx")},
    {"&Paste", functionIdOf("MarkPasteEx")},
    {"Cl&ear", functionIdOf("MarkDelete")},
    kSeparator,
    {"&Upper Case", functionIdOf("MarkCaseUpper")},
    {"&Lower Case", functionIdOf("MarkCaseLower")},
    {"&Toggle Case", functionIdOf("MarkCaseTranspose")},
    kSeparator,
    {"Open &Include", functionIdOf("FileOpenInLine")},
    {"&Document List", functionIdOf("FileListDisplay")},
    {"&Association List", functionIdOf("FileListAssociates")},
}};

// The hints of the menu items, by command identifier; the context menu shares the hints of the
// commands it has in common with the menu bar.
constexpr std::array<CommandHint, 88> kHints = {{
    {functionIdOf("FileNew"), "Create a new document"},
    {functionIdOf("FileOpen"), "Open an existing document"},
    {functionIdOf("FileClose"), "Close the current document"},
    {functionIdOf("FileSave"), "Save the current document"},
    {functionIdOf("FileSaveAs"), "Save the current document under a different name"},
    {functionIdOf("FileSaveAll"), "Save all the current documents"},
    {functionIdOf("FilePrintSetup"), "Setup the default printer"},
    {functionIdOf("FilePrint"), "Print the current document"},
    {functionIdOf("FileExit"), "Shutdown this application"},
    {functionIdOf("Undo"), "Undo the last edit operation"},
    {functionIdOf("Redo"), "Redo the last undo operation"},
    {functionIdOf("MarkCutEx"), "Cut the current line or the marked area to clipboard"},
    {functionIdOf("MarkCopyEx"), "Copy the current line or the marked area to clipboard"},
    {functionIdOf("MarkPasteEx"), "Paste the text contents of the clipboard into the document"},
    {functionIdOf("MarkDelete"), "Clear the current marked area"},
    {functionIdOf("MarkSelectAll"), "Mark select the entire document"},
    {functionIdOf("SearchWordCurrent"), "Find a particular text pattern"},
    {functionIdOf("ReplaceWordCurrent"), "Find and replace a particular text pattern"},
    {functionIdOf("SearchNext"), "Find the next occurence of the current text pattern"},
    {functionIdOf("SearchPrevious"), "Find the previous occurence of the current text pattern"},
    {functionIdOf("FindInFiles"), "Find a text pattern in the files of a folder tree"},
    {functionIdOf("BraceMatch"), "Find the brace to match the character at the current cursor position"},
    {functionIdOf("LineGoto"), "Goto a specific line number"},
    {functionIdOf("BookMarkGoto"), "Goto a specific bookmark"},
    {functionIdOf("BookMarkToggle"), "Set a bookmark on the current line, or clear the bookmarks on it"},
    {functionIdOf("BookMarkNext"), "Move the cursor to the next bookmarked line"},
    {functionIdOf("BookMarkPrevious"), "Move the cursor to the previous bookmarked line"},
    {functionIdOf("LineWrapToggle"), "Toggle the state of the current line wrap option"},
    {functionIdOf("ToolBarViewToggle"), "Toggle the visible state of the toolbar"},
    {functionIdOf("StatusBarViewToggle"), "Toggle the visible state of the status bar"},
    {functionIdOf("FunctionFindAll"), "List all the functions contained within the current document"},
    {functionIdOf("FunctionFindNext"), "Move the cursor to the next function within the current document"},
    {functionIdOf("FunctionFindPrevious"),
     "Move the cursor to the previous function within the current document"},
    {functionIdOf("FileOpenInLine"), "Load a document using the file name contained in the current line"},
    {functionIdOf("FileListDisplay"), "Display a list of all the currently loaded documents"},
    {functionIdOf("FileListAssociates"),
     "List all the documents that share the same base name as the current document"},
    {functionIdOf("StandardOutputView"), "Display the standard output window"},
    {functionIdOf("FileEncodingToggle"),
     "Read the current document as UTF-8 or as Windows-1252 (its bytes stay as they are)"},
    {functionIdOf("FileLineEndsToggle"), "Write the current document with CR LF or with LF line ends"},
    {functionIdOf("ProjectOutputView"), "Display the project output message window"},
    {functionIdOf("CompilerOutputView"), "Display the compiler output message window"},
    {functionIdOf("CompilerOutputNext"), "Move the cursor to the next compiler error or warning message"},
    {functionIdOf("CompilerOutputPrevious"),
     "Move the cursor to the previous compiler error or warning message"},
    {functionIdOf("OptionsTools"), "Create or modify the list of installed tools"},
    {functionIdOf("OptionsMacros"), "Create or modify the list of installed macros"},
    {functionIdOf("ProjectSetup"), "Change the project configuration details"},
    {functionIdOf("CompilerSetup"), "Change the compiler configuration details"},
    {functionIdOf("OptionsFont"), "Change the display font"},
    {functionIdOf("OptionsColors"), "Change the display colors"},
    {functionIdOf("OptionsEditor"), "Change the editor configuration details"},
    {functionIdOf("OptionsFilters"), "Change the open and save as file extension filters"},
    {functionIdOf("OptionsSpelling"), "Change the spelling configuration details"},
    {functionIdOf("OptionsKeyboard"), "Create or modify the keyboard bindings"},
    {functionIdOf("OptionsElectric"), "Create or modify the electric keyboard templates"},
    {functionIdOf("OptionsExtension"), "Create or modify the file extension based syntax highlighting"},
    {functionIdOf("MacroExecuteScript"), "Execute a Vexa macro script file"},
    {functionIdOf("MacroLoad"), "Load a keyboard macro from disk"},
    {functionIdOf("MacroSave"), "Save the current keyboard macro to disk"},
    {functionIdOf("MacroRecordToggle"), "Start or stop recording the current keyboard macro"},
    {functionIdOf("MacroPlay"), "Playback the current keyboard macro"},
    {functionIdOf("MacroRepeat"), "Playback the current keyboard macro a multiple number of times"},
    {functionIdOf("ToolsCommand"), "Execute a DOS command line"},
    {functionIdOf("ToolsShell"), "Start an external DOS command line session"},
    {functionIdOf("CompilerCompile"), "Compile the current document"},
    {functionIdOf("RunStop"), "Stop the running compile, make or tool"},
    {functionIdOf("ProjectOpen"), "Open an existing project file"},
    {functionIdOf("ProjectClose"), "Close the current project file"},
    {functionIdOf("ProjectMake"), "Make the current project file"},
    {functionIdOf("SpellingDocument"), "Spell check the currently active document"},
    {functionIdOf("SpellingWordCurrent"), "Spell check the current word"},
    {functionIdOf("WindowCascade"), "Cascade the document windows"},
    {functionIdOf("WindowTile"), "Tile the document windows"},
    {functionIdOf("WindowTileVertical"), "Tile the document windows vertically"},
    {functionIdOf("WindowTileHorizontal"), "Tile the document windows horizontally"},
    {functionIdOf("WindowArrange"), "Arrange the document icons"},
    {functionIdOf("WindowCloseAll"), "Close all the currently loaded documents"},
    {functionIdOf("WindowNext"), "Switch to the next document window"},
    {functionIdOf("WindowPrevious"), "Switch to the previous document window"},
    {functionIdOf("HelpUsing"), "Display information on how to use the on-line help system"},
    {functionIdOf("HelpKeys"), "Display help on the keys used by this program"},
    {functionIdOf("HelpIndex"), "Display the main on-line help index"},
    {functionIdOf("HelpQuickSetup"), "Configure the Quick Help on-line help engine"},
    {functionIdOf("HelpQuickHelp"), "Provide Quick Help on the current word or the highlighted text"},
    {functionIdOf("HelpQuickSearch"), "Provide a Quick Search for a particular keyword"},
    {functionIdOf("HelpAbout"), "General information regarding this application"},
    {functionIdOf("MarkCaseUpper"), "Convert the marked area to upper case"},
    {functionIdOf("MarkCaseLower"), "Convert the marked area to lower case"},
    {functionIdOf("MarkCaseTranspose"),
     "Convert the marked area lower case characters to upper case and vice versa"},
}};

// Hints of the commands whose items are added at run time, one text for a whole range.
struct CommandHintRange {
    uint32_t first = 0;
    uint32_t last = 0;
    std::string_view text;
};

constexpr std::array<CommandHintRange, 6> kHintRanges = {{
    {functionIdOf("FileReload1"), functionIdOf("FileReload9"), "Open this document"},
    {functionIdOf("MacroExecute1"), functionIdOf("MacroExecute15"), "Run this macro"},
    {functionIdOf("ToolsExecute1"), functionIdOf("ToolsExecute15"), "Run this tool"},
    // The window menu's document list and the recent-file items belong to the frame, not to the table.
    {1500, 1508, "Activate this document"},
    {1509, 1509, "Show entire list of documents"},
    {2666, 2674, "Open this document"},
}};

constexpr std::array<MenuDefinition, 11> kMenuBar = {{
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"&View", kViewMenu},
    {"&Options", kOptionsMenu},
    {"&Macros", kMacrosMenu},
    {"&Tools", kToolsMenu},
    {"&Compiler", kCompilerMenu},
    {"&Project", kProjectMenu},
    {"&Spelling", kSpellingMenu},
    {"&Window", kWindowMenu},
    {"&Help", kHelpMenu},
}};

} // namespace

std::span<const MenuDefinition> mainMenuBar() {
    return kMenuBar;
}

std::span<const MenuItem> editContextMenu() {
    return kContextMenu;
}

std::string_view commandHint(uint32_t commandId) {
    if (commandId == 0) {
        return {};
    }
    for (const CommandHint& hint : kHints) {
        if (hint.commandId == commandId) {
            return hint.text;
        }
    }
    for (const CommandHintRange& range : kHintRanges) {
        if (commandId >= range.first && commandId <= range.last) {
            return range.text;
        }
    }
    return {};
}

std::string_view menuItemLabel(std::string_view itemText) {
    return itemText.substr(0, itemText.find('\t'));
}

std::string menuTextWithKey(std::string_view itemText, std::string_view keyText) {
    std::string text(menuItemLabel(itemText));
    text += keyText;
    if (text.size() > kMaxMenuItemText) {
        text.resize(kMaxMenuItemText);
    }
    return text;
}

std::span<const ToolBarButton> toolBarButtons() {
    static constexpr std::array kButtons{
        ToolBarButton{functionIdOf("FileNew"), "New", ToolBarIcon::NewFile},
        ToolBarButton{functionIdOf("FileOpen"), "Open", ToolBarIcon::OpenFile},
        ToolBarButton{functionIdOf("FileSave"), "Save", ToolBarIcon::SaveFile},
        ToolBarButton{0, nullptr, ToolBarIcon::None},
        ToolBarButton{functionIdOf("MarkCutEx"), "Cut", ToolBarIcon::None},
        ToolBarButton{functionIdOf("MarkCopyEx"), "Copy", ToolBarIcon::None},
        ToolBarButton{functionIdOf("MarkPasteEx"), "Paste", ToolBarIcon::None},
        ToolBarButton{0, nullptr, ToolBarIcon::None},
        ToolBarButton{functionIdOf("Undo"), "Undo", ToolBarIcon::Back},
        ToolBarButton{functionIdOf("Redo"), "Redo", ToolBarIcon::Forward},
    };
    return kButtons;
}

} // namespace vexa
