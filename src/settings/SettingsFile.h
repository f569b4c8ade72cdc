// The settings file: sections and keys of the editor's private-profile text file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "settings/SettingsText.h"

namespace vexa {

enum class SettingsLoad : uint8_t { Read, Missing, Unreadable };

// Every get reads the file afresh and every put replaces it atomically, so a failed write leaves
// the previous file whole. Several changes at once go through update(), which writes once.
class SettingsFile {
public:
    explicit SettingsFile(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }

    // The current text; a missing or unreadable file gives an empty one.
    SettingsText read() const;
    SettingsLoad load(SettingsText& text) const;

    std::string getString(std::string_view section, std::string_view key, std::string_view defaultValue,
                          size_t size) const;
    int getInteger(std::string_view section, std::string_view key, int defaultValue) const;

    [[nodiscard]] bool putString(std::string_view section, std::string_view key, std::string_view value);
    [[nodiscard]] bool putInteger(std::string_view section, std::string_view key, int value);

    // Reads the file, lets the change edit it and writes it back once. False when the file
    // exists but cannot be read (writing then would lose its other settings), when the change
    // reports failure or when the write fails.
    [[nodiscard]] bool update(const std::function<bool(SettingsText&)>& change);

    // The system's text for the last failure.
    const std::string& errorText() const { return m_error; }

private:
    std::string m_path;
    mutable std::string m_error;
};

} // namespace vexa
