// The editor functions of the writing aids: the template and spelling options, and the spelling
// checks of a document and of one word.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "aids/SpellChecker.h"
#include "aids/SpellDictionary.h"
#include "commands/CommandFamily.h"

namespace vexa {
class CommandProcessor;
class Document;
class EditPane;
namespace syntax {
class SyntaxSettings;
}
} // namespace vexa

namespace vexa::aids {

class TemplateStore;

inline constexpr std::string_view kSpellingComplete = "The spell checking of the document is complete.";
inline constexpr const char* kSpellingOkFormat = "The spelling of the word '%s' is OK.";
inline constexpr const char* kSpellingUnknownFormat = "The spelling of the word '%s' is unknown.";

class AidCommands final : public CommandFamily {
public:
    AidCommands(CommandProcessor& processor, syntax::SyntaxSettings& syntax, TemplateStore& templates,
                SpellChecker& checker);

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;

    // The ignore list of a window (created empty with its first use).
    SpellDictionary& ignoreList(EditPane& pane);

private:
    int32_t templateOptions();
    int32_t spellingOptions();
    int32_t checkDocument();
    int32_t checkCurrentWord();

    // What the Spelling dialog decided for a stop: the text that now stands in its place, or
    // nothing when the user cancelled.
    std::optional<std::string> resolve(Document& document, EditPane& pane, const SpellStop& stop);
    void markStop(Document& document, const SpellStop& stop);
    void forgetClosedPanes();

    CommandProcessor& m_processor;
    syntax::SyntaxSettings& m_syntax;
    TemplateStore& m_templates;
    SpellChecker& m_checker;
    std::map<EditPane*, SpellDictionary> m_ignoreLists;

    // Where the next document check of the same window resumes.
    EditPane* m_lastPane = nullptr;
    std::optional<int> m_resumeLine;
    // The line the check started at, where it ends after wrapping round; 0 once wrapped.
    int m_wrapLine = 0;
};

} // namespace vexa::aids
