// The "Edit Extension" / "New Extension" model: validation in order, keyword editing and import.
#include "syntax/EditExtensionDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "frame/HeadlessFrame.h"
#include "support/TempHome.h"

namespace vexa::syntax {
namespace {

using F = ExtensionField;

struct ValidationCase {
    const char* name;
    std::vector<std::pair<F, std::string>> fields;
    std::string message; // empty: accepted
    F focus;
    int selection; // -1: none
};

void PrintTo(const ValidationCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kInUse = "character is already use in one of the other field.";

const std::vector<ValidationCase>& validationCases() {
    static const std::vector<ValidationCase> table = {
        {"Defaults", {}, "", F::None, -1},
        {"LiteralEqualsPrefix",
         {{F::Literal, "$"}, {F::KeywordPrefix, "$"}},
         "The 'literal' " + kInUse,
         F::Literal,
         -1},
        {"LiteralEqualsPostfix",
         {{F::Literal, "@"}, {F::KeywordPostfix, "@"}},
         "The 'literal' " + kInUse,
         F::Literal,
         -1},
        {"LiteralEqualsPreprocessor", {{F::Literal, "#"}}, "The 'literal' " + kInUse, F::Literal, -1},
        {"PreprocessorEqualsPrefix",
         {{F::KeywordPrefix, "#"}},
         "The 'pre-process' " + kInUse,
         F::Preprocessor,
         -1},
        {"PreprocessorEqualsPostfix",
         {{F::KeywordPostfix, "#"}},
         "The 'pre-process' " + kInUse,
         F::Preprocessor,
         -1},
        {"PostfixEqualsPrefix",
         {{F::KeywordPostfix, "@"}, {F::KeywordPrefix, "@"}},
         "The 'postfix' " + kInUse,
         F::KeywordPostfix,
         -1},
        {"UnsetCharactersNeverClash", {{F::Preprocessor, ""}, {F::Literal, ""}}, "", F::None, -1},
        {"LiteralClashComesFirst",
         {{F::Literal, "#"}, {F::Delimiters, "\"#"}},
         "The 'literal' " + kInUse,
         F::Literal,
         -1},
        {"LiteralInDelimiters",
         {{F::Literal, "\\"}, {F::Delimiters, ";,\\"}},
         "The delimiter character has already been used as a 'literal' character.",
         F::Delimiters,
         2},
        {"PreprocessorInDelimiters",
         {{F::Delimiters, "()#"}},
         "The delimiter character has already been used as a 'pre-process' character.",
         F::Delimiters,
         2},
        {"PrefixInDelimiters",
         {{F::KeywordPrefix, "$"}},
         "The delimiter character has already been used as a 'prefix' character.",
         F::Delimiters,
         10},
        {"PostfixInDelimiters",
         {{F::KeywordPostfix, ":"}},
         "The delimiter character has already been used as a 'postfix' character.",
         F::Delimiters,
         8},
        {"StringInDelimiters",
         {{F::Delimiters, "();\""}},
         "The delimiter character has already been used as a 'string' character.",
         F::Delimiters,
         3},
        {"OneCharacterCommentEnd",
         {{F::CommentStart, "{"}, {F::CommentEnd, "}"}, {F::Delimiters, "{};"}},
         "The delimiter character has already been used as a 'comment end' character.",
         F::Delimiters,
         1},
        {"OneCharacterLineComment",
         {{F::LineComment, ";"}, {F::Delimiters, "(;"}},
         "The delimiter character has already been used as a 'comment line' character.",
         F::Delimiters,
         1},
        {"OneCharacterCommentStart",
         {{F::CommentStart, "("}, {F::CommentEnd, "*)"}},
         "The delimiter character has already been used as a 'comment start' character.",
         F::Delimiters,
         2},
        {"TwoCharacterCommentsMayUseDelimiters",
         {{F::CommentStart, "(*"}, {F::CommentEnd, "*)"}},
         "",
         F::None,
         -1},
    };
    return table;
}

class Validation : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(Validation, RefusesInOrderOrAccepts) {
    test::TempHome home;
    HeadlessFrame frame;
    ExtensionProfile profile;
    profile.setExtension("PAS");
    EditExtensionDialog dialog(profile, ExtensionDialogMode::Edit, frame, home.path().string());
    for (const auto& [field, text] : GetParam().fields) {
        dialog.setText(field, text);
    }
    const bool accepted = dialog.confirm();
    EXPECT_EQ(accepted, GetParam().message.empty());
    EXPECT_EQ(dialog.isClosed(), accepted);
    EXPECT_EQ(dialog.focus(), GetParam().focus);
    if (GetParam().selection < 0) {
        EXPECT_FALSE(dialog.delimiterSelection().has_value());
    } else {
        EXPECT_EQ(dialog.delimiterSelection(), static_cast<std::size_t>(GetParam().selection));
    }
    if (!accepted) {
        EXPECT_EQ(frame.lastStatus(), GetParam().message);
        EXPECT_EQ(frame.events().back().sound, platform::SoundKind::Exclamation);
        EXPECT_EQ(profile.delimiters(), kDefaultDelimiters); // nothing copied
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, Validation, ::testing::ValuesIn(validationCases()),
                         [](const auto& info) { return std::string(info.param.name); });

class EditExtensionDialogTest : public ::testing::Test {
protected:
    test::TempHome m_home;
    HeadlessFrame m_frame;
    ExtensionProfile m_profile{BuiltInKeywords::Yes};
};

TEST_F(EditExtensionDialogTest, ConfirmCopiesEverything) {
    m_profile.setExtension("PAS");
    EditExtensionDialog dialog(m_profile, ExtensionDialogMode::Edit, m_frame, m_home.path().string());
    EXPECT_EQ(dialog.title(), "Edit Extension");
    EXPECT_FALSE(dialog.hasImport());
    EXPECT_FALSE(dialog.okEnabled());
    dialog.setText(F::Description, "Pascal");
    EXPECT_TRUE(dialog.okEnabled());
    dialog.setText(F::Delimiters, "();:=");
    dialog.setText(F::CommentStart, "(*");
    dialog.setText(F::CommentEnd, "*)");
    dialog.setText(F::LineComment, "//");
    dialog.setText(F::String, "'quote");
    dialog.setText(F::Preprocessor, "");
    dialog.setText(F::KeywordPrefix, "$");
    dialog.setIgnoreCase(true);
    dialog.setText(F::Keyword, "Begin");
    dialog.addKeyword();
    ASSERT_TRUE(dialog.confirm());
    EXPECT_EQ(m_profile.extension(), "PAS");
    EXPECT_EQ(m_profile.description(), "Pascal");
    EXPECT_EQ(m_profile.delimiters(), "();:=");
    EXPECT_EQ(m_profile.comment(CommentMarker::Start), "(*");
    EXPECT_EQ(m_profile.special(SpecialChar::String), '\'');
    EXPECT_EQ(m_profile.special(SpecialChar::Preprocessor), '\0');
    EXPECT_EQ(m_profile.special(SpecialChar::KeywordPrefix), '$');
    EXPECT_TRUE(m_profile.ignoreCase());
    EXPECT_EQ(m_profile.keywords().size(), 56u);
    EXPECT_NE(findKeyword(m_profile.keywords(), KeywordEntry::make("BEGIN"), CaseMode::Insensitive), nullptr);
    EXPECT_NE(findKeyword(m_profile.keywords(), KeywordEntry::make("WHILE"), CaseMode::Insensitive), nullptr);
}

TEST_F(EditExtensionDialogTest, KeywordListEditing) {
    EditExtensionDialog dialog(m_profile, ExtensionDialogMode::New, m_frame, m_home.path().string());
    EXPECT_EQ(dialog.title(), "New Extension");
    EXPECT_TRUE(dialog.okEnabled());
    ASSERT_EQ(dialog.keywordEntries().size(), 55u);
    EXPECT_FALSE(dialog.addEnabled());
    EXPECT_FALSE(dialog.deleteEnabled());

    dialog.setText(F::Keyword, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(dialog.text(F::Keyword), "abcdefghijklmnopqrst"); // the 21st character is refused
    dialog.setText(F::Keyword, "int");
    dialog.addKeyword(); // already there: selected, not added
    EXPECT_EQ(dialog.keywordEntries().size(), 55u);
    ASSERT_TRUE(dialog.selectedKeyword().has_value());
    EXPECT_EQ(dialog.keywordEntries()[*dialog.selectedKeyword()], "int");

    dialog.setText(F::Keyword, "Int"); // differs in case: a new entry beside it
    dialog.addKeyword();
    ASSERT_EQ(dialog.keywordEntries().size(), 56u);
    const std::size_t at = *dialog.selectedKeyword();
    EXPECT_EQ(dialog.keywordEntries()[at], "Int");
    EXPECT_EQ(dialog.keywordEntries()[at + 1], "int");

    dialog.selectKeyword(0);
    EXPECT_EQ(dialog.text(F::Keyword), "asm");
    EXPECT_TRUE(dialog.updateEnabled());
    dialog.setText(F::Keyword, "zzz");
    dialog.updateKeyword();
    EXPECT_EQ(dialog.keywordEntries().front(), "auto");
    EXPECT_EQ(dialog.keywordEntries().back(), "zzz");
    EXPECT_EQ(*dialog.selectedKeyword(), 55u);

    dialog.deleteKeyword(); // the last one: the new last is selected
    EXPECT_EQ(dialog.keywordEntries().back(), "while");
    EXPECT_EQ(*dialog.selectedKeyword(), 54u);
    dialog.selectKeyword(3);
    const std::string next = dialog.keywordEntries()[4];
    dialog.deleteKeyword();
    EXPECT_EQ(*dialog.selectedKeyword(), 3u);
    EXPECT_EQ(dialog.keywordEntries()[3], next);

    dialog.setText(F::Keyword, "");
    EXPECT_FALSE(dialog.addEnabled());
    EXPECT_FALSE(dialog.updateEnabled());
    EXPECT_TRUE(dialog.deleteEnabled());
}

// Regression: the added keyword's position was taken from the list before the insertion had
// grown it, so after a reallocation the selection pointed anywhere and Delete erased out of range.
TEST_F(EditExtensionDialogTest, AddedKeywordIsSelectedEvenWhenTheListGrows) {
    EditExtensionDialog dialog(m_profile, ExtensionDialogMode::New, m_frame, m_home.path().string());
    for (int i = 0; i < 300; ++i) {
        const std::string word = "kw" + std::to_string(1000 + i);
        dialog.setText(F::Keyword, word);
        dialog.addKeyword();
        ASSERT_TRUE(dialog.selectedKeyword().has_value());
        ASSERT_LT(*dialog.selectedKeyword(), dialog.keywordEntries().size());
        ASSERT_EQ(dialog.keywordEntries()[*dialog.selectedKeyword()], word) << "after " << i << " additions";
    }
    dialog.deleteKeyword();
    EXPECT_EQ(std::count(dialog.keywordEntries().begin(), dialog.keywordEntries().end(), "kw1299"), 0);
    EXPECT_EQ(dialog.keywordEntries().size(), 55u + 299u);
}

TEST_F(EditExtensionDialogTest, ImportReplacesListWithLinesOfTheFile) {
    const std::string file = m_home.file("words.txt");
    test::writeFileBytes(file, "begin\r\n\r\nend\nabcdefghijklmnopqrstuvwxyz\nend\nlast");
    EditExtensionDialog dialog(m_profile, ExtensionDialogMode::New, m_frame, m_home.path().string());
    ASSERT_TRUE(dialog.hasImport());
    m_frame.chooseNextOpen({file});
    ASSERT_TRUE(dialog.importKeywords());
    EXPECT_EQ(dialog.keywordEntries(),
              (std::vector<std::string>{"abcdefghijklmnopqrst", "begin", "end", "last", "uvwxyz"}));
    const auto dialogs = m_frame.eventsOf(FrameEventKind::OpenDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "Keyword Definition File");
    ASSERT_TRUE(dialog.confirm());
    EXPECT_EQ(m_profile.keywords().size(), 5u);
}

TEST_F(EditExtensionDialogTest, ImportOfADictionaryIsSortedDedupedAndCapped) {
    // More distinct words than a keyword list holds, each twice, in reverse order.
    std::string text;
    const std::size_t distinct = kMaxKeywords + 500;
    for (std::size_t i = distinct; i-- > 0;) {
        const std::string word = "w" + std::to_string(100000 + i) + "\n";
        text += word + word;
    }
    const std::string file = m_home.file("dict.txt");
    test::writeFileBytes(file, text);
    EditExtensionDialog dialog(m_profile, ExtensionDialogMode::New, m_frame, m_home.path().string());
    m_frame.chooseNextOpen({file});
    ASSERT_TRUE(dialog.importKeywords());
    const auto& words = dialog.keywordEntries();
    ASSERT_EQ(words.size(), kMaxKeywords);
    EXPECT_EQ(words.front(), "w100000");
    EXPECT_EQ(words.back(), "w" + std::to_string(100000 + kMaxKeywords - 1));
    EXPECT_TRUE(std::adjacent_find(words.begin(), words.end()) == words.end());
    const std::string full =
        "The keyword list can hold no more than 65535 keywords. The other words were not added.";
    EXPECT_EQ(m_frame.lastStatus(), full);

    // The full list takes no more words by hand either.
    dialog.setText(ExtensionField::Keyword, "another");
    dialog.addKeyword();
    EXPECT_EQ(dialog.keywordEntries().size(), kMaxKeywords);
    ASSERT_TRUE(dialog.confirm());
    EXPECT_EQ(m_profile.keywords().size(), kMaxKeywords);
}

TEST_F(EditExtensionDialogTest, ImportFailuresLeaveTheList) {
    EditExtensionDialog dialog(m_profile, ExtensionDialogMode::New, m_frame, m_home.path().string());
    m_frame.cancelNextDialog();
    EXPECT_FALSE(dialog.importKeywords());
    const std::string missing = m_home.file("missing.txt");
    m_frame.chooseNextOpen({missing});
    EXPECT_FALSE(dialog.importKeywords());
    EXPECT_EQ(dialog.keywordEntries().size(), 55u);
    const auto boxes = m_frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Error opening the '" + missing + "' file. A new file has been created.");

    EditExtensionDialog editing(m_profile, ExtensionDialogMode::Edit, m_frame, m_home.path().string());
    EXPECT_FALSE(editing.importKeywords()); // only the New dialog has the button
    EXPECT_TRUE(m_frame.unexpected().empty());
}

} // namespace
} // namespace vexa::syntax
