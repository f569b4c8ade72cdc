// The analysis of a compiled program: the nodes every match passes (the dominators of the end
// node), the shortest match and the bytes a match can begin with.
#include "regex/RegexFacts.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <functional>
#include <queue>
#include <utility>

#include "regex/CaseFolding.h"
#include "regex/RegexProgram.h"

namespace vexa {

namespace {

constexpr int kNodeHeader = 3;
// Programs with more nodes than this are left to the interpreter alone.
constexpr std::size_t kMaxAnalysedNodes = 4096;
// Sets with more members than this are not worth a memchr each.
constexpr int kMaxScannedBytes = 3;

constexpr uint8_t op(RegexOp value) {
    return static_cast<uint8_t>(value);
}

uint8_t foldedByte(uint8_t c) {
    return static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

bool isCharacterNode(uint8_t code) {
    return code == op(RegexOp::AnyCharacter) || code == op(RegexOp::CharacterIn) ||
           code == op(RegexOp::CharacterNotIn);
}

// The first byte of the UTF-8 form of a character from U+0080 on.
uint8_t leadByteOf(char32_t c) {
    if (c < 0x800) {
        return static_cast<uint8_t>(0xC0 | (c >> 6));
    }
    if (c < 0x10000) {
        return static_cast<uint8_t>(0xE0 | (c >> 12));
    }
    return static_cast<uint8_t>(0xF0 | (c >> 18));
}

// The program as a graph of nodes, each edge a way the interpreter can go on from a node.
class ProgramGraph {
public:
    ProgramGraph(const std::vector<uint8_t>& code, const std::vector<int32_t>& operandInfo,
                 const std::vector<RegexSetTables>& sets, const std::vector<RegexCharacterSet>& characterSets,
                 bool utf8)
        : m_code(code), m_operandInfo(operandInfo), m_sets(sets), m_characterSets(characterSets),
          m_utf8(utf8) {}
    [[nodiscard]] bool utf8() const { return m_utf8; }

    [[nodiscard]] bool isNode(int at) const {
        return at >= 1 && static_cast<std::size_t>(at) + kNodeHeader <= m_code.size() &&
               m_operandInfo[static_cast<std::size_t>(at)] >= 0;
    }
    [[nodiscard]] uint8_t opcode(int at) const { return m_code[static_cast<std::size_t>(at)]; }
    [[nodiscard]] int nextOf(int at) const {
        const int offset =
            (m_code[static_cast<std::size_t>(at) + 1] << 8) | m_code[static_cast<std::size_t>(at) + 2];
        if (offset == 0) {
            return -1;
        }
        return opcode(at) == op(RegexOp::Back) ? at - offset : at + offset;
    }
    [[nodiscard]] int operandInfo(int at) const { return m_operandInfo[static_cast<std::size_t>(at)]; }

    // Where the interpreter may go after this node; false when a link leads nowhere valid.
    bool successors(int at, std::vector<int>& out) const {
        out.clear();
        const uint8_t code = opcode(at);
        if (code == op(RegexOp::End)) {
            return true;
        }
        const int next = nextOf(at);
        if (code == op(RegexOp::Branch)) {
            out.push_back(at + kNodeHeader);
            if (next >= 0 && isNode(next) && opcode(next) == op(RegexOp::Branch)) {
                out.push_back(next);
            }
        } else {
            out.push_back(next);
        }
        return std::all_of(out.begin(), out.end(), [this](int node) { return isNode(node); });
    }

    // The bytes one single-character node (or the first byte of a literal) can match.
    [[nodiscard]] ByteSet bytesOf(int at, bool ignoreCase) const {
        ByteSet set;
        const uint8_t code = opcode(at);
        if (code == op(RegexOp::Exactly)) {
            const uint8_t c = m_code[static_cast<std::size_t>(at) + kNodeHeader];
            addCharacter(set, c, ignoreCase, m_utf8);
        } else if (code == op(RegexOp::CharacterIn)) {
            const std::array<bool, 256> leads =
                m_characterSets[static_cast<std::size_t>(operandInfo(at))].leadBytes(ignoreCase);
            for (int c = 1; c < 256; ++c) {
                if (leads[static_cast<std::size_t>(c)]) {
                    set.add(static_cast<uint8_t>(c));
                }
            }
        } else if (code == op(RegexOp::Any) || code == op(RegexOp::AnyCharacter) ||
                   code == op(RegexOp::CharacterNotIn)) {
            for (int c = 1; c < 256; ++c) {
                set.add(static_cast<uint8_t>(c));
            }
        } else if (code == op(RegexOp::AnyOf) || code == op(RegexOp::AnyBut)) {
            const RegexSetTables& tables = m_sets[static_cast<std::size_t>(operandInfo(at))];
            const std::array<bool, 256>& members = ignoreCase ? tables.folded : tables.exact;
            const bool wanted = code == op(RegexOp::AnyOf);
            for (int c = 1; c < 256; ++c) {
                if (members[static_cast<std::size_t>(c)] == wanted) {
                    set.add(static_cast<uint8_t>(c));
                }
            }
        }
        return set;
    }

    static void addCharacter(ByteSet& set, uint8_t c, bool ignoreCase, bool utf8) {
        set.add(c);
        if (ignoreCase) {
            for (int other = 0; other < 256; ++other) {
                if (utf8 ? sameFoldedLead(static_cast<uint8_t>(other), c)
                         : foldedByte(static_cast<uint8_t>(other)) == foldedByte(c)) {
                    set.add(static_cast<uint8_t>(other));
                }
            }
        }
    }

    // The bytes a node consumes on every path through it.
    [[nodiscard]] int width(int at) const {
        switch (static_cast<RegexOp>(opcode(at))) {
        case RegexOp::Exactly:
            return operandInfo(at);
        case RegexOp::Any:
        case RegexOp::AnyOf:
        case RegexOp::AnyBut:
        case RegexOp::AnyCharacter:
        case RegexOp::CharacterIn:
        case RegexOp::CharacterNotIn:
        case RegexOp::Plus:
            return 1;
        default:
            return 0;
        }
    }

private:
    const std::vector<uint8_t>& m_code;
    const std::vector<int32_t>& m_operandInfo;
    const std::vector<RegexSetTables>& m_sets;
    const std::vector<RegexCharacterSet>& m_characterSets;
    bool m_utf8;
};

// How common a byte is in program text: a required byte that is rare rejects more lines.
int commonness(uint8_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
        return 8;
    }
    if (c == ' ' || c == '\t') {
        return 16;
    }
    return 1;
}

int costOf(const std::string& bytes) {
    int cost = 0;
    for (const char c : bytes) {
        cost += commonness(static_cast<uint8_t>(c));
    }
    return cost;
}

// The bytes a match can begin with, or nothing when a match can be empty.
bool firstBytes(const ProgramGraph& graph, bool ignoreCase, ByteSet& first) {
    std::vector<int> pending{1};
    std::vector<bool> seen;
    std::vector<int> next;
    while (!pending.empty()) {
        const int at = pending.back();
        pending.pop_back();
        if (static_cast<std::size_t>(at) >= seen.size()) {
            seen.resize(static_cast<std::size_t>(at) + 1, false);
        }
        if (seen[static_cast<std::size_t>(at)]) {
            continue;
        }
        seen[static_cast<std::size_t>(at)] = true;
        const uint8_t code = graph.opcode(at);
        if (code == op(RegexOp::End)) {
            return false;
        }
        bool goesOn = true;
        if (code == op(RegexOp::Exactly) && graph.operandInfo(at) > 0) {
            first.addAll(graph.bytesOf(at, ignoreCase));
            goesOn = false;
        } else if (code == op(RegexOp::Any) || code == op(RegexOp::AnyOf) || code == op(RegexOp::AnyBut) ||
                   isCharacterNode(code)) {
            first.addAll(graph.bytesOf(at, ignoreCase));
            goesOn = false;
        } else if (code == op(RegexOp::Star) || code == op(RegexOp::Plus)) {
            first.addAll(graph.bytesOf(at + kNodeHeader, ignoreCase));
            goesOn = code == op(RegexOp::Star);
        }
        if (goesOn) {
            if (!graph.successors(at, next)) {
                return false;
            }
            pending.insert(pending.end(), next.begin(), next.end());
        }
    }
    return true;
}

} // namespace

int encodeOperandCharacter(char32_t c, uint8_t (&out)[4]) {
    if (c < 0x80) {
        out[0] = static_cast<uint8_t>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<uint8_t>(0xC0 | (c >> 6));
        out[1] = static_cast<uint8_t>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<uint8_t>(0xE0 | (c >> 12));
        out[1] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<uint8_t>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<uint8_t>(0xF0 | ((c >> 18) & 0x07));
    out[1] = static_cast<uint8_t>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<uint8_t>(0x80 | (c & 0x3F));
    return 4;
}

char32_t decodeOperandCharacter(const uint8_t* bytes, std::size_t available, std::size_t& length) {
    const uint8_t lead = bytes[0];
    std::size_t wanted = 1;
    char32_t value = lead;
    if (lead >= 0xC0 && lead < 0xE0) {
        wanted = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        wanted = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF8) {
        wanted = 4;
        value = lead & 0x07;
    }
    if (wanted > available) {
        length = 1;
        return lead;
    }
    for (std::size_t i = 1; i < wanted; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) {
            length = 1;
            return lead;
        }
        value = (value << 6) | (bytes[i] & 0x3F);
    }
    length = wanted;
    return value;
}

void RegexCharacterSet::add(char32_t first, char32_t last) {
    if (first <= last) {
        m_ranges.emplace_back(first, last);
    }
}

void RegexCharacterSet::finish() {
    std::sort(m_ranges.begin(), m_ranges.end());
    std::vector<std::pair<char32_t, char32_t>> joined;
    for (const auto& range : m_ranges) {
        if (!joined.empty() && range.first <= joined.back().second + 1) {
            joined.back().second = std::max(joined.back().second, range.second);
        } else {
            joined.push_back(range);
        }
    }
    m_ranges = std::move(joined);
    m_ascii.fill(false);
    m_asciiFolded.fill(false);
    for (char32_t c = 0; c < 128; ++c) {
        if (hasExactly(c)) {
            m_ascii[c] = true;
            m_asciiFolded[c] = true;
            m_asciiFolded[otherCaseCharacter(c)] = true;
        }
    }
}

bool RegexCharacterSet::hasExactly(char32_t c) const {
    const auto after =
        std::upper_bound(m_ranges.begin(), m_ranges.end(), c,
                         [](char32_t value, const auto& range) { return value < range.first; });
    return after != m_ranges.begin() && c <= (after - 1)->second;
}

bool RegexCharacterSet::has(char32_t c, bool ignoreCase) const {
    if (c < 128) {
        return ignoreCase ? m_asciiFolded[c] : m_ascii[c];
    }
    if (hasExactly(c)) {
        return true;
    }
    if (!ignoreCase) {
        return false;
    }
    const char32_t other = otherCaseCharacter(c);
    return other != c && hasExactly(other);
}

std::array<bool, 256> RegexCharacterSet::leadBytes(bool ignoreCase) const {
    std::array<bool, 256> leads{};
    for (std::size_t c = 0; c < 128; ++c) {
        leads[c] = ignoreCase ? m_asciiFolded[c] : m_ascii[c];
    }
    for (const auto& [first, last] : m_ranges) {
        if (last < 0x80) {
            continue;
        }
        const char32_t from = std::max<char32_t>(first, 0x80);
        if (from <= 0x10FFFF) {
            const char32_t to = std::min<char32_t>(last, 0x10FFFF);
            for (int b = leadByteOf(from); b <= leadByteOf(to); ++b) {
                leads[static_cast<std::size_t>(b)] = true;
            }
        }
        if (last >= kRegexInvalidByteBase) {
            const char32_t low = std::max(from, kRegexInvalidByteBase) - kRegexInvalidByteBase;
            const char32_t high = std::min<char32_t>(last - kRegexInvalidByteBase, 0xFF);
            for (char32_t b = low; b <= high; ++b) {
                leads[b] = true;
            }
        }
    }
    // The Latin letters that fold begin with 0xC3 or 0xC5, either case with either byte.
    if (ignoreCase && (leads[0xC3] || leads[0xC5])) {
        leads[0xC3] = true;
        leads[0xC5] = true;
    }
    return leads;
}

int ByteSet::size() const {
    int count = 0;
    for (const uint64_t word : m_bits) {
        count += std::popcount(word);
    }
    return count;
}

std::string ByteSet::members() const {
    std::string bytes;
    for (int c = 0; c < 256; ++c) {
        if (has(static_cast<uint8_t>(c))) {
            bytes += static_cast<char>(c);
        }
    }
    return bytes;
}

RegexFacts analyseProgram(const std::vector<uint8_t>& code, const std::vector<int32_t>& operandInfo,
                          const std::vector<RegexSetTables>& sets,
                          const std::vector<RegexCharacterSet>& characterSets, bool utf8) {
    RegexFacts facts;
    const ProgramGraph graph(code, operandInfo, sets, characterSets, utf8);
    if (!graph.isNode(1)) {
        return facts;
    }

    // The reachable nodes in depth-first post order, with their predecessors.
    std::vector<int> order;
    std::vector<int> indexOf(code.size(), -1);
    std::vector<std::vector<int>> successorsOf;
    {
        std::vector<int> next;
        std::vector<std::pair<int, std::size_t>> stack;
        std::vector<bool> entered(code.size(), false);
        std::vector<std::vector<int>> successorsByNode(code.size());
        auto enter = [&](int at) -> bool {
            entered[static_cast<std::size_t>(at)] = true;
            if (!graph.successors(at, next)) {
                return false;
            }
            successorsByNode[static_cast<std::size_t>(at)] = next;
            stack.emplace_back(at, 0);
            return true;
        };
        if (!enter(1)) {
            return facts;
        }
        while (!stack.empty()) {
            auto& [at, child] = stack.back();
            const std::vector<int>& out = successorsByNode[static_cast<std::size_t>(at)];
            if (child < out.size()) {
                const int target = out[child++];
                if (!entered[static_cast<std::size_t>(target)] && !enter(target)) {
                    return facts;
                }
                continue;
            }
            indexOf[static_cast<std::size_t>(at)] = static_cast<int>(order.size());
            order.push_back(at);
            stack.pop_back();
            if (order.size() > kMaxAnalysedNodes) {
                return facts;
            }
        }
        for (const int at : order) {
            std::vector<int> targets;
            for (const int target : successorsByNode[static_cast<std::size_t>(at)]) {
                targets.push_back(indexOf[static_cast<std::size_t>(target)]);
            }
            successorsOf.push_back(std::move(targets));
        }
    }
    const int count = static_cast<int>(order.size());
    int end = -1;
    for (int i = 0; i < count; ++i) {
        if (graph.opcode(order[static_cast<std::size_t>(i)]) == op(RegexOp::End)) {
            end = i;
        }
    }
    if (end < 0) {
        return facts; // no match is possible; the interpreter will find that out
    }
    std::vector<std::vector<int>> predecessorsOf(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        for (const int target : successorsOf[static_cast<std::size_t>(i)]) {
            predecessorsOf[static_cast<std::size_t>(target)].push_back(i);
        }
    }

    // Immediate dominators by the iterative method over reverse post order; post-order numbers
    // grow towards the start node, which has the highest.
    const int start = count - 1;
    std::vector<int> dominator(static_cast<std::size_t>(count), -1);
    dominator[static_cast<std::size_t>(start)] = start;
    auto intersect = [&](int a, int b) {
        while (a != b) {
            while (a < b) {
                a = dominator[static_cast<std::size_t>(a)];
            }
            while (b < a) {
                b = dominator[static_cast<std::size_t>(b)];
            }
        }
        return a;
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (int i = start - 1; i >= 0; --i) {
            int chosen = -1;
            for (const int p : predecessorsOf[static_cast<std::size_t>(i)]) {
                if (dominator[static_cast<std::size_t>(p)] < 0) {
                    continue;
                }
                chosen = chosen < 0 ? p : intersect(p, chosen);
            }
            if (chosen >= 0 && dominator[static_cast<std::size_t>(i)] != chosen) {
                dominator[static_cast<std::size_t>(i)] = chosen;
                changed = true;
            }
        }
    }

    // The shortest match: the lightest path from the start to the end node.
    {
        std::vector<int> distance(static_cast<std::size_t>(count), INT_MAX);
        using Entry = std::pair<int, int>;
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
        distance[static_cast<std::size_t>(start)] = 0;
        queue.emplace(0, start);
        while (!queue.empty()) {
            const auto [d, i] = queue.top();
            queue.pop();
            if (d != distance[static_cast<std::size_t>(i)]) {
                continue;
            }
            const int through = d + graph.width(order[static_cast<std::size_t>(i)]);
            for (const int target : successorsOf[static_cast<std::size_t>(i)]) {
                if (through < distance[static_cast<std::size_t>(target)]) {
                    distance[static_cast<std::size_t>(target)] = through;
                    queue.emplace(through, target);
                }
            }
        }
        facts.minimumLength = distance[static_cast<std::size_t>(end)];
    }

    // What the nodes every match passes demand.
    std::array<std::string, 2> bestBytes;
    std::array<int, 2> bestCost{INT_MAX, INT_MAX};
    auto consider = [&](const ByteSet& set, int mode) {
        if (set.size() == 0 || set.size() > kMaxScannedBytes) {
            return;
        }
        const std::string bytes = set.members();
        const int cost = costOf(bytes);
        if (cost < bestCost[static_cast<std::size_t>(mode)]) {
            bestCost[static_cast<std::size_t>(mode)] = cost;
            bestBytes[static_cast<std::size_t>(mode)] = bytes;
        }
    };
    for (int i = dominator[static_cast<std::size_t>(end)]; i >= 0;
         i = dominator[static_cast<std::size_t>(i)]) {
        const int at = order[static_cast<std::size_t>(i)];
        const uint8_t opcode = graph.opcode(at);
        if (opcode == op(RegexOp::LineStart)) {
            facts.startsAtLineStart = true;
        } else if (opcode == op(RegexOp::Exactly)) {
            const auto length = static_cast<std::size_t>(graph.operandInfo(at));
            const std::string literal(reinterpret_cast<const char*>(code.data()) + at + kNodeHeader, length);
            if (literal.size() > facts.requiredLiteral.size()) {
                facts.requiredLiteral = literal;
            }
            for (const char c : literal) {
                for (int mode = 0; mode < 2; ++mode) {
                    // Independently of case, the bytes of a UTF-8 letter's other case differ
                    // after its first byte: only ASCII bytes are demanded then.
                    if (utf8 && mode == 1 && static_cast<uint8_t>(c) >= 0x80) {
                        continue;
                    }
                    ByteSet set;
                    ProgramGraph::addCharacter(set, static_cast<uint8_t>(c), mode == 1, utf8);
                    consider(set, mode);
                }
            }
        } else if (opcode == op(RegexOp::AnyOf) || opcode == op(RegexOp::Plus)) {
            const int single = opcode == op(RegexOp::Plus) ? at + kNodeHeader : at;
            if (graph.opcode(single) == op(RegexOp::AnyOf) || graph.opcode(single) == op(RegexOp::Exactly)) {
                for (int mode = 0; mode < 2; ++mode) {
                    consider(graph.bytesOf(single, mode == 1), mode);
                }
            }
        }
        if (i == start) {
            break;
        }
    }
    for (int mode = 0; mode < 2; ++mode) {
        RegexCaseFacts& caseFacts = facts.byCase[static_cast<std::size_t>(mode)];
        caseFacts.requiredBytes = bestBytes[static_cast<std::size_t>(mode)];
        caseFacts.hasFirstBytes = firstBytes(graph, mode == 1, caseFacts.firstBytes);
        if (caseFacts.hasFirstBytes && caseFacts.firstBytes.size() <= kMaxScannedBytes) {
            caseFacts.fewFirstBytes = caseFacts.firstBytes.members();
        }
    }
    facts.known = true;
    return facts;
}

std::vector<int32_t> rememberedNodes(const std::vector<uint8_t>& code,
                                     const std::vector<int32_t>& operandInfo, int& count) {
    std::vector<int32_t> index(code.size(), -1);
    count = 0;
    auto remember = [&](std::size_t at) {
        if (at < index.size() && operandInfo[at] >= 0 && index[at] < 0) {
            index[at] = count++;
        }
    };
    for (std::size_t at = 1; at + kNodeHeader <= code.size(); ++at) {
        if (operandInfo[at] < 0) {
            continue;
        }
        const uint8_t opcode = code[at];
        if (opcode == op(RegexOp::Branch)) {
            remember(at);
        } else if (opcode == op(RegexOp::Star) || opcode == op(RegexOp::Plus)) {
            remember(at);
            const int offset = (code[at + 1] << 8) | code[at + 2];
            if (offset != 0) {
                remember(at + static_cast<std::size_t>(offset));
            }
        }
    }
    return index;
}

} // namespace vexa
