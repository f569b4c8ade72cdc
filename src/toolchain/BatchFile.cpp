// The batch file's bytes, the command's file placeholder and the error file's name.
#include "toolchain/BatchFile.h"

#include <cctype>

namespace vexa::toolchain {

std::string batchFileText(const ArgumentVector& command, std::string_view errorFile, bool debug) {
    std::string text;
    if (!debug) {
        text += "@echo off \n";
    }
    ArgumentVector line = command;
    line.redirection = Redirection{std::string(errorFile), false, true};
    text += commandLineOf(line);
    text += "\n";
    if (debug) {
        text += "pause\n";
    }
    return text;
}

std::vector<CommandPiece> withFileName(const std::vector<CommandPiece>& pieces, std::string_view fileName) {
    // Every placeholder is filled: a command with two of them names the file twice.
    std::vector<CommandPiece> result;
    const std::vector<Placeholder> placeholders{Placeholder{"%s", std::string(fileName)}};
    for (const CommandPiece& piece : pieces) {
        if (piece.value) {
            result.push_back(piece);
            continue;
        }
        for (CommandPiece& part : piecesWithPlaceholders(piece.text, placeholders)) {
            result.push_back(std::move(part));
        }
    }
    return result;
}

std::string errorFileNameOf(std::string_view baseName) {
    std::string name = std::string(baseName) + ".ERR";
    for (char& ch : name) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return name;
}

} // namespace vexa::toolchain
