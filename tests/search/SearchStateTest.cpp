// Search and replace in a document: texts and escapes, options, finding forward and backward,
// anchored patterns, whole words, showing a match, replacing, and the saved settings.
#include "search/SearchState.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "core/Document.h"
#include "settings/SettingsFile.h"
#include "support/SearchPaneFake.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using test::documentLines;
using test::setDocumentLines;

class SearchStateTest : public ::testing::Test {
protected:
    void lines(const std::vector<std::string>& text) { setDocumentLines(m_document, text); }
    void cursor(int line, int offset) {
        m_document.goToLine(line);
        m_document.setCursorOffset(offset);
    }
    bool find() {
        m_state.attach(&m_pane);
        const bool found = m_state.findNext(true);
        m_state.detach();
        return found;
    }
    int replace() {
        m_state.attach(&m_pane);
        const int count = m_state.replace(true);
        m_state.detach();
        return count;
    }
    void expectCursor(int line, int offset) {
        EXPECT_EQ(m_document.cursorLine(), line);
        EXPECT_EQ(m_document.cursorOffset(), offset);
    }
    void expectMarked(int line, int startColumn, int endColumn) {
        const MarkState& mark = m_document.mark();
        EXPECT_EQ(mark.type, MarkType::Column);
        EXPECT_EQ(mark.start(), (MarkPoint{startColumn, line}));
        EXPECT_EQ(mark.end(), (MarkPoint{endColumn, line}));
    }

    test::TempHome m_home;
    Document m_document;
    test::SearchPaneFake m_pane{m_document};
    SearchState m_state;
};

struct EscapeCase {
    const char* typed;
    const char* pattern;
};

TEST_F(SearchStateTest, FindTextEscapes) {
    const EscapeCase cases[] = {
        {"a\\tb", "a\tb"},  {"a\\\\b", "a\\b"}, {"\\.x", "\\.x"},   {"\\\\\\\\", "\\\\"},
        {"end\\", "end\\"}, {"\\\\t", "\\t"},   {"plain", "plain"},
    };
    for (const EscapeCase& c : cases) {
        m_state.setFindText(c.typed, false);
        EXPECT_EQ(m_state.findText(), c.typed);
        EXPECT_EQ(m_state.findPattern(), c.pattern) << c.typed;
    }
}

struct ReplacementCase {
    const char* typed;
    const char* format;
    bool placeholders;
    const char* inserted; // for the found text "XY"
};

TEST_F(SearchStateTest, ReplacementEscapesAndPlaceholders) {
    const ReplacementCase cases[] = {
        {"plain", "plain", false, "plain"},    {"a\\tb", "a\tb", false, "a\tb"},
        {"a\\\\b", "a\\b", false, "a\\b"},     {"\\&", "%s&", true, "XY&"},
        {"<\\(>", "<%s(>", true, "<XY(>"},     {"100% \\!", "100% %s!", true, "100% XY!"},
        {"50%", "50%", false, "50%"},          {"\\1\\2\\3\\4", "%s1%s2%s3%s4", true, "XY1XY2XY3XY4"},
        {"tail\\", "tail\\", false, "tail\\"},
    };
    for (const ReplacementCase& c : cases) {
        m_state.setReplaceText(c.typed);
        EXPECT_EQ(m_state.replaceText(), c.typed);
        EXPECT_EQ(m_state.replaceFormat(), c.format) << c.typed;
        EXPECT_EQ(m_state.hasPlaceholders(), c.placeholders) << c.typed;
        EXPECT_EQ(m_state.replacementFor("XY"), c.inserted) << c.typed;
    }
}

TEST_F(SearchStateTest, TextsKeepEightyCharacters) {
    const std::string longText(100, 'q');
    m_state.setFindText(longText, false);
    EXPECT_EQ(m_state.findText(), std::string(80, 'q'));
    m_state.setReplaceText(longText);
    EXPECT_EQ(m_state.replaceText(), std::string(80, 'q'));
    // The found text a placeholder takes is cut to 80 characters too.
    m_state.setReplaceText("\\.");
    EXPECT_EQ(m_state.replacementFor(longText), std::string(80, 'q') + ".");
}

