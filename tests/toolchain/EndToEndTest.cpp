// The whole road with the machine's gcc and make: batch file, vCommand, spawner, error file, output
// window, and the cursor on the reported file and line.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <tuple>
#include <thread>

#include "toolchain/BuildFixture.h"
#include "platform/Environment.h"
#include "platform/Files.h"
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

    // Step through every error and warning line gcc wrote, noting where each took the cursor:
    // the line and the column gcc named.
    using Place = std::tuple<std::string, int, int>;
    std::vector<Place> places;
    while (exec(functionIdOf("CompilerOutputNext")) == 1) {
        places.emplace_back(activeFile(), activeLine(), processor.document()->cursorColumn() + 1);
    }
    EXPECT_EQ(frame.lastStatus(), "No more errors.");
    const Place unusedB{sourceFile("util.h"), 2, 9};
    const Place undeclaredY{sourceFile("main.c"), 5, 24};
    const Place unusedVariable{sourceFile("main.c"), 4, 9};
    for (const Place& expected : {unusedB, undeclaredY, unusedVariable}) {
        EXPECT_NE(std::find(places.begin(), places.end(), expected), places.end())
            << std::get<0>(expected) << ":" << std::get<1>(expected) << ":" << std::get<2>(expected);
    }
    EXPECT_EQ(exec(functionIdOf("CompilerOutputPrevious")), 1);
}

TEST_F(EndToEndTest, WithNothingConfiguredCAndCxxFilesCompileAndShowTheirDiagnostics) {
    commands.compilerSettings() = CompilerSettings{};
    for (const std::string name : {"first.c", "first.cpp"}) {
        openSource(name, "int f(void) {\n    int unused;\n    return z;\n}\n");
        ASSERT_EQ(exec(functionIdOf("CompilerCompile")), 1) << frame.lastStatus();
        ASSERT_TRUE(waitFor(commands.compiler()));
        EXPECT_EQ(frame.lastStatus(), "Compilation completed with errors.") << name;
        // The compiler wrote to its error stream: the window shows it without any setting.
        ASSERT_EQ(exec(functionIdOf("CompilerOutputNext")), 1) << name;
        const OutputLine& line = outputs.compiler().lines()[*outputs.compiler().selection()];
        EXPECT_NE(line.text.find(name), std::string::npos) << line.text;
        EXPECT_EQ(activeFile(), sourceFile(name));
    }
    // Nothing but the source files is left in the user's folder: no object, batch or error file.
    EXPECT_EQ(filesIn(source), (std::vector<std::string>{"first.c", "first.cpp"}));
    // The batch and error files lay in the compiler's run folder, which goes with the window.
    const std::string folder = commands.compiler().spawner().runFolder().path();
    EXPECT_TRUE(platform::isRegularFile(folder + "first.err"));
    processor.paneClosed(pane.get());
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(EndToEndTest, HostileFileNamesCompileAsOneArgumentAndRunNothing) {
    commands.compilerSettings().extension = "c";
    commands.compilerSettings().command = "gcc -fsyntax-only %s";
    for (const std::string name : {"a;touch PWNED;.c", "b$(touch PWNED).c", "c`touch PWNED`.c", "two  blanks.c",
                                   "it's.c", "-leading.c"}) {
        openSource(name, "int f(void) {\n    return z;\n}\n");
        ASSERT_EQ(exec(functionIdOf("CompilerCompile")), 1) << name;
        ASSERT_TRUE(waitFor(commands.compiler())) << name;
        EXPECT_EQ(frame.lastStatus(), "Compilation completed with errors.") << name;
        // The error names the file as gcc got it: one argument, the whole name.
        bool named = false;
        for (const OutputLine& line : outputs.compiler().lines()) {
            named = named || (line.parsed.kind == ErrorKind::Error && line.parsed.line == 2 &&
                              line.text.find(name) != std::string::npos);
        }
        EXPECT_TRUE(named) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(source / "PWNED"));
}

TEST_F(EndToEndTest, StoppingAMakeEndsItAndEverythingItStarted) {
    writeFileBytes(source / "Makefile", "all:\n\tsleep 100\n");
    commands.projectSettings().current = sourceFile("Makefile");
    commands.projectSettings().command = "make -f %s";
    ASSERT_EQ(exec(functionIdOf("ProjectMake")), 1) << frame.lastStatus();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(commands.project().isBusy());
    EXPECT_TRUE(commands.project().stop());
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitFor(commands.project()));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(frame.lastStatus(), kRunStopped);
    EXPECT_TRUE(outputs.project().errorSeen());
    EXPECT_FALSE(commands.project().stop());
}

// With no project open, a document in a sub-folder is made by the Makefile above it (make -k
// goes on past the first failing target) and each error leads to its own file and line.
TEST_F(EndToEndTest, MakeWithoutAProjectUsesTheNearestMakefileAbove) {
    std::filesystem::create_directories(source / "lib");
    writeFileBytes(source / "Makefile", "all: lib/util.o main.o\n"
                                        "lib/util.o: lib/util.c\n\tcc -Wall -c lib/util.c -o lib/util.o\n"
                                        "main.o: main.c\n\tcc -Wall -c main.c\n");
    writeFileBytes(source / "main.c", "int main(void) { return y; }\n");
    openSource("lib/util.c", "int util(void) {\n    return x;\n}\n");
    ASSERT_EQ(exec(functionIdOf("ProjectMake")), 1) << frame.lastStatus();
    EXPECT_EQ(frame.lastStatus(), "'make' -k (in " + sourceDirectory() + ")");
    ASSERT_TRUE(waitFor(commands.project()));
    EXPECT_EQ(frame.lastStatus(), "Make completed with errors.");
    std::vector<std::pair<std::string, int>> places;
    while (exec(functionIdOf("CompilerOutputNext")) == 1) {
        places.emplace_back(activeFile(), activeLine());
    }
    EXPECT_NE(std::find(places.begin(), places.end(), std::pair{sourceFile("lib/util.c"), 2}), places.end());
    // -k: the second target was still tried after the first failed.
    EXPECT_NE(std::find(places.begin(), places.end(), std::pair{sourceFile("main.c"), 1}), places.end());
    // The make left no batch or error file beside the makefile.
    EXPECT_EQ(filesIn(source), (std::vector<std::string>{"Makefile", "lib/util.c", "main.c"}));
}

TEST_F(EndToEndTest, MakeWithoutAProjectOrMakefileBuildsTheCMakeBuildFolder) {
    if (!platform::findOnPath("cmake")) {
        GTEST_SKIP() << "cmake is not installed";
    }
    writeFileBytes(source / "CMakeLists.txt", "cmake_minimum_required(VERSION 3.16)\nproject(p C)\n"
                                              "add_library(p STATIC main.c)\n");
    writeFileBytes(source / "main.c", "int p(void) { return q; }\n");
    const std::string configure = "cmake -S '" + source.string() + "' -B '" + (source / "build").string() +
                                  "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(configure.c_str()), 0);
    openSource("main.c", "int p(void) { return q; }\n");
    ASSERT_EQ(exec(functionIdOf("ProjectMake")), 1) << frame.lastStatus();
    ASSERT_TRUE(waitFor(commands.project()));
    EXPECT_EQ(frame.lastStatus(), "Make completed with errors.");
    ASSERT_EQ(exec(functionIdOf("CompilerOutputNext")), 1);
    EXPECT_EQ(activeFile(), sourceFile("main.c"));
    EXPECT_EQ(activeLine(), 1);
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
