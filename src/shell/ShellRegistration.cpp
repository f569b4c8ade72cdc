// The registry entries and the XDG desktop files.
#include "shell/ShellRegistration.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "platform/AtomicFile.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/KeyStore.h"

namespace vexa::shell {
namespace {

std::string trimmed(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    std::size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

constexpr std::string_view kDefaultsSection = "[Default Applications]";
// The sections in which a list states a preference for a type: a default, an application added
// to or removed from the type's choices.
constexpr std::array<std::string_view, 3> kPreferenceSections{kDefaultsSection, "[Added Associations]",
                                                              "[Removed Associations]"};

bool isSection(const std::string& line) {
    std::string text = trimmed(line);
    return !text.empty() && text.front() == '[';
}

std::optional<std::string> readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string withSlash(std::string directory) {
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

// Quotes a program path for a desktop entry's Exec key.
std::string execQuoted(std::string_view path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

std::optional<std::string> registerFileTypes(platform::KeyStore& store, std::string_view programPath) {
    const std::string open = std::string(kClassKey) + "\\shell\\open\\";
    const std::pair<std::string, std::string> entries[] = {
        {std::string(kClassKey), std::string(kClassName)},
        {open + "ddeexec", "[open(\"%1\")]"},
        {open + "command", std::string(programPath) + " %1"},
    };
    for (const auto& [key, value] : entries) {
        if (!store.writeValue(key, value)) {
            return key;
        }
    }
    for (std::string_view extension : kClaimedExtensions) {
        std::optional<std::string> current = store.readValue(extension);
        if (current && !current->empty()) {
            continue;
        }
        if (!store.writeValue(extension, kClassKey)) {
            return std::string(extension);
        }
    }
    return std::nullopt;
}

std::string registrationFailureMessage(std::string_view key) {
    return "Warning: registration database update failed for key '" + std::string(key) + "'\n";
}

std::string desktopEntryText(std::string_view programPath) {
    std::string text = "[Desktop Entry]\nType=Application\nName=Vexa\nGenericName=Text Editor\n"
                       "Comment=A programmer's text editor\n";
    text += "Exec=" + execQuoted(programPath) + " %F\n";
    text += "Icon=vexa\nTerminal=false\nCategories=Development;TextEditor;\nMimeType=";
    for (std::string_view type : kClaimedMimeTypes) {
        text += std::string(type) + ";";
    }
    text += "text/plain;\nStartupWMClass=vexa\n";
    return text;
}

std::vector<std::string> typesWithPreference(const std::vector<std::string>& listTexts) {
    std::vector<std::string> types;
    for (const std::string& text : listTexts) {
        bool inPreferences = false;
        for (const std::string& line : linesOf(text)) {
            if (isSection(line)) {
                inPreferences = std::find(kPreferenceSections.begin(), kPreferenceSections.end(),
                                          trimmed(line)) != kPreferenceSections.end();
                continue;
            }
            std::size_t equals = line.find('=');
            if (!inPreferences || equals == std::string::npos) {
                continue;
            }
            std::string type = trimmed(std::string_view(line).substr(0, equals));
            std::string value = trimmed(std::string_view(line).substr(equals + 1));
            if (!type.empty() && value.find_first_not_of(";") != std::string::npos) {
                types.push_back(type);
            }
        }
    }
    return types;
}

std::optional<std::string> claimMimeDefaults(std::string_view userList,
                                             const std::vector<std::string>& otherLists) {
    std::vector<std::string> all = otherLists;
    all.emplace_back(userList);
    std::vector<std::string> taken = typesWithPreference(all);
    std::vector<std::string> claims;
    for (std::string_view type : kClaimedMimeTypes) {
        if (std::find(taken.begin(), taken.end(), type) == taken.end()) {
            claims.push_back(std::string(type) + "=" + std::string(kDesktopFileName) + ";");
        }
    }
    if (claims.empty()) {
        return std::nullopt;
    }
    std::vector<std::string> lines = linesOf(userList);
    // The claims go at the end of the user's defaults section, which is made when missing.
    auto section = std::find_if(lines.begin(), lines.end(),
                                [](const std::string& line) { return trimmed(line) == kDefaultsSection; });
    if (section == lines.end()) {
        if (!lines.empty() && !trimmed(lines.back()).empty()) {
            lines.emplace_back();
        }
        lines.emplace_back(kDefaultsSection);
        lines.insert(lines.end(), claims.begin(), claims.end());
    } else {
        auto end = std::find_if(section + 1, lines.end(), isSection);
        while (end != section + 1 && trimmed(*(end - 1)).empty()) {
            --end;
        }
        lines.insert(end, claims.begin(), claims.end());
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

XdgPlaces xdgPlaces() {
    XdgPlaces places;
    std::string home = platform::environmentVariable("HOME").value_or("");
    std::string dataHome = platform::environmentVariable("XDG_DATA_HOME").value_or("");
    if (dataHome.empty()) {
        dataHome = home.empty() ? std::string() : withSlash(home) + ".local/share";
    }
    std::string configHome = platform::environmentVariable("XDG_CONFIG_HOME").value_or("");
    if (configHome.empty()) {
        configHome = home.empty() ? std::string() : withSlash(home) + ".config";
    }
    // The names of the user's desktops, such as gnome, for their own lists.
    std::vector<std::string> desktops;
    std::istringstream names(platform::environmentVariable("XDG_CURRENT_DESKTOP").value_or(""));
    for (std::string name; std::getline(names, name, ':');) {
        if (!name.empty() && name.find('/') == std::string::npos) {
            std::transform(name.begin(), name.end(), name.begin(),
                           [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
            desktops.push_back(name);
        }
    }
    // Every list a directory may hold: each desktop's own, the common one and, in the data
    // directories, the older defaults.list.
    const auto addLists = [&](const std::string& directory, bool data) {
        for (const std::string& desktop : desktops) {
            places.otherLists.push_back(directory + desktop + "-mimeapps.list");
        }
        places.otherLists.push_back(directory + "mimeapps.list");
        if (data) {
            places.otherLists.push_back(directory + "defaults.list");
        }
    };
    if (!configHome.empty()) {
        places.userList = withSlash(configHome) + "mimeapps.list";
        for (const std::string& desktop : desktops) {
            places.otherLists.push_back(withSlash(configHome) + desktop + "-mimeapps.list");
        }
    }
    if (!dataHome.empty()) {
        places.applicationsDirectory = withSlash(dataHome) + "applications/";
        places.iconPath = withSlash(dataHome) + "icons/hicolor/scalable/apps/vexa.svg";
        addLists(places.applicationsDirectory, true);
    }
    std::string configDirs = platform::environmentVariable("XDG_CONFIG_DIRS").value_or("");
    if (configDirs.empty()) {
        configDirs = "/etc/xdg";
    }
    std::string dataDirs = platform::environmentVariable("XDG_DATA_DIRS").value_or("");
    if (dataDirs.empty()) {
        dataDirs = "/usr/local/share:/usr/share";
    }
    std::istringstream configs(configDirs);
    for (std::string dir; std::getline(configs, dir, ':');) {
        if (!dir.empty()) {
            addLists(withSlash(dir), false);
        }
    }
    std::istringstream datas(dataDirs);
    for (std::string dir; std::getline(datas, dir, ':');) {
        if (!dir.empty()) {
            addLists(withSlash(dir) + "applications/", true);
        }
    }
    return places;
}

std::optional<std::string> updatedDesktopEntry(std::string_view existing, std::string_view programPath,
                                               const std::function<bool(const std::string&)>& programExists) {
    std::vector<std::string> lines = linesOf(existing);
    bool inEntry = false;
    for (std::string& line : lines) {
        if (isSection(line)) {
            inEntry = trimmed(line) == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || !line.starts_with("Exec=")) {
            continue;
        }
        // The program is the first word of the command: quoted (with backslash escapes) or plain.
        const std::string_view command = std::string_view(line).substr(5);
        std::string program;
        std::size_t end = 0;
        if (!command.empty() && command.front() == '"') {
            for (end = 1; end < command.size() && command[end] != '"'; ++end) {
                if (command[end] == '\\' && end + 1 < command.size()) {
                    ++end;
                }
                program += command[end];
            }
            end = std::min(end + 1, command.size());
        } else {
            end = std::min(command.find(' '), command.size());
            program = std::string(command.substr(0, end));
        }
        if (program == programPath || programExists(program)) {
            return std::nullopt; // the user's program, or this one: left as it is
        }
        line = "Exec=" + execQuoted(programPath) + std::string(command.substr(end));
        std::string text;
        for (const std::string& kept : lines) {
            text += kept + "\n";
        }
        return text;
    }
    return std::nullopt;
}

std::vector<std::string> registerWithDesktop(const XdgPlaces& places, std::string_view programPath) {
    std::vector<std::string> messages;
    if (places.applicationsDirectory.empty() || places.userList.empty()) {
        return messages;
    }
    std::string entryPath = places.applicationsDirectory + std::string(kDesktopFileName);
    // An entry that exists may have been edited by the user: only a program that moved is changed.
    std::optional<std::string> entry;
    if (const std::optional<std::string> existing = readWhole(entryPath)) {
        entry = updatedDesktopEntry(*existing, programPath,
                                    [](const std::string& path) { return platform::isRegularFile(path); });
    } else {
        entry = desktopEntryText(programPath);
    }
    if (entry) {
        if (!platform::makeDirectories(places.applicationsDirectory) ||
            !platform::writeFileAtomically(entryPath, *entry)) {
            messages.push_back(registrationFailureMessage(entryPath));
            return messages;
        }
    }
    if (!places.iconPath.empty() && readWhole(places.iconPath) != std::string(vexaIconSvg())) {
        if (!platform::makeDirectories(std::string(platform::directoryPart(places.iconPath))) ||
            !platform::writeFileAtomically(places.iconPath, vexaIconSvg())) {
            messages.push_back(registrationFailureMessage(places.iconPath));
            return messages;
        }
    }
    std::vector<std::string> others;
    for (const std::string& path : places.otherLists) {
        if (auto text = readWhole(path)) {
            others.push_back(std::move(*text));
        }
    }
    std::string user = readWhole(places.userList).value_or("");
    if (auto changed = claimMimeDefaults(user, others)) {
        std::string directory(platform::directoryPart(places.userList));
        if (!platform::makeDirectories(directory) ||
            !platform::writeFileAtomically(places.userList, *changed)) {
            messages.push_back(registrationFailureMessage(places.userList));
        }
    }
    return messages;
}

} // namespace vexa::shell
