// The named prefix keys shared by every keymap, read once at start from the prefix-key file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/KeyTable.h"

namespace vexa {

inline constexpr std::string_view kPrefixKeyFileName = "prefix.dat";
inline constexpr std::string_view kNoPrefixName = "(None)";

struct PrefixKey {
    KeyChord key;
    std::string name; // at most 9 characters

    friend bool operator==(const PrefixKey&, const PrefixKey&) = default;
};

class PrefixKeyList {
public:
    static constexpr std::size_t kMaxEntries = 28;
    static constexpr std::size_t kMaxNameLength = 9;
    // A line is read in pieces of at most this many characters; the rest of a longer line is
    // read as the next line.
    static constexpr std::size_t kMaxLineLength = 99;

    // The list holding only "(None)".
    PrefixKeyList();

    // Adds the entries of the prefix-key text after "(None)": comment lines (starting with '/',
    // ';' or '#') and lines without a name and two numbers are skipped; names keep 9 characters.
    void addFromText(std::string_view text);

    // Reads "prefix.dat" of the configuration directory; a missing file leaves the list as it is.
    void load(const std::string& configDirectory);

    const std::vector<PrefixKey>& entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }

    // The first entry with the key, "(None)" included; nullptr when none.
    const PrefixKey* find(KeyChord key) const;

private:
    void addLine(std::string_view line);

    std::vector<PrefixKey> m_entries;
};

} // namespace vexa
