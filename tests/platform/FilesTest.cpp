// The files port: lexical full paths, wildcard search, access tests, file facts and directories.
#include "platform/Files.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Environment.h"
#include "support/TempHome.h"

namespace vexa::platform {
namespace {

namespace fs = std::filesystem;
using test::writeFileBytes;

// Runs a test inside a directory and returns to the previous one afterwards.
class DirectoryGuard {
public:
    explicit DirectoryGuard(const fs::path& directory) : m_previous(currentDirectory().value_or("/")) {
        EXPECT_TRUE(setCurrentDirectory(directory.string()));
    }
    ~DirectoryGuard() { (void)setCurrentDirectory(m_previous); }

private:
    std::string m_previous;
};

bool runningAsRoot() {
    return ::geteuid() == 0;
}

// Sets a file's modification time to a moment in nanoseconds since the epoch.
void setModified(const fs::path& file, int64_t nanoseconds) {
    std::chrono::sys_time<std::chrono::nanoseconds> moment{std::chrono::nanoseconds(nanoseconds)};
    fs::last_write_time(file, std::chrono::file_clock::from_sys(moment));
}

struct FullPathCase {
    const char* base;
    const char* path;
    const char* expected;
};

TEST(FullPath, ResolvesTextually) {
    constexpr FullPathCase kCases[] = {
        {"/base", "a.c", "/base/a.c"},
        {"/base/dir", "../x.c", "/base/x.c"},
        {"/base/dir", "./a/../b//c/", "/base/dir/b/c"},
        {"/base", "/abs/./p.h", "/abs/p.h"},
        {"/", "..", "/"},
        {"/a", "../../../b", "/b"},
        {"/base", "", "/base"},
        {"/base/", "name with spaces.txt", "/base/name with spaces.txt"},
        {"/base", "...", "/base/..."},
    };
    for (const FullPathCase& c : kCases) {
        EXPECT_EQ(fullPathFrom(c.base, c.path), c.expected) << c.base << " + " << c.path;
    }
}

TEST(FullPath, RelativePathsUseTheCurrentDirectoryAndNeedNotExist) {
    test::TempHome home;
    auto real = fs::canonical(home.path());
    DirectoryGuard inside(real);
    EXPECT_EQ(fullPath("missing.c"), (real / "missing.c").string());
    EXPECT_EQ(fullPath("sub/../b.c"), (real / "b.c").string());
    EXPECT_EQ(fullPath("/x//y"), "/x/y");
    EXPECT_FALSE(fullPath("").has_value());
}

TEST(FullPath, CanonicalPathFollowsLinksOfExistingFilesOnly) {
    test::TempHome home;
    auto real = fs::canonical(home.path());
    writeFileBytes(real / "target.c", "x");
    fs::create_symlink("target.c", real / "link.c");
    EXPECT_EQ(canonicalPath((real / "link.c").string()), (real / "target.c").string());
    EXPECT_FALSE(canonicalPath((real / "missing.c").string()).has_value());
}

class FindFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::canonical(m_home.path());
        for (const char* name : {"a.c", "b.c", "c.h", ".hidden.c", "README", "ab.cpp", "x[1].c"}) {
            writeFileBytes(m_dir / name, name);
        }
        fs::create_directory(m_dir / "dir.c");
        fs::create_symlink("a.c", m_dir / "alias.c");
        fs::create_symlink("nowhere", m_dir / "dangling.c");
    }

    std::vector<std::string> names(const std::string& pattern) const {
        std::vector<std::string> result;
        for (const FoundFile& f : findFiles(pattern)) {
            result.push_back(f.name);
        }
        return result;
    }

    test::TempHome m_home;
    fs::path m_dir;
};

struct FindCase {
    const char* pattern;
    std::vector<std::string> expected;
};

TEST_F(FindFiles, MatchesOrdinaryFilesByPattern) {
    const FindCase kCases[] = {
        // A link to a file counts as the file; directories and dangling links never match.
        {"*.c", {"a.c", "alias.c", "b.c", "x[1].c"}},
        {"?.c", {"a.c", "b.c"}},
        // Brackets are ordinary characters, as in the desktop's search.
        {"[ab].c*", {}},
        {"x[1].*", {"x[1].c"}},
        {"*.*", {".hidden.c", "README", "a.c", "ab.cpp", "alias.c", "b.c", "c.h", "x[1].c"}},
        {".*", {".hidden.c"}},
        {"README", {"README"}},
        {"readme", {}},
        {"*.pas", {}},
    };
    for (const FindCase& c : kCases) {
        EXPECT_EQ(names((m_dir / c.pattern).string()), c.expected) << c.pattern;
    }
}

