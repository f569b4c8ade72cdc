// Feeds arbitrary bytes to the script scanner, with the echo and trace switched by the first byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/ScriptScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t modes = size > 0 ? data[0] : 0;
    vexa::script::StringScriptOutput output;
    vexa::script::ScriptScanner scanner(std::string(reinterpret_cast<const char*>(data), size), "/fuzz/s.zm",
                                        output);
    scanner.setCheckMode((modes & 1) != 0);
    scanner.setDebugMode((modes & 2) != 0);
    size_t tokens = 0;
    while (scanner.next().code != vexa::script::TokenCode::EndOfInput) {
        // Every token consumes at least one byte, so there can be no more tokens than bytes.
        if (++tokens > size) {
            __builtin_trap();
        }
    }
    if ((modes & 4) != 0) {
        scanner.reportError("parse error");
    }
    return 0;
}
