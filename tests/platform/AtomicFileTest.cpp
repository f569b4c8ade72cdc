// The atomic writer: complete replacement, links and permissions kept, failures leave the old file.
#include "platform/AtomicFile.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

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

TEST(AtomicFileWriter, WritesInPlaceWhereARenameWouldLoseSomething) {
    struct MethodCase {
        const char* name;
        TargetFacts facts;
        ReplaceMethod method;
    };
    const MethodCase cases[] = {
        {"new file", {.exists = false, .directoryWritable = false, .links = 3}, ReplaceMethod::Rename},
        {"plain file", {.exists = true}, ReplaceMethod::Rename},
        {"unwritable directory", {.exists = true, .directoryWritable = false}, ReplaceMethod::InPlace},
        {"hard links", {.exists = true, .links = 2}, ReplaceMethod::InPlace},
        {"foreign owner", {.exists = true, .ownerKeepable = false}, ReplaceMethod::InPlace},
        {"access list", {.exists = true, .hasAccessList = true}, ReplaceMethod::InPlace},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseReplaceMethod(c.facts), c.method) << c.name;
    }
}

TEST(AtomicFileWriter, AHardLinkedFileKeepsItsLinksAndInode) {
    test::TempHome home;
    auto target = home.path() / "shared.c";
    auto other = home.path() / "other-name.c";
    writeFileBytes(target, "old text that is longer than the new one");
    fs::create_hard_link(target, other);
    struct stat before {};
    ASSERT_EQ(stat(target.c_str(), &before), 0);

    AtomicFileWriter writer;
    ASSERT_TRUE(writer.open(target.string()));
    EXPECT_EQ(writer.method(), ReplaceMethod::InPlace);
    ASSERT_TRUE(writer.write(std::string_view("new")));
    ASSERT_TRUE(writer.commit());

    struct stat after {};
    ASSERT_EQ(stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(readFileBytes(target), "new");
    EXPECT_EQ(readFileBytes(other), "new");
    // Neither the staging file nor the copy of the old content stays.
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 2);
}

TEST(AtomicFileWriter, AWritableFileInAnUnwritableDirectoryIsSavedInPlace) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    test::TempHome home;
    auto directory = home.path() / "locked";
    fs::create_directory(directory);
    auto target = directory / "notes.txt";
    writeFileBytes(target, "old");
    ASSERT_EQ(chmod(directory.c_str(), 0555), 0);
    std::string error;
    bool written = writeFileAtomically(target.string(), "new text", &error);
    // A file that is locked as well keeps its text, and nothing is left behind anywhere.
    chmod(target.c_str(), 0400);
    std::string lockedError;
    bool lockedWritten = writeFileAtomically(target.string(), "other", &lockedError);
    chmod(directory.c_str(), 0755);
    EXPECT_TRUE(written) << error;
    EXPECT_FALSE(lockedWritten);
    EXPECT_FALSE(lockedError.empty());
    EXPECT_EQ(readFileBytes(target), "new text");
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);
}

TEST(AtomicFileWriter, TemporaryFilesOfKilledSavesGoOnTheNextSave) {
    test::TempHome home;
    auto target = home.path() / "big.dat";
    writeFileBytes(target, "old");
    const std::string prefix = temporaryPrefix("big.dat");
    EXPECT_EQ(prefix, ".big.dat.vexa-");
    auto abandoned = home.path() / (prefix + "a1B2c3");
    auto inUse = home.path() / (prefix + "d4E5f6");
    auto oldCopy = home.path() / (prefix + "old-g7H8i9");
    auto otherFile = home.path() / (temporaryPrefix("small.dat") + "j0K1l2");
    for (const auto& path : {abandoned, inUse, oldCopy, otherFile}) {
        writeFileBytes(path, "left over");
    }
    // Another save still writing holds a lock on its temporary file.
    int fd = ::open(inUse.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);

    ASSERT_TRUE(writeFileAtomically(target.string(), "new"));
    ::close(fd);
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(inUse));
    EXPECT_TRUE(fs::exists(oldCopy));
    EXPECT_TRUE(fs::exists(otherFile));
    EXPECT_EQ(readFileBytes(target), "new");
}

TEST(AtomicFileWriter, AFailedInPlaceRewriteThatCannotBeUndoneNamesTheOldCopy) {
    test::TempHome home;
    const auto target = home.path() / "linked.txt";
    const std::string oldText(8192, 'o');
    writeFileBytes(target, oldText);
    fs::create_hard_link(target, home.path() / "other.txt");

    AtomicFileWriter writer;
    ASSERT_TRUE(writer.open(target.string()));
    ASSERT_EQ(writer.method(), ReplaceMethod::InPlace);
    ASSERT_TRUE(writer.write(std::string(8192, 'n')));
    // From the rewrite on no file may grow past 100 bytes: neither the new text nor the old fits.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    writer.setBeforeRewrite([&] {
        rlimit small = before;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
    });
    const bool committed = writer.commit();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(committed);
    ASSERT_FALSE(writer.keptOldCopy().empty());
    EXPECT_EQ(readFileBytes(writer.keptOldCopy()), oldText);
    EXPECT_NE(writer.errorText().find(writer.keptOldCopy()), std::string::npos) << writer.errorText();
}

TEST(AtomicFileWriter, SavesOfOneFileAtOnceAllSucceed) {
    // Each save cleans up the unlocked temporary files of the target; a staging file that could be
    // seen before it is locked would be taken for abandoned and removed under its writer.
    test::TempHome home;
    const auto target = home.path() / "shared.txt";
    writeFileBytes(target, "start");
    constexpr int kWriters = 4;
    constexpr int kSaves = 300;
    std::vector<int> failures(kWriters, 0);
    {
        std::vector<std::jthread> writers;
        for (int w = 0; w < kWriters; ++w) {
            writers.emplace_back([&, w] {
                const std::string content = "writer " + std::to_string(w);
                for (int i = 0; i < kSaves; ++i) {
                    if (!writeFileAtomically(target.string(), content)) {
                        ++failures[static_cast<std::size_t>(w)];
                    }
                }
            });
        }
    }
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(failures[static_cast<std::size_t>(w)], 0) << "writer " << w;
    }
    EXPECT_EQ(readFileBytes(target).substr(0, 7), "writer ");
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace vexa::platform
