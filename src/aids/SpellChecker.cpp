// The spelling checker.
#include "aids/SpellChecker.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "core/Messenger.h"
#include "settings/Format.h"
#include "settings/InfoFile.h"
#include "settings/SettingsFile.h"
#include "syntax/LineTokenizer.h"
#include "syntax/SyntaxProfile.h"

namespace vexa::aids {
namespace {

bool sameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string namePart(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

std::optional<std::string> dictionaryWord(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252) {
        return std::string(bytes);
    }
    // A byte that is no part of a valid sequence decodes to the replacement character, which
    // Windows-1252 has no form of.
    return text::fromUtf8(bytes, TextEncoding::Windows1252);
}

SpellSettings readSpellSettings(const SettingsFile& settings) {
    SpellSettings values;
    values.dictionary = settings.getString(kSpellingSection, "Dictionary", "", 256);
    const auto flag = [&](std::string_view key, bool fallback) {
        return settings.getInteger(kSpellingSection, key, fallback ? 1 : 0) != 0;
    };
    values.options.html = flag("HTML", true);
    values.options.english = flag("English", false);
    values.options.numbers = flag("Numbers", true);
    values.options.capitals = flag("Capitals", true);
    values.options.character = flag("Character", true);
    values.options.underscore = flag("Underscore", false);
    return values;
}

bool writeSpellSettings(SettingsFile& settings, const SpellSettings& values) {
    bool ok = settings.putString(kSpellingSection, "Dictionary", values.dictionary);
    ok = settings.putInteger(kSpellingSection, "HTML", values.options.html ? 1 : 0) && ok;
    ok = settings.putInteger(kSpellingSection, "English", values.options.english ? 1 : 0) && ok;
    ok = settings.putInteger(kSpellingSection, "Numbers", values.options.numbers ? 1 : 0) && ok;
    ok = settings.putInteger(kSpellingSection, "Capitals", values.options.capitals ? 1 : 0) && ok;
    ok = settings.putInteger(kSpellingSection, "Character", values.options.character ? 1 : 0) && ok;
    ok = settings.putInteger(kSpellingSection, "Underscore", values.options.underscore ? 1 : 0) && ok;
    return ok;
}

SpellChecker::SpellChecker(std::string spellDirectory, Messenger& messenger, SettingsFile* settings)
    : m_spellDirectory(std::move(spellDirectory)), m_messenger(messenger), m_settingsFile(settings) {
    if (m_settingsFile != nullptr) {
        m_settings = readSpellSettings(*m_settingsFile);
    }
    m_primary.setOptions(m_settings.options);
    m_custom.setOptions(m_settings.options);
}

void SpellChecker::setSettings(SpellSettings settings) {
    const bool otherDictionary = settings.dictionary != m_settings.dictionary;
    m_settings = std::move(settings);
    m_primary.setOptions(m_settings.options);
    m_custom.setOptions(m_settings.options);
    if (otherDictionary) {
        m_primary.clear();
        m_primary.setDescription("");
    }
}

bool SpellChecker::saveSettings() {
    return m_settingsFile == nullptr || writeSpellSettings(*m_settingsFile, m_settings);
}

bool SpellChecker::loadCustom() {
    const std::string path = (std::filesystem::path(m_spellDirectory) / kCustomDictionaryName).string();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        m_custom.clear();
        m_custom.setFileName(path);
        m_custom.setDescription(kCustomDictionaryDescription);
        m_custom.setLoaded(true);
        if (m_custom.save() != SpellDictionary::FileResult::Ok) {
            m_messenger.messageBox(infoCreateErrorMessage(namePart(path)));
            return false;
        }
        return true;
    }
    const auto result = m_custom.load(path);
    m_custom.setOptions(m_settings.options);
    if (result != SpellDictionary::FileResult::Ok) {
        m_messenger.messageBox(result == SpellDictionary::FileResult::OpenFailed
                                   ? infoOpenErrorMessage(namePart(path))
                                   : infoUnknownFormatMessage(namePart(path)));
        // Whatever could be read stays usable; the file itself is never written over, so the
        // words that could not be read are not lost (see addToCustom).
        m_custom.setLoaded(true);
        return false;
    }
    return true;
}

bool SpellChecker::loadPrimary() {
    m_messenger.status(kDictionaryLoading, platform::SoundKind::None);
    bool ok = false;
    const std::string name =
        m_settings.dictionary.empty() ? std::string(kDefaultDictionary) : m_settings.dictionary;
    {
        const std::filesystem::path named(name);
        const std::string path =
            named.is_absolute() ? named.string() : (std::filesystem::path(m_spellDirectory) / named).string();
        const auto result = m_primary.load(path);
        ok = result == SpellDictionary::FileResult::Ok;
        if (result == SpellDictionary::FileResult::UnknownFormat) {
            m_messenger.messageBox(infoUnknownFormatMessage(namePart(path)));
        }
    }
    m_primary.setOptions(m_settings.options);
    // A failed load is not retried on every word: the next choice of dictionary loads again.
    m_primary.setLoaded(true);
    if (!ok) {
        m_primary.clear();
        m_primary.setLoaded(true);
        m_primary.setDescription("");
        m_messenger.status(kPrimaryLoadFailed, platform::SoundKind::Error);
    }
    return ok;
}

void SpellChecker::ensureLoaded() {
    if (m_primary.loaded() && m_custom.loaded()) {
        return;
    }
    m_messenger.status(kDictionaryLoading, platform::SoundKind::None);
    if (!m_custom.loaded()) {
        loadCustom();
    }
    if (!m_primary.loaded() && !loadPrimary()) {
        return; // the warning stays on the status line
    }
    m_messenger.status("", platform::SoundKind::None);
}

std::vector<DictionaryChoice> SpellChecker::listDictionaries() const {
    std::vector<DictionaryChoice> list;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(m_spellDirectory, error)) {
        const std::string name = item.path().filename().string();
        if (name.size() < 4 || !sameNoCase(name.substr(name.size() - 4), ".DIC") ||
            sameNoCase(name, kCustomDictionaryName)) {
            continue;
        }
        InfoFile file;
        if (file.openChecked(item.path().string(), kSpellingInfo) != InfoStatus::Ok) {
            continue;
        }
        std::string description = file.readRest().substr(0, kSpellDescriptionWidth);
        description = description.substr(0, description.find('\0'));
        list.push_back({name, description});
    }
    std::sort(list.begin(), list.end(),
              [](const DictionaryChoice& a, const DictionaryChoice& b) { return a.fileName < b.fileName; });
    return list;
}

