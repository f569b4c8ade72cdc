// The editor functions whose subsystems are not built yet.
#include "commands/NotYetBuilt.h"

#include <algorithm>
#include <array>

namespace vexa {
namespace {

constexpr std::array kNotYetBuilt{
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
    // help
    functionIdOf("HelpUsing"),
    functionIdOf("HelpKeys"),
    functionIdOf("HelpIndex"),
    functionIdOf("HelpQuickHelp"),
    functionIdOf("HelpQuickSetup"),
    functionIdOf("HelpQuickSearch"),
};

} // namespace

std::span<const FunctionId> notYetBuiltFunctions() {
    return kNotYetBuilt;
}

bool isNotYetBuilt(FunctionId id) {
    return std::find(kNotYetBuilt.begin(), kNotYetBuilt.end(), id) != kNotYetBuilt.end();
}

} // namespace vexa