TEST_F(SearchStateTest, ChangedFindTextSetsTheFoundStateToTheGivenValue) {
    m_state.setFindText("abc", true);
    EXPECT_TRUE(m_state.found());
    m_state.setFindText("abc", false); // unchanged: the found state stays
    EXPECT_TRUE(m_state.found());
    m_state.setFindText("abd", false);
    EXPECT_FALSE(m_state.found());
    // Only the first 80 characters count.
    m_state.setFindText(std::string(80, 'x') + "1", true);
    m_state.setFindText(std::string(80, 'x') + "2", false);
    EXPECT_TRUE(m_state.found());
}

TEST_F(SearchStateTest, ForwardFindsSuccessiveOccurrencesThenStops) {
    lines({"one two", "two three two", "four"});
    m_state.setFindText("two", false);
    ASSERT_TRUE(find());
    expectCursor(0, 4);
    expectMarked(0, 4, 7);
    ASSERT_TRUE(find());
    expectCursor(1, 0);
    ASSERT_TRUE(find());
    expectCursor(1, 10);
    expectMarked(1, 10, 13);
    const int refreshes = m_pane.refreshes;
    EXPECT_FALSE(find());
    // Nothing moved: the last match stays marked and the cursor on it.
    expectCursor(1, 10);
    expectMarked(1, 10, 13);
    EXPECT_EQ(m_pane.refreshes, refreshes);
}

TEST_F(SearchStateTest, BackwardTakesTheLastMatchBeforeTheCursor) {
    lines({"ab ab", "x ab y ab z ab"});
    m_state.setFindText("ab", false);
    m_state.setForward(false);
    cursor(1, 12);
    const std::vector<std::pair<int, int>> expected = {{1, 7}, {1, 2}, {0, 3}, {0, 0}};
    for (const auto& [line, offset] : expected) {
        ASSERT_TRUE(find());
        expectCursor(line, offset);
    }
    EXPECT_FALSE(find());
    expectCursor(0, 0);
}

TEST_F(SearchStateTest, BackwardFromBeyondTheLastLine) {
    lines({"ab", "cd"});
    m_state.setFindText("cd", false);
    m_state.setForward(false);
    cursor(2, 0);
    ASSERT_TRUE(find());
    expectCursor(1, 0);
}

TEST_F(SearchStateTest, CaseCheck) {
    lines({"Hello hello"});
    m_state.setFindText("hello", false);
    ASSERT_TRUE(find());
    expectCursor(0, 0);
    m_state.setCaseCheck(true);
    m_state.setFound(false);
    cursor(0, 0);
    ASSERT_TRUE(find());
    expectCursor(0, 6);
}

TEST_F(SearchStateTest, WholeWordJudgesOnlyTheFirstOccurrenceOfALine) {
    lines({"foobar foo", "x foo;", "foo"});
    m_state.setFindText("foo", false);
    m_state.setWholeWord(true);
    ASSERT_TRUE(find());
    // Line 0: the first "foo" is part of "foobar". Line 1: ";" ends a word only when the
    // language lists it as a delimiter, and this document's language lists none.
    expectCursor(2, 0);
}

TEST_F(SearchStateTest, WholeWordUsesTheDocumentLanguageDelimiters) {
    // The word breaks hold more than the delimiters ("#" here); only the delimiters end a word.
    class Semicolons final : public LanguageRules {
    public:
        std::string_view wordBreakCharacters() const override { return ";#"; }
        std::string_view delimiterCharacters() const override { return ";"; }
    };
    m_document.setLanguageRules(std::make_shared<Semicolons>());
    lines({"foobar foo", "x foo#", "x foo;", "foo"});
    m_state.setFindText("foo", false);
    m_state.setWholeWord(true);
    ASSERT_TRUE(find());
    expectCursor(2, 2);
}

