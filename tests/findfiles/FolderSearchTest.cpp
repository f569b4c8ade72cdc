// The folder search over a fixture tree: ignore files, hidden folders, binary and unreadable
// files, symbolic links, encodings and file patterns.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "findfiles/FolderSearch.h"
#include "support/TempHome.h"

namespace vexa::findfiles {
namespace {

namespace fs = std::filesystem;

class FolderSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = home.path() / "tree";
        write(".gitignore", "*.log\n!keep.log\n/anchored.txt\nbuild/\n");
        write("a.c", "int needle;\nint other;\n");
        write("anchored.txt", "needle\n");
        write("sub/anchored.txt", "needle here\n");
        write("sub/.gitignore", "!*.log\nlocal.c\n");
        write("sub/local.c", "needle\n");
        write("sub/sub.log", "needle in a log\n");
        write("drop.log", "needle\n");
        write("keep.log", "needle kept\n");
        write("build/out.c", "needle\n");
        write("sub/build/out.c", "needle\n");
        write(".hidden/h.c", "needle\n");
        write(".git/config", "needle\n");
        write(".dotfile", "needle dot\n");
        write("bin.dat", std::string("needle\0binary", 13));
        write("utf8.txt", "caf\xC3\xA9 needle\n");
        write("latin.txt", "caf\xE9 needle\n");
        write("secret.c", "needle\n");
        fs::permissions(root / "secret.c", fs::perms::none);
        fs::create_directories(root / "loop");
        fs::create_symlink("..", root / "loop" / "up");
        fs::create_symlink("a.c", root / "link.c");
    }
    void TearDown() override { fs::permissions(root / "secret.c", fs::perms::owner_all); }

    // The superuser reads a file whatever its permissions say.
    static bool readsEverything() { return geteuid() == 0; }

    void write(const std::string& relative, const std::string& bytes) {
        fs::create_directories((root / relative).parent_path());
        test::writeFileBytes(root / relative, bytes);
    }

    // The search's results as "path:line: text" lines, and its totals.
    std::vector<std::string> search(FolderSearchRequest request, SearchTotals* totalsOut = nullptr) {
        request.folder = root.string();
        FolderSearch search(std::move(request));
        EXPECT_TRUE(search.usable()) << search.error();
        std::vector<std::string> lines;
        std::stop_source never;
        const SearchTotals totals = search.run(never.get_token(), [&](FileOutcome&& outcome) {
            for (const ResultLine& line : outcome.lines) {
                lines.push_back(outcome.relativePath + ":" + std::to_string(line.line) + ": " + line.text);
            }
        });
        if (totalsOut != nullptr) {
            *totalsOut = totals;
        }
        return lines;
    }

    test::TempHome home;
    fs::path root;
};

TEST_F(FolderSearchTest, FollowsTheIgnoreFilesAndSkipsWhatCannotBeSearched) {
    FolderSearchRequest request;
    request.findText = "needle";
    request.options.caseCheck = true;
    SearchTotals totals;
    const std::vector<std::string> lines = search(request, &totals);
    // The files of a folder in name order, then its subfolders.
    // clang-format off
    std::vector<std::string> expected = {
        ".dotfile:1: needle dot",
        "a.c:1: int needle;",
        "keep.log:1: needle kept",
        "latin.txt:1: caf\xC3\xA9 needle", // shown in UTF-8 whatever the file's encoding
        "utf8.txt:1: caf\xC3\xA9 needle",
        "sub/anchored.txt:1: needle here",
        "sub/sub.log:1: needle in a log",
    }; // link.c, a link to a.c, is not followed
    // clang-format on
    if (readsEverything()) {
        expected.insert(expected.begin() + 4, "secret.c:1: needle");
    }
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(totals.binaryFiles, 1u);
    EXPECT_EQ(totals.matchingLines, expected.size());
    if (!readsEverything()) {
        ASSERT_EQ(totals.unreadable.size(), 1u);
        EXPECT_TRUE(totals.unreadable[0].starts_with("secret.c: ")) << totals.unreadable[0];
    }
    EXPECT_FALSE(totals.stopped);
}

TEST_F(FolderSearchTest, OptionsWidenAndNarrowTheFiles) {
    FolderSearchRequest request;
    request.findText = "needle";
    request.useIgnoreFiles = false;
    request.skipHiddenFolders = false;
    request.filePatterns = splitFilePatterns(" *.c ; Makefile;");
    std::vector<std::string> top = {"a.c:1: int needle;"};
    if (readsEverything()) {
        top.push_back("secret.c:1: needle");
    }
    std::vector<std::string> expected = top;
    for (const char* line : {".hidden/h.c:1: needle", "build/out.c:1: needle", "sub/local.c:1: needle",
                             "sub/build/out.c:1: needle"}) {
        expected.push_back(line);
    }
    EXPECT_EQ(search(request), expected);
    request.subfolders = false;
    EXPECT_EQ(search(request), top);
}

TEST_F(FolderSearchTest, LeavesOutFilesSearchedElsewhereAndFindsCharacters) {
    FolderSearchRequest request;
    request.findText = "caf\xC3\xA9";
    request.options.caseCheck = true;
    request.excludedFiles = {(root / "utf8.txt").string()};
    EXPECT_EQ(search(request), (std::vector<std::string>{"latin.txt:1: caf\xC3\xA9 needle"}));
}

TEST_F(FolderSearchTest, StopsWhenAsked) {
    FolderSearchRequest request;
    request.findText = "needle";
    request.folder = root.string();
    FolderSearch folderSearch(request);
    std::stop_source stop;
    stop.request_stop();
    std::size_t delivered = 0;
    const SearchTotals totals = folderSearch.run(stop.get_token(), [&](FileOutcome&&) { ++delivered; });
    EXPECT_TRUE(totals.stopped);
    EXPECT_EQ(delivered, 0u);
}

// A large tree shows its first results while its last folders are still unread: a file made in
// the last folder while the first results are handed on is found.
TEST(FolderSearch, TheFirstResultsArriveBeforeTheWalkReadsTheLastFolders) {
    test::TempHome home;
    const fs::path root = home.path() / "tree";
    fs::create_directories(root / "a");
    fs::create_directories(root / "z");
    for (int i = 0; i < 600; ++i) {
        test::writeFileBytes(root / "a" / ("f" + std::to_string(1000 + i) + ".c"), "needle\n");
    }
    FolderSearchRequest request;
    request.folder = root.string();
    request.findText = "needle";
    FolderSearch folderSearch(request);
    std::vector<std::string> found;
    std::stop_source never;
    (void)folderSearch.run(never.get_token(), [&](FileOutcome&& outcome) {
        if (found.empty()) {
            test::writeFileBytes(root / "z" / "late.c", "needle\n");
        }
        found.push_back(outcome.relativePath);
    });
    ASSERT_EQ(found.size(), 601u);
    EXPECT_EQ(found.front(), "a/f1000.c");
    EXPECT_EQ(found.back(), "z/late.c");
}

TEST(FolderSearch, RefusesAMissingFolderOrABrokenPattern) {
    FolderSearchRequest request;
    request.folder = "/nonexistent/folder";
    request.findText = "x";
    EXPECT_FALSE(FolderSearch(request).usable());
    request.folder = "/";
    request.findText = "(x";
    request.options.regularExpression = true;
    EXPECT_FALSE(FolderSearch(request).usable());
}

} // namespace
} // namespace vexa::findfiles
