// The backup directory's index of backup names and the documents they belong to.
#include "core/BackupIndex.h"

#include <fstream>
#include <sstream>

#include "platform/AtomicFile.h"
#include "platform/Files.h"

namespace vexa {
namespace {

std::string withSlash(std::string directory) {
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

// "util.c", 2 -> "util~2.c"; a name without an extension (or only a leading dot) gets the
// number at its end.
std::string numberedName(const std::string& name, int number) {
    auto dot = name.rfind('.');
    std::string suffix = "~" + std::to_string(number);
    if (dot == std::string::npos || dot == 0) {
        return name + suffix;
    }
    return name.substr(0, dot) + suffix + name.substr(dot);
}

} // namespace

BackupIndex::BackupIndex(std::string directory) : m_directory(withSlash(std::move(directory))) {
    if (m_directory.empty()) {
        return;
    }
    std::ifstream in(m_directory + kFileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    parse(text.str());
}

void BackupIndex::parse(std::string_view text) {
    m_entries.clear();
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        auto tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0 || tab + 1 == line.size()) {
            continue;
        }
        m_entries.push_back({std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
    }
}

std::string BackupIndex::findBackup(const std::string& documentPath) const {
    for (const Entry& entry : m_entries) {
        if (entry.documentPath == documentPath) {
            return m_directory + entry.name;
        }
    }
    return {};
}

bool BackupIndex::nameTaken(const std::string& name) const {
    for (const Entry& entry : m_entries) {
        if (entry.name == name) {
            return true;
        }
    }
    // A file the index does not know (an older backup, something the user put there) is not
    // overwritten either.
    return platform::fileInfo(m_directory + name).has_value() || name == kFileName;
}

std::string BackupIndex::freeName(const std::string& plainName) const {
    if (!nameTaken(plainName)) {
        return plainName;
    }
    // Every number names a different file and the index is finite, so a free one is found.
    for (int number = 2;; ++number) {
        std::string candidate = numberedName(plainName, number);
        if (!nameTaken(candidate)) {
            return candidate;
        }
    }
}

std::string BackupIndex::backupPathFor(const std::string& documentPath) const {
    std::string listed = findBackup(documentPath);
    if (!listed.empty()) {
        return listed;
    }
    return m_directory + freeName(std::string(platform::namePart(documentPath)));
}

bool BackupIndex::record(const std::string& documentPath, const std::string& backupPath) {
    // A path that would break the line format keeps its backup unlisted.
    std::string name(platform::namePart(backupPath));
    if (m_directory.empty() || documentPath.find_first_of("\n\r") != std::string::npos ||
        name.find_first_of("\t\n\r") != std::string::npos || !findBackup(documentPath).empty()) {
        return true;
    }
    m_entries.push_back({name, documentPath});
    std::ostringstream text;
    for (const Entry& entry : m_entries) {
        text << entry.name << '\t' << entry.documentPath << '\n';
    }
    return platform::writeFileAtomically(m_directory + kFileName, text.str());
}

} // namespace vexa
