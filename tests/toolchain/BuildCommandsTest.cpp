// Compile, make, project and output-window functions through the processor, with scripted processes.
#include <gtest/gtest.h>

#include "toolchain/BuildFixture.h"
#include "toolchain/BatchInterpreter.h"
#include "toolchain/CommandWords.h"
#include "platform/Files.h"

namespace vexa::toolchain::test {
namespace {

constexpr FunctionId kCompile = functionIdOf("CompilerCompile");
constexpr FunctionId kMake = functionIdOf("ProjectMake");

class CompileTest : public BuildTest {
protected:
    CompileTest() {
        commands.compilerSettings().extension = "C";
        commands.compilerSettings().command = "cc -c %s";
        openSource("main.c");
    }
    std::string batchFile() { return readFileBytes(compileFile("VexaCC.BAT")); }
};

TEST_F(CompileTest, WritesTheBatchFileAndStartsItThroughTheInterpreter) {
    // One poll right after the start, then one a tick.
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 3, 0});
    EXPECT_EQ(exec(kCompile), 1);
    const std::string full = sourceFile("main.c");
    EXPECT_EQ(batchFile(), "@echo off \n'cc' -c " + quotedWord(full) + " > " + quotedWord(compileFile("main.err")) +
                               " 2>&1\n");
    ASSERT_EQ(launcher.requests().size(), 1u);
    const platform::ProcessRequest& request = launcher.requests()[0];
    EXPECT_EQ(request.arguments,
              (std::vector<std::string>{m_home.file("VexaDOS.PIF"), "/C", compileFile("VexaCC.BAT")}));
    EXPECT_EQ(request.workingDirectory, sourceDirectory());
    EXPECT_EQ(request.showMode, platform::ShowMode::MinimizedNoActivate);
    EXPECT_EQ(frame.lastStatus(), "'cc' -c " + quotedWord(full));
    EXPECT_TRUE(commands.compiler().isBusy());
    EXPECT_EQ(frame.runningTimers(), 1u);

    writeFileBytes(compileFile("main.err"), "main.c:3:5: error: bad\n");
    frame.advanceTime(800);
    EXPECT_TRUE(commands.compiler().isBusy()); // two polls found it running
    frame.advanceTime(400);
    EXPECT_FALSE(commands.compiler().isBusy());
    EXPECT_EQ(frame.runningTimers(), 0u);
    EXPECT_EQ(frame.lastStatus(), "Compilation completed with errors.");
    EXPECT_EQ(host.shown, (std::vector<OutputKind>{OutputKind::Compiler}));
    const OutputWindow& window = outputs.compiler();
    ASSERT_EQ(window.lineCount(), 6u);
    EXPECT_EQ(window.lines()[3].text, "main.c:3:5: error: bad");
    EXPECT_EQ(window.lines()[5].text, "Compilation completed with errors.");
}

TEST_F(CompileTest, ASecondCompileIsRefusedWhileTheFirstRuns) {
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, FakeRun::kUntilEnded, 0});
    EXPECT_EQ(exec(kCompile), 1);
    frame.advanceTime(2000);
    EXPECT_EQ(exec(kCompile), 0);
    EXPECT_EQ(frame.lastStatus(), "Spawn currently active, please wait.");
    EXPECT_EQ(launcher.requests().size(), 1u);
    launcher.endAll(0);
    writeFileBytes(compileFile("main.err"), "");
    frame.advanceTime(400);
    EXPECT_EQ(frame.lastStatus(), "Compilation completed successfully.");
    EXPECT_TRUE(host.shown.empty()); // nothing to look at
    EXPECT_EQ(exec(kCompile), 1);
    EXPECT_EQ(launcher.requests().size(), 2u);
}

