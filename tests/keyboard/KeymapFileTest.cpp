// Tests of keymap file names and the binary keymap file, byte for byte.
#include "keyboard/KeymapFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/FunctionTable.h"
#include "settings/BinaryFields.h"
#include "settings/InfoHeader.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

constexpr FunctionId kFileSave = functionIdOf("FileSave");
constexpr FunctionId kFileOpen = functionIdOf("FileOpen");

class KeymapFileTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_home.file(name); }

    // A keymap file with a header of the given version and type and the given body.
    void writeFile(const std::string& name, std::string_view version, const std::string& body,
                   std::string_view type = "FILE_KEYMAP") const {
        InfoHeader header = InfoHeader::forKind(kKeymapInfo);
        header.version = std::string(version);
        header.fileType = std::string(type);
        test::writeFileBytes(path(name), encodeInfoHeader(header) + body);
    }

    test::TempHome m_home;
};

TEST_F(KeymapFileTest, FileNamesFromKeymapNames) {
    struct Case {
        std::string_view name;
        std::optional<std::string> base;
    };
    const std::vector<Case> cases = {
        {"my.keys", "My"},        {"BRIEF", "Brief"}, {"wORDsTAR.x.y", "Wordstar"},
        {"<Default Keymap>", {}}, {".hidden", {}},    {"", {}},
        {"../evil", {}},          {"a/b", {}},        {"x", "X"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keymapFileBaseName(c.name), c.base) << c.name;
    }
    EXPECT_EQ(keymapFilePath("/cfg/", "my.keys"), std::optional<std::string>("/cfg/My.BND"));
    EXPECT_EQ(keymapListName("EMACS"), "Emacs");
}

TEST_F(KeymapFileTest, SavedFileHoldsEveryFieldAtItsOffset) {
    Keymap keymap;
    keymap.flags() = {1, 0, 1};
    ASSERT_EQ(keymap.bind(kNoPrefix, {0x53, 2, kFileSave}), BindResult::Bound);
    ASSERT_EQ(keymap.bind({0x4B, 2}, {0x42, 0, kFileOpen}), BindResult::Bound);
    ASSERT_EQ(keymap.bind({0x4B, 2}, {0x43, 1, kNoFunction}), BindResult::Bound);
    ASSERT_EQ(saveKeymapFile(path("K.BND"), keymap), KeymapFileStatus::Ok);

    const std::string bytes = test::readFileBytes(path("K.BND"));
    ASSERT_EQ(bytes.size(), 140u + 8u + (6u + 6u) + (6u + 12u));
    const InfoHeader header = decodeInfoHeader(std::span(bytes).first(kInfoHeaderSize));
    EXPECT_EQ(header, InfoHeader::forKind(kKeymapInfo));
    EXPECT_EQ(bytes.substr(115, 5), "01.01");
    EXPECT_EQ(bytes.substr(125, 11), "FILE_KEYMAP");
    const std::span<const char> data(bytes);
    struct Field {
        std::size_t offset;
        uint16_t value;
    };
    const std::vector<Field> fields = {
        {140, 1},    {142, 0}, {144, 1},         {146, 2},                                // flags, tables
        {148, 0},    {150, 0}, {152, 1},         {154, 0x53}, {156, 2}, {158, kFileSave}, // primary
        {160, 0x4B}, {162, 2}, {164, 2},                                                  // Ctrl+K table
        {166, 0x42}, {168, 0}, {170, kFileOpen}, {172, 0x43}, {174, 1}, {176, kNoFunction},
    };
    for (const Field& field : fields) {
        EXPECT_EQ(loadU16(data, field.offset), field.value) << "offset " << field.offset;
    }
    EXPECT_EQ(static_cast<unsigned char>(bytes[146]), 2u) << "little-endian";
    EXPECT_EQ(bytes[147], 0);
}

TEST_F(KeymapFileTest, RoundTripLooksUpAndShowsAsBefore) {
    Keymap original = Keymap::makeDefault();
    original.flags().cutCopyRemovesMark = 0;
    ASSERT_EQ(original.bind({0x4B, 2}, {0x42, 0, kFileOpen}), BindResult::Bound);
    ASSERT_TRUE(original.unbind(kNoPrefix, {0x43, 2}));
    ASSERT_EQ(saveKeymapFile(path("R.BND"), original), KeymapFileStatus::Ok);
    Keymap loaded;
    ASSERT_EQ(loadKeymapFile(path("R.BND"), loaded), KeymapFileStatus::Ok);
    EXPECT_TRUE(loaded.isValid());
    EXPECT_EQ(loaded.flags(), original.flags());
    ASSERT_EQ(loaded.tables().size(), original.tables().size());
    for (std::size_t slot = 0; slot < loaded.tables().size(); ++slot) {
        EXPECT_EQ(loaded.tables()[slot].prefix(), original.tables()[slot].prefix());
        EXPECT_TRUE(std::ranges::equal(loaded.tables()[slot].bindings(), original.tables()[slot].bindings()));
    }
}

