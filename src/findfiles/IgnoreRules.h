// The rules of one ignore file (".gitignore"): which paths below its folder a folder search leaves
// out.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::findfiles {

// One step of a compiled glob.
struct GlobToken {
    enum class Kind : uint8_t { Byte, AnyOne, Set, Star, AnyText, Folders };
    Kind kind = Kind::Byte;
    char byte = 0;
    // For a set: its members, and whether they are the ones it does not match.
    std::bitset<256> members;
    bool negated = false;
};

// What the rules of one file say about a path: nothing, leave it out, or keep it (a "!" rule).
enum class IgnoreVerdict : uint8_t { None, Ignore, Keep };

// Whether the path names a folder: a rule ending in "/" applies to folders only.
enum class PathKind : uint8_t { File, Folder };

class IgnoreRules {
public:
    // Lines and rules past these bounds are not read: an ignore file is hand-written text, and the
    // bounds keep the work of matching every path against it small whatever the file holds.
    static constexpr std::size_t kMaxRules = 4096;
    static constexpr std::size_t kMaxPatternBytes = 1024;

    // Reads the text of an ignore file: one pattern a line; blank lines and lines starting with
    // "#" say nothing; "!" keeps what an earlier rule left out; a leading "\" makes "#" or "!"
    // ordinary; trailing blanks go unless escaped; a "/" at the end limits the rule to folders;
    // a "/" at the start or in the middle anchors it to the ignore file's folder, otherwise it
    // matches a name at any depth. "*" and "?" never match "/", "[...]" is a set, "**" between
    // slashes spans any number of folders.
    [[nodiscard]] static IgnoreRules parse(std::string_view text);

    // The verdict of the last rule matching a path written relative to the ignore file's folder
    // with "/" between its names.
    [[nodiscard]] IgnoreVerdict verdict(std::string_view relativePath, PathKind kind) const;

    [[nodiscard]] bool empty() const { return m_rules.empty(); }
    [[nodiscard]] std::size_t size() const { return m_rules.size(); }

private:
    struct Rule {
        std::vector<GlobToken> glob;
        bool negated = false;
        bool foldersOnly = false;
        bool anchored = false;
    };
    std::vector<Rule> m_rules;
};

// Whether a whole text matches an ignore-file glob: "*" and "?" stay within one name, "[...]" is
// a set ("!" or "^" negates, ranges allowed), "\" escapes, "**/" spans zero or more folders and
// "**" elsewhere any text. Work and memory grow with the product of the two lengths, never more.
[[nodiscard]] bool matchesGlob(std::string_view pattern, std::string_view text);

} // namespace vexa::findfiles