TEST_F(CompileTest, ResultsOfARunThatEndedAtOnceAreShownAtOnce) {
    writeFileBytes(compileFile("main.err"), "main.c:1:1: warning: w\n");
    // The batch file deletes nothing here, so the error file written before stays as its output.
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 0, 0});
    ASSERT_EQ(exec(kCompile), 1);
    // The old error file was deleted before the start; this run wrote none.
    EXPECT_EQ(frame.lastStatus(), "Unable to open the 'main.err' error file.");
    EXPECT_EQ(frame.runningTimers(), 0u);
    EXPECT_EQ(outputs.compiler().lines()[3].text,
              "Unable to open the '" + compileFile("main.err") + "' error file.");
    EXPECT_EQ(host.shown, (std::vector<OutputKind>{OutputKind::Compiler}));
}

TEST_F(CompileTest, AFailingStatusCountsAsErrorsEvenWithoutErrorLines) {
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 1, 127});
    ASSERT_EQ(exec(kCompile), 1);
    writeFileBytes(compileFile("main.err"), "");
    frame.advanceTime(400);
    EXPECT_EQ(frame.lastStatus(), "Compilation completed with errors.");
    EXPECT_EQ(outputs.compiler().lines().back().text, "Compilation completed with errors.");
    EXPECT_EQ(host.shown, (std::vector<OutputKind>{OutputKind::Compiler}));
}

// The outcome follows the exit status as well as the lines: a failing status without one error
// line is still a failure, and warning lines alone with a clean status are warnings.
TEST_F(CompileTest, TheOutcomeFollowsTheExitStatusAndTheLines) {
    struct Case {
        int exitCode;
        const char* output;
        const char* compiled;
        const char* made;
    };
    const Case cases[] = {
        {0, "", "Compilation completed successfully.", "Make completed successfully."},
        {0, "main.c:2:9: warning: unused variable\n", "Compilation completed with warnings.",
         "Make completed with warnings."},
        {1, "main.c:2:9: warning: unused variable\n", "Compilation completed with errors.",
         "Make completed with errors."},
        {2, "make: *** No rule to make target 'all'.  Stop.\n", "Compilation completed with errors.",
         "Make completed with errors."},
        {0, "main.c:3:1: error: expected ';'\n", "Compilation completed with errors.",
         "Make completed with errors."},
    };
    writeFileBytes(source / "Makefile", "all:\n");
    commands.projectSettings().current = sourceFile("Makefile");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.exitCode) + " " + c.output);
        launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 1, c.exitCode});
        ASSERT_EQ(exec(kCompile), 1);
        writeFileBytes(compileFile("main.err"), c.output);
        frame.advanceTime(kBuildPollMs);
        EXPECT_EQ(frame.lastStatus(), c.compiled);
        // The window shows the tool's own lines after its header.
        const std::string output = c.output;
        EXPECT_EQ(outputs.compiler().lines()[3].text, output.substr(0, output.find('\n')));

        launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 1, c.exitCode});
        ASSERT_EQ(exec(kMake), 1);
        writeFileBytes(makeFile("makefile.err"), c.output);
        frame.advanceTime(kBuildPollMs);
        EXPECT_EQ(frame.lastStatus(), c.made);
    }
}

TEST_F(CompileTest, DebugModePausesAndKeepsEcho) {
    commands.compilerSettings().run.debug = true;
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 5, 0});
    ASSERT_EQ(exec(kCompile), 1);
    EXPECT_EQ(batchFile(), "'cc' -c " + quotedWord(sourceFile("main.c")) + " > " + quotedWord(compileFile("main.err")) +
                               " 2>&1\npause\n");
}

TEST_F(CompileTest, TheUsersRunFileGetsSourceErrorFileAndBaseName) {
    commands.compilerSettings().run.mode = RunMode::Other;
    commands.compilerSettings().run.runFile = "mybuild.sh";
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 5, 0});
    ASSERT_EQ(exec(kCompile), 1);
    EXPECT_FALSE(platform::isRegularFile(compileFile("VexaCC.BAT")));
    EXPECT_FALSE(platform::isRegularFile(sourceFile("VexaCC.BAT")));
    // The run file writes the error file where the editor reads it: in the run folder.
    EXPECT_EQ(launcher.requests()[0].arguments,
              (std::vector<std::string>{m_home.file("VexaDOS.PIF"), "/C", "mybuild.sh", sourceFile("main.c"),
                                        compileFile("main.err"), "main"}));
}

