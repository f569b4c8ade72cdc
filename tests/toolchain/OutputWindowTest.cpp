// The output window's line model: limit, closing lines, failure texts, flags and make's directories.
#include <gtest/gtest.h>

#include "toolchain/OutputWindow.h"
#include "support/TempHome.h"

namespace vexa::toolchain {
namespace {

std::vector<std::string> texts(const OutputWindow& window) {
    std::vector<std::string> all;
    for (const OutputLine& line : window.lines()) {
        all.push_back(line.text);
    }
    return all;
}

TEST(OutputWindow, AddingCutsTheLineEndsOnly) {
    OutputWindow window(OutputKind::Standard);
    window.addLine("one\r\n");
    window.addLine("two\n\n");
    window.addLine("  three  ");
    window.addLine("\r");
    EXPECT_EQ(texts(window), (std::vector<std::string>{"one", "two", "  three  ", ""}));
}

TEST(OutputWindow, TheLastPlaceTellsThatTheListIsFull) {
    OutputWindow window(OutputKind::Compiler);
    window.setRun("/p/", "/p/main.c");
    for (std::size_t i = 0; i < OutputWindow::kMaxLines + 10; ++i) {
        window.addLine(i == OutputWindow::kMaxLines + 5 ? "main.c:1: error: late" : "line");
    }
    ASSERT_EQ(window.lineCount(), OutputWindow::kMaxLines);
    EXPECT_EQ(window.lines()[OutputWindow::kMaxLines - 2].text, "line");
    EXPECT_EQ(window.lines().back().text, kMaximumLinesReached);
    EXPECT_FALSE(window.errorSeen()); // dropped lines are not classified
}

TEST(OutputWindow, FlagsFollowTheFirstErrorAndAreResetByClear) {
    OutputWindow window(OutputKind::Compiler);
    window.setRun("/p/", "/p/main.c");
    window.addLine("main.c:3:1: warning: unused");
    EXPECT_TRUE(window.warningSeen());
    EXPECT_EQ(window.outcome(), kCompiledWithWarnings);
    window.addLine("main.c:4:1: error: bad");
    EXPECT_EQ(window.outcome(), kCompiledWithErrors);
    window.clear();
    EXPECT_FALSE(window.errorSeen());
    EXPECT_FALSE(window.warningSeen());
    EXPECT_EQ(window.outcome(), kCompiledSuccessfully);
    // After an error, a later warning changes nothing.
    window.addLine("main.c:4:1: error: bad");
    window.addLine("main.c:5:1: warning: meh");
    EXPECT_TRUE(window.errorSeen());
    EXPECT_FALSE(window.warningSeen());
}

TEST(OutputWindow, StandardOutputClassifiesNothing) {
    OutputWindow window(OutputKind::Standard);
    window.addLine("main.c:4:1: error: bad");
    EXPECT_EQ(window.lines()[0].parsed.kind, ErrorKind::None);
    EXPECT_FALSE(window.errorSeen());
}

TEST(OutputWindow, LoadingAddsTheClosingLinesByKind) {
    const char* output = "main.c:2:1: warning: x\r\nplain\rlast without end";
    struct Case {
        OutputKind kind;
        const char* closing;
    };
    const Case cases[] = {
        {OutputKind::Compiler, "Compilation completed with warnings."},
        {OutputKind::Project, "Command has completed."},
        {OutputKind::Standard, "Command has completed."},
    };
    for (const Case& c : cases) {
        OutputWindow window(c.kind);
        window.setRun("/p/", "/p/main.c");
        window.addHeader();
        window.loadText(output);
        const std::vector<std::string> lines = texts(window);
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_EQ(lines[0], std::string(99, '-'));
        EXPECT_EQ(lines[1], "     Vexa for Windows Programmers Editor");
        EXPECT_EQ(lines[2], std::string(99, '-'));
        EXPECT_EQ(lines[3], "main.c:2:1: warning: x");
        EXPECT_EQ(lines[4], "plain");
        EXPECT_EQ(lines[5], "last without end");
        EXPECT_EQ(lines[6], "");
        EXPECT_EQ(lines[7], c.closing);
    }
}

TEST(OutputWindow, AFileThatCannotBeOpenedGivesTheFailureText) {
    struct Case {
        OutputKind kind;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {OutputKind::Compiler,
         {"Unable to open the '/nowhere/x.err' error file.", "",
          "The compile command has failed. Please check that the compiler/linker EXE file has been correctly",
          "specified, that the compiler/linker EXE is located in the PATH statement of the AUTOEXEC.BAT "
          "file,",
          "check the online help and also check to make sure that the error file is not write protected."}},
        {OutputKind::Project,
         {"Unable to open the '/nowhere/x.err' error file.", "",
          "The build process has failed. Please check that the compiler/linker EXE file has been correctly",
          "specified, that the compiler/linker EXE is located in the PATH statement of the AUTOEXEC.BAT "
          "file,",
          "check the online help and also check to make sure that the error file is not write protected."}},
        {OutputKind::Standard,
         {"Unable to open the '/nowhere/x.err' error file.", "",
          "The command just run did not produce any output and this may well be the",
          "expected result. But it could also mean that the command was not found in",
          "the PATH statement of the AUTOEXEC.BAT file. "}},
    };
    for (const Case& c : cases) {
        OutputWindow window(c.kind);
        EXPECT_FALSE(window.loadFile("/nowhere/x.err"));
        EXPECT_EQ(texts(window), c.lines);
    }
}

TEST(OutputWindow, LoadsARealFileWithLongLinesWhole) {
    test::TempHome home;
    const std::string longLine = "main.c:9:1: error: " + std::string(600, 'q');
    test::writeFileBytes(home.path() / "x.err", "first\n" + longLine + "\n");
    OutputWindow window(OutputKind::Compiler);
    window.setRun(home.path().string() + "/", home.file("main.c"));
    ASSERT_TRUE(window.loadFile(home.file("x.err")));
    ASSERT_EQ(window.lineCount(), 4u);
    EXPECT_EQ(window.lines()[1].text, longLine);
    EXPECT_EQ(window.lines()[1].parsed.line, 9);
    EXPECT_EQ(window.lines()[3].text, kCompiledWithErrors);
}

TEST(OutputWindow, MakeDirectoriesAreTheBaseOfTheirLines) {
    OutputWindow window(OutputKind::Project);
    window.setRun("/top/", "/top/Makefile");
    window.loadText("make -C sub\n"
                    "make[1]: Entering directory '/top/sub'\n"
                    "bad.c:1:20: error: z\n"
                    "make[2]: Entering directory `/top/sub/deeper'\n"
                    "deep.c:3:1: warning: w\n"
                    "make[2]: Leaving directory '/top/sub/deeper'\n"
                    "again.c:4:1: error: y\n"
                    "make[1]: Leaving directory '/top/sub'\n"
                    "make: *** [Makefile:2: all] Error 2\n"
                    "make: Leaving directory 'unbalanced'\n"
                    "after\n");
    // A leaving line still belongs to the directory it leaves.
    const std::vector<std::string> expected = {
        "/top/",           "/top/sub/",       "/top/sub", "/top/sub/deeper",
        "/top/sub/deeper", "/top/sub/deeper", "/top/sub", "/top/sub",
        "/top/",           "/top/",           "/top/"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        std::string directory = window.directoryOf(i);
        if (!directory.empty() && directory.back() != '/') {
            directory.push_back('/');
        }
        std::string wanted = expected[i];
        if (wanted.back() != '/') {
            wanted.push_back('/');
        }
        EXPECT_EQ(directory, wanted) << window.lines()[i].text;
    }
}

TEST(OutputWindow, CopiedTextEndsEveryLineWithCrLf) {
    OutputWindow window(OutputKind::Standard);
    window.addLine("a");
    window.addLine("b");
    EXPECT_EQ(window.allText(), "a\r\nb\r\n");
}

} // namespace
} // namespace vexa::toolchain

