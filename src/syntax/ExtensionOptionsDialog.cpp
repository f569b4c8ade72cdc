// The "Extension Options" dialog model.
#include "syntax/ExtensionOptionsDialog.h"

#include <algorithm>
#include <filesystem>

#include "frame/Frame.h"
#include "settings/Format.h"
#include "syntax/SyntaxSettings.h"

namespace vexa::syntax {

namespace {

constexpr std::string_view kProfileSuffix = ".PRF";

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    return result;
}

} // namespace

ExtensionOptionsDialog::ExtensionOptionsDialog(SyntaxSettings& settings, Frame& frame,
                                               EditorPresenter presenter)
    : m_settings(settings), m_frame(frame), m_presenter(std::move(presenter)) {
    std::error_code error;
    std::vector<std::string> paths;
    for (const auto& item : std::filesystem::directory_iterator(m_settings.configDirectory(), error)) {
        const std::string name = item.path().filename().string();
        if (item.is_regular_file(error) && name.size() > kProfileSuffix.size() &&
            name.ends_with(kProfileSuffix)) {
            paths.push_back(item.path().string());
        }
    }
    // The directory gives no order of its own.
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
        auto profile = std::make_unique<ExtensionProfile>();
        const ProfileFileStatus status = profile->load(path);
        if (const std::string message = profileFileMessage(status, path); !message.empty()) {
            m_frame.messageBox(message);
        }
        m_entries.push_back({path, std::move(profile)});
    }
}

ExtensionOptionsDialog::~ExtensionOptionsDialog() = default;

std::vector<std::string_view> ExtensionOptionsDialog::entries() const {
    std::vector<std::string_view> result;
    result.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        result.push_back(entry.profile->extension());
    }
    return result;
}

void ExtensionOptionsDialog::select(std::size_t entry) {
    if (entry < m_entries.size()) {
        m_selected = entry;
        m_description = m_entries[entry].profile->description();
    }
}

std::string ExtensionOptionsDialog::pathFor(std::string_view extension) const {
    return profileFilePath(m_settings.configDirectory(), extension);
}

std::optional<std::string> ExtensionOptionsDialog::typedExtension() {
    const std::string extension = upper(m_extensionField);
    // An empty extension names no file that a lookup would read, and a slash would leave the
    // configuration directory.
    if (extension.empty() || extension.find('/') != std::string::npos) {
        m_extensionFocus = true;
        return std::nullopt;
    }
    return extension;
}

std::optional<std::size_t> ExtensionOptionsDialog::find(std::string_view extension) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].profile->hasExtension(extension)) {
            return i;
        }
    }
    return std::nullopt;
}

bool ExtensionOptionsDialog::confirmReplace(const std::string& extension) {
    if (!find(extension)) {
        return true;
    }
    return m_frame.ask(formatText(kReplaceExtensionFormat, extension.c_str()), kErrorTitle) == Answer::Yes;
}

void ExtensionOptionsDialog::put(Entry entry) {
    const std::string extension(entry.profile->extension());
    if (const auto old = find(extension)) {
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*old));
    }
    m_entries.push_back(std::move(entry));
    // The new entry is the selected one, so its description is the one shown.
    select(m_entries.size() - 1);
}

void ExtensionOptionsDialog::reportUnableToUpdate(const std::string& path) {
    m_frame.status(formatText(kUnableToUpdateFormat, path.c_str()), platform::SoundKind::Exclamation);
}

void ExtensionOptionsDialog::newProfile() {
    const auto extension = typedExtension();
    if (!extension || !confirmReplace(*extension)) {
        return;
    }
    auto profile = std::make_unique<ExtensionProfile>(BuiltInKeywords::Yes);
    profile->setExtension(*extension);
    EditExtensionDialog editor(*profile, ExtensionDialogMode::New, m_frame, m_settings.configDirectory());
    if (!m_presenter(editor) || !editor.isClosed()) {
        return;
    }
    const std::string path = pathFor(*extension);
    // The old entry of a replaced extension stays listed until its successor is on disk.
    if (profile->save(path) != ProfileFileStatus::Ok) {
        reportUnableToUpdate(path);
        return;
    }
    put({path, std::move(profile)});
    m_settings.forget(*extension);
    m_extensionField.clear();
    m_changed = true;
}

void ExtensionOptionsDialog::cloneProfile() {
    if (!m_selected) {
        m_extensionFocus = true;
        return;
    }
    const auto extension = typedExtension();
    if (!extension || !confirmReplace(*extension)) {
        return;
    }
    const std::string& source = m_entries[*m_selected].path;
    auto profile = std::make_unique<ExtensionProfile>();
    if (profile->load(source) != ProfileFileStatus::Ok) {
        reportUnableToUpdate(source);
        return;
    }
    profile->setExtension(*extension);
    const std::string path = pathFor(*extension);
    if (profile->save(path) != ProfileFileStatus::Ok) {
        reportUnableToUpdate(path);
        return;
    }
    put({path, std::move(profile)});
    m_settings.forget(*extension);
    m_changed = true;
}

void ExtensionOptionsDialog::editProfile() {
    if (!m_selected) {
        return;
    }
    Entry& entry = m_entries[*m_selected];
    // Edited on a copy, so that a profile that cannot be written stays as it is on disk.
    ExtensionProfile edited = *entry.profile;
    EditExtensionDialog editor(edited, ExtensionDialogMode::Edit, m_frame, m_settings.configDirectory());
    if (!m_presenter(editor) || !editor.isClosed()) {
        return;
    }
    if (edited.save(entry.path) != ProfileFileStatus::Ok) {
        reportUnableToUpdate(entry.path);
        return;
    }
    *entry.profile = edited;
    m_description = entry.profile->description();
    m_settings.forget(entry.profile->extension());
    m_changed = true;
}

void ExtensionOptionsDialog::deleteProfile() {
    if (!m_selected) {
        return;
    }
    const Entry& entry = m_entries[*m_selected];
    const std::string extension(entry.profile->extension());
    if (m_frame.ask(formatText(kDeleteProfileFormat, extension.c_str()), kErrorTitle) != Answer::Yes) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::remove(entry.path, error)) {
        reportUnableToUpdate(entry.path);
        return;
    }
    m_description.clear();
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*m_selected));
    if (m_entries.empty()) {
        m_selected.reset();
    } else {
        m_selected = std::min(*m_selected, m_entries.size() - 1);
    }
    m_settings.forget(extension);
    m_changed = true;
}

} // namespace vexa::syntax