TEST_F(CompileTest, TheGenericEntryServesEveryExtension) {
    commands.compilerSettings().extension = "";
    commands.compilerSettings().command = "fpc $FB %s";
    openSource("PROG.PAS");
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 5, 0});
    ASSERT_EQ(exec(kCompile), 1);
    EXPECT_EQ(batchFile(), "@echo off \n'fpc' PROG " + quotedWord(sourceFile("PROG.PAS")) + " > " +
                               quotedWord(compileFile("prog.err")) + " 2>&1\n");
}

TEST_F(CompileTest, RefusalsSayWhy) {
    openSource("notes.txt");
    EXPECT_EQ(exec(kCompile), 0);
    EXPECT_EQ(frame.lastStatus(),
              "No command line was found for this file extension. Please check the compiler options setup.");
    EXPECT_TRUE(launcher.requests().empty());

    doc().setFileName("");
    EXPECT_EQ(exec(kCompile), 0);
    EXPECT_EQ(frame.lastStatus(), "Unexpected Vexa error at File: QLWCMP01 Line: " +
                                      frame.lastStatus().substr(frame.lastStatus().rfind(' ') + 1));

    openSource("main.c");
    launcher.scriptNext(FakeRun{platform::SpawnResult::FileNotFound, 0, 0});
    EXPECT_EQ(exec(kCompile), 0);
    EXPECT_EQ(frame.lastStatus(), "Spawn OK. (Check for valid EXE name or missing PIF file if in error?)");
    EXPECT_FALSE(commands.compiler().isBusy());
}

TEST_F(CompileTest, AModifiedDocumentIsSavedFirst) {
    doc().insertText("/* changed */");
    ASSERT_TRUE(doc().isModified());
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 5, 0});
    ASSERT_EQ(exec(kCompile), 1);
    EXPECT_FALSE(doc().isModified());
    EXPECT_NE(readFileBytes(source / "main.c").find("/* changed */"), std::string::npos);
}

TEST_F(CompileTest, ADocumentThatCannotBeSavedIsNotCompiled) {
    std::filesystem::create_directories(source / "locked");
    openSource("locked/x.c");
    doc().setFileName((source / "locked" / "no-such-dir" / "x.c").string());
    doc().insertText("y");
    EXPECT_EQ(exec(kCompile), 0);
    EXPECT_EQ(frame.lastStatus(),
              "Unable to update the '" + doc().fileName() + "' file. This file is probably read only!");
    EXPECT_TRUE(launcher.requests().empty());
}

// The batch and error files lie in a private folder of the compiler's, not beside the source;
// they go, with the folder, when the compiled document's window closes.
TEST_F(CompileTest, TheRunFilesLieInAPrivateFolderThatGoesWithTheDocument) {
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 0, 0});
    ASSERT_EQ(exec(kCompile), 1);
    EXPECT_EQ(filesIn(source), std::vector<std::string>{"main.c"});
    const std::string batch = compileFile("VexaCC.BAT");
    const std::string errors = compileFile("main.err");
    const std::string folder(platform::directoryPart(batch));
    EXPECT_EQ(folder.rfind(runFolderBase(m_home.path().string()), 0), 0u) << folder;
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_TRUE(platform::isRegularFile(batch));
    writeFileBytes(errors, "x");
    // Another document closing leaves them.
    EditPane other(std::make_unique<Document>());
    other.document().setFileName(sourceFile("other.c"));
    processor.paneClosed(&other);
    EXPECT_TRUE(platform::isRegularFile(errors));
    // The window closes as every window does: the processor tells the families.
    processor.paneClosed(pane.get());
    EXPECT_FALSE(platform::isRegularFile(errors));
    EXPECT_FALSE(platform::isRegularFile(batch));
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_EQ(filesIn(source), std::vector<std::string>{"main.c"});
}

// ---- project ----

class MakeTest : public BuildTest {
protected:
    MakeTest() { writeFileBytes(source / "Makefile", "all:\n\tcc -c main.c\n"); }
};

