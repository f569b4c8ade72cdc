// Tests of the script interpreter: the evaluation of every node kind, string rules, arguments,
// return codes, the reports and their limits, check and debug modes, and the host's hooks.
#include "script/ScriptInterpreter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "script/ScriptCall.h"
#include "support/FakeClock.h"
#include "support/TempHome.h"

namespace vexa::script {
namespace {

// The first `length` characters of "0123456789" repeated.
std::string digits(size_t length) {
    std::string text;
    while (text.size() < length) {
        text += "0123456789";
    }
    return text.substr(0, length);
}

struct VariableExpectation {
    std::string name;
    std::optional<int32_t> value;
    std::optional<std::string> text;
};

struct EvalCase {
    const char* name;
    std::string body;
    std::vector<VariableExpectation> expected;
    int32_t code = 0;
    int warnings = 0;
    std::vector<std::string> arguments = {"t.zm"};
};

class ScriptRun : public ::testing::Test {
protected:
    int32_t runBody(const std::string& body, std::vector<std::string> arguments = {"t.zm"}) {
        return m_interpreter.runText("int main() {\n" + body + "\n}\n", "/s/t.zm", std::move(arguments));
    }
    const ScriptNode& variable(const std::string& name) {
        const NodeId id = m_interpreter.tree().findVariable(name);
        EXPECT_NE(id, kNoNode) << name;
        return m_interpreter.tree()[id == kNoNode ? 0 : id];
    }

