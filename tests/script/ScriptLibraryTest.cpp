// Tests of the script library: each function's effect and result, call by reference, names
// without regard to case, and -1 for every kind of misuse.
#include "script/ScriptLibrary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "script/ScriptInterpreter.h"
#include "support/FakeClock.h"
#include "support/TempHome.h"

namespace vexa::script {
namespace {

struct Expectation {
    std::string name;
    std::optional<int32_t> value;
    std::optional<std::string> text;
};

struct LibraryCase {
    const char* name;
    std::string body;
    std::vector<Expectation> expected;
};

// Runs each case in a temporary home that is also the current directory, with a fixed clock
// and one existing file "present.txt".
class ScriptLibrary : public ::testing::TestWithParam<LibraryCase> {
protected:
    void SetUp() override {
        m_previous = platform::currentDirectory();
        ASSERT_TRUE(platform::setCurrentDirectory(m_home.path().string()));
        m_directory = platform::currentDirectory().value_or("?");
        test::writeFileBytes(m_home.file("present.txt"), "x");
        platform::LocalTime time;
        time.year = 2026;
        time.month = 12;
        time.day = 9;
        time.hour = 21;
        time.minute = 58;
        time.second = 7;
        time.millisecond = 470;
        m_clock.setLocalTime(time);
    }
    void TearDown() override { ASSERT_TRUE(platform::setCurrentDirectory(m_previous.value_or("/"))); }

    // "$DIR" in an expected text stands for the temporary current directory.
    std::string expand(std::string text) const {
        for (size_t at = text.find("$DIR"); at != std::string::npos; at = text.find("$DIR")) {
            text.replace(at, 4, m_directory);
        }
        return text;
    }

