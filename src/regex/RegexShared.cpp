// The only mutable program-wide state of the regular-expression engine.
#include "regex/RegexShared.h"

#include <algorithm>

namespace vexa {

namespace {

constexpr std::size_t kErrorTextCapacity = 100;

// Both live for the whole program (per thread). The error text is never freed while a matcher
// could still write to it, whatever order matchers are destroyed in. Each thread has its own, so
// that a search of files on a worker thread never changes the case mode of the editor's matches.
thread_local bool g_ignoreCase = false;

std::string& errorTextStorage() {
    thread_local std::string text = "Regex Error: ";
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
    // Assigned in place: every match resets the text, so it must not allocate each time.
    std::string& text = errorTextStorage();
    text.assign("Regex Error: ");
    text.append(message.substr(0, std::min(message.size(), kErrorTextCapacity - 1 - text.size())));
}

const std::string& regexErrorText() {
    return errorTextStorage();
}

} // namespace vexa
