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

// Three places that each hold the shipped files: a $VEXA_SHARE directory, an installation with the
// program in its bin/, and a build tree (the source's share/ and the build's own data).
class ShareSearchTest : public ::testing::Test {
protected:
    ShareSearchTest() {
        fs::create_directories(environment() / "vConfig");
        touch(program());
        fs::create_directories(installed() / "vConfig");
        fs::create_directories(sourceShare() / "vConfig");
        fs::create_directories(buildData() / "vSpell");
    }

    fs::path environment() const { return root.path() / "custom"; }
    fs::path program() const { return root.path() / "usr/bin/vexa"; }
    fs::path installed() const { return root.path() / "usr/share/vexa"; }
    fs::path sourceShare() const { return root.path() / "src/share"; }
    fs::path buildData() const { return root.path() / "build/src/app/share"; }

    ShareSearch everything() const {
        return ShareSearch{environment().string(), program(), {sourceShare(), buildData()}};
    }

    test::TempHome root;
};

TEST_F(ShareSearchTest, EachPlaceIsTakenOnlyWhenTheEarlierOnesFail) {
    using Paths = std::vector<fs::path>;
    ShareSearch search = everything();
    EXPECT_EQ(locateShareDirectories(search), Paths{environment()});

    search.environment.clear(); // unset
    EXPECT_EQ(locateShareDirectories(search), Paths{installed()});

    fs::remove_all(installed());
    EXPECT_EQ(locateShareDirectories(search), (Paths{sourceShare(), buildData()}));

    // The build's own data is optional (no word list, no dictionary); the source's share/ is not.
    fs::remove_all(buildData());
    EXPECT_EQ(locateShareDirectories(search), Paths{sourceShare()});
    fs::remove_all(sourceShare());
    fs::create_directories(buildData() / "vSpell");
    EXPECT_EQ(locateShareDirectories(search), Paths{});
}

TEST_F(ShareSearchTest, APlaceWithoutTheShippedFilesIsPassedOver) {
    using Paths = std::vector<fs::path>;
    // $VEXA_SHARE naming a missing or unrelated directory does not hide the installation.
    ShareSearch search = everything();
    search.environment = (root.path() / "absent").string();
    EXPECT_EQ(locateShareDirectories(search), Paths{installed()});
    fs::create_directories(root.path() / "unrelated/icons");
    search.environment = (root.path() / "unrelated").string();
    EXPECT_EQ(locateShareDirectories(search), Paths{installed()});

    // A program outside a bin/ directory has no installation beside it, even when a share/vexa
    // is there.
    touch(root.path() / "usr/tools/vexa");
    fs::create_directories(root.path() / "usr/share/vexa/vConfig");
    search.programFile = root.path() / "usr/tools/vexa";
    EXPECT_EQ(locateShareDirectories(search), (Paths{sourceShare(), buildData()}));

    EXPECT_EQ(locateShareDirectories(ShareSearch{}), Paths{});
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
    EXPECT_EQ(prepareHome(directories, {share.path()}), HomeStart::FirstRun);
    EXPECT_TRUE(fs::is_directory(home.path() / "vMacros"));
    EXPECT_EQ(readFileBytes(home.path() / "vSpell/English.DIC"), "dictionary");

    // Once the settings file exists the user's deletions stand.
    writeFileBytes(directories.settingsFilePath(), "[Editor Options]\n");
    fs::remove(home.path() / "vSpell/English.DIC");
    EXPECT_EQ(prepareHome(directories, {share.path()}), HomeStart::Ready);
    EXPECT_FALSE(fs::exists(home.path() / "vSpell/English.DIC"));
}

// A home made before a shipped file the editor needs existed gets it at the next start; the
// user's deletions of other files stand, and a file the user has is kept.
TEST_F(SeedTest, ALaterRunCopiesOnlyTheNeededFilesTheHomeLacks) {
    touch(share.path() / "vConfig/COMMON.ZXP", "common keys");
    Directories directories(home.path().string());
    ASSERT_TRUE(directories.create());
    writeFileBytes(directories.settingsFilePath(), "[Editor Options]\n");
    const std::vector<fs::path> needed{"vConfig/COMMON.ZXP", "vConfig/NOWHERE.ZXP"};
    EXPECT_EQ(prepareHome(directories, {share.path()}, needed), HomeStart::Ready);
    EXPECT_EQ(readFileBytes(home.path() / "vConfig/COMMON.ZXP"), "common keys");
    EXPECT_FALSE(fs::exists(home.path() / "vConfig/NOWHERE.ZXP"));
    EXPECT_FALSE(fs::exists(home.path() / "vConfig/prefix.dat"));
    EXPECT_FALSE(fs::exists(home.path() / "vSpell/English.DIC"));

    writeFileBytes(home.path() / "vConfig/COMMON.ZXP", "my own keys");
    EXPECT_EQ(prepareHome(directories, {share.path()}, needed), HomeStart::Ready);
    EXPECT_EQ(readFileBytes(home.path() / "vConfig/COMMON.ZXP"), "my own keys");

    // The first share directory that holds it gives it.
    test::TempHome later;
    touch(later.path() / "vConfig/LATER.ZXP", "later keys");
    const std::vector<fs::path> more{"vConfig/LATER.ZXP"};
    EXPECT_EQ(prepareHome(directories, {share.path(), later.path()}, more), HomeStart::Ready);
    EXPECT_EQ(readFileBytes(home.path() / "vConfig/LATER.ZXP"), "later keys");
}

TEST_F(SeedTest, EveryShareDirectoryIsSeededFrom) {
    test::TempHome built;
    touch(built.path() / "vSpell/ENGLISH.DIC", "built dictionary");
    Directories directories(home.path().string());
    EXPECT_EQ(prepareHome(directories, {share.path(), built.path()}), HomeStart::FirstRun);
    EXPECT_EQ(readFileBytes(home.path() / "vConfig/prefix.dat"), "prefix keys");
    EXPECT_EQ(readFileBytes(home.path() / "vSpell/ENGLISH.DIC"), "built dictionary");
}

TEST_F(SeedTest, FirstRunWithoutShippedFilesIsToldApart) {
    Directories directories(home.path().string());
    EXPECT_EQ(prepareHome(directories, {}), HomeStart::FirstRunWithoutShare);
    // The home itself is still made, so the editor can keep its settings.
    EXPECT_TRUE(fs::is_directory(home.path() / "vConfig"));
    EXPECT_TRUE(fs::is_empty(home.path() / "vConfig"));
    const std::string message = noShareMessage(directories.home());
    EXPECT_NE(message.find(directories.home()), std::string::npos);
    EXPECT_NE(message.find("VEXA_SHARE"), std::string::npos);
}

TEST_F(SeedTest, NoHomeIsRefusedAndNothingIsMade) {
    const fs::path before = fs::current_path();
    fs::current_path(home.path());
    const HomeStart start = prepareHome(Directories(""), {share.path()});
    fs::current_path(before);
    EXPECT_EQ(start, HomeStart::NoHome);
    EXPECT_FALSE(fs::exists(home.path() / "vConfig"));
    EXPECT_FALSE(fs::exists(home.path() / "vexa.INI"));
}

TEST_F(SeedTest, TooLongHomeIsReported) {
    Directories directories("/" + std::string(240, 'q') + "/");
    EXPECT_EQ(prepareHome(directories, {share.path()}), HomeStart::DirectoriesMissing);
}

} // namespace
} // namespace vexa
