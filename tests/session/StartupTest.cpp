// Start-up logic: the line option, the files a command line opens, the hand-off to a running
// editor, and the startup-file, recent-file and frame-placement records of the settings file.
#include <gtest/gtest.h>

#include <climits>

#include "platform/Files.h"
#include "session/StartupCommandLine.h"
#include "session/StartupHandOff.h"
#include "session/StartupHistory.h"
#include "settings/Directories.h"
#include "settings/SettingsFile.h"
#include "support/FakeInstanceLink.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using Args = std::vector<std::string>;

struct LineOptionCase {
    const char* argument;
    std::optional<int> line;
};

class LineOptionTest : public ::testing::TestWithParam<LineOptionCase> {};

TEST_P(LineOptionTest, TakesOnlyAnArgumentOfTheOptionsExactForm) {
    EXPECT_EQ(lineOption(GetParam().argument), GetParam().line) << GetParam().argument;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, LineOptionTest,
    ::testing::Values(LineOptionCase{"-l120", 120}, LineOptionCase{"-L5", 5}, LineOptionCase{"--ll  7", 7},
                      LineOptionCase{"-l 12", 12}, LineOptionCase{"-l0", 0},
                      LineOptionCase{"-l99999999999999", INT_MAX}, LineOptionCase{"/L5", std::nullopt},
                      LineOptionCase{"x-l3y", std::nullopt}, LineOptionCase{"-l", std::nullopt},
                      LineOptionCase{"-s", std::nullopt}, LineOptionCase{"l25", std::nullopt},
                      LineOptionCase{"-x25", std::nullopt}, LineOptionCase{"a.c", std::nullopt},
                      LineOptionCase{"-l 12 34", std::nullopt}, LineOptionCase{"-L-l8", std::nullopt},
                      LineOptionCase{"notes-l2.txt", std::nullopt},
                      LineOptionCase{"src/l10n/strings.c", std::nullopt},
                      LineOptionCase{"-l12.c", std::nullopt}));

TEST(StartupFiles, LineOptionCollectedFirstAndSwitchesDropped) {
    const Args arguments{"-l10", "a.c", "-s", "-l20", "b.c", "-x"};
    const StartupFiles files = collectStartupFiles(arguments);
    EXPECT_EQ(files.line, 20);
    EXPECT_EQ(files.names, (std::vector<std::string>{"a.c", "b.c"}));
}

TEST(StartupFiles, PathsAreNeverTakenForOptions) {
    const Args arguments{"/x", "/srv/x.c", "src/l10n/strings.c", "notes-l2.txt", "-l7"};
    const StartupFiles files = collectStartupFiles(arguments);
    EXPECT_EQ(files.line, 7);
    EXPECT_EQ(files.names,
              (std::vector<std::string>{"/x", "/srv/x.c", "src/l10n/strings.c", "notes-l2.txt"}));
}

TEST(StartupFiles, SeparateLineNumberIsAFileName) {
    const Args arguments{"-l", "25", "a.c"};
    const StartupFiles files = collectStartupFiles(arguments);
    EXPECT_EQ(files.line, 0);
    EXPECT_EQ(files.names, (std::vector<std::string>{"25", "a.c"}));
}

struct HandOffCase {
    const char* name;
    Args arguments;
    std::optional<std::vector<HandOff>> handOffs;
};

class HandOffChoiceTest : public ::testing::TestWithParam<HandOffCase> {};

TEST_P(HandOffChoiceTest, RestsOnTheArguments) {
    EXPECT_EQ(handOffFor(GetParam().arguments), GetParam().handOffs);
}

using HandOffs = std::vector<HandOff>;

