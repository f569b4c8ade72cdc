// Fuzzes the information-file header reader: decoding, the type and version checks, re-encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "settings/InfoHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
    vexa::InfoHeader header = vexa::decodeInfoHeader(bytes);
    (void)vexa::isInfoType(header, vexa::kKeymapInfo.fileType);
    (void)vexa::infoVersionNumber(header.version);

    // Encoding always gives the full header, and a header that went through one encoding comes
    // back unchanged from the next.
    std::string encoded = vexa::encodeInfoHeader(header);
    if (encoded.size() != vexa::kInfoHeaderSize) {
        std::abort();
    }
    vexa::InfoHeader once = vexa::decodeInfoHeader(encoded);
    if (vexa::decodeInfoHeader(vexa::encodeInfoHeader(once)) != once) {
        std::abort();
    }
    return 0;
}
