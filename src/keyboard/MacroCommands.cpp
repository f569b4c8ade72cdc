// The keyboard-macro functions.
#include "keyboard/MacroCommands.h"

#include <array>
#include <limits>
#include <string_view>

#include "commands/CommandProcessor.h"
#include "frame/Frame.h"
#include "frame/StatusLine.h"
#include "frame/StatusMessages.h"
#include "keyboard/MacroDialogs.h"
#include "search/SearchBudget.h"
#include "search/SearchState.h"
#include "settings/Format.h"
#include "settings/Options.h"
#include "text/TextEncoding.h"

namespace vexa {

namespace {

using platform::SoundKind;

constexpr FunctionId kPlay = functionIdOf("MacroPlay");
constexpr FunctionId kRepeat = functionIdOf("MacroRepeat");
constexpr FunctionId kRecordSet = functionIdOf("MacroRecordSet");
constexpr FunctionId kRecordReset = functionIdOf("MacroRecordReset");
constexpr FunctionId kRecordToggle = functionIdOf("MacroRecordToggle");
constexpr FunctionId kLoad = functionIdOf("MacroLoad");
constexpr FunctionId kSave = functionIdOf("MacroSave");
constexpr FunctionId kOptions = functionIdOf("OptionsMacros");
constexpr std::array<FunctionId, kMacroMenuMaxEntries> kExecute = {
    functionIdOf("MacroExecute1"),  functionIdOf("MacroExecute2"),  functionIdOf("MacroExecute3"),
    functionIdOf("MacroExecute4"),  functionIdOf("MacroExecute5"),  functionIdOf("MacroExecute6"),
    functionIdOf("MacroExecute7"),  functionIdOf("MacroExecute8"),  functionIdOf("MacroExecute9"),
    functionIdOf("MacroExecute10"), functionIdOf("MacroExecute11"), functionIdOf("MacroExecute12"),
    functionIdOf("MacroExecute13"), functionIdOf("MacroExecute14"), functionIdOf("MacroExecute15")};

constexpr const char* kSelectFile = "Select the name of the %s file to be %s";
constexpr const char* kLoadedFormat = "The loading of the macro file '%s' was successful";
constexpr const char* kOpenErrorFormat = "Error loading the '%s' macro file.";
constexpr const char* kSavedFormat = "The current macro was saved to the '%s' macro file";
constexpr const char* kSaveErrorFormat = "Error saving the '%s' macro file";

std::vector<FileFilter> macroFilters() {
    return {{"Macro Files (*.mac)", "*.mac"}, {"All Files (*.*)", "*.*"}};
}

int executeIndex(FunctionId id) {
    for (size_t index = 0; index < kExecute.size(); ++index) {
        if (kExecute[index] == id) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

} // namespace

FunctionId macroExecuteId(size_t index) {
    return index < kExecute.size() ? kExecute[index] : kNoFunction;
}

MacroCommands::MacroCommands(CommandProcessor& processor)
    : m_processor(processor), m_menu(readMacroMenu(processor.options().directory(DirectoryKind::Config))) {}

bool MacroCommands::claims(FunctionId id) const {
    return id == kPlay || id == kRepeat || id == kRecordSet || id == kRecordReset || id == kRecordToggle ||
           id == kLoad || id == kSave || id == kOptions || executeIndex(id) >= 0;
}

int32_t MacroCommands::run(FunctionId id) {
    if (id == kPlay) {
        return play() ? 1 : 0;
    }
    if (id == kRepeat) {
        return repeat();
    }
    if (id == kRecordSet) {
        if (!m_recorder.isRecording()) {
            startRecording();
        }
        return 1;
    }
    if (id == kRecordReset) {
        if (m_recorder.isRecording()) {
            // MacroRecordReset is recorded like any other function; the one that ends the
            // recording is not part of it.
            stopRecording(true);
        }
        return 1;
    }
    if (id == kRecordToggle) {
        if (m_recorder.isRecording()) {
            stopRecording();
        } else {
            startRecording();
        }
        return 1;
    }
    if (id == kLoad) {
        return loadChosen();
    }
    if (id == kSave) {
        return saveChosen();
    }
    if (id == kOptions) {
        return editMenu();
    }
    return executeEntry(static_cast<size_t>(executeIndex(id)));
}

void MacroCommands::startRecording() {
    m_recorder.startRecording();
    m_processor.showStatus("Macro recording started");
    if (StatusLine* status = m_processor.statusLine()) {
        status->setIndicator(Indicator::Recording, true);
    }
}

void MacroCommands::stopRecording(bool dropLast) {
    const uint32_t count = m_recorder.stopRecording(dropLast);
    m_processor.showStatus(count > 0 ? "Macro recording complete" : "Macro recording was cancelled");
    if (StatusLine* status = m_processor.statusLine()) {
        status->setIndicator(Indicator::Recording, false);
    }
}

namespace {

// Playback looks at Escape between events, at most every SearchBudget::kPollIntervalMs; each event
// counts as one clock read's worth of work and the number of events is not bounded.
SearchBudget playbackWatch(CommandProcessor& processor) {
    return SearchBudget(processor.searchState().interruption(), std::numeric_limits<uint64_t>::max());
}

} // namespace

bool MacroCommands::play() {
    SearchBudget watch = playbackWatch(m_processor);
    return play(watch);
}

bool MacroCommands::play(SearchBudget& watch) {
    if (m_recorder.isRecording()) {
        m_processor.showStatus("Can't playback macro while recording!", SoundKind::Information);
        return false;
    }
    if (m_recorder.isPlayingBack()) {
        return false;
    }
    // The list played stays alive even when one of its events loads another macro.
    const std::shared_ptr<const MacroEvents> events = m_recorder.macro();
    if (events->empty()) {
        m_processor.showStatus("No macro recorded!", SoundKind::Information);
        return false;
    }
    m_recorder.setPlaying(true);
    m_processor.showStatus("Macro playback started");
    char32_t highSurrogate = 0;
    for (const MacroEvent& event : *events) {
        // The key state lets the window paint while it is asked, keeping user input out.
        if (!watch.spend(SearchBudget::kUnitsPerClockRead)) {
            m_recorder.setPlaying(false);
            m_processor.showStatus(kMacroPlaybackStopped, SoundKind::Exclamation);
            return false;
        }
        if (event.isFunction()) {
            highSurrogate = 0;
            m_processor.execute(event.function, kKeyboardCommandSource);
            continue;
        }
        const char32_t unit = event.character;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate = unit;
            continue;
        }
        char32_t character = unit;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (highSurrogate == 0) {
                continue; // half a pair: nothing to type
            }
            character = 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00);
        } else if (unit >= 0x80 && unit <= 0x9F) {
            // Macros recorded before characters were kept by code point hold Windows-1252 bytes;
            // no keyboard types the control characters these codes would otherwise be.
            character = text::windows1252ToUnicode(static_cast<unsigned char>(unit));
        }
        highSurrogate = 0;
        // The recorded key state takes the character road again, with its Alt and Ctrl rules.
        m_processor.typeCharacter(character, CharacterModifiers::fromFlags(event.modifiers));
    }
    m_processor.showStatus("Macro playback complete");
    m_recorder.setPlaying(false);
    return true;
}

