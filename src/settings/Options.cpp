// The option table of the settings file, and the load and save that walk it.
#include "settings/Options.h"

#include "platform/Files.h"

#include <array>
#include <string_view>

#include "settings/Format.h"

namespace vexa {
namespace {

enum class Persist : uint8_t { Written, ReadOnly };

// One key of a section: an integer or a text (read into a buffer of the given size, counting
// the terminator), its default and whether the program writes it back.
template <typename Group>
struct OptionKey {
    std::string_view key;
    Persist persist;
    int Group::*number;
    int numberDefault;
    std::string Group::*text;
    std::string_view textDefault;
    size_t size;
};

template <typename Group>
constexpr OptionKey<Group> number(std::string_view key, int Group::*member, int defaultValue,
                                  Persist persist = Persist::Written) {
    return {key, persist, member, defaultValue, nullptr, {}, 0};
}

template <typename Group>
constexpr OptionKey<Group> text(std::string_view key, std::string Group::*member,
                                std::string_view defaultValue, size_t size,
                                Persist persist = Persist::Written) {
    return {key, persist, nullptr, 0, member, defaultValue, size};
}

template <typename Group, size_t Count>
struct OptionSection {
    std::string_view name;
    std::array<OptionKey<Group>, Count> keys;
};

template <typename Group, typename... Keys>
constexpr auto section(std::string_view name, Keys... keys) {
    return OptionSection<Group, sizeof...(Keys)>{name, {keys...}};
}

constexpr Persist kReadOnly = Persist::ReadOnly;
using E = EditorOptions;

constexpr auto kEditorSection = section<E>(
    "Editor Options", number("DisplayMode", &E::displayMode, 3), number("FileReadOnly", &E::fileReadOnly, 0),
    number("FileMustExist", &E::fileMustExist, 1), number("Clock24Hour", &E::clock24Hour, 0, kReadOnly),
    number("RestoreSize", &E::restoreSize, 0),
    // Text files on this platform end their lines with LF: read and write them so by default.
    // Reading as Unix text still takes CR LF files correctly (the CR before each LF is
    // dropped); read as DOS text, an LF-only file would come in as wrapped long lines.
    number("FileRead", &E::fileRead, 1), number("FileWrite", &E::fileWrite, 1),
    number("OEMRead", &E::oemRead, 0), number("OEMWrite", &E::oemWrite, 0),
    // New documents are UTF-8 by default, as text on this platform is; a file that is plain ASCII
    // is taken as a new document would be.
    number("NewUtf8", &E::newUtf8, 1), number("MultipleCopies", &E::multipleCopies, 0),
    number("PrintFilter", &E::printFilter, 1), number("HasMargin", &E::hasMargin, 1),
    number("ToolBar", &E::toolBar, 1), number("StatusBar", &E::statusBar, 1),
    number("InsertMode", &E::insertMode, 1), number("MakeSound", &E::makeSound, 1),
    number("SmartBrace", &E::smartBrace, 1), number("SmartIndent", &E::smartIndent, 1),
    number("SmartTemplate", &E::smartTemplate, 1), number("SmartBraceMode", &E::smartBraceMode, 0, kReadOnly),
    number("UseTabs", &E::useTabs, 0), number("LineWrap", &E::lineWrap, 0),
    number("FileTrim", &E::fileTrim, 0), number("AutoBackup", &E::autoBackup, 1),
    number("UseExplorer", &E::useExplorer, 0), number("SmallIconCaption", &E::smallIconCaption, 1),
    number("UseExternLead", &E::useExternLead, 1), number("BackupInterval", &E::backupInterval, 4),
    number("WrapColumn", &E::wrapColumn, 80), number("TabSize", &E::tabSize, 3),
    number("RestoreFiles", &E::restoreFiles, 1), number("RestoreDirectory", &E::restoreDirectory, 1),
    number("CheckOnReload", &E::checkOnReload, 1), number("PromptOnFileOpen", &E::promptOnFileOpen, 0),
    number("InsertAfterCursor", &E::insertAfterCursor, 0), number("SearchInclude", &E::searchInclude, 1),
    number("Recovery", &E::recovery, 1), number("RecoveryCap", &E::recoveryCap, 16),
    text("RecoveryDirectory", &E::recoveryDirectory, "", 4096),
    text("DefaultSearchPath", &E::defaultSearchPath, "", 122),
    text("Keymap", &E::keymap, "<Default Keymap>", 51), text("Profile", &E::profile, "", 16),
    number("MenuKey", &E::menuKey, 0), number("SaveKeepsUndo", &E::saveKeepsUndo, 0),
    number("UndoWords", &E::undoWords, 0));

using K = KeyboardOptions;
constexpr auto kKeyboardSection =
    section<K>("Keyboard Options", number("BriefCursor", &K::briefCursor, 0),
               number("AllowAlt", &K::allowAlt, 0), number("AllowControl", &K::allowControl, 0));

using M = MouseOptions;
constexpr auto kMouseSection = section<M>("Mouse Options", number("MouseMark1", &M::mouseMark1, 3, kReadOnly),
                                          number("MouseMark2", &M::mouseMark2, 1, kReadOnly),
                                          number("MouseMark3", &M::mouseMark3, 2, kReadOnly),
                                          number("MouseMark4", &M::mouseMark4, 3, kReadOnly),
                                          number("ShiftClickExtends", &M::shiftClickExtends, 0, kReadOnly));

using F = FilterOptions;
constexpr size_t kFilterSize = 81;
constexpr auto kFilterSection =
    section<F>("Filter Options", number("UseDefaults", &F::useDefaults, 1),
               text("Filter1", &F::filter1, "", kFilterSize), text("Filter2", &F::filter2, "", kFilterSize),
               text("Filter3", &F::filter3, "", kFilterSize), text("Filter4", &F::filter4, "", kFilterSize),
               text("Filter5", &F::filter5, "", kFilterSize), text("Filter6", &F::filter6, "", kFilterSize),
               text("Filter7", &F::filter7, "", kFilterSize), text("Filter8", &F::filter8, "", kFilterSize),
               text("Filter9", &F::filter9, "", kFilterSize));

using R = RegexOptions;
constexpr auto kRegexSection = section<R>("RegularExpress", text("Lines", &R::lines, "", 100, kReadOnly),
                                          text("Errors", &R::errors, "", 100, kReadOnly),
                                          text("Functions", &R::functions, "", 100, kReadOnly));

using T = FontDetails;
constexpr auto kFontSection =
    section<T>("Font Details", number("Height", &T::height, 0), number("Width", &T::width, 0),
               number("Weight", &T::weight, 400), number("Italic", &T::italic, 0),
               number("Underline", &T::underline, 0), number("StrikeOut", &T::strikeOut, 0),
               number("Family", &T::family, 1), text("Face", &T::face, "Courier", 32));

using H = HistoryOptions;
constexpr auto kHistorySection =
    section<H>("History", text("LastDirectoryUsed", &H::lastDirectoryUsed, "", platform::kPathLimit));

template <typename Group, size_t Count>
void applyDefaults(const OptionSection<Group, Count>& table, Group& group) {
    for (const auto& key : table.keys) {
        if (key.number != nullptr) {
            group.*key.number = key.numberDefault;
        } else {
            group.*key.text = std::string(key.textDefault);
        }
    }
}

template <typename Group, size_t Count>
void loadSection(const SettingsText& settings, const OptionSection<Group, Count>& table, Group& group) {
    for (const auto& key : table.keys) {
        if (key.number != nullptr) {
            group.*key.number = settings.getInteger(table.name, key.key, key.numberDefault);
        } else {
            group.*key.text = settings.getString(table.name, key.key, key.textDefault, key.size);
        }
    }
}

template <typename Group, size_t Count>
bool saveSection(SettingsText& settings, const OptionSection<Group, Count>& table, const Group& group) {
    bool ok = true;
    for (const auto& key : table.keys) {
        if (key.persist == Persist::ReadOnly) {
            continue;
        }
        ok = (key.number != nullptr ? settings.putInteger(table.name, key.key, group.*key.number)
                                    : settings.putString(table.name, key.key, group.*key.text)) &&
             ok;
    }
    return ok;
}

// Writes the keys of a section whose values this program changed since it last read or wrote
// them (baseline), and those the file lacks. A key left alone keeps the file's value, which
// another editor running on the same home may have written in the meantime.
template <typename Group, size_t Count>
bool saveChangedSection(SettingsText& settings, const OptionSection<Group, Count>& table, const Group& group,
                        const SettingsText& baseline) {
    SettingsText mine;
    bool ok = saveSection(mine, table, group);
    for (const auto& key : table.keys) {
        const std::optional<std::string> value = mine.find(table.name, key.key);
        if (!value || (baseline.find(table.name, key.key) == value && settings.find(table.name, key.key))) {
            continue;
        }
        ok = settings.putString(table.name, key.key, *value) && ok;
    }
    return ok;
}

} // namespace

template <typename Self, typename Visitor>
void Options::visitSections(Self& self, Visitor&& visit) {
    visit(kEditorSection, self.m_editor);
    visit(kKeyboardSection, self.m_keyboard);
    visit(kMouseSection, self.m_mouse);
    visit(kFilterSection, self.m_filters);
    visit(kRegexSection, self.m_regex);
    visit(kFontSection, self.m_font);
    visit(kHistorySection, self.m_history);
}

Options::Options(Directories directories, int waveOutputDevices)
    : m_directories(std::move(directories)), m_settings(m_directories.settingsFilePath()),
      m_waveOutputDevices(waveOutputDevices) {
    resetToDefaults();
}

void Options::resetToDefaults() {
    visitSections(*this, [](const auto& table, auto& group) { applyDefaults(table, group); });
}

void Options::load() {
    SettingsText settings = m_settings.read();
    visitSections(*this, [&](const auto& table, auto& group) { loadSection(settings, table, group); });
    // A hand-edited size past the dialog's range is taken as the largest the dialog offers.
    m_editor.tabSize = std::min(m_editor.tabSize, kMaxTabSize);
    m_baseline = SettingsText{};
    visitSections(*this,
                  [&](const auto& table, const auto& group) { (void)saveSection(m_baseline, table, group); });
}

bool Options::save() {
    const bool saved = m_settings.update([this](SettingsText& settings) {
        bool ok = true;
        visitSections(*this, [&](const auto& table, const auto& group) {
            ok = saveChangedSection(settings, table, group, m_baseline) && ok;
        });
        return ok;
    });
    if (saved) {
        visitSections(*this, [&](const auto& table, const auto& group) {
            (void)saveSection(m_baseline, table, group);
        });
    }
    return saved;
}

void Options::loadFont() {
    loadSection(m_settings.read(), kFontSection, m_font);
    (void)saveSection(m_baseline, kFontSection, m_font);
}

bool Options::saveFont() {
    const bool saved = m_settings.update(
        [this](SettingsText& settings) { return saveSection(settings, kFontSection, m_font); });
    if (saved) {
        (void)saveSection(m_baseline, kFontSection, m_font);
    }
    return saved;
}

DialogPosition Options::dialogPosition(int dialogId) const {
    SettingsText settings = m_settings.read();
    std::string section = formatText("Dialog%d", dialogId);
    return {settings.getInteger(section, "XPos", 0), settings.getInteger(section, "YPos", 0)};
}

bool Options::saveDialogPosition(int dialogId, DialogPosition position) {
    std::string section = formatText("Dialog%d", dialogId);
    return m_settings.update([&](SettingsText& settings) {
        return settings.putInteger(section, "XPos", position.x) &&
               settings.putInteger(section, "YPos", position.y);
    });
}

std::string Options::fileFilterString() const {
    std::string filters;
    for (const auto& key : kFilterSection.keys) {
        if (key.text != nullptr) {
            filters += std::string_view(m_filters.*key.text).substr(0, key.size - 1);
        }
    }
    return filters;
}

std::optional<platform::SoundKind> Options::soundFor(platform::SoundKind requested) const {
    if (m_editor.makeSound == 0 || requested == platform::SoundKind::None) {
        return std::nullopt;
    }
    // The asterisk sound is the one the system can always make without a sound device.
    return m_waveOutputDevices > 0 ? requested : platform::SoundKind::Information;
}

} // namespace vexa
