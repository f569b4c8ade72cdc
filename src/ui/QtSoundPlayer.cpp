// The sound port over the desktop's beep.
#include "ui/QtSoundPlayer.h"

#include <QApplication>

namespace vexa::ui {

void QtSoundPlayer::beep(platform::SoundKind kind) {
    (void)kind; // the desktop has one beep for every kind
    ++m_count;
    QApplication::beep();
}

} // namespace vexa::ui
