// The whole road with the machine's gcc and make: batch file, vCommand, spawner, error file, output
// window, and the cursor on the reported file and line.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "toolchain/BuildFixture.h"
#include "platform/posix/PosixProcess.h"

namespace vexa::toolchain::test {
namespace {

class EndToEndTest : public BuildTestWith<platform::PosixProcessLauncher> {
protected:
    // Waits for a run with real time passing and the frame's timers ticking.
    bool waitFor(const BuildRun& run) {
        for (int i = 0; i < 600 && run.isBusy(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            frame.advanceTime(kBuildPollMs);
        }
        return !run.isBusy();
    }
    int activeLine() { return processor.document()->cursorLine() + 1; }
    std::string activeFile() { return processor.document()->fileName(); }
    void useUserPatterns(const std::string& section) {
        writeFileBytes(m_home.path() / "vexa.INI", section);
        options.load();
        options.editor().fileRead = 0;
        options.editor().fileWrite = 0;
    }
};

constexpr const char* kMainWithErrors = "#include \"util.h\"\n"
                                        "\n"
                                        "int main(void) {\n"
                                        "    int unused;\n"
                                        "    return helper(1) + y;\n"
                                        "}\n";
constexpr const char* kUtilWithWarning = "static int helper(int a) {\n"
                                         "    int b;\n"
                                         "    return a;\n"
                                         "}\n";

TEST_F(EndToEndTest, GccErrorsAndWarningsTakeTheCursorToTheirLines) {
    commands.compilerSettings().extension = "c";
    commands.compilerSettings().command = "vStdErr gcc -Wall -c %s";
    writeFileBytes(source / "util.h", kUtilWithWarning);
    openSource("main.c", kMainWithErrors);

    ASSERT_EQ(exec(functionIdOf("CompilerCompile")), 1) << frame.lastStatus();
    ASSERT_TRUE(waitFor(commands.compiler()));
    EXPECT_EQ(frame.lastStatus(), "Compilation completed with errors.");
    EXPECT_EQ(host.shown, (std::vector<OutputKind>{OutputKind::Compiler}));

    // Step through every error and warning line gcc wrote, noting where each took the cursor.
    std::vector<std::pair<std::string, int>> places;
    while (exec(functionIdOf("CompilerOutputNext")) == 1) {
        places.emplace_back(activeFile(), activeLine());
    }
    EXPECT_EQ(frame.lastStatus(), "No more errors.");
    const std::pair<std::string, int> unusedB{sourceFile("util.h"), 2};
    const std::pair<std::string, int> undeclaredY{sourceFile("main.c"), 5};
    const std::pair<std::string, int> unusedVariable{sourceFile("main.c"), 4};
    for (const auto& expected : {unusedB, undeclaredY, unusedVariable}) {
        EXPECT_NE(std::find(places.begin(), places.end(), expected), places.end())
            << expected.first << ":" << expected.second;
    }
    EXPECT_EQ(exec(functionIdOf("CompilerOutputPrevious")), 1);
}

TEST_F(EndToEndTest, ACleanCompileSucceeds) {
    commands.compilerSettings().command = "vStdErr gcc -Wall -c %s";
    openSource("ok.c", "int answer(void) { return 42; }\n");
    ASSERT_EQ(exec(functionIdOf("CompilerCompile")), 1);
    ASSERT_TRUE(waitFor(commands.compiler()));
    EXPECT_EQ(frame.lastStatus(), "Compilation completed successfully.");
    EXPECT_TRUE(std::filesystem::exists(source / "ok.o"));
    EXPECT_TRUE(host.shown.empty());
}

TEST_F(EndToEndTest, LinkerErrorsGoToTheirLineThroughTheUsersPattern) {
    // The linker's "undefined reference" carries no error word: the user's pattern makes it one.
    useUserPatterns("[RegularExpress]\nErrors=undefined reference\n");
    commands.compilerSettings().command = "vStdErr gcc -g %s -o linked";
    openSource("link.c", "int missing(void);\n"
                         "\n"
                         "int main(void) {\n"
                         "    return missing();\n"
                         "}\n");
    ASSERT_EQ(exec(functionIdOf("CompilerCompile")), 1);
    ASSERT_TRUE(waitFor(commands.compiler()));
    EXPECT_EQ(frame.lastStatus(), "Compilation completed with errors.");
    ASSERT_EQ(exec(functionIdOf("CompilerOutputNext")), 1);
    const OutputLine& line = outputs.compiler().lines()[*outputs.compiler().selection()];
    EXPECT_NE(line.text.find("undefined reference"), std::string::npos) << line.text;
    EXPECT_EQ(activeFile(), sourceFile("link.c"));
    EXPECT_EQ(activeLine(), 4);
}

TEST_F(EndToEndTest, AMissingCompilerSaysSoInWords) {
    openSource("x.c");
    for (const char* command : {"vStdErr vexa-no-such-compiler %s", "vexa-no-such-compiler %s"}) {
        commands.compilerSettings().command = command;
        host.shown.clear();
        ASSERT_EQ(exec(functionIdOf("CompilerCompile")), 1);
        ASSERT_TRUE(waitFor(commands.compiler()));
        // The run's failing status counts even though no line reads as an error line.
        EXPECT_EQ(frame.lastStatus(), "Compilation completed with errors.") << command;
        EXPECT_EQ(host.shown, (std::vector<OutputKind>{OutputKind::Compiler})) << command;
    }
    // With its errors captured, the window says what went wrong.
    commands.compilerSettings().command = "vStdErr vexa-no-such-compiler %s";
    ASSERT_EQ(exec(functionIdOf("CompilerCompile")), 1);
    ASSERT_TRUE(waitFor(commands.compiler()));
    bool named = false;
    for (const OutputLine& line : outputs.compiler().lines()) {
        named = named || line.text.find("'vexa-no-such-compiler' could not be started") != std::string::npos;
    }
    EXPECT_TRUE(named);
}

TEST_F(EndToEndTest, MakeInASubDirectoryFindsTheFileItNames) {
    std::filesystem::create_directories(source / "sub");
    writeFileBytes(source / "Makefile", "all:\n\t$(MAKE) -C sub\n");
    writeFileBytes(source / "sub" / "Makefile", "all:\n\tgcc -c bad.c\n");
    writeFileBytes(source / "sub" / "bad.c", "\nint f(void) {\n    return z;\n}\n");
    commands.projectSettings().current = sourceFile("Makefile");
    commands.projectSettings().command = "vStdErr make -f %s";

    ASSERT_EQ(exec(functionIdOf("ProjectMake")), 1) << frame.lastStatus();
    ASSERT_TRUE(waitFor(commands.project()));
    EXPECT_EQ(frame.lastStatus(), "Make completed with errors.");
    ASSERT_TRUE(outputs.nextError(OutputKind::Project));
    EXPECT_EQ(activeFile(), sourceFile("sub/bad.c"));
    EXPECT_EQ(activeLine(), 3);
    // Then make's own lines: the sub-make's makefile, then the top one.
    ASSERT_TRUE(outputs.nextError(OutputKind::Project));
    EXPECT_EQ(activeFile(), sourceFile("sub/Makefile"));
    EXPECT_EQ(activeLine(), 2);
    ASSERT_TRUE(outputs.nextError(OutputKind::Project));
    EXPECT_EQ(activeFile(), sourceFile("Makefile"));
    EXPECT_EQ(activeLine(), 2);
    EXPECT_FALSE(outputs.nextError(OutputKind::Project));
}

} // namespace
} // namespace vexa::toolchain::test
