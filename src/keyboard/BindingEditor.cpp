// The binding editor's rules: flags, the lookup of the entered key, key capture, update and remove.
#include "keyboard/BindingEditor.h"

#include "commands/FunctionTable.h"
#include "keyboard/KeymapStore.h"
#include "keyboard/PrefixKeyList.h"
#include "settings/Format.h"

namespace vexa {

namespace {

constexpr uint16_t kVirtualKeyTab = 0x09;
constexpr uint16_t kVirtualKeyControl = 0x11;
constexpr uint16_t kVirtualKeyMenu = 0x12;

uint16_t KeymapFlags::*flagMember(KeymapFlag which) {
    switch (which) {
    case KeymapFlag::KeyPressRemovesMark:
        return &KeymapFlags::keyPressRemovesMark;
    case KeymapFlag::CutCopyRemovesMark:
        return &KeymapFlags::cutCopyRemovesMark;
    case KeymapFlag::AllowShiftMarking:
        break;
    }
    return &KeymapFlags::allowShiftMarking;
}

} // namespace

BindingEditor::BindingEditor(Keymap keymap, std::string name, KeymapEditMode mode,
                             StartsChanged startsChanged, const PrefixKeyList& prefixes, KeymapStore& store,
                             Messenger& messenger)
    : m_keymap(std::move(keymap)), m_name(std::move(name)), m_mode(mode),
      m_changed(startsChanged == StartsChanged::Yes), m_prefixes(prefixes), m_store(store),
      m_messenger(messenger) {
    for (const EditorFunction* function : FunctionTable::standard().offered()) {
        m_functionNames.push_back(function->name);
        m_functionIds.push_back(function->id);
    }
}

std::string_view BindingEditor::title() const {
    return m_mode == KeymapEditMode::New ? "New Keymap" : "Edit Keymap";
}

std::vector<std::string> BindingEditor::prefixNames() const {
    std::vector<std::string> names;
    for (const PrefixKey& entry : m_prefixes.entries()) {
        names.push_back(entry.name);
    }
    return names;
}

bool BindingEditor::flag(KeymapFlag which) const {
    return m_keymap.flags().*flagMember(which) != 0;
}

void BindingEditor::setFlag(KeymapFlag which, bool on) {
    m_keymap.flags().*flagMember(which) = on ? 1 : 0;
    m_changed = true;
}

uint16_t BindingEditor::modifiers() const {
    return static_cast<uint16_t>((m_shift ? kModifierShift : 0) | (m_control ? kModifierCtrl : 0) |
                                 (m_alt ? kModifierAlt : 0));
}

void BindingEditor::selectPrefix(std::size_t index) {
    if (index >= m_prefixes.size()) {
        return;
    }
    m_prefix = index;
    combinationChanged();
}

void BindingEditor::selectKeyRow(std::optional<std::size_t> row) {
    if (row && *row >= keyNameTable().size()) {
        return;
    }
    m_keyRow = row;
    combinationChanged();
}

void BindingEditor::setAlt(bool on) {
    m_alt = on;
    combinationChanged();
}

void BindingEditor::setShift(bool on) {
    m_shift = on;
    combinationChanged();
}

void BindingEditor::setControl(bool on) {
    m_control = on;
    combinationChanged();
}

void BindingEditor::selectFunction(std::optional<std::size_t> index) {
    if (index && *index >= m_functionIds.size()) {
        return;
    }
    m_function = index;
}

std::optional<KeyChord> BindingEditor::enteredKey() const {
    if (!m_keyRow) {
        return std::nullopt;
    }
    return KeyChord{keyNameTable()[*m_keyRow].keyCode, modifiers()};
}

KeyChord BindingEditor::selectedPrefix() const {
    return m_prefixes.entries()[m_prefix].key;
}

void BindingEditor::report(std::string_view text, platform::SoundKind sound) {
    m_messenger.status(text, sound);
}

void BindingEditor::combinationChanged() {
    const Combination now{m_prefix, m_keyRow, modifiers()};
    if (m_lastCombination == now) {
        return;
    }
    m_lastCombination = now;
    const std::optional<KeyChord> key = enteredKey();
    if (!key) {
        return;
    }
    const FunctionId bound = m_keymap.lookupInTable(selectedPrefix(), *key);
    m_function.reset();
    for (std::size_t index = 0; index < m_functionIds.size(); ++index) {
        if (m_functionIds[index] == bound) {
            m_function = index;
            break;
        }
    }
    if (m_function) {
        report(kLocatedMessage, platform::SoundKind::Information);
    } else {
        report(kNotBoundMessage, platform::SoundKind::Information);
    }
}

bool BindingEditor::captureKey(const KeyPress& press) {
    if (press.direction != KeyDirection::Down) {
        return false;
    }
    if (press.keyCode == kVirtualKeyTab || press.keyCode == kVirtualKeyShift ||
        press.keyCode == kVirtualKeyControl || press.keyCode == kVirtualKeyMenu) {
        return false;
    }
    if (m_lastCapture && m_lastCapture->keyCode == press.keyCode &&
        m_lastCapture->modifiers == press.modifiers) {
        return true;
    }
    std::optional<std::size_t> row;
    const std::span<const KeyName> rows = keyNameTable();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (rows[index].keyCode == press.keyCode) {
            row = index;
            break;
        }
    }
    if (!row) {
        return true;
    }
    m_lastCapture = press;
    m_keyRow = row;
    m_alt = (press.modifiers & kModifierAlt) != 0;
    m_shift = (press.modifiers & kModifierShift) != 0;
    m_control = (press.modifiers & kModifierCtrl) != 0;
    combinationChanged();
    return true;
}

void BindingEditor::update() {
    const std::optional<KeyChord> key = enteredKey();
    if (!key) {
        report(kNoKeyMessage, platform::SoundKind::Exclamation);
        return;
    }
    const KeyChord prefix = selectedPrefix();
    if (m_prefix != 0 && m_keymap.lookupInTable(kNoPrefix, prefix) != kNoFunction) {
        report(kPrimaryKeyMessage, platform::SoundKind::Exclamation);
        return;
    }
    if (!m_function) {
        report(kBindErrorMessage, platform::SoundKind::Exclamation);
        return;
    }
    const FunctionId function = m_functionIds[*m_function];
    if (m_keymap.bind(prefix, {key->keyCode, key->modifiers, function}) != BindResult::Bound) {
        report(kBindErrorMessage, platform::SoundKind::Exclamation);
        return;
    }
    m_changed = true;
    const std::string name(m_functionNames[*m_function]);
    report(formatText(kBoundFormat, name.c_str()), platform::SoundKind::Information);
}

void BindingEditor::remove() {
    const std::optional<KeyChord> key = enteredKey();
    if (!key || !m_keymap.unbind(selectedPrefix(), *key)) {
        report(kNoKeyMessage, platform::SoundKind::Exclamation);
        return;
    }
    // A removal is an edit like a binding: without this it would be lost on closing.
    m_changed = true;
    m_keyRow.reset();
    m_function.reset();
    m_lastCombination.reset();
    report(kRemovedMessage, platform::SoundKind::Information);
}

bool BindingEditor::close() {
    if (!m_changed) {
        return true;
    }
    if (!m_store.save(m_keymap, m_name)) {
        report(kAccessDeniedMessage, platform::SoundKind::Exclamation);
        return false;
    }
    m_changed = false;
    return true;
}

} // namespace vexa