TEST_F(SearchStateTest, WholeWordRules) {
    struct Case {
        const char* line;
        int offset; // -1: no match
    };
    const Case cases[] = {
        {"foo", 0},   {" foo ", 1},  {"\tfoo\t", 1}, {"afoo", -1},
        {"foob", -1}, {"(foo)", -1}, {"x foo(", -1}, {"_foo", -1},
    };
    m_state.setFindText("foo", false);
    m_state.setWholeWord(true);
    for (const Case& c : cases) {
        auto match = m_state.searchLine(c.line, 0, "");
        if (c.offset < 0) {
            EXPECT_FALSE(match.has_value()) << c.line;
        } else {
            ASSERT_TRUE(match.has_value()) << c.line;
            EXPECT_EQ(match->offset, c.offset) << c.line;
        }
    }
    // The language's delimiters may follow a whole word, but only blanks may precede it.
    EXPECT_TRUE(m_state.searchLine("x foo(", 0, "(").has_value());
    EXPECT_FALSE(m_state.searchLine("(foo ", 0, "(").has_value());
}

TEST_F(SearchStateTest, EscapedTabAndBackslashMatchRealCharacters) {
    lines({"a\\b", "a\tb"});
    m_state.setFindText("a\\tb", false);
    ASSERT_TRUE(find());
    expectCursor(1, 0);
    m_state.setFindText("a\\\\b", false);
    cursor(0, 0);
    ASSERT_TRUE(find());
    expectCursor(0, 0);
    expectMarked(0, 0, 3);
}

TEST_F(SearchStateTest, MatchColumnsCountTabs) {
    lines({"\tx\tneedle"});
    m_document.setSettings(EditSettings{.tabSize = 4});
    m_state.setFindText("needle", false);
    ASSERT_TRUE(find());
    expectCursor(0, 3);
    expectMarked(0, 8, 14);
    EXPECT_EQ(m_state.lastMatch().startColumn, 8);
    EXPECT_EQ(m_state.lastMatch().endColumn, 14);
}

TEST_F(SearchStateTest, RegularExpressionWithCaseOption) {
    lines({"int Main(void)", "int main(void)"});
    m_state.setRegularExpression(true);
    m_state.setFindText("m[a-z]+\\(", false);
    m_state.setCaseCheck(true);
    ASSERT_TRUE(find());
    expectCursor(1, 4);
    expectMarked(1, 4, 9);
    m_state.setCaseCheck(false);
    m_state.setFound(false);
    cursor(0, 0);
    ASSERT_TRUE(find());
    expectCursor(0, 4);
}

TEST_F(SearchStateTest, PatternThatDoesNotCompileFindsNothing) {
    lines({"(a"});
    m_state.setRegularExpression(true);
    m_state.setFindText("(a", false);
    EXPECT_FALSE(find());
    EXPECT_FALSE(m_document.hasMark());
}

TEST_F(SearchStateTest, AnchoredPatternStartedMidLineBeginsOnTheNextLine) {
    lines({"abc", "abc", "xbc"});
    m_state.setRegularExpression(true);
    m_state.setFindText("^ab", false);
    cursor(0, 1);
    ASSERT_TRUE(find());
    expectCursor(1, 0);
    // From the match at the start of line 1 the scan goes on with line 2, which does not match.
    EXPECT_FALSE(find());
    expectCursor(1, 0);
}

TEST_F(SearchStateTest, AnchoredAtLineEndFindsOncePerLine) {
    lines({"ab ab", "ab"});
    m_state.setRegularExpression(true);
    m_state.setFindText("ab$", false);
    ASSERT_TRUE(find());
    expectCursor(0, 3);
    ASSERT_TRUE(find());
    expectCursor(1, 0);
    EXPECT_FALSE(find());
}

TEST_F(SearchStateTest, AnchoredForwardSkipsTheLineOfThePreviousMatch) {
    lines({"xab", "ab"});
    m_state.setRegularExpression(true);
    m_state.setFindText("ab$", false);
    ASSERT_TRUE(find());
    expectCursor(0, 1);
    cursor(0, 0); // the user goes back to the line start; the match there is not taken again
    ASSERT_TRUE(find());
    expectCursor(1, 0);
}

TEST_F(SearchStateTest, EmptyMatchIsMarkedOneColumnWideAndContinuesOnTheNextLine) {
    lines({"abc", "", "de"});
    m_state.setRegularExpression(true);
    m_state.setFindText("$", false);
    ASSERT_TRUE(find());
    expectCursor(0, 3);
    expectMarked(0, 3, 4);
    EXPECT_EQ(m_state.lastMatch().length, 0);
    EXPECT_TRUE(m_state.continuesOnNextLine());
    ASSERT_TRUE(find());
    expectCursor(1, 0);
    ASSERT_TRUE(find());
    expectCursor(2, 2);
    EXPECT_FALSE(find());
}

