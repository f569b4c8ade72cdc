// The batch file's bytes, the command's file placeholder and the error file's name.
#include "toolchain/BatchFile.h"

#include <cctype>

namespace vexa::toolchain {

std::string batchFileText(std::string_view command, std::string_view errorFileName, bool debug) {
    std::string text;
    if (!debug) {
        text += "@echo off \n";
    }
    text += command;
    text += " > ";
    text += errorFileName;
    text += "\n";
    if (debug) {
        text += "pause\n";
    }
    return text;
}

std::string withFileName(std::string_view command, std::string_view fileName) {
    // Every placeholder is filled: a command with two of them names the file twice.
    std::string result;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = command.find("%s", start);
        if (at == std::string_view::npos) {
            result.append(command.substr(start));
            return result;
        }
        result.append(command.substr(start, at - start));
        result.append(fileName);
        start = at + 2;
    }
}

std::string errorFileNameOf(std::string_view baseName) {
    std::string name = std::string(baseName) + ".ERR";
    for (char& ch : name) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return name;
}

} // namespace vexa::toolchain
