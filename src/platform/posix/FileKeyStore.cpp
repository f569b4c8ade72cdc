// The file-backed key store: escaped "key<TAB>value" lines, locked read-modify-write.
#include "platform/posix/FileKeyStore.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

#include "platform/AtomicFile.h"

namespace vexa::platform {
namespace {

constexpr std::string_view kHeader = "# Vexa key store: key<TAB>value per line; \\\\ \\t \\n \\r escaped\n";

void appendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

bool unescape(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return false;
        }
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

// Holds an exclusive lock on the store's lock file for its lifetime.
class WriteLock {
public:
    explicit WriteLock(const std::string& path) {
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd >= 0) {
            int result = 0;
            do {
                result = ::flock(m_fd, LOCK_EX);
            } while (result != 0 && errno == EINTR);
            m_locked = result == 0;
        }
    }
    ~WriteLock() {
        if (m_fd >= 0) {
            ::close(m_fd); // releases the lock
        }
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    bool locked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};

} // namespace

std::string FileKeyStore::formatLine(std::string_view key, std::string_view value) {
    std::string line;
    appendEscaped(line, key);
    line += '\t';
    appendEscaped(line, value);
    line += '\n';
    return line;
}

bool FileKeyStore::parseLine(std::string_view line, std::string& key, std::string& value) {
    auto tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0 || line.find('\t', tab + 1) != std::string_view::npos) {
        return false;
    }
    return unescape(line.substr(0, tab), key) && unescape(line.substr(tab + 1), value);
}

std::optional<FileKeyStore::Entries> FileKeyStore::load() const {
    Entries entries;
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        if (::access(m_path.c_str(), F_OK) != 0 && errno == ENOENT) {
            return entries; // no file yet: an empty store
        }
        return std::nullopt;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        Entry entry;
        if (parseLine(line, entry.key, entry.value)) {
            std::string folded = foldedKey(entry.key);
            entries[folded] = std::move(entry);
        }
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return entries;
}

bool FileKeyStore::save(const Entries& entries) const {
    std::string content(kHeader);
    for (const auto& [folded, entry] : entries) {
        content += formatLine(entry.key, entry.value);
    }
    return writeFileAtomically(m_path, content);
}

std::optional<std::string> FileKeyStore::readValue(std::string_view key) const {
    auto entries = load();
    if (!entries) {
        return std::nullopt;
    }
    auto it = entries->find(foldedKey(key));
    if (it == entries->end()) {
        return std::nullopt;
    }
    return it->second.value;
}

bool FileKeyStore::writeValue(std::string_view key, std::string_view value) {
    if (key.empty()) {
        return false;
    }
    WriteLock lock(m_path + ".lock");
    if (!lock.locked()) {
        return false;
    }
    auto entries = load();
    if (!entries) {
        return false;
    }
    std::string folded = foldedKey(key);
    auto it = entries->find(folded);
    if (it == entries->end()) {
        (*entries)[folded] = Entry{std::string(key), std::string(value)};
    } else {
        it->second.value = value;
    }
    return save(*entries);
}

bool FileKeyStore::removeKey(std::string_view key) {
    WriteLock lock(m_path + ".lock");
    if (!lock.locked()) {
        return false;
    }
    auto entries = load();
    if (!entries) {
        return false;
    }
    auto removed =
        std::erase_if(*entries, [key](const auto& item) { return isKeyAtOrBelow(item.first, key); });
    return removed == 0 || save(*entries);
}

} // namespace vexa::platform
