// Manual page names and the plain text of formatted pages.
#include "platform/ManualPage.h"

namespace vexa::platform {

bool isManualPageName(std::string_view name) {
    if (name.empty() || name.size() > 100 || name.front() == '-') {
        return false;
    }
    for (char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                     c == '.' || c == ':' || c == '+' || c == '-';
        if (!plain) {
            return false;
        }
    }
    return true;
}

std::string plainManualText(std::string_view formatted) {
    std::string text;
    text.reserve(formatted.size());
    std::size_t i = 0;
    while (i < formatted.size()) {
        char c = formatted[i];
        if (c == '\b') {
            // Overstrike: the character before is replaced by the one after.
            if (!text.empty() && text.back() != '\n') {
                text.pop_back();
            }
            ++i;
            continue;
        }
        if (c == '\x1b') {
            // ESC [ parameters final-byte; a lone ESC or another kind drops one more byte.
            ++i;
            if (i < formatted.size() && formatted[i] == '[') {
                ++i;
                while (i < formatted.size() && !(formatted[i] >= '@' && formatted[i] <= '~')) {
                    ++i;
                }
            }
            if (i < formatted.size()) {
                ++i;
            }
            continue;
        }
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 || c == '\n' || c == '\t') {
            text.push_back(c);
        }
        ++i;
    }
    return text;
}

} // namespace vexa::platform
