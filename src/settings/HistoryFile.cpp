// Reading, writing and updating the history of a dialog text box.
#include "settings/HistoryFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/AtomicFile.h"
#include "settings/BinaryFields.h"

namespace vexa {

bool HistoryFile::load(const std::string& path) {
    m_entries.clear();
    m_replaceIndex = 0;
    m_selected.reset();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return true; // no history yet
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parse(bytes);
}

bool HistoryFile::parse(std::string_view bytes) {
    m_entries.clear();
    m_replaceIndex = 0;
    m_selected.reset();
    FieldReader reader(std::span<const char>(bytes.data(), bytes.size()));
    uint8_t index = 0;
    uint8_t count = 0;
    if (!reader.u8(index) || !reader.u8(count)) {
        return bytes.empty();
    }
    // A damaged index or count must not lead outside the three slots.
    bool whole = index < kMaxEntries && count <= kMaxEntries;
    m_replaceIndex = index < kMaxEntries ? index : 0;
    const std::size_t wanted = std::min<std::size_t>(count, kMaxEntries);
    for (std::size_t i = 0; i < wanted; ++i) {
        uint8_t length = 0;
        std::string text;
        if (!reader.u8(length) || length > kMaxEntryLength) {
            return false;
        }
        text.resize(length);
        uint8_t terminator = 0;
        if (!reader.bytes(std::span<char>(text.data(), text.size())) || !reader.u8(terminator)) {
            return false;
        }
        whole = whole && terminator == 0;
        m_entries.push_back(std::move(text));
    }
    return whole;
}

std::string HistoryFile::serialize() const {
    FieldWriter writer;
    writer.u8(static_cast<uint8_t>(m_replaceIndex));
    writer.u8(static_cast<uint8_t>(m_entries.size()));
    for (const std::string& entry : m_entries) {
        const std::size_t length = std::min(entry.size(), kMaxEntryLength);
        writer.u8(static_cast<uint8_t>(length));
        writer.bytes(std::span<const char>(entry.data(), length));
        writer.u8(0);
    }
    return writer.take();
}

bool HistoryFile::save(const std::string& path) const {
    return platform::writeFileAtomically(path, serialize());
}

void HistoryFile::enter(std::string_view text) {
    if (text.empty()) {
        m_selected.reset();
        return;
    }
    const auto same = std::find(m_entries.begin(), m_entries.end(), text);
    if (same != m_entries.end()) {
        m_selected = static_cast<std::size_t>(same - m_entries.begin());
        return;
    }
    if (m_entries.size() < kMaxEntries) {
        m_entries.emplace_back(text);
        m_selected = m_entries.size() - 1;
    } else {
        m_entries[m_replaceIndex] = std::string(text);
        m_selected = m_replaceIndex;
    }
    m_replaceIndex = (m_replaceIndex + 1) % kMaxEntries;
}

} // namespace vexa
