// The two-pass compiler of the regular-expression engine.
#include "regex/RegexCompiler.h"

#include <cstring>
#include <new>
#include <utility>

#include "text/TextEncoding.h"

namespace vexa {

namespace {

// What the parser knows about a piece of pattern: whether it always consumes a character,
// whether it is one single-character node (so star and plus can count it without a loop),
// and whether it starts with a starred or optional piece (worth looking for a must-have text).
constexpr int kHasWidth = 1;
constexpr int kSimple = 2;
constexpr int kStartsWithRepeat = 4;

constexpr std::size_t kNodeHeader = 3;

constexpr uint8_t op(RegexOp value) {
    return static_cast<uint8_t>(value);
}

bool isQuantifier(char c) {
    return c == '*' || c == '+' || c == '?';
}

// The characters that end a literal run.
bool endsLiteralRun(char c) {
    return c == '.' || c == '[' || c == '(' || c == ')' || c == '|' || c == '$' || c == '^' || c == '\n' ||
           isQuantifier(c);
}

} // namespace

RegexCompiler::RegexCompiler(std::string_view pattern, TextEncoding encoding)
    : m_pattern(pattern.substr(0, pattern.find('\0'))), m_utf8(encoding == TextEncoding::Utf8) {}

void RegexCompiler::restart(bool emitting) {
    m_pos = 0;
    m_groups = 1;
    m_emitting = emitting;
    m_size = 0;
    m_error.clear();
}

int RegexCompiler::fail(const char* message) {
    if (m_error.empty()) {
        m_error = message;
    }
    return kFailed;
}

std::optional<RegexProgram> RegexCompiler::compile(std::string* error) {
    auto failWith = [&]() -> std::optional<RegexProgram> {
        if (error != nullptr) {
            *error = m_error;
        }
        return std::nullopt;
    };

    // The first pass only counts, so that the program is allocated once at its final size and
    // every offset fits in two bytes.
    restart(false);
    emitByte(kRegexMagic);
    int flags = 0;
    if (parseExpression(false, flags) == kFailed) {
        return failWith();
    }
    if (m_size >= kRegexMaxProgramBytes) {
        fail("regexp too big");
        return failWith();
    }
    const std::size_t size = m_size;

    restart(true);
    m_code.clear();
    try {
        m_code.reserve(size);
    } catch (const std::bad_alloc&) {
        fail("out of space");
        return failWith();
    }
    emitByte(kRegexMagic);
    if (parseExpression(false, flags) == kFailed) {
        return failWith();
    }

    RegexProgram program;
    program.m_utf8 = m_utf8;
    setOptimisationFacts(program, flags);
    program.m_bytes = std::move(m_code);
    program.decodeOperands();
    program.analyse();
    return program;
}

int RegexCompiler::parseExpression(bool inGroup, int& flags) {
    flags = kHasWidth;
    int result = kNoNode;
    int group = 0;
    if (inGroup) {
        if (m_groups >= kRegexSlots) {
            return fail("too many ()");
        }
        group = m_groups++;
        result = emitNode(static_cast<uint8_t>(op(RegexOp::Open) + group));
    }

    int branchFlags = 0;
    int branch = parseBranch(branchFlags);
    if (branch == kFailed) {
        return kFailed;
    }
    if (result != kNoNode) {
        linkTail(result, branch);
    } else {
        result = branch;
    }
    if ((branchFlags & kHasWidth) == 0) {
        flags &= ~kHasWidth;
    }
    flags |= branchFlags & kStartsWithRepeat;

    while (peek() == '|' || peek() == '\n') {
        ++m_pos;
        branch = parseBranch(branchFlags);
        if (branch == kFailed) {
            return kFailed;
        }
        linkTail(result, branch);
        if ((branchFlags & kHasWidth) == 0) {
            flags &= ~kHasWidth;
        }
        flags |= branchFlags & kStartsWithRepeat;
    }

    // Every alternative's own chain ends in the common end: the group's close node or the
    // program's end node.
    const int ender = emitNode(inGroup ? static_cast<uint8_t>(op(RegexOp::Close) + group) : op(RegexOp::End));
    linkTail(result, ender);
    for (int node = result; node >= 0; node = nextOf(node)) {
        linkOperandTail(node, ender);
    }

    if (inGroup) {
        if (peek() != ')') {
            return fail("unmatched ()");
        }
        ++m_pos;
    } else if (!atEnd()) {
        return fail(peek() == ')' ? "unmatched ()" : "junk on end");
    }
    return result;
}

int RegexCompiler::parseBranch(int& flags) {
    flags = 0;
    const int result = emitNode(op(RegexOp::Branch));
    int chain = kNoNode;
    while (!atEnd() && peek() != '|' && peek() != '\n' && peek() != ')') {
        int pieceFlags = 0;
        const int latest = parsePiece(pieceFlags);
        if (latest == kFailed) {
            return kFailed;
        }
        flags |= pieceFlags & kHasWidth;
        if (chain == kNoNode) {
            flags |= pieceFlags & kStartsWithRepeat;
        } else {
            linkTail(chain, latest);
        }
        chain = latest;
    }
    if (chain == kNoNode) {
        emitNode(op(RegexOp::Nothing));
    }
    return result;
}

int RegexCompiler::parsePiece(int& flags) {
    int atomFlags = 0;
    const int atom = parseAtom(atomFlags);
    if (atom == kFailed) {
        return kFailed;
    }
    const char quantifier = peek();
    if (!isQuantifier(quantifier)) {
        flags = atomFlags;
        return atom;
    }
    // An empty operand under a loop would repeat forever without consuming anything.
    if ((atomFlags & kHasWidth) == 0 && quantifier != '?') {
        return fail("*+ operand could be empty");
    }
    flags = quantifier != '+' ? kStartsWithRepeat : kHasWidth;

    if (quantifier == '*' && (atomFlags & kSimple) != 0) {
        insertNode(op(RegexOp::Star), atom);
    } else if (quantifier == '*') {
        // A loop: branch (atom, back to the branch), branch (nothing).
        insertNode(op(RegexOp::Branch), atom);
        linkOperandTail(atom, emitNode(op(RegexOp::Back)));
        linkOperandTail(atom, atom);
        linkTail(atom, emitNode(op(RegexOp::Branch)));
        linkTail(atom, emitNode(op(RegexOp::Nothing)));
    } else if (quantifier == '+' && (atomFlags & kSimple) != 0) {
        insertNode(op(RegexOp::Plus), atom);
    } else if (quantifier == '+') {
        // The atom once, then branch (back to the atom), branch (nothing).
        const int loop = emitNode(op(RegexOp::Branch));
        linkTail(atom, loop);
        linkTail(emitNode(op(RegexOp::Back)), atom);
        linkTail(loop, emitNode(op(RegexOp::Branch)));
        linkTail(atom, emitNode(op(RegexOp::Nothing)));
    } else {
        // Optional: branch (atom), branch (nothing).
        insertNode(op(RegexOp::Branch), atom);
        linkTail(atom, emitNode(op(RegexOp::Branch)));
        const int empty = emitNode(op(RegexOp::Nothing));
        linkTail(atom, empty);
        linkOperandTail(atom, empty);
    }
    ++m_pos;
    if (isQuantifier(peek())) {
        return fail("nested *?+");
    }
    return atom;
}

int RegexCompiler::parseAtom(int& flags) {
    flags = 0;
    const std::size_t start = m_pos;
    const char c = peek();
    ++m_pos;
    switch (c) {
    case '^':
        return emitNode(op(RegexOp::LineStart));
    case '$':
        return emitNode(op(RegexOp::LineEnd));
    case '.':
        flags |= kHasWidth | kSimple;
        return emitNode(op(m_utf8 ? RegexOp::AnyCharacter : RegexOp::Any));
    case '[':
        flags |= kHasWidth | kSimple;
        return m_utf8 ? parseCharacterSet() : parseSet();
    case '(': {
        int groupFlags = 0;
        const int group = parseExpression(true, groupFlags);
        if (group == kFailed) {
            return kFailed;
        }
        flags |= groupFlags & (kHasWidth | kStartsWithRepeat);
        return group;
    }
    case '\0':
    case '|':
    case '\n':
    case ')':
        // The branch parser stops before these; reaching them here means the parser is wrong.
        return fail("internal urp");
    case '?':
    case '+':
    case '*':
        return fail("?+* follows nothing");
    case '\\':
        if (atEnd()) {
            return fail("trailing \\");
        }
        if (peek() == '<' || peek() == '>') {
            const char which = peek();
            ++m_pos;
            return emitNode(op(which == '<' ? RegexOp::WordStart : RegexOp::WordEnd));
        }
        break;
    default:
        break;
    }
    return m_utf8 ? parseCharacterRun(start, flags) : parseLiteralRun(start, flags);
}

int RegexCompiler::parseSet() {
    RegexOp kind = RegexOp::AnyOf;
    if (peek() == '^') {
        kind = RegexOp::AnyBut;
        ++m_pos;
    }
    const int result = emitNode(op(kind));
    if (peek() == ']' || peek() == '-') {
        emitByte(static_cast<uint8_t>(peek()));
        ++m_pos;
    }
    while (!atEnd() && peek() != ']') {
        if (peek() == '-') {
            ++m_pos;
            if (atEnd() || peek() == ']') {
                emitByte('-');
            } else {
                // The range's first character is already in the set.
                int from = static_cast<unsigned char>(m_pattern[m_pos - 2]) + 1;
                const int to = static_cast<unsigned char>(m_pattern[m_pos]);
                if (from > to + 1) {
                    return fail("invalid [] range");
                }
                for (; from <= to; ++from) {
                    emitByte(static_cast<uint8_t>(from));
                }
                ++m_pos;
            }
        } else {
            emitByte(static_cast<uint8_t>(m_pattern[m_pos]));
            ++m_pos;
        }
    }
    emitByte(0);
    if (peek() != ']') {
        return fail("unmatched []");
    }
    ++m_pos;
    return result;
}

int RegexCompiler::parseCharacterSet() {
    const std::size_t start = m_pos;
    RegexOp kind = RegexOp::CharacterIn;
    if (peek() == '^') {
        kind = RegexOp::CharacterNotIn;
        ++m_pos;
    }
    bool wide = kind == RegexOp::CharacterNotIn;
    auto character = [&]() -> char32_t {
        const text::Decoded decoded = text::decodeUtf8(m_pattern, m_pos);
        if (!decoded.valid) {
            return kRegexInvalidByteBase + static_cast<unsigned char>(m_pattern[m_pos++]);
        }
        m_pos += static_cast<std::size_t>(decoded.length);
        return decoded.character;
    };
    std::vector<std::pair<char32_t, char32_t>> ranges;
    auto add = [&](char32_t first, char32_t last) {
        ranges.emplace_back(first, last);
        wide = wide || last >= 0x80;
    };
    char32_t previous = 0;
    if (peek() == ']' || peek() == '-') {
        previous = static_cast<unsigned char>(peek());
        add(previous, previous);
        ++m_pos;
    }
    while (!atEnd() && peek() != ']') {
        if (peek() == '-') {
            ++m_pos;
            if (atEnd() || peek() == ']') {
                previous = '-';
                add(previous, previous);
            } else {
                // The range's first character is already in the set.
                const char32_t from = previous + 1;
                const char32_t to = character();
                if (from > to + 1) {
                    return fail("invalid [] range");
                }
                if (from <= to) {
                    add(from, to);
                }
                previous = to;
            }
        } else {
            previous = character();
            add(previous, previous);
        }
    }
    if (peek() != ']') {
        return fail("unmatched []");
    }
    if (!wide) {
        // Only ASCII members: a byte is a whole character, as in a byte pattern.
        m_pos = start;
        return parseSet();
    }
    ++m_pos;
    return emitCharacterSet(kind, ranges);
}

int RegexCompiler::emitCharacterSet(RegexOp kind, const std::vector<std::pair<char32_t, char32_t>>& ranges) {
    const int result = emitNode(op(kind));
    for (const auto& [first, last] : ranges) {
        for (const char32_t c : {first, last}) {
            uint8_t bytes[4] = {};
            const int length = encodeOperandCharacter(c, bytes);
            for (int i = 0; i < length; ++i) {
                emitByte(bytes[i]);
            }
        }
    }
    emitByte(0);
    return result;
}

int RegexCompiler::parseCharacterRun(std::size_t from, int& flags) {
    // As a literal run, by whole characters: a quantifier takes the last character with all its
    // bytes, and a byte that is no character is an atom of its own (a set of that one byte), so
    // that a literal never ends or starts inside a character.
    std::string bytes;
    std::vector<std::size_t> origins;
    std::vector<std::size_t> starts;
    std::size_t p = from;
    while (p < m_pattern.size()) {
        std::size_t at = p;
        if (m_pattern[p] == '\\') {
            if (p + 1 >= m_pattern.size() || m_pattern[p + 1] == '<' || m_pattern[p + 1] == '>') {
                break;
            }
            at = p + 1;
        } else if (endsLiteralRun(m_pattern[p])) {
            break;
        }
        const text::Decoded decoded = text::decodeUtf8(m_pattern, at);
        if (!decoded.valid) {
            break;
        }
        origins.push_back(p);
        starts.push_back(bytes.size());
        bytes.append(m_pattern.substr(at, static_cast<std::size_t>(decoded.length)));
        p = at + static_cast<std::size_t>(decoded.length);
    }
    if (origins.empty()) {
        const std::size_t at = m_pattern[from] == '\\' ? from + 1 : from;
        const char32_t invalid = kRegexInvalidByteBase + static_cast<unsigned char>(m_pattern[at]);
        m_pos = at + 1;
        flags |= kHasWidth | kSimple;
        return emitCharacterSet(RegexOp::CharacterIn, {{invalid, invalid}});
    }
    if (p < m_pattern.size() && isQuantifier(m_pattern[p]) && origins.size() > 1) {
        p = origins.back();
        bytes.resize(starts.back());
    }
    m_pos = p;
    flags |= kHasWidth | (bytes.size() == 1 ? kSimple : 0);
    const int result = emitNode(op(RegexOp::Exactly));
    for (const char c : bytes) {
        emitByte(static_cast<uint8_t>(c));
    }
    emitByte(0);
    return result;
}

int RegexCompiler::parseLiteralRun(std::size_t from, int& flags) {
    // Collect the characters with the pattern position each one came from, so that the last
    // one can be handed back to a following quantifier.
    std::vector<char> characters;
    std::vector<std::size_t> origins;
    std::size_t p = from;
    while (p < m_pattern.size()) {
        const char c = m_pattern[p];
        if (c == '\\') {
            if (p + 1 >= m_pattern.size() || m_pattern[p + 1] == '<' || m_pattern[p + 1] == '>') {
                break;
            }
            origins.push_back(p);
            characters.push_back(m_pattern[p + 1]);
            p += 2;
            continue;
        }
        if (endsLiteralRun(c)) {
            break;
        }
        origins.push_back(p);
        characters.push_back(c);
        ++p;
    }
    if (p < m_pattern.size() && isQuantifier(m_pattern[p]) && characters.size() > 1) {
        p = origins.back();
        characters.pop_back();
    }
    m_pos = p;
    flags |= kHasWidth | (characters.size() == 1 ? kSimple : 0);
    const int result = emitNode(op(RegexOp::Exactly));
    for (const char c : characters) {
        emitByte(static_cast<uint8_t>(c));
    }
    emitByte(0);
    return result;
}

int RegexCompiler::emitNode(uint8_t opcode) {
    if (!m_emitting) {
        m_size += kNodeHeader;
        return kDummy;
    }
    const int at = static_cast<int>(m_code.size());
    m_code.push_back(opcode);
    m_code.push_back(0);
    m_code.push_back(0);
    return at;
}

void RegexCompiler::emitByte(uint8_t byte) {
    if (!m_emitting) {
        ++m_size;
        return;
    }
    m_code.push_back(byte);
}

void RegexCompiler::insertNode(uint8_t opcode, int before) {
    if (!m_emitting) {
        m_size += kNodeHeader;
        return;
    }
    const auto at = m_code.begin() + before;
    const uint8_t header[kNodeHeader] = {opcode, 0, 0};
    m_code.insert(at, header, header + kNodeHeader);
}

int RegexCompiler::nextOf(int node) const {
    if (!m_emitting || node < 0) {
        return kNoNode;
    }
    const auto index = static_cast<std::size_t>(node);
    const int offset = (m_code[index + 1] << 8) | m_code[index + 2];
    if (offset == 0) {
        return kNoNode;
    }
    return m_code[index] == op(RegexOp::Back) ? node - offset : node + offset;
}

void RegexCompiler::linkTail(int chain, int target) {
    if (!m_emitting || chain < 0 || target < 0) {
        return;
    }
    int last = chain;
    for (int next = nextOf(last); next != kNoNode; next = nextOf(last)) {
        last = next;
    }
    const auto index = static_cast<std::size_t>(last);
    const int offset = m_code[index] == op(RegexOp::Back) ? last - target : target - last;
    m_code[index + 1] = static_cast<uint8_t>((offset >> 8) & 0xFF);
    m_code[index + 2] = static_cast<uint8_t>(offset & 0xFF);
}

void RegexCompiler::linkOperandTail(int branch, int target) {
    if (!m_emitting || branch < 0 || m_code[static_cast<std::size_t>(branch)] != op(RegexOp::Branch)) {
        return;
    }
    linkTail(branch + static_cast<int>(kNodeHeader), target);
}

void RegexCompiler::setOptimisationFacts(RegexProgram& program, int topFlags) const {
    const std::vector<uint8_t>& code = m_code;
    const int first = 1;
    const int afterFirst = nextOf(first);
    if (afterFirst == kNoNode || code[static_cast<std::size_t>(afterFirst)] != op(RegexOp::End)) {
        return; // several alternatives at the top level: nothing is certain
    }
    int node = first + static_cast<int>(kNodeHeader);
    const uint8_t firstOp = code[static_cast<std::size_t>(node)];
    if (firstOp == op(RegexOp::Exactly)) {
        program.m_firstCharacter = code[static_cast<std::size_t>(node) + kNodeHeader];
    } else if (firstOp == op(RegexOp::LineStart)) {
        program.m_anchored = true;
    }
    // Only a pattern that starts with a repetition is costly enough to be worth the must-have
    // test; the later of equally long literals is taken, as the first-character scan already
    // covers the beginning.
    if ((topFlags & kStartsWithRepeat) == 0) {
        return;
    }
    std::size_t longestOffset = 0;
    std::size_t longestLength = 0;
    bool found = false;
    for (; node != kNoNode; node = nextOf(node)) {
        const auto index = static_cast<std::size_t>(node);
        if (code[index] != op(RegexOp::Exactly)) {
            continue;
        }
        const char* operand = reinterpret_cast<const char*>(code.data() + index + kNodeHeader);
        const std::size_t length = std::strlen(operand);
        if (length >= longestLength) {
            longestOffset = index + kNodeHeader;
            longestLength = length;
            found = true;
        }
    }
    if (found) {
        program.m_mustOffset = longestOffset;
        program.m_mustLength = longestLength;
    }
}

} // namespace vexa
