// The spelling word list, its rules and its file.
#include "aids/SpellDictionary.h"

#include <algorithm>
#include <cctype>

#include "regex/CaseFolding.h"
#include "settings/BinaryFields.h"
#include "settings/InfoFile.h"
#include "text/TextEncoding.h"

namespace vexa::aids {
namespace {

constexpr std::string_view kPhoneticCodes = "13451340144677134845131404";

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The other-case forms of the Windows-1252 bytes the dictionaries hold: the ASCII letters and
// the Latin letters with both cases (É and é, Š and š, Ÿ and ÿ ...).
struct CaseTable {
    std::array<char, 256> lower{};
    std::array<char, 256> upper{};
    CaseTable() {
        for (std::size_t b = 0; b < 256; ++b) {
            lower[b] = upper[b] = static_cast<char>(b);
            const char32_t c = text::windows1252ToUnicode(static_cast<unsigned char>(b));
            if (const char32_t folded = foldedCharacter(c); folded != c) {
                if (const auto byte = text::unicodeToWindows1252(folded)) {
                    lower[b] = static_cast<char>(*byte);
                }
            } else if (const char32_t other = otherCaseCharacter(c); other != c) {
                if (const auto byte = text::unicodeToWindows1252(other)) {
                    upper[b] = static_cast<char>(*byte);
                }
            }
        }
    }
};
const CaseTable& caseTable() {
    static const CaseTable table;
    return table;
}
char lower(char c) {
    return caseTable().lower[static_cast<unsigned char>(c)];
}
char upper(char c) {
    return caseTable().upper[static_cast<unsigned char>(c)];
}
bool isUpper(char c) {
    return lower(c) != c;
}
bool isLower(char c) {
    return upper(c) != c;
}
char codeOf(char c) {
    return isAsciiLetter(c) ? kPhoneticCodes[static_cast<std::size_t>(lower(c) - 'a')] : '\0';
}

bool endsWithNoCase(std::string_view word, std::string_view suffix) {
    if (word.size() < suffix.size()) {
        return false;
    }
    const std::string_view end = word.substr(word.size() - suffix.size());
    return std::equal(end.begin(), end.end(), suffix.begin(), [](char a, char b) { return lower(a) == b; });
}

struct Suffix {
    std::string_view text;
    bool e;
    bool y;
};

constexpr std::array<Suffix, 20> kSuffixes = {{
    {"able", true, false},   {"ant", true, false},   {"ed", true, false},   {"ent", true, false},
    {"er", true, true},      {"ery", true, false},   {"es", true, true},    {"est", true, false},
    {"ful", false, true},    {"ing", true, false},   {"ings", true, false}, {"ion", true, false},
    {"ish", true, false},    {"less", false, false}, {"ly", true, true},    {"ment", false, false},
    {"ments", false, false}, {"ness", false, true},  {"s", true, false},    {"y", true, false},
}};

std::string cutDescription(std::string_view text) {
    text = text.substr(0, std::min(text.size(), kMaxSpellDescription));
    const std::size_t nul = text.find('\0');
    return std::string(nul == std::string_view::npos ? text : text.substr(0, nul));
}

} // namespace

std::string phoneticKey(std::string_view word) {
    std::string key;
    if (word.empty()) {
        return "00000";
    }
    key.push_back(upper(word[0]));
    for (std::size_t i = 1; i < word.size() && key.size() < 5; ++i) {
        const char code = codeOf(word[i]);
        if (code == '\0' || code == '0' || code == codeOf(word[i - 1])) {
            continue;
        }
        if (key.size() == 4 && code == '1') {
            continue;
        }
        key.push_back(code);
    }
    key.resize(5, '0');
    return key;
}

WordFault checkDictionaryWord(std::string_view word) {
    if (word.empty()) {
        return WordFault::Empty;
    }
    if (word.size() > kMaxDictionaryWord) {
        return WordFault::TooLong;
    }
    for (char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == ' ' || byte == 0x7f) {
            return WordFault::ForbiddenByte;
        }
    }
    return WordFault::Ok;
}

std::string_view wordFaultText(WordFault fault) {
    switch (fault) {
    case WordFault::Empty:
        return "empty word";
    case WordFault::TooLong:
        return "word too long";
    case WordFault::ForbiddenByte:
        return "control character or blank in the word";
    case WordFault::Ok:
        break;
    }
    return "";
}

