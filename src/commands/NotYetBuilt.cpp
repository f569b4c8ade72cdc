// The editor functions whose subsystems are not built yet.
#include "commands/NotYetBuilt.h"

#include <algorithm>
#include <array>

namespace vexa {
namespace {

constexpr std::array kNotYetBuilt{
    // navigation: functions, braces, bookmarks, goto, document lists
    functionIdOf("FunctionFindAll"),
    functionIdOf("FunctionFindNext"),
    functionIdOf("FunctionFindPrevious"),
    functionIdOf("BraceMatch"),
    functionIdOf("BraceMatchForward"),
    functionIdOf("BraceMatchReverse"),
    functionIdOf("LineGoto"),
    functionIdOf("BookMarkGoto"),
    functionIdOf("BookMarkDrop0"),
    functionIdOf("BookMarkDrop1"),
    functionIdOf("BookMarkDrop2"),
    functionIdOf("BookMarkDrop3"),
    functionIdOf("BookMarkDrop4"),
    functionIdOf("BookMarkDrop5"),
    functionIdOf("BookMarkDrop6"),
    functionIdOf("BookMarkDrop7"),
    functionIdOf("BookMarkDrop8"),
    functionIdOf("BookMarkDrop9"),
    functionIdOf("BookMarkGoto0"),
    functionIdOf("BookMarkGoto1"),
    functionIdOf("BookMarkGoto2"),
    functionIdOf("BookMarkGoto3"),
    functionIdOf("BookMarkGoto4"),
    functionIdOf("BookMarkGoto5"),
    functionIdOf("BookMarkGoto6"),
    functionIdOf("BookMarkGoto7"),
    functionIdOf("BookMarkGoto8"),
    functionIdOf("BookMarkGoto9"),
    functionIdOf("FileOpenInLine"),
    functionIdOf("FileListAssociates"),
    functionIdOf("FileListDisplay"),
    // tools
    functionIdOf("ToolsShell"),
    functionIdOf("ToolsCommand"),
    functionIdOf("OptionsTools"),
    functionIdOf("ToolsExecute1"),
    functionIdOf("ToolsExecute2"),
    functionIdOf("ToolsExecute3"),
    functionIdOf("ToolsExecute4"),
    functionIdOf("ToolsExecute5"),
    functionIdOf("ToolsExecute6"),
    functionIdOf("ToolsExecute7"),
    functionIdOf("ToolsExecute8"),
    functionIdOf("ToolsExecute9"),
    functionIdOf("ToolsExecute10"),
    functionIdOf("ToolsExecute11"),
    functionIdOf("ToolsExecute12"),
    functionIdOf("ToolsExecute13"),
    functionIdOf("ToolsExecute14"),
    functionIdOf("ToolsExecute15"),
    // keyboard macros and scripts
    functionIdOf("MacroPlay"),
    functionIdOf("MacroRepeat"),
    functionIdOf("MacroRecordSet"),
    functionIdOf("MacroRecordReset"),
    functionIdOf("MacroRecordToggle"),
    functionIdOf("MacroLoad"),
    functionIdOf("MacroSave"),
    functionIdOf("MacroExecuteScript"),
    functionIdOf("OptionsMacros"),
    functionIdOf("MacroExecute1"),
    functionIdOf("MacroExecute2"),
    functionIdOf("MacroExecute3"),
    functionIdOf("MacroExecute4"),
    functionIdOf("MacroExecute5"),
    functionIdOf("MacroExecute6"),
    functionIdOf("MacroExecute7"),
    functionIdOf("MacroExecute8"),
    functionIdOf("MacroExecute9"),
    functionIdOf("MacroExecute10"),
    functionIdOf("MacroExecute11"),
    functionIdOf("MacroExecute12"),
    functionIdOf("MacroExecute13"),
    functionIdOf("MacroExecute14"),
    functionIdOf("MacroExecute15"),
    // templates and spelling
    functionIdOf("OptionsElectric"),
    functionIdOf("OptionsSpelling"),
    functionIdOf("SpellingDocument"),
    functionIdOf("SpellingWordCurrent"),
};

} // namespace

std::span<const FunctionId> notYetBuiltFunctions() {
    return kNotYetBuilt;
}

bool isNotYetBuilt(FunctionId id) {
    return std::find(kNotYetBuilt.begin(), kNotYetBuilt.end(), id) != kNotYetBuilt.end();
}

} // namespace vexa