TEST_F(SearchStateTest, WordStartSeesTheWholeLineFromTheCursor) {
    lines({"xfoo foo"});
    m_state.setRegularExpression(true);
    m_state.setFindText("\\<foo", false);
    cursor(0, 1);
    ASSERT_TRUE(find());
    expectCursor(0, 5);
}

TEST_F(SearchStateTest, NoPaneOrDeadPaneDoesNothing) {
    lines({"abc"});
    m_state.setFindText("b", false);
    EXPECT_FALSE(m_state.findNext(true));
    EXPECT_EQ(m_state.replace(true), 0);
    m_pane.alive = false;
    EXPECT_FALSE(find());
    EXPECT_EQ(replace(), 0);
    expectCursor(0, 0);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"abc"}));
}

TEST_F(SearchStateTest, EmptyFindTextFindsNothing) {
    for (const bool regular : {false, true}) {
        lines({"abc"});
        m_state.setRegularExpression(regular);
        m_state.setFindText("", false);
        m_state.setReplaceText("-");
        EXPECT_FALSE(find()) << regular;
        m_state.setReplaceAll(true);
        EXPECT_EQ(replace(), 0) << regular;
        m_state.setReplaceAll(false);
        EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"abc"})) << regular;
    }
}

TEST_F(SearchStateTest, ReplacingAnEmptyMatchLeavesTheCursorRightAfterTheNewText) {
    lines({"abc"});
    m_state.setRegularExpression(true);
    m_state.setFindText("x*", false);
    m_state.setReplaceText("--");
    EXPECT_EQ(replace(), 1);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"--abc"}));
    expectCursor(0, 2);
    // The next replacement does not land on the same spot again.
    EXPECT_EQ(replace(), 1);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"--a--bc"}));
    expectCursor(0, 5);
}

struct ViewCase {
    const char* name;
    int matchLine;
    int matchColumn;
    int firstBefore;
    int topAfter;
    int firstAfter;
};

TEST_F(SearchStateTest, ShowingAMatchMovesTheView) {
    // 20 visible lines, 80 visible columns.
    const ViewCase cases[] = {
        {"near the top", 3, 0, 0, 0, 0},
        {"centred vertically", 50, 0, 0, 40, 0},
        {"within the first screen width", 50, 70, 30, 40, 0},
        {"beyond the right edge", 50, 200, 0, 40, 160},
        {"visible when scrolled right", 50, 120, 100, 40, 100},
        {"left of a view scrolled right", 50, 85, 150, 40, 45},
    };
    for (const ViewCase& c : cases) {
        std::vector<std::string> text(60, "x");
        text[static_cast<std::size_t>(c.matchLine)] =
            std::string(static_cast<std::size_t>(c.matchColumn), ' ') + "zz";
        lines(text);
        m_pane.top = 0;
        m_pane.first = c.firstBefore;
        m_state.setFindText("zz", false);
        m_state.setFound(false);
        cursor(0, 0);
        ASSERT_TRUE(find()) << c.name;
        EXPECT_EQ(m_pane.top, c.topAfter) << c.name;
        EXPECT_EQ(m_pane.first, c.firstAfter) << c.name;
        EXPECT_TRUE(m_pane.lastScroll) << c.name;
    }
}

TEST_F(SearchStateTest, ReplaceTheCurrentMatch) {
    lines({"one two two"});
    m_state.setFindText("two", false);
    m_state.setReplaceText("2");
    ASSERT_TRUE(find());
    EXPECT_EQ(replace(), 1);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"one 2 two"}));
    expectCursor(0, 5);
    EXPECT_FALSE(m_document.hasMark());
    EXPECT_FALSE(m_state.found());
    // Without a current match the next one is searched first.
    EXPECT_EQ(replace(), 1);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"one 2 2"}));
    EXPECT_EQ(replace(), 0);
}