    test::TempHome m_home;
    test::FakeClock m_clock;
    StringScriptHost m_host;
    ScriptInterpreter m_interpreter{m_host, m_clock};
};

class ScriptEvaluation : public ScriptRun, public ::testing::WithParamInterface<EvalCase> {};

TEST_P(ScriptEvaluation, LeavesTheVariablesAsExpected) {
    const EvalCase& c = GetParam();
    EXPECT_EQ(runBody(c.body, c.arguments), c.code) << m_host.output();
    EXPECT_FALSE(m_interpreter.syntaxError()) << m_host.output();
    EXPECT_EQ(m_interpreter.warningCount(), c.warnings) << m_host.output();
    for (const VariableExpectation& e : c.expected) {
        const ScriptNode& v = variable(e.name);
        if (e.value) {
            EXPECT_EQ(v.value, *e.value) << e.name;
        }
        if (e.text) {
            EXPECT_EQ(v.text, *e.text) << e.name;
        }
    }
}

const EvalCase kEvalCases[] = {
    {"StringPlusAssignAppends", "string s = \"ab\"; s += \"cd\";", {{"s", std::nullopt, "abcd"}}},
    {"IntegerPlusAssignAdds", "int i = 2; i += 3;", {{"i", 5, std::nullopt}}},
    {"ConstantsDoNotConcatenate", "string s = \"a\" + \"b\";", {{"s", std::nullopt, ""}}},
    {"StringVariableOnTheLeftConcatenates",
     "string s = \"a\"; string t = s + \"x\";",
     {{"t", std::nullopt, "ax"}}},
    {"OnlyTheInnerPlusConcatenates",
     "string s = \"a\"; string t = s + \"b\" + \"c\";",
     {{"t", std::nullopt, ""}}},
    {"NumberOnTheRightAddsNothing",
     "string s = \"a\"; int n = 7; string t = s + n; string u = s + 5;",
     {{"t", std::nullopt, "a"}, {"u", std::nullopt, "a"}}},
    {"StringPlusStringVariable",
     "string s = \"a\"; string t = \"b\"; s = s + t;",
     {{"s", std::nullopt, "ab"}}},
    {"NumberGivesAnEmptyString",
     "string s = \"x\"; s = 5; string t = 5;",
     {{"s", 0, ""}, {"t", std::nullopt, ""}}},
    {"OtherStringOperatorsDoNothing",
     "string s = \"ab\"; s -= \"a\"; s /= \"b\"; s %= \"c\";",
     {{"s", std::nullopt, "ab"}}},
    {"StringAssignmentGivesTheRightSidesValue",
     "string s; int v; v = s = \"42\";",
     {{"v", 42, std::nullopt}, {"s", 42, "42"}}},
    {"StringValueIsItsNumber", "string s = \"12\"; int n = s + 1;", {{"n", 13, std::nullopt}}},
    {"StringsAreCutAt1024",
     "string s = \"0123456789\"; int i; for (i = 0; i < 200; i++) s += \"0123456789\";",
     {{"s", -1, digits(1024)}}},
    {"DivisionByZeroGivesMinusOne",
     "int a = 7 / 0; int b = 7; b /= 0;",
     {{"a", -1, std::nullopt}, {"b", -1, std::nullopt}}},
    {"RemainderByZeroGivesMinusOne",
     "int a = 7 % 0; int b = 7; b %= 0;",
     {{"a", -1, std::nullopt}, {"b", -1, std::nullopt}}},
    {"DivisionTruncatesTowardZero",
     "int m = 0 - 7; int q = m / 2; int r = m % 3; int p = 7 % 3;",
     {{"q", -3, std::nullopt}, {"r", -1, std::nullopt}, {"p", 1, std::nullopt}}},
    {"ArithmeticWrapsAround",
     "int big = 2147483647; big++; int m = 0 - 2147483647 - 1; int n1 = 0 - 1; int q = m / n1; int r = m % "
     "n1; "
     "int p = 65536 * 65536;",
     {{"big", std::numeric_limits<int32_t>::min(), std::nullopt},
      {"q", std::numeric_limits<int32_t>::min(), std::nullopt},
      {"r", 0, std::nullopt},
      {"p", 0, std::nullopt}}},
    {"Precedence",
     "int x = 2 + 3 * 4; int y = 2 * 3 | 4; int z = 6 & 3 ^ 1; int w = 10 - 4 - 3;",
     {{"x", 14, std::nullopt}, {"y", 14, std::nullopt}, {"z", 2, std::nullopt}, {"w", 3, std::nullopt}}},
    {"AssignmentInsideAnExpression",
     "int a; int b; b = 1 + a = 2;",
     {{"a", 2, std::nullopt}, {"b", 3, std::nullopt}}},
    {"ConstantExpressionAssignment", "int a = 5; int x; x = a + 1 * 2;", {{"x", 7, std::nullopt}}},
    {"AssignOperators",
     "int a = 10; a -= 3; int b = 17; b %= 5; int c = 9; c /= 2;",
     {{"a", 7, std::nullopt}, {"b", 2, std::nullopt}, {"c", 4, std::nullopt}}},
    {"IncrementsAndDecrements",
     "int i = 5; int a = i++; int b = ++i; int c = i--; int d = --i;",
     {{"a", 5, std::nullopt},
      {"b", 7, std::nullopt},
      {"c", 7, std::nullopt},
      {"d", 5, std::nullopt},
      {"i", 5, std::nullopt}}},
    {"CharacterVariable", "char c = 'a'; c++;", {{"c", 98, std::nullopt}}},
    {"DanglingElseTakenByTheInnerIf",
     "int a = 1; int b = 0; int x = 0; if (a) if (b) x = 1; else x = 2;",
     {{"x", 2, std::nullopt}}},
    {"DanglingElseSkippedWithTheOuterIf",
     "int a = 0; int b = 0; int x = 0; if (a) if (b) x = 1; else x = 2;",
     {{"x", 0, std::nullopt}}},
    {"While", "int i = 0; int s = 0; while (i < 10) { s += i; i++; }", {{"s", 45, std::nullopt}}},
    {"For",
     "int s = 0; int i; for (i = 1; i <= 100; i++) s += i;",
     {{"s", 5050, std::nullopt}, {"i", 101, std::nullopt}}},
    {"ForWithFalseConditionRunsOnlyTheStart",
     "int i; int s = 0; for (i = 5; i < 3; i++) s++;",
     {{"i", 5, std::nullopt}, {"s", 0, std::nullopt}}},
    {"AndSkipsTheRightSide", "int n = 0; int x; if (0 && n++) x = 1;", {{"n", 0, std::nullopt}}},
    {"OrSkipsTheRightSide",
     "int n = 0; int x; if (1 || n++) x = 1;",
     {{"n", 0, std::nullopt}, {"x", 1, std::nullopt}}},
    {"AndEvaluatesTheRightSide",
     "int n = 0; int x = 0; if (1 && n++) x = 1;",
     {{"n", 1, std::nullopt}, {"x", 0, std::nullopt}}},
    {"NotAndComparisons",
     "int r = 0; int m = 0 - 1; if (! 0 && m < 1) r += 1; if (m >= 0) r += 10; if (3 != 3) r += 100; if (2 "
     "== 2) "
     "r += 1000;",
     {{"r", 1001, std::nullopt}}},
    {"StringsCompareAsNumbers",
     "string a = \"10\"; string b = \"9\"; int r = 0; if (a > b) r = 1;",
     {{"r", 1, std::nullopt}}},
    {"ReturnEndsTheRunWithOne", "int x = 1; return; x = 2;", {{"x", 1, std::nullopt}}, 1},
    {"ReturnOfAFalseConditionAlsoGivesOne", "int x = 1; return x = 0; x = 2;", {{"x", 0, std::nullopt}}, 1},
    {"ReturnInsideALoop", "int i; for (i = 0; i < 10; i++) if (i == 3) return;", {{"i", 3, std::nullopt}}, 1},
    {"Arguments",
     "int n = argc; string a = argv[1]; string b = argv[5]; int v = argv[1] + 1; int i = 2; string c = "
     "argv[i]; "
     "string z = argv[0];",
     {{"n", 3, std::nullopt},
      {"a", std::nullopt, "12"},
      {"b", std::nullopt, "Bad argument"},
      {"v", 13, std::nullopt},
      {"c", std::nullopt, "abc"},
      {"z", std::nullopt, "t.zm"}},
     0,
     0,
     {"t.zm", "12", "abc"}},
    {"ArgvIndexAtArgcIsBad",
     "int i = argc; string s = argv[i]; int m = 0 - 1; string t = argv[m];",
     {{"s", std::nullopt, "Bad argument"}, {"t", std::nullopt, "Bad argument"}}},
    {"ArgumentConcatenation",
     "string s = \"x\"; s = s + argv[1];",
     {{"s", std::nullopt, "xy"}},
     0,
     0,
     {"t.zm", "y"}},
    {"RedeclarationWarnsAndTakesTheNewValue", "int x = 1; int x = 2;", {{"x", 2, std::nullopt}}, 0, 1},
    {"DeclarationWithoutValueKeepsTheOld", "int x = 5; int x;", {{"x", 5, std::nullopt}}, 0, 1},
    {"LibraryNamesIgnoreCaseButVariablesDoNot",
     "int Strcmp = 1; int strcmp = 2; int r = STRCMP(\"a\", \"b\");",
     {{"Strcmp", 1, std::nullopt}, {"strcmp", 2, std::nullopt}, {"r", -1, std::nullopt}}},
    {"UnknownFunctionGivesMinusOne", "int r = nosuch(1, 2);", {{"r", -1, std::nullopt}}, 0, 1},
    {"ArgumentsAreEvaluatedLeftToRight",
     "int i = 0; int r = strcmp(i++, i++);",
     {{"i", 2, std::nullopt}, {"r", -1, std::nullopt}}},
    {"EmptyProgram", "{ }", {}},
    {"LongChainEvaluates",
     "int x = 1" +
         [] {
             std::string chain;
             for (int i = 0; i < 200; ++i) {
                 chain += " + 1";
             }
             return chain;
         }() +
         ";",
     {{"x", 201, std::nullopt}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScriptEvaluation, ::testing::ValuesIn(kEvalCases),
                         [](const ::testing::TestParamInfo<EvalCase>& info) { return info.param.name; });

TEST_F(ScriptRun, WarningNamesTheNodeItsPositionAndReason) {
    EXPECT_EQ(m_interpreter.runText("int main() {\n  int x;\n  int x;\n  foo(1);\n}", "/s/t.zm", {"t.zm"}),
              0);
    EXPECT_EQ(m_host.output(),
              "WARNING: File: /s/t.zm Type: 'x' Line: 2 Column: 7\nReason: Variable already defined\n\n"
              "WARNING: File: /s/t.zm Type: 'Funtion' Value: 'foo' Line: 4 Column: 3\n"
              "Reason: Call to an unknown function!\n\n");
    EXPECT_TRUE(m_interpreter.warned());
    EXPECT_FALSE(m_interpreter.syntaxError());
    EXPECT_EQ(m_host.endCode(), 0);
}

TEST_F(ScriptRun, AWarningShowsNoValueForAStringWithoutText) {
    runBody("string s;\nstring s;\nstring t = \"\";\nstring t;");
    EXPECT_EQ(
        m_host.output(),
        "WARNING: File: /s/t.zm Type: 's' Line: 2 Column: 8\nReason: Variable already defined\n\n"
        "WARNING: File: /s/t.zm Type: 't' Value: '' Line: 4 Column: 8\nReason: Variable already defined\n\n");
}

TEST_F(ScriptRun, TheEleventhWarningEndsTheRun) {
    EXPECT_EQ(runBody("int i = 0; while (i < 20) { i++; foo(); }"), -1);
    EXPECT_EQ(variable("i").value, 11);
    EXPECT_EQ(m_interpreter.warningCount(), 11);
    EXPECT_TRUE(m_interpreter.syntaxError());
    EXPECT_EQ(m_interpreter.endMessage(), "Fatal Error");
    const std::string& out = m_host.output();
    const std::string fatal = "\n\nERROR: Too many warnings detected!\n File: /s/t.zm \n\n";
    ASSERT_GT(out.size(), fatal.size());
    EXPECT_EQ(out.substr(out.size() - fatal.size()), fatal);
    size_t count = 0;
    for (size_t at = out.find("WARNING: "); at != std::string::npos; at = out.find("WARNING: ", at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 11u);
}

TEST_F(ScriptRun, TenWarningsAreAllowed) {
    EXPECT_EQ(runBody("int i = 0; while (i < 10) { i++; foo(); }"), 0);
    EXPECT_EQ(m_interpreter.warningCount(), 10);
    EXPECT_FALSE(m_interpreter.syntaxError());
}

struct TerminationCase {
    const char* name;
    std::string body;
    int32_t passes;
};

class ScriptTermination : public ScriptRun, public ::testing::WithParamInterface<TerminationCase> {};

TEST_P(ScriptTermination, TheHookEndsARunawayLoopAfterEveryPass) {
    m_host.setPassLimit(5);
    EXPECT_EQ(runBody(GetParam().body), -1);
    EXPECT_EQ(variable("n").value, GetParam().passes);
    EXPECT_EQ(m_interpreter.endMessage(), "Macro terminated by user!");
    EXPECT_EQ(m_host.endCode(), -1);
    EXPECT_EQ(m_host.endMessage(), "Macro terminated by user!");
    EXPECT_FALSE(m_interpreter.syntaxError());
}

const TerminationCase kTerminationCases[] = {
    {"While", "int n = 0; while (1) n++;", 6},
    {"ForSkipsTheStepOfTheLastPass", "int n = 0; int i; for (i = 0; i < 1; i = 0) n++;", 6},
    // Two inner passes and one outer pass make three checks per round.
    {"InnerLoopsCountToo", "int n = 0; int i; while (1) { for (i = 0; i < 2; i++) n++; }", 4},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScriptTermination, ::testing::ValuesIn(kTerminationCases),
                         [](const ::testing::TestParamInfo<TerminationCase>& info) {
                             return info.param.name;
                         });

TEST_F(ScriptRun, LongChainsWithinTheNodeLimitRun) {
    std::string sum = "a = 1;\nx = a";
    for (int i = 1; i < 255; ++i) {
        sum += " + a";
    }
    runBody(sum + ";");
    EXPECT_EQ(variable("x").value, 255) << m_host.output();

    std::string chain = "x = 124;\ny = 999;\n";
    for (int i = 0; i < 125; ++i) {
        chain += (i == 0 ? "if (x == " : " else if (x == ") + std::to_string(i) +
                 ") y = " + std::to_string(i * 2) + ";";
    }
    runBody(chain);
    EXPECT_EQ(variable("y").value, 248) << m_host.output();
}

TEST_F(ScriptRun, DeepNestingUpToTheLimitEvaluatesWithoutExhaustingTheStack) {
    std::string nots = "a = 1;\nif (";
    for (int i = 0; i < 2000; ++i) {
        nots += "!";
    }
    runBody(nots + "a) y = 1; else y = 2;");
    EXPECT_EQ(variable("y").value, 1) << m_host.output();
}

TEST_F(ScriptRun, SyntaxErrorsStopTheRunBeforeItStarts) {
    EXPECT_EQ(runBody("int x = 1;\nx = ;\n"), -1);
    EXPECT_TRUE(m_interpreter.syntaxError());
    EXPECT_EQ(variable("x").value, 0);
    EXPECT_EQ(m_interpreter.endMessage(), "");
    // Nothing ran, so the host is not told of an end (it would report a completed script).
    EXPECT_FALSE(m_host.endCode().has_value());
}

TEST_F(ScriptRun, FatalLimitsEndWithFatalError) {
    std::string body;
    for (int i = 0; i < 601; ++i) {
        body += "v" + std::to_string(i) + "++;\n";
    }
    EXPECT_EQ(runBody(body), -1);
    EXPECT_EQ(m_host.output(), "ERROR: Too many variables! File: /s/t.zm \n\n");
    EXPECT_EQ(m_interpreter.endMessage(), "Fatal Error");
    EXPECT_FALSE(m_host.endCode().has_value());
    EXPECT_TRUE(m_interpreter.syntaxError());
}

TEST_F(ScriptRun, CheckModeEchoesAndParsesWithoutRunning) {
    m_interpreter.setCheckMode(true);
    const std::string source = "int main() { int x = 1; } // done\n";
    EXPECT_EQ(m_interpreter.runText(source, "/s/t.zm", {"t.zm"}), 0);
    EXPECT_EQ(m_host.output(), "Check Mode = 1\n" + source);
    EXPECT_EQ(variable("x").value, 0);
    EXPECT_FALSE(m_host.endCode().has_value());
}

TEST_F(ScriptRun, CheckModeReportsSyntaxErrorsWithoutRepeatingTheLine) {
    m_interpreter.setCheckMode(true);
    EXPECT_EQ(m_interpreter.runText("int main() { x = ; }", "/s/t.zm", {"t.zm"}), -1);
    EXPECT_EQ(m_host.output(), "Check Mode = 1\nint main() { x = ;\n                 ^\n"
                               "File: /s/t.zm  Line: 0001:  Reason: 'parse error' \n }");
}

TEST_F(ScriptRun, DebugModeTracesTokensAndTheReturnCode) {
    m_interpreter.setDebugMode(true);
    EXPECT_EQ(m_interpreter.runText("int main() return;", "/s/t.zm", {"t.zm"}), 1);
    EXPECT_EQ(m_host.output(), "Debug Mode = 1\nCreating macro..\n"
                               "\tToken: 'int', ID: 258, Line: 1, Column: 1, Length: 3 \n"
                               "\tToken: 'main', ID: 263, Line: 1, Column: 5, Length: 4 \n"
                               "\tToken: '(', ID: 40, Line: 1, Column: 9, Length: 1 \n"
                               "\tToken: ')', ID: 41, Line: 1, Column: 10, Length: 1 \n"
                               "\tToken: 'return', ID: 262, Line: 1, Column: 12, Length: 6 \n"
                               "\tToken: ';', ID: 59, Line: 1, Column: 18, Length: 1 \n"
                               "Processing complete. Return code 1\n");
}

TEST_F(ScriptRun, AScriptThatCannotBeOpenedGivesMinusOne) {
    const std::string missing = m_home.file("missing.zm");
    EXPECT_EQ(m_interpreter.run(missing + " a b"), -1);
    EXPECT_EQ(m_host.output(), "Error opening '" + missing + "' macro file\n");
    m_host.clearOutput();
    EXPECT_EQ(m_interpreter.run(m_home.path().string()), -1);
    EXPECT_EQ(m_host.output(), "Error opening '" + m_home.path().string() + "' macro file\n");
    m_host.clearOutput();
    EXPECT_EQ(m_interpreter.run("   "), -1);
    EXPECT_EQ(m_host.output(), "Error opening '' macro file\n");
}

TEST_F(ScriptRun, RunsAFileWithQuotedArgumentsAndAtMostNine) {
    const std::string path = m_home.file("my script.zm");
    test::writeFileBytes(path, "int main() {\n string a = argv[0]; string b = argv[1]; int n = argc;\n"
                               " string c = argv[9]; string d = argv[8]; }\n");
    EXPECT_EQ(m_interpreter.run("\"" + path + "\" \"two words\" 2 3 4 5 6 7 8 9 10"), 0) << m_host.output();
    EXPECT_EQ(variable("a").text, path);
    EXPECT_EQ(variable("b").text, "two words");
    EXPECT_EQ(variable("n").value, 9);
    EXPECT_EQ(variable("c").text, "Bad argument");
    EXPECT_EQ(variable("d").text, "8");
}

TEST_F(ScriptRun, ReportsNameTheFullPathOfARelativeScript) {
    const std::optional<std::string> previous = platform::currentDirectory();
    ASSERT_TRUE(platform::setCurrentDirectory(m_home.path().string()));
    test::writeFileBytes(m_home.file("rel.zm"), "int main() foo();");
    const int32_t code = m_interpreter.run("rel.zm");
    const std::string directory = platform::currentDirectory().value_or("?");
    ASSERT_TRUE(platform::setCurrentDirectory(previous.value_or("/")));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(m_host.output(), "WARNING: File: " + directory +
                                   "/rel.zm Type: 'Funtion' Value: 'foo' Line: 1 "
                                   "Column: 12\nReason: Call to an unknown function!\n\n");
}

TEST_F(ScriptRun, NothingSurvivesFromOneRunToTheNext) {
    EXPECT_EQ(runBody("int x = 5; foo();"), 0);
    EXPECT_EQ(m_interpreter.warningCount(), 1);
    EXPECT_EQ(runBody("int x; int y = x;"), 0);
    EXPECT_EQ(variable("y").value, 0);
    EXPECT_EQ(m_interpreter.warningCount(), 0);
    EXPECT_FALSE(m_interpreter.warned());
}

// A host with one function of its own, an expansion of "$HOME", and a wrong "strlen" that
// the library must shadow.
class ExtendedHost final : public StringScriptHost {
public:
    std::optional<int32_t> callFunction(ScriptCall& call) override {
        calls.emplace_back(call.name());
        if (call.name() == "twice") {
            if (call.count() != 1) {
                call.warning("Bad number of arguments supplied in macro function call!");
                return 0;
            }
            return 2 * call.number(0);
        }
        if (call.name() == "shout") {
            call.setText(0, call.text(0) + "!");
            return 1;
        }
        if (call.name() == "strlen") {
            return 999;
        }
        return std::nullopt;
    }
    bool expandString(std::string_view literal, std::string& expanded) override {
        if (literal != "$HOME") {
            return false;
        }
        expanded = "/home/user";
        return true;
    }
    std::vector<std::string> calls;
};

TEST(ScriptHostHooks, HostFunctionsComeAfterTheLibrary) {
    test::TempHome home;
    test::FakeClock clock;
    ExtendedHost host;
    ScriptInterpreter interpreter(host, clock);
    const int32_t code = interpreter.runText(
        "int main() { int a = twice(21); string s = \"hi\"; shout(s); int n = strlen(s); int b = twice(); "
        "string h = \"$HOME\"; string g = h + \"$HOME\"; }",
        "/s/t.zm", {"t.zm"});
    EXPECT_EQ(code, 0) << host.output();
    const ScriptTree& tree = interpreter.tree();
    EXPECT_EQ(tree[tree.findVariable("a")].value, 42);
    EXPECT_EQ(tree[tree.findVariable("s")].text, "hi!");
    EXPECT_EQ(tree[tree.findVariable("n")].value, 3);
    EXPECT_EQ(tree[tree.findVariable("b")].value, 0);
    EXPECT_EQ(tree[tree.findVariable("h")].text, "/home/user");
    EXPECT_EQ(tree[tree.findVariable("g")].text, "/home/user/home/user");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"twice", "shout", "twice"}));
    EXPECT_EQ(interpreter.warningCount(), 1);
    EXPECT_NE(host.output().find("Reason: Bad number of arguments supplied in macro function call!"),
              std::string::npos);
}

} // namespace
} // namespace vexa::script
