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
        {"gcc -c /src/main.c > main.err", BatchLineKind::Command, "gcc -c /src/main.c > main.err", false},
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

class RecordingHost final : public BatchHost {
public:
    int runCommand(const std::string& command) override {
        log.push_back("run " + command);
        return command == "fail" ? 2 : 0;
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

TEST(BatchInterpreter, JoinsWordsSoThatTheShellSeesThemAgain) {
    EXPECT_EQ(joinCommandWords({"gcc", "-c", "main.c", ">", "main.err"}), "gcc -c main.c > main.err");
    EXPECT_EQ(joinCommandWords({"echo", "two  blanks"}), "echo \"two  blanks\"");
    EXPECT_EQ(joinCommandWords({"echo", "a\"b", ""}), "echo \"a\\\"b\" \"\"");
    EXPECT_EQ(joinCommandWords({"echo", "$HOME has blanks"}), "echo \"\\$HOME has blanks\"");
}

TEST(BatchInterpreter, KnowsABatchFileByItsExtension) {
    EXPECT_EQ(batchFileOf("VexaCC.BAT"), "VexaCC.BAT");
    EXPECT_EQ(batchFileOf("  build.bat arg"), "build.bat");
    EXPECT_EQ(batchFileOf("make all"), "");
    EXPECT_EQ(batchFileOf(".bat"), "");
    EXPECT_EQ(batchFileOf("combat"), "");
}

} // namespace
} // namespace vexa::toolchain
