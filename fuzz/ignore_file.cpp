// Feeds arbitrary bytes to the ignore-file reader and matches paths cut from the same bytes against
// the rules: nothing may crash, and a path is judged the same way twice. The input is cut to 64 KB
// so that the work per input stays bounded (rules times path length, each bounded by the reader).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "findfiles/IgnoreRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    constexpr std::size_t kMaxInput = 64 * 1024;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size < kMaxInput ? size : kMaxInput);
    const auto rules = vexa::findfiles::IgnoreRules::parse(bytes);
    if (rules.size() > vexa::findfiles::IgnoreRules::kMaxRules) {
        __builtin_trap();
    }
    // Paths: the first eight lines of the input's first 256 bytes, as a file and as a folder.
    const std::string_view head = bytes.substr(0, bytes.size() < 256 ? bytes.size() : 256);
    std::size_t at = 0;
    for (int lines = 0; lines < 8 && at <= head.size(); ++lines) {
        std::size_t end = head.find('\n', at);
        if (end == std::string_view::npos) {
            end = head.size();
        }
        const std::string path(head.substr(at, end - at));
        for (const auto kind : {vexa::findfiles::PathKind::File, vexa::findfiles::PathKind::Folder}) {
            if (rules.verdict(path, kind) != rules.verdict(path, kind)) {
                __builtin_trap();
            }
        }
        (void)vexa::findfiles::matchesGlob(path, head);
        at = end + 1;
    }
    return 0;
}
