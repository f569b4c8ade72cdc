// The only mutable program-wide state of the regular-expression engine.
#include "commands/RegexShared.h"

#include <utility>

namespace vexa {

namespace {

constexpr std::size_t kErrorTextCapacity = 100;

// Both live for the whole program. The error text is never freed while a matcher could still
// write to it, whatever order matchers are destroyed in.
bool g_ignoreCase = false;

std::string& errorTextStorage() {
    static std::string text = "Regex Error: ";
    return text;
}

} // namespace

void setRegexIgnoreCase(bool ignoreCase) {
    g_ignoreCase = ignoreCase;
}

bool regexIgnoreCase() {
    return g_ignoreCase;
}

void setRegexErrorMessage(std::string_view message) {
    std::string text = "Regex Error: ";
    text.append(message);
    if (text.size() > kErrorTextCapacity - 1) {
        text.resize(kErrorTextCapacity - 1);
    }
    errorTextStorage() = std::move(text);
}

const std::string& regexErrorText() {
    return errorTextStorage();
}

} // namespace vexa
