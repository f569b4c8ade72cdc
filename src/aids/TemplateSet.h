// One set of electric templates: the abbreviations of one file extension (or the default set) and
// the text each one expands to, with its file form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::aids {

inline constexpr std::size_t kTemplateNameWidth = 10;
inline constexpr std::size_t kTemplateDescriptionWidth = 35;
inline constexpr std::size_t kAbbreviationWidth = 11;
inline constexpr std::size_t kExpansionWidth = 1025;
inline constexpr std::size_t kTemplateEntrySize = 2 + kAbbreviationWidth + kExpansionWidth; // 1038
inline constexpr std::size_t kMaxAbbreviation = kAbbreviationWidth - 1;                     // 10
inline constexpr std::size_t kMaxExpansion = kExpansionWidth - 1;                           // 1024
inline constexpr std::size_t kMaxTemplateDescription = kTemplateDescriptionWidth - 1;       // 34
inline constexpr std::string_view kDefaultSetName = "<Default>";
inline constexpr std::string_view kDefaultSetDescription = "Default Templates";
// The file key of the default set in "Vexa%s.TPL".
inline constexpr std::string_view kDefaultSetKey = "VDT";

struct TemplateEntry {
    std::string abbreviation; // at most 10 bytes
    std::string expansion;    // at most 1024 bytes
    bool operator==(const TemplateEntry&) const = default;
};

class TemplateSet {
public:
    std::string name;
    std::string description;
    bool isDefault = false;
    bool useDefaultTemplates = true;
    bool ignoreCase = false;

    // A new set of the given name; the default set gets its description and flag.
    static TemplateSet makeNew(std::string_view name);
    static TemplateSet makeDefault();

    const std::vector<TemplateEntry>& entries() const { return m_entries; }
    // Replaces the entries: each is cut to its field widths and the list is kept sorted.
    void setEntries(std::vector<TemplateEntry> entries);
    // Adds or replaces the entry of the same abbreviation.
    void putEntry(TemplateEntry entry);
    bool removeEntry(std::string_view abbreviation);
    // The entry whose abbreviation equals the text exactly (by the set's case rule).
    const TemplateEntry* lookup(std::string_view abbreviation) const;

    // The order of abbreviations: byte by byte over the longer one, by the set's case rule.
    int compare(std::string_view a, std::string_view b) const;
    void sortEntries();

    bool operator==(const TemplateSet&) const = default;

private:
    std::vector<TemplateEntry> m_entries;
};

// A template text cut at its first NUL and to at most limit bytes; a UTF-8 text is cut before a
// character rather than inside one.
std::string cutTemplateText(std::string_view text, std::size_t limit);

// The file name "Vexa%s.TPL" for a set name (its first three characters, upper-cased); the
// default set uses the key "VDT".
std::string templateFileName(std::string_view setName);

// The records after the info-file header.
std::string encodeTemplateBody(const TemplateSet& set);

// The outcome of reading the records of a set.
enum class TemplateRead : uint8_t { Ok, Truncated };

// Reads the records after the header into the set. With entriesReadable false (a newer file
// version) every entry is taken as empty, as the count says. A short body keeps the fields and
// entries read before the end and answers Truncated. Entries are cut at their NULs and sorted.
TemplateRead decodeTemplateBody(std::span<const char> body, bool entriesReadable, TemplateSet& set);

} // namespace vexa::aids
