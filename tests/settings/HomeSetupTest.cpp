// Home preparation: finding the shipped files and copying what the home lacks on the first run.
#include "settings/HomeSetup.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/TempHome.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::writeFileBytes;

void touch(const fs::path& path, const std::string& bytes = "x") {
    fs::create_directories(path.parent_path());
    writeFileBytes(path, bytes);
}

TEST(ShareDirectory, InstalledProgramUsesShareVexaBesideBin) {
    test::TempHome root;
    touch(root.path() / "usr/bin/vexa");
    fs::create_directories(root.path() / "usr/share/vexa/vConfig");
    EXPECT_EQ(locateShareDirectory(root.path() / "usr/bin/vexa"), root.path() / "usr/share/vexa");
}

TEST(ShareDirectory, BuildTreeProgramUsesTheSourceTreeShare) {
    test::TempHome root;
    touch(root.path() / "src/CMakeLists.txt");
    fs::create_directories(root.path() / "src/share/vConfig");
    touch(root.path() / "src/build/h2/src/app/vexa");
    EXPECT_EQ(locateShareDirectory(root.path() / "src/build/h2/src/app/vexa"), root.path() / "src/share");
}

TEST(ShareDirectory, NothingFoundGivesAnEmptyPath) {
    test::TempHome root;
    touch(root.path() / "opt/tools/vexa");
    // A share/ without the source tree's CMakeLists.txt beside it is somebody else's.
    fs::create_directories(root.path() / "opt/share");
    EXPECT_EQ(locateShareDirectory(root.path() / "opt/tools/vexa"), fs::path());
    EXPECT_EQ(locateShareDirectory(fs::path()), fs::path());
}

TEST(ShareDirectory, RunningProgramIsKnown) {
    fs::path program = currentProgramFile();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(fs::is_regular_file(program));
}

class SeedTest : public ::testing::Test {
protected:
    SeedTest() {
        touch(share.path() / "vConfig/prefix.dat", "prefix keys");
        touch(share.path() / "applications/vexa.desktop", "desktop entry");
        touch(share.path() / "vConfig/VexaC.PRF", "c profile");
        touch(share.path() / "vSpell/English.DIC", "dictionary");
        touch(share.path() / "vExample/deep/more/sample.zm", "script");
    }

    test::TempHome share;
    test::TempHome home;
};

TEST_F(SeedTest, CopiesEveryMissingFileKeepingItsPlace) {
    SeedResult result = seedHome(share.path(), home.path().string());
    EXPECT_EQ(result.copied, 4u);
    EXPECT_EQ(result.failed, 0u);
    EXPECT_EQ(readFileBytes(home.path() / "vConfig/prefix.dat"), "prefix keys");
    // What the desktop needs stays in the installation.
    EXPECT_FALSE(fs::exists(home.path() / "applications"));
    EXPECT_EQ(readFileBytes(home.path() / "vConfig/VexaC.PRF"), "c profile");
    EXPECT_EQ(readFileBytes(home.path() / "vSpell/English.DIC"), "dictionary");
    EXPECT_EQ(readFileBytes(home.path() / "vExample/deep/more/sample.zm"), "script");
}

TEST_F(SeedTest, NeverTouchesFilesTheHomeHas) {
    touch(home.path() / "vConfig/VexaC.PRF", "my own profile");
    SeedResult result = seedHome(share.path(), home.path().string());
    EXPECT_EQ(result.copied, 3u);
    EXPECT_EQ(readFileBytes(home.path() / "vConfig/VexaC.PRF"), "my own profile");
}

TEST_F(SeedTest, MissingShareCopiesNothing) {
    SeedResult result = seedHome(share.path() / "absent", home.path().string());
    EXPECT_EQ(result.copied, 0u);
    EXPECT_EQ(result.failed, 0u);
    EXPECT_TRUE(fs::is_empty(home.path()));
}

TEST_F(SeedTest, FirstRunSeedsAndLaterRunsDoNot) {
    Directories directories(home.path().string());
    EXPECT_EQ(prepareHome(directories, share.path()), HomeStart::FirstRun);
    EXPECT_TRUE(fs::is_directory(home.path() / "vMacros"));
    EXPECT_EQ(readFileBytes(home.path() / "vSpell/English.DIC"), "dictionary");

    // Once the settings file exists the user's deletions stand.
    writeFileBytes(directories.settingsFilePath(), "[Editor Options]\n");
    fs::remove(home.path() / "vSpell/English.DIC");
    EXPECT_EQ(prepareHome(directories, share.path()), HomeStart::Ready);
    EXPECT_FALSE(fs::exists(home.path() / "vSpell/English.DIC"));
}

TEST_F(SeedTest, NoHomeIsRefusedAndNothingIsMade) {
    const fs::path before = fs::current_path();
    fs::current_path(home.path());
    const HomeStart start = prepareHome(Directories(""), share.path());
    fs::current_path(before);
    EXPECT_EQ(start, HomeStart::NoHome);
    EXPECT_FALSE(fs::exists(home.path() / "vConfig"));
    EXPECT_FALSE(fs::exists(home.path() / "vexa.INI"));
}

TEST_F(SeedTest, TooLongHomeIsReported) {
    Directories directories("/" + std::string(240, 'q') + "/");
    EXPECT_EQ(prepareHome(directories, share.path()), HomeStart::DirectoriesMissing);
}

} // namespace
} // namespace vexa
