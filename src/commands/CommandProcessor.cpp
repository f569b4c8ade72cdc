// The executor of editor functions against the active document and its pane, and of typed characters.
#include "commands/CommandProcessor.h"

#include <cctype>

#include "commands/CommandFamily.h"
#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "commands/FileCommands.h"
#include "commands/KeymapState.h"
#include "commands/LineCommands.h"
#include "commands/MacroRecorderHook.h"
#include "commands/MarkCommands.h"
#include "commands/MovementCommands.h"
#include "commands/NotYetBuilt.h"
#include "commands/OptionCommands.h"
#include "commands/SearchCommands.h"
#include "commands/StampCommands.h"
#include "commands/TypingRoad.h"
#include "commands/WordCommands.h"
#include "core/DocumentText.h"
#include "frame/Frame.h"
#include "frame/StatusLine.h"
#include "search/SearchState.h"
#include "settings/Format.h"
#include "settings/Options.h"

#include <string>

namespace vexa {

namespace {

constexpr std::string_view kNullRefused = "A null character can not be typed into a document.";

} // namespace

CommandProcessor::CommandProcessor(ProcessorServices services)
    : m_frame(services.frame), m_options(services.options), m_clock(services.clock),
      m_clipboard(&services.clipboard), m_typing(std::make_unique<TypingRoad>(*this)),
      m_movement(std::make_unique<MovementCommands>(*this)), m_lines(std::make_unique<LineCommands>(*this)),
      m_words(std::make_unique<WordCommands>(*this)), m_marks(std::make_unique<MarkCommands>(*this)),
      m_optionCommands(std::make_unique<OptionCommands>(*this)),
      m_stamps(std::make_unique<StampCommands>(*this)), m_files(std::make_unique<FileCommands>(*this)),
      m_searchState(std::make_unique<SearchState>()),
      m_search(std::make_unique<SearchCommands>(*this, *m_searchState)) {
    m_searchState->load(m_options.settingsFile());
    // No event drain of its own: a plain drain would let the user edit or close the document being
    // searched. The key state given lets the interface handle what it safely can when polled.
    m_searchState->setInterruption(SearchInterruption{&m_clock, services.keyState, nullptr});
}

CommandProcessor::~CommandProcessor() {
    // An open Find or Replace dialog works on this processor and its search state.
    m_frame.closeSearchDialog();
}

void CommandProcessor::link(ProcessorLinks links) {
    m_statusLine = &links.statusLine;
    m_keymap = &links.keymap;
    m_windows = &links.windows;
    m_recorder = &links.recorder;
    m_templates = &links.templates;
    m_families = std::move(links.families);
    m_linked = true;
}

namespace {

bool claimedByBuiltInFamily(FunctionId id) {
    return TypingRoad::claims(id) || MovementCommands::claims(id) || LineCommands::claims(id) ||
           WordCommands::claims(id) || MarkCommands::claims(id) || OptionCommands::claims(id) ||
           StampCommands::claims(id) || FileCommands::claims(id) || SearchCommands::claims(id);
}

} // namespace

int CommandProcessor::claimCount(FunctionId id) const {
    int count = TypingRoad::claims(id) + MovementCommands::claims(id) + LineCommands::claims(id) +
                WordCommands::claims(id) + MarkCommands::claims(id) + OptionCommands::claims(id) +
                StampCommands::claims(id) + FileCommands::claims(id) + SearchCommands::claims(id);
    for (const CommandFamily* family : m_families) {
        count += family->claims(id) ? 1 : 0;
    }
    return count;
}

bool CommandProcessor::hasForegroundWork() {
    for (CommandFamily* family : m_families) {
        if (family->hasForegroundWork()) {
            return true;
        }
    }
    return false;
}

bool CommandProcessor::stopForegroundWork() {
    bool stopped = false;
    for (CommandFamily* family : m_families) {
        if (family->hasForegroundWork()) {
            stopped = family->stopForegroundWork() || stopped;
        }
    }
    return stopped;
}

bool CommandProcessor::saveSearchState() {
    return m_searchState->save(m_options.settingsFile());
}

Document* CommandProcessor::document() {
    return m_pane != nullptr ? &m_pane->document() : nullptr;
}

void CommandProcessor::forgetRepeats() {
    // A remembered count two below the current one can never be "the previous command".
    m_startRepeat = RepeatMemory{static_cast<int64_t>(m_commandCount) - 2, 0};
    m_endRepeat = m_startRepeat;
}

void CommandProcessor::closeTypedWord() {
    if (m_typedWordOpen && m_pane != nullptr) {
        m_pane->document().nextGroup();
    }
    m_typedWordOpen = false;
}

void CommandProcessor::activatePane(EditPane* pane) {
    closeTypedWord();
    m_pane = pane;
    m_outputWindowActive = false;
    forgetRepeats();
    if (m_pane != nullptr) {
        Document& document = m_pane->document();
        document.setSettings(editSettings());
        document.setMessenger(&m_frame);
        if (m_statusLine != nullptr) {
            m_statusLine->setIndicator(Indicator::Changed, document.isModified());
            m_statusLine->setIndicator(Indicator::ReadOnly, document.isReadOnly());
            m_statusLine->showFormat(document.encoding(), document.lineEnds(), document.hasMixedLineEnds());
        }
    }
}

void CommandProcessor::activateOutputWindow() {
    closeTypedWord();
    m_pane = nullptr;
    m_outputWindowActive = true;
}

void CommandProcessor::paneClosed(EditPane* pane) {
    if (m_pane == pane) {
        m_pane = nullptr;
        m_typedWordOpen = false;
    }
    if (pane != nullptr) {
        for (CommandFamily* family : m_families) {
            family->documentClosed(pane->document().fileName());
        }
    }
}

EditSettings CommandProcessor::editSettings() const {
    const EditorOptions& editor = m_options.editor();
    EditSettings settings;
    settings.tabSize = m_options.effectiveTabSize();
    settings.useTabs = editor.useTabs == 1;
    settings.insertMode = editor.insertMode == 1;
    settings.insertAfterCursor = editor.insertAfterCursor != 0;
    settings.briefCursor = m_options.keyboard().briefCursor != 0;
    return settings;
}

void CommandProcessor::applySettings() {
    const EditSettings settings = editSettings();
    if (m_windows != nullptr) {
        for (EditPane* pane : m_windows->panes()) {
            if (pane != nullptr) {
                pane->document().setSettings(settings);
            }
        }
    }
    if (m_pane != nullptr) {
        m_pane->document().setSettings(settings);
    }
}

bool CommandProcessor::keyPressRemovesMark() const {
    return m_keymap != nullptr && m_keymap->keyPressRemovesMark();
}

bool CommandProcessor::cutCopyRemovesMark() const {
    return m_keymap != nullptr && m_keymap->cutCopyRemovesMark();
}

void CommandProcessor::showStatus(std::string_view text, platform::SoundKind sound) {
    if (m_statusLine != nullptr && m_statusLine->isHeld()) {
        if (m_statusLine->isMessageShown()) {
            return;
        }
        m_statusLine->setHold(false);
    }
    m_frame.status(text, m_options.soundFor(sound).value_or(platform::SoundKind::None));
}

bool CommandProcessor::refuseIfReadOnly() {
    Document* doc = document();
    if (doc == nullptr || !doc->isReadOnly()) {
        return false;
    }
    ++m_refusedEdits;
    if (doc->isLoadIncomplete()) {
        showStatus(formatText(kIncompleteMessage, doc->namePart().c_str()), platform::SoundKind::Information);
    } else {
        showStatus(kReadOnlyMessage, platform::SoundKind::Information);
    }
    return true;
}

bool CommandProcessor::waitForLines(int lines) {
    Document* doc = document();
    if (doc == nullptr || doc->lineCount() > lines) {
        return doc != nullptr;
    }
    return doc->isLoadIncomplete() && m_windows != nullptr && m_windows->waitForLines(*doc, lines);
}

void CommandProcessor::resetPrefix() {
    if (m_keymap != nullptr) {
        m_keymap->resetPrefix();
    }
}

int32_t CommandProcessor::run(FunctionId id) {
    if (TypingRoad::claims(id)) {
        return m_typing->run(id);
    }
    if (MovementCommands::claims(id)) {
        return m_movement->run(id);
    }
    if (LineCommands::claims(id)) {
        return m_lines->run(id);
    }
    if (WordCommands::claims(id)) {
        return m_words->run(id);
    }
    if (MarkCommands::claims(id)) {
        return m_marks->run(id);
    }
    if (OptionCommands::claims(id)) {
        return m_optionCommands->run(id);
    }
    if (StampCommands::claims(id)) {
        return m_stamps->run(id);
    }
    if (FileCommands::claims(id)) {
        return m_files->run(id);
    }
    if (SearchCommands::claims(id)) {
        return m_search->run(id);
    }
    if (CommandFamily* family = addedFamilyOf(id)) {
        return family->run(id);
    }
    return 0;
}

CommandFamily* CommandProcessor::addedFamilyOf(FunctionId id) const {
    for (CommandFamily* family : m_families) {
        if (family->claims(id)) {
            return family;
        }
    }
    return nullptr;
}

std::optional<int32_t> CommandProcessor::dispatch(FunctionId id) {
    if (!claimedByBuiltInFamily(id) && addedFamilyOf(id) == nullptr) {
        if (isNotYetBuilt(id)) {
            showStatus(
                formatText(kNotYetBuiltMessage, std::string(FunctionTable::standard().nameOf(id)).c_str()),
                platform::SoundKind::Information);
        }
        return std::nullopt;
    }
    // Stamps without a pane do nothing and report success before any guard.
    if (StampCommands::claims(id) && m_pane == nullptr) {
        return 1;
    }
    if (FunctionTable::standard().is(id, FunctionClass::TextChanging) && refuseIfReadOnly()) {
        return 0;
    }
    return run(id);
}

void CommandProcessor::refresh(UndoGroup group) {
    EditPane& pane = *m_pane;
    pane.updateExtent();
    pane.bringCursorIntoView();
    if (group == UndoGroup::Close) {
        pane.document().nextGroup();
    }
    pane.repaintChanged();
    if (m_statusLine != nullptr) {
        const Document& doc = pane.document();
        m_statusLine->showEditPosition(static_cast<uint32_t>(doc.cursorLine()), doc.cursorColumn());
        m_statusLine->setIndicator(Indicator::Changed, doc.isModified());
    }
}

int32_t CommandProcessor::executeWithClipboard(platform::Clipboard& clipboard, uint32_t message, uint32_t source) {
    platform::Clipboard* const desktop = m_clipboard;
    m_clipboard = &clipboard;
    const int32_t result = execute(message, source);
    m_clipboard = desktop;
    return result;
}

int32_t CommandProcessor::execute(uint32_t message, uint32_t /*source*/) {
    const auto id = static_cast<FunctionId>(message & 0xFFFFu);
    if (id != kMarkCuaStart && id != kMarkCuaEnd) {
        ++m_commandCount;
    }
    const EditorFunction* record = FunctionTable::standard().find(id);
    if (record == nullptr) {
        return 0;
    }
    if (!m_linked) {
        m_frame.messageBox(
            formatText(kUnexpectedError.data(), kProcessorModule, std::to_string(__LINE__).c_str()));
        return 0;
    }
    if (m_recorder != nullptr && m_recorder->isRecording() && !record->is(FunctionClass::NeverRecorded)) {
        m_recorder->recordFunction(id);
    }
    m_reshow = !record->is(FunctionClass::NoReshow);
    if (m_pane != nullptr) {
        m_pane->document().setSettings(editSettings());
        if (m_executeDepth == 0) {
            closeTypedWord();
        }
    }
    int32_t result = 0;
    {
        struct Depth {
            int& depth;
            explicit Depth(int& value) : depth(++value) {}
            ~Depth() { --depth; }
            Depth(const Depth&) = delete;
            Depth& operator=(const Depth&) = delete;
        } depth(m_executeDepth);
        result = dispatch(id).value_or(0);
    }
    if (m_reshow && m_pane != nullptr) {
        refresh();
    } else if (m_pane != nullptr) {
        // A function that leaves the view alone still closes its undo group, so that what it
        // changed is never undone together with the next function.
        m_pane->document().nextGroup();
    }
    resetPrefix();
    return result;
}

bool CommandProcessor::typeCharacter(char32_t character, CharacterModifiers modifiers) {
    Document* doc = document();
    if (doc == nullptr) {
        return false;
    }
    if (refuseIfReadOnly()) {
        return true;
    }
    if (!m_literalNext) {
        const KeyboardOptions& keyboard = m_options.keyboard();
        if (modifiers.alt && keyboard.allowAlt == 0) {
            m_frame.beep(
                m_options.soundFor(platform::SoundKind::Information).value_or(platform::SoundKind::None));
            return true;
        }
        if (modifiers.ctrl && keyboard.allowControl == 0) {
            m_frame.beep(
                m_options.soundFor(platform::SoundKind::Exclamation).value_or(platform::SoundKind::None));
            return true;
        }
    }
    ++m_commandCount;
    if (m_keymap != nullptr && m_keymap->isPrefixArmed()) {
        m_frame.beep(
            m_options.soundFor(platform::SoundKind::Exclamation).value_or(platform::SoundKind::None));
        m_keymap->resetPrefix();
        return true;
    }
    if (character == 0) {
        showStatus(kNullRefused, platform::SoundKind::Exclamation);
        return true;
    }
    if (character == U'\n' || character == U'\r') {
        if (m_recorder != nullptr && m_recorder->isRecording()) {
            m_recorder->recordCharacter(character);
        }
        // A line end inside a line would disagree with the line count and the saved file: it
        // splits the line, plainly (no indent, no brace).
        doc->setSettings(editSettings());
        m_typing->startNewLine(NewLineMode::Forced);
        m_literalNext = false;
        refresh();
        return true;
    }
    std::string utf8;
    text::appendUtf8(utf8, character);
    const std::optional<std::string> bytes = documentBytes(*doc, utf8, &m_frame);
    if (!bytes) {
        return true;
    }
    if (m_recorder != nullptr && m_recorder->isRecording()) {
        m_recorder->recordCharacter(character, modifiers.flags());
    }
    doc->setSettings(editSettings());
    // With "UndoWords" the characters typed into one word share an undo group: a word character
    // leaves the group open for the next one, anything else stands alone.
    const bool wordCharacter = character >= 0x80 || character == U'_' || (character < 0x80 && std::isalnum(static_cast<int>(character)) != 0);
    const bool joinWord = m_options.editor().undoWords != 0 && wordCharacter;
    if (!joinWord) {
        closeTypedWord();
    }
    m_typing->typeAfterGuards(*doc, *bytes);
    refresh(joinWord ? UndoGroup::KeepOpen : UndoGroup::Close);
    m_typedWordOpen = joinWord;
    return true;
}

void CommandProcessor::typeText(std::string_view utf8) {
    std::size_t at = 0;
    while (at < utf8.size()) {
        const text::Decoded decoded = text::decodeUtf8(utf8, at);
        at += static_cast<std::size_t>(decoded.length);
        typeCharacter(decoded.character);
        if (decoded.character == U'\r' && at < utf8.size() && utf8[at] == '\n') {
            ++at;
        }
    }
}

} // namespace vexa
