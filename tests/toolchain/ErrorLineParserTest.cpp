// Classifying compiler, linker and make output lines.
#include <gtest/gtest.h>

#include "toolchain/ErrorLineParser.h"

namespace vexa::toolchain {
namespace {

struct ParseCase {
    const char* line;
    const char* defaultFile;
    ErrorKind kind;
    int lineNumber;
    const char* fileName; // "" when the line refers to the default file
};

void expectParses(ErrorLineParser& parser, const ParseCase& c) {
    const ParsedLine parsed = parser.parse(c.line, c.defaultFile);
    EXPECT_EQ(parsed.kind, c.kind) << c.line;
    EXPECT_EQ(parsed.line, c.lineNumber) << c.line;
    EXPECT_EQ(parsed.fileName, c.fileName) << c.line;
    EXPECT_EQ(parsed.otherFile, std::string_view(c.fileName).size() > 0) << c.line;
}

TEST(ErrorLineParser, ClassicCompilerLines) {
    ErrorLineParser parser;
    const ParseCase cases[] = {
        {"main.c(12) : error C2065: 'x' : undeclared identifier", "/SRC/main.c", ErrorKind::Error, 12, ""},
        {"Warning util.c 7: variable never read", "main.c", ErrorKind::Warning, 7, "util.c"},
        {"Error MAIN.PAS 3: Unknown identifier", "/src/x.c", ErrorKind::Error, 3, "MAIN.PAS"},
        {"ERROR: line 44 something wrong", "/src/x.c", ErrorKind::Error, 44, ""},
        // "errors" is no error word: the letter after it rules it out.
        {"2 errors, 1 warnings", "/src/x.c", ErrorKind::None, 0, ""},
        {"No errors found in main.c line 12", "/src/main.c", ErrorKind::None, 0, ""},
        // Numbers alone never make an error line.
        {"main.c:12:5: note: declared here", "/src/main.c", ErrorKind::None, 0, ""},
        {"1234 5678", "/src/x.c", ErrorKind::None, 0, ""},
        // An error line that names neither a file nor a line is no error line after all.
        {"error: something happened", "/src/x.c", ErrorKind::None, 0, ""},
        {"", "/src/x.c", ErrorKind::None, 0, ""},
    };
    for (const ParseCase& c : cases) {
        expectParses(parser, c);
    }
}

TEST(ErrorLineParser, GccAndClangLines) {
    ErrorLineParser parser;
    const ParseCase cases[] = {
        {"main.c:12:5: error: 'x' undeclared (first use in this function)", "/tmp/p/main.c", ErrorKind::Error,
         12, ""},
        {"main.c:4:9: warning: unused variable \xe2\x80\x98unused\xe2\x80\x99 [-Wunused-variable]",
         "/tmp/p/main.c", ErrorKind::Warning, 4, ""},
        {"util.h:1:32: warning: unused variable 'b' [-Wunused-variable]", "/tmp/p/main.c", ErrorKind::Warning,
         1, "util.h"},
        {"./util.h:1:32: warning: unused variable 'b' [-Wunused-variable]", "/tmp/p/main.c",
         ErrorKind::Warning, 1, "./util.h"},
        {"/tmp/p/lib/io.c:7:1: error: expected ';' before '}' token", "/tmp/p/main.c", ErrorKind::Error, 7,
         "/tmp/p/lib/io.c"},
        {"main.c:5:12: error: use of undeclared identifier 'y'", "/tmp/p/main.c", ErrorKind::Error, 5, ""},
        {"In file included from main.c:1:", "/tmp/p/main.c", ErrorKind::None, 0, ""},
        // Clang's summary counts as an error of line 1: " 1 error" reads as a line number.
        {"1 warning and 1 error generated.", "/tmp/p/main.c", ErrorKind::Error, 1, ""},
        // The linker's summary line has no file or line of its own and so goes to the source.
        {"collect2: error: ld returned 1 exit status", "/tmp/p/main.c", ErrorKind::Error, 1, ""},
        {"/tmp/p/link.c:2: undefined reference to `missing'", "/tmp/p/link.c", ErrorKind::None, 0, ""},
    };
    for (const ParseCase& c : cases) {
        expectParses(parser, c);
    }
}

TEST(ErrorLineParser, MakeLines) {
    ErrorLineParser parser;
    const ParseCase cases[] = {
        {"make[1]: Entering directory '/tmp/p/sub'", "/tmp/p/Makefile", ErrorKind::None, 0, ""},
        {"make: *** [Makefile:2: all] Error 2", "/tmp/p/Makefile", ErrorKind::Error, 2, ""},
        {"bad.c:1:20: error: 'z' undeclared", "/tmp/p/Makefile", ErrorKind::Error, 1, "bad.c"},
        {"make: *** No rule to make target 'x.o', needed by 'all'.  Stop.", "/tmp/p/Makefile",
         ErrorKind::None, 0, ""},
    };
    for (const ParseCase& c : cases) {
        expectParses(parser, c);
    }
}

TEST(ErrorLineParser, UserPatternsComeFirst) {
    ErrorLineParser parser(UserErrorPatterns{"undefined reference", "at line [0-9]+"});
    const ParseCase cases[] = {
        {"/tmp/p/link.c:2: undefined reference to `missing'", "/tmp/p/link.c", ErrorKind::Error, 2, ""},
        {"oops at line 40 (code 3)", "/tmp/p/x.c", ErrorKind::None, 0, ""},
        {"error 7 in x.c at line 40", "/tmp/p/x.c", ErrorKind::Error, 40, ""},
    };
    for (const ParseCase& c : cases) {
        expectParses(parser, c);
    }
}

TEST(ErrorLineParser, AnUnusablePatternFindsNothing) {
    ErrorLineParser parser(UserErrorPatterns{"(unclosed", ""});
    const ParsedLine parsed = parser.parse("main.c:3:1: error: x", "/p/main.c");
    EXPECT_EQ(parsed.kind, ErrorKind::Error);
    EXPECT_EQ(parsed.line, 3);
}

TEST(ErrorLineParser, HugeNumbersAreNoLine) {
    ErrorLineParser parser;
    EXPECT_EQ(parser.parse("main.c:99999999999999: error: x", "/p/main.c").line, 0);
}

TEST(ErrorLineParser, OnlyTheStartOfALongLineIsClassified) {
    ErrorLineParser parser;
    std::string line = "x.c:12: error: " + std::string(50000, 'a');
    EXPECT_EQ(parser.parse(line, "/p/main.c"), (ParsedLine{ErrorKind::Error, 12, "x.c", true}));
    // An error word beyond the classified start is not seen.
    EXPECT_EQ(parser.parse(std::string(300, 'a') + " error: x.c:12:", "/p/main.c").kind, ErrorKind::None);
    // Long runs without blanks, the file pattern's worst case, still end.
    EXPECT_EQ(parser.parse(std::string(40000, 'b') + " error 3", "/p/main.c").kind, ErrorKind::None);
    EXPECT_EQ(parser.fileAndLine(std::string(40000, 'b')).line, 0);
}

TEST(ErrorLineParser, FileAndLineOfAnyLine) {
    ErrorLineParser parser;
    const ParsedLine parsed = parser.fileAndLine("see util.c:44 for the definition");
    EXPECT_EQ(parsed.fileName, "util.c");
    EXPECT_EQ(parsed.line, 44);
}

} // namespace
} // namespace vexa::toolchain

