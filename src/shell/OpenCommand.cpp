// Reading the open command.
#include "shell/OpenCommand.h"

namespace vexa::shell {

OpenCommand parseOpenCommand(std::string_view command) {
    OpenCommand result;
    const std::string whole(command);
    if (!command.starts_with(kOpenCommandPrefix)) {
        result.messages.push_back("Warning: Unknown DDE command: " + whole + "\n");
    } else {
        std::string_view rest = command.substr(kOpenCommandPrefix.size());
        std::size_t quote = rest.find('"');
        // A name that is empty or holds a NUL cannot name a file.
        if (quote == std::string_view::npos || quote == 0 ||
            rest.substr(0, quote).find('\0') != std::string_view::npos) {
            result.messages.push_back("Error: Bad DDE command: " + std::string(rest) + "\n");
        } else {
            result.file = std::string(rest.substr(0, quote));
            result.ok = true;
            return result;
        }
    }
    result.messages.push_back("Error: Failed to execute DDE command '" + whole + "'\n");
    return result;
}

} // namespace vexa::shell
