// The run folder: where it is made, who may enter it, and what goes when it is cleared.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "support/ScopedVariable.h"
#include "support/TempHome.h"
#include "toolchain/RunFolder.h"

namespace vexa::toolchain {
namespace {

namespace fs = std::filesystem;

TEST(RunFolder, TheBaseIsTheRuntimeDirectoryWhenItIsUsableElseTheHome) {
    test::TempHome home;
    const std::string runtime = home.file("rt");
    fs::create_directories(runtime);
    const std::string vexaHome = home.path().string();
    struct Case {
        std::optional<std::string> variable;
        std::string base;
    };
    const Case cases[] = {
        {runtime, runtime + "/vexa/"},
        {runtime + "/", runtime + "/vexa/"},
        {std::nullopt, vexaHome + "/runs/"},
        {"", vexaHome + "/runs/"},
        {"rt", vexaHome + "/runs/"},                 // relative: depends on the current folder
        {home.file("missing"), vexaHome + "/runs/"}, // not there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variable.value_or("(unset)"));
        test::ScopedVariable set("XDG_RUNTIME_DIR", c.variable);
        EXPECT_EQ(runFolderBase(vexaHome), c.base);
        EXPECT_EQ(runFolderBase(vexaHome + "/"), c.base);
    }
}

TEST(RunFolder, MadeAtFirstUseOwnerOnlyAndGoneWhenCleared) {
    test::TempHome home;
    test::ScopedVariable set("XDG_RUNTIME_DIR", std::nullopt);
    RunFolder folder(home.path().string());
    EXPECT_TRUE(folder.path().empty());
    EXPECT_FALSE(fs::exists(home.path() / "runs")) << "nothing is made before it is needed";
    const std::string batch = folder.file("VexaCC.BAT");
    const std::string errors = folder.file("main.err");
    ASSERT_FALSE(folder.path().empty());
    EXPECT_EQ(folder.path().rfind(home.file("runs/run-"), 0), 0u) << folder.path();
    EXPECT_EQ(batch, folder.path() + "VexaCC.BAT");
    EXPECT_EQ(fs::status(folder.path()).permissions() & fs::perms::all, fs::perms::owner_all);
    test::writeFileBytes(batch, "x");
    test::writeFileBytes(errors, "y");
    EXPECT_EQ(folder.file("main.err"), errors) << "the same folder serves every later file";

    // A second owner has a folder of its own.
    RunFolder other(home.path().string());
    EXPECT_NE(platform::directoryPart(other.file("main.err")), folder.path());

    const std::string path = folder.path();
    folder.clear();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(folder.path().empty());
    // The next file makes a new one.
    test::writeFileBytes(folder.file("main.err"), "z");
    EXPECT_TRUE(platform::isRegularFile(folder.path() + "main.err"));
    const std::string again = folder.path();
    {
        RunFolder moved(std::move(folder));
        EXPECT_EQ(moved.path(), again);
    }
    EXPECT_FALSE(fs::exists(again)) << "the folder goes with its owner";
}

// When no private folder can be made the files go into the home, and clearing removes only them.
TEST(RunFolder, WithoutAPrivateFolderTheHomeHoldsTheFilesAndStays) {
    test::TempHome home;
    test::ScopedVariable set("XDG_RUNTIME_DIR", std::nullopt);
    test::writeFileBytes(home.path() / "runs", "a file where the folder would be");
    RunFolder folder(home.path().string());
    const std::string errors = folder.file("main.err");
    EXPECT_EQ(errors, home.file("main.err"));
    test::writeFileBytes(errors, "y");
    test::writeFileBytes(home.path() / "vexa.INI", "[Options]\n");
    folder.clear();
    EXPECT_FALSE(fs::exists(errors));
    EXPECT_TRUE(fs::is_directory(home.path()));
    EXPECT_TRUE(fs::exists(home.path() / "vexa.INI"));
}

} // namespace
} // namespace vexa::toolchain
