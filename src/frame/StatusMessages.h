// The status messages that several families of editor functions share.
#pragma once

#include <string_view>

namespace vexa {

inline constexpr std::string_view kReadOnlyMessage =
    "The document can not be changed as it is marked as 'Read Only'";
// A document whose file is still loading, or whose load was stopped, holds only part of it.
inline constexpr const char* kIncompleteMessage =
    "The '%s' file is not completely loaded, so the document can not be changed.";
inline constexpr std::string_view kNotYetImplemented = "Not yet implemented!";
// An internal failure, with the module's name and the source line.
inline constexpr std::string_view kUnexpectedError = "Unexpected Vexa error at File: %s Line: %s";

} // namespace vexa
