// The POSIX child process: result codes, working directory, polling, exit codes and the
// scripted slots that stand in for it in other tests.
#include "platform/posix/PosixProcess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "support/FakeProcess.h"
#include "support/TempHome.h"

namespace vexa::platform {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::writeFileBytes;

// Polls until the process has ended; false when it runs on for more than ten seconds.
bool waitForEnd(ChildProcess& process) {
    for (int i = 0; i < 1000; ++i) {
        if (!process.isRunning()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

ProcessRequest request(std::string commandLine, std::string workingDirectory = {}) {
    ProcessRequest r;
    r.commandLine = std::move(commandLine);
    r.workingDirectory = std::move(workingDirectory);
    return r;
}

class PosixProcess : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::canonical(m_home.path());
        writeFileBytes(m_dir / "script.sh", "#!/bin/sh\necho \"$1\" > arg.txt\nexit 7\n");
        ASSERT_EQ(::chmod((m_dir / "script.sh").c_str(), 0755), 0);
        writeFileBytes(m_dir / "plain.txt", "not a program");
    }

    test::TempHome m_home;
    fs::path m_dir;
};

TEST_F(PosixProcess, RunsInTheWorkingDirectoryAndReportsTheExitCode) {
    auto before = currentDirectory();
    PosixChildProcess process;
    ASSERT_EQ(process.start(request("./script.sh \"two words\"", m_dir.string())), SpawnResult::Started);
    EXPECT_EQ(currentDirectory(), before) << "the editor's own directory never changes";
    ASSERT_TRUE(waitForEnd(process));
    EXPECT_EQ(process.exitCode(), 7);
    EXPECT_EQ(readFileBytes(m_dir / "arg.txt"), "two words\n");
    EXPECT_EQ(process.processId(), 0);
}

TEST_F(PosixProcess, BareNamesAreFoundAlongThePath) {
    PosixChildProcess process;
    ASSERT_EQ(process.start(request("sh -c \"pwd > where.txt; exit 4\"", m_dir.string())),
              SpawnResult::Started);
    ASSERT_TRUE(waitForEnd(process));
    EXPECT_EQ(process.exitCode(), 4);
    EXPECT_EQ(readFileBytes(m_dir / "where.txt"), m_dir.string() + "\n");
}

TEST_F(PosixProcess, EmptyWorkingDirectoryMeansTheCurrentOne) {
    auto before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(m_dir.string()));
    PosixChildProcess process;
    SpawnResult result = process.start(request("/bin/sh -c \"pwd > here.txt\""));
    ASSERT_TRUE(setCurrentDirectory(*before));
    ASSERT_EQ(result, SpawnResult::Started);
    ASSERT_TRUE(waitForEnd(process));
    EXPECT_EQ(readFileBytes(m_dir / "here.txt"), m_dir.string() + "\n");
}

TEST_F(PosixProcess, AGivenSearchPathFindsTheProgramAndIsTheChildsPath) {
    fs::create_directories(m_dir / "bin");
    writeFileBytes(m_dir / "bin" / "only-here", "#!/bin/sh\necho \"$PATH\" > path.txt\n");
    ASSERT_TRUE(makeExecutable((m_dir / "bin" / "only-here").string()));
    PosixChildProcess process;
    ProcessRequest r = request("only-here", m_dir.string());
    EXPECT_EQ(process.start(r), SpawnResult::FileNotFound);
    r.searchPath = (m_dir / "bin").string() + ":/usr/bin:/bin";
    ASSERT_EQ(process.start(r), SpawnResult::Started);
    ASSERT_TRUE(waitForEnd(process));
    EXPECT_EQ(readFileBytes(m_dir / "path.txt"), r.searchPath + "\n");
    EXPECT_EQ(findOnSearchPath("only-here", r.searchPath), (m_dir / "bin" / "only-here").string());
    EXPECT_FALSE(findOnSearchPath("only-here", "/usr/bin").has_value());
}

struct FailureCase {
    const char* name;
    std::string commandLine;
    std::string workingDirectory;
    SpawnResult expected;
};

TEST_F(PosixProcess, StartFailuresGiveTheirResultCodes) {
    const FailureCase kCases[] = {
        {"missing working directory", "/bin/true", (m_dir / "gone").string(), SpawnResult::DirectoryNotFound},
        {"working directory is a file", "/bin/true", (m_dir / "plain.txt").string(),
         SpawnResult::DirectoryNotFound},
        {"missing program", "/bin/no-such-program-vexa", m_dir.string(), SpawnResult::FileNotFound},
        {"missing program on the path", "no-such-program-vexa", m_dir.string(), SpawnResult::FileNotFound},
        {"missing relative program", "./nothing.sh", m_dir.string(), SpawnResult::FileNotFound},
        {"missing directory of the program", "/no/such/dir/cc", m_dir.string(), SpawnResult::PathNotFound},
        {"program below a file", "plain.txt/cc", m_dir.string(), SpawnResult::PathNotFound},
        {"not executable", "./plain.txt", m_dir.string(), SpawnResult::Failed},
        {"a directory", m_dir.string(), m_dir.string(), SpawnResult::Failed},
        {"empty command line", "   ", m_dir.string(), SpawnResult::Failed},
        // Bare names are never taken from the working directory.
        {"bare name beside the source", "script.sh", m_dir.string(), SpawnResult::FileNotFound},
    };
    for (const FailureCase& c : kCases) {
        PosixChildProcess process;
        EXPECT_EQ(process.start(request(c.commandLine, c.workingDirectory)), c.expected) << c.name;
        EXPECT_FALSE(process.isRunning()) << c.name;
        EXPECT_FALSE(process.exitCode().has_value()) << c.name;
    }
}

TEST_F(PosixProcess, SecondStartWhileRunningIsBusyAndPollingDoesNotWait) {
    PosixChildProcess process;
    ASSERT_EQ(process.start(request("/bin/sleep 30")), SpawnResult::Started);
    pid_t pid = process.processId();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(process.isRunning());
    EXPECT_EQ(process.start(request("/bin/true")), SpawnResult::Busy);
    EXPECT_EQ(process.processId(), pid);
    // The child is in a process group of its own.
    EXPECT_EQ(::getpgid(pid), pid);

    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    ASSERT_TRUE(waitForEnd(process));
    EXPECT_EQ(process.exitCode(), 128 + SIGKILL);

    ASSERT_EQ(process.start(request("/bin/false")), SpawnResult::Started);
    EXPECT_FALSE(process.exitCode().has_value()) << "the previous end is forgotten at a new start";
    ASSERT_TRUE(waitForEnd(process));
    EXPECT_EQ(process.exitCode(), 1);
}

TEST_F(PosixProcess, ChildGetsOnlyTheStandardStreams) {
    int leaked = ::open((m_dir / "plain.txt").c_str(), O_RDONLY);
    ASSERT_GE(leaked, 3);
    std::string check =
        "test -e /proc/self/fd/" + std::to_string(leaked) + " && echo open > fd.txt || echo closed > fd.txt";
    PosixChildProcess process;
    SpawnResult result = process.start(request("/bin/sh -c \"" + check + "\"", m_dir.string()));
    ::close(leaked);
    ASSERT_EQ(result, SpawnResult::Started);
    ASSERT_TRUE(waitForEnd(process));
    EXPECT_EQ(readFileBytes(m_dir / "fd.txt"), "closed\n");
}

TEST(PosixProcessLauncher, MakesIndependentSlots) {
    PosixProcessLauncher launcher;
    auto first = launcher.create();
    auto second = launcher.create();
    ASSERT_EQ(first->start(request("/bin/sleep 30")), SpawnResult::Started);
    ASSERT_EQ(second->start(request("/bin/true")), SpawnResult::Started);
    ASSERT_TRUE(waitForEnd(*second));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(first->isRunning());
    ::kill(static_cast<PosixChildProcess&>(*first).processId(), SIGKILL);
    ASSERT_TRUE(waitForEnd(*first));
}

TEST(FakeProcessLauncher, FollowsItsScriptAndRecordsRequests) {
    test::FakeProcessLauncher launcher;
    launcher.scriptNext({SpawnResult::DirectoryNotFound, 0, 0});
    launcher.scriptNext({SpawnResult::Started, 2, 3});
    launcher.scriptNext({SpawnResult::Started, test::FakeRun::kUntilEnded, 0});
    auto slot = launcher.create();

    EXPECT_EQ(slot->start(request("cc a.c", "/nowhere")), SpawnResult::DirectoryNotFound);
    EXPECT_FALSE(slot->isRunning());
    EXPECT_EQ(slot->start(request("cc a.c")), SpawnResult::Started);
    EXPECT_EQ(slot->start(request("cc b.c")), SpawnResult::Busy);
    EXPECT_TRUE(slot->isRunning());
    EXPECT_TRUE(slot->isRunning());
    EXPECT_FALSE(slot->isRunning());
    EXPECT_EQ(slot->exitCode(), 3);

    EXPECT_EQ(slot->start(request("make")), SpawnResult::Started);
    EXPECT_TRUE(slot->isRunning());
    EXPECT_TRUE(slot->isRunning());
    launcher.endAll(9);
    EXPECT_FALSE(slot->isRunning());
    EXPECT_EQ(slot->exitCode(), 9);

    ASSERT_EQ(launcher.requests().size(), 4u);
    EXPECT_EQ(launcher.requests()[0].workingDirectory, "/nowhere");
    EXPECT_EQ(launcher.requests()[2].commandLine, "cc b.c");
    EXPECT_EQ(launcher.polls(), 6);
    EXPECT_EQ(launcher.unusedRuns(), 0u);
}

} // namespace
} // namespace vexa::platform
