// The kinds of token the line tokenizer reports and the colour slot of each.
#pragma once

#include <cstddef>
#include <cstdint>

#include "syntax/ColourSlot.h"

namespace vexa::syntax {

// The numbers are shared with the painter and the spelling checker.
enum class TokenKind : uint8_t {
    OpenComment = 1, // a block comment not closed on its line, or a lone comment end
    Word = 2,
    Keyword = 3, // also the keyword postfix character on its own
    Number = 6,
    Preprocessor = 7,
    String = 8,
    Symbols = 9,
    EndOfLine = 100,
    Spaces = 101,
    Tab = 102,
    LiteralPair = 103,
    LineComment = 104,
    BlockComment = 105,
    FtpString = 106,
    HttpString = 107,
    MailtoString = 108,
};

// One token of a line: its byte offset, its length in bytes and its kind.
struct Token {
    std::size_t offset = 0;
    std::size_t length = 0;
    TokenKind kind = TokenKind::EndOfLine;
};

constexpr ColourSlot slotOf(TokenKind kind) {
    switch (kind) {
    case TokenKind::OpenComment:
    case TokenKind::LineComment:
    case TokenKind::BlockComment:
        return ColourSlot::Comment;
    case TokenKind::Keyword:
        return ColourSlot::Keyword;
    case TokenKind::Number:
        return ColourSlot::Number;
    case TokenKind::Preprocessor:
        return ColourSlot::Preprocessor;
    case TokenKind::String:
    case TokenKind::FtpString:
    case TokenKind::HttpString:
    case TokenKind::MailtoString:
        return ColourSlot::String;
    case TokenKind::Symbols:
        return ColourSlot::Symbol;
    default:
        return ColourSlot::Default;
    }
}

} // namespace vexa::syntax
