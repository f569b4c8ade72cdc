// The application-wide holder of the default profile, the profile cache and the colour table.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/ColourTable.h"
#include "syntax/SyntaxProfile.h"

namespace vexa {
class Messenger;
class SettingsFile;
} // namespace vexa

namespace vexa::syntax {

// Profiles are shared: every pane showing a file of one extension holds the same profile. A pane
// keeps its profile alive, so forgetting an extension while a pane still paints with the old
// profile is safe; the pane takes the new one when it selects its profile again.
class SyntaxSettings {
public:
    // configDirectory holds the profile files; the colour table is read from settings (when
    // given) now and written back to it on destruction. Load failures are shown through the
    // messenger.
    SyntaxSettings(std::string configDirectory, Messenger& messenger, SettingsFile* settings = nullptr);
    ~SyntaxSettings();
    SyntaxSettings(const SyntaxSettings&) = delete;
    SyntaxSettings& operator=(const SyntaxSettings&) = delete;

    // The cached profile of an extension, a freshly loaded one, or the default profile.
    std::shared_ptr<SyntaxProfile> lookup(std::string_view extension);
    // The profile for a file name, by the text after its last dot.
    std::shared_ptr<SyntaxProfile> profileForFile(std::string_view fileName) {
        return lookup(extensionOfFile(fileName));
    }
    // Drops the cached profile of an extension so that the next lookup reads its file again.
    void forget(std::string_view extension);

    const std::shared_ptr<SyntaxProfile>& defaultProfile() const { return m_default; }
    std::size_t cachedCount() const { return m_cache.size(); }
    ColourTable& colours() { return m_colours; }
    const ColourTable& colours() const { return m_colours; }
    const std::string& configDirectory() const { return m_configDirectory; }

    // Writes the colour table to the settings file; false when that failed or there is none.
    [[nodiscard]] bool saveColours();

    // The text after the last dot of the file name (its directories ignored); empty without one.
    static std::string_view extensionOfFile(std::string_view fileName);

private:
    std::string m_configDirectory;
    Messenger& m_messenger;
    SettingsFile* m_settings;
    ColourTable m_colours;
    std::shared_ptr<SyntaxProfile> m_default;
    std::vector<std::shared_ptr<SyntaxProfile>> m_cache;
};

} // namespace vexa::syntax
