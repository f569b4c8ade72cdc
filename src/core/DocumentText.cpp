// Text crossing into and out of a document.
#include "core/DocumentText.h"

#include "core/Messenger.h"
#include "settings/Format.h"

namespace vexa {

std::optional<std::string> documentBytes(const Document& document, std::string_view utf8,
                                         Messenger* messenger) {
    char32_t missing = 0;
    std::optional<std::string> bytes = text::fromUtf8(utf8, document.encoding(), &missing);
    if (!bytes && messenger != nullptr) {
        messenger->status(formatText(kNotInWindows1252, static_cast<unsigned>(missing)),
                          platform::SoundKind::Error);
    }
    return bytes;
}

} // namespace vexa
