// The loaded template sets, the one that serves the active document, and the expansion of an
// abbreviation when a space is typed after it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "aids/TemplateSet.h"
#include "commands/TemplateHook.h"
#include "text/TextEncoding.h"

namespace vexa {
class CommandProcessor;
class Messenger;
} // namespace vexa

namespace vexa::aids {

inline constexpr const char* kTemplateReadOnlyFormat =
    "Unable to update the '%s' file. This file is probably read only!";

class TemplateStore final : public TemplateHook {
public:
    // The processor runs Enter, Tab and TabBack for the expansions; without one (tests of the
    // sets alone) expansion is not available.
    TemplateStore(std::string configDirectory, Messenger& messenger, CommandProcessor* processor = nullptr);

    // Loads every "*.TPL" of the configuration directory and makes sure a default set exists.
    void loadAll();

    // Makes the set of the extension current; the default set when none serves it.
    void selectForExtension(std::string_view extension);
    // The current set's extension from a document's file name (text after the last '.').
    void selectForFile(std::string_view fileName);

    // The set whose name starts with the same three characters (case ignored).
    TemplateSet* findSet(std::string_view name);
    TemplateSet* findOrLoadSet(std::string_view name);

    TemplateSet* current() { return m_current; }
    TemplateSet* defaultSet() { return m_default; }
    std::vector<std::unique_ptr<TemplateSet>>& sets() { return m_sets; }
    const std::string& configDirectory() const { return m_configDirectory; }
    std::string pathOf(const TemplateSet& set) const;

    // Adds a set (the dialogs' New) and removes one; the default set is never removed.
    TemplateSet& addSet(TemplateSet set);
    bool removeSet(const TemplateSet& set);

    // Reads one set's file into the set; false (a message shown, the set left as read) when the
    // file is not a template file.
    bool loadSet(const std::string& path, TemplateSet& set);
    // Writes the set's file whole; false with a message when it could not be written.
    [[nodiscard]] bool saveSet(const TemplateSet& set);

    // The abbreviation before the cursor expanded, as one step of the running function.
    bool expandBeforeSpace(Document& document) override;

private:
    // The entry of the current set (or the default set) for text typed in a document.
    const TemplateEntry* find(std::string_view typed, TextEncoding encoding) const;
    void typeExpansion(Document& document, std::string_view expansion);

    std::string m_configDirectory;
    Messenger& m_messenger;
    CommandProcessor* m_processor;
    std::vector<std::unique_ptr<TemplateSet>> m_sets;
    TemplateSet* m_default = nullptr;
    TemplateSet* m_current = nullptr;
};

} // namespace vexa::aids
