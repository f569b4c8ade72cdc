// The glue between the key filter, the active keymap and the command processor: it answers the
// filter's questions about the editor and sends the functions it finds to the processor.
#pragma once

#include <memory>

#include "commands/FunctionDispatcher.h"
#include "commands/KeymapState.h"
#include "keyboard/ActiveKeymap.h"
#include "keyboard/KeyFilter.h"

namespace vexa {
class CommandProcessor;
class Options;
} // namespace vexa

namespace vexa::ui {

class KeyRoad final : public KeyFilterSurroundings, public FunctionDispatcher, public KeymapState {
public:
    KeyRoad(CommandProcessor& processor, Options& options);

    ActiveKeymap& keymaps() { return m_keymap; }
    KeyFilter& filter() { return m_filter; }

    // Activates the keymap the options name; when it cannot be loaded, the built-in one with the
    // message, and the setting names the built-in one from then on.
    void loadKeymap();

    // KeyFilterSurroundings
    Keymap* activeKeymap() override { return &m_keymap.keymap(); }
    bool literalCharacterPending() const override;
    void clearLiteralCharacter() override;
    bool outputWindowActive() const override;
    bool editWindowActive() const override;
    bool shiftHeld() const override;
    void setShiftHeld(bool held) override;
    bool shiftMarkingInProgress() const override { return m_shiftMarking; }
    void setShiftMarkingInProgress(bool inProgress) override { m_shiftMarking = inProgress; }
    void removeShiftMark() override;
    void beep(platform::SoundKind kind) override;
    bool foregroundWorkRunning() override;

    // FunctionDispatcher
    void sendCommand(uint16_t id, uint32_t source) override;

    // KeymapState
    bool isPrefixArmed() const override { return m_keymap.keymap().isArmed(); }
    void resetPrefix() override { m_keymap.keymap().resetPrefixState(); }
    bool keyPressRemovesMark() const override { return m_keymap.keymap().flags().keyPressRemovesMark != 0; }
    bool cutCopyRemovesMark() const override { return m_keymap.keymap().flags().cutCopyRemovesMark != 0; }

private:
    CommandProcessor& m_processor;
    Options& m_options;
    ActiveKeymap m_keymap;
    KeyFilter m_filter;
    bool m_shiftMarking = false;
};

} // namespace vexa::ui
