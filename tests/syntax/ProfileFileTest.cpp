// Profile files: both layouts byte for byte, refused and damaged files, and round trips.
#include "syntax/ExtensionProfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/InfoHeader.h"
#include "support/TempHome.h"

namespace vexa::syntax {
namespace {

uint16_t u16At(const std::string& bytes, std::size_t offset) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                 (static_cast<unsigned char>(bytes[offset + 1]) << 8));
}

std::string le16(uint16_t value) {
    return std::string{static_cast<char>(value & 0xff), static_cast<char>(value >> 8)};
}

std::string padded(std::string_view text, std::size_t width) {
    std::string field(text);
    field.resize(width, '\0');
    return field;
}

std::string headerBytes(std::string_view fileType, std::string_view version) {
    InfoHeader header = InfoHeader::forKind(kExtensionInfo);
    header.fileType = fileType;
    header.version = version;
    return encodeInfoHeader(header);
}

// A body written by hand in the first layout: no prefix and postfix bytes.
std::string firstLayoutBody() {
    std::string body;
    body += padded("Old Pascal", 36);
    body += padded("{", 3);
    body += padded("PAS", 4);
    body += padded("}", 3);
    body += padded(";:=()", 61);
    body += padded("", 3);
    body += "'";  // string
    body += "$";  // preprocessor
    body += "\\"; // literal
    body += le16(1);
    body += le16(2);
    body += le16(5) + padded("BEGIN", 21);
    body += le16(3) + padded("end", 21);
    body += le16(0) + le16(1) + le16(1) + padded("x", 21) + le16(0);
    return body;
}

class ProfileFileTest : public ::testing::Test {
protected:
    test::TempHome m_home;
    std::string m_path = m_home.file("VEXAPAS.PRF");
};

TEST_F(ProfileFileTest, SavedFileHasEveryFieldAtItsOffset) {
    ExtensionProfile profile;
    profile.setExtension("PAS");
    profile.setDescription("Pascal sources");
    profile.setComment(CommentMarker::Start, "(*");
    profile.setComment(CommentMarker::End, "*)");
    profile.setComment(CommentMarker::Line, "");
    profile.setDelimiters(";:=");
    profile.setSpecial(SpecialChar::String, '\'');
    profile.setSpecial(SpecialChar::Preprocessor, '$');
    profile.setSpecial(SpecialChar::Literal, '\\');
    profile.setSpecial(SpecialChar::KeywordPrefix, '<');
    profile.setSpecial(SpecialChar::KeywordPostfix, '@');
    profile.setIgnoreCase(true);
    profile.setKeywords({KeywordEntry::make("until"), KeywordEntry::make("Begin")});
    profile.setKeywordList(2, {KeywordEntry::make("zeta"), KeywordEntry::make("alpha")});
    ASSERT_EQ(profile.save(m_path), ProfileFileStatus::Ok);

    const std::string bytes = test::readFileBytes(m_path);
    ASSERT_EQ(bytes.size(), 257u + 2 + 2 * 23 + 2 + 2 + 2 * 23 + 2);
    EXPECT_EQ(bytes.substr(0, 12), std::string("QLWTRDNMMEM\0", 12));
    EXPECT_EQ(bytes.substr(115, 6), std::string("01.01\0", 6));
    EXPECT_EQ(bytes.substr(125, 15), padded("FILE_EXTENSION", 15));
    EXPECT_EQ(bytes.substr(140, 36), padded("Pascal sources", 36));
    EXPECT_EQ(bytes.substr(176, 3), padded("(*", 3));
    EXPECT_EQ(bytes.substr(179, 4), padded("PAS", 4));
    EXPECT_EQ(bytes.substr(183, 3), padded("*)", 3));
    EXPECT_EQ(bytes.substr(186, 61), padded(";:=", 61));
    EXPECT_EQ(bytes.substr(247, 3), padded("", 3));
    EXPECT_EQ(bytes[250], '\'');
    EXPECT_EQ(bytes[251], '$');
    EXPECT_EQ(bytes[252], '\\');
    EXPECT_EQ(bytes[253], '<');
    EXPECT_EQ(bytes[254], '@');
    EXPECT_EQ(u16At(bytes, 255), 1);
    EXPECT_EQ(u16At(bytes, 257), 2);
    // Sorted without regard to case, each entry length first.
    EXPECT_EQ(u16At(bytes, 259), 5);
    EXPECT_EQ(bytes.substr(261, 21), padded("Begin", 21));
    EXPECT_EQ(u16At(bytes, 282), 5);
    EXPECT_EQ(bytes.substr(284, 21), padded("until", 21));
    EXPECT_EQ(u16At(bytes, 305), 0); // list 2
    EXPECT_EQ(u16At(bytes, 307), 2); // list 3, sorted on saving too
    EXPECT_EQ(bytes.substr(311, 21), padded("alpha", 21));
    EXPECT_EQ(bytes.substr(334, 21), padded("zeta", 21));
    EXPECT_EQ(u16At(bytes, 355), 0); // list 4
}

