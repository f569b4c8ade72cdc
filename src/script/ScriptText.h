// Text helpers of the script language: decimal conversion, the format rule of sprintf and
// the splitting of a run's command line.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::script {

// The decimal value of a text as the C library's conversion reads it: leading blanks, a
// sign, digits up to the first other character; 0 when there are none. Values beyond 32 bits
// are cut to 32 bits after saturating in 64, as on the platform's C library.
[[nodiscard]] int32_t textToNumber(std::string_view text);

// Formats with the script rule: a backslash and "n" become a blank and a newline; every "%"
// followed by a character becomes a conversion that prints the next value's text (a backslash
// protects the character after it and stays in the text). Conversions beyond the given
// values print nothing, and a "%" at the very end is kept as it is.
[[nodiscard]] std::string formatScriptText(std::string_view format, std::span<const std::string> values);

// Splits a command line into words at blanks; a double-quoted part may hold blanks (the quotes
// go). At most `limit` words are taken.
[[nodiscard]] std::vector<std::string> splitCommandLine(std::string_view line, size_t limit);

} // namespace vexa::script