namespace vexa::toolchain {
namespace {

TEST(OutputWindow, AVeryLongLineKeepsItsStartAndSaysItWasCut) {
    test::TempHome home;
    // A deep path puts the kind far beyond the first few hundred bytes.
    const std::string deep = "/" + std::string(600, 'd') + "/x.c:12:3: error: bad";
    const std::string huge = "main.c:7:1: warning: w " + std::string(20u << 20, 'q');
    test::writeFileBytes(home.path() / "x.err", deep + "\n" + huge + "\r\nlast");
    OutputWindow window(OutputKind::Compiler);
    window.setRun(home.path().string() + "/", home.file("main.c"));
    ASSERT_TRUE(window.loadFile(home.file("x.err")));
    ASSERT_EQ(window.lineCount(), 5u);
    EXPECT_EQ(window.lines()[0].text, deep);
    EXPECT_EQ(window.lines()[0].parsed.kind, ErrorKind::Error);
    EXPECT_EQ(window.lines()[0].parsed.line, 12);
    EXPECT_EQ(window.lines()[1].text, huge.substr(0, OutputWindow::kMaxLineBytes) + std::string(kLineCutNotice));
    EXPECT_EQ(window.lines()[1].parsed.kind, ErrorKind::Warning);
    EXPECT_EQ(window.lines()[2].text, "last");
    // The same bytes given at once read the same.
    OutputWindow again(OutputKind::Compiler);
    again.loadText(deep + "\n" + huge + "\r\nlast");
    EXPECT_EQ(again.lines()[1].text, window.lines()[1].text);
}

TEST(OutputWindow, ReadingStopsWhenTheListIsFull) {
    test::TempHome home;
    std::string bytes;
    for (int i = 0; i < 50000; ++i) {
        bytes += "line " + std::to_string(i) + "\n";
    }
    test::writeFileBytes(home.path() / "x.err", bytes);
    OutputWindow window(OutputKind::Standard);
    ASSERT_TRUE(window.loadFile(home.file("x.err")));
    ASSERT_EQ(window.lineCount(), OutputWindow::kMaxLines);
    EXPECT_EQ(window.lines()[OutputWindow::kMaxLines - 2].text, "line 32758");
    EXPECT_EQ(window.lines().back().text, kMaximumLinesReached);
}

TEST(OutputWindow, LineEndsSplitAcrossPiecesEndOneLine) {
    struct Case {
        std::vector<std::string> pieces;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{"a\r", "\nb"}, {"a", "b"}},
        {{"a\r", "\r\nb\n"}, {"a", "", "b"}},
        {{"a", "b\n", "\n"}, {"ab", ""}},
        {{"\r", "\n", "\n"}, {"", ""}},
    };
    for (const Case& c : cases) {
        OutputLineSplitter splitter;
        std::vector<std::string> lines;
        const auto add = [&lines](std::string_view text, bool) { lines.emplace_back(text); };
        for (const std::string& piece : c.pieces) {
            splitter.feed(piece, add);
        }
        splitter.finish(add);
        EXPECT_EQ(lines, c.lines) << c.pieces.front();
    }
}

} // namespace
} // namespace vexa::toolchain
