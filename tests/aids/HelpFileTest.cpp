// The help file reader against files built by the fixture writer, whole and damaged.
#include "aids/HelpFile.h"

#include <gtest/gtest.h>

#include "HelpFileWriter.h"

namespace vexa::aids {
namespace {

using testing::HelpFileLayout;
using testing::HelpFileWriter;

HelpFileContents read(const HelpFileLayout& layout) {
    std::vector<uint8_t> bytes = HelpFileWriter::build(layout);
    return readHelpFile(bytes);
}

TEST(HelpFile, ReadsTitleAndKeywordsOfWellFormedFiles) {
    struct Case {
        const char* name;
        HelpFileLayout layout;
        std::vector<std::string> keywords;
    };
    HelpFileLayout twoLeaves;
    twoLeaves.keywordPages = {{"abs", "", "atoi"}, {"printf", "puts"}};
    HelpFileLayout bigPages;
    bigPages.keywordPageSize = 4096;
    HelpFileLayout indexFirst;
    indexFirst.indexPageFirst = true;
    indexFirst.keywordPages = {{"alpha"}, {"beta"}};
    HelpFileLayout plainNames;
    plainNames.systemName = "SYSTEM";
    plainNames.keywordName = "KWBTREE";
    HelpFileLayout oldTitle;
    oldTitle.systemMinor = 15;
    HelpFileLayout longDirectory;
    longDirectory.directoryEntriesPerPage = 2;
    longDirectory.otherFiles = {"|TOPIC", "|FONT", "|Phrases", "|CONTEXT", "|TTLBTREE"};
    const Case cases[] = {
        {"one leaf", HelpFileLayout{}, {"malloc", "printf"}},
        {"two leaves, empty keyword skipped", twoLeaves, {"abs", "atoi", "printf", "puts"}},
        {"4096-byte pages", bigPages, {"malloc", "printf"}},
        {"leaves after an index page", indexFirst, {"alpha", "beta"}},
        {"names without the bar", plainNames, {"malloc", "printf"}},
        {"title right after the system header", oldTitle, {"malloc", "printf"}},
        {"directory over several pages", longDirectory, {"malloc", "printf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HelpFileContents contents = read(c.layout);
        EXPECT_EQ(contents.status, HelpIndexStatus::Done);
        EXPECT_EQ(contents.title, "Library Reference");
        EXPECT_EQ(contents.keywords, c.keywords);
    }
}

TEST(HelpFile, RefusesWhatIsNotAHelpFileItCanRead) {
    struct Case {
        const char* name;
        HelpFileLayout layout;
        HelpIndexStatus status;
    };
    HelpFileLayout badMagic;
    badMagic.magic = 0x00035F3E;
    HelpFileLayout noKeywords;
    noKeywords.withKeywords = false;
    HelpFileLayout smallPages;
    smallPages.keywordPageSize = 1024;
    HelpFileLayout noSystem;
    noSystem.systemName = "|SYSTEMS";
    HelpFileLayout badSystem;
    badSystem.systemMagic = 0x036D;
    const Case cases[] = {
        {"bad magic", badMagic, HelpIndexStatus::UnknownFormat},
        {"no keyword tree", noKeywords, HelpIndexStatus::NoKeywords},
        {"1024-byte keyword pages", smallPages, HelpIndexStatus::UnknownFormat},
        {"no system file", noSystem, HelpIndexStatus::UnknownFormat},
        {"system magic wrong", badSystem, HelpIndexStatus::UnknownFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HelpFileContents contents = read(c.layout);
        EXPECT_EQ(contents.status, c.status);
        EXPECT_TRUE(contents.keywords.empty());
    }
}

TEST(HelpFile, EveryTruncationIsRefusedWithoutReadingPastTheEnd) {
    HelpFileLayout layout;
    layout.keywordPages = {{"abs", "atoi"}, {"printf"}};
    std::vector<uint8_t> bytes = HelpFileWriter::build(layout);
    // Cutting the file anywhere before its last keyword page is complete leaves a tree that
    // points past the end; the reader says so instead of reading on.
    for (std::size_t size = 0; size + layout.keywordPageSize < bytes.size(); size += 7) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        HelpFileContents contents = readHelpFile(cut);
        ASSERT_NE(contents.status, HelpIndexStatus::Done) << size;
    }
}

TEST(HelpFile, LinkedPagesThatLoopEnd) {
    HelpFileLayout layout;
    layout.keywordPages = {{"abs"}, {"printf"}};
    std::vector<uint8_t> bytes = HelpFileWriter::build(layout);
    // Point the second leaf's next link back at the first: the walk stops at the page count.
    std::size_t keywordTree = bytes.size() - 38 - 9 - 2 * layout.keywordPageSize;
    std::size_t secondLeaf = keywordTree + 9 + 38 + layout.keywordPageSize;
    bytes[secondLeaf + 6] = 0;
    bytes[secondLeaf + 7] = 0;
    EXPECT_EQ(readHelpFile(bytes).status, HelpIndexStatus::UnknownFormat);
}

// A crafted keyword tree that declares more pages than the file holds (here 65,535, with its one
// real page linking to itself) is refused before any page is read; with the pages declared
// honestly, the self-link is found on the second visit.
TEST(HelpFile, DeclaredKeywordPagesMustFitInTheFile) {
    struct Case {
        const char* name;
        uint16_t declaredPages;
        uint16_t next; // the one leaf's next link
        HelpIndexStatus status;
    };
    const Case cases[] = {
        {"honest", 1, 0xFFFF, HelpIndexStatus::Done},
        {"pages past the end", 3, 0xFFFF, HelpIndexStatus::UnknownFormat},
        {"65535 pages and a self-link", 0xFFFF, 0, HelpIndexStatus::UnknownFormat},
        {"a self-link", 1, 0, HelpIndexStatus::UnknownFormat},
    };
    for (const Case& c : cases) {
        HelpFileLayout layout;
        layout.keywordPages = {{"abs", "atoi"}};
        std::vector<uint8_t> bytes = HelpFileWriter::build(layout);
        const std::size_t keywordFile = bytes.size() - 38 - 9 - layout.keywordPageSize;
        const uint32_t used = 38 + uint32_t(c.declaredPages) * layout.keywordPageSize;
        for (int i = 0; i < 4; ++i) {
            bytes[keywordFile + 4 + std::size_t(i)] = uint8_t(used >> (8 * i));
        }
        bytes[keywordFile + 9 + 30] = uint8_t(c.declaredPages);
        bytes[keywordFile + 9 + 31] = uint8_t(c.declaredPages >> 8);
        const std::size_t leaf = keywordFile + 9 + 38;
        bytes[leaf + 6] = uint8_t(c.next);
        bytes[leaf + 7] = uint8_t(c.next >> 8);
        HelpFileContents contents = readHelpFile(bytes);
        EXPECT_EQ(contents.status, c.status) << c.name;
        EXPECT_EQ(contents.keywords.empty(), c.status != HelpIndexStatus::Done) << c.name;
    }
}

TEST(HelpFile, AKeywordRunningOffItsPageIsRefused) {
    HelpFileLayout layout;
    layout.keywordPages = {{std::string(2040, 'k')}};
    EXPECT_EQ(read(layout).status, HelpIndexStatus::UnknownFormat);
}

TEST(HelpFile, ADamagedDirectoryEntryIsADirectoryError) {
    HelpFileLayout layout;
    layout.otherFiles = {std::string(60, 'x')};
    EXPECT_EQ(read(layout).status, HelpIndexStatus::DirectoryError);
}

} // namespace
} // namespace vexa::aids
