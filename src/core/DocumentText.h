// Text crossing into and out of a document: the document's bytes as UTF-8 and UTF-8 text (typed,
// pasted, from dialogs, scripts and templates) as bytes of the document.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/Document.h"

namespace vexa {

class Messenger;

inline constexpr const char* kNotInWindows1252 = "The character U+%04X can not be held by this Windows-1252 "
                                                 "document. View > Encoding switches it to UTF-8.";

// UTF-8 text as bytes of the document; nothing when the document's encoding cannot hold one of
// its characters (the message above then goes to the messenger, when there is one). The text is
// never changed to make it fit.
std::optional<std::string> documentBytes(const Document& document, std::string_view utf8,
                                         Messenger* messenger);

// Bytes of the document as UTF-8.
inline std::string documentTextAsUtf8(const Document& document, std::string_view bytes) {
    return text::toUtf8(bytes, document.encoding());
}

} // namespace vexa