SpellDictionary::SpellDictionary() {
    clear();
}

void SpellDictionary::clear() {
    for (std::size_t i = 0; i < kBucketCount; ++i) {
        m_buckets[i] = Bucket{};
        m_buckets[i].letter = i < 26 ? static_cast<char>('a' + i) : '\0';
    }
    m_loaded = false;
    m_changed = false;
    m_unclean = false;
}

void SpellDictionary::setDescription(std::string_view text) {
    m_description = cutDescription(text);
}

std::size_t SpellDictionary::wordCount() const {
    std::size_t count = 0;
    for (const Bucket& bucket : m_buckets) {
        count += bucket.words.size();
    }
    return count;
}

std::size_t SpellDictionary::bucketOf(std::string_view word) {
    if (word.empty() || !isAsciiLetter(word[0])) {
        return 26;
    }
    return static_cast<std::size_t>(lower(word[0]) - 'a');
}

bool SpellDictionary::knownInBucket(std::string_view word) const {
    if (word.empty()) {
        return false;
    }
    // Only the bucket of the first character can hold the word; words that do not start with a
    // letter live in the last bucket.
    const Bucket& bucket = m_buckets[bucketOf(word)];
    if (bucket.bad || bucket.words.empty()) {
        return false;
    }
    return std::binary_search(bucket.words.begin(), bucket.words.end(), word,
                              [](std::string_view a, std::string_view b) { return a < b; });
}

bool SpellDictionary::isKnown(std::string_view word, bool lowerCase) const {
    if (!lowerCase) {
        return knownInBucket(word);
    }
    std::string copy(word);
    std::transform(copy.begin(), copy.end(), copy.begin(), lower);
    return knownInBucket(copy);
}

bool SpellDictionary::suffixRules(std::string_view word, bool lowerCase) const {
    const std::size_t n = word.size();
    for (const Suffix& suffix : kSuffixes) {
        if (n <= suffix.text.size() || !endsWithNoCase(word, suffix.text)) {
            continue;
        }
        std::string stem(word.substr(0, n - suffix.text.size()));
        if (isKnown(stem, lowerCase)) {
            return true;
        }
        if (suffix.y && (stem.back() == 'i' || stem.back() == 'I')) {
            std::string withY = stem;
            withY.back() = stem.back() == 'I' ? 'Y' : 'y';
            if (isKnown(withY, lowerCase)) {
                return true;
            }
        }
        if (suffix.e && isKnown(stem + 'e', lowerCase)) {
            return true;
        }
        break; // only one suffix is removed
    }
    if (n > 2) {
        for (std::string_view ending : {"ed", "er", "es"}) {
            if (endsWithNoCase(word, ending)) {
                std::string stem(word.substr(0, n - 2));
                stem.push_back(ending[0]);
                return isKnown(stem, lowerCase);
            }
        }
    }
    return false;
}

bool SpellDictionary::isWordCorrect(std::string_view word, bool lowerCase) const {
    if (word.empty() || (m_options.character && word.size() == 1)) {
        return true;
    }
    if (m_options.english && word.size() > 2 && word[word.size() - 2] == '\'' && lower(word.back()) == 's') {
        word.remove_suffix(2);
    }
    return isKnown(word, lowerCase) || suffixRules(word, lowerCase);
}

bool SpellDictionary::accepts(std::string_view word) const {
    if (m_options.numbers &&
        std::any_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return true;
    }
    // A word is always tried as written, so proper names and acronyms in the list are found.
    if (isWordCorrect(word, false)) {
        return true;
    }
    if (word.size() < 2) {
        return false;
    }
    const bool capitalised = isUpper(word[0]) && std::all_of(word.begin() + 1, word.end(), isLower);
    std::string_view body = word;
    if (m_options.english && body.size() > 2 && body[body.size() - 2] == '\'' && lower(body.back()) == 's') {
        body.remove_suffix(2);
    }
    const bool allCapitals = !body.empty() && std::all_of(body.begin(), body.end(), isUpper);
    if (capitalised || (m_options.capitals && allCapitals)) {
        return isWordCorrect(word, true);
    }
    return false;
}

