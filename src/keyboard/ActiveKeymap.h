// The active keymap and the view of its flags that documents consult.
#pragma once

#include <memory>

#include "core/LanguageRules.h"
#include "keyboard/Keymap.h"

namespace vexa {

// What documents read of the active keymap: whether Shift marking is allowed, which lets a plain
// cursor move remove any existing mark. One object serves every document and follows each
// activation, so documents never hold a keymap that was replaced.
class KeymapCuaRule final : public CuaMarkingRule {
public:
    bool cuaMarkingAllowed() const override { return m_flags.allowShiftMarking != 0; }
    const KeymapFlags& flags() const { return m_flags; }
    void publish(const KeymapFlags& flags) { m_flags = flags; }

private:
    KeymapFlags m_flags;
};

// Owns the one active keymap; replacing it destroys the old one and publishes the new flags.
class ActiveKeymap {
public:
    ActiveKeymap();

    Keymap& keymap() { return *m_keymap; }
    const Keymap& keymap() const { return *m_keymap; }

    // Takes a new keymap; a null pointer is ignored.
    void replace(std::unique_ptr<Keymap> keymap);

    // Publishes flags changed on the active keymap itself.
    void republish() { m_rule->publish(m_keymap->flags()); }

    std::shared_ptr<const CuaMarkingRule> cuaRule() const { return m_rule; }

private:
    std::unique_ptr<Keymap> m_keymap;
    std::shared_ptr<KeymapCuaRule> m_rule;
};

} // namespace vexa
