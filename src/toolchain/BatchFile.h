// The batch file the editor writes to run the user's compile or make command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "toolchain/CommandWords.h"

namespace vexa::toolchain {

// The lines of "VexaCC.BAT": echo off (unless debugging), the command as one argument-vector line
// with both its output streams sent into the error file (its full name: the file lies in the run
// folder, not where the command runs), and a pause when debugging.
std::string batchFileText(const ArgumentVector& command, std::string_view errorFile, bool debug);

// The pieces with every "%s" of their typed text made a value: the file name.
std::vector<CommandPiece> withFileName(const std::vector<CommandPiece>& pieces, std::string_view fileName);

// The error file name for a base name: base name and ".ERR", in lower case.
std::string errorFileNameOf(std::string_view baseName);

} // namespace vexa::toolchain