    test::TempHome m_home;
    std::optional<std::string> m_previous;
    std::string m_directory;
    test::FakeClock m_clock;
    StringScriptHost m_host;
};

TEST_P(ScriptLibrary, GivesItsResultsAndStoresIntoItsArguments) {
    const LibraryCase& c = GetParam();
    ScriptInterpreter interpreter(m_host, m_clock);
    EXPECT_EQ(interpreter.runText("int main() {\n" + c.body + "\n}\n", "/s/t.zm", {"t.zm"}), 0)
        << m_host.output();
    EXPECT_EQ(interpreter.warningCount(), 0) << m_host.output();
    const ScriptTree& tree = interpreter.tree();
    for (const Expectation& e : c.expected) {
        const NodeId id = tree.findVariable(e.name);
        ASSERT_NE(id, kNoNode) << e.name;
        if (e.value) {
            EXPECT_EQ(tree[id].value, *e.value) << e.name;
        }
        if (e.text) {
            EXPECT_EQ(tree[id].text, expand(*e.text)) << e.name;
        }
    }
}

const LibraryCase kLibraryCases[] = {
    {"Strcpy", "string s; int r = strcpy(s, \"abc\");", {{"s", std::nullopt, "abc"}, {"r", 1, std::nullopt}}},
    {"StrcpyOfANumber",
     "string s; int n = 42; strcpy(s, n); string c; char ch = 'z'; strcpy(c, ch);",
     {{"s", 42, "42"}, {"c", std::nullopt, "z"}}},
    {"Strcat",
     "string s = \"ab\"; int r = strcat(s, \"cd\"); strcat(s, 5);",
     {{"s", std::nullopt, "abcd5"}, {"r", 1, std::nullopt}}},
    {"StrcatStopsAt1024",
     "string s = \"0123456789\"; int i; for (i = 0; i < 7; i++) strcat(s, s); int n = strlen(s);",
     {{"n", 1024, std::nullopt}}},
    {"Strlen",
     "string s = \"hello\"; int n = strlen(s); int e = strlen(\"\"); int m = strlen(5);",
     {{"n", 5, std::nullopt}, {"e", 0, std::nullopt}, {"m", -1, std::nullopt}}},
    {"StrlenOfAStringWithoutText",
     "string never; string empty = \"\"; string later; int a = strlen(never); int b = strlen(empty); "
     "later = \"\"; int c = strlen(later);",
     {{"a", -1, std::nullopt}, {"b", 0, std::nullopt}, {"c", 0, std::nullopt}}},
    {"Strcmp",
     "int a = strcmp(\"abc\", \"abd\"); int b = strcmp(\"b\", \"a\"); int c = strcmp(\"x\", \"x\"); "
     "int d = strcmp(\"ab\", \"abc\"); int e = strcmp(10, 9); int f = strcmp(\"A\", \"a\");",
     {{"a", -1, std::nullopt},
      {"b", 1, std::nullopt},
      {"c", 0, std::nullopt},
      {"d", -1, std::nullopt},
      {"e", -1, std::nullopt},
      {"f", -1, std::nullopt}}},
    {"Stricmp",
     "int a = stricmp(\"ABC\", \"abc\"); int b = stricmp(\"abc\", \"ABD\"); int c = StrICmp(\"b\", \"A\");",
     {{"a", 0, std::nullopt}, {"b", -1, std::nullopt}, {"c", 1, std::nullopt}}},
    {"CaseChanges",
     "string s = \"MiXed 1\"; string t = s; int r = strlwr(s); strupr(t);",
     {{"s", std::nullopt, "mixed 1"}, {"t", std::nullopt, "MIXED 1"}, {"r", 1, std::nullopt}}},
    {"Atoi",
     "string s = \"42abc\"; int n = atoi(s); string t = \"17\"; t++; int m = atoi(t);",
     {{"n", 42, std::nullopt}, {"m", 17, std::nullopt}, {"t", 17, "17"}}},
    {"SprintfPrintsValuesAsText",
     "string b; int r = sprintf(b, \"%d items\", 3);",
     {{"b", 3, "3 items"}, {"r", 1, std::nullopt}}},
    {"SprintfTakesEveryKindOfValue",
     "string b; string s = \"str\"; char c = 'q'; int n = 0 - 5; sprintf(b, \"%s|%c|%d|%x|%d\", s, c, n, "
     "\"lit\", 2 + 3);",
     {{"b", std::nullopt, "str|q|-5|lit|5"}}},
    {"SprintfOfTheCharacterZeroPrintsNoText",
     "string b; char c; char d = 'x'; sprintf(b, \"[%c][%c]\", c, d); int n = strlen(b);",
     {{"b", std::nullopt, "[][x]"}, {"n", 5, std::nullopt}}},
    {"SprintfNewlineAndMissingValues",
     "string b; sprintf(b, \"a\\nb %d %d\", 1);",
     {{"b", std::nullopt, "a \nb 1 "}}},
    {"SprintfIntoItsOwnFormat", "string b = \"<%s>\"; sprintf(b, b, \"x\");", {{"b", std::nullopt, "<x>"}}},
    {"Getdisk",
     "int d = getdisk(); int n = setdisk(3); int e = getdisk();",
     {{"d", 2, std::nullopt}, {"n", 26, std::nullopt}, {"e", 2, std::nullopt}}},
    {"Splitpath",
     "string d = \"?\"; string p; string n; string e; int f = splitpath(\"/a/b/name.ext\", d, p, n, e);",
     {{"d", std::nullopt, ""},
      {"p", std::nullopt, "/a/b/"},
      {"n", std::nullopt, "name"},
      {"e", std::nullopt, ".ext"},
      {"f", 14, std::nullopt}}},
    {"SplitpathWithFewerParts",
     "string d; string p; int f = splitpath(\"x*.c\", d, p); int g = splitpath(\"dir/\");",
     {{"p", std::nullopt, ""}, {"f", 7, std::nullopt}, {"g", 8, std::nullopt}}},
    {"SplitpathKeepsTheLastDot",
     "string d; string p; string n; string e; splitpath(\"a.b.c\", d, p, n, e);",
     {{"n", std::nullopt, "a.b"}, {"e", std::nullopt, ".c"}}},
    {"Access",
     "int a = access(\"present.txt\", 0); int b = access(\"absent.txt\", 0); int c = access(\"present.txt\", "
     "6); "
     "int d = access(\"present.txt\", 4);",
     {{"a", 0, std::nullopt}, {"b", -1, std::nullopt}, {"c", 0, std::nullopt}, {"d", 0, std::nullopt}}},
    {"Getcwd", "string s; int r = getcwd(s);", {{"s", std::nullopt, "$DIR"}, {"r", 1, std::nullopt}}},
    {"Chdir",
     "int a = chdir(\"/\"); string s; getcwd(s); int b = chdir(\"no such directory\"); string e; int c = "
     "chdir(e);",
     {{"a", 1, std::nullopt}, {"s", std::nullopt, "/"}, {"b", 0, std::nullopt}, {"c", -1, std::nullopt}}},
    {"Date",
     "int y; int m; int d; int r = date(y, m, d);",
     {{"y", 2026, std::nullopt}, {"m", 12, std::nullopt}, {"d", 9, std::nullopt}, {"r", 1, std::nullopt}}},
    {"DateIntoFewerAndMoreVariables",
     "int y; int a = 5; int b = 6; date(y); int z; date(z, z, z, a, b);",
     {{"y", 2026, std::nullopt}, {"z", 9, std::nullopt}, {"a", 5, std::nullopt}, {"b", 6, std::nullopt}}},
    {"DateIntoAString", "string y; date(y);", {{"y", 2026, "2026"}}},
    {"Time",
     "int h; int m; int s; int c; int r = time(h, m, s, c);",
     {{"h", 21, std::nullopt},
      {"m", 58, std::nullopt},
      {"s", 7, std::nullopt},
      {"c", 47, std::nullopt},
      {"r", 1, std::nullopt}}},
    {"NamesIgnoreCase",
     "string s = \"abc\"; int n = STRLEN(s); int m = StrLen(s);",
     {{"n", 3, std::nullopt}, {"m", 3, std::nullopt}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScriptLibrary, ::testing::ValuesIn(kLibraryCases),
                         [](const ::testing::TestParamInfo<LibraryCase>& info) { return info.param.name; });

// Every kind of misuse gives -1 and leaves the arguments alone.
struct MisuseCase {
    const char* call;
};

class ScriptLibraryMisuse : public ::testing::TestWithParam<MisuseCase> {
protected:
    test::TempHome m_home;
    test::FakeClock m_clock;
    StringScriptHost m_host;
};

TEST_P(ScriptLibraryMisuse, GivesMinusOneAndChangesNothing) {
    ScriptInterpreter interpreter(m_host, m_clock);
    const std::string body =
        "string s = \"keep\"; int n = 7; int r = 0; r = " + std::string(GetParam().call) + ";";
    EXPECT_EQ(interpreter.runText("int main() {\n" + body + "\n}", "/s/t.zm", {"t.zm"}), 0)
        << m_host.output();
    EXPECT_EQ(interpreter.warningCount(), 0);
    const ScriptTree& tree = interpreter.tree();
    EXPECT_EQ(tree[tree.findVariable("r")].value, -1);
    EXPECT_EQ(tree[tree.findVariable("s")].text, "keep");
    EXPECT_EQ(tree[tree.findVariable("n")].value, 7);
}

const MisuseCase kMisuseCases[] = {
    {"strcpy(n, \"x\")"},
    {"strcpy(s)"},
    {"strcpy(s, \"x\", \"y\")"},
    {"strcat(n, s)"},
    {"strcat(s)"},
    {"strcmp(s)"},
    {"stricmp(s, s, s)"},
    {"strlen(n)"},
    {"strlen()"},
    {"strlwr(n)"},
    {"strupr(s, s)"},
    {"atoi(n)"},
    {"atoi()"},
    {"sprintf(n, \"%d\")"},
    {"sprintf(s, n, 1)"},
    {"sprintf(s)"},
    {"sprintf(s, \"%d\", 1, 2, 3, 4, 5, 6, 7)"},
    {"getcwd(n)"},
    {"getcwd()"},
    {"chdir(n)"},
    {"access(n, 0)"},
    {"access(\"/\", 3)"},
    {"access(\"/\")"},
    {"date()"},
    {"date(n, n, n, n, n, n)"},
    {"time()"},
    {"time(n, n, n, n, n)"},
    {"getdisk(1)"},
    {"setdisk()"},
    {"splitpath()"},
    {"splitpath(s, n)"},
    {"splitpath(n)"},
    {"splitpath(s, s, s, s, s, s)"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScriptLibraryMisuse, ::testing::ValuesIn(kMisuseCases));

TEST(ScriptLibraryTable, FindsNamesWithoutRegardToCase) {
    const LibraryEntry* lower = findLibraryFunction("sprintf");
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(findLibraryFunction("SPRINTF"), lower);
    EXPECT_EQ(findLibraryFunction("SprintF"), lower);
    EXPECT_EQ(findLibraryFunction("sprint"), nullptr);
    EXPECT_EQ(findLibraryFunction("sprintff"), nullptr);
    EXPECT_EQ(findLibraryFunction("message"), nullptr);
    EXPECT_EQ(findLibraryFunction(""), nullptr);
}

} // namespace
} // namespace vexa::script
