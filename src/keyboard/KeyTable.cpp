// Lookup, binding and unbinding within one key table.
#include "keyboard/KeyTable.h"

#include "commands/FunctionTable.h"

namespace vexa {

const KeyBinding* KeyTable::find(KeyChord key) const {
    for (const KeyBinding& binding : m_bindings) {
        if (binding.keyCode == key.keyCode && binding.modifiers == key.modifiers &&
            binding.function != kNoFunction) {
            return &binding;
        }
    }
    return nullptr;
}

BindResult KeyTable::bind(const KeyBinding& binding) {
    for (KeyBinding& existing : m_bindings) {
        if (existing.keyCode == binding.keyCode && existing.modifiers == binding.modifiers) {
            existing.function = binding.function;
            return BindResult::Bound;
        }
    }
    return append(binding) ? BindResult::Bound : BindResult::BindingLimit;
}

bool KeyTable::unbind(KeyChord key) {
    for (std::size_t index = 0; index < m_bindings.size(); ++index) {
        if (m_bindings[index].keyCode == key.keyCode && m_bindings[index].modifiers == key.modifiers) {
            m_bindings[index] = m_bindings.back();
            m_bindings.pop_back();
            return true;
        }
    }
    return false;
}

bool KeyTable::append(const KeyBinding& binding) {
    if (m_bindings.size() >= kMaxBindings) {
        return false;
    }
    if (m_bindings.empty()) {
        m_bindings.reserve(kMaxBindings);
    }
    m_bindings.push_back(binding);
    return true;
}

} // namespace vexa
