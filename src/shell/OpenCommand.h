// The open command the desktop and other programs send to the running editor:
// [open("file")] opens one file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexa::shell {

inline constexpr std::string_view kOpenCommandPrefix = "[open(\"";

struct OpenCommand {
    // The file to open; meaningful when ok.
    std::string file;
    bool ok = false;
    // What to tell the user, in order (each line ends in a line feed); empty when ok.
    std::vector<std::string> messages;
};

// Reads a command: it must begin with the seven characters [open(" (case counts); the file name
// runs to the next double quote. Anything after that quote is ignored, so a text holding two
// commands opens only the first file. An empty name is refused as a bad command.
[[nodiscard]] OpenCommand parseOpenCommand(std::string_view command);

} // namespace vexa::shell
