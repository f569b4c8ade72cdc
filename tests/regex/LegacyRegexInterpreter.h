// The backtracking interpreter the engine used before it remembered failed positions, kept only as
// the oracle of the differential test: the same program and subject must give the same outcome,
// match and groups from both (apart from runs this one gives up on).
#pragma once

#include <cstddef>
#include <string_view>

#include "regex/RegexProgram.h"

namespace vexa::test {

// Runs the program as the former interpreter did: must-have test, first-character or anchored
// start positions, then first-path backtracking bounded in stack and in `maxSteps` steps.
[[nodiscard]] RegexOutcome legacyExecute(const RegexProgram& program, std::string_view subject,
                                         RegexMatch* match, std::size_t from, bool ignoreCase,
                                         std::size_t maxSteps = RegexProgram::kMaxSteps);

} // namespace vexa::test
