// The help file reader against files built by the fixture writer, whole and damaged.
#include "aids/HelpFile.h"

#include <gtest/gtest.h>

#include "HelpFileWriter.h"

namespace vexa::aids {
namespace {

using testing::HelpFileSpec;
using testing::HelpFileWriter;

HelpFileContents read(const HelpFileSpec& spec) {
    std::vector<uint8_t> bytes = HelpFileWriter::build(spec);
    return readHelpFile(bytes);
}

TEST(HelpFile, ReadsTitleAndKeywordsOfWellFormedFiles) {
    struct Case {
        const char* name;
        HelpFileSpec spec;
        std::vector<std::string> keywords;
    };
    HelpFileSpec twoLeaves;
    twoLeaves.keywordPages = {{"abs", "", "atoi"}, {"printf", "puts"}};
    HelpFileSpec bigPages;
    bigPages.keywordPageSize = 4096;
    HelpFileSpec indexFirst;
    indexFirst.indexPageFirst = true;
    indexFirst.keywordPages = {{"alpha"}, {"beta"}};
    HelpFileSpec plainNames;
    plainNames.systemName = "SYSTEM";
    plainNames.keywordName = "KWBTREE";
    HelpFileSpec oldTitle;
    oldTitle.systemMinor = 15;
    HelpFileSpec longDirectory;
    longDirectory.directoryEntriesPerPage = 2;
    longDirectory.otherFiles = {"|TOPIC", "|FONT", "|Phrases", "|CONTEXT", "|TTLBTREE"};
    const Case cases[] = {
        {"one leaf", HelpFileSpec{}, {"malloc", "printf"}},
        {"two leaves, empty keyword skipped", twoLeaves, {"abs", "atoi", "printf", "puts"}},
        {"4096-byte pages", bigPages, {"malloc", "printf"}},
        {"leaves after an index page", indexFirst, {"alpha", "beta"}},
        {"names without the bar", plainNames, {"malloc", "printf"}},
        {"title right after the system header", oldTitle, {"malloc", "printf"}},
        {"directory over several pages", longDirectory, {"malloc", "printf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HelpFileContents contents = read(c.spec);
        EXPECT_EQ(contents.status, HelpIndexStatus::Done);
        EXPECT_EQ(contents.title, "Library Reference");
        EXPECT_EQ(contents.keywords, c.keywords);
    }
}

TEST(HelpFile, RefusesWhatIsNotAHelpFileItCanRead) {
    struct Case {
        const char* name;
        HelpFileSpec spec;
        HelpIndexStatus status;
    };
    HelpFileSpec badMagic;
    badMagic.magic = 0x00035F3E;
    HelpFileSpec noKeywords;
    noKeywords.withKeywords = false;
    HelpFileSpec smallPages;
    smallPages.keywordPageSize = 1024;
    HelpFileSpec noSystem;
    noSystem.systemName = "|SYSTEMS";
    HelpFileSpec badSystem;
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
        HelpFileContents contents = read(c.spec);
        EXPECT_EQ(contents.status, c.status);
        EXPECT_TRUE(contents.keywords.empty());
    }
}

TEST(HelpFile, EveryTruncationIsRefusedWithoutReadingPastTheEnd) {
    HelpFileSpec spec;
    spec.keywordPages = {{"abs", "atoi"}, {"printf"}};
    std::vector<uint8_t> bytes = HelpFileWriter::build(spec);
    // Cutting the file anywhere before its last keyword page is complete leaves a tree that
    // points past the end; the reader says so instead of reading on.
    for (std::size_t size = 0; size + spec.keywordPageSize < bytes.size(); size += 7) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        HelpFileContents contents = readHelpFile(cut);
        ASSERT_NE(contents.status, HelpIndexStatus::Done) << size;
    }
}

TEST(HelpFile, LinkedPagesThatLoopEnd) {
    HelpFileSpec spec;
    spec.keywordPages = {{"abs"}, {"printf"}};
    std::vector<uint8_t> bytes = HelpFileWriter::build(spec);
    // Point the second leaf's next link back at the first: the walk stops at the page count.
    std::size_t keywordTree = bytes.size() - 38 - 9 - 2 * spec.keywordPageSize;
    std::size_t secondLeaf = keywordTree + 9 + 38 + spec.keywordPageSize;
    bytes[secondLeaf + 6] = 0;
    bytes[secondLeaf + 7] = 0;
    EXPECT_EQ(readHelpFile(bytes).status, HelpIndexStatus::UnknownFormat);
}

TEST(HelpFile, AKeywordRunningOffItsPageIsRefused) {
    HelpFileSpec spec;
    spec.keywordPages = {{std::string(2040, 'k')}};
    EXPECT_EQ(read(spec).status, HelpIndexStatus::UnknownFormat);
}

TEST(HelpFile, ADamagedDirectoryEntryIsADirectoryError) {
    HelpFileSpec spec;
    spec.otherFiles = {std::string(60, 'x')};
    EXPECT_EQ(read(spec).status, HelpIndexStatus::DirectoryError);
}

} // namespace
} // namespace vexa::aids
