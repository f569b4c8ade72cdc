// Fuzzes the plain-text reading of a formatter's output and the page-name check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/ManualPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text = vexa::platform::plainManualText(bytes);
    if (text.size() > size) {
        std::abort();
    }
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') {
            std::abort();
        }
    }
    if (vexa::platform::isManualPageName(bytes) && (bytes.empty() || bytes.front() == '-')) {
        std::abort();
    }
    return 0;
}
