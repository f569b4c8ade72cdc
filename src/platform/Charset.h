// Conversion between the OEM character set (code page 437) and the ANSI set (Windows-1252).
#pragma once

#include <span>

namespace vexa::platform {

// Both convert in place, byte for byte; bytes below 128 never change. A byte with no exact
// counterpart maps by the code pages' best-fit data, as the system conversion of the desktop does.
void oemToAnsi(std::span<char> bytes);
void ansiToOem(std::span<char> bytes);

} // namespace vexa::platform