int32_t MacroCommands::repeat() {
    MacroRepeatModel model;
    if (m_processor.frame().showDialog(model) != DialogResult::Accepted) {
        return 0;
    }
    // One watch for every pass: a short macro repeated many times is stopped as well.
    SearchBudget watch = playbackWatch(m_processor);
    for (int32_t pass = 0; pass < model.count(); ++pass) {
        if (!play(watch)) {
            return 0;
        }
    }
    return 1;
}

bool MacroCommands::load(const std::string& path) {
    Frame& frame = m_processor.frame();
    frame.beginBusy();
    const MacroFileRead read = readMacroFile(path);
    frame.endBusy();
    if (read.status == InfoStatus::OpenFailed) {
        m_processor.showStatus(formatText(kOpenErrorFormat, path.c_str()), SoundKind::Exclamation);
        return false;
    }
    if (read.status != InfoStatus::Ok) {
        m_processor.showStatus(infoUnknownFormatMessage(path), SoundKind::Exclamation);
        return false;
    }
    if (m_recorder.isRecording()) {
        m_recorder.stopRecording();
        if (StatusLine* status = m_processor.statusLine()) {
            status->setIndicator(Indicator::Recording, false);
        }
    }
    m_recorder.replaceWith(read.events);
    return true;
}

int32_t MacroCommands::loadChosen() {
    Frame& frame = m_processor.frame();
    m_processor.showStatus(formatText(kSelectFile, "macro", "loaded."));
    FileDialogRequest request;
    request.title = "Load Macro";
    request.filters = macroFilters();
    const std::vector<std::string> chosen = frame.chooseFilesToOpen(request);
    if (chosen.empty()) {
        return 0;
    }
    const std::string& path = chosen.front();
    if (!load(path)) {
        return 0; // the load reported why
    }
    m_processor.showStatus(formatText(kLoadedFormat, path.c_str()));
    return 1;
}

