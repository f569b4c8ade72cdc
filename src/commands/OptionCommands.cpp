// The option and state functions, sounds, the version, the cursor tests and the unimplemented ones.
#include "commands/OptionCommands.h"

#include "commands/CommandProcessor.h"
#include "core/Document.h"
#include "frame/Frame.h"
#include "frame/StatusLine.h"
#include "settings/Format.h"
#include "settings/Options.h"

namespace vexa {

namespace {

constexpr const char* kWrapMessage = "The automatic line wrapping feature is '%s'";
constexpr const char* kBackupMessage = "The file auto backup feature is '%s'";
constexpr const char* kReadOnlyModeMessage = "The system read/only mode state is now '%s'";
constexpr const char* kOemReadMessage = "The 'Read file as OEM text' option is now '%s'";
constexpr const char* kOemWriteMessage = "The 'Write file as OEM text' option is now '%s'";
constexpr std::string_view kMadeReadOnly = "The document is now marked as 'Read Only'";
constexpr std::string_view kMadeReadWrite = "The document is now marked as 'Read/Write'";
constexpr std::string_view kIncompleteStaysReadOnly =
    "The document holds only part of its file, so it stays read only.";
constexpr std::string_view kCannotMakeReadOnly =
    "The document can not be made read only as it has been changed!";
constexpr std::string_view kNotSupported = "This keystroke is not supported";

// The first of three consecutive identifiers Set, Reset, Toggle.
struct SwitchFamily {
    FunctionId set;
};

constexpr SwitchFamily kLineWrap{functionIdOf("LineWrapSet")};
constexpr SwitchFamily kInsertMode{functionIdOf("InsertModeSet")};
constexpr SwitchFamily kBackup{functionIdOf("FileBackupSet")};
constexpr SwitchFamily kReadOnly{functionIdOf("FileReadOnlySet")};
constexpr SwitchFamily kReadOnlyMode{functionIdOf("FileReadOnlyModeSet")};
constexpr SwitchFamily kOemRead{functionIdOf("FileReadOEMSet")};
constexpr SwitchFamily kOemWrite{functionIdOf("FileWriteOEMSet")};
constexpr SwitchFamily kToolBar{functionIdOf("ToolBarViewSet")};
constexpr SwitchFamily kStatusBar{functionIdOf("StatusBarViewSet")};
constexpr std::array<SwitchFamily, 9> kSwitches = {kLineWrap, kInsertMode, kBackup,  kReadOnly, kReadOnlyMode,
                                                   kOemRead,  kOemWrite,   kToolBar, kStatusBar};

bool inFamily(FunctionId id, SwitchFamily family) {
    return id >= family.set && id < family.set + 3;
}

bool isCursorTest(FunctionId id) {
    return id >= functionIdOf("IsEndOfLine") && id <= functionIdOf("IsOutsideLine");
}

bool isSound(FunctionId id) {
    return id >= functionIdOf("SoundOk") && id <= functionIdOf("SoundWarning");
}

} // namespace

bool OptionCommands::claims(FunctionId id) {
    for (const SwitchFamily& family : kSwitches) {
        if (inFamily(id, family)) {
            return true;
        }
    }
    return isCursorTest(id) || isSound(id) || id == functionIdOf("Version") ||
           id == functionIdOf("NotSupported") ||
           FunctionTable::standard().is(id, FunctionClass::NotYetImplemented);
}

int32_t OptionCommands::run(FunctionId id) {
    EditorOptions& editor = m_processor.options().editor();
    const auto action = [](FunctionId first, FunctionId id) { return static_cast<Switch>(id - first); };
    if (inFamily(id, kLineWrap)) {
        return switchOption(editor.lineWrap, action(kLineWrap.set, id), kWrapMessage);
    }
    if (inFamily(id, kInsertMode)) {
        return switchOption(editor.insertMode, action(kInsertMode.set, id), nullptr);
    }
    if (inFamily(id, kBackup)) {
        return switchOption(editor.autoBackup, action(kBackup.set, id), kBackupMessage);
    }
    if (inFamily(id, kReadOnlyMode)) {
        return switchOption(editor.fileReadOnly, action(kReadOnlyMode.set, id), kReadOnlyModeMessage);
    }
    if (inFamily(id, kOemRead)) {
        return switchOption(editor.oemRead, action(kOemRead.set, id), kOemReadMessage);
    }
    if (inFamily(id, kOemWrite)) {
        return switchOption(editor.oemWrite, action(kOemWrite.set, id), kOemWriteMessage);
    }
    if (inFamily(id, kReadOnly)) {
        return switchReadOnly(action(kReadOnly.set, id));
    }
    if (inFamily(id, kToolBar)) {
        switchOption(editor.toolBar, action(kToolBar.set, id), nullptr);
        m_processor.frame().showBar(FrameBar::ToolBar, editor.toolBar != 0);
        return 1;
    }
    if (inFamily(id, kStatusBar)) {
        switchOption(editor.statusBar, action(kStatusBar.set, id), nullptr);
        m_processor.frame().showBar(FrameBar::StatusBar, editor.statusBar != 0);
        return 1;
    }
    if (isCursorTest(id)) {
        const Document* document = m_processor.document();
        if (document == nullptr) {
            return 0;
        }
        switch (id) {
        case functionIdOf("IsEndOfLine"):
            return document->cursorAtEnd() ? 1 : 0;
        case functionIdOf("IsStartOfLine"):
            return document->cursorAtStart() ? 1 : 0;
        case functionIdOf("IsWithinLine"):
            return document->cursorWithin() ? 1 : 0;
        default:
            return document->cursorBeyond() ? 1 : 0;
        }
    }
    if (isSound(id)) {
        constexpr std::array<platform::SoundKind, 5> kSounds = {
            platform::SoundKind::None, platform::SoundKind::Information, platform::SoundKind::Question,
            platform::SoundKind::Error, platform::SoundKind::Exclamation};
        const platform::SoundKind sound = kSounds[id - functionIdOf("SoundOk")];
        if (const auto made = m_processor.options().soundFor(sound)) {
            m_processor.frame().beep(*made);
        }
        return 1;
    }
    if (id == functionIdOf("Version")) {
        m_processor.showStatus(kVersionText);
        return 1;
    }
    if (id == functionIdOf("NotSupported")) {
        m_processor.showStatus(kNotSupported, platform::SoundKind::Information);
        return 1;
    }
    m_processor.showStatus(kNotYetImplemented, platform::SoundKind::Information);
    return 1;
}

int32_t OptionCommands::switchOption(int& value, Switch action, const char* message) {
    const bool on = action == Switch::Toggle ? value == 0 : action == Switch::Set;
    value = on ? 1 : 0;
    m_processor.applySettings();
    updateIndicators();
    if (message != nullptr) {
        m_processor.showStatus(formatText(message, on ? "On" : "Off"));
    }
    return 1;
}

int32_t OptionCommands::switchReadOnly(Switch action) {
    Document* document = m_processor.document();
    if (document == nullptr) {
        return 0;
    }
    const bool on = action == Switch::Toggle ? !document->isReadOnly() : action == Switch::Set;
    if (on && document->isModified()) {
        m_processor.showStatus(kCannotMakeReadOnly, platform::SoundKind::Information);
        return 1;
    }
    // A partly loaded document would otherwise be open to changes and saves over its file.
    if (!on && document->isLoadIncomplete()) {
        m_processor.showStatus(kIncompleteStaysReadOnly, platform::SoundKind::Information);
        return 1;
    }
    document->setReadOnly(on);
    updateIndicators();
    m_processor.showStatus(on ? kMadeReadOnly : kMadeReadWrite);
    return 1;
}

void OptionCommands::updateIndicators() {
    StatusLine* statusLine = m_processor.statusLine();
    if (statusLine == nullptr) {
        return;
    }
    const EditorOptions& editor = m_processor.options().editor();
    statusLine->setIndicator(Indicator::Wrap, editor.lineWrap != 0);
    statusLine->setIndicator(Indicator::Mode, editor.insertMode != 0);
    if (const Document* document = m_processor.document()) {
        statusLine->setIndicator(Indicator::ReadOnly, document->isReadOnly());
    }
}

} // namespace vexa
