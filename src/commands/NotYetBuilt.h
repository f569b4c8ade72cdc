// The editor functions whose subsystems are not built yet: their menu items are disabled, and
// running one by key, macro or script says so on the status line instead of doing nothing.
#pragma once

#include <span>

#include "commands/FunctionTable.h"

namespace vexa {

inline constexpr const char* kNotYetBuiltMessage = "'%s' is not available in this version yet.";

// The list shrinks as the subsystems are built; a test checks that no function on it is claimed
// by a family.
std::span<const FunctionId> notYetBuiltFunctions();
bool isNotYetBuilt(FunctionId id);

} // namespace vexa