bool SpellChecker::accepts(std::string_view word, const SpellDictionary* ignore) const {
    return m_primary.accepts(word) || m_custom.accepts(word) || (ignore != nullptr && ignore->accepts(word));
}

std::vector<std::string> SpellChecker::suggestions(std::string_view word) const {
    std::vector<std::string> list;
    m_primary.suggest(word, list);
    m_custom.suggest(word, list);
    // The sound of a word misses plain typing slips ("togther", "reslt"): words one edit away
    // join the list, and the nearer words come first.
    m_primary.suggestByEdit(word, list);
    m_custom.suggestByEdit(word, list);
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (std::string& candidate : list) {
        if (std::none_of(ranked.begin(), ranked.end(),
                         [&](const auto& entry) { return entry.second == candidate; })) {
            ranked.emplace_back(editDistance(candidate, word), std::move(candidate));
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });
    list.clear();
    for (auto& entry : ranked) {
        list.push_back(std::move(entry.second));
    }
    return list;
}

bool SpellChecker::addToCustom(std::string_view word) {
    if (!m_custom.loaded()) {
        loadCustom();
    }
    if (m_custom.fileName().empty()) {
        m_custom.setFileName((std::filesystem::path(m_spellDirectory) / kCustomDictionaryName).string());
        m_custom.setDescription(kCustomDictionaryDescription);
    }
    const WordFault fault = m_custom.addWord(word);
    if (fault != WordFault::Ok) {
        m_messenger.status(formatText("The word '%.80s' cannot be added: %s.", std::string(word).c_str(),
                                      std::string(wordFaultText(fault)).c_str()),
                           platform::SoundKind::Exclamation);
        return false;
    }
    const auto saved = m_custom.save();
    if (saved == SpellDictionary::FileResult::KeptUnclean) {
        m_messenger.messageBox(formatText(kCustomNotRewrittenFormat, namePart(m_custom.fileName()).c_str(),
                                          std::string(word).c_str()));
        return false;
    }
    if (saved != SpellDictionary::FileResult::Ok) {
        m_messenger.messageBox(infoCreateErrorMessage(namePart(m_custom.fileName())));
        return false;
    }
    return true;
}

