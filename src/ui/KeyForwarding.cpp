// Qt key events into the key road.
#include "ui/KeyForwarding.h"

#include <QKeyEvent>

#include "keyboard/KeyRoad.h"
#include "keyboard/Keymap.h"
#include "ui/KeyTranslation.h"
#include "ui/QtKeyState.h"

namespace vexa::ui {

bool keymapClaims(KeyRoad& road, const QKeyEvent& event) {
    auto key = translateKey(event.key(), event.modifiers());
    if (!key) {
        return false;
    }
    Keymap& keymap = road.keymaps().keymap();
    if (keymap.isArmed()) {
        return true;
    }
    const KeyChord chord{key->code, key->modifiers};
    return keymap.isPrefixKey(chord) || keymap.lookupInTable(KeyChord{}, chord) != kNoFunction;
}

bool sendThroughKeyRoad(const KeyPorts& ports, const QKeyEvent& event) {
    ports.keyState.keyEvent(event);
    auto key = translateKey(event.key(), event.modifiers());
    if (!key) {
        return false;
    }
    const KeyPress press{key->code, key->modifiers,
                         event.isAutoRepeat() ? KeyRepeat::AutoRepeat : KeyRepeat::First,
                         event.type() == QEvent::KeyRelease ? KeyDirection::Up : KeyDirection::Down};
    return ports.road.filter().keyMessage(press) == KeyHandling::Handled;
}

} // namespace vexa::ui
