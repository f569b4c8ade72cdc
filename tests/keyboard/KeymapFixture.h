// A temporary home with its configuration directory, a recording frame and the keymap store over it.
#pragma once

#include <filesystem>
#include <string>

#include "frame/HeadlessFrame.h"
#include "keyboard/KeymapFile.h"
#include "keyboard/KeymapStore.h"
#include "settings/Directories.h"
#include "settings/InfoHeader.h"
#include "settings/Options.h"
#include "support/TempHome.h"

namespace vexa::test {

class KeymapFixture {
protected:
    KeymapFixture() { std::filesystem::create_directories(m_config); }

    std::string configFile(const std::string& name) const { return m_config + name; }

    // Saves a keymap file directly, without the store's messages.
    void saveFile(const std::string& fileName, const Keymap& keymap) const {
        ASSERT_EQ(saveKeymapFile(configFile(fileName), keymap), KeymapFileStatus::Ok);
    }

    // A keymap file with a header of another version and an empty body.
    void writeVersion(const std::string& fileName, std::string_view version) const {
        InfoHeader header = InfoHeader::forKind(kKeymapInfo);
        header.version = std::string(version);
        writeFileBytes(configFile(fileName), encodeInfoHeader(header) + std::string(8, '\0'));
    }

    TempHome m_home;
    Directories m_directories{m_home.path().string()};
    std::string m_config = m_directories.path(DirectoryKind::Config);
    Options m_options{m_directories};
    HeadlessFrame m_frame;
    KeymapStore m_store{m_config, m_frame};
};

} // namespace vexa::test
