// The checker: settings, dictionaries on disk, and the scan through the tokenizer.
#include <gtest/gtest.h>

#include <filesystem>

#include "aids/SpellChecker.h"
#include "frame/HeadlessFrame.h"
#include "settings/InfoHeader.h"
#include "settings/SettingsFile.h"
#include "support/TempHome.h"
#include "syntax/ColourTable.h"
#include "syntax/SyntaxProfile.h"
#include "text/TextEncoding.h"

namespace vexa::aids {
namespace {

class SpellCheckerTest : public ::testing::Test {
protected:
    SpellCheckerTest() : profile(colours, syntax::BuiltInKeywords::Yes) {
        profile.setSpecial(syntax::SpecialChar::Preprocessor, '#');
        SpellDictionary english;
        english.setDescription("English");
        english.setFileName(home.file("ENGLISH.DIC"));
        for (std::string_view word : {"the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog", "value",
                                      "see", "count", "hello", "world", "caf\xE9"}) {
            english.addWord(word);
        }
        EXPECT_EQ(english.save(), SpellDictionary::FileResult::Ok);
    }
    SpellChecker makeChecker(SpellOptions options = {}) {
        SpellChecker checker(home.path().string(), frame, nullptr);
        checker.setSettings({"ENGLISH.DIC", options});
        checker.ensureLoaded();
        return checker;
    }
    std::optional<std::string> firstUnknown(SpellChecker& checker, std::string_view line) {
        const auto stop = checker.scanLine(line, profile, 0, nullptr);
        if (!stop) {
            return std::nullopt;
        }
        EXPECT_EQ(line.substr(static_cast<std::size_t>(stop->offset), static_cast<std::size_t>(stop->length)),
                  stop->word);
        return stop->word;
    }

