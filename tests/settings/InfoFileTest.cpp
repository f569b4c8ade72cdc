// Information files: the header's bytes at their offsets, the type and version checks, refusals.
#include "settings/InfoFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/BinaryFields.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::writeFileBytes;

std::string field(const std::string& bytes, size_t offset, size_t width) {
    return bytes.substr(offset, width);
}

std::string padded(std::string_view text, size_t width) {
    std::string out(text);
    out.resize(width, '\0');
    return out;
}

class InfoFileTest : public ::testing::Test {
protected:
    // Writes a file of the given kind with a few record bytes after the header.
    std::string writeInfo(const std::string& name, const InfoHeader& header,
                          std::string_view records = "REC") {
        std::string path = home.file(name);
        InfoFile file;
        EXPECT_TRUE(file.create(path, header));
        EXPECT_TRUE(file.write(records));
        EXPECT_TRUE(file.close(InfoClose::Truncate));
        return path;
    }

    test::TempHome home;
};

TEST_F(InfoFileTest, HeaderBytesSitAtTheirOffsets) {
    std::string path = writeInfo("a.BND", InfoHeader::forKind(kKeymapInfo), "records");
    std::string bytes = readFileBytes(path);
    ASSERT_EQ(bytes.size(), kInfoHeaderSize + 7);
    EXPECT_EQ(field(bytes, 0, 15), padded("QLWTRDNMMEM", 15));
    EXPECT_EQ(field(bytes, 15, 25), padded("Vexa for Windows", 25));
    EXPECT_EQ(field(bytes, 40, 25), padded("Morvaine Pty Ltd", 25));
    EXPECT_EQ(field(bytes, 65, 50), padded("Info file of the editor; fields fixed width", 50));
    EXPECT_EQ(field(bytes, 115, 10), padded("01.01", 10));
    EXPECT_EQ(field(bytes, 125, 15), padded("FILE_KEYMAP", 15));
    EXPECT_EQ(bytes.substr(140), "records");
}

