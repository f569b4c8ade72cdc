// The description of one external run: what to start, how, where, and which output to capture.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Process.h"

namespace vexa::toolchain {

enum class ToolType : uint16_t {
    DosProgram = 0,     // started through the command interpreter
    WindowsProgram = 1, // started directly
    DosCommandLine = 2, // the arguments are a command line for the interpreter; no program
};

struct ToolRecord {
    ToolType type = ToolType::DosProgram;
    platform::ShowMode showMode = platform::ShowMode::Normal;
    bool saveDocument = false;
    bool captureOutput = true;
    bool captureErrors = false;
    bool askArguments = false;
    std::string program;          // 256 characters
    std::string arguments;        // 256 characters, may hold $-variables
    std::string workingDirectory; // 256 characters; empty: the current directory
    std::string menuText;         // 41 characters
};

} // namespace vexa::toolchain
