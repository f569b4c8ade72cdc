// Splitting a command line into program and arguments the way the desktop's programs do.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::platform {

// The words of a command line. Words are separated by spaces and tabs; double quotes group
// a word with its blanks and are removed; inside quotes "" stands for one quote. Backslashes
// are ordinary characters except before a quote: 2n backslashes and a quote give n
// backslashes and a grouping quote, 2n+1 give n backslashes and a literal quote. The first
// word (the program) knows quotes only, so a directory ending in a backslash survives.
[[nodiscard]] std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The command line that splitCommandLine takes back into exactly these words: words with
// blanks or quotes, and empty words, are quoted and escaped. Nothing when there is no
// program word or it is empty or holds a quote, which the program word cannot express.
[[nodiscard]] std::optional<std::string> joinCommandLine(const std::vector<std::string>& words);

} // namespace vexa::platform