TEST_F(SearchStateTest, PlaceholderTakesTheFoundText) {
    lines({"call f(x);"});
    m_state.setRegularExpression(true);
    m_state.setFindText("[a-z]\\(", false);
    m_state.setReplaceText("[\\&]");
    EXPECT_EQ(replace(), 1);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"call [f(&]x);"}));
}

TEST_F(SearchStateTest, ReplaceAllChangesEveryOccurrenceAfterTheCursorAndReturns) {
    lines({"cat", "a cat and a cat", "dog", "cat"});
    m_state.setFindText("cat", false);
    m_state.setReplaceText("lion");
    m_state.setReplaceAll(true);
    cursor(0, 1);
    EXPECT_EQ(replace(), 3);
    EXPECT_EQ(documentLines(m_document),
              (std::vector<std::string>{"cat", "a lion and a lion", "dog", "lion"}));
    expectCursor(0, 1);
}

TEST_F(SearchStateTest, ReplaceAllBackwardReplacesEachOccurrenceOnce) {
    lines({"a a", "a"});
    m_state.setFindText("a", false);
    m_state.setReplaceText("aa");
    m_state.setReplaceAll(true);
    m_state.setForward(false);
    cursor(1, 1);
    EXPECT_EQ(replace(), 3);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"aa aa", "aa"}));
    expectCursor(1, 1);
}

// Regression: a pattern that matches the empty string made replace all insert forever.
TEST_F(SearchStateTest, ReplaceAllWithEmptyMatchesEnds) {
    lines({"ab", "c"});
    m_state.setRegularExpression(true);
    m_state.setFindText("x*", false);
    m_state.setReplaceText("-");
    m_state.setReplaceAll(true);
    EXPECT_EQ(replace(), 5);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"-a-b-", "-c-"}));
}

// Regression: replace all through the cursor once found the same match on a grown line for ever.
TEST_F(SearchStateTest, ReplaceAllOnLongLinesEnds) {
    struct Case {
        const char* name;
        std::size_t length;
        bool forward;
    };
    const Case cases[] = {{"600 bytes growing past the limit", 600, true},
                          {"2000 bytes forward", 2000, true},
                          {"2000 bytes backward", 2000, false}};
    for (const Case& c : cases) {
        lines({std::string(c.length, 'x'), "x"});
        m_state.setFindText("x", false);
        m_state.setReplaceText("yy");
        m_state.setReplaceAll(true);
        m_state.setForward(c.forward);
        cursor(c.forward ? 0 : 1, c.forward ? 0 : 1);
        EXPECT_EQ(replace(), static_cast<int>(c.length) + 1) << c.name;
        EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{std::string(2 * c.length, 'y'), "yy"}))
            << c.name;
        expectCursor(c.forward ? 0 : 1, c.forward ? 0 : 1);
    }
}

TEST_F(SearchStateTest, ReplaceAndSearchWorkOnMatchesFarIntoALine) {
    std::string longLine(1500, '.');
    longLine.replace(1100, 3, "abc");
    longLine.replace(1300, 3, "abc");
    lines({longLine, "abc"});
    m_state.setFindText("abc", false);
    m_state.setReplaceText("XYZ");
    ASSERT_TRUE(find());
    EXPECT_EQ(m_state.lastMatch().offset, 1100);
    expectMarked(0, 1100, 1103);
    // The next search goes on past the match.
    ASSERT_TRUE(find());
    EXPECT_EQ(m_state.lastMatch().offset, 1300);
    EXPECT_EQ(replace(), 1);
    std::string expected = longLine;
    expected.replace(1300, 3, "XYZ");
    EXPECT_EQ(m_document.lineText(0), expected);
    // The next replacement goes on after the new text, not back at the cursor.
    EXPECT_EQ(replace(), 1);
    EXPECT_EQ(m_document.lineText(0), expected);
    EXPECT_EQ(m_document.lineText(1), "XYZ");
}