bool MacroCommands::save(const std::string& path) {
    return writeMacroFile(path, *m_recorder.macro());
}

int32_t MacroCommands::saveChosen() {
    if (!m_recorder.hasMacro()) {
        m_processor.showStatus("No macro recorded!", SoundKind::Information);
        return 0;
    }
    m_processor.showStatus(formatText(kSelectFile, "macro", "saved."));
    FileDialogRequest request;
    request.title = "Save Macro";
    request.filters = macroFilters();
    request.defaultExtension = "mac";
    const std::optional<std::string> chosen = m_processor.frame().chooseFileToSave(request);
    if (!chosen) {
        return 0;
    }
    if (!save(*chosen)) {
        m_processor.showStatus(formatText(kSaveErrorFormat, chosen->c_str()), SoundKind::Exclamation);
        return 0;
    }
    m_processor.showStatus(formatText(kSavedFormat, chosen->c_str()));
    return 1;
}

int32_t MacroCommands::executeEntry(size_t number) {
    if (number >= m_menu.size()) {
        m_processor.frame().messageBox(
            formatText(kUnexpectedError.data(), kMacroModule, std::to_string(__LINE__).c_str()));
        return 0;
    }
    if (!load(m_menu[number].path)) {
        return 0;
    }
    return play() ? 1 : 0;
}

std::vector<std::string> MacroCommands::menuItemTexts() const {
    std::vector<std::string> texts;
    texts.reserve(m_menu.size());
    for (size_t index = 0; index < m_menu.size(); ++index) {
        texts.push_back(macroMenuItemText(index, m_menu[index].name));
    }
    return texts;
}

bool MacroCommands::setMenu(std::vector<MacroMenuEntry> entries) {
    if (entries.size() > kMacroMenuMaxEntries) {
        entries.resize(kMacroMenuMaxEntries);
    }
    m_menu = std::move(entries);
    if (m_menuObserver) {
        m_menuObserver();
    }
    const std::string directory = m_processor.options().directory(DirectoryKind::Config);
    if (!writeMacroMenu(directory, m_menu)) {
        m_processor.showStatus(infoCreateErrorMessage(directory + "/" + std::string(kMacroMenuFileName)),
                               SoundKind::Exclamation);
        return false;
    }
    return true;
}

int32_t MacroCommands::editMenu() {
    MacroOptionsModel model(m_menu, m_processor.frame());
    if (m_processor.frame().showDialog(model) != DialogResult::Accepted) {
        return 0;
    }
    return setMenu(model.entries()) ? 1 : 0;
}

} // namespace vexa
