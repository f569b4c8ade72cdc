// The former interpreter of the regular-expression engine, unchanged in behaviour: leftmost,
// first-path backtracking without recursion, bounded in memory and in steps.
#include "regex/LegacyRegexInterpreter.h"

#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace vexa::test {

namespace {

// Per byte offset of a node: for a literal its length, for a set the index of its tables.
struct SetTables {
    std::array<bool, 256> exact{};
    std::array<bool, 256> folded{};
};
struct Operands {
    std::vector<int32_t> operandInfo;
    std::vector<SetTables> sets;
};

} // namespace

namespace {

constexpr int kNoNode = -1;
constexpr int kNodeHeader = 3;

constexpr std::array<uint8_t, 256> kFolded = [] {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] = static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return table;
}();

// Codes above 127 are never word characters.
constexpr bool isWordCharacter(uint8_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

constexpr uint8_t op(RegexOp value) {
    return static_cast<uint8_t>(value);
}

} // namespace

// One execution of a program against one subject. The backtracking state lives in an explicit
// stack instead of the call stack, so neither a long line under a loop nor deeply nested groups
// can overflow anything; both the stack and the number of steps are bounded.
class LegacyInterpreter {
public:
    LegacyInterpreter(const Operands& program, const std::vector<uint8_t>& bytes, const uint8_t* subject,
                      int length, bool ignoreCase, std::size_t maxSteps)
        : m_program(program), m_code(bytes.data()), m_codeSize(static_cast<int>(bytes.size())),
          m_subject(subject), m_length(length), m_ignoreCase(ignoreCase), m_maxSteps(maxSteps) {}

    // Tries the program at one position; false on a miss or when the run was aborted.
    bool tryAt(int position);

    [[nodiscard]] bool aborted() const { return m_outcome != RegexOutcome::Match; }
    [[nodiscard]] RegexOutcome outcome() const { return m_outcome; }
    [[nodiscard]] const char* errorMessage() const { return m_error; }
    [[nodiscard]] const RegexMatch& slots() const { return m_slots; }

private:
    enum class EntryKind : uint8_t { Alternative, Repeat, RestoreStart, RestoreEnd };
    struct Entry {
        int node;
        int position;
        int value; // the count of a repeat, the saved position of a restore
        EntryKind kind;
        uint8_t slot;
    };

    bool abort(RegexOutcome outcome, const char* message) {
        m_outcome = outcome;
        m_error = message;
        return false;
    }
    bool push(Entry entry) {
        if (m_stack.size() >= RegexProgram::kMaxBacktrackEntries) {
            return abort(RegexOutcome::Exhausted, nullptr);
        }
        m_stack.push_back(entry);
        return true;
    }
    [[nodiscard]] bool validNode(int node) const { return node >= 0 && node + kNodeHeader <= m_codeSize; }
    [[nodiscard]] int nextOf(int node) const {
        const int offset = (m_code[node + 1] << 8) | m_code[node + 2];
        if (offset == 0) {
            return kNoNode;
        }
        return m_code[node] == op(RegexOp::Back) ? node - offset : node + offset;
    }
    [[nodiscard]] bool isBranch(int node) const {
        return validNode(node) && m_code[node] == op(RegexOp::Branch);
    }
    [[nodiscard]] bool same(uint8_t a, uint8_t b) const {
        return a == b || (m_ignoreCase && kFolded[a] == kFolded[b]);
    }
    [[nodiscard]] int operandInfo(int node) const {
        return m_program.operandInfo[static_cast<std::size_t>(node)];
    }
    [[nodiscard]] bool inSet(int setIndex, uint8_t c) const {
        const auto& tables = m_program.sets[static_cast<std::size_t>(setIndex)];
        return m_ignoreCase ? tables.folded[c] : tables.exact[c];
    }
    bool literalAt(int node, int position, int& length);
    bool countRepeats(int operand, int position, int& count);
    // The largest count from `count` down to the minimum at which the rest can start, or -1.
    [[nodiscard]] int usableCount(int repeatNode, int position, int count) const;
    bool run(int node, int position);
    bool backtrack(int& node, int& position);