TEST_F(MakeTest, StopEndsTheNewestRunAndSaysSo) {
    EXPECT_FALSE(commands.hasForegroundWork());
    EXPECT_EQ(exec(functionIdOf("RunStop")), 0);
    EXPECT_EQ(frame.lastStatus(), "Nothing is running.");
    commands.projectSettings().current = sourceFile("Makefile");
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, FakeRun::kUntilEnded, 0});
    ASSERT_EQ(exec(kMake), 1);
    EXPECT_TRUE(commands.hasForegroundWork());
    EXPECT_EQ(exec(functionIdOf("RunStop")), 1);
    EXPECT_EQ(launcher.stops(), 1);
    EXPECT_EQ(frame.lastStatus(), kRunStopping);
    writeFileBytes(makeFile("makefile.err"), "partial\n");
    frame.advanceTime(kBuildPollMs);
    EXPECT_FALSE(commands.project().isBusy());
    EXPECT_FALSE(commands.hasForegroundWork());
    EXPECT_EQ(frame.lastStatus(), kRunStopped);
    // Ended by a signal: the run counts as failed.
    EXPECT_TRUE(outputs.project().errorSeen());
}

TEST_F(MakeTest, RefusedWithoutAProjectOrItsFile) {
    EXPECT_EQ(exec(kMake), 0);
    EXPECT_EQ(frame.lastStatus(), "No project is currently loaded!");
    commands.projectSettings().current = sourceFile("Gone.mak");
    EXPECT_EQ(exec(kMake), 0);
    EXPECT_EQ(frame.lastStatus(), "Error opening the '" + sourceFile("Gone.mak") + "' project file.");
    EXPECT_TRUE(launcher.requests().empty());
}

// Without a project the nearest makefile at or above the document's folder is made with make -k
// in its folder; with none, a CMake build folder is built; else a message says why nothing ran.
TEST_F(BuildTest, MakeWithoutAProjectBuildsWhatLiesAtOrAboveTheDocument) {
    struct Case {
        const char* name;
        std::vector<std::string> files; // under the test's folder, holding "x"
        std::string document;           // under the test's folder
        std::string directory;          // where the run goes, under the test's folder; "" for none
        std::vector<std::string> command;
    };
    const std::vector<std::string> make{"make", "-k"};
    const std::vector<std::string> cmake{"cmake", "--build", "."};
    const std::vector<Case> cases = {
        {"in the document's folder", {"p/Makefile"}, "p/main.c", "p/", make},
        {"above it", {"p/Makefile"}, "p/lib/deep/util.c", "p/", make},
        {"the nearest of two", {"p/Makefile", "p/lib/makefile"}, "p/lib/deep/util.c", "p/lib/", make},
        {"GNUmakefile first", {"p/Makefile", "p/GNUmakefile"}, "p/main.c", "p/", make},
        {"a CMake build folder",
         {"p/CMakeLists.txt", "p/build/CMakeCache.txt", "p/build/build.ninja"},
         "p/src/main.c",
         "p/build/",
         cmake},
        {"a makefile before a build folder",
         {"p/build/CMakeCache.txt", "p/build/Makefile", "p/src/Makefile"},
         "p/src/main.c",
         "p/src/",
         make},
        {"a build folder CMake did not make", {"p/build/Makefile"}, "p/src/main.c", "", {}},
        {"nothing to build", {}, "p/main.c", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path root = source / c.name;
        for (const std::string& file : c.files) {
            std::filesystem::create_directories((root / file).parent_path());
            writeFileBytes(root / file, "x");
        }
        std::filesystem::create_directories((root / c.document).parent_path());
        openSource(std::filesystem::relative(root / c.document, source).string());
        const std::size_t before = launcher.requests().size();
        if (c.directory.empty()) {
            EXPECT_EQ(exec(kMake), 0);
            EXPECT_EQ(frame.lastStatus(), "No project is open, and no makefile or CMake build folder was found "
                                          "at or above the document's folder.");
            EXPECT_EQ(launcher.requests().size(), before);
            continue;
        }
        launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 1, 0});
        ASSERT_EQ(exec(kMake), 1);
        const std::string directory = (root / c.directory).string();
        ASSERT_EQ(launcher.requests().size(), before + 1);
        EXPECT_EQ(launcher.requests().back().workingDirectory, directory);
        EXPECT_EQ(frame.lastStatus(), commandLineOf(ArgumentVector{c.command, {}}) + " (in " + directory + ")");
        std::vector<std::string> present = c.files;
        present.push_back(c.document);
        std::sort(present.begin(), present.end());
        EXPECT_EQ(filesIn(root), present) << "the run adds nothing to the user's folders";
        const std::string batch = readFileBytes(makeFile("VexaCC.BAT"));
        const std::size_t second = batch.find('\n') + 1;
        const ArgumentVector written =
            readBatchLine(std::string_view(batch).substr(second, batch.find('\n', second) - second)).arguments;
        EXPECT_EQ(written.words, c.command);
        EXPECT_EQ(platform::directoryPart(written.redirection.file), commands.project().spawner().runFolder().path());
        writeFileBytes(written.redirection.file, "main.c:1:1: warning: w\n");
        frame.advanceTime(kBuildPollMs);
        EXPECT_EQ(frame.lastStatus(), "Make completed with warnings.");
        EXPECT_EQ(outputs.project().lines()[3].text, "main.c:1:1: warning: w");
        EXPECT_EQ(outputs.project().runDirectory(), directory);
    }
}

