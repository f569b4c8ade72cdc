// Fuzzes the list of files a second start hands to the running editor: any bytes are either
// refused or read as full paths with one line, and what is read writes back as the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/InstanceLink.h"
#include "session/StartupHandOff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The socket never delivers more than one message's worth.
    if (size > vexa::platform::kMaxLinkFiles) {
        return 0;
    }
    const std::string_view list(reinterpret_cast<const char*>(data), size);
    const auto handOffs = vexa::readOpenFilesList(list);
    if (!handOffs) {
        return 0;
    }
    for (const vexa::HandOff& handOff : *handOffs) {
        if (handOff.file.empty() || handOff.file.front() != '/' || handOff.line < 0 ||
            handOff.line != handOffs->front().line) {
            std::abort();
        }
    }
    const auto written = vexa::openFilesLists(*handOffs);
    if (!written || written->empty() || vexa::readOpenFilesList(written->front()) == std::nullopt) {
        std::abort();
    }
    return 0;
}
