// Tests of the script scanner: token codes and values, longest match, lines and columns, the
// check-mode echo, the debug trace and the error report with its caret.
#include "script/ScriptScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempHome.h"

namespace vexa::script {
namespace {

using TC = TokenCode;

struct Expected {
    TokenCode code;
    int32_t value;
    std::string text;
};

std::vector<ScriptToken> scanAll(ScriptScanner& scanner) {
    std::vector<ScriptToken> tokens;
    for (ScriptToken token = scanner.next(); token.code != TC::EndOfInput; token = scanner.next()) {
        tokens.push_back(token);
    }
    return tokens;
}

struct ScanCase {
    const char* name;
    std::string source;
    std::vector<Expected> tokens;
};

class ScannerTokens : public ::testing::TestWithParam<ScanCase> {
protected:
    test::TempHome m_home;
};

TEST_P(ScannerTokens, GivesTheTokensWithTheirValuesAndTexts) {
    const ScanCase& c = GetParam();
    StringScriptOutput output;
    ScriptScanner scanner(c.source, "/x/t.zm", output);
    const std::vector<ScriptToken> tokens = scanAll(scanner);
    ASSERT_EQ(tokens.size(), c.tokens.size()) << c.source;
    for (size_t i = 0; i < tokens.size(); ++i) {
        EXPECT_EQ(tokens[i].code, c.tokens[i].code) << "token " << i << " of " << c.source;
        EXPECT_EQ(tokens[i].value, c.tokens[i].value) << "token " << i << " of " << c.source;
        EXPECT_EQ(tokens[i].text, c.tokens[i].text) << "token " << i << " of " << c.source;
    }
    EXPECT_TRUE(output.text().empty()) << output.text();
}

const ScanCase kScanCases[] = {
    {"StringDeclaration",
     "string s = \"abc\";",
     {{TC::CArray, 0, "string"},
      {TC::Name, 0, "s"},
      {TC::AssignOp, '=', "="},
      {TC::String, 0, "\"abc\""},
      {TC::Semicolon, 0, ";"}}},
    {"PlusAssign", "x+=1", {{TC::Name, 0, "x"}, {TC::AssignOp, '+', "+="}, {TC::Number, 1, "1"}}},
    {"PlusThenAssign",
     "x+ =1",
     {{TC::Name, 0, "x"}, {TC::PlusOp, 0, "+"}, {TC::AssignOp, '=', "="}, {TC::Number, 1, "1"}}},
    {"AssignOperators",
     "= += -= /= %=",
     {{TC::AssignOp, '=', "="},
      {TC::AssignOp, '+', "+="},
      {TC::AssignOp, '-', "-="},
      {TC::AssignOp, '/', "/="},
      {TC::AssignOp, '%', "%="}}},
    {"NoMultiplyAssign", "*=", {{TC::MulOp, 0, "*"}, {TC::AssignOp, '=', "="}}},
    {"NoShift", "<<", {{TC::LtOp, 0, "<"}, {TC::LtOp, 0, "<"}}},
    {"TwoCharacterOperators",
     "++ -- && || <= >= == !=",
     {{TC::IncOp, 0, "++"},
      {TC::DecOp, 0, "--"},
      {TC::AndOp, 0, "&&"},
      {TC::OrOp, 0, "||"},
      {TC::LeOp, 0, "<="},
      {TC::GeOp, 0, ">="},
      {TC::EqOp, 0, "=="},
      {TC::NeOp, 0, "!="}}},
    {"OneCharacterOperators",
     "* % / + - & | ^ < > !",
     {{TC::MulOp, 0, "*"},
      {TC::ModOp, 0, "%"},
      {TC::DivOp, 0, "/"},
      {TC::PlusOp, 0, "+"},
      {TC::MinusOp, 0, "-"},
      {TC::AndBits, 0, "&"},
      {TC::OrBits, 0, "|"},
      {TC::XorBits, 0, "^"},
      {TC::LtOp, 0, "<"},
      {TC::GtOp, 0, ">"},
      {TC::Not, 0, "!"}}},
    {"SingleCharacters",
     "(){}[];,",
     {{TC::LeftParen, 0, "("},
      {TC::RightParen, 0, ")"},
      {TC::LeftBrace, 0, "{"},
      {TC::RightBrace, 0, "}"},
      {TC::LeftBracket, 0, "["},
      {TC::RightBracket, 0, "]"},
      {TC::Semicolon, 0, ";"},
      {TC::Comma, 0, ","}}},
    {"Keywords",
     "else for if return while int char string void argc argv",
     {{TC::Else, 0, "else"},
      {TC::For, 0, "for"},
      {TC::If, 0, "if"},
      {TC::Return, 0, "return"},
      {TC::While, 0, "while"},
      {TC::Int, 0, "int"},
      {TC::Char, 0, "char"},
      {TC::CArray, 0, "string"},
      {TC::Void, 0, "void"},
      {TC::Argc, 0, "argc"},
      {TC::Argv, 0, "argv"}}},
    {"LongerWordsAndOtherCaseAreNames",
     "iff if1 strings INT If While _x9",
     {{TC::Name, 0, "iff"},
      {TC::Name, 0, "if1"},
      {TC::Name, 0, "strings"},
      {TC::Name, 0, "INT"},
      {TC::Name, 0, "If"},
      {TC::Name, 0, "While"},
      {TC::Name, 0, "_x9"}}},
    {"CharacterLiteral", "'a'", {{TC::OneChar, 97, "'a'"}}},
    {"TwoQuotesGiveNothing", "''", {}},
    {"ThreeQuotesGiveAQuote", "'''", {{TC::OneChar, 39, "'''"}}},
    {"NoEscapesInCharacterLiterals", "'\\n'", {{TC::Name, 0, "n"}}},
    {"QuotedNewlineIsNoLiteral", "'\n'", {}},
    {"HexIsNumberThenName", "0x10", {{TC::Number, 0, "0"}, {TC::Name, 0, "x10"}}},
    {"LeadingZerosAreDecimal", "0017", {{TC::Number, 17, "0017"}}},
    {"NumberThenName", "9a", {{TC::Number, 9, "9"}, {TC::Name, 0, "a"}}},
    {"NoNegativeLiterals", "-5", {{TC::MinusOp, 0, "-"}, {TC::Number, 5, "5"}}},
    {"LargestNumber", "2147483647", {{TC::Number, 2147483647, "2147483647"}}},
    {"NumberBeyondThirtyTwoBitsIsCut", "4294967297", {{TC::Number, 1, "4294967297"}}},
    {"EscapedQuoteStaysInString", "\"a\\\"b\" c", {{TC::String, 0, "\"a\\\"b\""}, {TC::Name, 0, "c"}}},
    {"BackslashPairsStay", "\"a\\\\\"", {{TC::String, 0, "\"a\\\\\""}}},
    {"EmptyString", "\"\"", {{TC::String, 0, "\"\""}}},
    {"EmptyBlockComment", "a/**/b", {{TC::Name, 0, "a"}, {TC::Name, 0, "b"}}},
    {"BlockCommentsDoNotNest",
     "a /* /* */ b */",
     {{TC::Name, 0, "a"}, {TC::Name, 0, "b"}, {TC::MulOp, 0, "*"}, {TC::DivOp, 0, "/"}}},
    {"UnterminatedBlockCommentEndsAtEnd", "a /* b", {{TC::Name, 0, "a"}}},
    {"LineComment", "a//b\nc", {{TC::Name, 0, "a"}, {TC::Name, 0, "c"}}},
    {"StrayCharactersAreSkipped",
     "#a$b.c~d?e\r\n\x80x",
     {{TC::Name, 0, "a"},
      {TC::Name, 0, "b"},
      {TC::Name, 0, "c"},
      {TC::Name, 0, "d"},
      {TC::Name, 0, "e"},
      {TC::Name, 0, "x"}}},
    {"LoneQuoteIsSkipped", "'ab", {{TC::Name, 0, "ab"}}},
    {"DivideAssignBeatsDivide", "a/=b", {{TC::Name, 0, "a"}, {TC::AssignOp, '/', "/="}, {TC::Name, 0, "b"}}},
    {"NotEqualsBeatsNot", "!=!", {{TC::NeOp, 0, "!="}, {TC::Not, 0, "!"}}},
    {"TripleAmpersand", "&&&", {{TC::AndOp, 0, "&&"}, {TC::AndBits, 0, "&"}}},
    {"TriplePlus", "+++", {{TC::IncOp, 0, "++"}, {TC::PlusOp, 0, "+"}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScannerTokens, ::testing::ValuesIn(kScanCases),
                         [](const ::testing::TestParamInfo<ScanCase>& info) { return info.param.name; });

TEST(ScriptScanner, KeepsLinesAndColumnsOfEveryToken) {
    StringScriptOutput output;
    ScriptScanner scanner("int x;\n\tx = 'q' /* a\nb */ + y; // z\n  \"s\"", "/x/t.zm", output);
    struct Position {
        std::string text;
        int32_t line;
        int32_t column;
    };
    const std::vector<Position> expected{{"int", 0, 0}, {"x", 0, 4},    {";", 0, 5}, {"x", 1, 1},
                                         {"=", 1, 3},   {"'q'", 1, 5},  {"+", 2, 5}, {"y", 2, 7},
                                         {";", 2, 8},   {"\"s\"", 3, 2}};
    const std::vector<ScriptToken> tokens = scanAll(scanner);
    ASSERT_EQ(tokens.size(), expected.size());
    for (size_t i = 0; i < tokens.size(); ++i) {
        EXPECT_EQ(tokens[i].text, expected[i].text);
        EXPECT_EQ(tokens[i].line, expected[i].line) << expected[i].text;
        EXPECT_EQ(tokens[i].column, expected[i].column) << expected[i].text;
    }
    EXPECT_EQ(scanner.line(), 3);
}

TEST(ScriptScanner, KeepsTheTextOfTheCurrentLine) {
    StringScriptOutput output;
    ScriptScanner scanner("first line\nsecond one\n", "/x/t.zm", output);
    EXPECT_EQ(scanner.currentLineText(), "first line");
    scanner.next();
    scanner.next();
    EXPECT_EQ(scanner.currentLineText(), "first line");
    scanner.next();
    EXPECT_EQ(scanner.current().text, "second");
    EXPECT_EQ(scanner.currentLineText(), "second one");
    EXPECT_EQ(scanner.next().code, TC::Name);
    EXPECT_EQ(scanner.next().code, TC::EndOfInput);
    EXPECT_EQ(scanner.next().code, TC::EndOfInput);
    EXPECT_EQ(scanner.currentLineText(), "");
}

TEST(ScriptScanner, UnterminatedStringIsReportedAndScannedToTheLineEnd) {
    StringScriptOutput output;
    ScriptScanner scanner("int x;\n  s = \"abc;\nx = 1;", "/home/u/t.zm", output);
    std::vector<ScriptToken> tokens = scanAll(scanner);
    ASSERT_EQ(tokens.size(), 10u);
    EXPECT_EQ(tokens[5].code, TC::String);
    EXPECT_EQ(tokens[5].text, "\"abc;");
    EXPECT_EQ(tokens[6].text, "x");
    EXPECT_EQ(tokens[6].line, 2);
    EXPECT_TRUE(scanner.errorReported());
    EXPECT_EQ(output.text(),
              "  s = \"abc;\n      ^\nFile: /home/u/t.zm  Line: 0002:  Reason: 'Unterminated string!' \n");
}

TEST(ScriptScanner, StringEndsBeforeABackslashAtTheLineEnd) {
    StringScriptOutput output;
    ScriptScanner scanner("\"ab\\\nc", "/x/t.zm", output);
    const std::vector<ScriptToken> tokens = scanAll(scanner);
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].text, "\"ab");
    EXPECT_EQ(tokens[1].text, "c");
    EXPECT_TRUE(scanner.errorReported());
}

TEST(ScriptScanner, ErrorReportPutsTheCaretUnderTheToken) {
    StringScriptOutput output;
    ScriptScanner scanner("a\n\n   bad token", "/p/q.zm", output);
    scanner.next();
    scanner.next();
    scanner.reportError("parse error");
    EXPECT_EQ(output.text(), "   bad token\n   ^\nFile: /p/q.zm  Line: 0003:  Reason: 'parse error' \n");
}

TEST(ScriptScanner, ErrorReportAtTheEndNamesTheUnexpectedEnd) {
    StringScriptOutput output;
    ScriptScanner scanner("x\ny", "/p/q.zm", output);
    scanAll(scanner);
    scanner.reportError("parse error");
    EXPECT_EQ(output.text(),
              "y\n^\nFile: /p/q.zm  Line 2: Reason: 'Unexpected EOF found while looking for input.'\n");
}

TEST(ScriptScanner, CheckModeEchoesTheScriptAndLeavesTheLineOutOfReports) {
    StringScriptOutput output;
    const std::string source = "int x; /* c\n */ x = 1; // end\n\tx++;\v\f";
    ScriptScanner scanner(source, "/p/q.zm", output);
    scanner.setCheckMode(true);
    scanAll(scanner);
    EXPECT_EQ(output.text(), source);
    output.clear();
    scanner.reportError("parse error");
    EXPECT_EQ(output.text(),
              "\n^\nFile: /p/q.zm  Line 3: Reason: 'Unexpected EOF found while looking for input.'\n");
}

TEST(ScriptScanner, CheckModeDoesNotEchoStrayCharacters) {
    StringScriptOutput output;
    ScriptScanner scanner("a#\r\nb", "/p/q.zm", output);
    scanner.setCheckMode(true);
    scanAll(scanner);
    EXPECT_EQ(output.text(), "a\nb");
}

TEST(ScriptScanner, DebugModeTracesEveryToken) {
    StringScriptOutput output;
    ScriptScanner scanner("x\n  += 12;", "/p/q.zm", output);
    scanner.setDebugMode(true);
    scanAll(scanner);
    EXPECT_EQ(output.text(), "\tToken: 'x', ID: 263, Line: 1, Column: 1, Length: 1 \n"
                             "\tToken: '+=', ID: 286, Line: 2, Column: 3, Length: 2 \n"
                             "\tToken: '12', ID: 266, Line: 2, Column: 6, Length: 2 \n"
                             "\tToken: ';', ID: 59, Line: 2, Column: 8, Length: 1 \n");
}

TEST(ScriptScanner, NulBytesAreSkippedNotTakenAsTheEnd) {
    StringScriptOutput output;
    ScriptScanner scanner(std::string("a\0b", 3), "/p/q.zm", output);
    const std::vector<ScriptToken> tokens = scanAll(scanner);
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[1].text, "b");
}

} // namespace
} // namespace vexa::script
