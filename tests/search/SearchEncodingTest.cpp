// Searching documents of either encoding with find and replacement texts held as UTF-8: the texts
// are converted to the document's bytes, UTF-8 documents are searched by whole characters, and a
// replacement a Windows-1252 document cannot hold is refused without changing anything.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/Document.h"
#include "search/ReplaceDialogModel.h"
#include "search/SearchActions.h"
#include "search/SearchState.h"
#include "settings/SettingsFile.h"
#include "support/SearchPaneFake.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using namespace std::string_literals;
using platform::SoundKind;
using Status = test::StatusRecorder::Status;

constexpr TextEncoding k1252 = TextEncoding::Windows1252;
constexpr TextEncoding kUtf8 = TextEncoding::Utf8;

struct LineCase {
    const char* name;
    TextEncoding encoding;
    std::string line; // the document's bytes
    std::string find; // UTF-8
    bool caseCheck;
    bool wholeWord;
    bool regex;
    int offset; // -1: no match
    int length;
};

std::ostream& operator<<(std::ostream& out, const LineCase& c) {
    return out << c.name;
}

class SearchEncodingLines : public testing::TestWithParam<LineCase> {};

TEST_P(SearchEncodingLines, FindsByTheDocumentsEncoding) {
    const LineCase& c = GetParam();
    SearchState state;
    state.setFindText(c.find, false);
    state.setCaseCheck(c.caseCheck);
    state.setWholeWord(c.wholeWord);
    state.setRegularExpression(c.regex);
    // The delimiters hold "," and, as Windows-1252 bytes, « and Ã.
    const auto match = state.searchLine(c.line, 0, ",\xAB\xC3", c.encoding);
    if (c.offset < 0) {
        EXPECT_FALSE(match.has_value()) << "found at " << match->offset;
        return;
    }
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->offset, c.offset);
    EXPECT_EQ(match->length, c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchEncodingLines,
    testing::Values(
        // Windows-1252: é is the byte E9; folding stays with the ASCII letters.
        LineCase{"1252_exact", k1252, "caf\xE9", "\u00E9", true, false, false, 3, 1},
        LineCase{"1252_ignoring_case", k1252, "caf\xE9", "\u00E9", false, false, false, 3, 1},
        LineCase{"1252_ascii_folds", k1252, "CAF\xE9", "caf\u00E9", false, false, false, 0, 4},
        LineCase{"1252_other_case_not_folded", k1252, "CAF\xC9", "\u00E9", false, false, false, -1, 0},
        LineCase{"1252_cannot_hold", k1252, "a->b", "\u2192", false, false, false, -1, 0},
        LineCase{"1252_euro", k1252, "5 \x80", "\u20AC", true, false, false, 2, 1},
        LineCase{"1252_regex_dot_is_a_byte", k1252, "\xE9", "^.$", true, false, true, 0, 1},
        LineCase{"1252_regex_converted", k1252, "x caf\xE9s", "f\u00E9+s", true, false, true, 4, 3},
        // UTF-8: é is C3 A9, folding covers the Latin letters, matches hold whole characters.
        LineCase{"utf8_exact", kUtf8, "caf\u00E9", "\u00E9", true, false, false, 3, 2},
        LineCase{"utf8_exact_other_case", kUtf8, "caf\u00C9", "\u00E9", true, false, false, -1, 0},
        LineCase{"utf8_ignoring_case", kUtf8, "CAF\u00C9", "\u00E9", false, false, false, 3, 2},
        LineCase{"utf8_ignoring_case_upper", kUtf8, "caf\u00E9", "CAF\u00C9", false, false, false, 0, 5},
        LineCase{"utf8_oe", kUtf8, "\u0152UVRE", "\u0153uvre", false, false, false, 0, 6},
        LineCase{"utf8_y_diaeresis", kUtf8, "x\u0178", "\u00FF", false, false, false, 1, 2},
        LineCase{"utf8_times_not_divide", kUtf8, "\u00D7", "\u00F7", false, false, false, -1, 0},
        LineCase{"utf8_arrow", kUtf8, "a\u2192b", "\u2192", true, false, false, 1, 3},
        LineCase{"utf8_not_inside_a_character", kUtf8, "\u00E9", "\xA9", true, false, false, -1, 0},
        LineCase{"utf8_not_inside_ignoring_case", kUtf8, "\u00E9", "\xA9", false, false, false, -1, 0},
        LineCase{"utf8_lone_byte", kUtf8, "\u00E9\xA9", "\xA9", true, false, false, 2, 1},
        LineCase{"utf8_whole_word", kUtf8, "x \u00E9t\u00E9 y", "\u00E9t\u00E9", false, true, false, 2, 5},
        LineCase{"utf8_whole_word_part", kUtf8, "\u00E9t\u00E9s", "\u00E9t\u00E9", false, true, false, -1, 0},
        LineCase{"utf8_word_before_delimiter", kUtf8, "\u00E9t\u00E9\u00AB", "\u00E9t\u00E9", false, true,
                 false, 0, 5},
        // The next character's first byte is the Windows-1252 byte of Ã, a delimiter: é is not Ã.
        LineCase{"utf8_word_by_whole_character", kUtf8, "\u00E9\u00E9", "\u00E9", false, true, false, -1, 0},
        LineCase{"utf8_regex_dot", kUtf8, "a\u4E2Dc", "a.c", true, false, true, 0, 5},
        LineCase{"utf8_regex_one_character", kUtf8, "\u00E9", "^.$", true, false, true, 0, 2},
        LineCase{"utf8_regex_two_characters", kUtf8, "ab", "^.$", true, false, true, -1, 0},
        LineCase{"utf8_regex_negated_set", kUtf8, "\u00E9", "[^x]", true, false, true, 0, 2},
        LineCase{"utf8_regex_ignoring_case", kUtf8, "UN CAF\u00C9", "caf\u00E9$", false, false, true, 3, 5},
        LineCase{"utf8_regex_latin_range", kUtf8, "abc\u00E9\u00E8", "[\u00E0-\u00FF]+", true, false, true, 3,
                 4}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

class SearchEncodingTest : public ::testing::Test {
protected:
    void lines(TextEncoding encoding, const std::vector<std::string>& text) {
        test::setDocumentLines(m_document, text);
        m_document.setEncoding(encoding);
        m_document.goToLine(0);
        m_document.setCursorOffset(0);
    }
    bool find() {
        m_state.attach(&m_pane);
        const bool found = m_state.findNext(true);
        m_state.detach();
        return found;
    }

    test::TempHome m_home;
    Document m_document;
    test::SearchPaneFake m_pane{m_document};
    test::StatusRecorder m_messages;
    SearchState m_state;
    SearchActions m_actions{m_state, m_messages};
};

// Successive finds step over whole characters, forwards and backwards.
TEST_F(SearchEncodingTest, SuccessiveFindsInAUtf8Document) {
    lines(kUtf8, {"\u00E9\u00C9\u00E9"});
    m_state.setFindText("\u00E9", false);
    std::vector<int> offsets;
    while (find()) {
        offsets.push_back(m_state.lastMatch().offset);
    }
    EXPECT_EQ(offsets, (std::vector<int>{0, 2, 4}));
    m_state.setForward(false);
    m_state.setFound(false);
    m_document.setCursorOffset(6);
    offsets.clear();
    while (find()) {
        offsets.push_back(m_state.lastMatch().offset);
    }
    EXPECT_EQ(offsets, (std::vector<int>{4, 2, 0}));
}

TEST_F(SearchEncodingTest, ReplaceAllInAUtf8DocumentInsertsUtf8) {
    lines(kUtf8, {"a->b->c", "\u00E9->"});
    m_state.setFindText("->", false);
    m_state.setReplaceText("\u2192");
    m_state.setReplaceAll(true);
    m_state.attach(&m_pane);
    EXPECT_EQ(m_state.replace(true, &m_messages), 3);
    m_state.detach();
    EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{"a\u2192b\u2192c", "\u00E9\u2192"}));
}

