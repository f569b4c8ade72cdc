// Plain word lists into dictionaries, and the system's English list round trip.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "aids/WordList.h"
#include "support/TempHome.h"

namespace vexa::aids {
namespace {

TEST(WordListTest, LinesBecomeWordsOrAreReported) {
    SpellDictionary dictionary;
    const std::string longWord(kMaxDictionaryWord + 1, 'x');
    const std::string text = "apple\r\n\nbanana\n\xC3\xA9"
                             "clair\ncaf\xE9\napple\ntwo words\n" +
                             longWord +
                             "\n\xE2\x82\xAC"
                             "uro\n\xE4\xB8\xAD\nlast";
    const WordListResult result = addWordList(text, dictionary);
    EXPECT_EQ(result.added, 6u);
    EXPECT_EQ(result.duplicates, 1u);
    ASSERT_EQ(result.skipped.size(), 3u);
    EXPECT_EQ(result.skipped[0].lineNumber, 7u);
    EXPECT_EQ(result.skipped[1].reason, "word too long");
    EXPECT_EQ(result.skipped[2].word, "\xE4\xB8\xAD");
    EXPECT_TRUE(dictionary.isKnown("apple", false));
    EXPECT_TRUE(dictionary.isKnown("\xE9"
                                   "clair",
                                   false));            // UTF-8 turned into 1252
    EXPECT_TRUE(dictionary.isKnown("caf\xE9", false)); // 1252 kept as it was
    EXPECT_TRUE(dictionary.isKnown("\x80"
                                   "uro",
                                   false));
    EXPECT_TRUE(dictionary.isKnown("last", false));
}

TEST(WordListTest, AByteOrderMarkIsNotPartOfTheFirstWord) {
    const struct {
        const char* name;
        std::string text;
        std::string firstWord;
    } cases[] = {
        {"ASCII word",
         "\xEF\xBB\xBF"
         "apple\nbanana\n",
         "apple"},
        {"UTF-8 word", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\nbanana\r\n", "\xE9t\xE9"},
    };
    for (const auto& c : cases) {
        SpellDictionary dictionary;
        const WordListResult result = addWordList(c.text, dictionary);
        EXPECT_TRUE(result.skipped.empty()) << c.name;
        EXPECT_EQ(result.added, 2u) << c.name;
        EXPECT_TRUE(dictionary.isKnown(c.firstWord, false)) << c.name;
    }
}

TEST(WordListTest, SystemEnglishListRoundTrips) {
    const std::filesystem::path list = "/usr/share/dict/american-english";
    if (!std::filesystem::exists(list)) {
        GTEST_SKIP() << "no system word list";
    }
    std::ifstream in(list, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    test::TempHome home;
    SpellDictionary built;
    built.setDescription("English (American)");
    built.setFileName(home.file("ENGLISH.DIC"));
    const WordListResult result = addWordList(text, built);
    EXPECT_GT(result.added, 100000u);
    ASSERT_EQ(built.save(), SpellDictionary::FileResult::Ok);
    SpellDictionary loaded;
    ASSERT_EQ(loaded.load(home.file("ENGLISH.DIC")), SpellDictionary::FileResult::Ok);
    ASSERT_EQ(loaded.wordCount(), built.wordCount());
    for (const auto& bucket : built.buckets()) {
        for (const std::string& word : bucket.words) {
            ASSERT_TRUE(loaded.isKnown(word, false)) << word;
            ASSERT_TRUE(loaded.accepts(word)) << word;
        }
    }
    for (std::string_view word : {"statements", "carries", "walked", "Walked", "dog's", "USA"}) {
        EXPECT_TRUE(loaded.accepts(word)) << word;
    }
    for (std::string_view word : {"wrold", "teh", "recieve"}) {
        EXPECT_FALSE(loaded.accepts(word)) << word;
    }
    std::vector<std::string> suggestions;
    loaded.suggest("wurld", suggestions);
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "world"), suggestions.end());
}

} // namespace
} // namespace vexa::aids