void SpellDictionary::suggest(std::string_view word, std::vector<std::string>& list) const {
    if (word.empty()) {
        return;
    }
    const std::string key = phoneticKey(word);
    const std::size_t n = word.size();
    const std::size_t first = bucketOf(word);
    std::vector<std::size_t> order{first};
    if (first != 26) {
        order.push_back(26);
    }
    for (std::size_t index : order) {
        const Bucket& bucket = m_buckets[index];
        if (bucket.bad) {
            continue;
        }
        for (const std::string& candidate : bucket.words) {
            if (candidate.size() + 1 >= n && candidate.size() <= n + 1 && phoneticKey(candidate) == key) {
                list.push_back(candidate);
            }
        }
    }
}

void SpellDictionary::suggestByEdit(std::string_view word, std::vector<std::string>& list) const {
    if (word.empty()) {
        return;
    }
    for (const Bucket& bucket : m_buckets) {
        if (bucket.bad) {
            continue;
        }
        for (const std::string& candidate : bucket.words) {
            if (candidate.size() + 1 >= word.size() && candidate.size() <= word.size() + 1 &&
                editDistance(candidate, word) == 1) {
                list.push_back(candidate);
            }
        }
    }
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    constexpr std::size_t kLongest = 64;
    if (a.size() > kLongest || b.size() > kLongest) {
        return kLongest + 1;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    // Three rows of the distance table: a swap looks two rows back.
    std::vector<std::size_t> before(b.size() + 1);
    std::vector<std::size_t> previous(b.size() + 1);
    std::vector<std::size_t> current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = lower(a[i - 1]) == lower(b[j - 1]);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) && lower(a[i - 2]) == lower(b[j - 1])) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

WordFault SpellDictionary::addWord(std::string_view word, bool* added) {
    if (added != nullptr) {
        *added = false;
    }
    const WordFault fault = checkDictionaryWord(word);
    if (fault != WordFault::Ok) {
        return fault;
    }
    Bucket& bucket = m_buckets[bucketOf(word)];
    if (bucket.bad) {
        // A bucket that could not be read is started afresh rather than written half known.
        bucket.bad = false;
        bucket.words.clear();
        bucket.capacity = 0;
    }
    const auto place = std::lower_bound(bucket.words.begin(), bucket.words.end(), word,
                                        [](const std::string& a, std::string_view b) { return a < b; });
    if (place != bucket.words.end() && *place == word) {
        return WordFault::Ok;
    }
    bucket.words.insert(place, std::string(word));
    // The slot array grows in steps and always keeps a free slot.
    while (bucket.capacity <= bucket.words.size()) {
        bucket.capacity += 32;
    }
    m_changed = true;
    if (added != nullptr) {
        *added = true;
    }
    return WordFault::Ok;
}

void SpellDictionary::addWords(std::vector<std::string> words) {
    for (std::string& word : words) {
        if (checkDictionaryWord(word) != WordFault::Ok) {
            continue;
        }
        Bucket& bucket = m_buckets[bucketOf(word)];
        if (bucket.bad) {
            bucket = Bucket{bucket.letter, 0, {}, false};
        }
        bucket.words.push_back(std::move(word));
    }
    for (Bucket& bucket : m_buckets) {
        std::sort(bucket.words.begin(), bucket.words.end());
        bucket.words.erase(std::unique(bucket.words.begin(), bucket.words.end()), bucket.words.end());
        while (!bucket.words.empty() && bucket.capacity <= bucket.words.size()) {
            bucket.capacity += 32;
        }
    }
    m_changed = true;
}

std::string SpellDictionary::encodeBody() const {
    FieldWriter out;
    out.fixedString(m_description, kSpellDescriptionWidth);
    for (const Bucket& bucket : m_buckets) {
        // A bad bucket holds nothing trustworthy: it is written empty.
        const bool empty = bucket.bad || bucket.words.empty();
        const auto count = static_cast<uint32_t>(empty ? 0 : bucket.words.size());
        uint32_t capacity = empty ? 0 : bucket.capacity;
        if (count > 0 && capacity <= count) {
            capacity = count + 1;
        }
        out.u8(static_cast<uint8_t>(bucket.letter));
        out.u32(count);
        out.u32(capacity);
        if (empty) {
            continue;
        }
        for (const std::string& word : bucket.words) {
            out.u16(static_cast<uint16_t>(word.size() + 1));
            out.bytes(word);
            out.u8(0);
        }
    }
    return out.take();
}

