// The settings file on disk: defaults without a file, writes that keep the rest, failed writes.
#include "settings/SettingsFile.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempHome.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::writeFileBytes;

class SettingsFileTest : public ::testing::Test {
protected:
    test::TempHome home;
    SettingsFile settings{home.file("vexa.INI")};
};

TEST_F(SettingsFileTest, MissingFileGivesDefaults) {
    EXPECT_EQ(settings.getInteger("Editor Options", "TabSize", 3), 3);
    EXPECT_EQ(settings.getString("Editor Options", "Keymap", "<Default Keymap>", 51), "<Default Keymap>");
    SettingsText text;
    EXPECT_EQ(settings.load(text), SettingsLoad::Missing);
}

TEST_F(SettingsFileTest, PutsCreateTheFileAndReadBack) {
    ASSERT_TRUE(settings.putInteger("Editor Options", "TabSize", 8));
    ASSERT_TRUE(settings.putString("Editor Options", "Keymap", "Mine"));
    ASSERT_TRUE(settings.putInteger("Font Details", "Height", -13));
    EXPECT_EQ(readFileBytes(settings.path()),
              "[Editor Options]\nTabSize=8\nKeymap=Mine\n\n[Font Details]\nHeight=-13\n");
    EXPECT_EQ(settings.getInteger("editor OPTIONS", "tabsize", 3), 8);
    EXPECT_EQ(settings.getInteger("Font Details", "Height", 0), -13);
}

TEST_F(SettingsFileTest, PutKeepsOtherSectionsKeysAndComments) {
    writeFileBytes(settings.path(),
                   "; hand-written\r\n[Searching]\r\nFindText=abc\r\n\r\n[Editor Options]\r\n"
                   "TabSize=3\r\n; note\r\nWrapColumn=72\r\n");
    ASSERT_TRUE(settings.putInteger("Editor Options", "TabSize", 4));
    EXPECT_EQ(readFileBytes(settings.path()), "; hand-written\r\n[Searching]\r\nFindText=abc\r\n\r\n"
                                              "[Editor Options]\r\nTabSize=4\r\n; note\r\nWrapColumn=72\r\n");
}

TEST_F(SettingsFileTest, UpdateWritesSeveralChangesOnce) {
    ASSERT_TRUE(settings.update([](SettingsText& text) {
        return text.putInteger("A", "One", 1) && text.putInteger("A", "Two", 2) &&
               text.putString("B", "Three", "3");
    }));
    EXPECT_EQ(readFileBytes(settings.path()), "[A]\nOne=1\nTwo=2\n\n[B]\nThree=3\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, RefusedChangeLeavesTheFile) {
    writeFileBytes(settings.path(), "[A]\nK=v\n");
    EXPECT_FALSE(settings.putString("A", "", "x"));
    EXPECT_EQ(readFileBytes(settings.path()), "[A]\nK=v\n");
}

// The regression this guards: a write into a home that cannot take new files must fail and
// leave the old settings complete, never a truncated file.
TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileWhole) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "directory permissions do not bind the super-user";
    }
    const std::string original = "[Editor Options]\nTabSize=3\nWrapColumn=80\n";
    writeFileBytes(settings.path(), original);
    // Neither the directory (no rename) nor the file (no rewrite in place) may be written.
    ASSERT_EQ(chmod(settings.path().c_str(), 0400), 0);
    ASSERT_EQ(chmod(home.path().c_str(), 0500), 0);
    bool written = settings.putInteger("Editor Options", "TabSize", 9);
    ASSERT_EQ(chmod(home.path().c_str(), 0700), 0);
    EXPECT_FALSE(written);
    EXPECT_FALSE(settings.errorText().empty());
    EXPECT_EQ(readFileBytes(settings.path()), original);
}

// A file-size limit makes the write fail on a full disk's terms, for any user.
TEST_F(SettingsFileTest, WriteBeyondTheFileSizeLimitLeavesTheOldFileWhole) {
    const std::string original = "[Editor Options]\nTabSize=3\n";
    writeFileBytes(settings.path(), original);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = settings.putString("Editor Options", "DefaultSearchPath", std::string(10000, 'p'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(settings.errorText().empty());
    EXPECT_EQ(readFileBytes(settings.path()), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, UnreadableFileIsNotOverwritten) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "file permissions do not bind the super-user";
    }
    writeFileBytes(settings.path(), "[Other]\nPrecious=1\n");
    ASSERT_EQ(chmod(settings.path().c_str(), 0200), 0);
    SettingsText text;
    EXPECT_EQ(settings.load(text), SettingsLoad::Unreadable);
    EXPECT_FALSE(settings.putInteger("A", "K", 1));
    ASSERT_EQ(chmod(settings.path().c_str(), 0600), 0);
    EXPECT_EQ(readFileBytes(settings.path()), "[Other]\nPrecious=1\n");
}

TEST_F(SettingsFileTest, DirectoryInPlaceOfTheFileIsUnreadable) {
    fs::create_directory(settings.path());
    EXPECT_EQ(settings.getInteger("A", "K", 7), 7);
    EXPECT_FALSE(settings.putInteger("A", "K", 1));
}

} // namespace
} // namespace vexa
