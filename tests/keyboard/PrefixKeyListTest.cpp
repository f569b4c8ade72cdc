// Tests of the prefix-key list and the reading of its text file.
#include "keyboard/PrefixKeyList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/Directories.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

class PrefixKeyListTest : public ::testing::Test {
protected:
    test::TempHome m_home;
};

TEST_F(PrefixKeyListTest, StartsWithNoneAlone) {
    PrefixKeyList list;
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.entries()[0], (PrefixKey{kNoPrefix, "(None)"}));
}

TEST_F(PrefixKeyListTest, ReadsLinesAndSkipsCommentsAndMalformedOnes) {
    struct Case {
        std::string text;
        std::vector<PrefixKey> added;
    };
    const std::vector<Case> cases = {
        {"CtrlK 75 2\n", {{{75, 2}, "CtrlK"}}},
        {"# CtrlK 75 2\n; x 1 2\n/ y 1 2\nCtrlQ 81 2\n", {{{81, 2}, "CtrlQ"}}},
        {"CtrlK 75\nCtrlQ x 2\n\n  \nEsc 27 0", {{{27, 0}, "Esc"}}},
        {"LongerThanNine 75 2\r\n", {{{75, 2}, "LongerTha"}}},
        {"  Lead 0075 +002 trailing\n", {{{75, 2}, "Lead"}}},
        {"Neg -1 65537\n", {{{0xFFFF, 1}, "Neg"}}},
    };
    for (const Case& c : cases) {
        PrefixKeyList list;
        list.addFromText(c.text);
        ASSERT_EQ(list.size(), c.added.size() + 1) << c.text;
        for (std::size_t index = 0; index < c.added.size(); ++index) {
            EXPECT_EQ(list.entries()[index + 1], c.added[index]) << c.text;
        }
    }
}

TEST_F(PrefixKeyListTest, LongLineIsReadInPiecesOfNinetyNine) {
    // The first piece holds 99 characters; the rest of the line is read as a line of its own.
    std::string text = "First 75 2" + std::string(89, ' ') + "Second 81 2\n";
    PrefixKeyList list;
    list.addFromText(text);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.entries()[1].name, "First");
    EXPECT_EQ(list.entries()[2].name, "Second");
}

TEST_F(PrefixKeyListTest, StopsAtTwentyEightEntries) {
    std::string text;
    for (int index = 0; index < 40; ++index) {
        text += "P" + std::to_string(index) + " " + std::to_string(100 + index) + " 2\n";
    }
    PrefixKeyList list;
    list.addFromText(text);
    ASSERT_EQ(list.size(), PrefixKeyList::kMaxEntries);
    EXPECT_EQ(list.entries().back().name, "P26");
}

TEST_F(PrefixKeyListTest, LoadsThePrefixFileOfTheConfigurationDirectory) {
    Directories directories(m_home.path().string());
    const std::string config = directories.path(DirectoryKind::Config);
    std::filesystem::create_directories(config);
    PrefixKeyList missing;
    missing.load(config);
    EXPECT_EQ(missing.size(), 1u);

    test::writeFileBytes(config + "prefix.dat", "#comment\nCtrlK 75 2\n");
    PrefixKeyList list;
    list.load(config);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.find({75, 2})->name, "CtrlK");
    EXPECT_EQ(list.find({75, 4}), nullptr);
}

TEST_F(PrefixKeyListTest, ShippedPrefixFileHoldsWellKnownPrefixKeys) {
    PrefixKeyList list;
    list.load(std::string(VEXA_SOURCE_DIR) + "/share/vConfig/");
    ASSERT_NE(list.find({0x4B, 2}), nullptr);
    ASSERT_NE(list.find({0x51, 2}), nullptr);
    EXPECT_LE(list.size(), PrefixKeyList::kMaxEntries);
}

} // namespace
} // namespace vexa
