// The Quick Help dialog models.
#include "aids/QuickHelpDialogs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Files.h"

namespace vexa::aids {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
    }
    return result;
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = char(c - 'a' + 'A');
        }
    }
    return result;
}

std::string withSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

} // namespace

std::string quickHelpSearchMessage(HelpSearchCode code, std::string_view keyword) {
    switch (code) {
    case HelpSearchCode::OneHit:
    case HelpSearchCode::SeveralHits:
        return {};
    case HelpSearchCode::NoHit:
        return "Topic '" + std::string(keyword) + "' not found.";
    case HelpSearchCode::NoIndex:
        return "No 'WinHelp' files are installed. Refer to 'Help | Quick Configuration' menu item for more "
               "details.";
    }
    return "Unknown quick help error.";
}

QuickHelpDialog::QuickHelpDialog(std::string keyword, HelpSearchResult result)
    : m_keyword(keyword), m_searched(std::move(keyword)), m_hits(std::move(result.hits)) {
    if (!m_hits.empty()) {
        m_selected = std::min(result.selected, m_hits.size() - 1);
    }
}

QuickHelpDialog::QuickHelpDialog(Search search, Report report, std::string historyPath)
    : m_searchMode(true), m_search(std::move(search)), m_report(std::move(report)),
      m_historyPath(std::move(historyPath)) {
    m_history.load(m_historyPath);
    // The entry written last sits just before the slot the next new entry replaces.
    const std::vector<std::string>& entries = m_history.entries();
    if (!entries.empty()) {
        std::size_t last =
            (m_history.replaceIndex() + HistoryFile::kMaxEntries - 1) % HistoryFile::kMaxEntries;
        m_keyword = entries[last < entries.size() ? last : entries.size() - 1];
    }
}

void QuickHelpDialog::select(std::size_t index) {
    if (index < m_hits.size()) {
        m_selected = index;
    }
}

bool QuickHelpDialog::accept() {
    if (!m_searchMode) {
        return m_selected.has_value();
    }
    if (m_keyword.empty()) {
        m_report("No key word has been specified.");
        return false;
    }
    if (m_keyword != m_searched || m_hits.empty()) {
        m_history.enter(m_keyword);
        m_searched = m_keyword;
        HelpSearchResult result = m_search(m_keyword);
        m_hits = std::move(result.hits);
        m_selected.reset();
        if (!m_hits.empty()) {
            m_selected = std::min(result.selected, m_hits.size() - 1);
        }
        if (std::string message = quickHelpSearchMessage(result.code, m_keyword); !message.empty()) {
            m_report(message);
        }
        // One hit is shown at once, as a lookup from the text does; several are listed to pick.
        return result.code == HelpSearchCode::OneHit;
    }
    return m_selected.has_value();
}

bool QuickHelpDialog::saveHistory() const {
    return m_historyPath.empty() || m_history.save(m_historyPath);
}

QuickSetupDialog::QuickSetupDialog(std::string helpDirectory, std::string currentDirectory, ErrorBox errorBox)
    : m_helpDirectory(std::move(helpDirectory)), m_current(withSlash(std::move(currentDirectory))),
      m_errorBox(std::move(errorBox)) {
    refresh();
}

void QuickSetupDialog::refresh() {
    namespace fs = std::filesystem;
    m_files.clear();
    std::vector<Entry> directories;
    std::vector<Entry> helpFiles;
    if (m_current != "/") {
        directories.push_back({"..", true});
    }
    std::error_code error;
    for (fs::directory_iterator it(m_current, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        std::error_code kindError;
        if (it->is_directory(kindError)) {
            if (name.front() != '.') {
                directories.push_back({name, true});
            }
        } else if (name.size() > 4 && lower(name.substr(name.size() - 4)) == ".hlp") {
            helpFiles.push_back({name, false});
        }
    }
    auto byName = [](const Entry& a, const Entry& b) { return a.name < b.name; };
    std::sort(directories.begin() + (m_current != "/" ? 1 : 0), directories.end(), byName);
    std::sort(helpFiles.begin(), helpFiles.end(), byName);
    m_files = std::move(directories);
    m_files.insert(m_files.end(), helpFiles.begin(), helpFiles.end());

    m_installed.clear();
    for (const std::string& index : helpIndexFiles(m_helpDirectory)) {
        std::string name = lower(index.substr(0, index.size() - kHelpIndexExtension.size())) + ".hlp";
        if (std::find(m_installed.begin(), m_installed.end(), name) == m_installed.end()) {
            m_installed.push_back(std::move(name));
        }
    }
}

bool QuickSetupDialog::enterDirectory(std::string_view name) {
    std::string target;
    if (name == "..") {
        std::string_view parent(m_current);
        parent.remove_suffix(1);
        target = std::string(platform::directoryPart(parent));
    } else {
        target = m_current + std::string(name) + "/";
    }
    if (target.empty() || !platform::isDirectory(target)) {
        return false;
    }
    m_current = target;
    refresh();
    return true;
}

bool QuickSetupDialog::add(std::string_view helpFile) {
    std::string path = m_current + std::string(helpFile);
    HelpIndexStatus status = buildHelpIndex(path, helpIndexPath(m_helpDirectory, path));
    if (status != HelpIndexStatus::Done) {
        m_errorBox("Error processing '" + upper(helpFile) + "' help file.\n" +
                       std::string(helpIndexStatusText(status)),
                   "Vexa Error");
        return false;
    }
    refresh();
    return true;
}

bool QuickSetupDialog::remove(std::string_view installedName) {
    std::string_view base = installedName.substr(0, installedName.rfind('.'));
    // The index was written with the extension in upper case; an index named in lower case is
    // taken as it is.
    std::string index = m_helpDirectory + std::string(base) + std::string(kHelpIndexExtension);
    for (const std::string& existing : helpIndexFiles(m_helpDirectory)) {
        if (lower(existing) == lower(std::string(base) + std::string(kHelpIndexExtension))) {
            index = m_helpDirectory + existing;
            break;
        }
    }
    if (!platform::removeFile(index)) {
        m_errorBox("Unable to update the '" + index + "' file. This file is probably read only!",
                   "Vexa Error");
        return false;
    }
    refresh();
    return true;
}

} // namespace vexa::aids
