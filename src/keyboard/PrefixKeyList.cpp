// Reading the prefix-key file into the list of named prefix keys.
#include "keyboard/PrefixKeyList.h"

#include <optional>

#include "keyboard/KeyboardTextFile.h"
#include "keyboard/TextScan.h"

namespace vexa {

PrefixKeyList::PrefixKeyList() {
    m_entries.push_back(PrefixKey{kNoPrefix, std::string(kNoPrefixName)});
}

void PrefixKeyList::addFromText(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size() && m_entries.size() < kMaxEntries) {
        // A line buffer of 100 bytes: a piece ends after its line feed or after 99 characters.
        std::size_t end = position;
        while (end < text.size() && end - position < kMaxLineLength) {
            if (text[end++] == '\n') {
                break;
            }
        }
        addLine(text.substr(position, end - position));
        position = end;
    }
}

void PrefixKeyList::addLine(std::string_view line) {
    if (line.empty() || line.front() == '/' || line.front() == ';' || line.front() == '#') {
        return;
    }
    TextScan scan(line);
    std::optional<std::string> name = scan.word();
    std::optional<int16_t> code = scan.shortNumber();
    std::optional<int16_t> modifiers = scan.shortNumber();
    if (!name || !code || !modifiers) {
        return;
    }
    if (name->size() > kMaxNameLength) {
        name->resize(kMaxNameLength);
    }
    m_entries.push_back(
        PrefixKey{{static_cast<uint16_t>(*code), static_cast<uint16_t>(*modifiers)}, std::move(*name)});
}

void PrefixKeyList::load(const std::string& configDirectory) {
    if (const std::optional<std::string> text =
            readKeyboardTextFile(configDirectory + std::string(kPrefixKeyFileName))) {
        addFromText(*text);
    }
}

const PrefixKey* PrefixKeyList::find(KeyChord key) const {
    for (const PrefixKey& entry : m_entries) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace vexa