    const Operands& m_program;
    const uint8_t* m_code;
    int m_codeSize;
    const uint8_t* m_subject;
    int m_length;
    bool m_ignoreCase;
    std::size_t m_maxSteps;
    RegexMatch m_slots;
    std::vector<Entry> m_stack;
    std::size_t m_steps = 0;
    RegexOutcome m_outcome = RegexOutcome::Match;
    const char* m_error = nullptr;
};

bool LegacyInterpreter::tryAt(int position) {
    m_slots.start.fill(-1);
    m_slots.end.fill(-1);
    m_stack.clear();
    return run(1, position);
}

bool LegacyInterpreter::literalAt(int node, int position, int& length) {
    length = operandInfo(node);
    const uint8_t* operand = m_code + node + kNodeHeader;
    if (length > m_length - position) {
        return false;
    }
    const uint8_t* text = m_subject + position;
    if (!m_ignoreCase) {
        return std::memcmp(operand, text, static_cast<std::size_t>(length)) == 0;
    }
    for (int i = 0; i < length; ++i) {
        if (kFolded[operand[i]] != kFolded[text[i]]) {
            return false;
        }
    }
    return true;
}

bool LegacyInterpreter::countRepeats(int operand, int position, int& count) {
    count = 0;
    if (!validNode(operand) || operandInfo(operand) < 0) {
        return abort(RegexOutcome::Error, "corrupted pointers");
    }
    int p = position;
    switch (static_cast<RegexOp>(m_code[operand])) {
    case RegexOp::Any:
        p = m_length;
        break;
    case RegexOp::Exactly: {
        const uint8_t c = m_code[operand + kNodeHeader];
        while (p < m_length && same(c, m_subject[p])) {
            ++p;
        }
        break;
    }
    case RegexOp::AnyOf:
    case RegexOp::AnyBut: {
        const bool wanted = m_code[operand] == op(RegexOp::AnyOf);
        const int set = operandInfo(operand);
        while (p < m_length && inSet(set, m_subject[p]) == wanted) {
            ++p;
        }
        break;
    }
    default:
        return abort(RegexOutcome::Error, "internal foulup");
    }
    count = p - position;
    return true;
}

int LegacyInterpreter::usableCount(int repeatNode, int position, int count) const {
    const int minimum = m_code[repeatNode] == op(RegexOp::Star) ? 0 : 1;
    // When a literal follows, only counts that leave its first character next can succeed.
    const int next = nextOf(repeatNode);
    if (validNode(next) && m_code[next] == op(RegexOp::Exactly) && operandInfo(next) > 0) {
        const uint8_t wanted = m_code[next + kNodeHeader];
        while (count >= minimum &&
               !(position + count < m_length && same(m_subject[position + count], wanted))) {
            --count;
        }
    }
    return count >= minimum ? count : -1;
}

