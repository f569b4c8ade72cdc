// The names of the editor functions in identifier order and the fixed lists of the function classes.
#pragma once

#include <array>
#include <string_view>

namespace vexa::function_names {

// Slot n holds the name of identifier 1000 + n. The numbers are stored in keymap and keyboard-macro
// files, so a name never moves; slot 95 (1095) is reserved and stays empty.
inline constexpr std::array<std::string_view, 363> kFunctionNames = {
    // 1000
    "NotSupported", "FileNew", "FileOpen", "FileClose", "FileSave", "FileSaveAs", "FileSaveAll", "FilePrint",
    "FilePrintAll", "FilePrintSetup",
    // 1010
    "FileExit", "FileName", "FileOpenInLine", "FileListDisplay", "FileReload1", "FileReload2", "FileReload3",
    "FileReload4", "FileReload5", "FileReload6",
    // 1020
    "FileReload7", "FileReload8", "FileReload9", "FileReloadCurrent", "FileInsertAtCursor", "FileBackupSet",
    "FileBackupReset", "FileBackupToggle", "FileBackupWrite", "FileReadOnlySet",
    // 1030
    "FileReadOnlyReset", "FileReadOnlyToggle", "FileReadOnlyModeSet", "FileReadOnlyModeReset",
    "FileReadOnlyModeToggle", "MacroPlay", "MacroRepeat", "MacroRecordSet", "MacroRecordReset",
    "MacroRecordToggle",
    // 1040
    "MacroLoad", "MacroSave", "MacroExecute1", "MacroExecute2", "MacroExecute3", "MacroExecute4",
    "MacroExecute5", "MacroExecute6", "MacroExecute7", "MacroExecute8",
    // 1050
    "MacroExecute9", "MacroExecute10", "MacroExecute11", "MacroExecute12", "MacroExecute13", "MacroExecute14",
    "MacroExecute15", "ToolsShell", "ToolsCommand", "ToolsExecute1",
    // 1060
    "ToolsExecute2", "ToolsExecute3", "ToolsExecute4", "ToolsExecute5", "ToolsExecute6", "ToolsExecute7",
    "ToolsExecute8", "ToolsExecute9", "ToolsExecute10", "ToolsExecute11",
    // 1070
    "ToolsExecute12", "ToolsExecute13", "ToolsExecute14", "ToolsExecute15", "OptionsFont", "OptionsTools",
    "OptionsMacros", "OptionsEditor", "OptionsColors", "OptionsFilters",
    // 1080
    "OptionsKeyboard", "OptionsElectric", "OptionsExtension", "WindowTile", "WindowTileVertical",
    "WindowTileHorizontal", "WindowArrange", "WindowCascade", "WindowCloseAll", "WindowNext",
    // 1090
    "WindowPrevious", "HelpUsing", "HelpKeys", "HelpIndex", "HelpAbout", "" /* reserved */, "HelpQuickHelp",
    "HelpQuickSetup", "HelpQuickSearch", "LineCut",
    // 1100
    "LineCopy", "LineGoto", "LineDelete", "LineDeleteEnd", "LineDeleteStart", "LineTextReverse",
    "LineCaseLower", "LineCaseUpper", "LineCaseTranspose", "LineWrapSet",
    // 1110
    "LineWrapReset", "LineWrapToggle", "WordDelete", "WordDeleteEnd", "WordDeleteStart", "WordDeleteNext",
    "WordDeletePrevious", "WordTextReverse", "WordCaseLower", "WordCaseUpper",
    // 1120
    "WordCaseTranspose", "SpaceDelete", "SpaceDeleteEnd", "SpaceDeleteStart", "FunctionFindNext",
    "FunctionFindPrevious", "FunctionFindAll", "BraceMatch", "BraceMatchForward", "BraceMatchReverse",
    // 1130
    "SearchDialog", "SearchNext", "SearchPrevious", "SearchForward", "SearchForwardCount", "SearchReverse",
    "SearchReverseCount", "SearchWordCurrent", "SearchCaseSet", "SearchCaseReset",
    // 1140
    "SearchCaseToggle", "SearchWordSet", "SearchWordReset", "SearchWordToggle", "SearchDirectionSet",
    "SearchDirectionReset", "SearchDirectionToggle", "SearchRegexpSet", "SearchRegexpReset",
    "SearchRegexpToggle",
    // 1150
    "ReplaceDialog", "ReplaceNext", "ReplacePrevious", "ReplaceForward", "ReplaceReverse",
    "ReplaceWordCurrent", "InsertModeSet", "InsertModeReset", "InsertModeToggle", "ToolBarViewSet",
    // 1160
    "ToolBarViewReset", "ToolBarViewToggle", "StatusBarViewSet", "StatusBarViewReset", "StatusBarViewToggle",
    "MovePageUp", "MovePageDown", "MovePageLeft", "MovePageRight", "MovePageEnd",
    // 1170
    "MovePageStart", "MovePageCenter", "MoveDocumentEnd", "MoveDocumentEndEx", "MoveDocumentStart",
    "MoveDocumentStartEx", "MoveDocumentCenter", "MoveWordEnd", "MoveWordStart", "MoveWordCenter",
    // 1180
    "MoveWordNext", "MoveWordPrevious", "MoveLineEnd", "MoveLineHome", "MoveLineCenter", "MoveLineUp",
    "MoveLineUpAndLast", "MoveLineUpAndFirst", "MoveLineDown", "MoveLineDownAndLast",
    // 1190
    "MoveLineDownAndFirst", "MoveLineLeft", "MoveLineRight", "MoveLineLeftEdge", "MoveLineRightEdge",
    "ScrollLineUp", "ScrollLineDown", "ScrollLineLeft", "ScrollLineRight", "ScrollLinePageEnd",
    // 1200
    "ScrollLinePageStart", "ScrollLinePageCenter", "Undo", "Redo", "Enter", "EnterOpen", "EnterNext", "Tab",
    "TabBack", "TabChar",
    // 1210
    "TabBackChar", "Backspace", "CharQuote", "CharDelete", "CharCopyFromLineAbove", "CharCopyFromLineBelow",
    "BookMarkDrop0", "BookMarkDrop1", "BookMarkDrop2", "BookMarkDrop3",
    // 1220
    "BookMarkDrop4", "BookMarkDrop5", "BookMarkDrop6", "BookMarkDrop7", "BookMarkDrop8", "BookMarkDrop9",
    "BookMarkGoto", "BookMarkGoto0", "BookMarkGoto1", "BookMarkGoto2",
    // 1230
    "BookMarkGoto3", "BookMarkGoto4", "BookMarkGoto5", "BookMarkGoto6", "BookMarkGoto7", "BookMarkGoto8",
    "BookMarkGoto9", "MarkCut", "MarkCutEx", "MarkCopy",
    // 1240
    "MarkCopyEx", "MarkPaste", "MarkPasteEx", "MarkDelete", "MarkDeleteEx", "MarkHide", "MarkPrint",
    "MarkSelectAll", "MarkTextReverse", "MarkCaseLower",
    // 1250
    "MarkCaseUpper", "MarkCaseTranspose", "MarkShiftLeft", "MarkShiftRight", "MarkWordEnd", "MarkWordStart",
    "MarkWordCurrent", "MarkLineSet", "MarkLineReset", "MarkLineToggle",
    // 1260
    "MarkColumnSet", "MarkColumnReset", "MarkColumnToggle", "MarkBlockSet", "MarkBlockReset",
    "MarkBlockToggle", "MarkCursorEnd", "MarkCursorStart", "MarkCursorToggle", "MarkWriteToFile",
    // 1270
    "MarkMoveToCursor", "MarkCopyToCursor", "MarkFillWithChar", "MarkFillWithSpace", "IsEndOfLine",
    "IsStartOfLine", "IsWithinLine", "IsOutsideLine", "SoundOk", "SoundNote",
    // 1280
    "SoundQuestion", "SoundError", "SoundWarning", "Version", "ScreenUpdate", "ClipboardPaste", "ProjectMake",
    "ProjectOpen", "ProjectClose", "ProjectSetup",
    // 1290
    "ProjectMakeAll", "ProjectDisplay", "ProjectExecute", "ProjectCurrent", "ProjectOutputView",
    "ProjectOutputCopy", "CompilerSetup", "CompilerCompile", "CompilerOutputView", "CompilerOutputCopy",
    // 1300
    "CompilerOutputNext", "CompilerOutputPrevious", "StandardOutputView", "StandardOutputCopy", "LineCutEnd",
    "LineCutEndEx", "LineCutStart", "LineDeleteEndEx", "LineWrap", "LineWrapMarkedArea",
    // 1310
    "CharSwapNext", "CharSwapPrevious", "TabHard", "TabSoft", "EnterLine", "WordCut", "WordCopy",
    "InsertSpace", "UndoFlush", "WindowRestoreAll",
    // 1320
    "WindowMinimizeAll", "WindowMaximizeAll", "MarkFillWithSpaceEx", "MarkLineSetEx", "MarkBlockSetEx",
    "MarkColumnSetEx", "MarkMoveToCursorEx", "MarkCopyToCursorEx", "BackspaceEx", "MoveLineLeftEx",
    // 1330
    "MoveLineRightEx", "FileTouch", "MarkSelectAllEx", "OptionsSpelling", "SpellingDocument",
    "SpellingWordCurrent", "FileReadOEMSet", "FileReadOEMReset", "FileReadOEMToggle", "FileWriteOEMSet",
    // 1340
    "FileWriteOEMReset", "FileWriteOEMToggle", "MoveWordNextEx", "MoveWordPreviousEx",
    "ClipboardPasteAndMark", "StampDay", "StampMonth", "StampYear", "StampDateTime", "StampTime",
    // 1350
    "StampFileName", "StampFileSize", "StampFileDateTime", "MacroExecuteScript", "FileSaveAllNamed",
    "FileListAssociates", "FileEncodingToggle", "FileLineEndsToggle", "FindInFiles", "RunStop",
    // 1360
    "BookMarkToggle", "BookMarkNext", "BookMarkPrevious"};

// Functions refused on a read-only document.
inline constexpr std::array<std::string_view, 78> kTextChangingFunctions = {"FileInsertAtCursor",
                                                                            "FileLineEndsToggle",
                                                                            "MacroPlay",
                                                                            "LineCut",
                                                                            "LineDelete",
                                                                            "LineDeleteEnd",
                                                                            "LineDeleteStart",
                                                                            "LineCaseLower",
                                                                            "LineCaseUpper",
                                                                            "LineCaseTranspose",
                                                                            "WordDelete",
                                                                            "WordDeleteEnd",
                                                                            "WordDeleteStart",
                                                                            "WordDeleteNext",
                                                                            "WordDeletePrevious",
                                                                            "WordCaseLower",
                                                                            "WordCaseUpper",
                                                                            "WordCaseTranspose",
                                                                            "SpaceDelete",
                                                                            "SpaceDeleteEnd",
                                                                            "SpaceDeleteStart",
                                                                            "ReplaceDialog",
                                                                            "ReplaceNext",
                                                                            "ReplacePrevious",
                                                                            "ReplaceForward",
                                                                            "ReplaceReverse",
                                                                            "ReplaceWordCurrent",
                                                                            "Enter",
                                                                            "EnterOpen",
                                                                            "EnterNext",
                                                                            "Tab",
                                                                            "TabBack",
                                                                            "TabChar",
                                                                            "Backspace",
                                                                            "CharDelete",
                                                                            "CharCopyFromLineAbove",
                                                                            "CharCopyFromLineBelow",
                                                                            "MarkCut",
                                                                            "MarkCutEx",
                                                                            "MarkPaste",
                                                                            "MarkPasteEx",
                                                                            "MarkDelete",
                                                                            "MarkDeleteEx",
                                                                            "MarkCaseLower",
                                                                            "MarkCaseUpper",
                                                                            "MarkCaseTranspose",
                                                                            "MarkShiftLeft",
                                                                            "MarkShiftRight",
                                                                            "MarkMoveToCursor",
                                                                            "MarkCopyToCursor",
                                                                            "MarkFillWithSpace",
                                                                            "ClipboardPaste",
                                                                            "LineCutEnd",
                                                                            "LineCutEndEx",
                                                                            "LineCutStart",
                                                                            "LineDeleteEndEx",
                                                                            "LineWrap",
                                                                            "LineWrapMarkedArea",
                                                                            "CharSwapNext",
                                                                            "CharSwapPrevious",
                                                                            "TabHard",
                                                                            "TabSoft",
                                                                            "EnterLine",
                                                                            "WordCut",
                                                                            "InsertSpace",
                                                                            "MarkFillWithSpaceEx",
                                                                            "MarkMoveToCursorEx",
                                                                            "MarkCopyToCursorEx",
                                                                            "BackspaceEx",
                                                                            "ClipboardPasteAndMark",
                                                                            "StampDay",
                                                                            "StampMonth",
                                                                            "StampYear",
                                                                            "StampDateTime",
                                                                            "StampTime",
                                                                            "StampFileName",
                                                                            "StampFileSize",
                                                                            "StampFileDateTime"};

// Functions that start a Shift marking while Shift is held and remove one otherwise. The Scroll
// functions move the view, not the cursor, and are deliberately absent.
inline constexpr std::array<std::string_view, 36> kMovementFunctions = {
    "MoveLineEnd",         "MoveLineLeft",       "MoveLineLeftEx",    "MoveLineRight",
    "MoveLineRightEx",     "MoveLineHome",       "MoveLineCenter",    "MoveLineUp",
    "MoveLineUpAndFirst",  "MoveLineUpAndLast",  "MoveLineDown",      "MoveLineDownAndFirst",
    "MoveLineDownAndLast", "MoveLineLeftEdge",   "MoveLineRightEdge", "MoveWordEnd",
    "MoveWordStart",       "MoveWordCenter",     "MoveWordNext",      "MoveWordPrevious",
    "MovePageUp",          "MovePageDown",       "MovePageLeft",      "MovePageRight",
    "MovePageEnd",         "MovePageStart",      "MovePageCenter",    "MoveWordNextEx",
    "MoveWordPreviousEx",  "MoveDocumentEnd",    "MoveDocumentEndEx", "MoveDocumentStart",
    "MoveDocumentStartEx", "MoveDocumentCenter", "FunctionFindNext",  "FunctionFindPrevious"};

// Functions a keyboard macro never records: recording them would make playback replay or stop itself.
// MacroRecordSet and MacroRecordReset are recorded like any other function.
inline constexpr std::array<std::string_view, 4> kNeverRecordedFunctions = {"MacroPlay", "MacroRepeat",
                                                                            "MacroRecordToggle", "MacroSave"};

// Functions after which the pane does not bring the cursor back into view, because they act on
// windows rather than on the cursor.
inline constexpr std::array<std::string_view, 44> kNoReshowFunctions = {"NotSupported",
                                                                        "FileClose",
                                                                        "FileExit",
                                                                        "FileName",
                                                                        "FileReload1",
                                                                        "FileReload2",
                                                                        "FileReload3",
                                                                        "FileReload4",
                                                                        "FileReload5",
                                                                        "FileReload6",
                                                                        "FileReload7",
                                                                        "FileReload8",
                                                                        "FileReload9",
                                                                        "MacroRecordSet",
                                                                        "MacroRecordReset",
                                                                        "MacroRecordToggle",
                                                                        "WindowTile",
                                                                        "WindowTileVertical",
                                                                        "WindowTileHorizontal",
                                                                        "WindowArrange",
                                                                        "WindowCascade",
                                                                        "WindowCloseAll",
                                                                        "WindowNext",
                                                                        "WindowPrevious",
                                                                        "WindowRestoreAll",
                                                                        "WindowMinimizeAll",
                                                                        "WindowMaximizeAll",
                                                                        "HelpUsing",
                                                                        "HelpKeys",
                                                                        "HelpIndex",
                                                                        "HelpAbout",
                                                                        "SearchDialog",
                                                                        "ReplaceDialog",
                                                                        "ToolBarViewSet",
                                                                        "ToolBarViewReset",
                                                                        "ToolBarViewToggle",
                                                                        "StatusBarViewSet",
                                                                        "StatusBarViewReset",
                                                                        "StatusBarViewToggle",
                                                                        "BookMarkGoto",
                                                                        "ProjectOutputView",
                                                                        "CompilerCompile",
                                                                        "CompilerOutputView",
                                                                        "StandardOutputView"};

// Functions that exist as names and identifiers but only report "Not yet implemented!".
inline constexpr std::array<std::string_view, 11> kNotYetImplementedFunctions = {
    "FilePrintAll",   "MarkTextReverse", "MarkFillWithChar",   "ProjectExecute",
    "ProjectMakeAll", "ProjectDisplay",  "SearchForwardCount", "SearchReverseCount",
    "SpaceDelete",    "SpaceDeleteEnd",  "SpaceDeleteStart"};

// Functions whose menu items show the key currently bound to them after a tab.
inline constexpr std::array<std::string_view, 84> kShownKeyFunctions = {"FindInFiles", "FileNew",
                                                                        "FileOpen",
                                                                        "FileClose",
                                                                        "FileSave",
                                                                        "FileSaveAs",
                                                                        "FilePrint",
                                                                        "FileExit",
                                                                        "Undo",
                                                                        "Redo",
                                                                        "MarkCutEx",
                                                                        "MarkCopyEx",
                                                                        "MarkPasteEx",
                                                                        "MarkDelete",
                                                                        "SearchWordCurrent",
                                                                        "ReplaceWordCurrent",
                                                                        "SearchNext",
                                                                        "SearchPrevious",
                                                                        "BraceMatch",
                                                                        "LineGoto",
                                                                        "BookMarkGoto",
                                                                        "LineWrapToggle",
                                                                        "FunctionFindAll",
                                                                        "FunctionFindNext",
                                                                        "FunctionFindPrevious",
                                                                        "FileOpenInLine",
                                                                        "FileListAssociates",
                                                                        "FileListDisplay",
                                                                        "StandardOutputView",
                                                                        "ProjectOutputView",
                                                                        "CompilerOutputView",
                                                                        "CompilerOutputNext",
                                                                        "CompilerOutputPrevious",
                                                                        "MacroExecuteScript",
                                                                        "MacroLoad",
                                                                        "MacroSave",
                                                                        "MacroPlay",
                                                                        "MacroRecordToggle",
                                                                        "MacroRepeat",
                                                                        "MacroExecute1",
                                                                        "MacroExecute2",
                                                                        "MacroExecute3",
                                                                        "MacroExecute4",
                                                                        "MacroExecute5",
                                                                        "MacroExecute6",
                                                                        "MacroExecute7",
                                                                        "MacroExecute8",
                                                                        "MacroExecute9",
                                                                        "MacroExecute10",
                                                                        "MacroExecute11",
                                                                        "MacroExecute12",
                                                                        "MacroExecute13",
                                                                        "MacroExecute14",
                                                                        "MacroExecute15",
                                                                        "ToolsCommand",
                                                                        "ToolsShell",
                                                                        "ToolsExecute1",
                                                                        "ToolsExecute2",
                                                                        "ToolsExecute3",
                                                                        "ToolsExecute4",
                                                                        "ToolsExecute5",
                                                                        "ToolsExecute6",
                                                                        "ToolsExecute7",
                                                                        "ToolsExecute8",
                                                                        "ToolsExecute9",
                                                                        "ToolsExecute10",
                                                                        "ToolsExecute11",
                                                                        "ToolsExecute12",
                                                                        "ToolsExecute13",
                                                                        "ToolsExecute14",
                                                                        "ToolsExecute15",
                                                                        "CompilerCompile",
                                                                        "ProjectMake",
                                                                        "SpellingDocument",
                                                                        "SpellingWordCurrent",
                                                                        "WindowCloseAll",
                                                                        "WindowNext",
                                                                        "WindowPrevious",
                                                                        "HelpIndex",
                                                                        "HelpQuickSearch",
                                                                        "HelpQuickHelp",
                                                                        "BookMarkToggle",
                                                                        "BookMarkNext",
                                                                        "BookMarkPrevious"};

} // namespace vexa::function_names