INSTANTIATE_TEST_SUITE_P(
    CommandLines, HandOffChoiceTest,
    ::testing::Values(
        HandOffCase{"one_file", {"a.c"}, HandOffs{{"a.c", 0}}},
        HandOffCase{"activate_only", {"-s"}, HandOffs{{"", 0}}},
        HandOffCase{"activate_upper", {"-S"}, HandOffs{{"", 0}}},
        HandOffCase{"absolute_path", {"/srv/x.c"}, HandOffs{{"/srv/x.c", 0}}},
        HandOffCase{"slash_letter_path", {"/S"}, HandOffs{{"/S", 0}}},
        HandOffCase{"path_with_ell", {"notes-l2.txt"}, HandOffs{{"notes-l2.txt", 0}}},
        HandOffCase{"slash_line_is_a_path", {"/l25", "a.c"}, HandOffs{{"/l25", 0}, {"a.c", 0}}},
        HandOffCase{"other_switch_as_name", {"-x"}, HandOffs{{"-x", 0}}},
        HandOffCase{"line_and_file", {"-l25", "a.c"}, HandOffs{{"a.c", 25}}},
        HandOffCase{"bad_line_option", {"-lx", "a.c"}, std::nullopt},
        HandOffCase{"switch_and_file", {"-s", "a.c"}, HandOffs{{"a.c", 0}}},
        HandOffCase{"two_files", {"a.c", "b.c"}, HandOffs{{"a.c", 0}, {"b.c", 0}}},
        HandOffCase{"line_after_files", {"a.c", "b.c", "-l7"}, HandOffs{{"a.c", 7}, {"b.c", 7}}},
        HandOffCase{
            "line_before_files", {"-l3", "a.c", "b.c", "c.c"}, HandOffs{{"a.c", 3}, {"b.c", 3}, {"c.c", 3}}},
        HandOffCase{"only_switches", {"-s", "-l3"}, std::nullopt},
        HandOffCase{"wildcard", {"*.c"}, std::nullopt},
        HandOffCase{"wildcard_second", {"-l3", "a?.c"}, std::nullopt},
        HandOffCase{"wildcard_among_many", {"a.c", "b.c", "*.h"}, std::nullopt},
        HandOffCase{"none", {}, std::nullopt},
        HandOffCase{"three", {"-l", "25", "a.c"}, HandOffs{{"25", 0}, {"a.c", 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

class HandOffLinkTest : public ::testing::Test {
protected:
    test::TempHome m_home;
    test::FakeInstanceLink m_link;
};

TEST_F(HandOffLinkTest, WritesFullPathAndLineThenPosts) {
    m_link.setOtherEditorRunning(true);
    EXPECT_EQ(sendHandOff(m_link, HandOff{"a.c", 25}), HandOffResult::Posted);
    EXPECT_EQ(m_link.record().readValue(kHandOffFileKey), platform::fullPath("a.c"));
    EXPECT_EQ(m_link.record().readValue(kHandOffLineKey), "25");
    ASSERT_EQ(m_link.posted().size(), 1u);
    EXPECT_EQ(m_link.posted()[0].kind, platform::LinkMessageKind::FileOpen);
}

TEST_F(HandOffLinkTest, ActivationWritesEmptyName) {
    m_link.setOtherEditorRunning(true);
    EXPECT_EQ(sendHandOff(m_link, HandOff{}), HandOffResult::Posted);
    EXPECT_EQ(m_link.record().readValue(kHandOffFileKey), "");
    EXPECT_EQ(m_link.record().readValue(kHandOffLineKey), "0");
}

TEST(HandOffReceiver, AnUnreadableRecordNamesTheCommandProcessorModule) {
    EXPECT_EQ(handOffReadFailure(712), "Unexpected Vexa error at File: QLWKEY01 Line: 712");
}

TEST_F(HandOffLinkTest, FailedRecordPostsNothing) {
    m_link.setOtherEditorRunning(true);
    m_link.memoryRecord().setWritable(false);
    EXPECT_EQ(sendHandOff(m_link, HandOff{"a.c", 1}), HandOffResult::RecordFailed);
    EXPECT_TRUE(m_link.posted().empty());
}

TEST_F(HandOffLinkTest, NoReceiverIsReported) {
    EXPECT_EQ(sendHandOff(m_link, HandOff{"a.c", 1}), HandOffResult::NotDelivered);
}

TEST_F(HandOffLinkTest, ReceiverReadsTheRecord) {
    ASSERT_TRUE(m_link.record().writeValue(kHandOffFileKey, "/src/a.c"));
    EXPECT_EQ(receiveHandOff(m_link), std::nullopt) << "the line is missing";
    ASSERT_TRUE(m_link.record().writeValue(kHandOffLineKey, "25"));
    EXPECT_EQ(receiveHandOff(m_link), (HandOff{"/src/a.c", 25}));
    ASSERT_TRUE(m_link.record().writeValue(kHandOffLineKey, "junk"));
    EXPECT_EQ(receiveHandOff(m_link), (HandOff{"/src/a.c", 0}));
    ASSERT_TRUE(m_link.record().writeValue(kHandOffLineKey, "-4"));
    EXPECT_EQ(receiveHandOff(m_link), (HandOff{"/src/a.c", 0}));
}

TEST_F(HandOffLinkTest, SeveralFilesGoAsOneListOfFullPathsWithTheirLine) {
    m_link.setOtherEditorRunning(true);
    const HandOffs handOffs{{"a.c", 7}, {"sub/b.c", 7}};
    EXPECT_EQ(sendHandOffs(m_link, handOffs), HandOffResult::Posted);
    ASSERT_EQ(m_link.posted().size(), 1u);
    EXPECT_EQ(m_link.posted()[0].kind, platform::LinkMessageKind::OpenFiles);
    EXPECT_EQ(readOpenFilesList(m_link.posted()[0].text),
              (HandOffs{{*platform::fullPath("a.c"), 7}, {*platform::fullPath("sub/b.c"), 7}}));
    EXPECT_EQ(m_link.record().readValue(kHandOffFileKey), std::nullopt) << "the record is for one file";
}

TEST_F(HandOffLinkTest, SeveralFilesWithoutAReceiverAreReported) {
    EXPECT_EQ(sendHandOffs(m_link, HandOffs{{"a.c", 0}, {"b.c", 0}}), HandOffResult::NotDelivered);
}

TEST_F(HandOffLinkTest, OneFileStillGoesThroughTheRecord) {
    m_link.setOtherEditorRunning(true);
    EXPECT_EQ(sendHandOffs(m_link, HandOffs{{"a.c", 3}}), HandOffResult::Posted);
    ASSERT_EQ(m_link.posted().size(), 1u);
    EXPECT_EQ(m_link.posted()[0].kind, platform::LinkMessageKind::FileOpen);
    EXPECT_EQ(receiveHandOff(m_link), (HandOff{*platform::fullPath("a.c"), 3}));
}

TEST(OpenFilesList, ManyLongNamesSplitIntoListsThatEachFitAMessage) {
    HandOffs handOffs;
    for (int i = 0; i < 40; ++i) {
        handOffs.push_back(HandOff{"/" + std::string(900, 'a' + i % 26) + std::to_string(i), 12});
    }
    handOffs.push_back(HandOff{"/other-line.c", 3});
    const auto lists = openFilesLists(handOffs);
    ASSERT_TRUE(lists);
    ASSERT_GT(lists->size(), 1u);
    HandOffs read;
    for (const std::string& list : *lists) {
        EXPECT_LE(list.size(), platform::kMaxLinkFiles);
        const auto part = readOpenFilesList(list);
        ASSERT_TRUE(part) << list.substr(0, 20);
        read.insert(read.end(), part->begin(), part->end());
    }
    EXPECT_EQ(read, handOffs);
}

TEST(OpenFilesList, ANameTooLongForAMessageIsRefused) {
    const HandOffs handOffs{{"/" + std::string(platform::kMaxLinkFiles, 'n'), 0}};
    EXPECT_EQ(openFilesLists(handOffs), std::nullopt);
}

struct ListCase {
    const char* name;
    std::string list;
    std::optional<HandOffs> read;
};

class OpenFilesListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(OpenFilesListTest, ReadsOnlyWhatTheEditorWrites) {
    EXPECT_EQ(readOpenFilesList(GetParam().list), GetParam().read);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Lists, OpenFilesListTest,
    ::testing::Values(ListCase{"two_files", "5\0/a.c\0/b c.c"s, HandOffs{{"/a.c", 5}, {"/b c.c", 5}}},
                      ListCase{"no_line", "0\0/a.c"s, HandOffs{{"/a.c", 0}}},
                      ListCase{"utf8_name", "1\0/d\xC3\xA9j\xC3\xA0.c"s,
                               HandOffs{{"/d\xC3\xA9j\xC3\xA0.c", 1}}},
                      ListCase{"empty", ""s, std::nullopt}, ListCase{"line_only", "5"s, std::nullopt},
                      ListCase{"line_and_nothing", "5\0"s, std::nullopt},
                      ListCase{"empty_name_between", "5\0/a.c\0\0/b.c"s, std::nullopt},
                      ListCase{"trailing_nul", "5\0/a.c\0"s, std::nullopt},
                      ListCase{"relative_name", "5\0a.c"s, std::nullopt},
                      ListCase{"no_digits", "\0/a.c"s, std::nullopt},
                      ListCase{"negative_line", "-5\0/a.c"s, std::nullopt},
                      ListCase{"letters_in_line", "5x\0/a.c"s, std::nullopt},
                      ListCase{"line_too_long", "12345678901\0/a.c"s, std::nullopt},
                      ListCase{"line_past_int", "9999999999\0/a.c"s, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct EntryCase {
    const char* value;
    HandOff entry;
};

class StartupEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(StartupEntryTest, SplitsPathAndLine) {
    EXPECT_EQ(parseStartupEntry(GetParam().value), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(Values, StartupEntryTest,
                         ::testing::Values(EntryCase{"/src/a.c 12", {"/src/a.c", 12}},
                                           EntryCase{"/src/a.c", {"/src/a.c", 0}},
                                           EntryCase{"/my docs/a b.c 3", {"/my docs/a b.c", 3}},
                                           EntryCase{"/my docs/a.c", {"/my docs/a.c", 0}},
                                           EntryCase{"/src/a.c 4x", {"/src/a.c 4x", 0}},
                                           EntryCase{"/src/a.c ", {"/src/a.c ", 0}}));

class StartupHistoryTest : public ::testing::Test {
protected:
    std::string value(std::string_view section, std::string_view key) const {
        return m_settings.getString(section, key, "<none>", 300);
    }

    test::TempHome m_home;
    Directories m_directories{Directories::resolveHome()};
    SettingsFile m_settings{m_directories.settingsFilePath()};
    StartupHistory m_history{m_settings};
};

TEST_F(StartupHistoryTest, ThreeDocumentsAtExitLeaveTwoSlots) {
    EXPECT_TRUE(m_history.recordStartupFile("/a.c", 0));
    EXPECT_TRUE(m_history.recordStartupFile("/b.c", 9));
    EXPECT_TRUE(m_history.recordStartupFile("/c.c", 41));
    EXPECT_EQ(value(kHistorySection, "StartupFile:0"), "/c.c 42");
    EXPECT_EQ(value(kHistorySection, "StartupFile:1"), "/b.c 10");

    StartupHistory next(m_settings);
    EXPECT_EQ(next.takeStartupFiles(), (std::vector<HandOff>{{"/b.c", 10}, {"/c.c", 42}}));
    EXPECT_EQ(value(kHistorySection, "StartupFile:0"), "");
    EXPECT_EQ(value(kHistorySection, "StartupFile:1"), "");
    EXPECT_TRUE(next.takeStartupFiles().empty());
}

TEST_F(StartupHistoryTest, RememberedPathReusesItsSlot) {
    EXPECT_TRUE(m_history.recordStartupFile("/a.c", 0));
    EXPECT_TRUE(m_history.recordStartupFile("/a.c", 5));
    EXPECT_EQ(value(kHistorySection, "StartupFile:0"), "/a.c 6");
    EXPECT_EQ(value(kHistorySection, "StartupFile:1"), "<none>");
}

TEST_F(StartupHistoryTest, PathsLongerThan255BytesComeBackWhole) {
    const std::string deep = "/" + std::string(300, 'd') + "/" + std::string(200, 'n') + ".c";
    EXPECT_TRUE(m_history.recordStartupFile(deep, 6));
    m_history.addRecentFile(deep);
    ASSERT_TRUE(m_history.saveRecentFiles());

    StartupHistory next(m_settings);
    EXPECT_EQ(next.takeStartupFiles(), (std::vector<HandOff>{{deep, 7}}));
    next.loadRecentFiles();
    EXPECT_EQ(next.recentFile(1014), deep);
}

TEST_F(StartupHistoryTest, RecentFilesRotateAndSurvive) {
    m_history.loadRecentFiles();
    EXPECT_TRUE(m_history.recentFiles().empty());
    m_history.addRecentFile("/a.c");
    m_history.addRecentFile("/a.c");
    m_history.addRecentFile("/b.c");
    m_history.addRecentFile("/c.c");
    using Items = std::vector<std::pair<uint32_t, std::string>>;
    EXPECT_EQ(m_history.recentFiles(), (Items{{1014, "/c.c"}, {1015, "/b.c"}}));
    EXPECT_EQ(m_history.recentFile(1015), "/b.c");
    EXPECT_EQ(m_history.recentFile(1013), "");
    ASSERT_TRUE(m_history.saveRecentFiles());
    EXPECT_EQ(value(kHistorySection, "MenuIndex"), "1");

    StartupHistory next(m_settings);
    next.loadRecentFiles();
    EXPECT_EQ(next.recentFiles(), (Items{{1014, "/c.c"}, {1015, "/b.c"}}));
    next.addRecentFile("/d.c");
    EXPECT_EQ(next.recentFile(1015), "/d.c");
}

TEST_F(StartupHistoryTest, MenuIndexStartsAtZeroWithoutItems) {
    ASSERT_TRUE(m_settings.putString(kHistorySection, "MenuIndex", "1"));
    m_history.loadRecentFiles();
    m_history.addRecentFile("/a.c");
    EXPECT_EQ(m_history.recentFile(1014), "/a.c") << "no items loaded: the index starts at 0";
    ASSERT_TRUE(m_history.saveRecentFiles());
    EXPECT_EQ(value(kHistorySection, "MenuIndex"), "1");
    EXPECT_EQ(value(kHistorySection, "MenuFile:1"), "");
}

struct PlacementCase {
    const char* name;
    const char* stored; // "x y cx cy state", or "" for none
    bool restoreSize;
    FramePlacement expected;
};

class FramePlacementTest : public StartupHistoryTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(FramePlacementTest, ReadsAsStored) {
    const PlacementCase& c = GetParam();
    if (*c.stored != '\0') {
        int x = 0, y = 0, cx = 0, cy = 0, state = 0;
        ASSERT_EQ(std::sscanf(c.stored, "%d %d %d %d %d", &x, &y, &cx, &cy, &state), 5);
        ASSERT_TRUE(m_history.writeFramePlacement({x, y, cx, cy, state}));
    }
    EXPECT_EQ(m_history.readFramePlacement(c.restoreSize, 2), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, FramePlacementTest,
    ::testing::Values(PlacementCase{"restored", "10 20 810 620 3", true, {10, 20, 810, 620, 3}},
                      PlacementCase{"given_state", "10 20 810 620 3", false, {10, 20, 810, 620, 2}},
                      PlacementCase{"zero_left", "0 20 810 620 3", true, {0, 0, 0, 0, 1}},
                      PlacementCase{"nothing_stored", "", true, {0, 0, 0, 0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupHistoryTest, PlacementWrittenAsNumbers) {
    ASSERT_TRUE(m_history.writeFramePlacement({-5, 7, 100, 200, 1}));
    EXPECT_EQ(value(kFrameSizeSection, "x"), "-5");
    EXPECT_EQ(value(kFrameSizeSection, "cy"), "200");
    EXPECT_EQ(value(kFrameSizeSection, "state"), "1");
}

} // namespace
} // namespace vexa
