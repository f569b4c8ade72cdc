// The interpreter of the regular-expression engine: leftmost, first-path backtracking without
// recursion that never tries a node again at a position where it already failed, bounded in
// memory and in steps; and the rejection of lines that cannot match before it runs.
#include "regex/RegexProgram.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <utility>

#include "regex/CaseFolding.h"
#include "regex/RegexCompiler.h"
#include "regex/RegexShared.h"

namespace vexa {

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
class RegexInterpreter {
public:
    RegexInterpreter(const RegexProgram& program, const uint8_t* subject, int length, bool ignoreCase,
                     RegexWorkLimit* limit)
        : m_program(program), m_code(program.m_bytes.data()),
          m_codeSize(static_cast<int>(program.m_bytes.size())), m_subject(subject), m_length(length),
          m_ignoreCase(ignoreCase), m_utf8(program.m_utf8), m_limit(limit) {}
    ~RegexInterpreter() {
        if (m_limit != nullptr) {
            (void)m_limit->proceed(m_steps - m_reported);
        }
    }
    RegexInterpreter(const RegexInterpreter&) = delete;
    RegexInterpreter& operator=(const RegexInterpreter&) = delete;

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
    // Whether two bytes can begin equal characters (in UTF-8, equal up to their first byte).
    [[nodiscard]] bool same(uint8_t a, uint8_t b) const {
        return a == b || (m_ignoreCase && (m_utf8 ? sameFoldedLead(a, b) : kFolded[a] == kFolded[b]));
    }
    // The UTF-8 character at a position (a byte that is no character is numbered past Unicode)
    // and its length.
    [[nodiscard]] char32_t characterAt(int position, int& length) const {
        const uint8_t lead = m_subject[position];
        if (lead < 0x80) {
            length = 1;
            return lead;
        }
        const text::Decoded decoded = text::decodeUtf8(
            std::string_view(reinterpret_cast<const char*>(m_subject), static_cast<std::size_t>(m_length)),
            static_cast<std::size_t>(position));
        length = decoded.length;
        return decoded.valid ? decoded.character : kRegexInvalidByteBase + lead;
    }
    [[nodiscard]] bool inCharacters(int setIndex, char32_t c) const {
        return m_program.m_characterSets[static_cast<std::size_t>(setIndex)].has(c, m_ignoreCase);
    }
    // One repetition less of a run of characters: one byte, or in UTF-8 one whole character.
    [[nodiscard]] int shorterCount(int position, int count) const {
        if (!m_utf8 || count <= 0) {
            return count - 1;
        }
        const std::string_view subject(reinterpret_cast<const char*>(m_subject),
                                       static_cast<std::size_t>(m_length));
        return text::previousCharacter(subject, position + count, TextEncoding::Utf8) - position;
    }
    [[nodiscard]] int operandInfo(int node) const {
        return m_program.m_operandInfo[static_cast<std::size_t>(node)];
    }
    [[nodiscard]] bool inSet(int setIndex, uint8_t c) const {
        const auto& tables = m_program.m_sets[static_cast<std::size_t>(setIndex)];
        return m_ignoreCase ? tables.folded[c] : tables.exact[c];
    }
    bool literalAt(int node, int position, int& length);
    bool countRepeats(int repeatNode, int position, int& count);
    // The largest count from `count` down to the minimum at which the rest can start, or -1.
    [[nodiscard]] int usableCount(int repeatNode, int position, int count);
    bool run(int node, int position);
    bool backtrack(int& node, int& position);