TEST_F(MakeTest, MakesThroughTheBatchFileAndReportsTheOutcome) {
    commands.projectSettings().current = sourceFile("Makefile");
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, 1, 0});
    ASSERT_EQ(exec(kMake), 1);
    EXPECT_EQ(readFileBytes(makeFile("VexaCC.BAT")),
              "@echo off \n'make' -f Makefile > " + quotedWord(makeFile("makefile.err")) + " 2>&1\n");
    EXPECT_EQ(filesIn(source), std::vector<std::string>{"Makefile"});
    EXPECT_EQ(frame.lastStatus(), "'make' -f Makefile");
    EXPECT_EQ(outputs.project().lineCount(), 3u); // the header while it runs
    EXPECT_EQ(exec(kMake), 0);
    EXPECT_EQ(frame.lastStatus(), "Spawn currently active, please wait.");
    writeFileBytes(makeFile("makefile.err"), "util.c:9:2: warning: w\n");
    frame.advanceTime(800);
    EXPECT_EQ(frame.lastStatus(), "Make completed with warnings.");
    EXPECT_EQ(outputs.project().lines().back().text, "Command has completed.");
    EXPECT_EQ(host.shown, (std::vector<OutputKind>{OutputKind::Project}));
}

TEST_F(MakeTest, OpenCloseAndCurrent) {
    EXPECT_EQ(exec(functionIdOf("ProjectCurrent")), 1);
    EXPECT_EQ(frame.lastStatus(), "No project currently open");
    frame.chooseNextOpen({sourceFile("Makefile")});
    EXPECT_EQ(exec(functionIdOf("ProjectOpen")), 1);
    EXPECT_EQ(frame.eventsOf(FrameEventKind::OpenDialog).back().dialog.title, "Open Project");
    EXPECT_EQ(frame.lastStatus(), "Project '" + sourceFile("Makefile") + "' opened successfully");
    EXPECT_NE(readFileBytes(m_home.path() / "vexa.INI").find("Current=" + sourceFile("Makefile")),
              std::string::npos);
    exec(functionIdOf("ProjectCurrent"));
    EXPECT_EQ(frame.lastStatus(), "Current project is '" + sourceFile("Makefile") + "'");

    const std::string oldErrors = makeFile("makefile.err");
    writeFileBytes(oldErrors, "old");
    EXPECT_EQ(exec(functionIdOf("ProjectClose")), 1);
    EXPECT_EQ(frame.lastStatus(), "Project closed");
    EXPECT_FALSE(platform::isRegularFile(oldErrors));
    EXPECT_EQ(commands.projectSettings().current, "");
    frame.cancelNextDialog();
    EXPECT_EQ(exec(functionIdOf("ProjectOpen")), 0);
}

// ---- output windows ----