// Replace all rebuilds each line with matches once, in either direction: one undo record per
// changed line, and one undo brings the whole line back.
TEST_F(SearchStateTest, ReplaceAllChangesEachLineOnceAndUndoesWhole) {
    std::string line;
    for (int i = 0; i < 5000; ++i) {
        line += "ab;";
    }
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        expected += "aXY;";
    }
    for (const bool forward : {true, false}) {
        SCOPED_TRACE(forward ? "forward" : "backward");
        lines({line, "no match here", line});
        m_state.setFindText("b", false);
        m_state.setFound(false);
        m_state.setReplaceText("XY");
        m_state.setReplaceAll(true);
        m_state.setForward(forward);
        cursor(forward ? 0 : 2, forward ? 0 : static_cast<int>(line.size()));
        m_document.nextGroup();
        const std::size_t before = m_document.undoStore().undoCount();
        EXPECT_EQ(replace(), 10'000);
        EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{expected, "no match here", expected}));
        EXPECT_LE(m_document.undoStore().undoCount() - before, 6u); // two lines, cursor moves
        m_document.nextGroup();
        ASSERT_TRUE(m_document.undo());
        EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{line, "no match here", line}));
    }
}

// Regular expressions reach matches past byte 1024, and a match longer than 1024 bytes is
// replaced whole.
TEST_F(SearchStateTest, RegularExpressionsReplaceLongMatchesFarIntoALine) {
    const std::string line = std::string(3000, '.') + std::string(2000, 'q') + "!";
    struct RegexCase {
        const char* name;
        bool all;
    };
    for (const RegexCase c : {RegexCase{"one", false}, RegexCase{"all", true}}) {
        lines({line});
        m_state.setRegularExpression(true);
        m_state.setFindText("q+", false);
        m_state.setReplaceText("<>");
        m_state.setReplaceAll(c.all);
        cursor(0, 0);
        EXPECT_EQ(replace(), 1) << c.name;
        EXPECT_EQ(m_document.lineText(0), std::string(3000, '.') + "<>!") << c.name;
    }
}

TEST_F(SearchStateTest, ReplaceAllAnchoredPatternOncePerLine) {
    lines({"\t\t\tx", "\t\ty"});
    m_state.setRegularExpression(true);
    m_state.setFindText("^\\t", false);
    m_state.setReplaceText("");
    m_state.setReplaceAll(true);
    EXPECT_EQ(replace(), 2);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"\t\tx", "\ty"}));
}

TEST_F(SearchStateTest, ReplaceAllBackwardNeverSearchesItsOwnReplacement) {
    lines({"aab"});
    m_state.setFindText("ab", false);
    m_state.setReplaceText("b");
    m_state.setReplaceAll(true);
    m_state.setForward(false);
    cursor(0, 3);
    EXPECT_EQ(replace(), 1);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"ab"}));
}

// Replace Next and Replace Previous called again and again end where Replace All ends: the text a
// call inserted is never searched again, and an anchored pattern matches once per line.
TEST_F(SearchStateTest, SingleReplacementsFollowTheRulesOfReplaceAll) {
    struct Case {
        const char* name;
        std::vector<std::string> text;
        bool regularExpression;
        const char* find;
        const char* replacement;
        bool forward;
        int line;
        int offset;
        std::vector<std::string> expected;
        int count;
    };
    const Case cases[] = {
        {"anchored forward, empty replacement",
         {"\t\t\tx", "\t\ty"},
         true,
         "^\\t",
         "",
         true,
         0,
         0,
         {"\t\tx", "\ty"},
         2},
        {"anchored forward, text left at the line start",
         {"\t\tx", "y"},
         true,
         "^\\t",
         "\\t",
         true,
         0,
         0,
         {"\t\tx", "y"},
         1},
        {"backward, a match running into the new text",
         {"aab ab"},
         false,
         "ab",
         "b",
         false,
         0,
         6,
         {"ab b"},
         2},
        {"backward, a match ending where the new text starts",
         {"abab"},
         false,
         "ab",
         "x",
         false,
         0,
         4,
         {"xx"},
         2},
        {"backward, overlapping occurrences",
         {"aaaaa", "aa aaa"},
         false,
         "aa",
         "b",
         false,
         1,
         6,
         {"abb", "b ab"},
         4},
        {"backward, a regular expression whose next match must end before the last",
         {"x1x22x333"},
         true,
         "x[0-9]*",
         "<\\>",
         false,
         0,
         9,
         {"<x1><x22><x333>"},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool all : {true, false}) {
            SCOPED_TRACE(all ? "replace all" : "one at a time");
            lines(c.text);
            cursor(c.line, c.offset);
            m_state.setRegularExpression(c.regularExpression);
            m_state.setFindText(c.find, false);
            m_state.setFound(false);
            m_state.setReplaceText(c.replacement);
            m_state.setForward(c.forward);
            m_state.setReplaceAll(all);
            int count = 0;
            // Replace All runs once; single calls go on until one replaces nothing.
            for (int call = 0; call < (all ? 1 : 10); ++call) {
                const int replaced = replace();
                if (replaced == 0) {
                    break;
                }
                count += replaced;
            }
            EXPECT_EQ(documentLines(m_document), c.expected);
            EXPECT_EQ(count, c.count);
        }
    }
}

