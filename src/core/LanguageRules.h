// What the document takes from the language of its file: word-break characters and comment markers.
#pragma once

#include <string_view>

#include "core/DocLine.h"

namespace vexa {

// The syntax layer implements this from the extension profile of the document's file. A
// document without a profile uses the default: no break characters beyond blanks, no markers.
class LanguageRules {
public:
    virtual ~LanguageRules() = default;
    // The bytes that end a word besides space and tab.
    virtual std::string_view wordBreakCharacters() const { return {}; }
    // The language's delimiters, which end a whole word for the search; the word breaks may
    // hold more.
    virtual std::string_view delimiterCharacters() const { return {}; }
    virtual CommentMarkers commentMarkers() const { return {}; }
};

// Whether the active keymap lets any existing mark be removed by a plain cursor move. The
// keyboard layer implements it; a document without one behaves as if it were allowed.
class CuaMarkingRule {
public:
    virtual ~CuaMarkingRule() = default;
    virtual bool cuaMarkingAllowed() const = 0;
};

} // namespace vexa
