// The editor functions whose subsystems are not built yet.
#include "commands/NotYetBuilt.h"

#include <algorithm>
#include <array>

namespace vexa {
namespace {

constexpr std::array kNotYetBuilt{
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
