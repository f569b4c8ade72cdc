// The word list, its acceptance rules, suggestions and its file.
#include <gtest/gtest.h>

#include "aids/SpellDictionary.h"
#include "settings/BinaryFields.h"
#include "settings/InfoHeader.h"
#include "support/TempHome.h"

namespace vexa::aids {
namespace {

SpellDictionary dictionaryOf(std::initializer_list<std::string_view> words, SpellOptions options = {}) {
    SpellDictionary dictionary;
    dictionary.setOptions(options);
    for (std::string_view word : words) {
        EXPECT_EQ(dictionary.addWord(word), WordFault::Ok) << word;
    }
    return dictionary;
}

TEST(SpellDictionaryTest, SuffixRules) {
    const SpellDictionary dictionary =
        dictionaryOf({"walk", "carry", "bake", "state", "happy", "govern", "care", "quick", "Paris", "NASA"});
    struct Case {
        std::string_view word;
        bool correct;
    };
    const std::vector<Case> cases = {
        {"walk", true},        {"walked", true},     {"walks", true},   {"walking", true},
        {"carries", true},     {"carried", false}, // "ed" has no i-to-y rule
        {"carrier", true},     {"baked", true},      {"baking", true},  {"baker", true},
        {"statements", true},  {"statement", false}, // "ent" comes first and is the one removed

        {"governments", true}, {"happiness", true},  {"careful", true}, {"careless", true},
        {"quickly", true},     {"walkz", false},     {"stat", false},   {"ed", false},
        {"WALKED", true},      {"Walked", true},     {"paris", false},  {"Paris", true},
        {"NASA", true},        {"Nasa", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dictionary.accepts(c.word), c.correct) << c.word;
    }
    // Only one suffix is removed: "ments" takes the word to its stem, not "ment" then "s".
    EXPECT_TRUE(dictionary.isWordCorrect("statements", false));
    EXPECT_FALSE(dictionaryOf({"statement"}).isWordCorrect("statementss", false));
}

TEST(SpellDictionaryTest, Options) {
    SpellOptions none;
    none.html = none.english = none.numbers = none.capitals = none.character = false;
    SpellOptions all = none;
    all.english = all.numbers = all.capitals = all.character = true;
    const SpellDictionary strict = dictionaryOf({"walk", "dog"}, none);
    const SpellDictionary relaxed = dictionaryOf({"walk", "dog"}, all);
    struct Case {
        std::string_view word;
        bool strict;
        bool relaxed;
    };
    const std::vector<Case> cases = {
        {"x", false, true},     {"dog's", false, true},  {"dog'S", false, true},
        {"DOG'S", false, true}, {"DOG", false, true},    {"walk2", false, true},
        {"", true, true},       {"WALKED", false, true}, {"Dog", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(strict.accepts(c.word), c.strict) << c.word;
        EXPECT_EQ(relaxed.accepts(c.word), c.relaxed) << c.word;
    }
}

// The capital rules fold every letter with two cases that Windows-1252 holds, not only ASCII.
TEST(SpellDictionaryTest, CapitalRulesFoldLettersBeyondAscii) {
    const SpellDictionary dictionary = dictionaryOf({"caf\xE9", "\xE9t\xE9",
                                                     "\x9A\xE9"
                                                     "f",
                                                     "na\xEFve"});
    struct Case {
        std::string_view word;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"Caf\xE9", true},   // Café
        {"CAF\xC9", true},   // CAFÉ
        {"\xC9t\xE9", true}, // Été
        {"\xC9T\xC9", true}, // ÉTÉ
        {"\x8A\xE9"
         "f",
         true},             // Šéf
        {"NA\xCFVE", true}, // NAÏVE
        {"cAF\xC9", false}, // neither form
        {"Caf\xC9", false}, // capital inside a word
        {"CAF\xC9S", true}, // plural of capitals, through the suffix rules
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dictionary.accepts(c.word), c.accepted) << c.word;
    }
}

TEST(SpellDictionaryTest, PhoneticKeysAndSuggestions) {
    EXPECT_EQ(phoneticKey("a"), "A0000");
    EXPECT_EQ(phoneticKey("hello"), "H1610");
    EXPECT_EQ(phoneticKey("help"), "H1630");
    EXPECT_EQ(phoneticKey("Robert"), "R1318");
    EXPECT_EQ(phoneticKey("robbbbbert"), "R1318");
    EXPECT_EQ(phoneticKey("bdtla"), "B5610");
    // A vowel never takes the last place.
    EXPECT_EQ(phoneticKey("bdlma"), "B5670");
    EXPECT_EQ(phoneticKey("x-ray"), "X8100");
    const SpellDictionary dictionary =
        dictionaryOf({"hello", "help", "hollow", "hallo", "hell", "helios", "42nd"});
    std::vector<std::string> list;
    dictionary.suggest("helo", list);
    EXPECT_EQ(list, (std::vector<std::string>{"hallo", "hello"}));
    list.clear();
    dictionary.suggest("42th", list);
    EXPECT_TRUE(list.empty());
}

TEST(SpellDictionaryTest, AddingKeepsOrderAndRefusesWhatTheFileCannotHold) {
    SpellDictionary dictionary;
    bool added = false;
    EXPECT_EQ(dictionary.addWord("zebra", &added), WordFault::Ok);
    EXPECT_TRUE(added);
    EXPECT_EQ(dictionary.addWord("zebra", &added), WordFault::Ok);
    EXPECT_FALSE(added);
    ASSERT_EQ(dictionary.addWord("Zeal"), WordFault::Ok);
    ASSERT_EQ(dictionary.addWord("zany"), WordFault::Ok);
    EXPECT_EQ(dictionary.buckets()[25].words, (std::vector<std::string>{"Zeal", "zany", "zebra"}));
    EXPECT_GT(dictionary.buckets()[25].capacity, 3u);
    EXPECT_EQ(dictionary.addWord(std::string(kMaxDictionaryWord + 1, 'a')), WordFault::TooLong);
    EXPECT_EQ(dictionary.addWord("two words"), WordFault::ForbiddenByte);
    EXPECT_EQ(dictionary.addWord(std::string("nul\0", 4)), WordFault::ForbiddenByte);
    EXPECT_EQ(dictionary.addWord(""), WordFault::Empty);
    EXPECT_EQ(dictionary.addWord("3rd"), WordFault::Ok);
    EXPECT_TRUE(dictionary.isKnown("3rd", false));
    EXPECT_EQ(dictionary.wordCount(), 4u);
}

TEST(SpellDictionaryTest, FileRoundTripsByteForByte) {
    test::TempHome home;
    SpellDictionary dictionary = dictionaryOf({"apple", "Berlin", "cat", "zoo", "7up"});
    dictionary.setDescription("English (test)");
    dictionary.setFileName(home.file("TEST.DIC"));
    ASSERT_EQ(dictionary.save(), SpellDictionary::FileResult::Ok);
    const std::string bytes = test::readFileBytes(home.path() / "TEST.DIC");
    // Header, description, then bucket "a": letter, count 1, capacity 32, the word with its NUL.
    ASSERT_GT(bytes.size(), kInfoHeaderSize + 41 + 9);
    EXPECT_EQ(bytes.substr(kInfoFileTypeOffset, 13), "FILE_SPELLING");
    const std::size_t a = kInfoHeaderSize + 41;
    EXPECT_EQ(bytes[a], 'a');
    EXPECT_EQ(loadU32(bytes, a + 1), 1u);
    EXPECT_EQ(loadU32(bytes, a + 5), 32u);
    EXPECT_EQ(loadU16(bytes, a + 9), 6u);
    EXPECT_EQ(bytes.substr(a + 11, 6), std::string("apple\0", 6));
    EXPECT_EQ(bytes.size(), kInfoHeaderSize + 41 + 27 * 9 + (2 + 6) + (2 + 7) + (2 + 4) + (2 + 4) + (2 + 4));

    SpellDictionary loaded;
    ASSERT_EQ(loaded.load(home.file("TEST.DIC")), SpellDictionary::FileResult::Ok);
    EXPECT_EQ(loaded.description(), "English (test)");
    EXPECT_TRUE(loaded.isKnown("Berlin", false));
    EXPECT_TRUE(loaded.isKnown("7up", false));
    ASSERT_EQ(loaded.save(), SpellDictionary::FileResult::Ok);
    EXPECT_EQ(test::readFileBytes(home.path() / "TEST.DIC"), bytes);
}

TEST(SpellDictionaryTest, RefusedFiles) {
    test::TempHome home;
    SpellDictionary dictionary = dictionaryOf({"apple", "cat"});
    dictionary.setFileName(home.file("GOOD.DIC"));
    ASSERT_EQ(dictionary.save(), SpellDictionary::FileResult::Ok);
    const std::string good = test::readFileBytes(home.path() / "GOOD.DIC");

    // A newer version: every bucket bad and reported.
    std::string newer = good;
    newer.replace(kInfoVersionOffset, 5, "01.01");
    test::writeFileBytes(home.path() / "NEWER.DIC", newer);
    SpellDictionary loaded;
    EXPECT_EQ(loaded.load(home.file("NEWER.DIC")), SpellDictionary::FileResult::UnknownFormat);
    for (const auto& bucket : loaded.buckets()) {
        EXPECT_TRUE(bucket.bad);
    }
    EXPECT_FALSE(loaded.isKnown("apple", false));

    // A count not below its capacity: that bucket is bad; its words are stepped over by their
    // lengths and the buckets after it are read.
    std::string full = good;
    storeU32(std::span<char>(full), kInfoHeaderSize + 41 + 5, 1);
    test::writeFileBytes(home.path() / "FULL.DIC", full);
    EXPECT_EQ(loaded.load(home.file("FULL.DIC")), SpellDictionary::FileResult::UnknownFormat);
    EXPECT_TRUE(loaded.buckets()[0].bad);
    EXPECT_FALSE(loaded.isKnown("apple", false));
    EXPECT_FALSE(loaded.buckets()[2].bad);
    EXPECT_TRUE(loaded.isKnown("cat", false));

    // A cut file and a file of another kind.
    test::writeFileBytes(home.path() / "CUT.DIC", good.substr(0, good.size() - 3));
    EXPECT_EQ(loaded.load(home.file("CUT.DIC")), SpellDictionary::FileResult::UnknownFormat);
    EXPECT_TRUE(loaded.isKnown("apple", false));
    test::writeFileBytes(home.path() / "OTHER.DIC", "hello");
    EXPECT_EQ(loaded.load(home.file("OTHER.DIC")), SpellDictionary::FileResult::UnknownFormat);
    EXPECT_EQ(loaded.load(home.file("MISSING.DIC")), SpellDictionary::FileResult::OpenFailed);
}

// A dictionary file written field by field: the header of a good file, then the description and
// the buckets, letter a holding the words given and the other buckets as listed.
std::string dictionaryFile(const std::string& header, const std::vector<std::string>& aWords) {
    FieldWriter out;
    out.fixedString("Mine", kSpellDescriptionWidth);
    for (std::size_t index = 0; index < kBucketCount; ++index) {
        std::vector<std::string> words;
        if (index == 0) {
            words = aWords;
        } else if (index == 2) {
            words = {"cat"};
        } else if (index == 25) {
            words = {"zoo"};
        }
        out.u8(static_cast<uint8_t>(index < 26 ? 'a' + index : 0));
        out.u32(static_cast<uint32_t>(words.size()));
        out.u32(words.empty() ? 0 : 32);
        for (const std::string& word : words) {
            out.u16(static_cast<uint16_t>(word.size() + 1));
            out.bytes(word);
            out.u8(0);
        }
    }
    return header + out.take();
}

TEST(SpellDictionaryTest, AWordItWouldNotWriteLeavesTheRestReadAndTheFileUntouched) {
    test::TempHome home;
    SpellDictionary good = dictionaryOf({"apple"});
    good.setFileName(home.file("GOOD.DIC"));
    ASSERT_EQ(good.save(), SpellDictionary::FileResult::Ok);
    const std::string header = test::readFileBytes(home.path() / "GOOD.DIC").substr(0, kInfoHeaderSize);

    const struct {
        const char* name;
        std::string badWord;
    } cases[] = {
        {"a blank", "ab le"},
        {"a tab", "ab\tle"},
        {"over 255 bytes", "a" + std::string(300, 'x')},
        {"another bucket's letter", "bee"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const std::string bytes = dictionaryFile(header, {"able", row.badWord, "apple"});
        test::writeFileBytes(home.path() / "MINE.DIC", bytes);
        SpellDictionary loaded;
        EXPECT_EQ(loaded.load(home.file("MINE.DIC")), SpellDictionary::FileResult::UnknownFormat);
        EXPECT_TRUE(loaded.loadedUncleanly());
        for (const auto& bucket : loaded.buckets()) {
            EXPECT_FALSE(bucket.bad);
        }
        for (std::string_view word : {"able", "apple", "cat", "zoo"}) {
            EXPECT_TRUE(loaded.isKnown(word, false)) << word;
        }
        // Adding works in memory; the file keeps every word it holds.
        EXPECT_EQ(loaded.addWord("dog"), WordFault::Ok);
        EXPECT_TRUE(loaded.isKnown("dog", false));
        EXPECT_EQ(loaded.save(), SpellDictionary::FileResult::KeptUnclean);
        EXPECT_EQ(test::readFileBytes(home.path() / "MINE.DIC"), bytes);
    }

    // A clean file of the same shape loads cleanly and saves.
    test::writeFileBytes(home.path() / "MINE.DIC", dictionaryFile(header, {"able", "apple"}));
    SpellDictionary loaded;
    EXPECT_EQ(loaded.load(home.file("MINE.DIC")), SpellDictionary::FileResult::Ok);
    EXPECT_FALSE(loaded.loadedUncleanly());
    EXPECT_EQ(loaded.save(), SpellDictionary::FileResult::Ok);
}

} // namespace
} // namespace vexa::aids
