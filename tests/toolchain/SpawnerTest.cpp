// The spawner: command lines by tool type, the pipe and PIF files, result codes, real runs.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "toolchain/Spawner.h"
#include "platform/Files.h"
#include "platform/posix/PosixProcess.h"
#include "support/FakeProcess.h"
#include "support/ScopedVariable.h"
#include "support/TempHome.h"

namespace vexa::toolchain {
namespace {

class SpawnerTest : public ::testing::Test {
protected:
    SpawnerTest() : spawner(launcher, SpawnerSetup{home(), "/opt/vexa/bin"}) {
        context.hasDocument = true;
        context.hasWindow = true;
        context.documentPath = "/src/main.c";
        context.line = 7;
    }
    std::string home() const { return m_home.path().string() + "/"; }

    test::TempHome m_home;
    test::FakeProcessLauncher launcher;
    Spawner spawner;
    VariableContext context;
};

TEST_F(SpawnerTest, ArgumentVectorsByToolType) {
    using Words = std::vector<std::string>;
    struct Case {
        ToolType type;
        bool capture;
        const char* program;
        const char* arguments;
        Words expected;
    };
    const std::string pif = home() + "VexaDOS.PIF";
    const Case cases[] = {
        {ToolType::DosCommandLine, false, "", "grep -n x $F", {pif, "/C", "grep", "-n", "x", "main.c"}},
        {ToolType::DosCommandLine, true, "", "ls", {pif, "/C", "ls"}},
        {ToolType::DosCommandLine, true, "", "vStdErr ls", {pif, "/C", "vStdErr", "ls"}},
        // An interactive session: the PIF file alone, nothing captured.
        {ToolType::DosCommandLine, true, "", "", {pif}},
        {ToolType::WindowsProgram, false, "/usr/bin/xterm", "-e top", {"/usr/bin/xterm", "-e", "top"}},
        {ToolType::WindowsProgram, true, "/opt/my tools/lint", "", {"/opt/my tools/lint"}},
        {ToolType::DosProgram, false, "make", "-f $FB.mak", {pif, "/C", "make", "-f", "main.mak"}},
        {ToolType::DosProgram, true, "make", "all | tee x", {pif, "/C", "sh", "-c", "\"${1}\" all | tee x", "sh", "make"}},
    };
    for (const Case& c : cases) {
        ToolRecord record;
        record.type = c.type;
        record.captureOutput = c.capture;
        record.program = c.program;
        record.arguments = c.arguments;
        spawner.prepare(record, context);
        EXPECT_EQ(spawner.arguments(), c.expected) << c.arguments;
        const bool captured = c.capture && !c.expected.empty() && c.expected.back() != pif;
        EXPECT_EQ(spawner.outputFile(), captured ? spawner.runFolder().file("VexaPip.dat") : "") << c.arguments;
    }
}

TEST_F(SpawnerTest, ValuesNeverBecomeShellText) {
    const std::string hostile[] = {"/src/a;id>PWNED;.c", "/src/b$(id>X).c", "/src/c`id`.c", "/src/-n x.c"};
    for (const std::string& name : hostile) {
        context.documentPath = name;
        ToolRecord record;
        record.type = ToolType::DosCommandLine;
        record.arguments = "grep -n main $FileName";
        spawner.prepare(record, context);
        EXPECT_EQ(spawner.arguments().back(), name);
        EXPECT_EQ(spawner.arguments().size(), 6u) << name;
        record.arguments = "grep -n main $FileName | sort";
        spawner.prepare(record, context);
        const std::vector<std::string>& words = spawner.arguments();
        ASSERT_EQ(words.size(), 7u) << name;
        EXPECT_EQ(words[4], "grep -n main \"${1}\" | sort");
        EXPECT_EQ(words[6], name);
    }
}

TEST_F(SpawnerTest, TitleAndWorkingDirectory) {
    ToolRecord record;
    record.type = ToolType::WindowsProgram;
    record.program = "/usr/bin/make";
    record.arguments = "-C $L";
    record.workingDirectory = "/src";
    spawner.prepare(record, context);
    EXPECT_EQ(spawner.title(), "make -C 7");
    EXPECT_EQ(spawner.workingDirectory(), "/src");
    record.workingDirectory.clear();
    spawner.prepare(record, context);
    EXPECT_FALSE(spawner.workingDirectory().empty());
}

TEST_F(SpawnerTest, CaptureDeletesTheOldPipeFile) {
    test::writeFileBytes(spawner.pipeFilePath(), "old output");
    ToolRecord record;
    record.type = ToolType::DosCommandLine;
    record.arguments = "ls";
    record.captureOutput = false;
    spawner.prepare(record, context);
    EXPECT_TRUE(platform::isRegularFile(spawner.pipeFilePath()));
    record.captureOutput = true;
    spawner.prepare(record, context);
    EXPECT_FALSE(platform::isRegularFile(spawner.pipeFilePath()));
}

TEST_F(SpawnerTest, ThePifFileStartsTheInterpreterWithItsArguments) {
    ToolRecord record;
    record.type = ToolType::DosProgram;
    record.program = "make";
    spawner.prepare(record, context);
    EXPECT_EQ(test::readFileBytes(spawner.pifFilePath()), pifFileText("/opt/vexa/bin"));
    EXPECT_TRUE(platform::canAccess(spawner.pifFilePath(), platform::Access::Execute));
    EXPECT_NE(pifFileText("/opt/vexa/bin").find("then exec '/opt/vexa/bin/vCommand' \"$@\""), std::string::npos);
    EXPECT_NE(pifFileText("/it's here").find("'/it'\\''s here/vCommand'"), std::string::npos);
    EXPECT_NE(pifFileText("").find("exec vCommand \"$@\""), std::string::npos);
}

TEST_F(SpawnerTest, RunStartsOnceAndIsBusyUntilTheProcessEnds) {
    ToolRecord record;
    record.type = ToolType::WindowsProgram;
    record.program = "/bin/true";
    record.captureOutput = false;
    launcher.scriptNext(test::FakeRun{platform::SpawnResult::Started, 2, 0});
    EXPECT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Started);
    ASSERT_EQ(launcher.requests().size(), 1u);
    EXPECT_EQ(launcher.requests()[0].arguments, std::vector<std::string>{"/bin/true"});
    EXPECT_EQ(launcher.requests()[0].searchPath.substr(0, 14), "/opt/vexa/bin:");
    EXPECT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Busy);
    EXPECT_EQ(spawner.result(), platform::SpawnResult::Busy);
    EXPECT_FALSE(spawner.isIdle());
    EXPECT_TRUE(spawner.isIdle());
    EXPECT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Started);
}