class OutputFunctionsTest : public BuildTest {
protected:
    OutputFunctionsTest() {
        openSource("main.c", std::string(20, '\n'));
        writeFileBytes(source / "util.h", std::string(20, '\n'));
        OutputWindow& window = outputs.compiler();
        window.setRun(sourceDirectory(), sourceFile("main.c"));
        window.addHeader();
        window.loadText("In file included from main.c:1:\n"
                        "util.h:4:3: warning: unused\n"
                        "main.c:12:5: error: 'x' undeclared\n"
                        "plain text\n");
    }
    int activeLine() { return processor.document()->cursorLine() + 1; }
    std::string activeFile() { return processor.document()->fileName(); }
};

TEST_F(OutputFunctionsTest, NextAndPreviousStepThroughTheErrors) {
    const FunctionId next = functionIdOf("CompilerOutputNext");
    const FunctionId previous = functionIdOf("CompilerOutputPrevious");
    EXPECT_EQ(exec(next), 1);
    EXPECT_EQ(outputs.compiler().selection(), 4u);
    EXPECT_EQ(activeFile(), sourceFile("util.h"));
    EXPECT_EQ(activeLine(), 4);
    EXPECT_EQ(exec(next), 1);
    EXPECT_EQ(outputs.compiler().selection(), 5u);
    EXPECT_EQ(activeFile(), sourceFile("main.c"));
    EXPECT_EQ(activeLine(), 12);
    EXPECT_EQ(frame.lastStatus(), "main.c:12:5: error: 'x' undeclared");
    EXPECT_EQ(exec(next), 0);
    EXPECT_EQ(frame.lastStatus(), "No more errors.");
    EXPECT_EQ(outputs.compiler().selection(), 5u);
    EXPECT_EQ(exec(previous), 1);
    EXPECT_EQ(outputs.compiler().selection(), 4u);
    EXPECT_EQ(exec(previous), 0);
    EXPECT_EQ(frame.lastStatus(), "No more errors.");
}

TEST_F(OutputFunctionsTest, GoingToLinesThatAreNoErrors) {
    outputs.select(OutputKind::Compiler, 3); // "In file included from main.c:1:"
    EXPECT_TRUE(outputs.goToSelected(OutputKind::Compiler));
    EXPECT_EQ(activeFile(), sourceFile("main.c"));
    outputs.select(OutputKind::Compiler, 6); // "plain text"
    EXPECT_FALSE(outputs.goToSelected(OutputKind::Compiler));
    EXPECT_EQ(frame.lastStatus(), "This line does not contain an error.");
}

TEST_F(OutputFunctionsTest, AFileThatCannotBeFoundIsReported) {
    OutputWindow& window = outputs.compiler();
    window.clear();
    window.loadText("gone.h:3:1: error: x\n");
    outputs.select(OutputKind::Compiler, 0);
    EXPECT_FALSE(outputs.goToSelected(OutputKind::Compiler));
    EXPECT_EQ(frame.lastStatus(), "Unexpected error opening the 'gone.h' file.");
}

TEST_F(OutputFunctionsTest, ViewAndCopy) {
    EXPECT_EQ(exec(functionIdOf("CompilerOutputView")), 1);
    EXPECT_EQ(exec(functionIdOf("ProjectOutputView")), 1);
    EXPECT_EQ(exec(functionIdOf("StandardOutputView")), 1);
    EXPECT_EQ(host.shown,
              (std::vector<OutputKind>{OutputKind::Compiler, OutputKind::Project, OutputKind::Standard}));
    EXPECT_EQ(exec(functionIdOf("CompilerOutputCopy")), 1);
    EXPECT_EQ(clipboard.get()->text, outputs.compiler().allText());
    outputs.standard().addLine("std");
    EXPECT_EQ(exec(functionIdOf("StandardOutputCopy")), 1);
    EXPECT_EQ(clipboard.get()->text, "std\r\n");
    outputs.project().addLine("proj");
    EXPECT_EQ(exec(functionIdOf("ProjectOutputCopy")), 1);
    EXPECT_EQ(clipboard.get()->text, "proj\r\n");
}

