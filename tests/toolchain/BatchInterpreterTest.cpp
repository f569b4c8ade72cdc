// The command interpreter's batch lines and their run.
#include <gtest/gtest.h>

#include <sstream>

#include "toolchain/BatchInterpreter.h"

namespace vexa::toolchain {
namespace {

TEST(BatchInterpreter, ReadsTheLinesTheEditorWrites) {
    struct Case {
        const char* line;
        BatchLineKind kind;
        const char* command;
        bool quiet;
    };
    const Case cases[] = {
        {"@echo off ", BatchLineKind::EchoOff, "", true},
        {"echo off", BatchLineKind::EchoOff, "", false},
        {"ECHO OFF\r", BatchLineKind::EchoOff, "", false},
        {"  echo   on  ", BatchLineKind::EchoOn, "", false},
        {"pause", BatchLineKind::Pause, "", false},
        {"PAUSE\r", BatchLineKind::Pause, "", false},
        {"rem a remark > file", BatchLineKind::Remark, "", false},
        {"REM", BatchLineKind::Remark, "", false},
        {"/C gcc -c x.c", BatchLineKind::Command, "gcc -c x.c", false},
        {"/c", BatchLineKind::Empty, "", false},
        {"gcc -c /src/main.c > main.err 2>&1", BatchLineKind::Command, "gcc -c /src/main.c > main.err 2>&1",
         false},
        {"@make all", BatchLineKind::Command, "make all", true},
        {"echo hello", BatchLineKind::Command, "echo hello", false},
        {"echo off now", BatchLineKind::Command, "echo off now", false},
        {"pause later", BatchLineKind::Command, "pause later", false},
        {"remark.sh", BatchLineKind::Command, "remark.sh", false},
        {"", BatchLineKind::Empty, "", false},
        {"   \t\r", BatchLineKind::Empty, "", false},
        {"@", BatchLineKind::Empty, "", true},
    };
    for (const Case& c : cases) {
        const BatchLine line = readBatchLine(c.line);
        EXPECT_EQ(line.kind, c.kind) << c.line;
        EXPECT_EQ(line.command, c.command) << c.line;
        EXPECT_EQ(line.quiet, c.quiet) << c.line;
    }
}

TEST(BatchInterpreter, ACommandLineIsAnArgumentVectorWithItsRedirectionAsData) {
    const BatchLine line = readBatchLine("'cc' -c '/src/a;id>PWNED;.c' > 'a;id.err' 2>&1");
    ASSERT_EQ(line.kind, BatchLineKind::Command);
    EXPECT_EQ(line.arguments.words, (std::vector<std::string>{"cc", "-c", "/src/a;id>PWNED;.c"}));
    EXPECT_EQ(line.arguments.redirection.file, "a;id.err");
    EXPECT_TRUE(line.arguments.redirection.joinErrors);
}

TEST(BatchInterpreter, ParametersStayInsideTheirWords) {
    const std::vector<std::string> parameters{"/src/b$(id>X).c", "b.err", "b c"};
    const BatchLine line = readBatchLine("tcc -I. %1 -o%3.o > %2", parameters);
    ASSERT_EQ(line.kind, BatchLineKind::Command);
    EXPECT_EQ(line.arguments.words, (std::vector<std::string>{"tcc", "-I.", "/src/b$(id>X).c", "-ob c.o"}));
    EXPECT_EQ(line.arguments.redirection.file, "b.err");
    // Without parameters "%1" is text of its own, as in a name the editor wrote.
    EXPECT_EQ(readBatchLine("'cc' 'x%1.c'").arguments.words, (std::vector<std::string>{"cc", "x%1.c"}));
    // Shell syntax of the file's own runs through "sh -c" with the values as parameters.
    const BatchLine piped = readBatchLine("cc %1 | grep x", parameters);
    EXPECT_EQ(piped.arguments.words,
              (std::vector<std::string>{"sh", "-c", "cc \"${1}\" | grep x", "sh", "/src/b$(id>X).c"}));
}

class RecordingHost final : public BatchHost {
public:
    int runCommand(const ArgumentVector& command) override {
        std::string text;
        for (const std::string& word : command.words) {
            text += (text.empty() ? "" : " ") + word;
        }
        if (!command.redirection.file.empty()) {
            text += " > " + command.redirection.file;
        }
        log.push_back("run " + text);
        return text == "fail" ? 2 : 0;
    }
    void pause() override { log.push_back("pause"); }
    void echo(const std::string& line) override { log.push_back("echo " + line); }
    std::vector<std::string> log;
};

TEST(BatchInterpreter, RunsEveryLineAndStopsOnNothing) {
    std::istringstream lines("@echo off \r\nfail\r\nrem skip\r\nmake all > x.err\r\npause\r\n");
    RecordingHost host;
    EXPECT_EQ(runBatch(lines, host), 0);
    EXPECT_EQ(host.log, (std::vector<std::string>{"run fail", "run make all > x.err", "pause"}));
}

TEST(BatchInterpreter, EchoesCommandsWhileEchoIsOn) {
    std::istringstream lines("first\n@quiet\necho off\nsecond\necho on\nlast\nfail");
    RecordingHost host;
    EXPECT_EQ(runBatch(lines, host), 2); // the status of the last command
    EXPECT_EQ(host.log, (std::vector<std::string>{"echo first", "run first", "run quiet", "run second",
                                                  "echo last", "run last", "echo fail", "run fail"}));
}

TEST(BatchInterpreter, AQuotedNameGoesOnOverALineEnd) {
    std::istringstream lines("@echo off\n'cc' '/src/two\nlines.c' > 'x.err'\nnext\n");
    RecordingHost host;
    EXPECT_EQ(runBatch(lines, host), 0);
    EXPECT_EQ(host.log, (std::vector<std::string>{"run cc /src/two\nlines.c > x.err", "run next"}));
}

TEST(BatchInterpreter, KnowsABatchFileByItsExtension) {
    EXPECT_TRUE(isBatchFileName("VexaCC.BAT"));
    EXPECT_TRUE(isBatchFileName("/a b/build.bat"));
    EXPECT_FALSE(isBatchFileName("make"));
    EXPECT_FALSE(isBatchFileName(".bat"));
    EXPECT_FALSE(isBatchFileName("combat"));
}

} // namespace
} // namespace vexa::toolchain
