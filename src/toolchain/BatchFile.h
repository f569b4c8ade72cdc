// The batch file the editor writes beside a source or project file to run the user's command.
#pragma once

#include <string>
#include <string_view>

namespace vexa::toolchain {

// The lines of "VexaCC.BAT": echo off (unless debugging), the command with its output redirected
// into the error file, and a pause when debugging.
std::string batchFileText(std::string_view command, std::string_view errorFileName, bool debug);

// The command with every "%s" replaced by the file name.
std::string withFileName(std::string_view command, std::string_view fileName);

// The error file name for a base name: base name and ".ERR", in lower case.
std::string errorFileNameOf(std::string_view baseName);

} // namespace vexa::toolchain
