// The text of a settings file in memory: bracketed sections, key=value lines, comments kept.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// Holds the lines of a settings file as they are, so a change rewrites one line and keeps every
// other section, key, comment and blank line.
//
// Reading rules: section and key names compare without regard to ASCII case and without their
// surrounding blanks; a value is trimmed, and a value enclosed in a matching pair of double or
// single quotes loses them. Lines starting with ';' are comments, lines without '=' and lines
// before the first section are ignored. When a section or a key appears twice, the first key
// found in file order wins, and that is also the line a change rewrites.
class SettingsText {
public:
    SettingsText() = default;
    // Any bytes at all make a defined text: lines end at '\n', a '\r' before it belongs to the
    // line end.
    static SettingsText parse(std::string_view bytes);

    // The raw value, or nothing when the key is absent.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // The value cut to size - 1 bytes (size counts the terminator of the original fixed
    // buffers), or the default when the key is absent.
    std::string getString(std::string_view section, std::string_view key, std::string_view defaultValue,
                          size_t size) const;

    // The leading decimal number of the value (an optional sign, then digits; 0 when there are
    // none; clamped to the int range), or the default when the key is absent or empty.
    int getInteger(std::string_view section, std::string_view key, int defaultValue) const;

    // Sets a key, rewriting its line, adding it to its section or adding the section at the
    // end. Line breaks in the value become blanks so they cannot start lines of their own; a
    // value with blanks at its edges or enclosing quotes is written quoted, so it reads back
    // exactly.
    // False, with nothing changed, for names that cannot be written as a line (an empty key,
    // a key with '=', a section with ']', a line break in either).
    [[nodiscard]] bool putString(std::string_view section, std::string_view key, std::string_view value);
    [[nodiscard]] bool putInteger(std::string_view section, std::string_view key, int value);

    // True when a section of that name is present.
    bool hasSection(std::string_view section) const;

    // The bytes of the file: every line ended with the line end the text was read with ("\n"
    // for a new text).
    std::string serialize() const;

    size_t lineCount() const { return m_lines.size(); }

private:
    struct Location {
        size_t line;
        size_t keyEnd; // where the key's text ends, before any blanks and the '='
    };
    std::optional<Location> locate(std::string_view section, std::string_view key) const;

    std::vector<std::string> m_lines;
    std::string m_lineEnd = "\n";
};

} // namespace vexa
