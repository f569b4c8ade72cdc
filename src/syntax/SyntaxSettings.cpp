// The profile cache: lookup by extension, loading on first use, forgetting after a change.
#include "syntax/SyntaxSettings.h"

#include <algorithm>
#include <filesystem>

#include "core/Messenger.h"
#include "settings/SettingsFile.h"

namespace vexa::syntax {

namespace {

constexpr std::size_t kInitialCacheCapacity = 11;

} // namespace

SyntaxSettings::SyntaxSettings(std::string configDirectory, Messenger& messenger, SettingsFile* settings)
    : m_configDirectory(std::move(configDirectory)), m_messenger(messenger), m_settings(settings),
      m_default(std::make_shared<SyntaxProfile>(m_colours)) {
    m_cache.reserve(kInitialCacheCapacity);
    if (m_settings != nullptr) {
        m_colours.load(*m_settings);
    }
}

SyntaxSettings::~SyntaxSettings() = default;

bool SyntaxSettings::saveColours() {
    return m_settings != nullptr && m_colours.save(*m_settings);
}

std::string_view SyntaxSettings::extensionOfFile(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    if (slash != std::string_view::npos) {
        fileName.remove_prefix(slash + 1);
    }
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot + 1);
}

std::shared_ptr<SyntaxProfile> SyntaxSettings::lookup(std::string_view extension) {
    // Profiles are told apart by three characters, so the file name uses no more either;
    // otherwise "html" would find the HTM profile only once an .htm file had loaded it.
    extension = extension.substr(0, 3);
    // No file can define the empty extension, and one that could leave the directory is
    // never turned into a path.
    if (extension.empty() || extension.find('/') != std::string_view::npos ||
        extension.find('\0') != std::string_view::npos) {
        return m_default;
    }
    for (const auto& profile : m_cache) {
        if (profile->hasExtension(extension)) {
            return profile;
        }
    }
    const std::string path = profileFilePath(m_configDirectory, extension);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return m_default;
    }
    auto profile = std::make_shared<SyntaxProfile>(m_colours);
    const ProfileFileStatus status = profile->load(path);
    // A profile that could be read only in part is kept with what was read.
    if (const std::string message = profileFileMessage(status, path); !message.empty()) {
        m_messenger.messageBox(message);
    }
    // The file name decides which extension a profile serves; a file whose own field names
    // another would otherwise never be found in the cache and be read again on every lookup.
    if (!profile->hasExtension(extension)) {
        std::string upper(extension);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
        profile->setExtension(upper);
    }
    m_cache.push_back(profile);
    return profile;
}

void SyntaxSettings::forget(std::string_view extension) {
    const auto found = std::find_if(m_cache.begin(), m_cache.end(), [extension](const auto& profile) {
        return profile->hasExtension(extension);
    });
    if (found != m_cache.end()) {
        m_cache.erase(found);
    }
}

} // namespace vexa::syntax
