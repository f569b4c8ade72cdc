// The WinHelp reader: file header, internal directory, system header and keyword tree.
#include "aids/HelpFile.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace vexa::aids {
namespace {

// A bounded view of the file: every read says whether it fitted.
class Bytes {
public:
    explicit Bytes(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    [[nodiscard]] std::optional<uint32_t> u32(std::size_t at) const {
        if (!fits(at, 4)) {
            return std::nullopt;
        }
        return uint32_t(m_bytes[at]) | uint32_t(m_bytes[at + 1]) << 8 | uint32_t(m_bytes[at + 2]) << 16 |
               uint32_t(m_bytes[at + 3]) << 24;
    }
    [[nodiscard]] std::optional<uint8_t> byte(std::size_t at) const {
        if (!fits(at, 1)) {
            return std::nullopt;
        }
        return m_bytes[at];
    }
    [[nodiscard]] std::optional<uint16_t> u16(std::size_t at) const {
        if (!fits(at, 2)) {
            return std::nullopt;
        }
        return uint16_t(m_bytes[at] | m_bytes[at + 1] << 8);
    }
    // A NUL-terminated string starting at `at` that must end before `limit`; at most maxLength
    // characters are accepted. The length read (without the NUL) is in the result's size.
    [[nodiscard]] std::optional<std::string> cString(std::size_t at, std::size_t limit,
                                                     std::size_t maxLength) const {
        limit = std::min(limit, m_bytes.size());
        std::string text;
        for (std::size_t i = at; i < limit; ++i) {
            if (m_bytes[i] == 0) {
                return text;
            }
            if (text.size() == maxLength) {
                return std::nullopt;
            }
            text.push_back(char(m_bytes[i]));
        }
        return std::nullopt;
    }
    [[nodiscard]] bool fits(std::size_t at, std::size_t count) const {
        return at <= m_bytes.size() && count <= m_bytes.size() - at;
    }
    [[nodiscard]] std::size_t size() const { return m_bytes.size(); }

private:
    std::span<const uint8_t> m_bytes;
};

constexpr uint16_t kNoPage = 0xFFFF;

struct TreeHeader {
    uint32_t usedSpace = 0;
    uint16_t totalPages = 0;
    uint32_t totalEntries = 0;
    std::size_t firstPage = 0; // offset of page 0
};

std::optional<TreeHeader> readTreeHeader(const Bytes& bytes, std::size_t fileOffset) {
    auto used = bytes.u32(fileOffset + 4);
    std::size_t tree = fileOffset + kInternalHeaderSize;
    auto pages = bytes.u16(tree + 30);
    auto entries = bytes.u32(tree + 34);
    if (!used || !pages || !entries) {
        return std::nullopt;
    }
    return TreeHeader{*used, *pages, *entries, tree + kTreeHeaderSize};
}

struct LeafHeader {
    uint16_t entries = 0;
    uint16_t previous = kNoPage;
    uint16_t next = kNoPage;
};

std::optional<LeafHeader> readLeafHeader(const Bytes& bytes, std::size_t pageStart) {
    auto entries = bytes.u16(pageStart + 2);
    auto previous = bytes.u16(pageStart + 4);
    auto next = bytes.u16(pageStart + 6);
    if (!entries || !previous || !next) {
        return std::nullopt;
    }
    return LeafHeader{*entries, *previous, *next};
}

struct DirectoryEntry {
    std::string name;
    uint32_t offset = 0;
};

// The directory's entries in leaf order, up to its declared count; `complete` is false when an
// entry could not be read (the entries before it are kept).
struct Directory {
    std::vector<DirectoryEntry> entries;
    bool complete = true;
};

Directory readDirectory(const Bytes& bytes, std::size_t directoryOffset) {
    Directory directory;
    auto header = readTreeHeader(bytes, directoryOffset);
    if (!header) {
        directory.complete = false;
        return directory;
    }
    // The declared pages must be in the file, and each is read once: a page that links back to
    // one already read would otherwise be read again up to the page count.
    if (!bytes.fits(header->firstPage, std::size_t(header->totalPages) * kDirectoryPageSize)) {
        directory.complete = false;
        return directory;
    }
    std::vector<bool> visited(header->totalPages, false);
    uint16_t page = 0;
    while (directory.entries.size() < header->totalEntries) {
        if (page == kNoPage || page >= header->totalPages || visited[page]) {
            directory.complete = false;
            return directory;
        }
        visited[page] = true;
        std::size_t pageStart = header->firstPage + std::size_t(page) * kDirectoryPageSize;
        std::size_t pageEnd = pageStart + kDirectoryPageSize;
        auto leaf = readLeafHeader(bytes, pageStart);
        if (!leaf) {
            directory.complete = false;
            return directory;
        }
        std::size_t at = pageStart + kLeafHeaderSize;
        for (uint16_t i = 0; i < leaf->entries && directory.entries.size() < header->totalEntries; ++i) {
            auto name = bytes.cString(at, pageEnd, kMaxInternalName);
            if (!name) {
                directory.complete = false;
                return directory;
            }
            at += name->size() + 1;
            auto offset = at + 4 <= pageEnd ? bytes.u32(at) : std::nullopt;
            if (!offset) {
                directory.complete = false;
                return directory;
            }
            at += 4;
            directory.entries.push_back({std::move(*name), *offset});
        }
        page = leaf->next;
    }
    return directory;
}

// The offset of the first entry named either way, or why there is none.
std::optional<uint32_t> findEntry(const Directory& directory, std::string_view name) {
    for (const DirectoryEntry& entry : directory.entries) {
        if (entry.name == name || (entry.name.size() == name.size() + 1 && entry.name[0] == '|' &&
                                   std::string_view(entry.name).substr(1) == name)) {
            return entry.offset;
        }
    }
    return std::nullopt;
}

// The title from the system file, or nothing when its header is not one.
std::optional<std::string> readTitle(const Bytes& bytes, std::size_t fileOffset) {
    auto used = bytes.u32(fileOffset + 4);
    std::size_t header = fileOffset + kInternalHeaderSize;
    auto magic = bytes.u16(header);
    auto minor = bytes.u16(header + 2);
    if (!used || !magic || !minor || (*magic & 0xFF) != 0x6C || !bytes.fits(header, 12)) {
        return std::nullopt;
    }
    // The internal file ends after its used space, and never past the file itself.
    std::size_t end = bytes.fits(header, *used) ? header + *used : bytes.size();
    std::size_t at = header + 12;
    if (*minor == 15) {
        std::string title;
        for (std::size_t i = at; i < end && title.size() < kMaxOldTitle; ++i) {
            char c = char(bytes.byte(i).value_or(0));
            if (c == '\0') {
                break;
            }
            title.push_back(c);
        }
        return title;
    }
    while (at + 4 <= end) {
        auto type = bytes.u16(at);
        auto size = bytes.u16(at + 2);
        if (!type || !size) {
            break;
        }
        std::size_t data = at + 4;
        std::size_t dataEnd = std::min(end, data + *size);
        if (*type == 1) {
            // A title without its NUL within the record is taken up to the record's end.
            std::string title;
            for (std::size_t i = data; i < dataEnd; ++i) {
                char c = char(bytes.byte(i).value_or(0));
                if (c == '\0') {
                    break;
                }
                title.push_back(c);
            }
            return title;
        }
        at = data + *size;
    }
    return std::string();
}

HelpIndexStatus readKeywords(const Bytes& bytes, std::size_t fileOffset, std::vector<std::string>& keywords) {
    auto header = readTreeHeader(bytes, fileOffset);
    if (!header || header->totalPages == 0 || header->usedSpace < kTreeHeaderSize) {
        return HelpIndexStatus::UnknownFormat;
    }
    std::size_t pageSize = (header->usedSpace - kTreeHeaderSize) / header->totalPages;
    if (pageSize != 2048 && pageSize != 4096) {
        return HelpIndexStatus::UnknownFormat;
    }
    // Every declared page lies inside the file and each is read at most once, so the work and
    // the keywords gathered are bounded by the file's size.
    if (!bytes.fits(header->firstPage, std::size_t(header->totalPages) * pageSize)) {
        return HelpIndexStatus::UnknownFormat;
    }
    auto first = readLeafHeader(bytes, header->firstPage);
    if (!first) {
        return HelpIndexStatus::UnknownFormat;
    }
    std::vector<bool> visited(header->totalPages, false);
    uint16_t page = first->previous != kNoPage ? 1 : 0;
    while (page != kNoPage) {
        if (page >= header->totalPages || visited[page]) {
            return HelpIndexStatus::UnknownFormat;
        }
        visited[page] = true;
        std::size_t pageStart = header->firstPage + std::size_t(page) * pageSize;
        std::size_t pageEnd = pageStart + pageSize;
        auto leaf = readLeafHeader(bytes, pageStart);
        if (!leaf) {
            return HelpIndexStatus::UnknownFormat;
        }
        std::size_t at = pageStart + kLeafHeaderSize;
        for (uint16_t i = 0; i < leaf->entries; ++i) {
            auto keyword = bytes.cString(at, pageEnd, pageSize);
            if (!keyword || at + keyword->size() + 1 + 6 > pageEnd ||
                !bytes.fits(at + keyword->size() + 1, 6)) {
                return HelpIndexStatus::UnknownFormat;
            }
            at += keyword->size() + 1 + 6;
            if (!keyword->empty()) {
                keywords.push_back(std::move(*keyword));
            }
        }
        page = leaf->next;
    }
    return HelpIndexStatus::Done;
}

} // namespace

HelpFileContents readHelpFile(std::span<const uint8_t> data) {
    Bytes bytes(data);
    HelpFileContents contents;
    auto magic = bytes.u32(0);
    auto directoryOffset = bytes.u32(4);
    if (!magic || *magic != kHelpFileMagic || !bytes.fits(0, kHelpHeaderSize)) {
        contents.status = HelpIndexStatus::UnknownFormat;
        return contents;
    }
    Directory directory = readDirectory(bytes, *directoryOffset);
    auto system = findEntry(directory, "SYSTEM");
    if (!system) {
        contents.status =
            directory.complete ? HelpIndexStatus::UnknownFormat : HelpIndexStatus::DirectoryError;
        return contents;
    }
    auto title = readTitle(bytes, *system);
    if (!title) {
        contents.status = HelpIndexStatus::UnknownFormat;
        return contents;
    }
    contents.title = std::move(*title);
    auto keywordTree = findEntry(directory, "KWBTREE");
    if (!keywordTree) {
        contents.status = directory.complete ? HelpIndexStatus::NoKeywords : HelpIndexStatus::DirectoryError;
        return contents;
    }
    contents.status = readKeywords(bytes, *keywordTree, contents.keywords);
    if (contents.status != HelpIndexStatus::Done) {
        contents.keywords.clear();
    }
    return contents;
}

} // namespace vexa::aids
