// The dialog models of the writing aids.
#include "aids/AidDialogs.h"

#include <algorithm>
#include <cctype>

#include "aids/TemplateStore.h"
#include "frame/Frame.h"
#include "settings/Format.h"

namespace vexa::aids {

SpellingDialog::SpellingDialog(std::string title, std::string word, std::vector<std::string> suggestions)
    : m_title(std::move(title)), m_word(std::move(word)), m_suggestions(std::move(suggestions)) {
    if (m_suggestions.size() == 1) {
        select(0);
    }
}

void SpellingDialog::select(std::size_t index) {
    if (index >= m_suggestions.size()) {
        return;
    }
    m_selected = index;
    m_changeTo = m_suggestions[index];
    m_typed = false;
}

void SpellingDialog::typeChangeTo(std::string text) {
    m_changeTo = std::move(text);
    m_typed = !m_changeTo.empty();
}

std::string SpellingDialog::replacement() const {
    if (m_typed) {
        return m_changeTo;
    }
    return m_selected ? m_suggestions[*m_selected] : std::string();
}

SpellingOptionsDialog::SpellingOptionsDialog(std::vector<DictionaryChoice> dictionaries,
                                             const SpellSettings& settings)
    : m_dictionaries(std::move(dictionaries)), m_settings(settings) {
    for (std::size_t i = 0; i < m_dictionaries.size(); ++i) {
        if (m_dictionaries[i].fileName == settings.dictionary) {
            m_chosen = i;
        }
    }
}

void SpellingOptionsDialog::choose(std::size_t index) {
    if (index < m_dictionaries.size()) {
        m_chosen = index;
        m_settings.dictionary = m_dictionaries[index].fileName;
    }
}

EditTemplateDialog::EditTemplateDialog(const TemplateSet& set)
    : description(set.description), useDefaultTemplates(set.useDefaultTemplates), ignoreCase(set.ignoreCase),
      m_entries(set.entries()) {}

bool EditTemplateDialog::put(std::string_view abbreviation, std::string_view expansion) {
    TemplateSet scratch;
    scratch.setEntries(m_entries);
    std::string cutAbbreviation = cutTemplateText(abbreviation, kMaxAbbreviation);
    if (cutAbbreviation.empty()) {
        return false;
    }
    scratch.putEntry({std::move(cutAbbreviation), std::string(expansion)});
    m_entries = scratch.entries();
    return true;
}

bool EditTemplateDialog::remove(std::size_t index) {
    if (index >= m_entries.size()) {
        return false;
    }
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void EditTemplateDialog::applyTo(TemplateSet& set) const {
    set.description = cutTemplateText(description, kMaxTemplateDescription);
    set.useDefaultTemplates = useDefaultTemplates;
    set.ignoreCase = ignoreCase;
    set.setEntries(m_entries);
}

TemplateOptionsDialog::TemplateOptionsDialog(TemplateStore& store, Frame& frame)
    : m_store(store), m_frame(frame) {
    for (const auto& set : store.sets()) {
        m_sets.push_back(*set);
        m_changed.push_back(false);
    }
}

std::vector<std::string> TemplateOptionsDialog::lines() const {
    std::vector<std::string> lines;
    for (const TemplateSet& set : m_sets) {
        lines.push_back(formatText("%-10.10s\t%s", set.name.c_str(), set.description.c_str()));
    }
    return lines;
}

std::optional<std::size_t> TemplateOptionsDialog::newSet(std::string_view name) {
    std::string upper(name.substr(0, std::min<std::size_t>(name.size(), kTemplateNameWidth - 1)));
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (upper.empty() || upper.find('<') != std::string::npos || upper == kDefaultSetKey ||
        upper.find_first_of("/\\.*?: ") != std::string::npos) {
        m_frame.messageBox(formatText("The template name '%s' supplied is invalid!", upper.c_str()));
        return std::nullopt;
    }
    // Sets are told apart by their first three characters, which name their file.
    for (std::size_t i = 0; i < m_sets.size(); ++i) {
        if (templateFileName(m_sets[i].name) == templateFileName(upper)) {
            // Yes opens the existing set for editing; No leaves everything as it was.
            if (m_frame.ask("This template already exists. Please delete the existing template first",
                            "Template Options", Question::YesNo) == Answer::Yes) {
                editSet(i);
            }
            return std::nullopt;
        }
    }
    m_sets.push_back(TemplateSet::makeNew(upper));
    m_changed.push_back(true);
    const std::size_t index = m_sets.size() - 1;
    editSet(index);
    return index;
}

bool TemplateOptionsDialog::editSet(std::size_t index) {
    if (index >= m_sets.size()) {
        return false;
    }
    EditTemplateDialog dialog(m_sets[index]);
    if (m_frame.showDialog(dialog) != DialogResult::Accepted) {
        return false;
    }
    dialog.applyTo(m_sets[index]);
    m_changed[index] = true;
    return true;
}

bool TemplateOptionsDialog::deleteSet(std::size_t index) {
    if (index >= m_sets.size()) {
        return false;
    }
    if (m_sets[index].name == kDefaultSetName) {
        m_frame.messageBox("You cannot delete the default template!");
        return false;
    }
    if (m_frame.ask(
            formatText("Are you sure you want to delete the '%s' template?", m_sets[index].name.c_str()),
            "Template Options", Question::YesNo) != Answer::Yes) {
        return false;
    }
    m_removed.push_back(m_sets[index].name);
    m_sets.erase(m_sets.begin() + static_cast<std::ptrdiff_t>(index));
    m_changed.erase(m_changed.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool TemplateOptionsDialog::commit() {
    bool ok = true;
    for (const std::string& name : m_removed) {
        if (TemplateSet* set = m_store.findSet(name); set != nullptr && set->name == name) {
            m_store.removeSet(*set);
        }
    }
    for (std::size_t i = 0; i < m_sets.size(); ++i) {
        if (!m_changed[i]) {
            continue;
        }
        TemplateSet* target = nullptr;
        for (const auto& set : m_store.sets()) {
            if (set->name == m_sets[i].name) {
                target = set.get();
            }
        }
        if (target == nullptr) {
            target = &m_store.addSet(m_sets[i]);
        } else {
            *target = m_sets[i];
        }
        // A failed write keeps the set in memory; the message has been shown.
        ok = m_store.saveSet(*target) && ok;
    }
    m_removed.clear();
    std::fill(m_changed.begin(), m_changed.end(), false);
    return ok;
}

} // namespace vexa::aids
