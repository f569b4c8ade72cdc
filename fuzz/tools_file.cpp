// Feeds arbitrary bytes to the tools-file reader and the program-kind test: nothing may crash, at
// most fifteen tools are read, and what was read writes back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "build/ToolsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vexa::build::ToolsRead read = vexa::build::decodeToolsFile(bytes);
    if (read.tools.size() > vexa::build::kMaxTools) {
        __builtin_trap();
    }
    const std::string written = vexa::build::encodeToolsFile(read.tools);
    const vexa::build::ToolsRead again = vexa::build::decodeToolsFile(written);
    if (again.status != vexa::build::ToolsRead::Status::Ok || again.tools.size() != read.tools.size() ||
        vexa::build::encodeToolsFile(again.tools) != written) {
        __builtin_trap();
    }
    (void)vexa::build::programKindOf(bytes, "tool.exe", true);
    return 0;
}