TEST_F(ProfileFileTest, RoundTripKeepsEveryField) {
    ExtensionProfile original(BuiltInKeywords::Yes);
    original.setExtension("CPP");
    original.setDescription("C++");
    original.setSpecial(SpecialChar::Literal, '\\');
    original.setSpecial(SpecialChar::KeywordPostfix, ':');
    const std::string twenty = "abcdefghijklmnopqrst";
    KeywordList words(original.keywords().begin(), original.keywords().end());
    words.push_back(KeywordEntry::make(twenty));
    words.push_back(KeywordEntry::make("While"));
    original.setKeywords(words);
    ASSERT_EQ(original.save(m_path), ProfileFileStatus::Ok);

    ExtensionProfile loaded;
    ASSERT_EQ(loaded.load(m_path), ProfileFileStatus::Ok);
    EXPECT_EQ(loaded.extension(), "CPP");
    EXPECT_EQ(loaded.description(), "C++");
    EXPECT_EQ(loaded.delimiters(), original.delimiters());
    EXPECT_EQ(loaded.special(SpecialChar::Literal), '\\');
    EXPECT_EQ(loaded.special(SpecialChar::KeywordPostfix), ':');
    EXPECT_EQ(loaded.special(SpecialChar::Preprocessor), '#');
    EXPECT_EQ(loaded.wordBreakSet(), original.wordBreakSet());
    ASSERT_EQ(loaded.keywords().size(), 57u);
    for (std::size_t i = 0; i < 57; ++i) {
        EXPECT_EQ(loaded.keyword(i)->view(), original.keyword(i)->view());
    }
    const KeywordEntry* longest =
        findKeyword(loaded.keywords(), KeywordEntry::make(twenty), CaseMode::Sensitive);
    ASSERT_NE(longest, nullptr);
    EXPECT_EQ(longest->length, 20);
    // Both spellings of "while" are kept.
    EXPECT_NE(findKeyword(loaded.keywords(), KeywordEntry::make("While"), CaseMode::Sensitive), nullptr);
    EXPECT_NE(findKeyword(loaded.keywords(), KeywordEntry::make("while"), CaseMode::Sensitive), nullptr);
    // Saving the loaded profile again gives the same bytes.
    const std::string first = test::readFileBytes(m_path);
    ASSERT_EQ(loaded.save(m_path), ProfileFileStatus::Ok);
    EXPECT_EQ(test::readFileBytes(m_path), first);
}

TEST_F(ProfileFileTest, FirstLayoutReadsShiftedFields) {
    test::writeFileBytes(m_path, headerBytes("FILE_EXTENSION", "01.00") + firstLayoutBody());
    ExtensionProfile profile;
    ASSERT_EQ(profile.load(m_path), ProfileFileStatus::Ok);
    EXPECT_EQ(profile.description(), "Old Pascal");
    EXPECT_EQ(profile.extension(), "PAS");
    EXPECT_EQ(profile.comment(CommentMarker::Start), "{");
    EXPECT_EQ(profile.comment(CommentMarker::End), "}");
    EXPECT_EQ(profile.comment(CommentMarker::Line), "");
    EXPECT_EQ(profile.special(SpecialChar::String), '\'');
    EXPECT_EQ(profile.special(SpecialChar::Preprocessor), '$');
    EXPECT_EQ(profile.special(SpecialChar::Literal), '\\');
    EXPECT_EQ(profile.special(SpecialChar::KeywordPrefix), '\0');
    EXPECT_EQ(profile.special(SpecialChar::KeywordPostfix), '\0');
    EXPECT_TRUE(profile.ignoreCase());
    ASSERT_EQ(profile.keywords().size(), 2u);
    EXPECT_EQ(profile.keyword(0)->view(), "BEGIN");
    EXPECT_EQ(profile.keyword(1)->view(), "end");
    EXPECT_EQ(profile.keywordList(2).size(), 1u);
    EXPECT_EQ(profile.wordBreakSet(), ";:=()$'");
}

TEST_F(ProfileFileTest, RefusedFiles) {
    const struct {
        const char* name;
        std::string bytes; // empty: no file at all
        ProfileFileStatus status;
    } cases[] = {
        {"missing", "", ProfileFileStatus::OpenFailed},
        {"other kind", headerBytes("FILE_KEYMAP", "01.01") + firstLayoutBody(),
         ProfileFileStatus::UnknownFormat},
        {"short header", headerBytes("FILE_EXTENSION", "01.01").substr(0, 100),
         ProfileFileStatus::UnknownFormat},
        {"newer version", headerBytes("FILE_EXTENSION", "01.02") + firstLayoutBody(),
         ProfileFileStatus::TooNew},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(m_path);
        if (!c.bytes.empty()) {
            test::writeFileBytes(m_path, c.bytes);
        }
        ExtensionProfile profile(BuiltInKeywords::Yes);
        EXPECT_EQ(profile.load(m_path), c.status) << c.name;
        EXPECT_EQ(profile.description(), "") << c.name;
        EXPECT_EQ(profile.comment(CommentMarker::Start), "/*") << c.name;
    }
    ExtensionProfile newer(BuiltInKeywords::Yes);
    test::writeFileBytes(m_path, headerBytes("FILE_EXTENSION", "01.02") + firstLayoutBody());
    ASSERT_EQ(newer.load(m_path), ProfileFileStatus::TooNew);
    EXPECT_TRUE(newer.keywords().empty());
}

