// The sound port over the desktop's beep.
#pragma once

#include "platform/Sound.h"

namespace vexa::ui {

class QtSoundPlayer final : public platform::SoundPlayer {
public:
    void beep(platform::SoundKind kind) override;
    int count() const { return m_count; }

private:
    int m_count = 0;
};

} // namespace vexa::ui
