// The glue between the key filter, the active keymap and the command processor.
#include "keyboard/KeyRoad.h"

#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "frame/Frame.h"
#include "keyboard/DefaultKeymap.h"
#include "keyboard/KeymapFile.h"
#include "keyboard/KeymapStore.h"
#include "settings/Options.h"

namespace vexa::ui {

KeyRoad::KeyRoad(CommandProcessor& processor, Options& options)
    : m_processor(processor), m_options(options), m_filter(*this, *this) {}

void KeyRoad::loadKeymap() {
    KeymapStore store(m_options.directory(DirectoryKind::Config), m_processor.frame());
    m_keymap.replace(createConfiguredKeymap(store, m_options));
}

bool KeyRoad::literalCharacterPending() const {
    return m_processor.literalNext();
}

void KeyRoad::clearLiteralCharacter() {
    m_processor.setLiteralNext(false);
}

bool KeyRoad::outputWindowActive() const {
    return m_processor.outputWindowActive();
}

bool KeyRoad::editWindowActive() const {
    return m_processor.pane() != nullptr;
}

bool KeyRoad::shiftHeld() const {
    return m_processor.shiftHeld();
}

void KeyRoad::setShiftHeld(bool held) {
    m_processor.setShiftHeld(held);
}

void KeyRoad::removeShiftMark() {
    Document* document = m_processor.document();
    if (document != nullptr && document->mark().type == MarkType::CuaStream) {
        document->clearMark();
    }
}

void KeyRoad::beep(platform::SoundKind kind) {
    if (auto sound = m_options.soundFor(kind)) {
        m_processor.frame().beep(*sound);
    }
}

bool KeyRoad::foregroundWorkRunning() {
    return m_processor.hasForegroundWork();
}

void KeyRoad::sendCommand(uint16_t id, uint32_t source) {
    (void)m_processor.execute(id, source);
}

} // namespace vexa::ui