TEST_F(SearchStateTest, ReplaceAllAtLineEnds) {
    lines({"a", "b"});
    m_state.setRegularExpression(true);
    m_state.setFindText("$", false);
    m_state.setReplaceText(";");
    m_state.setReplaceAll(true);
    EXPECT_EQ(replace(), 2);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"a;", "b;"}));
}

TEST_F(SearchStateTest, StaleFoundStateSearchesAgain) {
    lines({"xx yy"});
    m_state.setFindText("yy", false);
    m_state.setReplaceText("z");
    ASSERT_TRUE(find());
    m_document.clearMark(); // the match is no longer marked
    cursor(0, 0);
    EXPECT_EQ(replace(), 1);
    EXPECT_EQ(documentLines(m_document), (std::vector<std::string>{"xx z"}));
}

TEST_F(SearchStateTest, SnapshotAndRestore) {
    m_state.setFindText("a\\tb", true);
    m_state.setReplaceText("\\&!");
    m_state.setWholeWord(true);
    const SearchState::Snapshot saved = m_state.snapshot();
    m_state.setFindText("other", false);
    m_state.setReplaceText("plain");
    m_state.setWholeWord(false);
    m_state.setForward(false);
    m_state.restore(saved);
    EXPECT_EQ(m_state.findText(), "a\\tb");
    EXPECT_EQ(m_state.findPattern(), "a\tb");
    EXPECT_EQ(m_state.replaceFormat(), "%s&!");
    EXPECT_TRUE(m_state.found());
    EXPECT_EQ(m_state.options().wholeWord, 1);
    EXPECT_EQ(m_state.options().forward, 1);
}

TEST_F(SearchStateTest, SettingsDefaultsAndRoundTrip) {
    SettingsFile settings(m_home.file("vexa.INI"));
    m_state.load(settings);
    EXPECT_EQ(m_state.findText(), "");
    EXPECT_EQ(m_state.options(), SearchOptions{});

    test::writeFileBytes(m_home.file("vexa.INI"),
                         "[Searching]\nFindText=a\\\\b\nReplaceText=x\\&\nForward=0\n"
                         "CaseCheck=1\nWholeWord=1\nReplaceAll=1\nRegExpress=1\n");
    m_state.load(settings);
    EXPECT_EQ(m_state.findText(), "a\\\\b");
    EXPECT_EQ(m_state.findPattern(), "a\\b");
    EXPECT_EQ(m_state.replaceFormat(), "x%s&");
    EXPECT_EQ(m_state.options(), (SearchOptions{0, 1, 1, 1, 1}));

    m_state.setForward(true);
    m_state.setWholeWord(false);
    m_state.setFindText("it's", false);
    ASSERT_TRUE(m_state.save(settings));
    SettingsText text = settings.read();
    EXPECT_EQ(text.find("Searching", "FindText"), "it's");
    EXPECT_EQ(text.find("Searching", "ReplaceText"), "x\\&");
    EXPECT_EQ(text.find("Searching", "Forward"), "1");
    EXPECT_EQ(text.find("Searching", "CaseCheck"), "1");
    EXPECT_EQ(text.find("Searching", "WholeWord"), "0");
    EXPECT_EQ(text.find("Searching", "ReplaceAll"), "1");
    EXPECT_EQ(text.find("Searching", "RegExpress"), "1");

    SearchState reread;
    reread.load(settings);
    EXPECT_EQ(reread.findText(), "it's");
    EXPECT_EQ(reread.options(), m_state.options());
}

} // namespace
} // namespace vexa
