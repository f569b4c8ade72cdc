// Fuzzes the open command parser: any text is either one file name or a refusal with messages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/OpenCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view command(reinterpret_cast<const char*>(data), size);
    vexa::shell::OpenCommand open = vexa::shell::parseOpenCommand(command);
    if (open.ok) {
        if (open.file.empty() || !open.messages.empty() || open.file.find('"') != std::string::npos ||
            !command.starts_with(vexa::shell::kOpenCommandPrefix)) {
            std::abort();
        }
    } else if (open.messages.size() != 2) {
        std::abort();
    }
    return 0;
}