TEST_F(ProfileFileTest, CutShortBodyKeepsWhatWasRead) {
    const std::string body = firstLayoutBody();
    // Up to the middle of the second keyword entry.
    test::writeFileBytes(m_path, headerBytes("FILE_EXTENSION", "01.00") +
                                     body.substr(0, 36 + 3 + 4 + 3 + 61 + 3 + 3 + 2 + 2 + 23 + 10));
    ExtensionProfile profile;
    EXPECT_EQ(profile.load(m_path), ProfileFileStatus::UnknownFormat);
    EXPECT_EQ(profile.description(), "Old Pascal");
    EXPECT_EQ(profile.comment(CommentMarker::Start), "{");
    ASSERT_EQ(profile.keywords().size(), 1u);
    EXPECT_EQ(profile.keyword(0)->view(), "BEGIN");
}

TEST_F(ProfileFileTest, DamagedKeywordLengthIsTakenFromTheText) {
    std::string body = firstLayoutBody();
    const std::size_t firstEntry = 36 + 3 + 4 + 3 + 61 + 3 + 3 + 2 + 2;
    body[firstEntry] = '\xff';
    body[firstEntry + 1] = '\xff';
    test::writeFileBytes(m_path, headerBytes("FILE_EXTENSION", "01.00") + body);
    ExtensionProfile profile;
    ASSERT_EQ(profile.load(m_path), ProfileFileStatus::Ok);
    EXPECT_EQ(profile.keyword(0)->length, 5);
}

TEST_F(ProfileFileTest, ACountThatDoesNotAddUpIsRefused) {
    const std::string body = firstLayoutBody();
    const std::size_t firstCount = 36 + 3 + 4 + 3 + 61 + 3 + 3 + 2;
    const struct {
        const char* name;
        std::string body;
    } cases[] = {
        // Two entries in the file, one in the count: the second is read as the later lists.
        {"count too small", body.substr(0, firstCount) + le16(1) + body.substr(firstCount + 2)},
        {"bytes after the last list", body + le16(0)},
    };
    for (const auto& c : cases) {
        test::writeFileBytes(m_path, headerBytes("FILE_EXTENSION", "01.00") + c.body);
        ExtensionProfile profile(BuiltInKeywords::Yes);
        EXPECT_EQ(profile.load(m_path), ProfileFileStatus::UnknownFormat) << c.name;
        for (std::size_t list = 0; list < kKeywordListCount; ++list) {
            EXPECT_TRUE(profile.keywordList(list).empty()) << c.name << " list " << list;
        }
        EXPECT_EQ(profile.description(), "Old Pascal") << c.name;
    }
}

TEST_F(ProfileFileTest, AListLongerThanTheCountFieldIsCappedNotWrapped) {
    KeywordList many;
    for (std::size_t i = 0; i < kMaxKeywords + 100; ++i) {
        many.push_back(KeywordEntry::make("w" + std::to_string(i)));
    }
    ExtensionProfile profile;
    profile.setKeywordList(0, many);
    profile.setKeywordList(1, {KeywordEntry::make("second")});
    EXPECT_EQ(profile.keywords().size(), kMaxKeywords);
    ASSERT_EQ(profile.save(m_path), ProfileFileStatus::Ok);
    ExtensionProfile again;
    ASSERT_EQ(again.load(m_path), ProfileFileStatus::Ok);
    EXPECT_EQ(again.keywords().size(), kMaxKeywords);
    ASSERT_EQ(again.keywordList(1).size(), 1u);
    EXPECT_EQ(again.keywordList(1)[0].view(), "second");
}

TEST_F(ProfileFileTest, SaveIntoMissingDirectoryFailsAndMessagesNameThePath) {
    ExtensionProfile profile;
    const std::string bad = m_home.file("no/such/VEXAX.PRF");
    EXPECT_EQ(profile.save(bad), ProfileFileStatus::CreateFailed);
    EXPECT_EQ(profileFileMessage(ProfileFileStatus::CreateFailed, bad),
              "Unexpected error creating the '" + bad + "' information file.");
    EXPECT_EQ(profileFileMessage(ProfileFileStatus::OpenFailed, "/p"),
              "Unexpected error opening the '/p' information file.");
    EXPECT_EQ(profileFileMessage(ProfileFileStatus::UnknownFormat, "/p"),
              "The '/p' information file is of an unknown format or has been corrupted.");
    EXPECT_EQ(profileFileMessage(ProfileFileStatus::TooNew, "/p"), "");
}

} // namespace
} // namespace vexa::syntax
