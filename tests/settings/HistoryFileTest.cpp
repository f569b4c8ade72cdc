// The dialog history files byte for byte, and how a text box enters its texts.
#include "settings/HistoryFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "support/TempHome.h"

namespace vexa {
namespace {

using namespace std::string_literals;

class HistoryFileTest : public ::testing::Test {
protected:
    test::TempHome m_home;
    HistoryFile m_history;
};

TEST_F(HistoryFileTest, BytesAtTheirOffsets) {
    m_history.enter("ab");
    m_history.enter("x");
    const std::string expected = "\x02\x02"
                                 "\x02"
                                 "ab\0"
                                 "\x01"
                                 "x\0"s;
    EXPECT_EQ(m_history.serialize(), expected);
    const std::string path = m_home.file("VexaFnd.his");
    ASSERT_TRUE(m_history.save(path));
    EXPECT_EQ(test::readFileBytes(path), expected);
}

TEST_F(HistoryFileTest, EmptyHistoryIsTwoZeroBytes) {
    EXPECT_EQ(m_history.serialize(), "\0\0"s);
}

TEST_F(HistoryFileTest, EnteringTexts) {
    struct Step {
        const char* text;
        std::vector<std::string> entries;
        std::size_t replaceIndex;
        int selected; // -1: nothing selected
    };
    const Step steps[] = {
        {"one", {"one"}, 1, 0},
        {"two", {"one", "two"}, 2, 1},
        {"one", {"one", "two"}, 2, 0}, // an equal entry is only selected
        {"three", {"one", "two", "three"}, 0, 2},
        {"four", {"four", "two", "three"}, 1, 0},
        {"five", {"four", "five", "three"}, 2, 1},
        {"", {"four", "five", "three"}, 2, -1},
        {"six", {"four", "five", "six"}, 0, 2},
        {"seven", {"seven", "five", "six"}, 1, 0},
    };
    for (const Step& step : steps) {
        m_history.enter(step.text);
        EXPECT_EQ(m_history.entries(), step.entries) << step.text;
        EXPECT_EQ(m_history.replaceIndex(), step.replaceIndex) << step.text;
        if (step.selected < 0) {
            EXPECT_FALSE(m_history.selected().has_value()) << step.text;
        } else {
            EXPECT_EQ(m_history.selected(), static_cast<std::size_t>(step.selected)) << step.text;
        }
    }
    EXPECT_EQ(m_history.serialize(), "\x01\x03\x05seven\0\x04"
                                     "five\0\x03six\0"s);
}

TEST_F(HistoryFileTest, RoundTripThroughTheFile) {
    for (const char* text : {"alpha", "be\ta", "gamma", "delta"}) {
        m_history.enter(text);
    }
    const std::string path = m_home.file("VexaRep.his");
    ASSERT_TRUE(m_history.save(path));
    HistoryFile reread;
    EXPECT_TRUE(reread.load(path));
    EXPECT_EQ(reread.entries(), m_history.entries());
    EXPECT_EQ(reread.replaceIndex(), 1u);
    // The next new entry goes where the saved index says.
    reread.enter("epsilon");
    EXPECT_EQ(reread.entries(), (std::vector<std::string>{"delta", "epsilon", "gamma"}));
}

TEST_F(HistoryFileTest, LongEntryIsCutTo254Bytes) {
    m_history.enter(std::string(300, 'z'));
    const std::string bytes = m_history.serialize();
    ASSERT_EQ(bytes.size(), 2u + 1u + 254u + 1u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 254u);
    EXPECT_EQ(bytes.back(), '\0');
}

TEST_F(HistoryFileTest, MissingFileIsAnEmptyHistory) {
    EXPECT_TRUE(m_history.load(m_home.file("none.his")));
    EXPECT_TRUE(m_history.entries().empty());
    EXPECT_EQ(m_history.replaceIndex(), 0u);
}

TEST_F(HistoryFileTest, DamagedFiles) {
    struct Case {
        const char* name;
        std::string bytes;
        bool whole;
        std::vector<std::string> entries;
        std::size_t replaceIndex;
    };
    const Case cases[] = {
        {"one byte", "\x01"s, false, {}, 0},
        {"index out of range", "\x07\x01\x01q\0"s, false, {"q"}, 0},
        {"count above three", "\x01\x09\x01q\0\x01r\0\x01s\0\x01t\0"s, false, {"q", "r", "s"}, 1},
        {"entry cut short", "\x00\x02\x01q\0\x05rr"s, false, {"q"}, 0},
        {"missing terminator", "\x00\x01\x01q"s, false, {}, 0},
        {"terminator not NUL", "\x02\x01\x01qX"s, false, {"q"}, 2},
        {"length above 254", "\x00\x01\xff"s + std::string(256, 'a'), false, {}, 0},
        {"sound", "\x02\x01\x01q\0"s, true, {"q"}, 2},
    };
    for (const Case& c : cases) {
        HistoryFile history;
        EXPECT_EQ(history.parse(c.bytes), c.whole) << c.name;
        EXPECT_EQ(history.entries(), c.entries) << c.name;
        EXPECT_EQ(history.replaceIndex(), c.replaceIndex) << c.name;
    }
}

TEST_F(HistoryFileTest, FailedWriteKeepsTheOldFile) {
    const std::string directory = m_home.file("ro");
    std::filesystem::create_directory(directory);
    const std::string path = directory + "/VexaFnd.his";
    m_history.enter("old");
    ASSERT_TRUE(m_history.save(path));
    // Neither the directory (no rename) nor the file (no rewrite in place) may be written.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    std::filesystem::permissions(directory,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    m_history.enter("new");
    const bool saved = m_history.save(path);
    std::filesystem::permissions(directory, std::filesystem::perms::owner_all);
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only directories";
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(test::readFileBytes(path), "\x01\x01\x03old\0"s);
}

} // namespace
} // namespace vexa
