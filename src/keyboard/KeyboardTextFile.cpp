// Bounded reading of the keyboard's text files.
#include "keyboard/KeyboardTextFile.h"

#include <fstream>

#include "platform/Files.h"

namespace vexa {

std::optional<std::string> readKeyboardTextFile(const std::string& path, std::size_t limit) {
    if (!platform::isRegularFile(path)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

} // namespace vexa
