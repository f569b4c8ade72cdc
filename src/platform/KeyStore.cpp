// Key path folding and the in-memory key store.
#include "platform/KeyStore.h"

namespace vexa::platform {

std::string foldedKey(std::string_view key) {
    std::string folded(key);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool isKeyAtOrBelow(std::string_view key, std::string_view parent) {
    std::string k = foldedKey(key);
    std::string p = foldedKey(parent);
    return k == p || (k.size() > p.size() && k.compare(0, p.size(), p) == 0 && k[p.size()] == '\\');
}

std::optional<std::string> MemoryKeyStore::readValue(std::string_view key) const {
    auto it = m_values.find(foldedKey(key));
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool MemoryKeyStore::writeValue(std::string_view key, std::string_view value) {
    if (!m_writable || key.empty()) {
        return false;
    }
    m_values[foldedKey(key)] = std::string(value);
    return true;
}

bool MemoryKeyStore::removeKey(std::string_view key) {
    if (!m_writable) {
        return false;
    }
    std::erase_if(m_values, [key](const auto& entry) { return isKeyAtOrBelow(entry.first, key); });
    return true;
}

} // namespace vexa::platform
