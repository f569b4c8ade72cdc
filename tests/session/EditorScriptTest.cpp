// Tests of scripts that drive the editor: the call resolution, the editor functions of scripts,
// the output into the Standard Output window, $-variables, Escape and MacroExecuteScript.
#include "session/EditorScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/EditPane.h"
#include "commands/FunctionTable.h"
#include "session/EditorFixture.h"
#include "session/ScriptCommands.h"
#include "session/UserInputModel.h"
#include "session/Workspace.h"
#include "syntax/ExtensionProfile.h"
#include "toolchain/OutputWindows.h"
#include "toolchain/ToolCommands.h"

namespace vexa::test {
namespace {

class EditorScriptTest : public EditorTest {
protected:
    EditorScriptTest() {
        std::filesystem::create_directories(options.directory(DirectoryKind::Config));
        std::string text;
        for (int line = 1; line <= 10; ++line) {
            text += "line " + std::to_string(line) + "\n";
        }
        m_docPath = writeFile("doc.txt", text);
        workspace().openDocument(m_docPath);
    }

    // Runs a main() with the body; the run's code.
    ScriptRunResult runBody(const std::string& body) {
        const std::string path = writeFile("t.zm", "int main() {\n" + body + "\n}\n");
        return editor->scripts().runCommandLine(path);
    }
    std::vector<std::string> output() {
        std::vector<std::string> lines;
        for (const auto& line : editor->outputs().standard().lines()) {
            lines.push_back(line.text);
        }
        return lines;
    }
    std::string outputText() {
        std::string text;
        for (const std::string& line : output()) {
            text += line + "\n";
        }
        return text;
    }
    std::string line(int index) { return std::string(activeDocument().lineText(index)); }

