// The settings file on disk: whole-file reads and atomic rewrites.
#include "settings/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/AtomicFile.h"

namespace vexa {

SettingsLoad SettingsFile::load(SettingsText& text) const {
    text = SettingsText();
    errno = 0;
    std::FILE* file = std::fopen(m_path.c_str(), "rb");
    if (file == nullptr) {
        int error = errno;
        m_error = std::strerror(error != 0 ? error : ENOENT);
        return error == ENOENT ? SettingsLoad::Missing : SettingsLoad::Unreadable;
    }
    std::string bytes;
    char buffer[8192];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
    }
    bool failed = std::ferror(file) != 0;
    int error = errno;
    std::fclose(file);
    if (failed) {
        m_error = std::strerror(error != 0 ? error : EIO);
        return SettingsLoad::Unreadable;
    }
    text = SettingsText::parse(bytes);
    return SettingsLoad::Read;
}

SettingsText SettingsFile::read() const {
    SettingsText text;
    (void)load(text);
    return text;
}

std::string SettingsFile::getString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, size_t size) const {
    return read().getString(section, key, defaultValue, size);
}

int SettingsFile::getInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return read().getInteger(section, key, defaultValue);
}

bool SettingsFile::putString(std::string_view section, std::string_view key, std::string_view value) {
    return update([&](SettingsText& text) { return text.putString(section, key, value); });
}

bool SettingsFile::putInteger(std::string_view section, std::string_view key, int value) {
    return update([&](SettingsText& text) { return text.putInteger(section, key, value); });
}

bool SettingsFile::update(const std::function<bool(SettingsText&)>& change) {
    m_error.clear();
    SettingsText text;
    if (load(text) == SettingsLoad::Unreadable) {
        return false;
    }
    m_error.clear();
    if (!change(text)) {
        m_error = "The setting cannot be written.";
        return false;
    }
    std::string error;
    if (!platform::writeFileAtomically(m_path, text.serialize(), &error)) {
        m_error = error;
        return false;
    }
    return true;
}

} // namespace vexa
