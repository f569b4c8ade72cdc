// The key state port fed from the Qt key events the editor's widgets receive: held keys, presses
// since the last poll, and the lock keys' toggle states as their presses switch them.
#pragma once

#include <set>

#include "platform/KeyState.h"

class QKeyEvent;

namespace vexa::ui {

class QtKeyState final : public platform::KeyState {
public:
    [[nodiscard]] bool isDown(uint16_t virtualKey) const override { return m_down.contains(virtualKey); }
    [[nodiscard]] bool isToggled(uint16_t virtualKey) const override {
        return m_toggled.contains(virtualKey);
    }
    [[nodiscard]] bool wasPressed(uint16_t virtualKey) override;

    // Every key press and release a widget of the editor receives.
    void keyEvent(const QKeyEvent& event);

    // The lock states as the desktop reported them at start (Qt cannot ask for them).
    void setToggled(uint16_t virtualKey, bool on);

private:
    std::set<uint16_t> m_down;
    std::set<uint16_t> m_pressed;
    std::set<uint16_t> m_toggled;
};

} // namespace vexa::ui
