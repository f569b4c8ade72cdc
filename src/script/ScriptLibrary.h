// The C-like library of the script language: a table of names and functions over one call.
#pragma once

#include <cstdint>
#include <string_view>

#include "script/ScriptCall.h"

namespace vexa::script {

// A library function gives its result; misuse (a wrong number of arguments, a non-string
// where a string is needed) gives -1 and changes nothing.
using LibraryFunction = int32_t (*)(ScriptCall& call);

struct LibraryEntry {
    std::string_view name;
    LibraryFunction function;
};

// The library entry of a name, compared without regard to case; nullptr when there is none.
[[nodiscard]] const LibraryEntry* findLibraryFunction(std::string_view name);

// There are no drives on this system: the one drive is reported as C: (number 2), always
// current, out of the 26 a drive letter can name.
inline constexpr int32_t kCurrentDrive = 2;
inline constexpr int32_t kDriveCount = 26;

} // namespace vexa::script