SpellRead SpellDictionary::decodeBody(std::span<const char> body, bool versionReadable) {
    clear();
    FieldReader in(body);
    std::string description;
    in.fixedString(kSpellDescriptionWidth, description);
    m_description = cutDescription(description);
    if (!versionReadable) {
        for (Bucket& bucket : m_buckets) {
            bucket.bad = true;
        }
        return SpellRead::TooNew;
    }
    SpellRead result = in.failed() ? SpellRead::BadBucket : SpellRead::Ok;
    bool framed = !in.failed(); // the position of the next bucket is known
    for (std::size_t index = 0; index < kBucketCount; ++index) {
        Bucket& bucket = m_buckets[index];
        if (!framed) {
            bucket.bad = true;
            continue;
        }
        uint8_t letter = 0;
        uint32_t count = 0;
        uint32_t capacity = 0;
        in.u8(letter);
        in.u32(count);
        in.u32(capacity);
        // Each word takes at least three bytes, which bounds a count that lies.
        if (in.failed() || static_cast<char>(letter) != bucket.letter || count > in.remaining() / 3) {
            bucket.bad = true;
            result = SpellRead::BadBucket;
            framed = false;
            continue;
        }
        // A count not below its capacity makes the bucket bad; its words are still stepped over by
        // their lengths, so the buckets after it are read.
        if (count != 0 && count >= capacity) {
            bucket.bad = true;
            result = SpellRead::BadBucket;
        }
        bucket.capacity = capacity;
        bucket.words.reserve(bucket.bad ? 0 : count);
        for (uint32_t i = 0; i < count; ++i) {
            uint16_t length = 0;
            in.u16(length);
            std::string word(length, '\0');
            if (length < 2 || !in.bytes(word) || word.back() != '\0') {
                framed = false;
                break;
            }
            word.pop_back();
            if (bucket.bad) {
                continue;
            }
            // A word this program would not write (a blank, a control byte, too long, another
            // bucket's letter) is left out; the words around it and the later buckets are kept.
            if (checkDictionaryWord(word) != WordFault::Ok || bucketOf(word) != index) {
                result = SpellRead::BadBucket;
                continue;
            }
            bucket.words.push_back(std::move(word));
        }
        if (!framed) {
            // The words of a bucket cut short are not trusted, nor anything after it.
            bucket.bad = true;
            result = SpellRead::BadBucket;
        }
        if (bucket.bad) {
            bucket.words.clear();
            continue;
        }
        if (!std::is_sorted(bucket.words.begin(), bucket.words.end())) {
            std::sort(bucket.words.begin(), bucket.words.end());
        }
        bucket.words.erase(std::unique(bucket.words.begin(), bucket.words.end()), bucket.words.end());
    }
    return result;
}

SpellDictionary::FileResult SpellDictionary::load(const std::string& path) {
    m_fileName = path;
    InfoFile file;
    const InfoStatus status = file.openChecked(path, kSpellingInfo);
    if (status == InfoStatus::OpenFailed) {
        clear();
        m_unclean = true;
        return FileResult::OpenFailed;
    }
    if (!file.isType(kSpellingInfo.fileType)) {
        clear();
        m_unclean = true;
        return FileResult::UnknownFormat;
    }
    const std::string body = file.readRest();
    const SpellRead read = decodeBody(body, file.versionAtMost(kSpellingInfo.version));
    m_loaded = true;
    m_unclean = read != SpellRead::Ok;
    return read == SpellRead::Ok ? FileResult::Ok : FileResult::UnknownFormat;
}

SpellDictionary::FileResult SpellDictionary::save() {
    if (m_unclean) {
        // Writing back what could be read would drop what could not.
        return FileResult::KeptUnclean;
    }
    InfoFile file;
    if (!file.create(m_fileName, InfoHeader::forKind(kSpellingInfo))) {
        return FileResult::CreateFailed;
    }
    if (!file.write(encodeBody()) || !file.close(InfoClose::Truncate)) {
        return FileResult::CreateFailed;
    }
    m_changed = false;
    return FileResult::Ok;
}

} // namespace vexa::aids