    // ---- remembered failures ----
    // Starts remembering when the line is small enough for the bit set.
    void startRemembering();
    [[nodiscard]] int rememberedIndex(int node) const {
        return m_remembering ? m_program.m_rememberedIndex[static_cast<std::size_t>(node)] : -1;
    }
    // Marks the node as tried at the position; false when it already was, and so failed there
    // (a node is never reached again at the same position while its first try is still going
    // on, since every loop consumes a byte per round).
    bool firstVisit(int node, int position) {
        const int index = rememberedIndex(node);
        if (index < 0) {
            return true;
        }
        uint64_t& word = m_tried[wordOf(index, position)];
        const uint64_t bit = uint64_t{1} << (position & 63);
        if ((word & bit) != 0) {
            return false;
        }
        word |= bit;
        return true;
    }
    [[nodiscard]] std::size_t wordOf(int index, int position) const {
        return static_cast<std::size_t>(index) * m_stride + static_cast<std::size_t>(position >> 6);
    }
    // The highest position from `high` down to `low` at which the node was not tried, or -1.
    [[nodiscard]] int highestUntried(int index, int high, int low) const;

    const RegexProgram& m_program;
    const uint8_t* m_code;
    int m_codeSize;
    const uint8_t* m_subject;
    int m_length;
    bool m_ignoreCase;
    bool m_utf8;
    RegexWorkLimit* m_limit;
    RegexMatch m_slots;
    std::vector<Entry> m_stack;
    std::size_t m_steps = 0;
    std::size_t m_reported = 0;
    RegexOutcome m_outcome = RegexOutcome::Match;
    const char* m_error = nullptr;

