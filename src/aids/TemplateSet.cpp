// One set of electric templates and its records.
#include "aids/TemplateSet.h"

#include <algorithm>
#include <cctype>

#include "settings/BinaryFields.h"
#include "text/TextEncoding.h"

namespace vexa::aids {
namespace {

unsigned char lowerByte(char c) {
    return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

TemplateSet TemplateSet::makeNew(std::string_view name) {
    TemplateSet set;
    set.name = cutTemplateText(name, kTemplateNameWidth - 1);
    return set;
}

TemplateSet TemplateSet::makeDefault() {
    TemplateSet set = makeNew(kDefaultSetName);
    set.description = std::string(kDefaultSetDescription);
    set.isDefault = true;
    return set;
}

int TemplateSet::compare(std::string_view a, std::string_view b) const {
    const std::size_t length = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i) {
        // A shorter text reads as ending in NUL, so it sorts before its extensions.
        unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        if (ignoreCase) {
            ca = lowerByte(static_cast<char>(ca));
            cb = lowerByte(static_cast<char>(cb));
        }
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return 0;
}

void TemplateSet::sortEntries() {
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [this](const TemplateEntry& x, const TemplateEntry& y) {
                         return compare(x.abbreviation, y.abbreviation) < 0;
                     });
}

void TemplateSet::setEntries(std::vector<TemplateEntry> entries) {
    m_entries.clear();
    for (TemplateEntry& entry : entries) {
        putEntry(std::move(entry));
    }
}

void TemplateSet::putEntry(TemplateEntry entry) {
    entry.abbreviation = cutTemplateText(entry.abbreviation, kMaxAbbreviation);
    entry.expansion = cutTemplateText(entry.expansion, kMaxExpansion);
    for (TemplateEntry& existing : m_entries) {
        if (existing.abbreviation == entry.abbreviation) {
            existing = std::move(entry);
            return;
        }
    }
    m_entries.push_back(std::move(entry));
    sortEntries();
}

bool TemplateSet::removeEntry(std::string_view abbreviation) {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const TemplateEntry& e) { return e.abbreviation == abbreviation; });
    if (found == m_entries.end()) {
        return false;
    }
    m_entries.erase(found);
    return true;
}

const TemplateEntry* TemplateSet::lookup(std::string_view abbreviation) const {
    std::size_t low = 0;
    std::size_t high = m_entries.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const int order = compare(abbreviation, m_entries[middle].abbreviation);
        if (order == 0) {
            const TemplateEntry& entry = m_entries[middle];
            return entry.abbreviation.size() == abbreviation.size() ? &entry : nullptr;
        }
        if (order < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return nullptr;
}

std::string cutTemplateText(std::string_view text, std::size_t limit) {
    text = text.substr(0, text.find('\0'));
    if (text.size() > limit) {
        // A UTF-8 text loses whole characters, so what stays is still read as UTF-8.
        const bool utf8 = text::checkUtf8(text).valid;
        const int keep = utf8 ? text::characterStart(text, static_cast<int>(limit), TextEncoding::Utf8)
                              : static_cast<int>(limit);
        text = text.substr(0, static_cast<std::size_t>(keep));
    }
    return std::string(text);
}

std::string templateFileName(std::string_view setName) {
    const std::string_view key = setName == kDefaultSetName ? kDefaultSetKey : setName.substr(0, 3);
    return upper("Vexa" + std::string(key) + ".TPL");
}

std::string encodeTemplateBody(const TemplateSet& set) {
    FieldWriter out;
    out.fixedString(set.name, kTemplateNameWidth);
    out.fixedString(set.description, kTemplateDescriptionWidth);
    out.u16(set.isDefault ? 1 : 0);
    out.u16(set.useDefaultTemplates ? 1 : 0);
    out.u16(set.ignoreCase ? 1 : 0);
    TemplateSet sorted = set;
    sorted.sortEntries();
    out.u16(static_cast<uint16_t>(std::min<std::size_t>(sorted.entries().size(), UINT16_MAX)));
    std::size_t written = 0;
    for (const TemplateEntry& entry : sorted.entries()) {
        if (written++ == UINT16_MAX) {
            break;
        }
        const std::string abbreviation = cutTemplateText(entry.abbreviation, kMaxAbbreviation);
        out.u16(static_cast<uint16_t>(abbreviation.size()));
        out.fixedString(abbreviation, kAbbreviationWidth);
        out.fixedString(cutTemplateText(entry.expansion, kMaxExpansion), kExpansionWidth);
    }
    return out.take();
}

TemplateRead decodeTemplateBody(std::span<const char> body, bool entriesReadable, TemplateSet& set) {
    FieldReader in(body);
    std::string name;
    std::string description;
    uint16_t isDefault = 0;
    uint16_t useDefault = 0;
    uint16_t ignoreCase = 0;
    uint16_t count = 0;
    in.fixedString(kTemplateNameWidth, name);
    in.fixedString(kTemplateDescriptionWidth, description);
    in.u16(isDefault);
    in.u16(useDefault);
    in.u16(ignoreCase);
    in.u16(count);
    if (in.failed()) {
        return TemplateRead::Truncated;
    }
    set.name = cutTemplateText(name, kTemplateNameWidth - 1);
    set.description = cutTemplateText(description, kMaxTemplateDescription);
    set.isDefault = isDefault != 0;
    set.useDefaultTemplates = useDefault != 0;
    set.ignoreCase = ignoreCase != 0;
    std::vector<TemplateEntry> entries;
    TemplateRead result = TemplateRead::Ok;
    for (uint16_t i = 0; i < count; ++i) {
        if (!entriesReadable) {
            entries.emplace_back();
            continue;
        }
        uint16_t length = 0;
        std::string abbreviation;
        std::string expansion;
        in.u16(length);
        in.fixedString(kAbbreviationWidth, abbreviation);
        in.fixedString(kExpansionWidth, expansion);
        if (in.failed()) {
            result = TemplateRead::Truncated;
            break;
        }
        // The text up to its NUL is what the entry holds; the stored length is only trusted when
        // it agrees.
        entries.push_back(TemplateEntry{cutTemplateText(abbreviation, kMaxAbbreviation),
                                        cutTemplateText(expansion, kMaxExpansion)});
    }
    set.setEntries(std::move(entries));
    return result;
}

} // namespace vexa::aids
