// Tests of the keymap export text and the import reading rules.
#include "keyboard/KeymapText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/FunctionTable.h"
#include "keyboard/DefaultKeymap.h"
#include "keyboard/TextScan.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

constexpr FunctionId kFileNew = functionIdOf("FileNew");
constexpr FunctionId kFileSave = functionIdOf("FileSave");

class KeymapTextTest : public ::testing::Test {
protected:
    // The lines of a text whose every line ends in CR LF; a line without it fails the test.
    static std::vector<std::string> crlfLines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t position = 0;
        while (position < text.size()) {
            const std::size_t end = text.find("\r\n", position);
            EXPECT_NE(end, std::string::npos) << "unterminated line at " << position;
            if (end == std::string::npos) {
                break;
            }
            EXPECT_EQ(text.substr(position, end - position).find('\n'), std::string::npos);
            lines.push_back(text.substr(position, end - position));
            position = end + 2;
        }
        return lines;
    }

    test::TempHome m_home;
};

TEST_F(KeymapTextTest, DefaultKeymapExportsSortedByIdentifier) {
    const std::vector<std::string> lines = crlfLines(exportKeymapText(Keymap::makeDefault()));
    ASSERT_EQ(lines.size(), 3u + defaultKeyBindings().size());
    EXPECT_EQ(lines[0], "1 1 1");
    EXPECT_EQ(lines[1], "1");
    EXPECT_EQ(lines[2], "0000 000 00101");
    EXPECT_EQ(lines[3], "0078 002 FileNew");
    EXPECT_EQ(lines[4], "0079 002 FileOpen");
    EXPECT_EQ(lines[5], "0083 002 FileSave");

    // Every binding appears once, in the fixed-width form, with identifiers ascending.
    std::vector<KeyBinding> expected(defaultKeyBindings().begin(), defaultKeyBindings().end());
    std::vector<KeyBinding> written;
    FunctionId previous = 0;
    for (std::size_t index = 3; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        ASSERT_GT(line.size(), 9u) << line;
        EXPECT_EQ(line[4], ' ') << line;
        EXPECT_EQ(line[8], ' ') << line;
        const FunctionId id = FunctionTable::standard().idOf(line.substr(9));
        EXPECT_GE(id, previous) << line;
        previous = id;
        written.push_back({static_cast<uint16_t>(std::stoi(line.substr(0, 4))),
                           static_cast<uint16_t>(std::stoi(line.substr(5, 3))), id});
    }
    const auto byAll = [](const KeyBinding& a, const KeyBinding& b) {
        return std::tie(a.function, a.keyCode, a.modifiers) < std::tie(b.function, b.keyCode, b.modifiers);
    };
    std::ranges::sort(expected, byAll);
    std::ranges::sort(written, byAll);
    EXPECT_EQ(written, expected);
}

TEST_F(KeymapTextTest, ExportWritesEveryTableAndUnknownIdentifiersWithoutName) {
    Keymap keymap;
    keymap.flags() = {0, 1, 0};
    ASSERT_EQ(keymap.bind(kNoPrefix, {0x53, 2, kFileSave}), BindResult::Bound);
    ASSERT_EQ(keymap.bind({0x4B, 2}, {0x42, 0, kFileNew}), BindResult::Bound);
    ASSERT_EQ(keymap.bind({0x4B, 2}, {0x41, 0, kNoFunction}), BindResult::Bound);
    ASSERT_EQ(keymap.bind({0x4B, 2}, {0xFFFF, 7, kFileSave}), BindResult::Bound);
    const std::vector<std::string> expected = {
        "0 1 0",
        "2",
        "0000 000 00001",
        "0083 002 FileSave",
        "0075 002 00003",
        "0066 000 FileNew",
        "65535 007 FileSave",
        "0065 000 ",
    };
    EXPECT_EQ(crlfLines(exportKeymapText(keymap)), expected);
}

