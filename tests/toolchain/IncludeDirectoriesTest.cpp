// The compiler's include directories: reading its -v list, asking the real compiler once, and
// finding an #include'd file along them.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/posix/PosixProcess.h"
#include "support/FakeProcess.h"
#include "support/ScopedVariable.h"
#include "support/TempHome.h"
#include "toolchain/FileLocator.h"
#include "toolchain/IncludeDirectories.h"

namespace vexa::toolchain {
namespace {

using Directories = std::vector<std::string>;

TEST(IncludeDirectories, TheListBetweenItsMarkersIsRead) {
    struct Case {
        const char* name;
        std::string output;
        Directories expected;
    };
    const std::string gcc = "Using built-in specs.\n"
                            "ignoring nonexistent directory \"/usr/local/include/x86_64-linux-gnu\"\n"
                            "#include \"...\" search starts here:\n"
                            " /quoted/only\n"
                            "#include <...> search starts here:\n"
                            " /usr/lib/gcc/x86_64-linux-gnu/12/include\n"
                            " /usr/local/include\n"
                            " /usr/include\n"
                            "End of search list.\n"
                            " /after/the/end\n";
    const Case cases[] = {
        {"gcc's answer",
         gcc,
         {"/usr/lib/gcc/x86_64-linux-gnu/12/include", "/usr/local/include", "/usr/include"}},
        {"line ends with carriage returns and tabs",
         "#include <...> search starts here:\r\n\t/opt/inc \r\n /usr/include\r\nEnd of search list.\r\n",
         {"/opt/inc", "/usr/include"}},
        {"framework directories",
         "#include <...> search starts here:\n /a\n /Sys/Frameworks (framework directory)\nEnd of search "
         "list.\n",
         {"/a", "/Sys/Frameworks"}},
        {"no end: the list runs to the end", "#include <...> search starts here:\n /a\n /b", {"/a", "/b"}},
        {"names a search path cannot hold, and relative ones",
         "#include <...> search starts here:\n relative/inc\n /has:colon\n /has;semicolon\n\n /ok\nEnd of "
         "search list.\n",
         {"/ok"}},
        {"no list", "cc: error: unrecognized option\n", {}},
        {"the end before any start", "End of search list.\n /a\n", {}},
        {"nothing", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseIncludeSearchList(c.output), c.expected);
    }
}

TEST(IncludeDirectories, AnAnswerIsReadOnlyAsFarAsItsBounds) {
    std::string many = "#include <...> search starts here:\n";
    for (std::size_t i = 0; i < kIncludeDirectoryLimit + 10; ++i) {
        many += " /d" + std::to_string(i) + "\n";
    }
    const Directories kept = parseIncludeSearchList(many);
    ASSERT_EQ(kept.size(), kIncludeDirectoryLimit);
    EXPECT_EQ(kept.back(), "/d" + std::to_string(kIncludeDirectoryLimit - 1));

    std::string padded =
        "#include <...> search starts here:\n" + std::string(kIncludeAnswerLimit, ' ') + "/late\n";
    EXPECT_TRUE(parseIncludeSearchList(padded).empty()) << "bytes past the limit are not read";
}

TEST(IncludeDirectories, TheRealCompilerIsAskedOnceElseTheUsualDirectoriesServe) {
    if (!platform::findOnPath("cc") || !platform::isRegularFile("/usr/include/stdio.h")) {
        GTEST_SKIP() << "no cc or no /usr/include/stdio.h";
    }
    test::TempHome home;
    platform::PosixProcessLauncher launcher;
    {
        test::ScopedVariable unset("CC", std::nullopt);
        CompilerIncludePath asked(&launcher, home.path().string());
        const std::string path = asked.searchPath();
        EXPECT_NE((":" + path + ":").find(":/usr/include:"), std::string::npos) << path;
        EXPECT_NE(path, kFallbackIncludePath) << "cc names its own directories too";
        // <stdio.h> is found along them with the default (empty) search path.
        const LocateSettings settings{"", false, &asked};
        EXPECT_EQ(locateFile("stdio.h", "", settings), std::optional<std::string>("/usr/include/stdio.h"));
        // Asked once: a later CC changes nothing.
        test::ScopedVariable other("CC", "no-such-compiler-here");
        EXPECT_EQ(asked.searchPath(), path);
    }
    const std::vector<std::pair<std::optional<std::string>, bool>> compilers = {
        {"no-such-compiler-here", false}, // cannot start: the usual directories
        {"false", false},                 // answers nothing
        {"cc -Wall", true},               // words of its own
        {"cc; touch PWNED", true},        // shell text is not run: plain cc is asked
    };
    for (const auto& [cc, real] : compilers) {
        SCOPED_TRACE(*cc);
        test::ScopedVariable set("CC", cc);
        CompilerIncludePath asked(&launcher, home.path().string());
        EXPECT_EQ(asked.searchPath() != kFallbackIncludePath, real) << asked.searchPath();
    }
    EXPECT_FALSE(platform::isRegularFile("/PWNED"));
    const std::filesystem::path runs = runFolderBase(home.path().string());
    EXPECT_TRUE(!std::filesystem::exists(runs) || std::filesystem::is_empty(runs))
        << "an answer's run folder was left";
}

TEST(IncludeDirectories, WithoutALauncherOrWithASearchPathTheCompilerIsNotAsked) {
    CompilerIncludePath none(nullptr, "/nonexistent/");
    EXPECT_EQ(none.searchPath(), kFallbackIncludePath);

    test::TempHome home;
    test::FakeProcessLauncher launcher;
    CompilerIncludePath asked(&launcher, home.path().string());
    std::filesystem::create_directories(home.path() / "inc");
    test::writeFileBytes(home.path() / "inc" / "mine.h", "");
    // A search path of the user's own is searched instead: the compiler is not started.
    const LocateSettings settings{home.file("inc"), false, &asked};
    EXPECT_EQ(locateFile("mine.h", "", settings), std::optional<std::string>(home.file("inc/mine.h")));
    EXPECT_EQ(locateFile("nowhere.h", "", settings), std::nullopt);
    EXPECT_TRUE(launcher.requests().empty());
}

} // namespace
} // namespace vexa::toolchain
