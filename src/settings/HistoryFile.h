// The last few texts of one dialog text box, kept in a small binary history file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

inline constexpr std::string_view kFindHistoryFile = "VexaFnd.his";
inline constexpr std::string_view kReplaceHistoryFile = "VexaRep.his";

// File layout: byte 0 the slot the next new entry replaces (0 to 2), byte 1 the entry count,
// then per entry a length byte L, L bytes of text and a NUL.
class HistoryFile {
public:
    static constexpr std::size_t kMaxEntries = 3;
    static constexpr std::size_t kMaxEntryLength = 254;

    // Reads the file; a missing file gives an empty history. A damaged one gives the entries
    // that could be read whole, and false.
    bool load(const std::string& path);
    // Replaces the file atomically; false when it could not be written.
    [[nodiscard]] bool save(const std::string& path) const;

    // The bytes the file holds, and the history made from such bytes (see load).
    [[nodiscard]] std::string serialize() const;
    bool parse(std::string_view bytes);

    // Enters a text as a text box does when its text is used: an equal entry is selected;
    // otherwise it is added while there are fewer than three entries, or replaces the entry in
    // the slot of the replace index; the new entry is selected and the index moves on. An
    // empty text selects nothing.
    void enter(std::string_view text);

    [[nodiscard]] const std::vector<std::string>& entries() const { return m_entries; }
    // Rewrites every entry through `convert` (entries written in an older form, read in a newer).
    template <typename Convert>
    void convertEntries(Convert&& convert) {
        for (std::string& entry : m_entries) {
            entry = convert(std::string_view(entry));
        }
    }
    [[nodiscard]] std::size_t replaceIndex() const { return m_replaceIndex; }
    [[nodiscard]] std::optional<std::size_t> selected() const { return m_selected; }

private:
    std::vector<std::string> m_entries;
    std::size_t m_replaceIndex = 0;
    std::optional<std::size_t> m_selected;
};

} // namespace vexa
