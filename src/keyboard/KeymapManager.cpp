// The keymap manager's buttons, their enabling rules, messages and confirmations.
#include "keyboard/KeymapManager.h"

#include <algorithm>

#include "frame/Frame.h"
#include "keyboard/BindingEditor.h"
#include "keyboard/DefaultKeymap.h"
#include "keyboard/KeymapFile.h"
#include "keyboard/KeymapStore.h"
#include "settings/Format.h"
#include "settings/Options.h"

namespace vexa {

namespace {

constexpr std::string_view kOptionsSection = "Editor Options";
constexpr std::string_view kKeymapKey = "Keymap";

} // namespace

// Two names stand for the same keymap when they lead to the same file.
bool KeymapManager::sameKeymap(std::string_view a, std::string_view b) const {
    if (a == kDefaultKeymapName || b == kDefaultKeymapName) {
        return a == b;
    }
    const std::optional<std::string> fileA = m_store.filePath(a);
    return fileA && fileA == m_store.filePath(b);
}

KeymapManager::KeymapManager(Options& options, Frame& frame, KeymapStore& store,
                             const PrefixKeyList& prefixes, KeymapManagerHost& host)
    : m_options(options), m_frame(frame), m_store(store), m_prefixes(prefixes), m_host(host) {
    refill();
    const std::string current = currentKeymap();
    for (std::size_t index = 0; index < m_names.size(); ++index) {
        if (sameKeymap(m_names[index], current)) {
            m_selection = index;
            break;
        }
    }
}

std::string KeymapManager::currentKeymap() const {
    return m_options.keymapName();
}

void KeymapManager::refill() {
    m_names.clear();
    m_names.emplace_back(kDefaultKeymapName);
    for (std::string& name : m_store.listNames()) {
        m_names.push_back(std::move(name));
    }
    m_selection.reset();
}

void KeymapManager::select(std::optional<std::size_t> index) {
    if (index && *index >= m_names.size()) {
        return;
    }
    m_selection = index;
}

std::optional<std::string> KeymapManager::selectedName() const {
    if (!m_selection) {
        return std::nullopt;
    }
    return m_names[*m_selection];
}

void KeymapManager::addAndSelect(const std::string& listName) {
    auto found = std::find(m_names.begin(), m_names.end(), listName);
    if (found == m_names.end()) {
        m_names.push_back(listName);
        found = m_names.end() - 1;
    }
    m_selection = static_cast<std::size_t>(found - m_names.begin());
}

void KeymapManager::setCurrentKeymap(const std::string& name) {
    m_options.editor().keymap = name;
    // Written now as well as at exit, so the choice survives an abnormal end.
    (void)m_options.settingsFile().putString(kOptionsSection, kKeymapKey, name);
}

void KeymapManager::newKeymap() {
    if (!newEnabled()) {
        return;
    }
    // The name becomes a file name in the configuration directory, so it must be one.
    const std::optional<std::string> listName = keymapFileBaseName(m_newName);
    if (m_newName.find(' ') != std::string::npos || !listName) {
        m_frame.status(kBadKeymapNameMessage, platform::SoundKind::Exclamation);
        return;
    }
    if (m_store.fileExists(m_newName)) {
        const std::string question = formatText(kReplaceKeymapFormat, listName->c_str());
        if (m_frame.ask(question, "New Keymap") != Answer::Yes) {
            return;
        }
    }
    const bool useDefaults = m_frame.ask(kUseDefaultsQuestion, "New Keymap") == Answer::Yes;
    BindingEditor editor(useDefaults ? Keymap::makeDefault() : Keymap(), m_newName, KeymapEditMode::New,
                         useDefaults ? StartsChanged::Yes : StartsChanged::No, m_prefixes, m_store, m_frame);
    m_host.runBindingEditor(editor);
    const bool hadChanges = editor.isChanged();
    if (editor.close() && hadChanges) {
        addAndSelect(*listName);
    }
}

void KeymapManager::editKeymap() {
    const std::optional<std::string> name = selectedName();
    if (!name) {
        return;
    }
    if (*name == kDefaultKeymapName) {
        m_frame.status(kCannotEditDefaultMessage, platform::SoundKind::Exclamation);
        return;
    }
    Keymap keymap;
    if (!m_store.load(keymap, *name)) {
        m_frame.status(kAccessDeniedMessage, platform::SoundKind::Exclamation);
        return;
    }
    BindingEditor editor(std::move(keymap), *name, KeymapEditMode::Edit, StartsChanged::No, m_prefixes,
                         m_store, m_frame);
    m_host.runBindingEditor(editor);
    (void)editor.close();
}

void KeymapManager::deleteKeymap() {
    const std::optional<std::string> name = selectedName();
    if (!name) {
        return;
    }
    if (*name == kDefaultKeymapName) {
        m_frame.status(kCannotDeleteDefaultMessage, platform::SoundKind::Exclamation);
        return;
    }
    if (!m_store.remove(*name)) {
        m_frame.status(kAccessDeniedMessage, platform::SoundKind::Exclamation);
        return;
    }
    refill();
    if (sameKeymap(*name, currentKeymap())) {
        setCurrentKeymap(std::string(kDefaultKeymapName));
        m_host.activateKeymap(std::make_unique<Keymap>(Keymap::makeDefault()));
        m_selection = 0;
    }
}

void KeymapManager::importKeymap() {
    if (!importEnabled()) {
        return;
    }
    m_frame.status(formatText(kSelectFileFormat, "keymap", "imported."), platform::SoundKind::None);
    FileDialogRequest request;
    request.title = std::string(kImportTitle);
    request.initialDirectory = m_store.directory();
    request.filters = {{"Keymap Files (*.key)", "*.key"}, {"All Files (*.*)", "*.*"}};
    const std::vector<std::string> chosen = m_frame.chooseFilesToOpen(request);
    if (chosen.empty()) {
        return;
    }
    if (m_store.importKeymap(chosen.front(), m_newName) != ImportResult::Imported) {
        return;
    }
    if (const std::optional<std::string> listName = keymapFileBaseName(m_newName)) {
        addAndSelect(*listName);
    }
    m_newName.clear();
    m_frame.status(kImportCompleteMessage, platform::SoundKind::Information);
}

void KeymapManager::exportKeymap() {
    if (const std::optional<std::string> name = selectedName()) {
        (void)m_store.exportKeymap(*name);
    }
}

void KeymapManager::confirm() {
    if (const std::optional<std::string> name = selectedName()) {
        setCurrentKeymap(*name);
    }
    close();
}

void KeymapManager::close() {
    m_host.activateKeymap(createConfiguredKeymap(m_store, m_options));
}

} // namespace vexa
