// Reads arbitrary bytes as a compiler's -v answer: the directories read must be absolute names a
// search path can hold, no more than the bound, and nothing may crash, overrun or hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/IncludeDirectories.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> directories = vexa::toolchain::parseIncludeSearchList(bytes);
    if (directories.size() > vexa::toolchain::kIncludeDirectoryLimit) {
        __builtin_trap();
    }
    for (const std::string& directory : directories) {
        if (directory.empty() || directory.front() != '/' || directory.find_first_of(":;\n") != std::string::npos) {
            __builtin_trap();
        }
    }
    return 0;
}
