// Keymap lookup with prefix arming, binding and unbinding, and the key texts of functions.
#include "keyboard/Keymap.h"

#include "keyboard/DefaultKeymap.h"
#include "keyboard/PrefixKeyList.h"

namespace vexa {

Keymap Keymap::makeDefault() {
    Keymap keymap;
    KeyTable primary;
    for (const KeyBinding& binding : defaultKeyBindings()) {
        if (!primary.append(binding)) {
            break;
        }
    }
    keymap.m_tables.push_back(std::move(primary));
    return keymap;
}

const KeyTable* Keymap::tableOf(KeyChord prefix) const {
    for (const KeyTable& table : m_tables) {
        if (table.prefix() == prefix) {
            return &table;
        }
    }
    return nullptr;
}

FunctionId Keymap::lookup(KeyChord key) {
    if (m_tables.empty()) {
        return kNoFunction;
    }
    if (m_prefixState == 0) {
        // Slot 0 is the primary table whatever a file says its prefix is: arming it would leave
        // the state at 0 and the keymap could never leave the prefix step.
        std::optional<uint32_t> armed;
        for (std::size_t slot = 1; slot < m_tables.size(); ++slot) {
            if (m_tables[slot].prefix() == key) {
                armed = static_cast<uint32_t>(slot); // the last match wins
            }
        }
        if (armed) {
            m_prefixState = *armed;
            return kPrefixAccepted;
        }
    }
    if (m_prefixState >= m_tables.size()) {
        return kNoFunction;
    }
    const KeyBinding* binding = m_tables[m_prefixState].find(key);
    return binding != nullptr ? binding->function : kNoFunction;
}

bool Keymap::isPrefixKey(KeyChord key) const {
    return tableOf(key) != nullptr;
}

FunctionId Keymap::lookupInTable(KeyChord prefix, KeyChord key) const {
    const KeyTable* table = tableOf(prefix);
    if (table == nullptr) {
        return kNoFunction;
    }
    const KeyBinding* binding = table->find(key);
    return binding != nullptr ? binding->function : kNoFunction;
}

BindResult Keymap::bind(KeyChord prefix, const KeyBinding& binding) {
    for (KeyTable& table : m_tables) {
        if (table.prefix() == prefix) {
            return table.bind(binding);
        }
    }
    // The first table must be the primary one, so a first binding under a prefix key brings
    // the primary table with it.
    const std::size_t needed = (m_tables.empty() && !(prefix == kNoPrefix)) ? 2 : 1;
    if (m_tables.size() + needed > kMaxTables) {
        return BindResult::TableLimit;
    }
    if (needed == 2) {
        m_tables.emplace_back(kNoPrefix);
    }
    m_tables.emplace_back(prefix);
    return m_tables.back().bind(binding);
}

bool Keymap::unbind(KeyChord prefix, KeyChord key) {
    for (KeyTable& table : m_tables) {
        if (table.prefix() == prefix) {
            return table.unbind(key);
        }
    }
    return false;
}

bool Keymap::appendTable(KeyTable table) {
    if (m_tables.size() >= kMaxTables) {
        return false;
    }
    m_tables.push_back(std::move(table));
    return true;
}

std::string Keymap::keyTextFor(FunctionId function, const PrefixKeyList& prefixes,
                               LayoutCharacter layout) const {
    for (const KeyTable& table : m_tables) {
        for (const KeyBinding& binding : table.bindings()) {
            if (binding.function != function) {
                continue;
            }
            const std::optional<std::string> name = keyName(binding.keyCode, binding.modifiers, layout);
            if (!name) {
                return {};
            }
            std::string text = "\t";
            const KeyChord prefix = table.prefix();
            if (prefix.keyCode != 0 && prefix.modifiers != 0) {
                if (const PrefixKey* named = prefixes.find(prefix)) {
                    text += named->name;
                    text += ' ';
                }
            }
            text += *name;
            return text;
        }
    }
    return {};
}

} // namespace vexa
