// What every window of the document area does with a Qt key event: the keymap claims the keys it
// binds before any menu shortcut or mnemonic, and presses and releases go through the key road.
#pragma once

class QKeyEvent;

namespace vexa::ui {

class KeyRoad;
class QtKeyState;

// The key road of the editor and the key states it is fed with; both outlive every window.
struct KeyPorts {
    KeyRoad& road;
    QtKeyState& keyState;
};

// Whether the active keymap binds the key (or it is a prefix key, or the keymap is armed), so
// that it must reach the key road rather than a menu shortcut or mnemonic.
bool keymapClaims(KeyRoad& road, const QKeyEvent& event);

// Feeds a key press or release to the key states and the key filter; true when the filter ran a
// function or swallowed the key, false when the key goes on to the widget.
bool sendThroughKeyRoad(const KeyPorts& ports, const QKeyEvent& event);

} // namespace vexa::ui
