// Fuzzes the key store's line format and the charset tables: any line parses or is refused
// without harm, and anything formatted parses back to the same key and value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Charset.h"
#include "platform/posix/FileKeyStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using vexa::platform::FileKeyStore;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::string key;
    std::string value;
    (void)FileKeyStore::parseLine(bytes, key, value);

    // Split the input into a key and a value and round-trip them through one line.
    std::size_t half = size / 2;
    std::string inKey(bytes.substr(0, half));
    std::string inValue(bytes.substr(half));
    if (!inKey.empty()) {
        std::string line = FileKeyStore::formatLine(inKey, inValue);
        if (line.empty() || line.back() != '\n') {
            std::abort();
        }
        line.pop_back();
        if (line.find('\n') != std::string::npos || !FileKeyStore::parseLine(line, key, value) ||
            key != inKey || value != inValue) {
            std::abort();
        }
    }

    // The conversions keep the length and never touch bytes below 128.
    std::string text(bytes);
    vexa::platform::oemToAnsi(text);
    vexa::platform::ansiToOem(text);
    if (text.size() != size) {
        std::abort();
    }
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 128 && static_cast<unsigned char>(text[i]) != data[i]) {
            std::abort();
        }
    }
    return 0;
}