TEST_F(KeymapFileTest, VersionOneZeroZeroLoadsWithDefaultFlagsAndIsSavedAsOneZeroOne) {
    FieldWriter body;
    body.u16(0); // Shift marking off
    body.u16(1); // one table
    body.u16(0);
    body.u16(0);
    body.u16(1);
    body.u16(0x53);
    body.u16(2);
    body.u16(kFileSave);
    writeFile("Old.BND", "01.00", body.data());

    Keymap keymap;
    ASSERT_EQ(loadKeymapFile(path("Old.BND"), keymap), KeymapFileStatus::Ok);
    EXPECT_EQ(keymap.flags(), (KeymapFlags{0, 1, 1}));
    EXPECT_EQ(keymap.lookup({0x53, 2}), kFileSave);

    ASSERT_EQ(saveKeymapFile(path("Old.BND"), keymap), KeymapFileStatus::Ok);
    const std::string bytes = test::readFileBytes(path("Old.BND"));
    EXPECT_EQ(bytes.substr(115, 5), "01.01");
    ASSERT_EQ(bytes.size(), 148u + 6u + 6u);
    EXPECT_EQ(loadU16(bytes, 140), 0);
    EXPECT_EQ(loadU16(bytes, 142), 1);
    EXPECT_EQ(loadU16(bytes, 144), 1);
    EXPECT_EQ(loadU16(bytes, 146), 1);
}

TEST_F(KeymapFileTest, RefusedFilesLeaveTheKeymapInvalid) {
    struct Case {
        std::string name;
        std::string version;
        std::string type;
        KeymapFileStatus status;
    };
    const std::vector<Case> cases = {
        {"newer version", "01.02", "FILE_KEYMAP", KeymapFileStatus::TooNew},
        {"another kind", "01.01", "FILE_TOOLINFO", KeymapFileStatus::UnknownFormat},
    };
    FieldWriter body;
    body.zeros(8);
    for (const Case& c : cases) {
        writeFile("Bad.BND", c.version, body.data(), c.type);
        Keymap keymap = Keymap::makeDefault();
        EXPECT_EQ(loadKeymapFile(path("Bad.BND"), keymap), c.status) << c.name;
        EXPECT_FALSE(keymap.isValid()) << c.name;
        EXPECT_TRUE(keymap.tables().empty()) << c.name;
    }
    Keymap missing;
    EXPECT_EQ(loadKeymapFile(path("None.BND"), missing), KeymapFileStatus::OpenFailed);
    EXPECT_FALSE(missing.isValid());
    test::writeFileBytes(path("Short.BND"), "QLWTRDNMMEM");
    EXPECT_EQ(loadKeymapFile(path("Short.BND"), missing), KeymapFileStatus::UnknownFormat);
}

TEST_F(KeymapFileTest, ReadingStopsAtTheLimits) {
    FieldWriter body;
    body.u16(1);
    body.u16(1);
    body.u16(1);
    body.u16(30); // tables: only 28 are read
    for (uint16_t table = 0; table < 30; ++table) {
        body.u16(table == 0 ? 0 : static_cast<uint16_t>(0x100 + table));
        body.u16(table == 0 ? 0 : 2);
        const uint16_t count = table == 0 ? 502 : 1;
        body.u16(count);
        for (uint16_t index = 0; index < count; ++index) {
            body.u16(index);
            body.u16(0);
            body.u16(kFileOpen);
        }
    }
    writeFile("Big.BND", "01.01", body.data());
    Keymap keymap;
    ASSERT_EQ(loadKeymapFile(path("Big.BND"), keymap), KeymapFileStatus::Ok);
    ASSERT_EQ(keymap.tables().size(), Keymap::kMaxTables);
    EXPECT_EQ(keymap.tables()[0].size(), KeyTable::kMaxBindings);
    // The two extra bindings of the primary table are skipped, so the next table is read whole.
    EXPECT_EQ(keymap.tables()[1].prefix(), (KeyChord{0x101, 2}));
    EXPECT_EQ(keymap.tables()[27].prefix(), (KeyChord{0x100 + 27, 2}));
    EXPECT_EQ(keymap.tables()[27].size(), 1u);
}

TEST_F(KeymapFileTest, ShortBodyKeepsWhatWasComplete) {
    FieldWriter body;
    body.u16(1);
    body.u16(0);
    body.u16(0);
    body.u16(2);
    body.u16(0);
    body.u16(0);
    body.u16(3); // three bindings announced, one and a half present
    body.u16(0x53);
    body.u16(2);
    body.u16(kFileSave);
    body.u16(0x54);
    writeFile("Cut.BND", "01.01", body.data());
    Keymap keymap;
    ASSERT_EQ(loadKeymapFile(path("Cut.BND"), keymap), KeymapFileStatus::Ok);
    EXPECT_EQ(keymap.flags(), (KeymapFlags{1, 0, 0}));
    ASSERT_EQ(keymap.tables().size(), 1u);
    EXPECT_EQ(keymap.tables()[0].size(), 1u);
    EXPECT_EQ(keymap.lookup({0x53, 2}), kFileSave);
}

TEST_F(KeymapFileTest, SaveIntoAMissingDirectoryFailsAndKeepsNothing) {
    EXPECT_EQ(saveKeymapFile(path("nowhere/K.BND"), Keymap::makeDefault()), KeymapFileStatus::CreateFailed);
    EXPECT_FALSE(std::filesystem::exists(path("nowhere/K.BND")));
}

} // namespace
} // namespace vexa