bool LegacyInterpreter::run(int node, int position) {
    for (;;) {
        if (++m_steps > m_maxSteps) {
            return abort(RegexOutcome::Exhausted, nullptr);
        }
        if (!validNode(node)) {
            return abort(RegexOutcome::Error, "corrupted pointers");
        }
        const uint8_t code = m_code[node];
        const int next = nextOf(node);
        bool ok = true;
        switch (code) {
        case op(RegexOp::End):
            m_slots.start[0] = -1; // filled by the caller's try position
            m_slots.end[0] = position;
            return true;
        case op(RegexOp::LineStart):
            ok = position == 0;
            break;
        case op(RegexOp::LineEnd):
            ok = position == m_length;
            break;
        case op(RegexOp::Any):
            ok = position < m_length;
            ++position;
            break;
        case op(RegexOp::AnyOf):
        case op(RegexOp::AnyBut): {
            const int set = operandInfo(node);
            if (set < 0) {
                return abort(RegexOutcome::Error, "corrupted pointers");
            }
            ok = position < m_length && inSet(set, m_subject[position]) == (code == op(RegexOp::AnyOf));
            ++position;
            break;
        }
        case op(RegexOp::Exactly): {
            if (operandInfo(node) < 0) {
                return abort(RegexOutcome::Error, "corrupted pointers");
            }
            int length = 0;
            ok = literalAt(node, position, length);
            position += length;
            break;
        }
        case op(RegexOp::Nothing):
        case op(RegexOp::Back):
            break;
        case op(RegexOp::Branch):
            // A branch without a following branch is no choice, only a way into its operand.
            if (isBranch(next) && !push({next, position, 0, EntryKind::Alternative, 0})) {
                return false;
            }
            node += kNodeHeader;
            continue;
        case op(RegexOp::Star):
        case op(RegexOp::Plus): {
            int count = 0;
            if (!countRepeats(node + kNodeHeader, position, count)) {
                return false;
            }
            count = usableCount(node, position, count);
            if (count >= 0) {
                if (!push({node, position, count, EntryKind::Repeat, 0})) {
                    return false;
                }
                position += count;
            } else {
                ok = false;
            }
            break;
        }
        case op(RegexOp::WordStart):
            ok = position < m_length && isWordCharacter(m_subject[position]) &&
                 (position == 0 || !isWordCharacter(m_subject[position - 1]));
            break;
        case op(RegexOp::WordEnd):
            ok = position >= m_length || !isWordCharacter(m_subject[position]);
            break;
        default:
            if (code > op(RegexOp::Open) && code < op(RegexOp::Open) + kRegexSlots) {
                // The last pass through a group on the successful path is the one that stays;
                // the old value comes back if this path fails.
                const int slot = code - op(RegexOp::Open);
                if (!push({0, 0, m_slots.start[slot], EntryKind::RestoreStart, static_cast<uint8_t>(slot)})) {
                    return false;
                }
                m_slots.start[slot] = position;
            } else if (code > op(RegexOp::Close) && code < op(RegexOp::Close) + kRegexSlots) {
                const int slot = code - op(RegexOp::Close);
                if (!push({0, 0, m_slots.end[slot], EntryKind::RestoreEnd, static_cast<uint8_t>(slot)})) {
                    return false;
                }
                m_slots.end[slot] = position;
            } else {
                return abort(RegexOutcome::Error, "memory corruption");
            }
            break;
        }
        if (ok) {
            node = next;
            continue;
        }
        if (!backtrack(node, position)) {
            return false;
        }
    }
}

bool LegacyInterpreter::backtrack(int& node, int& position) {
    while (!m_stack.empty()) {
        const Entry entry = m_stack.back();
        m_stack.pop_back();
        switch (entry.kind) {
        case EntryKind::RestoreStart:
            m_slots.start[entry.slot] = entry.value;
            break;
        case EntryKind::RestoreEnd:
            m_slots.end[entry.slot] = entry.value;
            break;
        case EntryKind::Alternative: {
            const int following = nextOf(entry.node);
            if (isBranch(following) && !push({following, entry.position, 0, EntryKind::Alternative, 0})) {
                return false;
            }
            node = entry.node + kNodeHeader;
            position = entry.position;
            return true;
        }
        case EntryKind::Repeat: {
            const int count = usableCount(entry.node, entry.position, entry.value - 1);
            if (count < 0) {
                break;
            }
            if (!push({entry.node, entry.position, count, EntryKind::Repeat, 0})) {
                return false;
            }
            node = nextOf(entry.node);
            position = entry.position + count;
            return true;
        }
        }
    }
    return false;
}