TEST_F(OutputFunctionsTest, ProjectLinesGoToTheirSubDirectory) {
    std::filesystem::create_directories(source / "sub");
    writeFileBytes(source / "sub" / "bad.c", std::string(5, '\n'));
    writeFileBytes(source / "sub" / "Makefile", std::string(5, '\n'));
    writeFileBytes(source / "Makefile", std::string(5, '\n'));
    OutputWindow& window = outputs.project();
    window.setRun(sourceDirectory(), sourceFile("Makefile"));
    window.loadText("make[1]: Entering directory '" + sourceFile("sub") +
                    "'\n"
                    "bad.c:3:20: error: 'z' undeclared\n"
                    "make[1]: *** [Makefile:2: all] Error 1\n"
                    "make[1]: Leaving directory '" +
                    sourceFile("sub") +
                    "'\n"
                    "make: *** [Makefile:4: all] Error 2\n"
                    "nothing here\n");
    struct Case {
        std::size_t line;
        std::string file;
        int lineNumber;
    };
    const Case cases[] = {
        {1, sourceFile("sub/bad.c"), 3},
        {2, sourceFile("sub/Makefile"), 2},
        {4, sourceFile("Makefile"), 4},
    };
    for (const Case& c : cases) {
        outputs.select(OutputKind::Project, c.line);
        EXPECT_TRUE(outputs.goToSelected(OutputKind::Project)) << c.line;
        EXPECT_EQ(activeFile(), c.file) << c.line;
        EXPECT_EQ(activeLine(), c.lineNumber) << c.line;
    }
    outputs.select(OutputKind::Project, 5);
    EXPECT_FALSE(outputs.goToSelected(OutputKind::Project));
    EXPECT_EQ(frame.lastStatus(), "The line selected does not contain a valid file name or line number.");
}

TEST_F(OutputFunctionsTest, StandardOutputLoadsThePipeFile) {
    writeFileBytes(source / "pipe.dat", "util.h:7: something\n");
    EXPECT_TRUE(outputs.showStandardOutput(sourceFile("pipe.dat"), sourceDirectory()));
    EXPECT_EQ(frame.lastStatus(), "Command has completed.");
    EXPECT_EQ(outputs.standard().lineCount(), 6u);
    EXPECT_EQ(host.changed.back(), OutputKind::Standard);
    outputs.select(OutputKind::Standard, 3);
    EXPECT_TRUE(outputs.goToSelected(OutputKind::Standard));
    EXPECT_EQ(activeFile(), sourceFile("util.h"));
    EXPECT_EQ(activeLine(), 7);

    EXPECT_FALSE(outputs.showStandardOutput(sourceFile("none.dat"), sourceDirectory()));
    EXPECT_EQ(frame.lastStatus(), "Unable to open the '" + sourceFile("none.dat") + "' error file.");
    EXPECT_EQ(host.shown.back(), OutputKind::Standard);
}

TEST_F(OutputFunctionsTest, StandardOutputComesForwardWhenTheCommandPrintedLines) {
    struct Case {
        const char* printed;
        bool shown;
    };
    for (const Case& c :
         {Case{"", false}, Case{"one line\n", true}, Case{"no line end", true}, Case{"\n", true}}) {
        host.shown.clear();
        writeFileBytes(source / "pipe.dat", c.printed);
        EXPECT_TRUE(outputs.showStandardOutput(sourceFile("pipe.dat"), sourceDirectory()));
        EXPECT_EQ(host.shown,
                  c.shown ? std::vector<OutputKind>{OutputKind::Standard} : std::vector<OutputKind>{})
            << c.printed;
    }
}

TEST_F(OutputFunctionsTest, LocateAndOpenPutsTheCursorOnLineAndColumn) {
    EditPane* opened = outputs.locateAndOpen("util.h", sourceDirectory(), 3, 5);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(activeFile(), sourceFile("util.h"));
    EXPECT_EQ(activeLine(), 3);
    EXPECT_EQ(processor.document()->cursorColumn(), 4);
    EXPECT_EQ(outputs.locateAndOpen("missing.h", sourceDirectory(), 3), nullptr);
}

} // namespace
} // namespace vexa::toolchain::test
