// Splits one line into tokens by the rules of an extension profile.
#pragma once

#include <cstddef>
#include <string_view>

#include "syntax/ExtensionProfile.h"
#include "syntax/TokenKind.h"

namespace vexa::syntax {

// The token that starts at offset pos of line (a token of kind EndOfLine at or past its end).
// A line knows nothing of the lines around it: a block comment carried in from above is the
// painter's business. The end of the view is the end of the line; a NUL byte inside it is an
// ordinary character. Allocates nothing.
Token scanToken(const ExtensionProfile& profile, std::string_view line, std::size_t pos);

// Whether a word of a line is a keyword of the profile: word mode, the exact word (at most 20
// characters), counted only when the character after the keyword ends words.
bool isKeywordAt(const ExtensionProfile& profile, std::string_view line, std::size_t pos, std::size_t length);

} // namespace vexa::syntax
