// The regular-expression engine's program-wide state: the one ignore-case flag and the matchers'
// shared last-error text.
#pragma once

#include <string>
#include <string_view>

namespace vexa {

// Every matcher and every execution on a thread reads that thread's one flag; callers set it
// (through a matcher's case mode) before each match.
void setRegexIgnoreCase(bool ignoreCase);
[[nodiscard]] bool regexIgnoreCase();

// The last-error text shared by all matchers: "Regex Error: %s" filled with the newest message,
// at most 99 characters (the text field holds 100 with its NUL).
void setRegexErrorMessage(std::string_view message);
[[nodiscard]] const std::string& regexErrorText();

} // namespace vexa