TEST_F(SpawnerTest, StartFailuresKeepTheirCodeAndLeaveItIdle) {
    ToolRecord record;
    record.type = ToolType::WindowsProgram;
    record.program = "x";
    for (auto code : {platform::SpawnResult::FileNotFound, platform::SpawnResult::PathNotFound,
                      platform::SpawnResult::DirectoryNotFound, platform::SpawnResult::Failed}) {
        launcher.scriptNext(test::FakeRun{code, 0, 0});
        EXPECT_EQ(spawner.prepareAndRun(record, context), code);
        EXPECT_EQ(spawner.result(), code);
        EXPECT_TRUE(spawner.isIdle());
    }
}

// ---- with real processes and the companion programs ----

class RealSpawnerTest : public ::testing::Test {
protected:
    RealSpawnerTest() : spawner(launcher, SpawnerSetup{m_home.path().string() + "/", VEXA_COMPANION_DIR}) {
        context.hasDocument = true;
    }

    bool waitUntilIdle() {
        for (int i = 0; i < 500; ++i) {
            if (spawner.isIdle()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    test::TempHome m_home;
    platform::PosixProcessLauncher launcher;
    Spawner spawner;
    VariableContext context;
};

// A companion directory that holds no vCommand (the editor's program was moved or linked away from
// its companions): the command interpreter along PATH runs the command.
TEST_F(RealSpawnerTest, WithoutTheCompanionBesideItTheInterpreterAlongPathRuns) {
    const std::string empty = m_home.file("no-companions");
    std::filesystem::create_directories(empty);
    test::ScopedVariable path("PATH", std::string(VEXA_COMPANION_DIR) + ":/usr/bin:/bin");
    Spawner moved(launcher, SpawnerSetup{m_home.path().string() + "/", empty});
    ToolRecord record;
    record.type = ToolType::DosCommandLine;
    record.arguments = "echo found along the path";
    record.captureOutput = true;
    ASSERT_EQ(moved.prepareAndRun(record, context), platform::SpawnResult::Started);
    moved.waitUntilIdle();
    EXPECT_EQ(moved.exitCode(), std::optional<int>(0));
    EXPECT_EQ(test::readFileBytes(moved.pipeFilePath()), "found along the path\n");
}

TEST_F(RealSpawnerTest, AWorkingDirectoryThatDoesNotExistGivesCodeFive) {
    ToolRecord record;
    record.type = ToolType::DosCommandLine;
    record.arguments = "true";
    record.workingDirectory = m_home.file("no/such/dir");
    EXPECT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::DirectoryNotFound);
    EXPECT_TRUE(spawner.isIdle());
}

TEST_F(RealSpawnerTest, AProgramThatDoesNotExistGivesCodeThree) {
    ToolRecord record;
    record.type = ToolType::WindowsProgram;
    record.program = "vexa-no-such-program";
    EXPECT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::FileNotFound);
}

TEST_F(RealSpawnerTest, ACapturedCommandLineWritesThePipeFileThroughTheInterpreter) {
    ToolRecord record;
    record.type = ToolType::DosCommandLine;
    record.arguments = "true && pwd";
    record.workingDirectory = m_home.path().string();
    ASSERT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Started);
    ASSERT_TRUE(waitUntilIdle());
    // A command with shell syntax runs as the user's script with its output captured whole; the
    // quoted words keep their blanks on the way through the PIF file and the interpreter.
    EXPECT_EQ(test::readFileBytes(spawner.pipeFilePath()), m_home.path().string() + "\n");
    record.arguments = "echo \"two  blanks\"";
    ASSERT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Started);
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(test::readFileBytes(spawner.pipeFilePath()), "two  blanks\n");
    EXPECT_EQ(spawner.exitCode(), 0);
}

