// A word list for the spelling checker: 27 sorted buckets (one per letter and one for words that
// do not start with a letter), the rules that accept a word, the phonetic key behind suggestions,
// and the dictionary file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::aids {

inline constexpr std::size_t kSpellDescriptionWidth = 41;
inline constexpr std::size_t kMaxSpellDescription = kSpellDescriptionWidth - 1;
inline constexpr std::size_t kBucketCount = 27;
// The longest word a dictionary keeps; longer words are refused when added or built.
inline constexpr std::size_t kMaxDictionaryWord = 255;
inline constexpr std::string_view kCustomDictionaryName = "VexaCust.dic";
inline constexpr std::string_view kCustomDictionaryDescription = "Custom Dictionary";

// The options of the "Spelling" section that change which words are accepted.
struct SpellOptions {
    bool html = true;      // skip e-mail addresses and ftp/http/mailto strings
    bool english = false;  // a trailing "'s" is removed before the look-up
    bool numbers = true;   // a word holding a digit is accepted
    bool capitals = true;  // a word of capitals only is checked in lower case too
    bool character = true; // a single character is accepted
    bool underscore = false;
    bool operator==(const SpellOptions&) const = default;
};

// The edits between two words, ignoring ASCII case: inserts, deletes, replaces and swaps of
// neighbours, each counting one; words longer than 64 bytes count as far apart.
std::size_t editDistance(std::string_view a, std::string_view b);

// The five-character phonetic key: the first letter in upper case, then the codes of the letters
// after it, padded with '0'.
std::string phoneticKey(std::string_view word);

// Why a word cannot go into a dictionary; Ok when it can.
enum class WordFault : uint8_t { Ok, Empty, TooLong, ForbiddenByte };
WordFault checkDictionaryWord(std::string_view word);
std::string_view wordFaultText(WordFault fault);

// The outcome of reading dictionary bytes.
enum class SpellRead : uint8_t { Ok, BadBucket, TooNew };

class SpellDictionary {
public:
    struct Bucket {
        char letter = 0;
        uint32_t capacity = 0;
        std::vector<std::string> words; // sorted bytewise
        bool bad = false;
    };

    SpellDictionary();

    const std::string& fileName() const { return m_fileName; }
    void setFileName(std::string path) { m_fileName = std::move(path); }
    const std::string& description() const { return m_description; }
    void setDescription(std::string_view text);
    bool loaded() const { return m_loaded; }
    void setLoaded(bool loaded) { m_loaded = loaded; }
    bool changed() const { return m_changed; }
    const SpellOptions& options() const { return m_options; }
    void setOptions(const SpellOptions& options) { m_options = options; }
    const std::array<Bucket, kBucketCount>& buckets() const { return m_buckets; }
    std::size_t wordCount() const;
    void clear();

    // The bucket index of a word: 0 to 25 for a first letter a to z (either case), 26 otherwise.
    static std::size_t bucketOf(std::string_view word);

    // The word (lower-cased first when asked) is in the list, exactly.
    bool isKnown(std::string_view word, bool lower) const;
    // The word is known, or known after the "'s", form and suffix rules.
    bool isWordCorrect(std::string_view word, bool lower) const;
    // The checker's entry: the number and capital rules, then isWordCorrect.
    bool accepts(std::string_view word) const;
    // Words of the same phonetic key and a length within one of the word's, in bucket order.
    void suggest(std::string_view word, std::vector<std::string>& list) const;
    // Words one edit away (a letter inserted, deleted or replaced, or two neighbours swapped),
    // ignoring ASCII case, in bucket order.
    void suggestByEdit(std::string_view word, std::vector<std::string>& list) const;

    // Adds a word in its sorted place; false when it is already there or cannot be held.
    WordFault addWord(std::string_view word, bool* added = nullptr);
    // Adds many words at once (each already passed checkDictionaryWord); repeats are dropped.
    void addWords(std::vector<std::string> words);

    // The records after the header, and reading them back.
    std::string encodeBody() const;
    SpellRead decodeBody(std::span<const char> body, bool versionReadable);

    // The file form: the header and the body. The messages go to the caller. A file that did not
    // load cleanly (a newer version, a bad bucket, a word left out) is never written over: save
    // refuses it with KeptUnclean until clear() or another load.
    enum class FileResult : uint8_t { Ok, OpenFailed, UnknownFormat, CreateFailed, KeptUnclean };
    FileResult load(const std::string& path);
    FileResult save();
    bool loadedUncleanly() const { return m_unclean; }

private:
    bool knownInBucket(std::string_view word) const;
    bool suffixRules(std::string_view word, bool lower) const;

    std::string m_fileName;
    std::string m_description;
    bool m_loaded = false;
    bool m_changed = false;
    bool m_unclean = false;
    SpellOptions m_options;
    std::array<Bucket, kBucketCount> m_buckets;
};

} // namespace vexa::aids
