// One table of key bindings: the primary table or the table reached through one prefix key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "keyboard/KeyBinding.h"

namespace vexa {

// A key code with its modifier set; the primary table's prefix is the pair (0, 0).
struct KeyChord {
    uint16_t keyCode = 0;
    uint16_t modifiers = 0;

    friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

inline constexpr KeyChord kNoPrefix{0, 0};

enum class BindResult : uint8_t { Bound, TableLimit, BindingLimit };

class KeyTable {
public:
    // The most bindings one table holds; a keymap file carries no more per table.
    static constexpr std::size_t kMaxBindings = 500;

    explicit KeyTable(KeyChord prefix = kNoPrefix) : m_prefix(prefix) {}

    KeyChord prefix() const { return m_prefix; }
    std::span<const KeyBinding> bindings() const { return m_bindings; }
    std::size_t size() const { return m_bindings.size(); }

    // The first binding of the key whose function is not "no function"; nullptr when none.
    const KeyBinding* find(KeyChord key) const;

    // Overwrites the binding of the same key, otherwise appends while fewer than 500 are held.
    BindResult bind(const KeyBinding& binding);

    // Removes the key's first binding by moving the last binding into its place, so the stored
    // order of the others changes; false when the key is not bound here.
    bool unbind(KeyChord key);

    // Appends without looking for the same key, as a file's bindings are taken; false at the limit.
    bool append(const KeyBinding& binding);

private:
    KeyChord m_prefix;
    std::vector<KeyBinding> m_bindings;
};

} // namespace vexa
