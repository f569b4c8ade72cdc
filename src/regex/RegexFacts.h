// What a compiled program says about every possible match, derived once when it is compiled, so
// that lines which cannot match are turned away with a few byte scans; and which nodes the
// interpreter remembers failures for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vexa {

// A set of byte values.
class ByteSet {
public:
    void add(uint8_t c) { m_bits[c >> 6] |= uint64_t{1} << (c & 63); }
    [[nodiscard]] bool has(uint8_t c) const { return (m_bits[c >> 6] >> (c & 63) & 1) != 0; }
    void addAll(const ByteSet& other) {
        for (std::size_t i = 0; i < m_bits.size(); ++i) {
            m_bits[i] |= other.m_bits[i];
        }
    }
    [[nodiscard]] int size() const;
    // The members in increasing order.
    [[nodiscard]] std::string members() const;

private:
    std::array<uint64_t, 4> m_bits{};
};

// The facts of one case mode: comparing exactly, or independently of case.
struct RegexCaseFacts {
    // Every match begins with one of these bytes (so never at the end of the line).
    bool hasFirstBytes = false;
    ByteSet firstBytes;
    // The same members when there are at most a few, for memchr; empty otherwise.
    std::string fewFirstBytes;
    // Every match contains at least one of these bytes; empty when no short such set is known.
    std::string requiredBytes;
};

struct RegexFacts {
    // False when the program could not be analysed; then only the interpreter decides.
    bool known = false;
    // The fewest bytes any match spans.
    int minimumLength = 0;
    // Every match passes a line-start node, so it can only start at the line's first byte.
    bool startsAtLineStart = false;
    // A literal every match contains, compared under the case mode; empty when there is none.
    std::string requiredLiteral;
    // [0] comparing exactly, [1] independently of case.
    std::array<RegexCaseFacts, 2> byCase;
};

// The decoded operands of a program: per byte offset of a node the length of its literal, the
// index of its set tables, or 0; -1 where no node starts.
struct RegexSetTables {
    std::array<bool, 256> exact{};
    std::array<bool, 256> folded{};
};

// A set of characters of UTF-8 text, by code point. A byte that is no part of a valid sequence is
// a character of its own, numbered kRegexInvalidByteBase plus its value, so that a set can name
// it without matching any real character.
inline constexpr char32_t kRegexInvalidByteBase = 0x110000;

// The operand layout of a character-set node: UTF-8's bit layout, of one to four bytes, carried on
// to the invalid-byte numbers; never a NUL byte. Reading takes any byte that does not begin a
// whole such form as a character of its own.
int encodeOperandCharacter(char32_t c, uint8_t (&out)[4]);
char32_t decodeOperandCharacter(const uint8_t* bytes, std::size_t available, std::size_t& length);

class RegexCharacterSet {
public:
    // Adds the characters from `first` to `last`.
    void add(char32_t first, char32_t last);
    // Sorts and joins the ranges and fills the ASCII tables; called once all are added.
    void finish();

    [[nodiscard]] bool has(char32_t c, bool ignoreCase) const;
    // The bytes a character of the set can begin with.
    [[nodiscard]] std::array<bool, 256> leadBytes(bool ignoreCase) const;

private:
    [[nodiscard]] bool hasExactly(char32_t c) const;

    std::vector<std::pair<char32_t, char32_t>> m_ranges;
    std::array<bool, 128> m_ascii{};
    std::array<bool, 128> m_asciiFolded{};
};

// Derives the facts of a program made by the compiler. Nothing is claimed (known stays false)
// when a node links outside the decoded nodes or the program is too large to analyse cheaply.
// For a program over UTF-8 text, independence of case covers the Latin letters too.
[[nodiscard]] RegexFacts analyseProgram(const std::vector<uint8_t>& code,
                                        const std::vector<int32_t>& operandInfo,
                                        const std::vector<RegexSetTables>& sets,
                                        const std::vector<RegexCharacterSet>& characterSets, bool utf8);

// The nodes at which the interpreter remembers failed positions: every branch, every star and
// plus, and the node after each star and plus, where paths that took different routes meet
// again. Gives per byte offset the node's index among them, or -1; `count` their number.
[[nodiscard]] std::vector<int32_t> rememberedNodes(const std::vector<uint8_t>& code,
                                                   const std::vector<int32_t>& operandInfo, int& count);

} // namespace vexa
