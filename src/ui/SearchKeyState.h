// The key state a long search polls for Escape. Before it answers, the interface handles its
// pending events (painting, timers) with user input kept from the widgets: key presses and
// releases only update the key state, and mouse, wheel and close requests are dropped while the
// search runs, so nothing can change or close a document the search is reading.
#pragma once

#include <cstdint>

#include "platform/KeyState.h"

namespace vexa::ui {

class QtKeyState;

class SearchKeyState final : public platform::KeyState {
public:
    explicit SearchKeyState(QtKeyState& keys) : m_keys(keys) {}

    [[nodiscard]] bool isDown(uint16_t virtualKey) const override;
    [[nodiscard]] bool isToggled(uint16_t virtualKey) const override;
    // For Escape: drains the pending events as described above and tells whether Escape was
    // pressed among them, so a press from before the search never ends it. Other keys are asked
    // of the editor's key state without draining.
    [[nodiscard]] bool wasPressed(uint16_t virtualKey) override;

private:
    QtKeyState& m_keys;
};

} // namespace vexa::ui
