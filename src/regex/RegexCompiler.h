// Turns a pattern into a byte program in two passes: one to size it, one to emit it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "regex/RegexProgram.h"

namespace vexa {

class RegexCompiler {
public:
    explicit RegexCompiler(std::string_view pattern, TextEncoding encoding = TextEncoding::Windows1252);

    // The program, or nothing with the engine's message in `error`.
    [[nodiscard]] std::optional<RegexProgram> compile(std::string* error);

private:
    // Node handles: a byte offset in the program while emitting; kDummy while only sizing.
    static constexpr int kFailed = -1;
    static constexpr int kDummy = -2;
    static constexpr int kNoNode = -3;

    void restart(bool emitting);
    [[nodiscard]] char peek() const { return m_pos < m_pattern.size() ? m_pattern[m_pos] : '\0'; }
    [[nodiscard]] bool atEnd() const { return m_pos >= m_pattern.size(); }
    int fail(const char* message);

    int parseExpression(bool inGroup, int& flags);
    int parseBranch(int& flags);
    int parsePiece(int& flags);
    int parseAtom(int& flags);
    int parseSet();
    // A set in a UTF-8 pattern: by characters when it is negated or names a non-ASCII one.
    int parseCharacterSet();
    int parseLiteralRun(std::size_t from, int& flags);
    int parseCharacterRun(std::size_t from, int& flags);
    int emitCharacterSet(RegexOp kind, const std::vector<std::pair<char32_t, char32_t>>& ranges);

    int emitNode(uint8_t op);
    void emitByte(uint8_t byte);
    void insertNode(uint8_t op, int before);
    void linkTail(int chain, int target);
    void linkOperandTail(int branch, int target);
    [[nodiscard]] int nextOf(int node) const;
    void setOptimisationFacts(RegexProgram& program, int topFlags) const;

    std::string_view m_pattern;
    bool m_utf8 = false;
    std::size_t m_pos = 0;
    int m_groups = 1;
    bool m_emitting = false;
    std::size_t m_size = 0;
    std::vector<uint8_t> m_code;
    std::string m_error;
};

} // namespace vexa