TEST_F(FindFiles, ReportsSizeAndTimeAndSearchesTheCurrentDirectoryWithoutDirectoryPart) {
    DirectoryGuard inside(m_dir);
    auto found = findFiles("c.*");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "c.h");
    EXPECT_EQ(found[0].size, 3u);
    EXPECT_EQ(found[0].modified, modificationTime((m_dir / "c.h").string()));
}

TEST_F(FindFiles, MissingDirectoryOrEmptyNameFindsNothing) {
    EXPECT_TRUE(findFiles((m_dir / "nope" / "*.c").string()).empty());
    EXPECT_TRUE(findFiles((m_dir / "").string() + "/").empty());
}

struct WildcardCase {
    const char* path;
    bool expected;
};

TEST(Wildcards, OnlyTheNamePartCounts) {
    constexpr WildcardCase kCases[] = {
        {"plain.c", false}, {"*.c", true},      {"dir/a?.c", true},
        {"d*r/a.c", false}, {"[abc].h", false}, {"", false},
    };
    for (const WildcardCase& c : kCases) {
        EXPECT_EQ(hasWildcard(c.path), c.expected) << c.path;
    }
}

struct MatchCase {
    const char* pattern;
    const char* name;
    bool expected;
};

TEST(Wildcards, StarAndQuestionMarkMatchWholeNames) {
    constexpr MatchCase kCases[] = {
        {"*", "", true},
        {"*", "anything", true},
        {"", "", true},
        {"", "a", false},
        {"?", "", false},
        {"?", "a", true},
        {"a*b*c", "axxbyyc", true},
        {"a*b*c", "axxbyyd", false},
        {"*.c", "a.c.c", true},
        {"*.c", "a.cpp", false},
        {"*ab", "aab", true},
        {"**a", "ba", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*.C", "a.c", false},
        {"[a].c", "[a].c", true},
        {"[a].c", "a.c", false},
        {"*x*y*z*", "xxyyzz", true},
        {"*x*y*z*", "zzyyxx", false},
    };
    for (const MatchCase& c : kCases) {
        EXPECT_EQ(matchesWildcard(c.pattern, c.name), c.expected) << c.pattern << " vs " << c.name;
    }
}

struct SplitCase {
    const char* path;
    const char* directory;
    const char* name;
};

TEST(PathParts, SplitAtTheLastSeparator) {
    constexpr SplitCase kCases[] = {
        {"/a/b/c.txt", "/a/b/", "c.txt"},
        {"c.txt", "", "c.txt"},
        {"/c.txt", "/", "c.txt"},
        {"dir/", "dir/", ""},
        {"", "", ""},
    };
    for (const SplitCase& c : kCases) {
        EXPECT_EQ(directoryPart(c.path), c.directory) << c.path;
        EXPECT_EQ(namePart(c.path), c.name) << c.path;
    }
}

TEST(FileFacts, KindSizeAndExactModificationTime) {
    test::TempHome home;
    auto file = home.path() / "data.bin";
    writeFileBytes(file, std::string(1234, 'x'));
    setModified(file, 1700000000LL * 1'000'000'000 + 123456789);

    auto info = fileInfo(file.string());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->kind, FileKind::Regular);
    EXPECT_EQ(info->size, 1234u);
    EXPECT_EQ(info->modified, 1700000000LL * 1'000'000'000 + 123456789);
    EXPECT_EQ(modificationTime(file.string()), info->modified);
    EXPECT_EQ(fileSize(file.string()), 1234u);
    EXPECT_TRUE(isRegularFile(file.string()));
    EXPECT_FALSE(isDirectory(file.string()));

    EXPECT_EQ(fileInfo(home.path().string())->kind, FileKind::Directory);
    EXPECT_TRUE(isDirectory(home.path().string()));
    EXPECT_EQ(fileInfo("/dev/null")->kind, FileKind::Other);

    std::string missing = (home.path() / "missing").string();
    EXPECT_FALSE(fileInfo(missing).has_value());
    EXPECT_FALSE(modificationTime(missing).has_value());
    EXPECT_FALSE(fileSize(missing).has_value());
    EXPECT_FALSE(isRegularFile(missing));
    EXPECT_FALSE(fileInfo("").has_value());
}

TEST(FileAccess, FollowsThePermissionBits) {
    test::TempHome home;
    auto file = home.path() / "locked.txt";
    writeFileBytes(file, "x");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    std::string path = file.string();
    EXPECT_TRUE(canAccess(path, Access::Exists));
    EXPECT_TRUE(canAccess(path, Access::Read));
    EXPECT_FALSE(canAccess(path, Access::Execute));
    if (!runningAsRoot()) {
        EXPECT_FALSE(canAccess(path, Access::Write));
        EXPECT_FALSE(canAccess(path, Access::ReadWrite));
    }
    ASSERT_EQ(::chmod(file.c_str(), 0755), 0);
    EXPECT_TRUE(canAccess(path, Access::ReadWrite));
    EXPECT_TRUE(canAccess(path, Access::Execute));
    for (Access access : {Access::Exists, Access::Read, Access::Write}) {
        EXPECT_FALSE(canAccess((home.path() / "missing").string(), access));
        EXPECT_FALSE(canAccess("", access));
    }
}

TEST(FileTouch, MovesTheTimeToNowAndKeepsTheContent) {
    test::TempHome home;
    auto file = home.path() / "old.c";
    writeFileBytes(file, "int x;\n");
    setModified(file, 1000000000LL * 1'000'000'000);
    auto before = std::chrono::system_clock::now();

    ASSERT_TRUE(touchFile(file.string()));
    auto modified = modificationTime(file.string());
    ASSERT_TRUE(modified.has_value());
    auto sinceEpoch = std::chrono::duration_cast<std::chrono::nanoseconds>(before.time_since_epoch()).count();
    // Coarse file-system clocks may lag the system clock by a tick.
    EXPECT_GE(*modified, sinceEpoch - 50'000'000);
    EXPECT_EQ(test::readFileBytes(file), "int x;\n");

    // An empty file can be touched too: nothing is rewritten.
    auto empty = home.path() / "empty.c";
    writeFileBytes(empty, "");
    EXPECT_TRUE(touchFile(empty.string()));

    std::string why;
    EXPECT_FALSE(touchFile((home.path() / "missing.c").string(), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(touchFile(""));
}

TEST(FileRemoval, RemovesFilesButNotDirectoriesAndReportsWhy) {
    test::TempHome home;
    auto file = home.path() / "gone.txt";
    writeFileBytes(file, "x");
    ASSERT_TRUE(removeFile(file.string()));
    EXPECT_FALSE(fs::exists(file));

    std::string why;
    EXPECT_FALSE(removeFile(file.string(), &why));
    EXPECT_FALSE(why.empty());

    fs::create_directory(home.path() / "dir");
    why.clear();
    EXPECT_FALSE(removeFile((home.path() / "dir").string(), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_TRUE(fs::is_directory(home.path() / "dir"));
}

TEST(Directories, MakeOneOrAWholeChain) {
    test::TempHome home;
    std::string one = (home.path() / "vConfig").string();
    EXPECT_TRUE(makeDirectory(one));
    EXPECT_TRUE(fs::is_directory(one));
    EXPECT_TRUE(makeDirectory(one)) << "an existing directory is fine";

    auto file = home.path() / "plain";
    writeFileBytes(file, "x");
    std::string why;
    EXPECT_FALSE(makeDirectory(file.string(), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(makeDirectory((home.path() / "a" / "b").string()));

    std::string chain = (home.path() / "a" / "b" / "c").string();
    EXPECT_TRUE(makeDirectories(chain));
    EXPECT_TRUE(fs::is_directory(chain));
    EXPECT_TRUE(makeDirectories(chain + "/"));
    EXPECT_FALSE(makeDirectories((file / "below").string()));
    EXPECT_FALSE(makeDirectories(""));
}

TEST(Directories, PrivateOnesAreNewOwnerOnlyAndRemovedWhenEmpty) {
    test::TempHome home;
    const std::string parent = (home.path() / "runtime" / "vexa").string();
    const std::optional<std::string> first = makePrivateDirectory(parent, "run-");
    const std::optional<std::string> second = makePrivateDirectory(parent + "/", "run-");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(first->rfind(parent + "/run-", 0), 0u) << *first;
    EXPECT_EQ(first->back(), '/');
    struct stat info {};
    ASSERT_EQ(::stat(first->c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    writeFileBytes(*first + "held", "x");
    std::string why;
    EXPECT_FALSE(removeDirectory(*first, &why)) << "a directory that holds a file stays";
    EXPECT_FALSE(why.empty());
    EXPECT_TRUE(removeDirectory(*second));
    EXPECT_FALSE(fs::exists(*second));

    auto file = home.path() / "plain";
    writeFileBytes(file, "x");
    EXPECT_FALSE(makePrivateDirectory((file / "below").string(), "run-", &why));
}

} // namespace
} // namespace vexa::platform
