// The profile cache, the default profile, file-name extensions and the tokenizer state of a profile.
#include "syntax/SyntaxSettings.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/HeadlessFrame.h"
#include "settings/InfoHeader.h"
#include "settings/SettingsFile.h"
#include "support/TempHome.h"

namespace vexa::syntax {
namespace {

class SyntaxSettingsTest : public ::testing::Test {
protected:
    void writeProfile(const std::string& extension, const std::string& description) {
        ExtensionProfile profile;
        profile.setExtension(extension);
        profile.setDescription(description);
        ASSERT_EQ(profile.save(profileFilePath(m_home.path().string(), extension)), ProfileFileStatus::Ok);
    }

    test::TempHome m_home;
    HeadlessFrame m_frame;
    SyntaxSettings m_settings{m_home.path().string(), m_frame};
};

TEST_F(SyntaxSettingsTest, LookupLoadsOnceAndIgnoresCase) {
    writeProfile("CPP", "C++ sources");
    const auto first = m_settings.lookup("cpp");
    EXPECT_EQ(first->description(), "C++ sources");
    EXPECT_EQ(m_settings.cachedCount(), 1u);
    EXPECT_EQ(m_settings.lookup("CPP"), first);
    EXPECT_EQ(m_settings.profileForFile("/src/a.b/main.Cpp"), first);
    EXPECT_EQ(m_settings.cachedCount(), 1u);
    EXPECT_TRUE(m_frame.events().empty());
}

TEST_F(SyntaxSettingsTest, UnknownExtensionsGetTheDefaultProfile) {
    writeProfile("", "no file can define the empty extension");
    const auto& fallback = m_settings.defaultProfile();
    EXPECT_EQ(fallback->extension(), "*.T");
    EXPECT_TRUE(fallback->keywords().empty());
    for (const char* name : {"README", "/dir.d/Makefile", "x.unknown", "a.", "b./c"}) {
        EXPECT_EQ(m_settings.profileForFile(name), fallback) << name;
    }
    EXPECT_EQ(m_settings.cachedCount(), 0u);
}

TEST_F(SyntaxSettingsTest, ExtensionsAreTakenToThreeCharacters) {
    writeProfile("HTM", "web pages");
    EXPECT_EQ(m_settings.lookup("html")->description(), "web pages");
    EXPECT_EQ(m_settings.lookup("htm"), m_settings.lookup("HTML"));
}

TEST_F(SyntaxSettingsTest, ForgetMakesTheNextLookupReadTheFileAgain) {
    writeProfile("PY", "old");
    const auto old = m_settings.lookup("py");
    writeProfile("PY", "new");
    EXPECT_EQ(m_settings.lookup("py")->description(), "old");
    m_settings.forget("Py");
    EXPECT_EQ(m_settings.cachedCount(), 0u);
    EXPECT_EQ(old->description(), "old"); // a pane still holding it keeps a valid profile
    EXPECT_EQ(m_settings.lookup("py")->description(), "new");
    m_settings.forget("zzz");
    EXPECT_EQ(m_settings.cachedCount(), 1u);
}

TEST_F(SyntaxSettingsTest, DamagedFileIsReportedAndStillCachedUnderItsName) {
    const std::string path = profileFilePath(m_home.path().string(), "BAD");
    test::writeFileBytes(path, encodeInfoHeader(InfoHeader::forKind(kKeymapInfo)));
    const auto profile = m_settings.lookup("bad");
    EXPECT_NE(profile, m_settings.defaultProfile());
    const auto boxes = m_frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "The '" + path + "' information file is of an unknown format or has been corrupted.");
    EXPECT_EQ(boxes[0].title, "Vexa Error");
    // Found in the cache from now on: no second report.
    EXPECT_EQ(m_settings.lookup("BAD"), profile);
    EXPECT_EQ(m_frame.eventsOf(FrameEventKind::MessageBox).size(), 1u);
}

TEST_F(SyntaxSettingsTest, ProfileFileNamingAnotherExtensionServesItsOwnName) {
    ExtensionProfile stray;
    stray.setExtension("XYZ");
    ASSERT_EQ(stray.save(profileFilePath(m_home.path().string(), "ABC")), ProfileFileStatus::Ok);
    const auto profile = m_settings.lookup("abc");
    EXPECT_EQ(profile->extension(), "ABC");
    EXPECT_EQ(m_settings.lookup("abc"), profile);
    EXPECT_EQ(m_settings.cachedCount(), 1u);
}

TEST(SyntaxSettingsColours, ReadAtStartWrittenWhenSaved) {
    test::TempHome home;
    HeadlessFrame frame;
    SettingsFile file(home.file("vexa.INI"));
    test::writeFileBytes(home.file("vexa.INI"), "[Color Table]\nKeyword=2\n");
    {
        SyntaxSettings settings(home.path().string(), frame, &file);
        EXPECT_EQ(settings.colours().index(ColourSlot::Keyword), 2);
        EXPECT_EQ(settings.lookup("c")->currentColour(), kPalette[3].rgb); // nothing scanned: Default
        ASSERT_TRUE(settings.colours().setIndex(ColourSlot::Background, 0));
        ASSERT_TRUE(settings.saveColours());
    }
    const std::string saved = test::readFileBytes(home.file("vexa.INI"));
    EXPECT_NE(saved.find("Keyword=2\n"), std::string::npos);
    EXPECT_NE(saved.find("Background=0\n"), std::string::npos);
    EXPECT_NE(saved.find("Symbol=0\n"), std::string::npos);
}

TEST(SyntaxProfileTest, ScansTokensInTurnWithTheirColours) {
    ColourTable colours;
    SyntaxProfile profile(colours, BuiltInKeywords::Yes);
    const std::string line = "int x; // c";
    profile.setScanPosition(line);
    const struct {
        std::size_t offset;
        std::size_t length;
        TokenKind kind;
        ColourSlot slot;
    } expected[] = {
        {0, 3, TokenKind::Keyword, ColourSlot::Keyword},
        {3, 1, TokenKind::Spaces, ColourSlot::Default},
        {4, 1, TokenKind::Word, ColourSlot::Default},
        {5, 1, TokenKind::Symbols, ColourSlot::Symbol},
        {6, 1, TokenKind::Spaces, ColourSlot::Default},
        {7, 4, TokenKind::LineComment, ColourSlot::Comment},
        {11, 0, TokenKind::EndOfLine, ColourSlot::Default},
    };
    for (const auto& e : expected) {
        const Token token = profile.nextToken();
        EXPECT_EQ(token.offset, e.offset);
        EXPECT_EQ(token.length, e.length);
        EXPECT_EQ(token.kind, e.kind);
        EXPECT_EQ(profile.currentSlot(), e.slot);
        EXPECT_EQ(profile.currentColour(), colours.colour(e.slot));
    }
    profile.setScanPosition(line, 4);
    EXPECT_EQ(profile.nextToken().kind, TokenKind::Word);
    EXPECT_EQ(profile.scanPosition(), 5u);
}

TEST(SyntaxProfileTest, EmailFinder) {
    ColourTable colours;
    SyntaxProfile profile(colours);
    const struct {
        const char* text;
        bool found;
        std::size_t offset;
    } cases[] = {
        {"write to Jane.Doe@Example.COM", true, 9},
        {"a_b-c@host", true, 0},
        {"no address here", false, 0},
        {"@alone.com", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        std::size_t offset = 99;
        std::size_t length = 0;
        ASSERT_EQ(profile.findEmailAddress(c.text, offset, length), c.found) << c.text;
        if (c.found) {
            EXPECT_EQ(offset, c.offset) << c.text;
            EXPECT_EQ(length, std::string_view(c.text).size() - c.offset) << c.text;
        }
    }
    std::size_t offset = 0;
    std::size_t length = 0;
    EXPECT_FALSE(profile.findEmailAddress(static_cast<const char*>(nullptr), offset, length));
}

} // namespace
} // namespace vexa::syntax
