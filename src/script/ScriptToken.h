// The terminal symbols of the script language and the token record the scanner hands the parser.
#pragma once

#include <cstdint>
#include <string_view>

namespace vexa::script {

// The numbers are fixed: the debug trace prints them. Single characters ("!", "(", ")", "{", "}",
// "[", "]", ";", ",") come back as their own character code, the end of input as 0.
enum class TokenCode : int32_t {
    EndOfInput = 0,
    Not = '!',
    LeftParen = '(',
    RightParen = ')',
    LeftBrace = '{',
    RightBrace = '}',
    LeftBracket = '[',
    RightBracket = ']',
    Semicolon = ';',
    Comma = ',',
    Int = 258,
    Char = 259,
    CArray = 260,
    Void = 261,
    Return = 262,
    Name = 263,
    Argc = 264,
    Argv = 265,
    Number = 266,
    String = 267,
    OrBits = 268,
    XorBits = 269,
    AndBits = 270,
    AndOp = 271,
    OrOp = 272,
    IncOp = 273,
    DecOp = 274,
    LtOp = 275,
    GtOp = 276,
    LeOp = 277,
    GeOp = 278,
    EqOp = 279,
    NeOp = 280,
    MulOp = 281,
    DivOp = 282,
    ModOp = 283,
    PlusOp = 284,
    MinusOp = 285,
    AssignOp = 286,
    OneChar = 287,
    For = 288,
    If = 289,
    Else = 290,
    While = 291,
};

// One token. The text points into the scanner's copy of the script and stays valid as long as
// the scanner. The value is the number of a NUMBER, the character code of a ONE_CHAR and the
// operator character of an ASSIGN_OP ('=', '+', '-', '/', '%'); 0 for every other token.
struct ScriptToken {
    TokenCode code = TokenCode::EndOfInput;
    int32_t value = 0;
    std::string_view text;
    int32_t line = 0;   // counted from 0
    int32_t column = 0; // counted from 0, the column before the token
};

} // namespace vexa::script