    std::string m_docPath;
};

TEST_F(EditorScriptTest, MoveLineDownMovesAndGivesTheFunctionsResultSoALoopEnds) {
    const ScriptRunResult result =
        runBody("int n = 0; while (MoveLineDown()) n++; message(\"%d moves\", n);");
    EXPECT_FALSE(result.warned) << outputText();
    EXPECT_EQ(activeDocument().cursorLine(), 10);
    EXPECT_EQ(frame.lastStatus(), "10 moves");
    EXPECT_EQ(output(), std::vector<std::string>{"Macro completed."});
}

TEST_F(EditorScriptTest, ReadingFunctions) {
    struct Case {
        const char* body;
        const char* status;
    };
    for (const Case& c : {
             Case{"string s = \"unchanged\"; int r = get_line(s, 1000); message(\"%d %s\", r, s);",
                  "0 unchanged"},
             Case{"string s; int r = get_line(s, 3); message(\"%d %s\", r, s);", "1 line 3"},
             Case{"int n; int p; int c; get_line_count(n); set_line_pos(4); set_column_pos(3); "
                  "get_line_pos(p);"
                  "get_column_pos(c); message(\"%d %d %d\", n, p, c);",
                  "10 4 3"},
             Case{"int c; set_line_pos(2); set_column_pos(2); get_char(c); message(\"%d\", c);", "105"},
         }) {
        const ScriptRunResult result = runBody(c.body);
        EXPECT_FALSE(result.warned) << c.body << "\n" << outputText();
        EXPECT_EQ(frame.lastStatus(), c.status) << c.body;
    }
}

// Script column positions and typing reach far into a long line.
TEST_F(EditorScriptTest, ColumnPositionsReachFarIntoALongLine) {
    Document& document = activeDocument();
    document.moveToLine(0);
    document.insertText(std::string(60'000, '-'));
    const ScriptRunResult result = runBody(
        "int c; int ch; set_line_pos(1); set_column_pos(50001); put_char(65); get_column_pos(c); "
        "get_char(ch); message(\"%d %d\", c, ch);");
    EXPECT_FALSE(result.warned) << outputText();
    EXPECT_EQ(frame.lastStatus(), "50002 45");
    EXPECT_EQ(line(0).substr(49'999, 3), "-A-");
}

TEST_F(EditorScriptTest, TypingFunctions) {
    runBody("put_string(\"Line%d;\", 7); put_number(42); put_char(65); insert_line(\"new\");");
    EXPECT_EQ(line(0), "new");
    EXPECT_EQ(line(1), "Line7;42Aline 1");
    activeDocument().setReadOnly(true);
    runBody("int r = put_number(1); message(\"r=%d\", r);");
    EXPECT_EQ(frame.lastStatus(), "r=0");
    EXPECT_EQ(line(1), "Line7;42Aline 1");
}

// A document that gets a name with another extension takes that extension's profile (its
// delimiters drive whole-word search and the word functions), by Save As and by set_file_name.
TEST_F(EditorScriptTest, ANewNameBringsTheProfileOfItsExtension) {
    syntax::ExtensionProfile c;
    c.setExtension("C");
    c.setDelimiters("#");
    ASSERT_EQ(c.save(syntax::profileFilePath(options.directory(DirectoryKind::Config), "C")),
              syntax::ProfileFileStatus::Ok);
    const struct {
        const char* name;
        std::function<void(const std::string&)> rename;
    } cases[] = {
        {"Save As",
         [&](const std::string& path) {
             frame.chooseNextSave(path);
             EXPECT_EQ(exec(functionIdOf("FileSaveAs")), 1);
         }},
        {"set_file_name", [&](const std::string& path) { runBody("set_file_name(\"" + path + "\");"); }},
    };
    int number = 0;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        workspace().newDocument();
        type("text");
        EditPane& pane = *workspace().active();
        EXPECT_NE(activeDocument().languageRules().delimiterCharacters(), "#");
        row.rename(m_home.file("named" + std::to_string(++number) + ".c"));
        ASSERT_EQ(workspace().active(), &pane);
        EXPECT_EQ(activeDocument().languageRules().delimiterCharacters(), "#");
        ASSERT_NE(workspace().profileOf(pane), nullptr);
        EXPECT_EQ(workspace().profileOf(pane)->delimiters(), "#");
    }
}

// A script run over a document opened from bytes; the document's lines afterwards.
struct BytesCase {
    const char* name;
    std::string file; // the document's bytes
    std::optional<TextEncoding> encoding;
    std::string body;
    std::vector<std::string> lines;
    std::string status = {};
    bool warned = false;
};

class ScriptBytesTest : public EditorScriptTest {
protected:
    void runCases(const std::vector<BytesCase>& cases) {
        for (const BytesCase& c : cases) {
            workspace().openDocument(
                writeFile(std::string("bytes") + std::to_string(m_count++) + ".txt", c.file));
            if (c.encoding) {
                activeDocument().setEncoding(*c.encoding);
            }
            frame.clearEvents();
            const ScriptRunResult result = runBody(c.body);
            EXPECT_EQ(result.warned, c.warned) << c.name << "\n" << outputText();
            std::vector<std::string> lines;
            for (int i = 0; i < activeDocument().lineCount(); ++i) {
                lines.emplace_back(activeDocument().lineText(i));
            }
            EXPECT_EQ(lines, c.lines) << c.name;
            if (!c.status.empty()) {
                EXPECT_EQ(frame.lastStatus(), c.status) << c.name;
            }
        }
    }
    int m_count = 0;
};

TEST_F(ScriptBytesTest, TextReadFromTheDocumentGoesBackAsTheSameBytes) {
    constexpr auto k1252 = TextEncoding::Windows1252;
    constexpr auto kUtf8 = TextEncoding::Utf8;
    // A Windows-1252 line whose bytes C3 A9 happen to be valid UTF-8 (two characters there).
    const std::string cp1252 = "\xE9\n\xC3\xA9\n";
    const std::string copyLine2 = "string s; get_line(s, 2); set_line_pos(1); set_column_pos(1); ";
    runCases({
        {"get_line typed back by put_string",
         cp1252,
         k1252,
         copyLine2 + "put_string(\"%s\", s);",
         {"\xC3\xA9\xE9", "\xC3\xA9"}},
        {"get_line typed back by insert_line",
         cp1252,
         k1252,
         copyLine2 + "insert_line(s);",
         {"\xC3\xA9", "\xE9", "\xC3\xA9"}},
        {"get_line in a UTF-8 document",
         "\xC3\xA9\xE4\xB8\xAD\n",
         kUtf8,
         "string s; get_line(s, 1); put_string(\"%s\", s);",
         {"\xC3\xA9\xE4\xB8\xAD\xC3\xA9\xE4\xB8\xAD"}},
        {"a constant of the script is converted", "\xE9\n", k1252, "put_string(\"\xC3\xA9\");", {"\xE9\xE9"}},
        {"get_char gives the code point of a UTF-8 character",
         "\xC3\xA9\n",
         kUtf8,
         "int c; get_char(c); message(\"%d\", c); put_char(c);",
         {"\xC3\xA9\xC3\xA9"},
         "233"},
        {"get_char of a three-byte character",
         "\xE4\xB8\xAD\n",
         kUtf8,
         "int c; get_char(c); message(\"%d\", c); put_char(c);",
         {"\xE4\xB8\xAD\xE4\xB8\xAD"},
         "20013"},
        {"get_char of a Windows-1252 euro sign",
         "\x80\n",
         k1252,
         "int c; get_char(c); message(\"%d\", c); put_char(c);",
         {"\x80\x80"},
         "8364"},
        {"put_char of a code point below 256 in UTF-8", "\n", kUtf8, "put_char(233);", {"\xC3\xA9"}},
    });
}

TEST_F(ScriptBytesTest, ReadFileConvertsToTheDocumentsEncodingAndRefusesNul) {
    constexpr auto k1252 = TextEncoding::Windows1252;
    constexpr auto kUtf8 = TextEncoding::Utf8;
    const std::string utf8File = writeFile("utf8.txt", "caf\xC3\xA9\r\nx\n");
    const std::string cp1252File = writeFile("cp1252.txt", "caf\xE9\rx\n");
    const std::string nulFile = writeFile("nul.txt", std::string("a\0b\n", 4));
    const std::string cjkFile = writeFile("cjk.txt", "\xE4\xB8\xAD\n");
    const auto readBody = [](const std::string& path) { return "read_file(\"" + path + "\");"; };
    runCases({
        {"UTF-8 file into a Windows-1252 document",
         "top\n",
         k1252,
         readBody(utf8File),
         {"top", "caf\xE9", "x"}},
        {"Windows-1252 file into a UTF-8 document, a lone CR ends a line",
         "top\n",
         kUtf8,
         readBody(cp1252File),
         {"top", "caf\xC3\xA9", "x"}},
        {"a file with a null byte", "top\n", kUtf8, readBody(nulFile), {"top"}, {}, true},
        {"a character the document cannot hold", "top\n", k1252, readBody(cjkFile), {"top"}},
    });
}

TEST_F(ScriptBytesTest, ALineEndTypedByAScriptSplitsTheLinePlainly) {
    // Smart indent and smart brace are on: a line end from a script still adds nothing.
    options.editor().smartIndent = 1;
    options.editor().smartBrace = 1;
    const std::string at = "set_column_pos(4); ";
    runCases({
        {"put_char(10)", "  ab\n", {}, at + "put_char(10);", {"  a", "b"}},
        {"put_char(13)", "  ab\n", {}, at + "put_char(13);", {"  a", "b"}},
        {"after a brace", "x{y\n", {}, "set_column_pos(3); put_char(10);", {"x{", "y"}},
        {"put_string with a line end", "  ab\n", {}, at + "put_string(\"1\\n2\");", {"  a1 ", "2b"}},
        {"put_char(0) is refused", "  ab\n", {}, at + "put_char(0);", {"  ab"}, {}, true},
    });
}

TEST_F(EditorScriptTest, TypingAidsGoOffForTheRunAndComeBack) {
    runBody("int a = typing_aids(0); int b = typing_aids(0); message(\"%d %d\", a, b);");
    EXPECT_EQ(frame.lastStatus(), "1 0");
    EXPECT_TRUE(processor().typingAids());
    options.editor().smartIndent = 1;
    workspace().openDocument(writeFile("indent.txt", "  ab\n"));
    runBody("typing_aids(0); set_column_pos(4); Enter();");
    EXPECT_EQ(line(1), "b");
    EXPECT_TRUE(processor().typingAids());
}

TEST_F(EditorScriptTest, RefusedAndUnknownCallsWarn) {
    struct Case {
        const char* body;
        const char* warning;
    };
    for (const Case& c :
         {Case{"MacroExecuteScript();", "Call to an unknown function!"},
          Case{"no_such_function();", "Call to an unknown function!"},
          Case{"string a; string b; user_input(\"x\", a, \"y\");",
               "Bad number of arguments supplied in macro function call!"},
          Case{"get_line_count();", "Bad number of arguments supplied in macro function call!"},
          Case{"put_string(5);", "Bad argument/format string passed to 'put_string' function!"},
          Case{"message();", "Bad argument/format string passed to 'message' function!"}}) {
        const ScriptRunResult result = runBody(c.body);
        EXPECT_TRUE(result.warned) << c.body;
        EXPECT_NE(outputText().find(c.warning), std::string::npos) << c.body << "\n" << outputText();
        EXPECT_NE(frame.lastStatus().find("Error executing '"), std::string::npos) << c.body;
    }
}

TEST_F(EditorScriptTest, UserInputFillsTheVariablesOnOkOnly) {
    frame.scriptNextDialog([](DialogModel& model) {
        auto& input = dynamic_cast<UserInputModel&>(model);
        EXPECT_EQ(input.title(), "User Input");
        EXPECT_EQ(input.prompts(), (std::vector<std::string>{"Name", "Count"}));
        EXPECT_EQ(input.fieldName(1), "Prompt2:");
        input.setText(0, "vexa");
        input.setText(1, "42");
        return DialogResult::Accepted;
    });
    runBody(
        "string s; int n; int r = user_input(\"Name\", s, \"Count\", n); message(\"%d %s %d\", r, s, n);");
    EXPECT_EQ(frame.lastStatus(), "1 vexa 42");
    frame.scriptNextDialog([](DialogModel&) { return DialogResult::Cancelled; });
    runBody("string s = \"old\"; int r = user_input(\"Name\", s); message(\"%d %s\", r, s);");
    EXPECT_EQ(frame.lastStatus(), "0 old");
    EXPECT_TRUE(frame.unexpected().empty());
}

TEST_F(EditorScriptTest, SpawnStartsTheProgramAndGivesZero) {
    launcher.scriptNext(FakeRun{});
    runBody("int r = spawn(\"tool\", \"one two\", 1); message(\"r=%d\", r);");
    EXPECT_EQ(frame.lastStatus(), "r=0");
    ASSERT_EQ(launcher.requests().size(), 1u);
    // The program starts from an argument vector: the program, then the words of its arguments.
    std::string words;
    for (const std::string& argument : launcher.requests()[0].arguments) {
        words += "[" + argument + "]";
    }
    EXPECT_NE(words.find("[tool]"), std::string::npos) << words;
    EXPECT_NE(words.find("[one][two]"), std::string::npos) << words;
    EXPECT_EQ(launcher.requests()[0].showMode, platform::ShowMode::Normal);
    const ScriptRunResult bad = runBody("spawn();");
    EXPECT_TRUE(bad.warned);
    EXPECT_NE(outputText().find("Bad number of arguments"), std::string::npos);
}

// A captured spawn runs as a captured tool does: it is followed, and when it has ended its output
// fills the Standard Output window.
TEST_F(EditorScriptTest, ACapturedSpawnShowsItsOutputInStandardOutput) {
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 1, 0});
    runBody("int r = spawn(\"tool\", \"one\", 2); message(\"r=%d\", r);");
    EXPECT_EQ(frame.lastStatus(), "r=0");
    toolchain::Spawner& spawner = editor->tools().capturedRun().spawner();
    ASSERT_EQ(launcher.requests().size(), 1u);
    EXPECT_EQ(launcher.requests()[0].outputFile, spawner.pipeFilePath());
    EXPECT_TRUE(editor->tools().capturedRun().isBusy());
    test::writeFileBytes(spawner.pipeFilePath(), "printed by the tool\n");
    frame.advanceTime(toolchain::kToolPollMs);
    EXPECT_FALSE(editor->tools().capturedRun().isBusy());
    const std::vector<std::string> lines = output();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "printed by the tool"), lines.end());
    EXPECT_EQ(frame.lastStatus(), "Command has completed.");
}

TEST_F(EditorScriptTest, StringConstantsExpandVariables) {
    runBody("set_line_pos(3); message(\"at $Line\");");
    EXPECT_EQ(frame.lastStatus(), "at 3");
}

TEST_F(EditorScriptTest, EscapeEndsAnEndlessLoop) {
    keys.setDown(platform::kKeyEscape, true);
    const ScriptRunResult result = runBody("int n = 0; while (1) n++;");
    keys.setDown(platform::kKeyEscape, false);
    EXPECT_EQ(result.code, -1);
    EXPECT_EQ(output().back(), "Macro terminated by user!");
}

TEST_F(EditorScriptTest, OutputIsCutIntoLinesAndTheFirstLineClearsTheWindow) {
    editor->outputs().standard().addLine("old");
    EditorScript script(EditorScriptServices{processor(), workspace(), editor->outputs(), keys, clock, {}});
    script.write("one\ntw");
    script.write("o\n" + std::string(1500, 'x') + "\n");
    const std::vector<std::string> expected = {"one", "two",
                                               std::string(EditorScript::kLineBufferSize - 1, 'x'),
                                               std::string(1500 - (EditorScript::kLineBufferSize - 1), 'x')};
    EXPECT_EQ(output(), expected);
}

TEST_F(EditorScriptTest, ExecuteScriptDialogRunsAndKeepsTheHistory) {
    const std::string path = writeFile("hello.zm", "int main() { message(\"hello %s\", argv[1]); }\n");
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& dialog = dynamic_cast<ExecuteScriptModel&>(model);
        EXPECT_EQ(dialog.title(), "Execute Macro Script");
        dialog.setCommandLine(path + " arg");
        return DialogResult::Accepted;
    });
    EXPECT_EQ(exec(functionIdOf("MacroExecuteScript")), 1);
    EXPECT_EQ(frame.lastStatus(), "hello arg");
    frame.scriptNextDialog([&](DialogModel& model) {
        EXPECT_EQ(dynamic_cast<ExecuteScriptModel&>(model).commandLine(), path + " arg");
        return DialogResult::Cancelled;
    });
    EXPECT_EQ(exec(functionIdOf("MacroExecuteScript")), 0);
}

} // namespace
} // namespace vexa::test