TEST_F(SearchEncodingTest, PlaceholdersTakeTheFoundBytes) {
    const struct {
        TextEncoding encoding;
        std::string line;
        std::string expected;
    } cases[] = {
        {kUtf8, "x\u00C9y", "x<\u00C9>y"},
        {k1252, "x\xC9y", "x<\xC9>y"},
    };
    for (const auto& c : cases) {
        lines(c.encoding, {c.line});
        m_state.setFindText("\u00C9", false);
        m_state.setCaseCheck(true);
        m_state.setReplaceText("<\\>");
        EXPECT_EQ(m_actions.replaceNext(m_pane), 1);
        EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{c.expected}));
    }
}

TEST_F(SearchEncodingTest, AReplacementA1252DocumentCannotHoldIsRefused) {
    lines(k1252, {"a->b", "c->\xE9"});
    m_document.goToLine(1);
    m_document.setCursorOffset(1);
    m_state.setFindText("->", false);
    m_state.setReplaceText("\u2192");
    const std::vector<std::string> before = test::documentLines(m_document);

    EXPECT_EQ(m_actions.replaceNext(m_pane), 0);
    m_state.setReplaceAll(true);
    m_state.attach(&m_pane);
    EXPECT_EQ(m_state.replace(true, &m_messages), 0);
    EXPECT_TRUE(m_state.replaceRefused());
    m_state.detach();

    EXPECT_EQ(test::documentLines(m_document), before);
    EXPECT_EQ(m_document.cursorLine(), 1);
    EXPECT_EQ(m_document.cursorOffset(), 1);
    EXPECT_FALSE(m_document.mark().exists());
    const Status refusal{"The character U+2192 can not be held by this Windows-1252 document. "
                         "View > Encoding switches it to UTF-8.",
                         SoundKind::Error};
    EXPECT_EQ(m_messages.statuses, (std::vector<Status>{refusal, refusal}));

    // One it can hold goes in as its byte.
    m_state.setReplaceText("\u00E9");
    m_document.goToLine(0);
    m_document.setCursorOffset(0);
    m_state.attach(&m_pane);
    EXPECT_EQ(m_state.replace(true, &m_messages), 2);
    EXPECT_FALSE(m_state.replaceRefused());
    m_state.detach();
    EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{"a\xE9"
                                                                         "b",
                                                                         "c\xE9\xE9"}));
}

