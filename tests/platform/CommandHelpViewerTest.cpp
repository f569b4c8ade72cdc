// The external help viewer: template substitution that keeps values as single arguments.
#include "platform/CommandHelpViewer.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

#include "platform/CommandLine.h"
#include "platform/posix/PosixProcess.h"
#include "support/FakeProcess.h"
#include "support/TempHome.h"

namespace vexa::platform {
namespace {

struct TemplateCase {
    const char* commandTemplate;
    const char* file;
    const char* keyword;
    std::vector<std::string> words;
};

TEST(CommandHelpViewer, PutsFileAndKeywordIntoTheirWords) {
    const TemplateCase kCases[] = {
        {"viewer %f", "/h/api.hlp", "fopen", {"viewer", "/h/api.hlp"}},
        {"viewer --file=%f -k %k",
         "/h/my help.hlp",
         "str cat",
         {"viewer", "--file=/h/my help.hlp", "-k", "str cat"}},
        {"viewer %k 100%% %x", "f", "say \"hi\" \\", {"viewer", "say \"hi\" \\", "100%", "%x"}},
        {"\"/opt/help viewer/run\" %f%k", "a", "b", {"/opt/help viewer/run", "ab"}},
        {"viewer \"%k\" trailing%", "f", "", {"viewer", "", "trailing%"}},
    };
    test::FakeProcessLauncher launcher;
    for (const TemplateCase& c : kCases) {
        CommandHelpViewer viewer(c.commandTemplate, launcher);
        EXPECT_EQ(splitCommandLine(viewer.commandLineFor(c.file, c.keyword)), c.words) << c.commandTemplate;
        ASSERT_TRUE(viewer.showKeyword(c.file, c.keyword)) << c.commandTemplate;
        EXPECT_EQ(splitCommandLine(launcher.requests().back().commandLine), c.words) << c.commandTemplate;
    }
}

TEST(CommandHelpViewer, FailsWithoutAProgramOrWhenTheStartFails) {
    test::FakeProcessLauncher launcher;
    CommandHelpViewer empty("   ", launcher);
    EXPECT_FALSE(empty.showKeyword("f", "k"));
    CommandHelpViewer programFromKeyword("%k", launcher);
    EXPECT_FALSE(programFromKeyword.showKeyword("f", ""));
    EXPECT_TRUE(launcher.requests().empty());

    CommandHelpViewer viewer(CommandHelpViewer::kDefaultCommand, launcher);
    launcher.scriptNext({SpawnResult::FileNotFound, 0, 0});
    EXPECT_FALSE(viewer.showKeyword("/h/a.hlp", "k"));
    EXPECT_EQ(launcher.requests().back().commandLine, "xdg-open /h/a.hlp");
}

TEST(CommandHelpViewer, RunsTheRealCommandWithoutWaiting) {
    test::TempHome home;
    auto dir = std::filesystem::canonical(home.path());
    auto script = dir / "viewer.sh";
    auto out = dir / "args.txt";
    test::writeFileBytes(script, "#!/bin/sh\nprintf '%s|' \"$@\" > \"" + out.string() + ".tmp\"\nmv \"" +
                                     out.string() + ".tmp\" \"" + out.string() + "\"\n");
    ASSERT_EQ(::chmod(script.c_str(), 0755), 0);

    PosixProcessLauncher launcher;
    CommandHelpViewer viewer(script.string() + " %f %k", launcher);
    ASSERT_TRUE(viewer.showKeyword("/h/a b.hlp", "x; rm -rf y"));
    for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(test::readFileBytes(out), "/h/a b.hlp|x; rm -rf y|");
}

} // namespace
} // namespace vexa::platform
