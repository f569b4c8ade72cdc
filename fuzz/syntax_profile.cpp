// Feeds arbitrary bytes to the extension-profile body reader: nothing may crash, a profile read
// from anything must tokenize a line, and what it wrote must read back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "syntax/ExtensionProfile.h"
#include "syntax/LineTokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool hasAffixes = (data[0] & 1) != 0;
    const std::span<const char> body(reinterpret_cast<const char*>(data) + 1, size - 1);

    vexa::syntax::ExtensionProfile profile;
    (void)profile.readBody(body, hasAffixes);

    static constexpr std::string_view kLine =
        "#include <x.h> /* a */ int main(void) { return \"s\\\"\" + 0x1F; } // e";
    for (std::size_t pos = 0;;) {
        const vexa::syntax::Token token = vexa::syntax::scanToken(profile, kLine, pos);
        if (token.kind == vexa::syntax::TokenKind::EndOfLine) {
            break;
        }
        if (token.offset != pos || token.length == 0 || token.offset + token.length > kLine.size()) {
            std::abort();
        }
        pos = token.offset + token.length;
    }

    std::string first;
    profile.writeBody(first);
    vexa::syntax::ExtensionProfile again;
    if (!again.readBody(first, true)) {
        std::abort();
    }
    std::string second;
    again.writeBody(second);
    if (first != second) {
        std::abort();
    }
    return 0;
}
