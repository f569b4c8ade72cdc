// Tests of the script parser: what the grammar accepts and rejects, the trees it builds for
// precedence, conditions and dangling else, error recovery and its reports, and the limits.
#include "script/ScriptParser.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TempHome.h"

namespace vexa::script {
namespace {

// Renders a tree as nested prefix forms, e.g. "(= x (+ a (* b c)))"; lists as "{a b}".
std::string dump(const ScriptTree& tree, NodeId id) {
    if (id == kNoNode) {
        return "-";
    }
    const ScriptNode& n = tree[id];
    const auto d = [&tree](NodeId child) { return dump(tree, child); };
    switch (n.kind) {
    case NodeKind::Variable:
        return n.name;
    case NodeKind::Number:
        return std::to_string(n.value);
    case NodeKind::String:
        return "\"" + n.text + "\"";
    case NodeKind::Argument:
        if (n.name == "argc") {
            return "argc";
        }
        return "argv[" + (n.first != kNoNode ? d(n.first) : std::to_string(n.useCount)) + "]";
    case NodeKind::Statement: {
        std::string list = "{";
        for (NodeId item = id; item != kNoNode; item = tree[item].second) {
            list += (item == id ? "" : " ") + d(tree[item].first);
        }
        return list + "}";
    }
    case NodeKind::Function: {
        const ScriptNode& name = tree[n.first];
        std::string call = "(call " + name.text;
        for (NodeId arg = tree[n.second].first; arg != kNoNode; arg = tree[arg].second) {
            call += " " + d(tree[arg].first);
        }
        return call + ")";
    }
    case NodeKind::Assign:
        return std::string("(") + (n.assignOperator == '=' ? "" : std::string(1, n.assignOperator)) + "= " +
               d(n.first) + " " + d(n.second) + ")";
    case NodeKind::Declaration: {
        static const char* const kTypes[] = {"int", "char", "string"};
        return std::string("(decl ") + kTypes[static_cast<int>(tree[n.first].valueType)] + " " + d(n.first) +
               (n.second == kNoNode ? "" : std::string(" ") + n.assignOperator + " " + d(n.second)) + ")";
    }
    case NodeKind::If:
        return "(if " + d(n.first) + " " + d(tree[n.second].first) + " " + d(tree[n.second].second) + ")";
    case NodeKind::While:
        return "(while " + d(n.first) + " " + d(n.second) + ")";
    case NodeKind::For: {
        const ScriptNode& header = tree[n.second];
        return "(for " + d(header.first) + " " + d(header.second) + " " + d(header.third) + " " + d(n.first) +
               ")";
    }
    case NodeKind::Return:
        return "(return " + d(n.first) + ")";
    case NodeKind::PreIncrement:
        return "(++" + d(n.first) + ")";
    case NodeKind::PreDecrement:
        return "(--" + d(n.first) + ")";
    case NodeKind::PostIncrement:
        return "(" + d(n.first) + "++)";
    case NodeKind::PostDecrement:
        return "(" + d(n.first) + "--)";
    case NodeKind::Not:
        return "(! " + d(n.first) + ")";
    default:
        break;
    }
    std::string symbol = n.name;
    switch (n.kind) {
    case NodeKind::Divide:
        symbol = "/";
        break;
    case NodeKind::BitOr:
        symbol = "|";
        break;
    case NodeKind::BitXor:
        symbol = "^";
        break;
    case NodeKind::BitAnd:
        symbol = "&";
        break;
    case NodeKind::And:
        symbol = "&&";
        break;
    case NodeKind::Or:
        symbol = "||";
        break;
    default:
        break;
    }
    return "(" + symbol + " " + d(n.first) + " " + d(n.second) + ")";
}

struct Parsed {
    ParseResult result;
    std::string tree;
    std::string output;
};

Parsed parseScript(const std::string& source) {
    StringScriptOutput output;
    ScriptScanner scanner(source, "/s/t.zm", output);
    ScriptTree tree;
    ScriptReporter reporter(output, "/s/t.zm");
    ScriptParser parser(scanner, tree, reporter);
    const ParseResult result = parser.parse();
    std::string rendered;
    if (result == ParseResult::Parsed) {
        rendered = dump(tree, tree[tree.root()].second);
    }
    return {result, rendered, output.text()};
}

struct TreeCase {
    const char* name;
    std::string body;
    std::string tree;
};

class ParserTrees : public ::testing::TestWithParam<TreeCase> {};

TEST_P(ParserTrees, BuildsTheTree) {
    const TreeCase& c = GetParam();
    const Parsed parsed = parseScript("int main() {\n" + c.body + "\n}");
    ASSERT_EQ(parsed.result, ParseResult::Parsed) << c.body << "\n" << parsed.output;
    EXPECT_EQ(parsed.tree, "{{" + c.tree + "}}") << c.body;
}

const TreeCase kTreeCases[] = {
    {"MultiplyBindsTighter", "x = a + b * c;", "(= x (+ a (* b c)))"},
    {"BitsBindTighterThanMultiply", "x = a * b | c;", "(= x (* a (| b c)))"},
    {"BitsShareOneLevel", "x = a | b & c;", "(= x (| a (& b c)))"},
    {"BitsAreRightAssociative", "x = a & b ^ c | d;", "(= x (& a (^ b (| c d))))"},
    {"MinusIsLeftAssociative", "x = a - b - c;", "(= x (- (- a b) c))"},
    {"DivideAndRemainderAreLeftAssociative", "x = a / b % c * d;", "(= x (* (% (/ a b) c) d))"},
    {"AssignmentTakesEverythingToItsRight", "a + b = 3 + 4;", "(+ a (= b (+ 3 4)))"},
    {"AssignmentAfterMultiply", "a * b = 3 - c;", "(* a (= b (- 3 c)))"},
    {"AssignmentIsRightAssociative", "x = y -= 2;", "(= x (-= y 2))"},
    {"AssignOperatorsAreKept", "x += 1; x /= 2; x %= 3;", "(+= x 1) (/= x 2) (%= x 3)"},
    {"ConstantExpression", "x = a + 1 * 2;", "(= x (+ a (* 1 2)))"},
    {"IncrementsBindToTheVariable", "x = ++y + z-- * --w;", "(= x (+ (++y) (* (z--) (--w))))"},
    {"CharacterLiteralIsANumber", "c = 'a';", "(= c 97)"},
    {"StringLosesItsQuotes", "s = \"a\\\"b\";", "(= s \"a\\\"b\")"},
    {"Arguments", "x = argc + argv[2] + argv[i];", "(= x (+ (+ argc argv[2]) argv[i]))"},
    {"NestedArgvIndex", "x = argv[argv[1]];", "(= x argv[argv[1]])"},
    {"Calls", "f(); g(1, \"a\", h(x), y = 2);", "(call f) (call g 1 \"a\" (call h x) (= y 2))"},
    {"CallInsideAnExpression", "x = 2 * strlen(s) + 1;", "(= x (+ (* 2 (call strlen s)) 1))"},
    {"BareConditionComparesWithZero", "if (a) x;", "(if (!= a 0) x -)"},
    {"Comparisons", "if (a + 1 >= b * 2) x; while (a != b) y;",
     "(if (>= (+ a 1) (* b 2)) x -) (while (!= a b) y)"},
    {"AllComparisons", "if (a < b || a > b || a <= b || a == b) x;",
     "(if (|| (|| (|| (< a b) (> a b)) (<= a b)) (== a b)) x -)"},
    {"NotAppliesToTheSmallestCondition", "if (! a && b) x;", "(if (&& (! (!= a 0)) (!= b 0)) x -)"},
    {"NotTakesAWholeComparison", "if (! a > b) x;", "(if (! (> a b)) x -)"},
    {"AndBindsTighterThanOr", "if (a || b && c) x;", "(if (|| (!= a 0) (&& (!= b 0) (!= c 0))) x -)"},
    {"ParenthesisedConditions", "if ((a) && (b < c || d)) x;",
     "(if (&& (!= a 0) (|| (< b c) (!= d 0))) x -)"},
    {"DanglingElseGoesToTheInnerIf", "if (a) if (b) x = 1; else x = 2;",
     "(if (!= a 0) (if (!= b 0) (= x 1) (= x 2)) -)"},
    {"ElseOfAnOuterBlock", "if (a) { if (b) x = 1; } else x = 2;",
     "(if (!= a 0) {(if (!= b 0) (= x 1) -)} (= x 2))"},
    {"ForLoop", "for (i = 0; i < 10; i++) s += i;", "(for (= i 0) (< i 10) (i++) (+= s i))"},
    {"WhileWithBlock", "while (n) { n--; x++; }", "(while (!= n 0) {(n--) (x++)})"},
    {"EmptyBlockGivesNothing", "{ } x;", "- x"},
    {"NestedBlockIsTheInnerList", "{ a; { b; c; } }", "{a {b c}}"},
    {"Declarations", "int i = 2; char c; string s = \"x\";",
     "(decl int i = 2) (decl char c) (decl string s = \"x\")"},
    {"DeclarationKeepsItsOperator", "int i += 5;", "(decl int i + 5)"},
    {"Returns", "return; return x; return a > b && c;",
     "(return -) (return (!= x 0)) (return (&& (> a b) (!= c 0)))"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ParserTrees, ::testing::ValuesIn(kTreeCases),
                         [](const ::testing::TestParamInfo<TreeCase>& info) { return info.param.name; });

struct AcceptCase {
    const char* name;
    std::string source;
    ParseResult result;
};

class ParserAcceptance : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(ParserAcceptance, AcceptsExactlyTheLanguage) {
    const AcceptCase& c = GetParam();
    const Parsed parsed = parseScript(c.source);
    EXPECT_EQ(parsed.result, c.result) << c.source << "\n" << parsed.output;
    EXPECT_EQ(parsed.output.find("parse error") != std::string::npos ||
                  parsed.output.find("Unexpected EOF") != std::string::npos,
              c.result == ParseResult::Failed)
        << parsed.output;
}

const AcceptCase kAcceptCases[] = {
    {"EmptyBody", "int main() { }", ParseResult::Parsed},
    {"VoidAndNoBlock", "int main(void) x = 1;", ParseResult::Parsed},
    {"SeveralTopLevelStatements", "int main() x = 1; y = 2;", ParseResult::Parsed},
    {"ReturnOfAVariable", "int main() { return x; }", ParseResult::Parsed},
    {"VoidMain", "void main() { }", ParseResult::Failed},
    {"CharMain", "char main() { }", ParseResult::Failed},
    {"NoParameterListClose", "int main( { }", ParseResult::Failed},
    {"NoBody", "int main()", ParseResult::Failed},
    {"SecondFunction", "int main() { } int f() { }", ParseResult::Failed},
    {"ParenthesesInExpression", "int main() { x = (a + 1) * 2; }", ParseResult::Failed},
    {"ParenthesisedExpressionInComparison", "int main() { if ((a + 1) > b) x; }", ParseResult::Failed},
    {"ParenthesisedConditionAnd", "int main() { if ((a) && b) x; }", ParseResult::Parsed},
    {"ComparisonOutsideCondition", "int main() { x = a < b; }", ParseResult::Failed},
    {"ChainedComparison", "int main() { if (a == b == c) x; }", ParseResult::Failed},
    {"UnaryMinus", "int main() { x = -1; }", ParseResult::Failed},
    {"EmptyStatement", "int main() { ; }", ParseResult::Failed},
    {"SeveralDeclared", "int main() { int a, b; }", ParseResult::Failed},
    {"BreakIsAPlainName", "int main() { while (1) break; }", ParseResult::Parsed},
    {"MissingSemicolon", "int main() { x = 1 }", ParseResult::Failed},
    {"MissingOperand", "int main() { x = a +; }", ParseResult::Failed},
    {"EmptyArgument", "int main() { f(,); }", ParseResult::Failed},
    {"TrailingComma", "int main() { f(a,); }", ParseResult::Failed},
    {"AssignToPostfix", "int main() { x++ = 3; }", ParseResult::Failed},
    {"AssignToPrefix", "int main() { ++x = 3; }", ParseResult::Failed},
    {"IncrementOfNumber", "int main() { ++3; }", ParseResult::Failed},
    {"ExpressionAsArgvIndex", "int main() { x = argv[i + 1]; }", ParseResult::Failed},
    {"NotOutsideCondition", "int main() { x = !a; }", ParseResult::Failed},
    {"EmptyForPart", "int main() { for (; i < 3; i++) x; }", ParseResult::Failed},
    {"ElseWithoutStatement", "int main() { if (a) x; else }", ParseResult::Failed},
    {"UnclosedBlock", "int main() { x = 1;", ParseResult::Failed},
    {"NoInitialValue", "int main() { int x = ; }", ParseResult::Failed},
    {"CallOfAnExpression", "int main() { x = a(1)(2); }", ParseResult::Failed},
    {"UnterminatedStringFailsTheScript", "int main() { s = \"abc;\n}", ParseResult::Failed},
};

INSTANTIATE_TEST_SUITE_P(Cases, ParserAcceptance, ::testing::ValuesIn(kAcceptCases),
                         [](const ::testing::TestParamInfo<AcceptCase>& info) { return info.param.name; });

TEST(ScriptParser, ReportsAParseErrorWithACaretAndRecoversAtTheSemicolon) {
    const Parsed parsed = parseScript("int main() {\n  x = ;\n  y = 1;\n  z = 2 2;\n}\n");
    EXPECT_EQ(parsed.result, ParseResult::Failed);
    EXPECT_EQ(parsed.output, "  x = ;\n      ^\nFile: /s/t.zm  Line: 0002:  Reason: 'parse error' \n"
                             "  z = 2 2;\n        ^\nFile: /s/t.zm  Line: 0004:  Reason: 'parse error' \n");
}

TEST(ScriptParser, AnErrorRightAfterRecoveryIsNotReportedAgain) {
    const Parsed parsed = parseScript("int main() {\n x = ; ; y = 1; }");
    EXPECT_EQ(parsed.result, ParseResult::Failed);
    EXPECT_EQ(parsed.output,
              " x = ; ; y = 1; }\n     ^\nFile: /s/t.zm  Line: 0002:  Reason: 'parse error' \n");
}

TEST(ScriptParser, RecoveryAtABraceTakesTheBlocksEnd) {
    // The "}" ends the broken statement, so the block stays open and the end of input is
    // met inside it; the error right after recovery is not reported a second time.
    const Parsed parsed = parseScript("int main() { x = 1 }");
    EXPECT_EQ(parsed.result, ParseResult::Failed);
    EXPECT_EQ(
        parsed.output,
        "int main() { x = 1 }\n                   ^\nFile: /s/t.zm  Line: 0001:  Reason: 'parse error' \n");
}

TEST(ScriptParser, ReportsTheUnexpectedEnd) {
    const Parsed parsed = parseScript("int main() {\n x = 1;\n");
    EXPECT_EQ(parsed.result, ParseResult::Failed);
    EXPECT_EQ(parsed.output,
              "\n^\nFile: /s/t.zm  Line 3: Reason: 'Unexpected EOF found while looking for input.'\n");
}

TEST(ScriptParser, ErrorInTheHeadIsReportedAtTheFirstToken) {
    const Parsed parsed = parseScript("void main() { }");
    EXPECT_EQ(parsed.output, "void main() { }\n^\nFile: /s/t.zm  Line: 0001:  Reason: 'parse error' \n");
}

TEST(ScriptParser, VariablesAreSharedByNameAndCounted) {
    StringScriptOutput output;
    const std::string longName(45, 'v');
    ScriptScanner scanner("int main() { x = X + x; " + longName + " = 1; " + longName.substr(0, 41) +
                              "w = 2; }",
                          "/s/t.zm", output);
    ScriptTree tree;
    ScriptReporter reporter(output, "/s/t.zm");
    ScriptParser parser(scanner, tree, reporter);
    ASSERT_EQ(parser.parse(), ParseResult::Parsed) << output.text();
    const NodeId x = tree.findVariable("x");
    const NodeId upperX = tree.findVariable("X");
    ASSERT_NE(x, kNoNode);
    ASSERT_NE(upperX, kNoNode);
    EXPECT_NE(x, upperX);
    EXPECT_EQ(tree[x].useCount, 2);
    EXPECT_EQ(tree[upperX].useCount, 1);
    // Names are cut to 40 characters, so both long names are one variable.
    const NodeId cut = tree.findVariable(longName.substr(0, 40));
    ASSERT_NE(cut, kNoNode);
    EXPECT_EQ(tree[cut].useCount, 2);
    EXPECT_EQ(tree.variableCount(), 3u);
}

TEST(ScriptParser, NodesRecordTheirKindTypeAndPosition) {
    StringScriptOutput output;
    ScriptScanner scanner("int main()\n{\n  string s = \"ab\";\n  n = f(s);\n}", "/s/t.zm", output);
    ScriptTree tree;
    ScriptReporter reporter(output, "/s/t.zm");
    ScriptParser parser(scanner, tree, reporter);
    ASSERT_EQ(parser.parse(), ParseResult::Parsed);
    const ScriptNode& program = tree[tree.root()];
    EXPECT_EQ(program.kind, NodeKind::Program);
    EXPECT_EQ(program.name, "Program");
    EXPECT_EQ(tree[program.first].text, "main");
    const ScriptNode& s = tree[tree.findVariable("s")];
    EXPECT_EQ(s.valueType, ValueType::StringVariable);
    EXPECT_EQ(s.line, 3);
    EXPECT_EQ(s.column, 10);
    // The body block is one statement whose first child is the inner list.
    const ScriptNode& block = tree[program.second];
    EXPECT_EQ(block.second, kNoNode);
    const ScriptNode& second = tree[tree[block.first].second];
    const ScriptNode& assign = tree[second.first];
    EXPECT_EQ(assign.kind, NodeKind::Assign);
    EXPECT_EQ(assign.name, "=");
    const ScriptNode& call = tree[assign.second];
    EXPECT_EQ(call.name, "Funtion");
    EXPECT_EQ(tree[call.first].valueType, ValueType::FunctionName);
    EXPECT_EQ(tree[tree[call.second].first].name, "Expression");
    // The call was completed by its ")".
    EXPECT_EQ(call.line, 4);
    EXPECT_EQ(call.column, 10);
}

std::string manyStatements(int count, bool distinct) {
    std::string body = "int main() {\n";
    for (int i = 0; i < count; ++i) {
        body += distinct ? "v" + std::to_string(i) + ";\n" : "x;\n";
    }
    return body + "}\n";
}

TEST(ScriptParser, TheStoreHoldsAtMost2500Nodes) {
    // Each "x;" adds a statement node; the program, its name node, the block's statement node
    // and x make four more.
    EXPECT_EQ(parseScript(manyStatements(2496, false)).result, ParseResult::Parsed);
    const Parsed tooBig = parseScript(manyStatements(2497, false));
    EXPECT_EQ(tooBig.result, ParseResult::Fatal);
    EXPECT_EQ(tooBig.output, "ERROR: Macro is too big! File: /s/t.zm \n\n");
}

TEST(ScriptParser, TheTableHoldsAtMost600Variables) {
    EXPECT_EQ(parseScript(manyStatements(600, true)).result, ParseResult::Parsed);
    const Parsed tooMany = parseScript(manyStatements(601, true));
    EXPECT_EQ(tooMany.result, ParseResult::Fatal);
    EXPECT_EQ(tooMany.output, "ERROR: Too many variables! File: /s/t.zm \n\n");
}

TEST(ScriptParser, ArgumentsTakeTableEntries) {
    std::string body = "int main() {\n";
    for (int i = 0; i < 300; ++i) {
        body += "x = argc + argv[1];\n";
    }
    const Parsed parsed = parseScript(body + "}");
    EXPECT_EQ(parsed.result, ParseResult::Fatal);
    EXPECT_EQ(parsed.output, "ERROR: Too many variables! File: /s/t.zm \n\n");
}

enum class DepthOutcome { Parses, StackOverflow, TooBig };

struct DepthCase {
    const char* name;
    std::string body;
    DepthOutcome outcome;
};

class ParserNesting : public ::testing::TestWithParam<DepthCase> {};

TEST_P(ParserNesting, BoundsRecursionByTheNodeLimit) {
    const DepthCase& c = GetParam();
    const Parsed parsed = parseScript("int main() {\n" + c.body + "\n}");
    switch (c.outcome) {
    case DepthOutcome::Parses:
        EXPECT_EQ(parsed.result, ParseResult::Parsed) << parsed.output;
        break;
    case DepthOutcome::StackOverflow:
        EXPECT_EQ(parsed.result, ParseResult::Failed);
        EXPECT_NE(parsed.output.find("Reason: 'parser stack overflow' \n"), std::string::npos)
            << parsed.output;
        break;
    case DepthOutcome::TooBig:
        EXPECT_EQ(parsed.result, ParseResult::Fatal);
        EXPECT_EQ(parsed.output, "ERROR: Macro is too big! File: /s/t.zm \n\n");
        break;
    }
}

std::string repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

// "if (x == 0) y = 0; else if (x == 1) y = 1; ..." with the given number of arms.
std::string elseIfChain(int arms) {
    std::string text;
    for (int i = 0; i < arms; ++i) {
        text += (i == 0 ? "if (x == " : " else if (x == ") + std::to_string(i) +
                ") y = " + std::to_string(i) + ";";
    }
    return text;
}

const DepthCase kDepthCases[] = {
    {"LongLeftChain", "x = a" + repeated(" + a", 200) + ";", DepthOutcome::Parses},
    {"SumOf255Terms", "x = a" + repeated(" + a", 254) + ";", DepthOutcome::Parses},
    {"LongerLeftChain", "x = a" + repeated(" + a", 400) + ";", DepthOutcome::Parses},
    {"LongRightChain", "x = a" + repeated(" | a", 400) + ";", DepthOutcome::Parses},
    {"ElseIfChainOf125Arms", elseIfChain(125), DepthOutcome::Parses},
    {"ArgvIndexes", "x = " + repeated("argv[", 500) + "1" + repeated("]", 500) + ";", DepthOutcome::Parses},
    {"ParenthesesUpToTheLimit", "if (" + repeated("(", 2000) + "a" + repeated(")", 2000) + ") x;",
     DepthOutcome::Parses},
    {"TooManyParentheses", "if (" + repeated("(", 5000) + "a" + repeated(")", 5000) + ") x;",
     DepthOutcome::StackOverflow},
    {"TooManyNots", "if (" + repeated("!", 5000) + "a) x;", DepthOutcome::StackOverflow},
    {"TooManyBlocks", repeated("{", 5000) + repeated("}", 5000), DepthOutcome::StackOverflow},
    {"TooManyIfs", repeated("if (a) ", 3000) + "x;", DepthOutcome::TooBig},
    {"TooManyAssignments", repeated("x = ", 3000) + "1;", DepthOutcome::StackOverflow},
    {"TooManyCalls", repeated("f(", 3000) + repeated(")", 3000) + ";", DepthOutcome::StackOverflow},
    {"ManyStatementsAreNotDeep", repeated("x = 1;\n", 700), DepthOutcome::Parses},
    {"ManyArgumentsAreNotDeep", "f(" + repeated("a, ", 600) + "a);", DepthOutcome::Parses},
};

INSTANTIATE_TEST_SUITE_P(Cases, ParserNesting, ::testing::ValuesIn(kDepthCases),
                         [](const ::testing::TestParamInfo<DepthCase>& info) { return info.param.name; });

} // namespace
} // namespace vexa::script
