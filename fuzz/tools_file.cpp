// Feeds arbitrary bytes to the tools-file reader and the program-kind test: nothing may crash, at
// most fifteen tools are read, and what was read writes back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "toolchain/ToolsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vexa::toolchain::ToolsRead read = vexa::toolchain::decodeToolsFile(bytes);
    if (read.tools.size() > vexa::toolchain::kMaxTools) {
        __builtin_trap();
    }
    const std::string written = vexa::toolchain::encodeToolsFile(read.tools);
    const vexa::toolchain::ToolsRead again = vexa::toolchain::decodeToolsFile(written);
    if (again.status != vexa::toolchain::ToolsRead::Status::Ok || again.tools.size() != read.tools.size() ||
        vexa::toolchain::encodeToolsFile(again.tools) != written) {
        __builtin_trap();
    }
    (void)vexa::toolchain::programKindOf(bytes, "tool.exe", true);
    return 0;
}