TEST_F(RealSpawnerTest, HostileNamesReachTheProgramAsOneArgumentAndRunNothing) {
    const std::string names[] = {"a;touch PWNED;.c", "b$(touch PWNED).c", "c`touch PWNED`.c", "-n two  x.c",
                                 "it's \"q\".c", "new\nline.c"};
    for (const std::string& name : names) {
        test::writeFileBytes(m_home.path() / name, "body of " + name + "\n");
        context.documentPath = m_home.file(name);
        ToolRecord record;
        record.type = ToolType::DosCommandLine;
        record.captureOutput = true;
        record.workingDirectory = m_home.path().string();
        for (const char* arguments : {"cat -- $FileName", "cat -- $File | cat"}) {
            record.arguments = arguments;
            ASSERT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Started);
            ASSERT_TRUE(waitUntilIdle());
            EXPECT_EQ(test::readFileBytes(spawner.pipeFilePath()), "body of " + name + "\n") << arguments;
            EXPECT_EQ(spawner.exitCode(), 0) << name;
        }
    }
    EXPECT_FALSE(platform::isRegularFile(m_home.file("PWNED")));
}

TEST_F(RealSpawnerTest, AProgramWaitingForInputEndsAtOnce) {
    ToolRecord record;
    record.type = ToolType::DosCommandLine;
    record.arguments = "cat";
    record.captureOutput = true;
    record.workingDirectory = m_home.path().string();
    ASSERT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Started);
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(spawner.exitCode(), 0);
}

TEST_F(RealSpawnerTest, StopEndsTheWholeProcessGroup) {
    ToolRecord record;
    record.type = ToolType::DosCommandLine;
    // The shell's child keeps the pipe open: it too must end for the run to be over.
    record.arguments = "sh -c \"sleep 100 & sleep 100; echo not reached\"";
    record.captureOutput = true;
    record.workingDirectory = m_home.path().string();
    ASSERT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Started);
    EXPECT_FALSE(spawner.isIdle());
    EXPECT_TRUE(spawner.stop());
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(spawner.exitCode(), 128 + 15);
    EXPECT_EQ(test::readFileBytes(spawner.pipeFilePath()), "");
    EXPECT_FALSE(spawner.stop());
}

TEST_F(RealSpawnerTest, StdErrJoinsTheErrorsOfItsCommandAndKeepsItsStatus) {
    ToolRecord record;
    record.type = ToolType::DosCommandLine;
    record.arguments = "sh -c \"echo to-err 1>&2; exit 3\"";
    record.captureErrors = true;
    record.workingDirectory = m_home.path().string();
    ASSERT_EQ(spawner.prepareAndRun(record, context), platform::SpawnResult::Started);
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(test::readFileBytes(spawner.pipeFilePath()), "to-err\n");
    EXPECT_EQ(spawner.exitCode(), 3);
}

} // namespace
} // namespace vexa::toolchain
