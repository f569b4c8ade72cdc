// The registry port on POSIX: a small text file of key paths and values.
#pragma once

#include <map>
#include <string>

#include "platform/KeyStore.h"

namespace vexa::platform {

// Every read looks at the file afresh, for another process (a second editor handing over a
// file) may have changed it. A change reads, edits and atomically rewrites the whole file
// while holding an exclusive lock on a lock file beside it, so two writers never lose each
// other's keys. Lines that cannot be parsed are skipped and dropped at the next write.
class FileKeyStore final : public KeyStore {
public:
    explicit FileKeyStore(std::string path) : m_path(std::move(path)) {}

    [[nodiscard]] std::optional<std::string> readValue(std::string_view key) const override;
    [[nodiscard]] bool writeValue(std::string_view key, std::string_view value) override;
    [[nodiscard]] bool removeKey(std::string_view key) override;

    const std::string& path() const { return m_path; }

    // One entry of the file, and its parsing; exposed for tests of the format.
    [[nodiscard]] static std::string formatLine(std::string_view key, std::string_view value);
    [[nodiscard]] static bool parseLine(std::string_view line, std::string& key, std::string& value);

private:
    struct Entry {
        std::string key; // as first written
        std::string value;
    };
    using Entries = std::map<std::string, Entry>; // by folded key

    // Nothing when the file exists but cannot be read.
    [[nodiscard]] std::optional<Entries> load() const;
    [[nodiscard]] bool save(const Entries& entries) const;

    std::string m_path;
};

} // namespace vexa::platform
