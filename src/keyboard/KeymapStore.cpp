// Keymap files of the configuration directory and the activation of the configured keymap.
#include "keyboard/KeymapStore.h"

#include "keyboard/DefaultKeymap.h"
#include "keyboard/KeyboardTextFile.h"
#include "keyboard/KeymapFile.h"
#include "keyboard/KeymapText.h"
#include "platform/AtomicFile.h"
#include "platform/Files.h"
#include "settings/Format.h"
#include "settings/InfoFile.h"
#include "settings/Options.h"

namespace vexa {

namespace {

// Characters a file name may not hold on the desktop the keymaps come from; the default keymap's
// name holds two of them, so it cannot be exported under its own name.
constexpr std::string_view kForbiddenFileNameCharacters = "<>:\"/\\|?*";

bool isUsableFileName(std::string_view name) {
    return !name.empty() && name.find_first_of(kForbiddenFileNameCharacters) == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace

std::unique_ptr<Keymap> KeymapStore::create(std::string_view name) {
    if (name == kDefaultKeymapName) {
        return std::make_unique<Keymap>(Keymap::makeDefault());
    }
    auto keymap = std::make_unique<Keymap>();
    (void)load(*keymap, name);
    return keymap;
}

bool KeymapStore::load(Keymap& keymap, std::string_view name) {
    const std::string shown(name);
    const std::optional<std::string> path = filePath(name);
    if (!path) {
        keymap = Keymap();
        keymap.setValid(false);
        m_messenger.messageBox(infoOpenErrorMessage(shown));
        return false;
    }
    KeymapFileStatus status = KeymapFileStatus::OpenFailed;
    {
        BusyCursor busy(m_messenger);
        status = loadKeymapFile(*path, keymap);
    }
    switch (status) {
    case KeymapFileStatus::Ok:
        return true;
    case KeymapFileStatus::OpenFailed:
        m_messenger.messageBox(infoOpenErrorMessage(shown));
        break;
    case KeymapFileStatus::UnknownFormat:
        m_messenger.messageBox(infoUnknownFormatMessage(shown));
        break;
    case KeymapFileStatus::TooNew:
        m_messenger.messageBox(formatText(kKeymapTooNewFormat, shown.c_str()));
        break;
    case KeymapFileStatus::CreateFailed:
        break;
    }
    return false;
}

bool KeymapStore::save(const Keymap& keymap, std::string_view name) {
    const std::optional<std::string> path = filePath(name);
    KeymapFileStatus status = KeymapFileStatus::CreateFailed;
    if (path) {
        BusyCursor busy(m_messenger);
        status = saveKeymapFile(*path, keymap);
    }
    if (status != KeymapFileStatus::Ok) {
        m_messenger.messageBox(infoCreateErrorMessage(std::string(name)));
        return false;
    }
    return true;
}

std::vector<std::string> KeymapStore::listNames() const {
    std::vector<std::string> names;
    for (const platform::FoundFile& file :
         platform::findFiles(m_directory + "*" + std::string(kKeymapFileExtension))) {
        const std::string_view base =
            std::string_view(file.name).substr(0, file.name.size() - kKeymapFileExtension.size());
        if (!base.empty()) {
            names.push_back(keymapListName(base));
        }
    }
    return names;
}

std::optional<std::string> KeymapStore::filePath(std::string_view name) const {
    if (name == kDefaultKeymapName) {
        return std::nullopt;
    }
    std::optional<std::string> listed;
    for (const platform::FoundFile& file :
         platform::findFiles(m_directory + "*" + std::string(kKeymapFileExtension))) {
        const std::string_view base =
            std::string_view(file.name).substr(0, file.name.size() - kKeymapFileExtension.size());
        if (base.empty() || keymapListName(base) != name) {
            continue;
        }
        // Two files may show the same list name ("mine.BND", "MINE.BND"): the one spelt as
        // the name wins, otherwise the first in order.
        if (base == name) {
            return m_directory + file.name;
        }
        if (!listed) {
            listed = m_directory + file.name;
        }
    }
    if (listed) {
        return listed;
    }
    return keymapFilePath(m_directory, name);
}

bool KeymapStore::fileExists(std::string_view name) const {
    const std::optional<std::string> path = filePath(name);
    return path && platform::fileInfo(*path).has_value();
}

bool KeymapStore::remove(std::string_view name) {
    const std::optional<std::string> path = filePath(name);
    return path && platform::removeFile(*path);
}

bool KeymapStore::exportKeymap(std::string_view name) {
    const std::unique_ptr<Keymap> keymap = create(name);
    if (!keymap->isValid()) {
        return false;
    }
    const std::string shown(name);
    if (!isUsableFileName(name) ||
        !platform::writeFileAtomically(m_directory + shown + std::string(kKeymapExportExtension),
                                       exportKeymapText(*keymap))) {
        m_messenger.status(kKeymapExportFailed, platform::SoundKind::Exclamation);
        return false;
    }
    m_messenger.status(formatText(kKeymapExportedFormat, shown.c_str()), platform::SoundKind::Information);
    return true;
}

ImportResult KeymapStore::importKeymap(const std::string& path, std::string_view name) {
    const std::optional<std::string> text = readKeyboardTextFile(path);
    if (!text) {
        return ImportResult::Unreadable;
    }
    const Keymap keymap = importKeymapText(*text);
    if (!save(keymap, name)) {
        m_messenger.status(kKeymapImportFailed, platform::SoundKind::Exclamation);
        return ImportResult::SaveFailed;
    }
    return ImportResult::Imported;
}

std::unique_ptr<Keymap> createConfiguredKeymap(KeymapStore& store, Options& options) {
    std::unique_ptr<Keymap> keymap = store.create(options.keymapName());
    if (keymap->isValid()) {
        return keymap;
    }
    options.editor().keymap = std::string(kDefaultKeymapName);
    store.messenger().status(kKeymapFallbackMessage, platform::SoundKind::Exclamation);
    return std::make_unique<Keymap>(Keymap::makeDefault());
}

} // namespace vexa
