// The compiler and project settings, the command for an extension, and the batch file's bytes.
#include <gtest/gtest.h>

#include "toolchain/BatchFile.h"
#include "toolchain/CompilerSettings.h"
#include "settings/SettingsFile.h"
#include "support/TempHome.h"

namespace vexa::toolchain {
namespace {

TEST(CompilerSettings, DefaultsWithoutASettingsFile) {
    test::TempHome home;
    SettingsFile file(home.file("vexa.INI"));
    CompilerSettings compiler;
    compiler.load(file);
    EXPECT_EQ(compiler.run.runFile, "VexaCC.BAT");
    EXPECT_FALSE(compiler.run.debug);
    EXPECT_TRUE(compiler.run.wait);
    EXPECT_EQ(compiler.run.mode, RunMode::Vexa);
    EXPECT_EQ(compiler.run.display, 7);
    EXPECT_EQ(compiler.command, "");
    ProjectSettings project;
    project.load(file);
    EXPECT_EQ(project.command, "make -f %s");
    EXPECT_EQ(project.fileName, "SAMPLE.MAK");
    EXPECT_EQ(project.current, "");
}

TEST(CompilerSettings, WrittenKeysReadBack) {
    test::TempHome home;
    SettingsFile file(home.file("vexa.INI"));
    CompilerSettings compiler;
    compiler.run = RunSettings{"my.sh", true, false, RunMode::Other, 1};
    compiler.extension = "C";
    compiler.command = "gcc -c %s";
    ASSERT_TRUE(compiler.save(file));
    const std::string text = test::readFileBytes(home.path() / "vexa.INI");
    for (const char* line : {"[Compiler]", "RunFile=my.sh", "Debug=YES", "Wait=NO", "Mode=Other", "Display=1",
                             "Command0=C|gcc -c %s"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    CompilerSettings again;
    again.load(file);
    EXPECT_EQ(again.run.runFile, "my.sh");
    EXPECT_TRUE(again.run.debug);
    EXPECT_EQ(again.run.mode, RunMode::Other);
    EXPECT_EQ(again.extension, "C");
    EXPECT_EQ(again.command, "gcc -c %s");

    ProjectSettings project;
    project.current = "/src/app/Makefile";
    project.command = "make -f %s all";
    ASSERT_TRUE(project.save(file));
    ProjectSettings projectAgain;
    projectAgain.load(file);
    EXPECT_EQ(projectAgain.current, "/src/app/Makefile");
    EXPECT_EQ(projectAgain.command, "make -f %s all");
    EXPECT_EQ(projectAgain.run.mode, RunMode::Vexa);
}

// What the options dialogs accept (255 characters a command) is what the settings keep.
TEST(CompilerSettings, CommandsAsLongAsTheDialogsAcceptReadBackWhole) {
    test::TempHome home;
    SettingsFile file(home.file("vexa.INI"));
    for (const std::size_t length : {99u, 100u, 254u, 255u}) {
        SCOPED_TRACE(length);
        const std::string command = "make -f %s " + std::string(length - 11, 'x');
        ProjectSettings project;
        project.command = command;
        ASSERT_TRUE(project.save(file));
        ProjectSettings projectAgain;
        projectAgain.load(file);
        EXPECT_EQ(projectAgain.command, command);

        CompilerSettings compiler;
        compiler.extension = "C";
        compiler.command = command;
        ASSERT_TRUE(compiler.save(file));
        CompilerSettings compilerAgain;
        compilerAgain.load(file);
        EXPECT_EQ(compilerAgain.command, command);
    }
}

TEST(CompilerSettings, ModeAndFlagsAreReadByTheirFirstLetter) {
    test::TempHome home;
    test::writeFileBytes(home.path() / "vexa.INI",
                         "[Compiler]\nMode=vexa\nDebug=yes please\n[Project]\nMode=x\n");
    SettingsFile file(home.file("vexa.INI"));
    CompilerSettings compiler;
    compiler.load(file);
    EXPECT_EQ(compiler.run.mode, RunMode::Vexa);
    EXPECT_TRUE(compiler.run.debug);
    ProjectSettings project;
    project.load(file);
    EXPECT_EQ(project.run.mode, RunMode::Other);
}

TEST(CompilerSettings, CommandForAnExtension) {
    struct Case {
        const char* entryExtension;
        const char* entryCommand;
        const char* asked;
        const char* expected;
    };
    const Case cases[] = {
        {"C", "cl -c %s", "C", "cl -c %s"},
        {"C", "cl -c %s", "c", "cl -c %s"},
        {"C", "cl -c %s", "CPP", ""},
        {"C", "cl -c %s", "", ""},
        {"", "gcc -c %s", "PAS", "gcc -c %s"}, // the generic entry serves every extension
        {"", "gcc -c %s", "", "gcc -c %s"},
        {"C", "", "C", ""},
        {"ABCDEFGHIJKLMNOPQRSTU", "x %s", "abcdefghijklmnopqrstZZ", "x %s"}, // 20 characters compared
    };
    for (const Case& c : cases) {
        CompilerSettings settings;
        settings.extension = c.entryExtension;
        settings.command = c.entryCommand;
        EXPECT_EQ(settings.commandFor(c.asked), c.expected) << c.asked;
    }
}

TEST(CompilerSettings, CAndCxxFilesHaveABuiltInCommand) {
    struct Case {
        const char* extension;
        const char* cc;
        const char* cxx;
        const char* expected;
    };
    const Case cases[] = {
        {"c", "", "", "cc -Wall -Wextra -fsyntax-only %s"},
        {"c", "clang", "", "clang -Wall -Wextra -fsyntax-only %s"},
        {"h", "gcc-13", "g++", "gcc-13 -Wall -Wextra -fsyntax-only %s"},
        {"cpp", "", "", "c++ -Wall -Wextra -fsyntax-only %s"},
        {"cc", "gcc", "clang++ -std=c++20", "clang++ -std=c++20 -Wall -Wextra -fsyntax-only %s"},
        {"C", "", "", "c++ -Wall -Wextra -fsyntax-only %s"},
        {"pas", "", "", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(builtInCompileCommand(c.extension, c.cc, c.cxx), c.expected) << c.extension;
    }
}

TEST(BatchFile, BytesInBothModes) {
    const ArgumentVector command = commandArguments("cl -c /src/MAIN.C");
    EXPECT_EQ(batchFileText(command, "main.err", false), "@echo off \n'cl' -c /src/MAIN.C > main.err 2>&1\n");
    EXPECT_EQ(batchFileText(command, "main.err", true), "'cl' -c /src/MAIN.C > main.err 2>&1\npause\n");
    // A name the shell would read as commands is written as one quoted word.
    EXPECT_EQ(batchFileText(commandArguments(withFileName({{"cc %s", false}}, "/s/a;id>P;.c")), "a;id.err", false),
              "@echo off \n'cc' '/s/a;id>P;.c' > 'a;id.err' 2>&1\n");
    using Words = std::vector<std::string>;
    EXPECT_EQ(commandArguments(withFileName({{"lint %s && cc %s", false}}, "a.c")).words,
              (Words{"sh", "-c", "lint \"${1}\" && cc \"${2}\"", "sh", "a.c", "a.c"}));
    EXPECT_EQ(commandArguments(withFileName({{"make", false}}, "a.c")).words, Words{"make"});
    EXPECT_EQ(errorFileNameOf("MAIN"), "main.err");
}

} // namespace
} // namespace vexa::toolchain