TEST_F(SearchEncodingTest, TheReplaceDialogShowsOnlyTheRefusal) {
    lines(k1252, {"a->b"});
    ReplaceDialogModel dialog(m_state, m_messages, m_home.path().string() + "/");
    dialog.setFindText("->");
    dialog.setReplaceText("\u2192");
    EXPECT_EQ(dialog.replace(&m_pane), 0);
    EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{"a->b"}));
    ASSERT_EQ(m_messages.statuses.size(), 1u);
    EXPECT_EQ(m_messages.statuses[0].sound, SoundKind::Error);
}

// The word or marked text taken as the find text is read in the document's encoding.
TEST_F(SearchEncodingTest, TheWordAtTheCursorBecomesUtf8) {
    const struct {
        TextEncoding encoding;
        std::string line;
    } cases[] = {{kUtf8, "un caf\u00E9 noir"}, {k1252, "un caf\xE9 noir"}};
    for (const auto& c : cases) {
        lines(c.encoding, {c.line});
        m_document.setCursorOffset(4);
        ASSERT_TRUE(m_actions.takeFindTextFromDocument(m_document));
        EXPECT_EQ(m_state.findText(), "caf\u00E9");
        m_document.setCursorOffset(0);
        EXPECT_TRUE(find());
        EXPECT_EQ(m_state.lastMatch().offset, 3);
    }
}

TEST_F(SearchEncodingTest, TextsKeepEightyCharactersNotBytes) {
    std::string typed;
    for (int i = 0; i < 90; ++i) {
        typed += "\u00E9";
    }
    m_state.setFindText(typed, false);
    m_state.setReplaceText(typed);
    EXPECT_EQ(m_state.findText(), typed.substr(0, 160));
    EXPECT_EQ(m_state.replaceText(), typed.substr(0, 160));
}

TEST_F(SearchEncodingTest, OldWindows1252SettingsAndHistoriesAreReadAsSuch) {
    test::writeFileBytes(m_home.file("vexa.INI"), "[Searching]\nFindText=caf\xE9\nReplaceText=\xE9t\xE9\n");
    SettingsFile settings(m_home.file("vexa.INI"));
    m_state.load(settings);
    EXPECT_EQ(m_state.findText(), "caf\u00E9");
    EXPECT_EQ(m_state.replaceText(), "\u00E9t\u00E9");
    ASSERT_TRUE(m_state.save(settings));
    EXPECT_EQ(settings.read().find("Searching", "FindText"), "caf\u00E9");
    SearchState reread;
    reread.load(settings);
    EXPECT_EQ(reread.findText(), "caf\u00E9");

    test::writeFileBytes(m_home.file("VexaFnd.his"), "\x00\x02\x04"
                                                     "caf\xE9\0\x05"
                                                     "caf\xC3\xA9\0"s);
    test::writeFileBytes(m_home.file("VexaRep.his"), "\x00\x01\x01\xE9\0"s);
    ReplaceDialogModel dialog(m_state, m_messages, m_home.path().string() + "/");
    EXPECT_EQ(dialog.findHistory().entries(), (std::vector<std::string>{"caf\u00E9", "caf\u00E9"}));
    EXPECT_EQ(dialog.replaceHistory().entries(), (std::vector<std::string>{"\u00E9"}));
}

// Eighty characters of four bytes each are more than a history entry holds: the entry keeps the
// whole characters that fit, and comes back as UTF-8.
TEST_F(SearchEncodingTest, ALongHistoryEntryKeepsWholeCharacters) {
    lines(kUtf8, {"x"});
    std::string typed;
    for (int i = 0; i < 80; ++i) {
        typed += "\U0001F600";
    }
    {
        SearchDialogModel dialog(m_state, m_messages, m_home.path().string() + "/");
        dialog.setFindText(typed);
        (void)dialog.findNext(&m_pane);
        ASSERT_TRUE(dialog.close());
    }
    SearchDialogModel reopened(m_state, m_messages, m_home.path().string() + "/");
    EXPECT_EQ(reopened.findHistory().entries(), (std::vector<std::string>{typed.substr(0, 63 * 4)}));
    EXPECT_EQ(historyEntryOf("short"), "short");
}

} // namespace
} // namespace vexa