    bool m_remembering = false;
    std::size_t m_stride = 0; // words per remembered node
    std::vector<uint64_t> m_tried;
    // Per remembered star or plus node: the last run counted, from its start to its end.
    struct Run {
        int from = -1;
        int end = -1;
    };
    std::vector<Run> m_runs;
};

void RegexInterpreter::startRemembering() {
    const auto positions = static_cast<std::size_t>(m_length) + 1;
    const auto nodes = static_cast<std::size_t>(m_program.m_rememberedCount);
    if (nodes == 0 || positions > RegexProgram::kMaxRememberedBits / nodes) {
        return;
    }
    m_stride = (positions + 63) / 64;
    m_tried.assign(nodes * m_stride, 0);
    if (m_utf8) {
        // No node is ever tried inside a character: those positions count as tried already, so
        // that skipping over tried positions never lands inside one.
        const std::string_view subject(reinterpret_cast<const char*>(m_subject),
                                       static_cast<std::size_t>(m_length));
        std::vector<uint64_t> inside(m_stride, 0);
        bool any = false;
        for (int p = 0; p < m_length;) {
            int length = 1;
            if (m_subject[p] >= 0x80) {
                length = text::decodeUtf8(subject, static_cast<std::size_t>(p)).length;
            }
            for (int q = p + 1; q < p + length; ++q) {
                inside[static_cast<std::size_t>(q >> 6)] |= uint64_t{1} << (q & 63);
                any = true;
            }
            p += length;
        }
        if (any) {
            for (std::size_t node = 0; node < nodes; ++node) {
                std::copy(inside.begin(), inside.end(),
                          m_tried.begin() + static_cast<std::ptrdiff_t>(node * m_stride));
            }
        }
    }
    m_runs.assign(nodes, Run{});
    m_remembering = true;
}

int RegexInterpreter::highestUntried(int index, int high, int low) const {
    const uint64_t* bits = m_tried.data() + static_cast<std::size_t>(index) * m_stride;
    int position = high;
    while (position >= low) {
        const int word = position >> 6;
        const int bit = position & 63;
        const uint64_t below = bit == 63 ? ~uint64_t{0} : (uint64_t{1} << (bit + 1)) - 1;
        const uint64_t untried = ~bits[word] & below;
        if (untried != 0) {
            const int found = word * 64 + 63 - std::countl_zero(untried);
            return found >= low ? found : -1;
        }
        position = word * 64 - 1;
    }
    return -1;
}

bool RegexInterpreter::tryAt(int position) {
    m_slots.start.fill(-1);
    m_slots.end.fill(-1);
    m_stack.clear();
    return run(1, position);
}

bool RegexInterpreter::literalAt(int node, int position, int& length) {
    length = operandInfo(node);
    const uint8_t* operand = m_code + node + kNodeHeader;
    if (length > m_length - position) {
        return false;
    }
    const uint8_t* text = m_subject + position;
    if (!m_ignoreCase) {
        return std::memcmp(operand, text, static_cast<std::size_t>(length)) == 0;
    }
    if (m_utf8) {
        return startsWithFoldedUtf8(
            text, static_cast<std::size_t>(m_length - position),
            std::string_view(reinterpret_cast<const char*>(operand), static_cast<std::size_t>(length)));
    }
    for (int i = 0; i < length; ++i) {
        if (kFolded[operand[i]] != kFolded[text[i]]) {
            return false;
        }
    }
    return true;
}

bool RegexInterpreter::countRepeats(int repeatNode, int position, int& count) {
    count = 0;
    const int operand = repeatNode + kNodeHeader;
    if (!validNode(operand) || operandInfo(operand) < 0) {
        return abort(RegexOutcome::Error, "corrupted pointers");
    }
    // A run of members that ends at E, counted from S, ends at E from every start in between,
    // and from an earlier start that reaches S: loops that start the same repetition one byte
    // later, or earlier, do not count it all again.
    const int index = rememberedIndex(repeatNode);
    int limit = m_length;
    Run known;
    if (index >= 0) {
        known = m_runs[static_cast<std::size_t>(index)];
        if (known.from <= position && position <= known.end) {
            count = known.end - position;
            return true;
        }
        if (known.from > position) {
            limit = known.from;
        }
    }
    int p = position;
    switch (static_cast<RegexOp>(m_code[operand])) {
    case RegexOp::Any:
    case RegexOp::AnyCharacter:
        p = m_length;
        break;
    case RegexOp::CharacterIn:
    case RegexOp::CharacterNotIn: {
        const bool wanted = m_code[operand] == op(RegexOp::CharacterIn);
        const int set = operandInfo(operand);
        while (p < limit) {
            int length = 1;
            if (inCharacters(set, characterAt(p, length)) != wanted) {
                break;
            }
            p += length;
        }
        break;
    }
    case RegexOp::Exactly: {
        const uint8_t c = m_code[operand + kNodeHeader];
        while (p < limit && same(c, m_subject[p])) {
            ++p;
        }
        break;
    }
    case RegexOp::AnyOf:
    case RegexOp::AnyBut: {
        const bool wanted = m_code[operand] == op(RegexOp::AnyOf);
        const int set = operandInfo(operand);
        while (p < limit && inSet(set, m_subject[p]) == wanted) {
            ++p;
        }
        break;
    }
    default:
        return abort(RegexOutcome::Error, "internal foulup");
    }
    if (p == limit && limit < m_length) {
        p = known.end; // reached the start of the run counted before
    }
    count = p - position;
    if (index >= 0) {
        m_runs[static_cast<std::size_t>(index)] = Run{position, p};
    }
    return true;
}

int RegexInterpreter::usableCount(int repeatNode, int position, int count) {
    const int minimum = m_code[repeatNode] == op(RegexOp::Star) ? 0 : 1;
    // When a literal follows, only counts that leave its first character next can succeed.
    const int next = nextOf(repeatNode);
    const bool literalNext = validNode(next) && m_code[next] == op(RegexOp::Exactly) && operandInfo(next) > 0;
    const uint8_t wanted = literalNext ? m_code[next + kNodeHeader] : 0;
    // Counts after which the rest already failed are skipped a word of positions at a time.
    const int index = validNode(next) ? rememberedIndex(next) : -1;
    while (count >= minimum) {
        if (index >= 0) {
            const int untried = highestUntried(index, position + count, position + minimum);
            if (untried < 0) {
                return -1;
            }
            count = untried - position;
        }
        if (!literalNext || (position + count < m_length && same(m_subject[position + count], wanted))) {
            return count;
        }
        if (index >= 0) {
            (void)firstVisit(next, position + count); // the literal cannot start there
        }
        count = shorterCount(position, count);
    }
    return -1;
}

bool RegexInterpreter::run(int node, int position) {
    for (;;) {
        if (++m_steps > RegexProgram::kMaxSteps) {
            return abort(RegexOutcome::Exhausted, nullptr);
        }
        if (m_steps - m_reported >= kRegexWorkChunk) {
            if (m_limit != nullptr && !m_limit->proceed(m_steps - m_reported)) {
                m_reported = m_steps;
                return abort(RegexOutcome::Exhausted, nullptr);
            }
            m_reported = m_steps;
        }
        if (m_steps == m_program.m_rememberAfterSteps) {
            startRemembering();
        }
        if (!validNode(node)) {
            return abort(RegexOutcome::Error, "corrupted pointers");
        }
        if (!firstVisit(node, position)) {
            if (!backtrack(node, position)) {
                return false;
            }
            continue;
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
        case op(RegexOp::AnyCharacter): {
            ok = position < m_length;
            int length = 1;
            if (ok) {
                (void)characterAt(position, length);
            }
            position += length;
            break;
        }
        case op(RegexOp::CharacterIn):
        case op(RegexOp::CharacterNotIn): {
            const int set = operandInfo(node);
            if (set < 0) {
                return abort(RegexOutcome::Error, "corrupted pointers");
            }
            int length = 1;
            ok = position < m_length &&
                 inCharacters(set, characterAt(position, length)) == (code == op(RegexOp::CharacterIn));
            position += length;
            break;
        }
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
            if (!countRepeats(node, position, count)) {
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

bool RegexInterpreter::backtrack(int& node, int& position) {
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
            const int count =
                usableCount(entry.node, entry.position, shorterCount(entry.position, entry.value));
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

std::optional<RegexProgram> RegexProgram::compile(std::string_view pattern, std::string* error,
                                                  TextEncoding encoding) {
    RegexCompiler compiler(pattern, encoding);
    return compiler.compile(error);
}

std::optional<RegexProgram> RegexProgram::compile(const char* pattern, std::string* error) {
    if (pattern == nullptr) {
        if (error != nullptr) {
            *error = "NULL argument";
        }
        return std::nullopt;
    }
    return compile(std::string_view(pattern), error);
}

RegexProgram RegexProgram::fromBytes(std::vector<uint8_t> bytes) {
    RegexProgram program;
    program.m_bytes = std::move(bytes);
    program.decodeOperands();
    return program;
}

std::string_view RegexProgram::mustHave() const {
    if (m_mustLength == 0) {
        return {};
    }
    return {reinterpret_cast<const char*>(m_bytes.data()) + m_mustOffset, m_mustLength};
}

void RegexProgram::decodeOperands() {
    m_operandInfo.assign(m_bytes.size(), -1);
    m_sets.clear();
    m_characterSets.clear();
    struct ChooseRemembered {
        RegexProgram& program;
        ~ChooseRemembered() {
            program.m_rememberedIndex =
                rememberedNodes(program.m_bytes, program.m_operandInfo, program.m_rememberedCount);
        }
    } chooseRemembered{*this};
    std::size_t at = 1;
    while (at + kNodeHeader <= m_bytes.size()) {
        const uint8_t code = m_bytes[at];
        const std::size_t operand = at + kNodeHeader;
        if (code != op(RegexOp::Exactly) && code != op(RegexOp::AnyOf) && code != op(RegexOp::AnyBut) &&
            code != op(RegexOp::CharacterIn) && code != op(RegexOp::CharacterNotIn)) {
            m_operandInfo[at] = 0;
            at = operand;
            continue;
        }
        const void* terminator = std::memchr(m_bytes.data() + operand, 0, m_bytes.size() - operand);
        if (terminator == nullptr) {
            return; // an unterminated operand: nothing from here on is a node
        }
        const auto length =
            static_cast<std::size_t>(static_cast<const uint8_t*>(terminator) - m_bytes.data()) - operand;
        if (code == op(RegexOp::Exactly)) {
            m_operandInfo[at] = static_cast<int32_t>(length);
        } else if (code == op(RegexOp::CharacterIn) || code == op(RegexOp::CharacterNotIn)) {
            // Pairs of first and last character; a lone last value of a damaged operand is dropped.
            RegexCharacterSet characters;
            std::size_t i = operand;
            while (i < operand + length) {
                std::size_t used = 0;
                const char32_t first = decodeOperandCharacter(m_bytes.data() + i, operand + length - i, used);
                i += used;
                if (i >= operand + length) {
                    break;
                }
                const char32_t last = decodeOperandCharacter(m_bytes.data() + i, operand + length - i, used);
                i += used;
                characters.add(first, last);
            }
            characters.finish();
            m_operandInfo[at] = static_cast<int32_t>(m_characterSets.size());
            m_characterSets.push_back(std::move(characters));
        } else {
            RegexSetTables tables;
            for (std::size_t i = operand; i < operand + length; ++i) {
                const uint8_t c = m_bytes[i];
                tables.exact[c] = true;
                // Membership independent of case holds both cases of every letter in the set.
                tables.folded[c] = true;
                tables.folded[kFolded[c]] = true;
                if (c >= 'a' && c <= 'z') {
                    tables.folded[static_cast<uint8_t>(c - ('a' - 'A'))] = true;
                }
            }
            m_operandInfo[at] = static_cast<int32_t>(m_sets.size());
            m_sets.push_back(tables);
        }
        at = operand + length + 1;
    }
}

RegexOutcome RegexProgram::execute(const char* subject, RegexMatch* match, std::string* error) const {
    if (subject == nullptr) {
        if (error != nullptr) {
            *error = "NULL parameter";
        }
        return RegexOutcome::Error;
    }
    return execute(std::string_view(subject), match, error);
}

void RegexProgram::analyse() {
    m_facts = analyseProgram(m_bytes, m_operandInfo, m_sets, m_characterSets, m_utf8);
}

namespace {

// Whether any of a few bytes occurs in the text.
bool containsAnyOf(const uint8_t* text, std::size_t length, std::string_view bytes) {
    for (const char c : bytes) {
        if (std::memchr(text, static_cast<uint8_t>(c), length) != nullptr) {
            return true;
        }
    }
    return false;
}

// Whether the literal occurs in the text, compared exactly or independently of case.
bool containsLiteral(std::string_view text, std::string_view literal, bool ignoreCase, bool utf8) {
    if (!ignoreCase) {
        return text.find(literal) != std::string_view::npos;
    }
    if (utf8) {
        return findFoldedUtf8(text, literal, 0) != std::string_view::npos;
    }
    if (literal.size() > text.size()) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto* needle = reinterpret_cast<const uint8_t*>(literal.data());
    const uint8_t first = kFolded[needle[0]];
    const std::size_t last = text.size() - literal.size();
    for (std::size_t at = 0; at <= last; ++at) {
        if (kFolded[bytes[at]] != first) {
            continue;
        }
        std::size_t i = 1;
        while (i < literal.size() && kFolded[bytes[at + i]] == kFolded[needle[i]]) {
            ++i;
        }
        if (i == literal.size()) {
            return true;
        }
    }
    return false;
}

} // namespace

RegexOutcome RegexProgram::execute(std::string_view subject, RegexMatch* match, std::string* error,
                                   std::size_t from, RegexWorkLimit* limit) const {
    auto failWith = [&](RegexOutcome outcome, const char* message) {
        if (error != nullptr && message != nullptr) {
            *error = message;
        }
        return outcome;
    };
    if (m_bytes.empty() || m_bytes[0] != kRegexMagic) {
        return failWith(RegexOutcome::Error, "corrupted program");
    }
    subject = subject.substr(0, subject.find('\0'));
    if (subject.size() > static_cast<std::size_t>(INT_MAX / 2)) {
        subject = subject.substr(0, INT_MAX / 2);
    }
    const auto* text = reinterpret_cast<const uint8_t*>(subject.data());
    const int length = static_cast<int>(subject.size());
    if (from > subject.size()) {
        return RegexOutcome::NoMatch;
    }
    const int first = static_cast<int>(from);
    const bool ignoreCase = regexIgnoreCase();

    // What every match needs rules out most lines without interpreting anything. A match lies
    // at or after `from`, so only that part of the line is looked at.
    int lastStart = length;
    const RegexCaseFacts* caseFacts = nullptr;
    if (m_facts.known) {
        caseFacts = &m_facts.byCase[ignoreCase ? 1 : 0];
        const auto rest = static_cast<std::size_t>(length - first);
        if (length - first < m_facts.minimumLength || (m_facts.startsAtLineStart && first > 0)) {
            return RegexOutcome::NoMatch;
        }
        if (!caseFacts->requiredBytes.empty() &&
            !containsAnyOf(text + first, rest, caseFacts->requiredBytes)) {
            return RegexOutcome::NoMatch;
        }
        if (m_facts.requiredLiteral.size() > 1 &&
            !containsLiteral(subject.substr(from), m_facts.requiredLiteral, ignoreCase, m_utf8)) {
            return RegexOutcome::NoMatch;
        }
        lastStart = length - m_facts.minimumLength;
    } else if (m_mustLength != 0 && !containsLiteral(subject, mustHave(), ignoreCase, m_utf8)) {
        // A program too large to analyse still has the literal its single alternative needs.
        return RegexOutcome::NoMatch;
    }

    RegexInterpreter interpreter(*this, text, length, ignoreCase, limit);
    auto finish = [&](int start) {
        if (match != nullptr) {
            *match = interpreter.slots();
            match->start[0] = start;
        }
        return RegexOutcome::Match;
    };
    // Over UTF-8 a match starts only where a character does.
    const bool utf8 = m_utf8;
    auto attempt = [&](int start) {
        if (utf8 && start < length && (text[start] & 0xC0) == 0x80 &&
            !isUtf8Boundary(subject, static_cast<std::size_t>(start))) {
            return false;
        }
        return interpreter.tryAt(start);
    };
    auto same = [ignoreCase, utf8](uint8_t a, uint8_t b) {
        return a == b || (ignoreCase && (utf8 ? sameFoldedLead(a, b) : kFolded[a] == kFolded[b]));
    };

    if (m_anchored || (m_facts.known && m_facts.startsAtLineStart)) {
        const bool canBegin = caseFacts == nullptr || !caseFacts->hasFirstBytes ||
                              (length > 0 && caseFacts->firstBytes.has(text[0]));
        if (first == 0 && canBegin && attempt(0)) {
            return finish(0);
        }
    } else if (caseFacts != nullptr && caseFacts->hasFirstBytes) {
        // Only where a match can begin; with one or two such bytes memchr finds them.
        const ByteSet& firstBytes = caseFacts->firstBytes;
        const std::string_view few = caseFacts->fewFirstBytes;
        for (int i = first; i <= lastStart && !interpreter.aborted(); ++i) {
            if (few.size() == 1) {
                const void* found = std::memchr(text + i, static_cast<uint8_t>(few[0]),
                                                static_cast<std::size_t>(lastStart + 1 - i));
                if (found == nullptr) {
                    break;
                }
                i = static_cast<int>(static_cast<const uint8_t*>(found) - text);
            } else {
                while (i <= lastStart && !firstBytes.has(text[i])) {
                    ++i;
                }
                if (i > lastStart) {
                    break;
                }
            }
            if (attempt(i)) {
                return finish(i);
            }
        }
    } else if (m_firstCharacter != 0) {
        for (int i = first; i < length && !interpreter.aborted(); ++i) {
            if (same(text[i], m_firstCharacter) && attempt(i)) {
                return finish(i);
            }
        }
    } else {
        for (int i = first; i <= lastStart && !interpreter.aborted(); ++i) {
            if (attempt(i)) {
                return finish(i);
            }
        }
    }
    if (interpreter.aborted()) {
        return failWith(interpreter.outcome(), interpreter.errorMessage());
    }
    return RegexOutcome::NoMatch;
}

} // namespace vexa
