// A compiled regular expression: the byte program, its optimisation facts and the interpreter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegexFacts.h"
#include "text/TextEncoding.h"

namespace vexa {

// The node opcodes of the byte program. Open and Close carry the group number added to them.
enum class RegexOp : uint8_t {
    End = 0,
    LineStart = 1,
    LineEnd = 2,
    Any = 3,
    AnyOf = 4,
    AnyBut = 5,
    Branch = 6,
    Back = 7,
    Exactly = 8,
    Nothing = 9,
    Star = 10,
    Plus = 11,
    WordStart = 12,
    WordEnd = 13,
    // Over UTF-8 text: one whole character, and one whole character in or not in a set of
    // characters (the operand: first and last character of each range, each in the UTF-8
    // layout extended to the invalid-byte numbers, ended by a NUL).
    AnyCharacter = 14,
    CharacterIn = 15,
    CharacterNotIn = 16,
    Open = 20,
    Close = 30,
};

inline constexpr uint8_t kRegexMagic = 156;
inline constexpr int kRegexSlots = 10; // entry 0 the whole match, 1 to 9 the groups
inline constexpr std::size_t kRegexMaxProgramBytes = 32767;

// Byte positions in the subject of the whole match (slot 0) and of each group (slots 1 to 9);
// -1 where a group took no part in the match.
struct RegexMatch {
    std::array<int, kRegexSlots> start{};
    std::array<int, kRegexSlots> end{};
    [[nodiscard]] int length(int slot = 0) const { return end[slot] - start[slot]; }
};

// Why an execution found nothing: a plain miss, an engine error, or the work bound reached.
enum class RegexOutcome : uint8_t { Match, NoMatch, Error, Exhausted };

// Lets a caller bound the work of many executions together (one search over a document) and end
// them early. An execution reports its steps to it in chunks of kRegexWorkChunk, and once more
// with the rest when it ends; a false answer during the run ends that execution as Exhausted.
class RegexWorkLimit {
public:
    virtual ~RegexWorkLimit() = default;
    [[nodiscard]] virtual bool proceed(std::size_t steps) = 0;
};

inline constexpr std::size_t kRegexWorkChunk = std::size_t{1} << 14;

class RegexProgram {
public:
    // Compiles a pattern (it ends at its first NUL) for text in one encoding. On failure gives
    // nothing and, when asked, the engine's message ("unmatched ()", ...).
    //
    // For Windows-1252 every byte is a character. For UTF-8 the pattern is read as UTF-8 too:
    // "." and a negated set match one whole character (a valid sequence, or one byte that is
    // none), a set naming non-ASCII characters matches a whole character by its code point,
    // a literal character matches its bytes, and ignoring case folds the Latin letters as well
    // as ASCII. Every match then starts and ends where characters do.
    [[nodiscard]] static std::optional<RegexProgram>
    compile(std::string_view pattern, std::string* error = nullptr,
            TextEncoding encoding = TextEncoding::Windows1252);
    // The C form of the above: a null pattern fails with "NULL argument".
    [[nodiscard]] static std::optional<RegexProgram> compile(const char* pattern,
                                                             std::string* error = nullptr);

    // A program made of given bytes, without optimisation facts; the interpreter checks every
    // byte it reads, so even a damaged program is safe to run.
    [[nodiscard]] static RegexProgram fromBytes(std::vector<uint8_t> bytes);

    // Runs the program against one line (it ends at its first NUL), leftmost and first-path.
    // The ignore-case flag of the engine applies. On a match fills `match` when given. With
    // `from`, only matches starting there or later are tried, while line start and word start
    // still see the whole line. With a work limit, the steps are reported to it.
    //
    // Within one execution a node that failed at a position is never tried there again: with no
    // back-references, whether the rest of the program matches from a node depends only on the
    // node and the position. So the work grows with program size times line length, never
    // exponentially, and the first successful path (and so every group) is the one plain
    // backtracking finds.
    [[nodiscard]] RegexOutcome execute(std::string_view subject, RegexMatch* match = nullptr,
                                       std::string* error = nullptr, std::size_t from = 0,
                                       RegexWorkLimit* limit = nullptr) const;
    // The C form of the above: a null subject fails with "NULL parameter".
    [[nodiscard]] RegexOutcome execute(const char* subject, RegexMatch* match = nullptr,
                                       std::string* error = nullptr) const;
    [[nodiscard]] bool matches(std::string_view subject, RegexMatch* match = nullptr) const {
        return execute(subject, match) == RegexOutcome::Match;
    }

    [[nodiscard]] const std::vector<uint8_t>& bytes() const { return m_bytes; }
    [[nodiscard]] TextEncoding encoding() const {
        return m_utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    }
    // The first character of a single alternative that begins with a literal, else 0.
    [[nodiscard]] uint8_t firstCharacter() const { return m_firstCharacter; }
    [[nodiscard]] bool isAnchored() const { return m_anchored; }
    // The literal every match must contain, empty when there is none.
    [[nodiscard]] std::string_view mustHave() const;
    // What every match needs, derived from the whole program (unknown for raw programs).
    [[nodiscard]] const RegexFacts& facts() const { return m_facts; }

    // Bounds of one execution. A match that needs more backtracking state or more steps than
    // this is reported as Exhausted, which every caller treats as no match.
    static constexpr std::size_t kMaxBacktrackEntries = 1u << 20;
    static constexpr std::size_t kMaxSteps = 20'000'000;
    // The failures remembered in one execution take at most this many bits (remembered nodes
    // times line length); beyond it only the bounds above hold the work in check.
    static constexpr std::size_t kMaxRememberedBits = std::size_t{1} << 26;
    // Failures are remembered once an execution has taken this many steps, so that ordinary
    // lines pay nothing for the bookkeeping; tests lower it to check the bookkeeping on every run.
    static constexpr std::size_t kRememberAfterSteps = 256;
    void setRememberAfterSteps(std::size_t steps) { m_rememberAfterSteps = steps; }

private:
    RegexProgram() = default;
    friend class RegexCompiler;

    // Records the operand of every node reachable by a linear walk, so that the interpreter
    // finds literal lengths and set tables without scanning, and chooses the nodes whose
    // failures are remembered.
    void decodeOperands();
    // Derives the facts; only for programs made by the compiler.
    void analyse();

    std::vector<uint8_t> m_bytes;
    uint8_t m_firstCharacter = 0;
    bool m_anchored = false;
    std::size_t m_mustOffset = 0;
    std::size_t m_mustLength = 0;
    // Per byte offset of a node: for a literal its length, for a set the index of its tables
    // (byte sets in m_sets, character sets in m_characterSets); -1 where no node was decoded.
    std::vector<int32_t> m_operandInfo;
    // For each set node: membership of every byte, as written and independent of case.
    std::vector<RegexSetTables> m_sets;
    // For each character-set node its characters.
    std::vector<RegexCharacterSet> m_characterSets;
    bool m_utf8 = false;
    // Per byte offset of a node: its index among the remembered nodes, or -1.
    std::vector<int32_t> m_rememberedIndex;
    int m_rememberedCount = 0;
    std::size_t m_rememberAfterSteps = kRememberAfterSteps;
    RegexFacts m_facts;

    friend class RegexInterpreter;
};

} // namespace vexa
