// The key state port fed from the Qt key events.
#include "ui/QtKeyState.h"

#include <QKeyEvent>

#include "ui/KeyTranslation.h"

namespace vexa::ui {

bool QtKeyState::wasPressed(uint16_t virtualKey) {
    const bool pressed = m_pressed.erase(virtualKey) > 0;
    return pressed || isDown(virtualKey);
}

void QtKeyState::setToggled(uint16_t virtualKey, bool on) {
    if (on) {
        m_toggled.insert(virtualKey);
    } else {
        m_toggled.erase(virtualKey);
    }
}

void QtKeyState::keyEvent(const QKeyEvent& event) {
    auto code = virtualKeyCode(event.key(), event.modifiers());
    if (!code) {
        return;
    }
    if (event.type() == QEvent::KeyPress) {
        if (!event.isAutoRepeat()) {
            m_pressed.insert(*code);
            if (*code == platform::kKeyCapsLock || *code == platform::kKeyNumLock ||
                *code == platform::kKeyScrollLock) {
                setToggled(*code, !isToggled(*code));
            }
        }
        m_down.insert(*code);
    } else if (event.type() == QEvent::KeyRelease && !event.isAutoRepeat()) {
        m_down.erase(*code);
    }
}

} // namespace vexa::ui
