// The editor functions of the writing aids.
#include "aids/AidCommands.h"

#include <algorithm>

#include "aids/AidDialogs.h"
#include "aids/TemplateStore.h"
#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "commands/WordRules.h"
#include "core/Document.h"
#include "core/DocumentText.h"
#include "core/MarkedArea.h"
#include "frame/Frame.h"
#include "settings/Format.h"
#include "syntax/SyntaxProfile.h"
#include "syntax/SyntaxSettings.h"

namespace vexa::aids {
namespace {

constexpr std::size_t kMaxCheckedWord = 80;

std::string wordNotFoundQuestion(const std::string& word) {
    return formatText(kWordNotFoundFormat, word.c_str());
}

// The bytes of a word up to a limit, ending before a character rather than inside one.
std::size_t wholeCharacters(std::string_view bytes, std::size_t limit, TextEncoding encoding) {
    if (bytes.size() <= limit) {
        return bytes.size();
    }
    return static_cast<std::size_t>(text::characterStart(bytes, static_cast<int>(limit), encoding));
}

} // namespace

AidCommands::AidCommands(CommandProcessor& processor, syntax::SyntaxSettings& syntax,
                         TemplateStore& templates, SpellChecker& checker)
    : m_processor(processor), m_syntax(syntax), m_templates(templates), m_checker(checker) {}

bool AidCommands::claims(FunctionId id) const {
    switch (id) {
    case functionIdOf("OptionsElectric"):
    case functionIdOf("OptionsSpelling"):
    case functionIdOf("SpellingDocument"):
    case functionIdOf("SpellingWordCurrent"):
        return true;
    default:
        return false;
    }
}

int32_t AidCommands::run(FunctionId id) {
    forgetClosedPanes();
    switch (id) {
    case functionIdOf("OptionsElectric"):
        return templateOptions();
    case functionIdOf("OptionsSpelling"):
        return spellingOptions();
    case functionIdOf("SpellingDocument"):
        return checkDocument();
    case functionIdOf("SpellingWordCurrent"):
        return checkCurrentWord();
    default:
        return 0;
    }
}

void AidCommands::forgetClosedPanes() {
    DocumentWindows* windows = m_processor.windows();
    if (windows == nullptr) {
        return;
    }
    const std::vector<EditPane*> open = windows->panes();
    std::erase_if(m_ignoreLists, [&](const auto& item) {
        return std::find(open.begin(), open.end(), item.first) == open.end();
    });
    if (m_lastPane != nullptr && std::find(open.begin(), open.end(), m_lastPane) == open.end()) {
        m_lastPane = nullptr;
        m_resumeLine.reset();
    }
}

SpellDictionary& AidCommands::ignoreList(EditPane& pane) {
    SpellDictionary& list = m_ignoreLists[&pane];
    list.setOptions(m_checker.settings().options);
    return list;
}

int32_t AidCommands::templateOptions() {
    TemplateOptionsDialog dialog(m_templates, m_processor.frame());
    if (m_processor.frame().showDialog(dialog) != DialogResult::Accepted) {
        return 1;
    }
    (void)dialog.commit(); // each failed write has shown its message
    if (Document* document = m_processor.document()) {
        m_templates.selectForFile(document->fileName());
    }
    return 1;
}

int32_t AidCommands::spellingOptions() {
    SpellingOptionsDialog dialog(m_checker.listDictionaries(), m_checker.settings());
    if (m_processor.frame().showDialog(dialog) != DialogResult::Accepted) {
        return 1;
    }
    m_checker.setSettings(dialog.result());
    if (!m_checker.saveSettings()) {
        m_processor.showStatus("The spelling settings could not be written to the settings file.",
                               platform::SoundKind::Exclamation);
    }
    return 1;
}

void AidCommands::markStop(Document& document, const SpellStop& stop) {
    document.clearMark();
    document.goToLine(stop.line);
    document.setCursorOffset(stop.offset);
    const DocLine& line = document.line(stop.line);
    const LineLayout layout = document.layout();
    document.markRange({line.columnOfOffset(stop.offset, layout), stop.line},
                       {line.columnOfOffset(stop.offset + stop.length, layout), stop.line});
}

std::optional<std::string> AidCommands::resolve(Document& document, EditPane& pane, const SpellStop& stop) {
    SpellDictionary& ignore = ignoreList(pane);
    // The dialog and the messages show characters (UTF-8); the dictionaries hold Windows-1252
    // words; the document gets bytes of its own encoding.
    const std::optional<std::string> known = dictionaryWord(stop.word, document.encoding());
    if (!known) {
        return std::nullopt;
    }
    const std::string shown = documentTextAsUtf8(document, stop.word);
    for (;;) {
        m_processor.showStatus(formatText(kSpellingUnknownFormat, shown.c_str()), platform::SoundKind::None);
        std::vector<std::string> suggestions = m_checker.suggestions(*known);
        for (std::string& suggestion : suggestions) {
            suggestion = text::toUtf8(suggestion, TextEncoding::Windows1252);
        }
        SpellingDialog dialog(m_checker.dialogTitle(), shown, std::move(suggestions));
        if (m_processor.frame().showDialog(dialog) != DialogResult::Accepted) {
            return std::nullopt;
        }
        switch (dialog.pressed()) {
        case SpellingDialog::Button::Add:
            m_checker.addToCustom(*known);
            return stop.word;
        case SpellingDialog::Button::Ignore:
            ignore.addWord(*known);
            return stop.word;
        case SpellingDialog::Button::Change: {
            const std::string replacement = dialog.replacement();
            if (replacement.empty()) {
                m_processor.showStatus(kNoWordSelected, platform::SoundKind::Exclamation);
                continue;
            }
            // A replacement Windows-1252 cannot hold is not checked, as words in the text are not.
            const std::optional<std::string> knownReplacement =
                text::fromUtf8(replacement, TextEncoding::Windows1252);
            if (replacement.find(' ') == std::string::npos && knownReplacement &&
                !m_checker.accepts(*knownReplacement, &ignore)) {
                if (m_processor.frame().ask(wordNotFoundQuestion(replacement), "Spelling", Question::YesNo) !=
                    Answer::Yes) {
                    continue;
                }
                ignore.addWord(*knownReplacement);
            }
            if (stop.length == 0 || m_processor.refuseIfReadOnly()) {
                return std::nullopt;
            }
            const std::optional<std::string> bytes =
                documentBytes(document, replacement, &m_processor.frame());
            if (!bytes) {
                continue; // the message says why; another choice may fit
            }
            document.clearMark();
            document.deleteAt(stop.line, stop.offset, stop.length);
            document.insertAt(stop.line, stop.offset, *bytes);
            document.goToLine(stop.line);
            document.setCursorOffset(stop.offset + static_cast<int>(bytes->size()));
            return bytes;
        }
        case SpellingDialog::Button::None:
            return std::nullopt;
        }
    }
}

int32_t AidCommands::checkDocument() {
    Document* document = m_processor.document();
    EditPane* pane = m_processor.pane();
    if (document == nullptr || pane == nullptr) {
        m_processor.showStatus(kNoActiveDocument, platform::SoundKind::Information);
        return 0;
    }
    if (pane != m_lastPane) {
        m_lastPane = pane;
        m_resumeLine.reset();
    }
    int line = m_resumeLine.value_or(document->cursorLine());
    int offset = 0;
    int wrapLine = m_resumeLine ? m_wrapLine : document->cursorLine();
    line = std::clamp(line, 0, std::max(0, document->lineCount() - 1));
    m_checker.ensureLoaded();
    const std::shared_ptr<syntax::SyntaxProfile> profile = m_syntax.profileForFile(document->fileName());
    const auto lineText = [&](int index) { return document->lineText(index); };
    for (;;) {
        const SpellDictionary* ignore = &ignoreList(*pane);
        std::optional<SpellStop> stop;
        {
            BusyCursor busy(m_processor.frame());
            stop = m_checker.scan(lineText, *profile, line, offset, document->lineCount(), ignore,
                                  document->encoding());
            if (!stop && wrapLine != 0) {
                stop = m_checker.scan(lineText, *profile, 0, 0, std::min(wrapLine, document->lineCount()),
                                      ignore, document->encoding());
                wrapLine = 0;
            }
        }
        if (!stop) {
            m_processor.showStatus(kSpellingComplete, platform::SoundKind::Information);
            document->clearMark();
            m_resumeLine.reset();
            m_lastPane = nullptr;
            return 1;
        }
        m_resumeLine = stop->line;
        m_wrapLine = wrapLine;
        markStop(*document, *stop);
        pane->bringCursorIntoView();
        pane->repaintChanged();
        const std::optional<std::string> now = resolve(*document, *pane, *stop);
        if (!now) {
            return 1; // the mark stays on the word; the next check starts at its line
        }
        document->clearMark();
        line = stop->line;
        offset = stop->offset + static_cast<int>(now->size());
    }
}

int32_t AidCommands::checkCurrentWord() {
    Document* document = m_processor.document();
    EditPane* pane = m_processor.pane();
    if (document == nullptr || pane == nullptr) {
        m_processor.showStatus(kNoActiveDocument, platform::SoundKind::Information);
        return 0;
    }
    SpellStop stop;
    stop.line = document->cursorLine();
    if (document->hasMark()) {
        stop.word = MarkedArea(*document, m_processor.clipboard()).markedText();
        const auto cut = stop.word.find_first_of("\r\n");
        stop.word = stop.word.substr(0, std::min(cut, stop.word.size()));
        stop.word.resize(wholeCharacters(stop.word, kMaxCheckedWord, document->encoding()));
        const MarkState& mark = document->mark();
        stop.line = mark.start().line;
        stop.offset = document->line(stop.line).offsetOfColumn(mark.start().column, document->layout());
        stop.length = static_cast<int>(stop.word.size());
    } else {
        const std::optional<WordBounds> bounds = WordRules(*document).wordUnderCursor();
        if (!bounds) {
            m_processor.showStatus(kNotOverWord, platform::SoundKind::Exclamation);
            return 0;
        }
        stop.offset = bounds->start;
        const std::string_view word = document->currentLine().text().substr(
            static_cast<std::size_t>(bounds->start), static_cast<std::size_t>(bounds->end - bounds->start));
        stop.word = std::string(word.substr(0, wholeCharacters(word, kMaxCheckedWord, document->encoding())));
        stop.length = static_cast<int>(stop.word.size());
    }
    if (stop.word.empty()) {
        m_processor.showStatus(kNoWordSelected, platform::SoundKind::Exclamation);
        return 0;
    }
    const std::string shown = documentTextAsUtf8(*document, stop.word);
    const std::optional<std::string> known = dictionaryWord(stop.word, document->encoding());
    if (!known) {
        m_processor.showStatus(formatText(kWordNotCheckedFormat, shown.c_str()),
                               platform::SoundKind::Exclamation);
        return 0;
    }
    m_checker.ensureLoaded();
    if (m_checker.accepts(*known, &ignoreList(*pane))) {
        m_processor.showStatus(formatText(kSpellingOkFormat, shown.c_str()), platform::SoundKind::None);
        return 1;
    }
    // The word stays where it is in the text: only a Change replaces it, and only when the text
    // still holds it there.
    const std::string_view there = document->lineText(stop.line).substr(
        std::min<std::size_t>(static_cast<std::size_t>(stop.offset), document->lineText(stop.line).size()));
    if (!there.starts_with(stop.word)) {
        stop.length = 0;
    }
    (void)resolve(*document, *pane, stop);
    return 1;
}

} // namespace vexa::aids