std::string SpellChecker::dialogTitle() const {
    const std::string description =
        m_primary.description().empty() ? std::string(kNoDictionaryLoaded) : m_primary.description();
    return formatText("%s: %s", "Spelling", description.c_str());
}

namespace {

// The bytes of the file name of an "#include" (or "#import") line: between the quotes or the
// angle brackets. Nothing on any other line.
std::optional<std::pair<std::size_t, std::size_t>> includedFileName(std::string_view line) {
    const auto skipBlanks = [&](std::size_t at) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
            ++at;
        }
        return at;
    };
    std::size_t at = skipBlanks(0);
    if (at >= line.size() || line[at] != '#') {
        return std::nullopt;
    }
    at = skipBlanks(at + 1);
    std::size_t end = at;
    while (end < line.size() &&
           (std::isalpha(static_cast<unsigned char>(line[end])) != 0 || line[end] == '_')) {
        ++end;
    }
    const std::string_view directive = line.substr(at, end - at);
    if (directive != "include" && directive != "include_next" && directive != "import") {
        return std::nullopt;
    }
    at = skipBlanks(end);
    if (at >= line.size() || (line[at] != '"' && line[at] != '<')) {
        return std::nullopt;
    }
    const std::size_t close = line.find(line[at] == '"' ? '"' : '>', at + 1);
    return std::make_pair(at + 1, close == std::string_view::npos ? line.size() : close);
}

// The length of the conversion of a printf directive at the start of a word that follows a '%'
// (and its flags, width and precision): its length modifiers and its conversion letter; 0 when
// the word does not follow a directive's '%'.
std::size_t formatDirectiveLength(std::string_view line, std::size_t wordStart) {
    std::size_t at = wordStart;
    while (at > 0 && std::string_view("-+ #0123456789.*'").find(line[at - 1]) != std::string_view::npos) {
        --at;
    }
    // "%%" is a percent sign, not a directive.
    std::size_t percents = 0;
    while (at > percents && line[at - 1 - percents] == '%') {
        ++percents;
    }
    if (percents % 2 == 0) {
        return 0;
    }
    std::size_t end = wordStart;
    while (end < line.size() && std::string_view("hljztLq").find(line[end]) != std::string_view::npos) {
        ++end;
    }
    if (end < line.size() &&
        std::string_view("diouxXeEfFgGaAcspn").find(line[end]) != std::string_view::npos) {
        return end + 1 - wordStart;
    }
    return 0;
}

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The end of the escape that begins with the backslash at `at` of a string ending at `end`: the
// backslash and its letter, with the digits of a hexadecimal ("\x7F", every hex digit that
// follows), universal ("\u00e9", "\U0001F600") or octal ("\101", at most three digits) escape,
// or the braces of a delimited one ("\x{7F}", "\u{e9}", "\o{101}", "\N{NAME}").
std::size_t escapeEnd(std::string_view line, std::size_t at, std::size_t end) {
    std::size_t next = std::min(at + 2, end);
    if (at + 1 >= end) {
        return next;
    }
    const char letter = line[at + 1];
    if (std::string_view("xuUoN").find(letter) != std::string_view::npos && next < end && line[next] == '{') {
        const std::size_t close = line.substr(0, end).find('}', next);
        return close == std::string_view::npos ? end : close + 1;
    }
    const auto digits = [&](std::size_t from, std::size_t most, auto isDigit) {
        std::size_t stop = from;
        while (stop < end && stop - from < most && isDigit(line[stop])) {
            ++stop;
        }
        return stop;
    };
    switch (letter) {
    case 'x':
        return digits(next, end, isHexDigit);
    case 'u':
        return digits(next, 4, isHexDigit);
    case 'U':
        return digits(next, 8, isHexDigit);
    default:
        if (letter >= '0' && letter <= '7') {
            return digits(at + 1, 3, [](char c) { return c >= '0' && c <= '7'; });
        }
        return next;
    }
}

} // namespace