TEST_F(KeymapTextTest, ImportReadingRules) {
    struct Case {
        std::string name;
        std::string text;
        KeymapFlags flags;
        std::vector<std::vector<KeyBinding>> tables;
    };
    const std::vector<Case> cases = {
        {"single flag", "0\r\n0\r\n", {0, 1, 1}, {}},
        {"no flags", "\n1\n0 0 1\n78 2 FileNew\n", {1, 1, 1}, {{{78, 2, kFileNew}}}},
        {"no leading zeros",
         "1 0 1\n1\n0 0 2\n78 2 FileNew\n0083 002 FileSave\n",
         {1, 0, 1},
         {{{78, 2, kFileNew}, {83, 2, kFileSave}}}},
        {"unknown names",
         "1 1 1\n1\n0 0 2\n78 2 NoSuchFunction\n79 2 filenew\n",
         {1, 1, 1},
         {{{78, 2, kNoFunction}, {79, 2, kNoFunction}}}},
        {"empty name keeps the next line",
         "1 1 1\n1\n0 0 2\n0065 000 \r\n0078 002 FileNew\r\n",
         {1, 1, 1},
         {{{65, 0, kNoFunction}, {78, 2, kFileNew}}}},
        {"blank lines between records",
         "1 1 1\n\n1\n\n0 0 1\n\n78 2 FileNew\n",
         {1, 1, 1},
         {{{78, 2, kFileNew}}}},
        {"short file keeps what was read",
         "1 1 1\n2\n0 0 3\n78 2 FileNew\n",
         {1, 1, 1},
         {{{78, 2, kFileNew}}}},
        {"negative count reads no binding", "1 1 1\n1\n0 0 -4\n78 2 FileNew\n", {1, 1, 1}, {{}}},
        {"garbage count", "1 1 1\nabc\n0 0 1\n", {1, 1, 1}, {}},
        {"long first line",
         "1 1 1" + std::string(60, ' ') + "\n1\n0 0 1\n78 2 FileNew\n",
         {1, 1, 1},
         {{{78, 2, kFileNew}}}},
    };
    for (const Case& c : cases) {
        const Keymap keymap = importKeymapText(c.text);
        EXPECT_TRUE(keymap.isValid()) << c.name;
        EXPECT_EQ(keymap.flags(), c.flags) << c.name;
        ASSERT_EQ(keymap.tables().size(), c.tables.size()) << c.name;
        for (std::size_t slot = 0; slot < c.tables.size(); ++slot) {
            EXPECT_TRUE(std::ranges::equal(keymap.tables()[slot].bindings(), c.tables[slot])) << c.name;
        }
    }
}

TEST_F(KeymapTextTest, ImportLimitsTablesAndBindings) {
    std::string text = "1 1 1\n30\n0 0 600\n";
    // 600 announced, 500 given: the count is cut to 500, so the next line is the next table's.
    for (int index = 0; index < 500; ++index) {
        text += std::to_string(index) + " 0 FileSave\n";
    }
    for (int table = 1; table < 30; ++table) {
        text += std::to_string(200 + table) + " 2 1\n1 0 FileNew\n";
    }
    const Keymap keymap = importKeymapText(text);
    ASSERT_EQ(keymap.tables().size(), Keymap::kMaxTables);
    EXPECT_EQ(keymap.tables()[0].size(), KeyTable::kMaxBindings);
    EXPECT_EQ(keymap.tables()[1].prefix(), (KeyChord{201, 2}));
    EXPECT_EQ(keymap.tables()[27].prefix(), (KeyChord{227, 2}));
    EXPECT_EQ(keymap.lookupInTable({227, 2}, {1, 0}), kFileNew);
    EXPECT_EQ(keymap.lookupInTable({228, 2}, {1, 0}), kNoFunction);
}

TEST_F(KeymapTextTest, ExportedKeymapImportsWithTheSameLookups) {
    Keymap original = Keymap::makeDefault();
    ASSERT_EQ(original.bind({0x4B, 2}, {0x42, 0, kFileNew}), BindResult::Bound);
    Keymap imported = importKeymapText(exportKeymapText(original));
    EXPECT_EQ(imported.flags(), original.flags());
    ASSERT_EQ(imported.tables().size(), 2u);
    for (const KeyTable& table : original.tables()) {
        for (const KeyBinding& binding : table.bindings()) {
            EXPECT_EQ(imported.lookupInTable(table.prefix(), {binding.keyCode, binding.modifiers}),
                      original.lookupInTable(table.prefix(), {binding.keyCode, binding.modifiers}));
        }
    }
    EXPECT_EQ(imported.lookup({0x4B, 2}), kPrefixAccepted);
    EXPECT_EQ(imported.lookup({0x42, 0}), kFileNew);
}

TEST_F(KeymapTextTest, ScanningNumbersAndWords) {
    TextScan scan("  -12 +7 70000 word\tnext 12abc");
    EXPECT_EQ(scan.shortNumber(), int16_t{-12});
    EXPECT_EQ(scan.shortNumber(), int16_t{7});
    EXPECT_EQ(scan.shortNumber(), int16_t{4464}); // 70000 kept in 16 bits
    EXPECT_EQ(scan.shortNumber(), std::nullopt);
    EXPECT_EQ(scan.word(), std::optional<std::string>("word"));
    EXPECT_EQ(scan.word(), std::optional<std::string>("next"));
    EXPECT_EQ(scan.shortNumber(), int16_t{12});
    EXPECT_EQ(scan.word(), std::optional<std::string>("abc"));
    EXPECT_TRUE(scan.atEnd());
    EXPECT_EQ(scan.word(), std::nullopt);
}

} // namespace
} // namespace vexa
