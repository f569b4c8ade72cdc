// The atomic writer: complete replacement, links and permissions kept, failures leave the old file.
#include "platform/AtomicFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempHome.h"

namespace vexa::platform {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::writeFileBytes;

TEST(AtomicFileWriter, ReplacesContentAndLeavesNoTemporaryFile) {
    test::TempHome home;
    auto target = home.path() / "a.txt";
    writeFileBytes(target, "old content that is longer");
    ASSERT_TRUE(writeFileAtomically(target.string(), "new"));
    EXPECT_EQ(readFileBytes(target), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);
}

TEST(AtomicFileWriter, KeepsPermissionsOfExistingFile) {
    test::TempHome home;
    auto target = home.path() / "script.sh";
    writeFileBytes(target, "x");
    ASSERT_EQ(chmod(target.c_str(), 0750), 0);
    ASSERT_TRUE(writeFileAtomically(target.string(), "y"));
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0750u);
}

TEST(AtomicFileWriter, WritesThroughSymbolicLinkToItsTarget) {
    test::TempHome home;
    fs::create_directory(home.path() / "real");
    auto real = home.path() / "real" / "file.c";
    writeFileBytes(real, "old");
    auto link = home.path() / "link.c";
    fs::create_symlink("real/file.c", link);
    ASSERT_TRUE(writeFileAtomically(link.string(), "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFileBytes(real), "new");
}

TEST(AtomicFileWriter, UncommittedWriteLeavesOldFileAndNoTemporary) {
    test::TempHome home;
    auto target = home.path() / "keep.txt";
    writeFileBytes(target, "precious");
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.open(target.string()));
        ASSERT_TRUE(writer.write(std::string_view("partial")));
    }
    EXPECT_EQ(readFileBytes(target), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);
}

TEST(AtomicFileWriter, UnwritableDirectoryFailsWithErrorText) {
    test::TempHome home;
    std::string error;
    EXPECT_FALSE(writeFileAtomically((home.path() / "missing" / "x.txt").string(), "data", &error));
    EXPECT_FALSE(error.empty());
}

TEST(AtomicFileWriter, SuccessiveWritesOfEveryFormAppendInOrder) {
    test::TempHome home;
    auto target = home.path() / "parts.txt";
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.open(target.string()));
    std::string text = "one,";
    const char bytes[] = {'t', 'w', 'o', ','};
    ASSERT_TRUE(writer.write(text));
    ASSERT_TRUE(writer.write(std::span<const char>(bytes)));
    ASSERT_TRUE(writer.write(std::string_view("three\0four", 10)));
    ASSERT_TRUE(writer.commit());
    EXPECT_EQ(readFileBytes(target), std::string("one,two,three\0four", 18));
}

} // namespace
} // namespace vexa::platform
