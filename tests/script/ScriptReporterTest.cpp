// Tests of the script reports: the warning, error and fatal layouts, the flags and the
// warning limit.
#include "script/ScriptReporter.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa::script {
namespace {

// A node as a run leaves it; a string variable has been given its text.
ScriptNode makeNode(NodeKind kind, ValueType type, std::string name, std::string text, int32_t line,
                    int32_t column) {
    ScriptNode node;
    node.textSet = true;
    node.kind = kind;
    node.valueType = type;
    node.name = std::move(name);
    node.text = std::move(text);
    node.line = line;
    node.column = column;
    return node;
}

struct LayoutCase {
    const char* name;
    ScriptNode node;
    bool error;
    std::string report;
};

class ReporterLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ReporterLayout, WritesTheReportInItsLayout) {
    const LayoutCase& c = GetParam();
    StringScriptOutput output;
    ScriptReporter reporter(output, "/d/m.zm");
    if (c.error) {
        reporter.error(c.node, "Unexpexted error in logical operand!");
        EXPECT_TRUE(reporter.syntaxError());
        EXPECT_FALSE(reporter.warned());
    } else {
        EXPECT_TRUE(reporter.warning(c.node, "Variable already defined"));
        EXPECT_TRUE(reporter.warned());
        EXPECT_FALSE(reporter.syntaxError());
        EXPECT_EQ(reporter.warningCount(), 1);
    }
    EXPECT_EQ(output.text(), c.report);
}

const LayoutCase kLayoutCases[] = {
    {"WarningAboutAnIntegerHasNoValue", makeNode(NodeKind::Variable, ValueType::Integer, "count", "", 3, 9),
     false, "WARNING: File: /d/m.zm Type: 'count' Line: 3 Column: 9\nReason: Variable already defined\n\n"},
    {"WarningAboutAStringShowsItsText",
     makeNode(NodeKind::Variable, ValueType::StringVariable, "s", "abc", 12, 1), false,
     "WARNING: File: /d/m.zm Type: 's' Value: 'abc' Line: 12 Column: 1\nReason: Variable already "
     "defined\n\n"},
    {"WarningAboutAnEmptyStringShowsAnEmptyValue",
     makeNode(NodeKind::Variable, ValueType::StringVariable, "s", "", 1, 1), false,
     "WARNING: File: /d/m.zm Type: 's' Value: '' Line: 1 Column: 1\nReason: Variable already defined\n\n"},
    {"WarningAboutAStringWithoutTextHasNoValue",
     [] {
         ScriptNode never = makeNode(NodeKind::Variable, ValueType::StringVariable, "s", "", 2, 3);
         never.textSet = false;
         return never;
     }(),
     false, "WARNING: File: /d/m.zm Type: 's' Line: 2 Column: 3\nReason: Variable already defined\n\n"},
    {"ErrorAboutAComparison", makeNode(NodeKind::Less, ValueType::Integer, "<", "", 4, 15), true,
     "ERROR: File: /d/m.zm Type: '<' Line: 4 Column: 15\nReason: Unexpexted error in logical operand!\n\n"},
    {"ErrorAboutAFunctionName", makeNode(NodeKind::Function, ValueType::FunctionName, "Funtion", "f", 2, 5),
     true,
     "ERROR: File: /d/m.zm Type: 'Funtion' Value: 'f' Line: 2 Column: 5\n"
     "Reason: Unexpexted error in logical operand!\n\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReporterLayout, ::testing::ValuesIn(kLayoutCases),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(ScriptReporter, FatalMessageWithoutANode) {
    StringScriptOutput output;
    ScriptReporter reporter(output, "/d/m.zm");
    reporter.fatal("Macro is too big!");
    EXPECT_EQ(output.text(), "ERROR: Macro is too big! File: /d/m.zm \n\n");
    EXPECT_TRUE(reporter.syntaxError());
}

TEST(ScriptReporter, TheEleventhWarningIsFatal) {
    StringScriptOutput output;
    ScriptReporter reporter(output, "/d/m.zm");
    const ScriptNode node = makeNode(NodeKind::Variable, ValueType::Integer, "x", "", 1, 1);
    for (int i = 1; i <= ScriptReporter::kMaxWarnings; ++i) {
        EXPECT_TRUE(reporter.warning(node, "w")) << i;
    }
    EXPECT_FALSE(reporter.syntaxError());
    output.clear();
    EXPECT_FALSE(reporter.warning(node, "w"));
    EXPECT_EQ(output.text(), "WARNING: File: /d/m.zm Type: 'x' Line: 1 Column: 1\nReason: w\n\n"
                             "ERROR: Too many warnings detected!\n File: /d/m.zm \n\n");
    EXPECT_TRUE(reporter.syntaxError());
    EXPECT_EQ(reporter.warningCount(), 11);
}

} // namespace
} // namespace vexa::script
