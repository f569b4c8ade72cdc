// The dialog models of the writing aids: "Spelling", "Spelling Options", "Template Options" and
// "Edit Template". The views fill their fields and press their buttons; the commands act on the
// outcome.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aids/SpellChecker.h"
#include "aids/TemplateSet.h"
#include "frame/DialogModel.h"

namespace vexa {
class Frame;
}

namespace vexa::aids {

class TemplateStore;

inline constexpr std::string_view kNoWordSelected = "No word has been selected.";

// A word the checker does not know, its suggestions and what the user chose. Every text here is
// UTF-8: the commands convert from and to the document's bytes and the dictionaries' words.
class SpellingDialog final : public DialogModel {
public:
    enum class Button { None, Change, Add, Ignore };

    SpellingDialog(std::string title, std::string word, std::vector<std::string> suggestions);
    std::string_view title() const override { return m_title; }

    // "Word not in &dictionary:" and the list "Words".
    const std::string& word() const { return m_word; }
    const std::vector<std::string>& suggestions() const { return m_suggestions; }

    // Selecting a suggestion copies it into "Change &word to:"; typing there replaces it.
    void select(std::size_t index);
    std::optional<std::size_t> selected() const { return m_selected; }
    void typeChangeTo(std::string text);
    const std::string& changeTo() const { return m_changeTo; }
    // "Cha&nge" is enabled once there is a replacement to use.
    bool changeEnabled() const { return m_selected.has_value() || m_typed; }
    // The replacement Change uses: the typed text, else the selected suggestion; empty when none.
    std::string replacement() const;

    void press(Button button) { m_pressed = button; }
    Button pressed() const { return m_pressed; }

private:
    std::string m_title;
    std::string m_word;
    std::vector<std::string> m_suggestions;
    std::optional<std::size_t> m_selected;
    std::string m_changeTo;
    bool m_typed = false;
    Button m_pressed = Button::None;
};

// The dictionary choice and the options of the "Spelling" section.
class SpellingOptionsDialog final : public DialogModel {
public:
    SpellingOptionsDialog(std::vector<DictionaryChoice> dictionaries, const SpellSettings& settings);
    std::string_view title() const override { return "Spelling Options"; }

    const std::vector<DictionaryChoice>& dictionaries() const { return m_dictionaries; }
    // The chosen dictionary by its place in the list; nothing when none is chosen.
    std::optional<std::size_t> chosen() const { return m_chosen; }
    void choose(std::size_t index);
    SpellOptions& options() { return m_settings.options; }
    // The settings the dialog gives back when accepted.
    const SpellSettings& result() const { return m_settings; }

private:
    std::vector<DictionaryChoice> m_dictionaries;
    std::optional<std::size_t> m_chosen;
    SpellSettings m_settings;
};

// One set's description, flags and entries.
class EditTemplateDialog final : public DialogModel {
public:
    explicit EditTemplateDialog(const TemplateSet& set);
    std::string_view title() const override { return "Edit Template"; }

    std::string description;
    bool useDefaultTemplates = true; // "&Use the default templates"
    bool ignoreCase = false;         // "I&gnore Case"

    // The columns Template, Length and Expansion.
    const std::vector<TemplateEntry>& entries() const { return m_entries; }
    // Add and Update: the entry of that abbreviation is added or replaced (cut to the field
    // widths); false for an empty abbreviation.
    bool put(std::string_view abbreviation, std::string_view expansion);
    bool remove(std::size_t index);

    // Stores the accepted fields in the set.
    void applyTo(TemplateSet& set) const;

private:
    std::vector<TemplateEntry> m_entries;
};

// The list of sets with New, Edit and Delete. It works on copies: accepting it writes the
// changed sets and removes the deleted ones; cancelling leaves the store as it was.
class TemplateOptionsDialog final : public DialogModel {
public:
    TemplateOptionsDialog(TemplateStore& store, Frame& frame);
    std::string_view title() const override { return "Template Options"; }

    // The list lines, "%-10.10s\t%s" of name and description.
    std::vector<std::string> lines() const;
    const std::vector<TemplateSet>& sets() const { return m_sets; }

    // New: the upper-cased name is checked, the set added and its Edit Template dialog shown.
    // Returns the new set's index.
    std::optional<std::size_t> newSet(std::string_view name);
    // Edit: the Edit Template dialog for the set; true when it was accepted.
    bool editSet(std::size_t index);
    // Delete, after the question; the default set is refused.
    bool deleteSet(std::size_t index);

    // Writes what changed into the store and to disk; false when any file could not be written.
    [[nodiscard]] bool commit();

private:
    TemplateStore& m_store;
    Frame& m_frame;
    std::vector<TemplateSet> m_sets;
    std::vector<bool> m_changed;
    std::vector<std::string> m_removed;
};

} // namespace vexa::aids
