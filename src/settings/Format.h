// printf-style formatting of the program's message texts into a std::string.
#pragma once

#include <cstdarg>
#include <string>

namespace vexa {

// Formats like std::printf; the format strings of the program's messages are used exactly as
// they are given ("%5.5d", "%-10.10s"). A format the C library rejects gives an empty string.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatTextV(const char* format, va_list arguments);

} // namespace vexa
