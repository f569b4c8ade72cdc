// Building index files from help files and searching them.
#include "aids/HelpIndex.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "HelpFileWriter.h"
#include "support/TempHome.h"

namespace vexa::aids {
namespace {

namespace fs = std::filesystem;
using testing::HelpFileLayout;
using testing::HelpFileWriter;

class HelpIndexTest : public ::testing::Test {
protected:
    HelpIndexTest() {
        fs::create_directories(m_home.path() / "help");
        fs::create_directories(m_home.path() / "install");
        fs::create_directories(m_home.path() / "files");
    }
    std::string helpDirectory() const { return m_home.file("help") + "/"; }
    std::string installDirectory() const { return m_home.file("install") + "/"; }
    std::string writeHelpFile(const std::string& name, const HelpFileLayout& layout) {
        std::vector<uint8_t> bytes = HelpFileWriter::build(layout);
        std::string path = m_home.file("files/" + name);
        test::writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }
    HelpIndexStatus install(const std::string& helpFile) {
        return buildHelpIndex(helpFile, helpIndexPath(helpDirectory(), helpFile));
    }
    HelpSearchResult search(std::string_view keyword) {
        return searchHelpIndexes(helpDirectory(), installDirectory(), keyword);
    }

    test::TempHome m_home;
};

TEST_F(HelpIndexTest, AnIndexHoldsCountFileTitleAndKeywords) {
    HelpFileLayout layout;
    layout.keywordPages = {{"abs", std::string(200, 'k')}, {"printf"}};
    std::string help = writeHelpFile("CLIB.HLP", layout);
    ASSERT_EQ(install(help), HelpIndexStatus::Done);
    EXPECT_EQ(test::readFileBytes(helpDirectory() + "CLIB.ZIX"),
              "00003\n" + help + "\nLibrary Reference\nabs\n" + std::string(179, 'k') + "\nprintf\n");
}

TEST_F(HelpIndexTest, AFailedBuildLeavesNoIndex) {
    HelpFileLayout noKeywords;
    noKeywords.withKeywords = false;
    HelpFileLayout badMagic;
    badMagic.magic = 0;
    struct Case {
        const char* name;
        std::string helpFile;
        HelpIndexStatus status;
    };
    const Case cases[] = {
        {"no keyword tree", writeHelpFile("NOKW.HLP", noKeywords), HelpIndexStatus::NoKeywords},
        {"bad magic", writeHelpFile("BAD.HLP", badMagic), HelpIndexStatus::UnknownFormat},
        {"missing file", m_home.file("files/GONE.HLP"), HelpIndexStatus::CannotOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string index = helpIndexPath(helpDirectory(), c.helpFile);
        test::writeFileBytes(index, "an older index\n");
        EXPECT_EQ(buildHelpIndex(c.helpFile, index), c.status);
        EXPECT_FALSE(fs::exists(index));
    }
    EXPECT_EQ(helpIndexStatusText(HelpIndexStatus::UnknownFormat), "Unknown help file format.");
}

TEST_F(HelpIndexTest, AnUnwritableIndexIsStatusTwo) {
    std::string help = writeHelpFile("CLIB.HLP", HelpFileLayout{});
    EXPECT_EQ(buildHelpIndex(help, m_home.file("no-such-dir/CLIB.ZIX")), HelpIndexStatus::CannotWrite);
}

TEST_F(HelpIndexTest, ANameWithoutDotGetsTheHelpExtension) {
    writeHelpFile("CLIB.HLP", HelpFileLayout{});
    EXPECT_EQ(buildHelpIndex(m_home.file("files/CLIB"), helpDirectory() + "CLIB.ZIX"), HelpIndexStatus::Done);
    EXPECT_EQ(helpFileName("dir.d/NAME"), "dir.d/NAME.HLP");
    EXPECT_EQ(helpIndexPath("/h/", "/x/api.hlp"), "/h/api.ZIX");
}

TEST_F(HelpIndexTest, SearchFindsKeywordsByPrefixIgnoringCase) {
    EXPECT_EQ(search("printf").code, HelpSearchCode::NoIndex);
    std::string clib = writeHelpFile("CLIB.HLP", HelpFileLayout{});
    ASSERT_EQ(install(clib), HelpIndexStatus::Done);
    HelpFileLayout other;
    other.title = "Windows API";
    other.keywordPages = {{"CreateWindow", "PrintDlg"}};
    ASSERT_EQ(install(writeHelpFile("WIN.HLP", other)), HelpIndexStatus::Done);

    struct Case {
        const char* keyword;
        HelpSearchCode code;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {"print", HelpSearchCode::SeveralHits, {"Library Reference", "Windows API"}},
        {"PRINTF", HelpSearchCode::OneHit, {"Library Reference"}},
        {"createw", HelpSearchCode::OneHit, {"Windows API"}},
        {"scanf", HelpSearchCode::NoHit, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        HelpSearchResult result = search(c.keyword);
        EXPECT_EQ(result.code, c.code);
        std::vector<std::string> titles;
        for (const HelpHit& hit : result.hits) {
            titles.push_back(hit.title);
        }
        EXPECT_EQ(titles, c.titles);
    }
    EXPECT_EQ(search("printf").hits.front().helpFile, clib);
}

// The help file's path is kept whole however long: a cut path would name no file, and the next
// search would delete the index.
TEST_F(HelpIndexTest, ALongHelpFilePathIsKeptWhole) {
    const std::string directory = m_home.file("files/" + std::string(200, 'd'));
    fs::create_directories(directory);
    HelpFileLayout layout;
    std::vector<uint8_t> bytes = HelpFileWriter::build(layout);
    const std::string help = directory + "/CLIB.HLP";
    test::writeFileBytes(help, std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(install(help), HelpIndexStatus::Done);
    for (int round = 0; round < 2; ++round) {
        HelpSearchResult result = search("printf");
        ASSERT_EQ(result.code, HelpSearchCode::OneHit);
        EXPECT_EQ(result.hits.front().helpFile, help);
    }
    EXPECT_TRUE(fs::exists(helpDirectory() + "CLIB.ZIX"));
}

// Keywords and index lines are Windows-1252: their letters beyond ASCII compare without regard to
// case too.
TEST_F(HelpIndexTest, LettersBeyondAsciiFoldForTheSearch) {
    HelpFileLayout layout;
    layout.keywordPages = {{"caf\xE9", "\xE9t\xE9"}};
    ASSERT_EQ(install(writeHelpFile("FR.HLP", layout)), HelpIndexStatus::Done);
    const struct {
        const char* keyword;
        HelpSearchCode code;
    } cases[] = {
        {"caf\xE9", HelpSearchCode::OneHit},
        {"CAF\xC9", HelpSearchCode::OneHit},
        {"\xC9T\xC9", HelpSearchCode::OneHit},
        {"cafe", HelpSearchCode::NoHit},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(search(c.keyword).code, c.code) << c.keyword;
    }
}

TEST_F(HelpIndexTest, OnlyTwentyHitsAreKept) {
    for (int i = 0; i < 25; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "LIB%02d.HLP", i);
        ASSERT_EQ(install(writeHelpFile(name, HelpFileLayout{})), HelpIndexStatus::Done);
    }
    HelpSearchResult result = search("printf");
    EXPECT_EQ(result.code, HelpSearchCode::SeveralHits);
    ASSERT_EQ(result.hits.size(), kMaxHelpHits);
    EXPECT_EQ(result.hits.back().helpFile, m_home.file("files/LIB19.HLP"));
}

TEST_F(HelpIndexTest, AnIndexOfADeletedHelpFileIsRemoved) {
    std::string help = writeHelpFile("CLIB.HLP", HelpFileLayout{});
    ASSERT_EQ(install(help), HelpIndexStatus::Done);
    fs::remove(help);
    EXPECT_EQ(search("printf").code, HelpSearchCode::NoHit);
    EXPECT_FALSE(fs::exists(helpDirectory() + "CLIB.ZIX"));
    EXPECT_EQ(search("printf").code, HelpSearchCode::NoIndex);
}

TEST_F(HelpIndexTest, AHelpFileMovedIntoTheInstallDirectoryIsStillFound) {
    std::string help = writeHelpFile("CLIB.HLP", HelpFileLayout{});
    ASSERT_EQ(install(help), HelpIndexStatus::Done);
    fs::rename(help, installDirectory() + "CLIB.HLP");
    HelpSearchResult result = search("malloc");
    ASSERT_EQ(result.code, HelpSearchCode::OneHit);
    EXPECT_EQ(result.hits[0].helpFile, installDirectory() + "CLIB.HLP");
}

} // namespace
} // namespace vexa::aids