std::optional<SpellStop> SpellChecker::scanLine(std::string_view line, syntax::SyntaxProfile& profile,
                                                std::size_t from, const SpellDictionary* ignore,
                                                TextEncoding encoding) const {
    using syntax::TokenKind;
    // The parts still to scan: a string's or comment's inside is scanned as a line of its own, so
    // it is pushed with its end and scanned before what follows it.
    struct Part {
        std::size_t position;
        std::size_t end;
        bool inString = false;
    };
    std::vector<Part> parts{{from, line.size()}};
    const auto fileName = includedFileName(line);
    const auto check = [&](std::size_t start, std::size_t length) -> std::optional<SpellStop> {
        if (fileName && start >= fileName->first && start < fileName->second) {
            return std::nullopt;
        }
        // A word is whole characters, even where a delimiter byte cut a UTF-8 sequence.
        std::size_t end = start + length;
        start = static_cast<std::size_t>(text::characterStart(line, static_cast<int>(start), encoding));
        const int endStart = text::characterStart(line, static_cast<int>(end), encoding);
        if (static_cast<std::size_t>(endStart) < end) {
            end = static_cast<std::size_t>(text::nextCharacter(line, endStart, encoding));
        }
        const std::string_view word = line.substr(start, end - start);
        const std::optional<std::string> known = dictionaryWord(word, encoding);
        if (!known || accepts(*known, ignore)) {
            return std::nullopt;
        }
        return SpellStop{0, static_cast<int>(start), static_cast<int>(end - start), std::string(word)};
    };
    while (!parts.empty()) {
        Part& part = parts.back();
        const std::string_view view = line.substr(0, part.end);
        if (part.position >= part.end) {
            parts.pop_back();
            continue;
        }
        const syntax::Token token = syntax::scanToken(profile, view, part.position);
        if (token.kind == TokenKind::EndOfLine || token.length == 0) {
            parts.pop_back();
            continue;
        }
        part.position = token.offset + token.length;
        switch (token.kind) {
        case TokenKind::Word: {
            std::size_t offset = 0;
            std::size_t length = 0;
            if (m_settings.options.html &&
                profile.findEmailAddress(line.substr(token.offset), offset, length) && offset == 0 &&
                length > 0) {
                part.position = std::min(part.end, std::max(part.position, token.offset + length));
                break;
            }
            // In a string, the letters of a printf directive ("%s", "%5.2lf") are no word.
            const std::size_t directive = part.inString ? formatDirectiveLength(line, token.offset) : 0;
            if (directive >= token.length) {
                break;
            }
            if (auto stop = check(token.offset + directive, token.length - directive)) {
                return stop;
            }
            break;
        }
        case TokenKind::FtpString:
        case TokenKind::HttpString:
        case TokenKind::MailtoString:
            if (!m_settings.options.html) {
                if (auto stop = check(token.offset, token.length)) {
                    return stop;
                }
            }
            break;
        case TokenKind::LiteralPair:
            // In a string the backslash begins an escape, whose letters and digits are no word.
            if (part.inString && line[token.offset] == '\\') {
                part.position = std::max(part.position, escapeEnd(line, token.offset, part.end));
            }
            break;
        case TokenKind::String:
            if (token.length >= 2) {
                parts.push_back({token.offset + 1, token.offset + token.length, true});
            }
            break;
        case TokenKind::OpenComment:
        case TokenKind::LineComment:
        case TokenKind::BlockComment:
            if (token.length > 2) {
                parts.push_back({token.offset + 2, token.offset + token.length});
            }
            break;
        default:
            break;
        }
    }
    return std::nullopt;
}

} // namespace vexa::aids
