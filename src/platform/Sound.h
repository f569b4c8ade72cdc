// The sound port: the message beeps of the desktop.
#pragma once

#include <cstdint>

namespace vexa::platform {

// The sound kinds that go with status messages; the values are the desktop's beep kinds.
enum class SoundKind : uint32_t {
    None = 0,
    Error = 0x10,
    Question = 0x20,
    Exclamation = 0x30,
    Information = 0x40,
};

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void beep(SoundKind kind) = 0;
};

// A player for programs without a window: it only counts what was asked of it.
class SilentSoundPlayer final : public SoundPlayer {
public:
    void beep(SoundKind kind) override {
        ++m_count;
        m_last = kind;
    }
    int count() const { return m_count; }
    SoundKind last() const { return m_last; }

private:
    int m_count = 0;
    SoundKind m_last = SoundKind::None;
};

} // namespace vexa::platform
