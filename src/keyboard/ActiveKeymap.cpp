// The active keymap and its published flags.
#include "keyboard/ActiveKeymap.h"

namespace vexa {

ActiveKeymap::ActiveKeymap()
    : m_keymap(std::make_unique<Keymap>(Keymap::makeDefault())), m_rule(std::make_shared<KeymapCuaRule>()) {
    m_rule->publish(m_keymap->flags());
}

void ActiveKeymap::replace(std::unique_ptr<Keymap> keymap) {
    if (!keymap) {
        return;
    }
    m_keymap = std::move(keymap);
    m_rule->publish(m_keymap->flags());
}

} // namespace vexa
