// The registry port: string values stored under key paths, as the desktop's class registry
// keeps the default value of each key.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vexa::platform {

// Key paths use '\' between their parts ("VexaEditor\shell\open\command") and are matched
// without regard to ASCII case, as registry keys are; each key holds at most one value.
class KeyStore {
public:
    virtual ~KeyStore() = default;

    // The value of a key; nothing when the key does not exist or cannot be read.
    [[nodiscard]] virtual std::optional<std::string> readValue(std::string_view key) const = 0;

    // Sets the value of a key, creating it. False when the store could not be written.
    [[nodiscard]] virtual bool writeValue(std::string_view key, std::string_view value) = 0;

    // Removes a key and every key below it. True also when there was nothing to remove.
    [[nodiscard]] virtual bool removeKey(std::string_view key) = 0;
};

// The form under which a key path is compared: ASCII lower case.
[[nodiscard]] std::string foldedKey(std::string_view key);

// True when `key` is `parent` itself or a key below it.
[[nodiscard]] bool isKeyAtOrBelow(std::string_view key, std::string_view parent);

// A store that lives as long as the object (programs without a desktop, tests).
class MemoryKeyStore final : public KeyStore {
public:
    [[nodiscard]] std::optional<std::string> readValue(std::string_view key) const override;
    [[nodiscard]] bool writeValue(std::string_view key, std::string_view value) override;
    [[nodiscard]] bool removeKey(std::string_view key) override;

    // Makes every later write fail, as a store without permission does.
    void setWritable(bool writable) { m_writable = writable; }

private:
    std::map<std::string, std::string> m_values; // by folded key
    bool m_writable = true;
};

} // namespace vexa::platform
