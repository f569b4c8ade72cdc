// Escape polling during a long search, with user input held back.
#include "ui/SearchKeyState.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>

#include "ui/QtKeyState.h"

namespace vexa::ui {

namespace {

// Installed on the application while the events are drained; notes whether Escape went down.
class InputHold final : public QObject {
public:
    explicit InputHold(QtKeyState& keys) : m_keys(keys) {}
    [[nodiscard]] bool escapePressed() const { return m_escapePressed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            m_keys.keyEvent(key);
            if (event->type() == QEvent::KeyPress && key.key() == Qt::Key_Escape) {
                m_escapePressed = true;
            }
            return true;
        }
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    QtKeyState& m_keys;
    bool m_escapePressed = false;
};

} // namespace

bool SearchKeyState::isDown(uint16_t virtualKey) const {
    return m_keys.isDown(virtualKey);
}

bool SearchKeyState::isToggled(uint16_t virtualKey) const {
    return m_keys.isToggled(virtualKey);
}

bool SearchKeyState::wasPressed(uint16_t virtualKey) {
    QCoreApplication* application = QCoreApplication::instance();
    if (virtualKey != platform::kKeyEscape || application == nullptr) {
        return m_keys.wasPressed(virtualKey);
    }
    InputHold hold(m_keys);
    application->installEventFilter(&hold);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    application->removeEventFilter(&hold);
    return hold.escapePressed();
}

} // namespace vexa::ui