    test::TempHome home;
    HeadlessFrame frame;
    syntax::ColourTable colours;
    syntax::SyntaxProfile profile;
};

TEST_F(SpellCheckerTest, ScanChecksWordsCommentsAndStrings) {
    SpellChecker checker = makeChecker();
    EXPECT_TRUE(checker.primary().loaded());
    EXPECT_TRUE(std::filesystem::exists(home.path() / "VexaCust.dic"));
    struct Case {
        std::string_view line;
        std::optional<std::string> unknown;
    };
    const std::vector<Case> cases = {
        {"int count = 0; /* the quick brown fox */", std::nullopt},
        {"/* the quikc brown fox */", "quikc"},
        {"// hello wrold", "wrold"},
        {"see(\"hello wrold\");", "wrold"},
        {"see(\"http://exmaple.org/x\");", std::nullopt}, // an address string is skipped
        {"/* mail fox@exmaple.org now */", "mail"},       // the address itself is skipped
        {"/* fox@exmaple.org */", std::nullopt},
        {"#  ifdnef", std::nullopt},               // the directive token is skipped
        {"#include <stdoi.h>", std::nullopt},      // an included file's name is no word
        {"#include \"mian.h\" // wrold", "wrold"}, // but its comment is checked
        {"  #  import \"mian.h\"", std::nullopt},
        {"#define stdoi 1", "stdoi"},                            // and so are other directive lines
        {"see(\"%d fox %5.2lf %-10s%zu %llx\");", std::nullopt}, // printf directives in strings
        {"see(\"%sfoxx\");", "foxx"},                            // the letters after a directive are a word
        {"see(\"100%%lf\");", "lf"},                             // "%%" is a percent sign
        {"/* %lf */", "lf"},                                     // outside a string '%' is no directive
        {"x = 42 + 0x1F;", std::nullopt},                        // one letter and numbers
        {"valeu = 1;", "valeu"},                                 // ordinary words are checked too
        {"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"", std::nullopt},
        {"/**/", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstUnknown(checker, c.line), c.unknown) << c.line;
    }
}

// With the backslash as the profile's escape character, the letters of an escape in a string
// ("\t", "\x7F", "\u00e9", "\U0001F600", "\101") are no part of a word: the word begins after
// them, and its own letters are still checked. A doubled backslash is a backslash, so the letters
// after it are a word.
TEST_F(SpellCheckerTest, EscapesInStringsAreNoPartOfAWord) {
    profile.setSpecial(syntax::SpecialChar::Literal, '\\');
    SpellChecker checker = makeChecker();
    struct Case {
        std::string_view line;
        std::optional<std::string> unknown;
    };
    const std::vector<Case> cases = {
        {R"(see("\tfox\nthe\rdog\e");)", std::nullopt},
        {R"(see("\tfxo");)", "fxo"},
        {R"(see("\afox\bfox\ffox\vfox");)", std::nullopt},
        {R"(see("\\tfox");)", "tfox"},        // a backslash, then a word
        {R"(see("\\\tfox");)", std::nullopt}, // a backslash, then a tab
        {R"(see("\xab\x7Fthe");)", std::nullopt},
        {R"(see("\xabfox");)", "ox"}, // every hex digit is the escape's, the 'f' of "fox" too
        {R"(see("\x7Fteh");)", "teh"},
        {R"(see("\xabcdef");)", std::nullopt},
        {R"(see("\u00e9the\uABCDfox");)", std::nullopt}, // four hex digits, then the word
        {R"(see("\uabcdfxo");)", "fxo"},
        {R"(see("\U0001F600fox\U0001f600dgo");)", "dgo"},
        {R"(see("\101fox\0dog\7the");)", std::nullopt}, // octal digits
        {R"(see("\qfox");)", std::nullopt},             // any letter after the backslash
        {R"(see("%d\tfxo");)", "fxo"},
        {R"(see("\t%sfoxx");)", "foxx"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstUnknown(checker, c.line), c.unknown) << c.line;
    }
}
// Dictionaries hold Windows-1252 words: a word of a UTF-8 line is looked up as its characters,
// and a word Windows-1252 has no form of is passed over (no dictionary could know or learn it).
TEST_F(SpellCheckerTest, WordsAreLookedUpAsTheirCharacters) {
    SpellChecker checker = makeChecker();
    constexpr auto utf8 = TextEncoding::Utf8;
    constexpr auto cp1252 = TextEncoding::Windows1252;
    struct Case {
        std::string line;
        TextEncoding encoding;
        std::optional<SpellStop> stop;
    };
    const std::vector<Case> cases = {
        {"/* the caf\xC3\xA9 */", utf8, std::nullopt},
        {"/* the caf\xE9 */", cp1252, std::nullopt},
        {"/* cof\xC3\xA9 */", utf8, SpellStop{0, 3, 5, "cof\xC3\xA9"}},
        {"/* caf\xC3\xA9 */", cp1252, SpellStop{0, 3, 5, "caf\xC3\xA9"}}, // other characters there
        {"/* \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 wrold */", utf8, SpellStop{0, 14, 5, "wrold"}},
        {"/* caf\xE9 the */", utf8, std::nullopt}, // a byte that is no UTF-8 character is not a word
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checker.scanLine(c.line, profile, 0, nullptr, c.encoding), c.stop) << c.line;
    }
    EXPECT_EQ(dictionaryWord("caf\xC3\xA9", utf8), "caf\xE9");
    EXPECT_EQ(dictionaryWord("caf\xC3\xA9", cp1252), "caf\xC3\xA9");
    EXPECT_EQ(dictionaryWord("\xE2\x86\x92", utf8), std::nullopt);
}

TEST_F(SpellCheckerTest, AStopIsWholeCharactersWhereADelimiterByteCutsASequence) {
    // A profile written for Windows-1252 text may hold a delimiter byte that is also the second
    // byte of a UTF-8 sequence ("\xBB" in "\xC3\xBB").
    profile.setDelimiters(std::string(profile.delimiters()) + "\xBB");
    SpellChecker checker = makeChecker();
    const std::string line = "/* fo\xC3\xBBx */";
    const auto stop = checker.scanLine(line, profile, 0, nullptr, TextEncoding::Utf8);
    ASSERT_TRUE(stop);
    EXPECT_EQ(*stop, (SpellStop{0, 3, 4, "fo\xC3\xBB"}));
}

TEST_F(SpellCheckerTest, HtmlOptionOffChecksAddresses) {
    SpellOptions options;
    options.html = false;
    SpellChecker checker = makeChecker(options);
    EXPECT_EQ(firstUnknown(checker, "see(\"http://x\");"), "\"http://x\"");
}

TEST_F(SpellCheckerTest, ScanOverLinesAndFromAnOffset) {
    SpellChecker checker = makeChecker();
    const std::vector<std::string> text = {"/* the dgo */", "/* wrold */", "/* fine dog */"};
    const auto lineOf = [&](int index) { return std::string_view(text[static_cast<std::size_t>(index)]); };
    auto stop = checker.scan(lineOf, profile, 0, 0, 3, nullptr);
    ASSERT_TRUE(stop);
    EXPECT_EQ(*stop, (SpellStop{0, 7, 3, "dgo"}));
    stop = checker.scan(lineOf, profile, 0, 10, 3, nullptr);
    ASSERT_TRUE(stop);
    EXPECT_EQ(*stop, (SpellStop{1, 3, 5, "wrold"}));
    SpellDictionary ignore;
    ignore.addWord("wrold");
    ignore.addWord("fine");
    EXPECT_FALSE(checker.scan(lineOf, profile, 1, 0, 3, &ignore));
}

TEST_F(SpellCheckerTest, CustomDictionaryAndSuggestions) {
    SpellChecker checker = makeChecker();
    EXPECT_FALSE(checker.accepts("vexa", nullptr));
    ASSERT_TRUE(checker.addToCustom("vexa"));
    EXPECT_TRUE(checker.accepts("vexa", nullptr));
    SpellChecker again = makeChecker();
    EXPECT_TRUE(again.accepts("vexa", nullptr));
    EXPECT_EQ(again.suggestions("helo"), (std::vector<std::string>{"hello"}));
    EXPECT_EQ(again.dialogTitle(), "Spelling: English");
    EXPECT_FALSE(again.addToCustom("two words"));
    const auto list = again.listDictionaries();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].fileName, "ENGLISH.DIC");
    EXPECT_EQ(list[0].description, "English");
}

