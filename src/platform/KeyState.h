// The key state port: whether keys are held, lock keys' toggle states, and Escape polling.
#pragma once

#include <cstdint>
#include <set>

namespace vexa::platform {

// The virtual-key codes the behaviour asks about.
inline constexpr uint16_t kKeyShift = 0x10;
inline constexpr uint16_t kKeyControl = 0x11;
inline constexpr uint16_t kKeyAlt = 0x12;
inline constexpr uint16_t kKeyCapsLock = 0x14;
inline constexpr uint16_t kKeyEscape = 0x1B;
inline constexpr uint16_t kKeyNumLock = 0x90;
inline constexpr uint16_t kKeyScrollLock = 0x91;

class KeyState {
public:
    virtual ~KeyState() = default;

    // Whether the key is held down now.
    [[nodiscard]] virtual bool isDown(uint16_t virtualKey) const = 0;

    // Whether a lock key (Caps, Num, Scroll Lock) is switched on.
    [[nodiscard]] virtual bool isToggled(uint16_t virtualKey) const = 0;

    // Whether the key is down now or was pressed since the last time this was asked for it;
    // asking forgets the earlier press. A long operation polls Escape this way, after
    // draining pending events so that the press has been seen.
    [[nodiscard]] virtual bool wasPressed(uint16_t virtualKey) = 0;
};

// The key state of a program without a window, set by its owner (or by a test).
class MemoryKeyState final : public KeyState {
public:
    [[nodiscard]] bool isDown(uint16_t virtualKey) const override { return m_down.contains(virtualKey); }
    [[nodiscard]] bool isToggled(uint16_t virtualKey) const override {
        return m_toggled.contains(virtualKey);
    }
    [[nodiscard]] bool wasPressed(uint16_t virtualKey) override {
        bool pressed = m_pressed.erase(virtualKey) > 0;
        return pressed || isDown(virtualKey);
    }

    // A key going down or up; going down also counts as a press.
    void setDown(uint16_t virtualKey, bool down) {
        if (down) {
            m_down.insert(virtualKey);
            m_pressed.insert(virtualKey);
        } else {
            m_down.erase(virtualKey);
        }
    }
    // A press and release that happened between two polls.
    void tap(uint16_t virtualKey) { m_pressed.insert(virtualKey); }
    void setToggled(uint16_t virtualKey, bool on) {
        if (on) {
            m_toggled.insert(virtualKey);
        } else {
            m_toggled.erase(virtualKey);
        }
    }

private:
    std::set<uint16_t> m_down;
    std::set<uint16_t> m_toggled;
    std::set<uint16_t> m_pressed;
};

} // namespace vexa::platform
