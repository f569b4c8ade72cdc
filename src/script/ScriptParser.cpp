// The parser of the script language: recursive descent over the statements and conditions,
// precedence climbing over the expressions.
#include "script/ScriptParser.h"

#include <algorithm>

namespace vexa::script {

namespace {

constexpr const char* kTooBig = "Macro is too big!";
constexpr const char* kTooManyVariables = "Too many variables!";
constexpr const char* kStackOverflow = "parser stack overflow";

// The binding levels of the binary expression operators: "+" and "-" loosest, then "*", "/"
// and "%", then the three bitwise operators on one level; 0 for every other token.
int levelOf(TokenCode code) {
    switch (code) {
    case TokenCode::PlusOp:
    case TokenCode::MinusOp:
        return 1;
    case TokenCode::MulOp:
    case TokenCode::DivOp:
    case TokenCode::ModOp:
        return 2;
    case TokenCode::OrBits:
    case TokenCode::XorBits:
    case TokenCode::AndBits:
        return 3;
    default:
        return 0;
    }
}
constexpr int kRightAssociativeLevel = 3;

NodeKind binaryKind(TokenCode code) {
    switch (code) {
    case TokenCode::PlusOp:
        return NodeKind::Add;
    case TokenCode::MinusOp:
        return NodeKind::Subtract;
    case TokenCode::MulOp:
        return NodeKind::Multiply;
    case TokenCode::DivOp:
        return NodeKind::Divide;
    case TokenCode::ModOp:
        return NodeKind::Remainder;
    case TokenCode::OrBits:
        return NodeKind::BitOr;
    case TokenCode::XorBits:
        return NodeKind::BitXor;
    default:
        return NodeKind::BitAnd;
    }
}

// The comparison node of a logic operator token, or nothing.
bool comparisonKind(TokenCode code, NodeKind& kind) {
    switch (code) {
    case TokenCode::GtOp:
        kind = NodeKind::Greater;
        return true;
    case TokenCode::LtOp:
        kind = NodeKind::Less;
        return true;
    case TokenCode::EqOp:
        kind = NodeKind::Equal;
        return true;
    case TokenCode::GeOp:
        kind = NodeKind::GreaterEqual;
        return true;
    case TokenCode::LeOp:
        kind = NodeKind::LessEqual;
        return true;
    case TokenCode::NeOp:
        kind = NodeKind::NotEqual;
        return true;
    default:
        return false;
    }
}

} // namespace

class ScriptParser::NestingGuard {
public:
    explicit NestingGuard(ScriptParser& parser) : m_parser(parser) {
        if (++m_parser.m_nesting > kMaxDepth) {
            m_parser.stackOverflow();
        }
    }
    ~NestingGuard() { --m_parser.m_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    ScriptParser& m_parser;
};

ScriptParser::ScriptParser(ScriptScanner& scanner, ScriptTree& tree, ScriptReporter& reporter)
    : m_scanner(scanner), m_tree(tree), m_reporter(reporter) {}

ParseResult ScriptParser::parse() {
    ParseResult result = ParseResult::Parsed;
    try {
        m_token = m_scanner.next();
        m_tree.setRoot(program());
    } catch (const SyntaxError&) {
        // An error in the program's head: there is no statement to recover in.
        result = ParseResult::Failed;
    } catch (const Abort&) {
        result = ParseResult::Failed;
    } catch (const FatalLimit&) {
        result = ParseResult::Fatal;
    }
    if (result == ParseResult::Parsed && (m_failed || m_scanner.errorReported())) {
        result = ParseResult::Failed;
    }
    if (result != ParseResult::Parsed) {
        m_reporter.setSyntaxError();
    }
    return result;
}

void ScriptParser::advance() {
    m_lastLine = m_token.line + 1;
    m_lastColumn = m_token.column + 1;
    if (m_quietTokens > 0) {
        --m_quietTokens;
    }
    m_token = m_scanner.next();
}

void ScriptParser::expect(TokenCode code) {
    if (!at(code)) {
        syntaxError();
    }
    advance();
}

void ScriptParser::syntaxError() {
    m_failed = true;
    if (m_quietTokens == 0) {
        m_scanner.reportError("parse error");
    }
    throw SyntaxError{};
}

void ScriptParser::stackOverflow() {
    m_failed = true;
    m_scanner.reportError(kStackOverflow);
    throw Abort{};
}

void ScriptParser::fatal(const char* message) {
    m_reporter.fatal(message);
    throw FatalLimit{};
}

NodeId ScriptParser::checked(NodeId id) {
    if (id == kNoNode) {
        fatal(m_tree.limitReached() == ScriptTree::Limit::Variables ? kTooManyVariables : kTooBig);
    }
    return id;
}

NodeId ScriptParser::node(NodeKind kind, NodeId first, NodeId second, NodeId third) {
    const NodeId id = checked(m_tree.add(kind, m_lastLine, m_lastColumn));
    ScriptNode& n = m_tree[id];
    n.first = first;
    n.second = second;
    n.third = third;
    const auto depthOf = [this](NodeId child) { return child == kNoNode ? 0 : m_tree[child].depth; };
    int32_t depth = 1 + std::max(depthOf(first), depthOf(third));
    // Lists are walked in a loop, so their length adds no depth.
    if (kind == NodeKind::Statement || kind == NodeKind::Expression) {
        depth = std::max(depth, depthOf(second));
    } else {
        depth = std::max(depth, 1 + depthOf(second));
    }
    n.depth = depth;
    return id;
}

NodeId ScriptParser::program() {
    expect(TokenCode::Int);
    if (!at(TokenCode::Name)) {
        syntaxError();
    }
    const std::string name(m_token.text.substr(0, kMaxNameLength));
    advance();
    const NodeId nameNode = node(NodeKind::Function);
    m_tree[nameNode].valueType = ValueType::FunctionName;
    m_tree[nameNode].text = name;
    expect(TokenCode::LeftParen);
    if (at(TokenCode::Void)) {
        advance();
    }
    expect(TokenCode::RightParen);
    const NodeId statements = statementList(TokenCode::EndOfInput);
    return node(NodeKind::Program, nameNode, statements);
}

NodeId ScriptParser::statementList(TokenCode end) {
    NodeId head = kNoNode;
    NodeId tail = kNoNode;
    do {
        const NodeId item = node(NodeKind::Statement, recoveringStatement());
        if (tail == kNoNode) {
            head = item;
        } else {
            m_tree[tail].second = item;
        }
        tail = item;
    } while (!at(end));
    // The chain was built front to back, so the depths seen when each node was made missed
    // the later elements; lists add no depth, the largest element's depth is what counts.
    int32_t depth = 0;
    for (NodeId id = head; id != kNoNode; id = m_tree[id].second) {
        depth = std::max(depth, m_tree[id].depth);
    }
    m_tree[head].depth = depth;
    return head;
}

NodeId ScriptParser::recoveringStatement() {
    try {
        return statement();
    } catch (const SyntaxError&) {
        // Skip to the ";" or "}" that ends the broken statement; the "}" is taken even when it
        // closes a block, as the statement grammar's error alternatives do.
        while (!at(TokenCode::Semicolon) && !at(TokenCode::RightBrace)) {
            if (at(TokenCode::EndOfInput)) {
                throw Abort{};
            }
            m_token = m_scanner.next();
        }
        m_quietTokens = 3;
        advance();
        return kNoNode;
    }
}

NodeId ScriptParser::statement() {
    NestingGuard guard(*this);
    switch (m_token.code) {
    case TokenCode::LeftBrace:
        advance();
        if (at(TokenCode::RightBrace)) {
            advance();
            return kNoNode;
        } else {
            const NodeId list = statementList(TokenCode::RightBrace);
            advance();
            return list;
        }
    case TokenCode::If:
        return ifStatement();
    case TokenCode::While:
        return whileStatement();
    case TokenCode::For:
        return forStatement();
    case TokenCode::Int:
    case TokenCode::Char:
    case TokenCode::CArray: {
        const NodeId decl = declaration();
        expect(TokenCode::Semicolon);
        return decl;
    }
    case TokenCode::Return: {
        const NodeId ret = returnStatement();
        expect(TokenCode::Semicolon);
        return ret;
    }
    default: {
        const NodeId expr = expression(1);
        expect(TokenCode::Semicolon);
        return expr;
    }
    }
}

NodeId ScriptParser::ifStatement() {
    advance();
    expect(TokenCode::LeftParen);
    const NodeId condition = orCondition();
    expect(TokenCode::RightParen);
    const NodeId thenBranch = recoveringStatement();
    NodeId elseBranch = kNoNode;
    // An else always belongs to the nearest open if: the innermost call takes it first.
    if (at(TokenCode::Else)) {
        advance();
        elseBranch = recoveringStatement();
    }
    const NodeId holder = node(NodeKind::Else, thenBranch, elseBranch);
    return node(NodeKind::If, condition, holder);
}

NodeId ScriptParser::whileStatement() {
    advance();
    expect(TokenCode::LeftParen);
    const NodeId condition = orCondition();
    expect(TokenCode::RightParen);
    const NodeId body = recoveringStatement();
    return node(NodeKind::While, condition, body);
}

NodeId ScriptParser::forStatement() {
    advance();
    expect(TokenCode::LeftParen);
    const NodeId initial = expression(1);
    expect(TokenCode::Semicolon);
    const NodeId condition = orCondition();
    expect(TokenCode::Semicolon);
    const NodeId step = expression(1);
    expect(TokenCode::RightParen);
    const NodeId header = node(NodeKind::For, initial, condition, step);
    const NodeId body = recoveringStatement();
    return node(NodeKind::For, body, header);
}

NodeId ScriptParser::declaration() {
    ValueType type = ValueType::Integer;
    if (at(TokenCode::Char)) {
        type = ValueType::Character;
    } else if (at(TokenCode::CArray)) {
        type = ValueType::StringVariable;
    }
    advance();
    const NodeId target = variable();
    m_tree[target].valueType = type;
    NodeId initial = kNoNode;
    char op = 0;
    if (at(TokenCode::AssignOp)) {
        op = static_cast<char>(m_token.value);
        advance();
        initial = expression(1);
    }
    const NodeId decl = node(NodeKind::Declaration, target, initial);
    m_tree[decl].assignOperator = op;
    return decl;
}

NodeId ScriptParser::returnStatement() {
    advance();
    const NodeId condition = at(TokenCode::Semicolon) ? kNoNode : orCondition();
    return node(NodeKind::Return, condition);
}

NodeId ScriptParser::orCondition() {
    NodeId left = andCondition();
    while (at(TokenCode::OrOp)) {
        advance();
        const NodeId right = andCondition();
        left = node(NodeKind::Or, left, right);
    }
    return left;
}

NodeId ScriptParser::andCondition() {
    NodeId left = unaryCondition();
    while (at(TokenCode::AndOp)) {
        advance();
        const NodeId right = unaryCondition();
        left = node(NodeKind::And, left, right);
    }
    return left;
}

NodeId ScriptParser::unaryCondition() {
    NestingGuard guard(*this);
    if (at(TokenCode::Not)) {
        advance();
        const NodeId inner = unaryCondition();
        return node(NodeKind::Not, inner);
    }
    if (at(TokenCode::LeftParen)) {
        // Parentheses group conditions only; an expression never begins with one.
        advance();
        const NodeId inner = orCondition();
        expect(TokenCode::RightParen);
        return inner;
    }
    const NodeId left = expression(1);
    NodeKind kind = NodeKind::NotEqual;
    if (comparisonKind(m_token.code, kind)) {
        advance();
        const NodeId right = expression(1);
        return node(kind, left, right);
    }
    // A bare expression is compared with a zero of its own.
    const NodeId zero = node(NodeKind::Number);
    m_tree[zero].valueType = ValueType::NumberConstant;
    return node(NodeKind::NotEqual, left, zero);
}

NodeId ScriptParser::expression(int minLevel) {
    NestingGuard guard(*this);
    NodeId left = operand();
    for (int level = levelOf(m_token.code); level != 0 && level >= minLevel; level = levelOf(m_token.code)) {
        const TokenCode op = m_token.code;
        advance();
        const NodeId right = expression(level == kRightAssociativeLevel ? level : level + 1);
        left = node(binaryKind(op), left, right);
    }
    return left;
}

NodeId ScriptParser::operand() {
    switch (m_token.code) {
    case TokenCode::Name: {
        const ScriptToken name = m_token;
        advance();
        if (at(TokenCode::LeftParen)) {
            return call(name);
        }
        return postfixOrAssignment(checked(m_tree.variable(name.text, m_lastLine, m_lastColumn)));
    }
    case TokenCode::Argc:
    case TokenCode::Argv:
        return postfixOrAssignment(variable());
    case TokenCode::IncOp:
    case TokenCode::DecOp: {
        const NodeKind kind = at(TokenCode::IncOp) ? NodeKind::PreIncrement : NodeKind::PreDecrement;
        advance();
        const NodeId target = variable();
        return node(kind, target);
    }
    case TokenCode::Number:
    case TokenCode::OneChar: {
        const int32_t value = m_token.value;
        advance();
        const NodeId number = node(NodeKind::Number);
        m_tree[number].valueType = ValueType::NumberConstant;
        m_tree[number].value = value;
        return number;
    }
    case TokenCode::String: {
        const std::string_view quoted = m_token.text;
        // Both quotes go; an unterminated string (already reported) has only the first.
        std::string_view inner = quoted.substr(1);
        if (!inner.empty() && inner.back() == '"') {
            inner.remove_suffix(1);
        }
        advance();
        const NodeId string = node(NodeKind::String);
        ScriptNode& n = m_tree[string];
        n.valueType = ValueType::StringConstant;
        n.literal.assign(inner.substr(0, kMaxTextLength));
        n.text = n.literal;
        return string;
    }
    default:
        syntaxError();
    }
}

NodeId ScriptParser::postfixOrAssignment(NodeId target) {
    if (at(TokenCode::IncOp) || at(TokenCode::DecOp)) {
        const NodeKind kind = at(TokenCode::IncOp) ? NodeKind::PostIncrement : NodeKind::PostDecrement;
        advance();
        return node(kind, target);
    }
    if (at(TokenCode::AssignOp)) {
        // An assignment takes everything to its right, whatever operator stands before it.
        const char op = static_cast<char>(m_token.value);
        advance();
        const NodeId value = expression(1);
        const NodeId assignment = node(NodeKind::Assign, target, value);
        m_tree[assignment].assignOperator = op;
        return assignment;
    }
    return target;
}

NodeId ScriptParser::variable() {
    NestingGuard guard(*this);
    switch (m_token.code) {
    case TokenCode::Name: {
        const std::string_view name = m_token.text;
        advance();
        return checked(m_tree.variable(name, m_lastLine, m_lastColumn));
    }
    case TokenCode::Argc: {
        advance();
        return checked(m_tree.argument("argc", m_lastLine, m_lastColumn));
    }
    case TokenCode::Argv: {
        advance();
        expect(TokenCode::LeftBracket);
        NodeId index = kNoNode;
        int32_t constantIndex = -1;
        if (at(TokenCode::Number)) {
            constantIndex = m_token.value;
            advance();
        } else {
            index = variable();
        }
        expect(TokenCode::RightBracket);
        const NodeId element = checked(m_tree.argument("argv", m_lastLine, m_lastColumn));
        ScriptNode& n = m_tree[element];
        n.valueType = ValueType::StringConstant;
        n.useCount = constantIndex;
        n.first = index;
        n.depth = index == kNoNode ? 1 : 1 + m_tree[index].depth;
        return element;
    }
    default:
        syntaxError();
    }
}

NodeId ScriptParser::call(const ScriptToken& name) {
    const NodeId nameNode = node(NodeKind::Function);
    m_tree[nameNode].valueType = ValueType::FunctionName;
    m_tree[nameNode].text.assign(name.text.substr(0, kMaxNameLength));
    advance(); // the "("
    NodeId head = kNoNode;
    NodeId tail = kNoNode;
    int32_t depth = 0;
    if (!at(TokenCode::RightParen)) {
        while (true) {
            const NodeId value = expression(1);
            const NodeId argument = node(NodeKind::Expression, value);
            depth = std::max(depth, m_tree[argument].depth);
            if (tail == kNoNode) {
                head = argument;
            } else {
                m_tree[tail].second = argument;
            }
            tail = argument;
            if (!at(TokenCode::Comma)) {
                break;
            }
            advance();
        }
    }
    expect(TokenCode::RightParen);
    if (head != kNoNode) {
        m_tree[head].depth = depth;
    }
    const NodeId holder = node(NodeKind::Function, head);
    return node(NodeKind::Function, nameNode, holder);
}

} // namespace vexa::script