namespace vexa::toolchain {
namespace {

TEST(CompilerLine, TheCommonCompilerFormIsReadInOnePass) {
    struct Case {
        std::string line;
        ErrorKind kind;
        std::string file;
        int line_;
        int column;
    };
    const std::string deep = "/" + std::string(5000, 'd') + "/x.c";
    const Case cases[] = {
        {"main.c:5:24: error: 'y' undeclared", ErrorKind::Error, "main.c", 5, 24},
        {"util.h:2:9: warning: unused variable 'b'", ErrorKind::Warning, "util.h", 2, 9},
        {"a b.c:3: fatal error: x.h: No such file", ErrorKind::Error, "a b.c", 3, 0},
        {"C:12:1: Error: upper case", ErrorKind::Error, "C", 12, 1},
        {deep + ":7:3: error: deep", ErrorKind::Error, deep, 7, 3},
        {"main.c:5:24: note: see here", ErrorKind::None, "", 0, 0},
        {"In file included from main.c:1:", ErrorKind::None, "", 0, 0},
        {"main.c:12345678901: error: too long", ErrorKind::None, "", 0, 0},
        {":5:1: error: no file", ErrorKind::None, "", 0, 0},
        {std::string(100000, ':') + "1", ErrorKind::None, "", 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<CompilerLine> read = readCompilerLine(c.line);
        ASSERT_EQ(read.has_value(), c.kind != ErrorKind::None) << c.line.substr(0, 60);
        if (read) {
            EXPECT_EQ(read->kind, c.kind);
            EXPECT_EQ(read->file, c.file);
            EXPECT_EQ(read->line, c.line_);
            EXPECT_EQ(read->column, c.column);
        }
    }
    // A deep path's error line is an error line of that file, with its column.
    ErrorLineParser parser;
    const ParsedLine parsed = parser.parse(deep + ":7:3: error: deep", "/p/main.c");
    EXPECT_EQ(parsed, (ParsedLine{ErrorKind::Error, 7, deep, true, 3}));
}

} // namespace
} // namespace vexa::toolchain