TEST_F(InfoFileTest, HeaderReadsBackWithAllSixFieldsAndTheRecords) {
    InfoHeader header = InfoHeader::forKind(kToolInfo);
    header.notice = "another notice";
    std::string path = writeInfo("VexaTool.INF", header, "0123456789");

    InfoFile file;
    ASSERT_TRUE(file.openForReading(path));
    EXPECT_EQ(file.header(), header);
    EXPECT_EQ(file.headerCount(), kInfoHeaderSize);
    EXPECT_DOUBLE_EQ(file.version(), 1.02);
    char buffer[16] = {};
    EXPECT_EQ(file.read(std::span<char>(buffer, 4)), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(file.read(buffer), 6u);
    EXPECT_EQ(std::string(buffer, 6), "456789");
    EXPECT_EQ(file.read(buffer), 0u);
    EXPECT_TRUE(file.close());
}

TEST_F(InfoFileTest, ReadRestTakesEverythingAfterThePosition) {
    std::string records;
    for (int i = 0; i < 20000; ++i) {
        records.push_back(static_cast<char>(i % 251));
    }
    std::string path = writeInfo("big.DIC", InfoHeader::forKind(kSpellingInfo), records);
    InfoFile file;
    ASSERT_TRUE(file.openForReading(path));
    char first[3];
    ASSERT_EQ(file.read(first), 3u);
    EXPECT_EQ(file.readRest(), records.substr(3));
    EXPECT_EQ(file.readRest(), "");
}

struct KindCase {
    InfoKind kind;
    const char* version;
};

TEST_F(InfoFileTest, EveryKindIsAcceptedAsItselfAndRefusedAsAnyOther) {
    const KindCase kinds[] = {{kSpellingInfo, "01.00"},  {kTemplateInfo, "01.01"}, {kToolInfo, "01.02"},
                              {kMacroMenuInfo, "01.00"}, {kKeyMacroInfo, "01.00"}, {kExtensionInfo, "01.01"},
                              {kKeymapInfo, "01.01"}};
    for (const auto& written : kinds) {
        EXPECT_EQ(written.kind.version, written.version);
        std::string path = writeInfo(std::string(written.kind.fileType), InfoHeader::forKind(written.kind));
        InfoFile file;
        ASSERT_TRUE(file.openForReading(path));
        for (const auto& expected : kinds) {
            bool same = expected.kind.fileType == written.kind.fileType;
            EXPECT_EQ(file.isType(expected.kind.fileType), same)
                << written.kind.fileType << " read as " << expected.kind.fileType;
        }
        EXPECT_TRUE(file.accepts(written.kind));
    }
}

struct VersionCase {
    const char* fileVersion;
    const char* readerVersion;
    bool atMost;
};

class InfoVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(InfoVersion, ComparesVersionsAsNumbers) {
    test::TempHome home;
    InfoHeader header = InfoHeader::forKind(kKeymapInfo);
    header.version = GetParam().fileVersion;
    std::string path = home.file("x.BND");
    {
        InfoFile file;
        ASSERT_TRUE(file.create(path, header));
        ASSERT_TRUE(file.close());
    }
    InfoFile file;
    ASSERT_TRUE(file.openForReading(path));
    EXPECT_TRUE(file.isType("FILE_KEYMAP"));
    EXPECT_EQ(file.versionAtMost(GetParam().readerVersion), GetParam().atMost);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InfoVersion,
    ::testing::Values(VersionCase{"01.02", "01.01", false}, VersionCase{"01.00", "01.01", true},
                      VersionCase{"01.01", "01.01", true}, VersionCase{"02.00", "01.99", false},
                      VersionCase{"1.1", "01.10", true}, VersionCase{"", "01.00", true},
                      VersionCase{"junk", "00.00", true}, VersionCase{" 01.50", "01.49", false}));

TEST(InfoVersionNumber, ReadsTheLongestDecimalPrefix) {
    EXPECT_DOUBLE_EQ(infoVersionNumber("01.02"), 1.02);
    EXPECT_DOUBLE_EQ(infoVersionNumber("  3.5xyz"), 3.5);
    EXPECT_DOUBLE_EQ(infoVersionNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(infoVersionNumber(""), 0.0);
}

TEST_F(InfoFileTest, NewerVersionIsRefusedByTheCurrentReader) {
    InfoHeader header = InfoHeader::forKind(kExtensionInfo);
    header.version = "01.02";
    std::string path = writeInfo("VexaC.PRF", header);
    InfoFile file;
    ASSERT_TRUE(file.openForReading(path));
    EXPECT_TRUE(file.isType("FILE_EXTENSION"));
    EXPECT_FALSE(file.accepts(kExtensionInfo));
}

TEST_F(InfoFileTest, ShortFileOpensButFailsTheTypeTest) {
    std::string full = encodeInfoHeader(InfoHeader::forKind(kKeymapInfo));
    // Cut after the type's text but before its padding: every byte present still spells the
    // right signature and type, yet the header is incomplete.
    for (size_t length : {size_t{1}, size_t{15}, size_t{100}, size_t{136}, size_t{139}}) {
        std::string path = home.file("short.BND");
        writeFileBytes(path, full.substr(0, length));
        InfoFile file;
        ASSERT_TRUE(file.openForReading(path)) << length;
        EXPECT_EQ(file.headerCount(), length);
        EXPECT_FALSE(file.isType("FILE_KEYMAP")) << length;
    }
}

TEST_F(InfoFileTest, MissingOrEmptyFileFailsToOpenWithErrorText) {
    InfoFile file;
    EXPECT_FALSE(file.openForReading(home.file("absent.BND")));
    EXPECT_FALSE(file.errorText().empty());
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.isType("FILE_KEYMAP"));

    writeFileBytes(home.file("empty.BND"), "");
    EXPECT_FALSE(file.openForReading(home.file("empty.BND")));
    EXPECT_FALSE(file.isOpen());
}

TEST_F(InfoFileTest, ForeignSignatureIsRefused) {
    InfoHeader header = InfoHeader::forKind(kKeymapInfo);
    header.signature = "QLWTRDNMMEX";
    std::string path = writeInfo("foreign.BND", header);
    InfoFile file;
    ASSERT_TRUE(file.openForReading(path));
    EXPECT_FALSE(file.isType("FILE_KEYMAP"));
}

TEST_F(InfoFileTest, TypeIsComparedWholeAndWithCase) {
    for (const char* type : {"FILE_KEYMAPX", "file_keymap", "FILE_KEY"}) {
        InfoHeader header = InfoHeader::forKind(kKeymapInfo);
        header.fileType = type;
        std::string path = writeInfo("t.BND", header);
        InfoFile file;
        ASSERT_TRUE(file.openForReading(path));
        EXPECT_FALSE(file.isType("FILE_KEYMAP")) << type;
        EXPECT_TRUE(file.isType(type)) << type;
    }
}

TEST_F(InfoFileTest, FullWidthFieldsWithoutTerminatorStayWithinTheirWidth) {
    std::string bytes(kInfoHeaderSize, 'Z');
    writeFileBytes(home.file("z.BND"), bytes);
    InfoFile file;
    ASSERT_TRUE(file.openForReading(home.file("z.BND")));
    EXPECT_EQ(file.header().signature, std::string(15, 'Z'));
    EXPECT_EQ(file.header().version, std::string(10, 'Z'));
    EXPECT_EQ(file.header().fileType, std::string(15, 'Z'));
}

TEST_F(InfoFileTest, RewriteReplacesTheWholeFileLeavingNoStaleTail) {
    std::string path = writeInfo("m.INF", InfoHeader::forKind(kMacroMenuInfo), std::string(500, 'x'));
    writeInfo("m.INF", InfoHeader::forKind(kMacroMenuInfo), "yy");
    EXPECT_EQ(readFileBytes(path).size(), kInfoHeaderSize + 2);
    EXPECT_EQ(readFileBytes(path).substr(kInfoHeaderSize), "yy");
}

TEST_F(InfoFileTest, AbandonedCreateLeavesTheOldFileAndNoTemporary) {
    std::string path = writeInfo("keep.TPL", InfoHeader::forKind(kTemplateInfo), "old");
    {
        InfoFile file;
        ASSERT_TRUE(file.create(path, InfoHeader::forKind(kTemplateInfo)));
        ASSERT_TRUE(file.write(std::string_view("new but unfinished")));
    }
    EXPECT_EQ(readFileBytes(path).substr(kInfoHeaderSize), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);
}

TEST_F(InfoFileTest, CreateInMissingDirectoryFailsWithErrorText) {
    InfoFile file;
    EXPECT_FALSE(file.create(home.file("no/such/dir/x.DIC"), InfoHeader::forKind(kSpellingInfo)));
    EXPECT_FALSE(file.errorText().empty());
    EXPECT_FALSE(file.write(std::string_view("x")));
}

TEST_F(InfoFileTest, TransfersMatchTheOpenMode) {
    std::string path = writeInfo("r.DIC", InfoHeader::forKind(kSpellingInfo), "abc");
    InfoFile reading;
    ASSERT_TRUE(reading.openForReading(path));
    EXPECT_FALSE(reading.write(std::string_view("x")));
    EXPECT_TRUE(reading.close(InfoClose::Truncate));
    EXPECT_EQ(readFileBytes(path).size(), kInfoHeaderSize + 3);

    InfoFile writing;
    ASSERT_TRUE(writing.create(home.file("w.DIC"), InfoHeader::forKind(kSpellingInfo)));
    char buffer[4];
    EXPECT_EQ(writing.read(buffer), 0u);
    EXPECT_TRUE(writing.close());
}

TEST(InfoMessages, NameTheFile) {
    EXPECT_EQ(infoOpenErrorMessage("VexaTool.INF"),
              "Unexpected error opening the 'VexaTool.INF' information file.");
    EXPECT_EQ(infoUnknownFormatMessage("a.BND"),
              "The 'a.BND' information file is of an unknown format or has been corrupted.");
    EXPECT_EQ(infoCreateErrorMessage("/x/VexaMac.INF"),
              "Unexpected error creating the '/x/VexaMac.INF' information file.");
}

} // namespace
} // namespace vexa

