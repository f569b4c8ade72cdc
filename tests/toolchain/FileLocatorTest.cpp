// Locating a file through every step of the search.
#include <gtest/gtest.h>

#include <filesystem>

#include "toolchain/FileLocator.h"
#include "platform/Environment.h"
#include "support/TempHome.h"

namespace vexa::toolchain {
namespace {

namespace fs = std::filesystem;

// A tree of files under a temporary directory, with the current directory moved into it.
class FileLocatorTest : public ::testing::Test {
protected:
    FileLocatorTest() {
        m_root = m_home.path() / "tree";
        for (const char* dir : {"cwd", "base", "base/sub", "search1", "search2", "inc"}) {
            fs::create_directories(m_root / dir);
        }
        for (const char* file : {"cwd/here.c", "cwd/sub.h", "base/only.c", "base/sub/deep.c", "search2/far.h",
                                 "inc/stdio_x.h", "cwd/both.c", "base/both.c"}) {
            test::writeFileBytes(m_root / file, "x\n");
        }
        m_previous = fs::current_path();
        fs::current_path(m_root / "cwd");
        m_include = platform::environmentVariable("INCLUDE");
        (void)platform::setEnvironmentVariable("INCLUDE", (m_root / "inc").string());
    }
    ~FileLocatorTest() override {
        fs::current_path(m_previous);
        if (m_include) {
            (void)platform::setEnvironmentVariable("INCLUDE", *m_include);
        } else {
            (void)platform::unsetEnvironmentVariable("INCLUDE");
        }
    }
    std::string path(const char* relative) const { return (m_root / relative).string(); }

    test::TempHome m_home;
    fs::path m_root;
    fs::path m_previous;
    std::optional<std::string> m_include;
};

TEST_F(FileLocatorTest, EveryStepFindsItsFile) {
    const LocateSettings settings{path("search1") + ";" + path("search2"), true};
    const std::string base = path("base");
    struct Case {
        std::string name;
        std::string baseDirectory;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {path("base/only.c"), "", path("base/only.c")}, // fully qualified
        {path("base/missing.c"), base, std::nullopt},   // ... and not searched elsewhere
        {"only.c", base, path("base/only.c")},          // base directory
        {"sub/deep.c", base, path("base/sub/deep.c")},  // base directory with a sub-directory
        {"both.c", base, path("base/both.c")},          // the base directory comes first
        {"../base/only.c", "", path("base/only.c")},    // a directory part, from the current one
        {"here.c", "", path("cwd/here.c")},             // current directory
        {"elsewhere/here.c", "", path("cwd/here.c")},   // its file name in the current directory
        {"far.h", "", path("search2/far.h")},           // the search path
        {"stdio_x.h", "", path("inc/stdio_x.h")},       // INCLUDE
        {"nowhere.h", base, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(locateFile(c.name, c.baseDirectory, settings), c.expected) << c.name;
    }
    EXPECT_EQ(platform::environmentVariable("vPath"), settings.searchPath);
}

TEST_F(FileLocatorTest, BackslashesAreReadAsSlashes) {
    const LocateSettings settings{};
    EXPECT_EQ(locateFile("sub\\deep.c", path("base"), settings), path("base/sub/deep.c"));
    EXPECT_EQ(locateFile("sub/deep.c", path("base"), settings), path("base/sub/deep.c"));
}

TEST_F(FileLocatorTest, IncludeIsSearchedOnlyWhenSwitchedOn) {
    EXPECT_EQ(locateFile("stdio_x.h", "", LocateSettings{"", false}), std::nullopt);
    EXPECT_EQ(locateFile("stdio_x.h", "", LocateSettings{"", true}), path("inc/stdio_x.h"));
}

TEST_F(FileLocatorTest, DirectoriesAreNotFiles) {
    EXPECT_EQ(locateFile("sub", path("base"), LocateSettings{}), std::nullopt);
    EXPECT_EQ(locateFile("", path("base"), LocateSettings{}), std::nullopt);
}

} // namespace
} // namespace vexa::toolchain