// Seen when checking a C file: "togther" and "reslt" were offered nothing.
TEST_F(SpellCheckerTest, SuggestionsOneEditAwayJoinThePhoneticOnesNearerFirst) {
    SpellChecker checker = makeChecker();
    for (std::string_view word : {"together", "tighter", "result", "hell", "halo", "form"}) {
        ASSERT_EQ(checker.custom().addWord(word), WordFault::Ok);
    }
    struct Case {
        std::string_view word;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"togther", {"together", "tighter"}}, // a letter left out; the sound-alike two edits away last
        {"reslt", {"result"}},                // a letter left out
        {"helo", {"hello", "halo", "hell"}},  // sound-alikes first among equals
        {"fomr", {"form"}},                   // two neighbours swapped
        {"Togther", {"together", "tighter"}}, // a capital at the start of a sentence
        {"xyzzy", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checker.suggestions(c.word), c.expected) << c.word;
    }
}

TEST(SpellEditDistance, CountsInsertsDeletesReplacesAndSwaps) {
    struct Case {
        std::string_view a;
        std::string_view b;
        std::size_t distance;
    };
    const std::vector<Case> cases = {
        {"result", "result", 0},
        {"reslt", "result", 1},
        {"result", "reslt", 1},
        {"resalt", "result", 1},
        {"reuslt", "result", 1},
        {"", "ab", 2},
        {"abc", "cba", 2},
        {"RESULT", "result", 0},
        {std::string_view("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"), "a", 65},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(editDistance(c.a, c.b), c.distance) << c.a << " " << c.b;
    }
}

TEST_F(SpellCheckerTest, ACustomDictionaryThatDidNotLoadCleanlyIsNeverRewritten) {
    SpellChecker first = makeChecker();
    ASSERT_TRUE(first.addToCustom("vexa"));
    const std::filesystem::path path = home.path() / std::string(kCustomDictionaryName);
    const std::string good = test::readFileBytes(path);
    std::string newer = good;
    newer.replace(kInfoVersionOffset, 5, "01.01");
    std::string blank = good;
    blank.replace(blank.find("vexa"), 4, "ve a");
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {{"a newer version", newer}, {"a word with a blank", blank}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        test::writeFileBytes(path, row.bytes);
        frame.clearEvents();
        SpellChecker checker = makeChecker();
        EXPECT_FALSE(checker.addToCustom("zebra"));
        EXPECT_TRUE(checker.accepts("zebra", nullptr));
        EXPECT_EQ(test::readFileBytes(path), row.bytes);
        const auto boxes = frame.eventsOf(FrameEventKind::MessageBox);
        ASSERT_FALSE(boxes.empty());
        EXPECT_NE(boxes.back().text.find("is not rewritten"), std::string::npos) << boxes.back().text;
    }
}

TEST_F(SpellCheckerTest, MissingPrimaryWarnsAndStillUsesTheCustomList) {
    SpellChecker checker(home.path().string(), frame, nullptr);
    checker.setSettings({"NONE.DIC", {}});
    checker.ensureLoaded();
    EXPECT_EQ(frame.lastStatus(), kPrimaryLoadFailed);
    EXPECT_EQ(checker.dialogTitle(), "Spelling: No Dictionary Loaded");
    ASSERT_TRUE(checker.addToCustom("dog"));
    EXPECT_TRUE(checker.accepts("dogs", nullptr));
}

TEST_F(SpellCheckerTest, SettingsRoundTrip) {
    SettingsFile file(home.file("vexa.ini"));
    SpellSettings defaults = readSpellSettings(file);
    EXPECT_EQ(defaults.dictionary, "");
    EXPECT_EQ(defaults.options, SpellOptions{});
    SpellSettings changed{"ENGLISH.DIC", {false, true, false, false, false, true}};
    ASSERT_TRUE(writeSpellSettings(file, changed));
    const SpellSettings back = readSpellSettings(file);
    EXPECT_EQ(back.dictionary, "ENGLISH.DIC");
    EXPECT_EQ(back.options, changed.options);
}

} // namespace
} // namespace vexa::aids