namespace {

Operands decodeOperands(const std::vector<uint8_t>& bytes) {
    Operands operands;
    operands.operandInfo.assign(bytes.size(), -1);
    std::size_t at = 1;
    while (at + kNodeHeader <= bytes.size()) {
        const uint8_t code = bytes[at];
        const std::size_t operand = at + kNodeHeader;
        if (code != op(RegexOp::Exactly) && code != op(RegexOp::AnyOf) && code != op(RegexOp::AnyBut)) {
            operands.operandInfo[at] = 0;
            at = operand;
            continue;
        }
        const void* terminator = std::memchr(bytes.data() + operand, 0, bytes.size() - operand);
        if (terminator == nullptr) {
            return operands;
        }
        const auto length =
            static_cast<std::size_t>(static_cast<const uint8_t*>(terminator) - bytes.data()) - operand;
        if (code == op(RegexOp::Exactly)) {
            operands.operandInfo[at] = static_cast<int32_t>(length);
        } else {
            SetTables tables;
            for (std::size_t i = operand; i < operand + length; ++i) {
                const uint8_t c = bytes[i];
                tables.exact[c] = true;
                tables.folded[c] = true;
                tables.folded[kFolded[c]] = true;
                if (c >= 'a' && c <= 'z') {
                    tables.folded[static_cast<uint8_t>(c - ('a' - 'A'))] = true;
                }
            }
            operands.operandInfo[at] = static_cast<int32_t>(operands.sets.size());
            operands.sets.push_back(tables);
        }
        at = operand + length + 1;
    }
    return operands;
}

} // namespace

RegexOutcome legacyExecute(const RegexProgram& program, std::string_view subject, RegexMatch* match,
                           std::size_t from, bool ignoreCase, std::size_t maxSteps) {
    const std::vector<uint8_t>& bytes = program.bytes();
    if (bytes.empty() || bytes[0] != kRegexMagic) {
        return RegexOutcome::Error;
    }
    subject = subject.substr(0, subject.find('\0'));
    const auto* text = reinterpret_cast<const uint8_t*>(subject.data());
    const int length = static_cast<int>(subject.size());
    if (from > subject.size()) {
        return RegexOutcome::NoMatch;
    }
    const int first = static_cast<int>(from);
    auto same = [ignoreCase](uint8_t a, uint8_t b) {
        return a == b || (ignoreCase && kFolded[a] == kFolded[b]);
    };

    const std::string_view must = program.mustHave();
    if (!must.empty()) {
        const auto* needle = reinterpret_cast<const uint8_t*>(must.data());
        const int needleLength = static_cast<int>(must.size());
        bool found = false;
        for (int i = 0; i + needleLength <= length && !found; ++i) {
            int j = 0;
            while (j < needleLength && same(text[i + j], needle[j])) {
                ++j;
            }
            found = j == needleLength;
        }
        if (!found) {
            return RegexOutcome::NoMatch;
        }
    }

    const Operands operands = decodeOperands(bytes);
    LegacyInterpreter interpreter(operands, bytes, text, length, ignoreCase, maxSteps);
    auto finish = [&](int start) {
        if (match != nullptr) {
            *match = interpreter.slots();
            match->start[0] = start;
        }
        return RegexOutcome::Match;
    };
    auto attempt = [&](int start) { return interpreter.tryAt(start); };

    if (program.isAnchored()) {
        if (first == 0 && attempt(0)) {
            return finish(0);
        }
    } else if (program.firstCharacter() != 0) {
        for (int i = first; i < length && !interpreter.aborted(); ++i) {
            if (same(text[i], program.firstCharacter()) && attempt(i)) {
                return finish(i);
            }
        }
    } else {
        for (int i = first; i <= length && !interpreter.aborted(); ++i) {
            if (attempt(i)) {
                return finish(i);
            }
        }
    }
    if (interpreter.aborted()) {
        return interpreter.outcome();
    }
    return RegexOutcome::NoMatch;
}

} // namespace vexa::test
