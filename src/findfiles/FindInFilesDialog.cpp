// The Find in Files dialog's model.
#include "findfiles/FindInFilesDialog.h"

#include "platform/Files.h"
#include "search/SearchDialogModel.h"
#include "settings/Format.h"

namespace vexa::findfiles {

std::string defaultSearchFolder(const std::string& documentPath) {
    const std::string_view directory = platform::directoryPart(documentPath);
    if (documentPath.empty() || directory.empty()) {
        return platform::fullPath(".").value_or(".");
    }
    std::string folder(directory);
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    for (std::string candidate = folder; !candidate.empty();) {
        // A work tree or submodule has a ".git" file instead of a folder.
        if (platform::canAccess(candidate + "/.git", platform::Access::Exists)) {
            return candidate;
        }
        const std::size_t slash = candidate.rfind('/');
        if (slash == std::string::npos || slash == 0) {
            break;
        }
        candidate.resize(slash);
    }
    return folder;
}

FindInFilesDialog::FindInFilesDialog(std::string configDirectory, FolderSearchRequest defaults)
    : m_configDirectory(std::move(configDirectory)), m_request(std::move(defaults)) {
    m_history.load(m_configDirectory + std::string(kFindHistoryFile));
    if (m_request.filePatterns.empty()) {
        m_patterns = std::string(kDefaultFilePatterns);
    } else {
        for (const std::string& pattern : m_request.filePatterns) {
            m_patterns += m_patterns.empty() ? pattern : ";" + pattern;
        }
    }
}

bool FindInFilesDialog::pressFind() {
    m_problem.clear();
    if (m_request.findText.empty()) {
        m_problem = kNothingToFind;
        return false;
    }
    if (!platform::isDirectory(m_request.folder)) {
        m_problem = formatText(kNoSuchFolder, m_request.folder.c_str());
        return false;
    }
    m_request.filePatterns = splitFilePatterns(m_patterns);
    m_history.enter(historyEntryOf(m_request.findText));
    // A history that cannot be written loses only the history; the search still runs.
    (void)m_history.save(m_configDirectory + std::string(kFindHistoryFile));
    return true;
}

} // namespace vexa::findfiles