namespace vexa {
namespace {

struct CheckedCase {
    const char* name;
    std::string bytes; // empty: no file at all
    InfoStatus status;
    const char* message;
};

std::string headerBytes(InfoKind kind, std::string_view version) {
    InfoHeader header = InfoHeader::forKind(kind);
    header.version = version;
    return encodeInfoHeader(header) + "records";
}

TEST(InfoFileChecked, ReportsEachRefusalWithItsMessage) {
    const CheckedCase cases[] = {
        {"missing", "", InfoStatus::OpenFailed, "Unexpected error opening the 'f.INF' information file."},
        {"short", headerBytes(kToolInfo, "01.02").substr(0, 100), InfoStatus::UnknownFormat,
         "The 'f.INF' information file is of an unknown format or has been corrupted."},
        {"other kind", headerBytes(kKeymapInfo, "01.01"), InfoStatus::UnknownFormat,
         "The 'f.INF' information file is of an unknown format or has been corrupted."},
        {"newer", headerBytes(kToolInfo, "01.03"), InfoStatus::TooNew,
         "The 'f.INF' information file is of an unknown format or has been corrupted."},
        {"older", headerBytes(kToolInfo, "01.00"), InfoStatus::Ok, ""},
        {"current", headerBytes(kToolInfo, "01.02"), InfoStatus::Ok, ""},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        std::string path = home.file("f.INF");
        if (!c.bytes.empty()) {
            test::writeFileBytes(path, c.bytes);
        }
        InfoFile file;
        InfoStatus status = file.openChecked(path, kToolInfo);
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(infoStatusMessage(status, "f.INF"), c.message) << c.name;
        if (status == InfoStatus::Ok) {
            EXPECT_EQ(file.readRest(), "records") << c.name;
        }
    }
}

} // namespace
} // namespace vexa
