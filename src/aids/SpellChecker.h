// The spelling checker: the primary and custom dictionaries, the options of the "Spelling"
// section, the ignore list of a window, and the scan of a document's comments and strings.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aids/SpellDictionary.h"
#include "text/TextEncoding.h"

namespace vexa {
class Messenger;
class SettingsFile;
namespace syntax {
class ExtensionProfile;
class SyntaxProfile;
} // namespace syntax
} // namespace vexa

namespace vexa::aids {

inline constexpr std::string_view kSpellingSection = "Spelling";
inline constexpr std::string_view kDictionaryLoading = "Please wait as the dictionary is loaded from disk.";
inline constexpr std::string_view kPrimaryLoadFailed =
    "Warning, the loading of the primary dictionary failed!";
inline constexpr std::string_view kNoDictionaryLoaded = "No Dictionary Loaded";
// The dictionary used while "Dictionary" is empty: the English list made from the system's words.
inline constexpr std::string_view kDefaultDictionary = "ENGLISH.DIC";
inline constexpr const char* kWordNotFoundFormat =
    "The word '%s' you have entered was not found in the\ndictionary. Do you still wish to use this word.";

// Adding to a custom dictionary whose file did not load cleanly: the word is known for this session
// and the file keeps every word it holds.
inline constexpr const char* kCustomNotRewrittenFormat =
    "The '%s' information file did not load cleanly and is not rewritten, so that none of its words "
    "is lost: the word '%.80s' is known until the editor closes.";

inline constexpr const char* kWordNotCheckedFormat =
    "The word '%s' cannot be checked: the dictionaries hold Windows-1252 words only.";

// A word the scan did not accept: its line, its byte offset and length in the line, its text (the
// line's bytes, whole characters of the document's encoding).
struct SpellStop {
    int line = 0;
    int offset = 0;
    int length = 0;
    std::string word;
    bool operator==(const SpellStop&) const = default;
};

// The settings of the "Spelling" section.
struct SpellSettings {
    std::string dictionary; // the primary dictionary's file name in the spell directory
    SpellOptions options;
};
SpellSettings readSpellSettings(const SettingsFile& settings);
[[nodiscard]] bool writeSpellSettings(SettingsFile& settings, const SpellSettings& values);

// A dictionary of the spell directory for the options dialog.
struct DictionaryChoice {
    std::string fileName; // the name part
    std::string description;
};

// Dictionaries hold Windows-1252 words: a word of a document as the dictionaries hold it, or
// nothing when Windows-1252 has no form of one of its characters.
std::optional<std::string> dictionaryWord(std::string_view bytes, TextEncoding encoding);

class SpellChecker {
public:
    SpellChecker(std::string spellDirectory, Messenger& messenger, SettingsFile* settings);

    const std::string& spellDirectory() const { return m_spellDirectory; }
    const SpellSettings& settings() const { return m_settings; }
    // New settings: the options reach every dictionary; another dictionary is loaded when next needed.
    void setSettings(SpellSettings settings);
    [[nodiscard]] bool saveSettings();

    SpellDictionary& primary() { return m_primary; }
    SpellDictionary& custom() { return m_custom; }

    // Loads the custom dictionary, creating its file when it does not exist.
    bool loadCustom();
    // Loads the primary dictionary named in the settings; false (with the warning) when it failed.
    bool loadPrimary();
    // Loads whichever dictionary is missing, with the waiting message on the status line.
    void ensureLoaded();
    // Every valid dictionary of the spell directory except the custom one.
    std::vector<DictionaryChoice> listDictionaries() const;

    // Accepted by the primary or custom dictionary or the ignore list.
    bool accepts(std::string_view word, const SpellDictionary* ignore) const;
    // Suggestions of the primary, then of the custom dictionary.
    std::vector<std::string> suggestions(std::string_view word) const;
    // Adds a word to the custom dictionary and saves it; false with a message when it could not.
    // A custom dictionary that did not load cleanly keeps the word in memory only.
    bool addToCustom(std::string_view word);
    // The title of the "Spelling" dialog.
    std::string dialogTitle() const;

    // Scans lines [fromLine, toLine) of the text, the first from fromOffset on, through the
    // tokenizer of the profile: the first word not accepted, or nothing. Lines are bytes of the
    // encoding; a word Windows-1252 cannot hold is passed over, as no dictionary could know it
    // nor learn it.
    template <typename LineSource>
    std::optional<SpellStop> scan(const LineSource& lineText, syntax::SyntaxProfile& profile, int fromLine,
                                  int fromOffset, int toLine, const SpellDictionary* ignore,
                                  TextEncoding encoding = TextEncoding::Windows1252) const {
        for (int line = fromLine; line < toLine; ++line) {
            if (auto stop =
                    scanLine(lineText(line), profile, line == fromLine ? fromOffset : 0, ignore, encoding)) {
                stop->line = line;
                return stop;
            }
        }
        return std::nullopt;
    }

    // One line from an offset on (the stop's line is left 0).
    std::optional<SpellStop> scanLine(std::string_view line, syntax::SyntaxProfile& profile, std::size_t from,
                                      const SpellDictionary* ignore,
                                      TextEncoding encoding = TextEncoding::Windows1252) const;

private:
    std::string m_spellDirectory;
    Messenger& m_messenger;
    SettingsFile* m_settingsFile;
    SpellSettings m_settings;
    SpellDictionary m_primary;
    SpellDictionary m_custom;
};

} // namespace vexa::aids
