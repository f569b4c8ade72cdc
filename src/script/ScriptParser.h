// The parser of the script language: builds the syntax tree from the scanner's tokens,
// recovers from syntax errors at the end of a statement and keeps the size limits.
#pragma once

#include <cstdint>

#include "script/ScriptReporter.h"
#include "script/ScriptScanner.h"
#include "script/ScriptTree.h"

namespace vexa::script {

enum class ParseResult : uint8_t {
    Parsed, // a tree without errors
    Failed, // syntax errors were reported; the script must not run
    Fatal,  // a limit was reached and reported; the script must not run
};

class ScriptParser {
public:
    // The parser's recursion, and with it the depth of the tree the interpreter walks, is
    // bounded by the node limit: every level of nesting but a pair of parentheses makes a node,
    // so no script within the node limit needs more. Deeper nesting is reported as the parser's
    // stack overflow and fails the parse, so neither the parser nor the evaluation of the tree
    // can exhaust the stack.
    static constexpr int kMaxDepth = static_cast<int>(ScriptTree::kMaxNodes);

    ScriptParser(ScriptScanner& scanner, ScriptTree& tree, ScriptReporter& reporter);

    // Parses the whole script into the tree; the root is the "Program" node.
    [[nodiscard]] ParseResult parse();

private:
    struct SyntaxError {};
    struct Abort {};
    struct FatalLimit {};
    class NestingGuard;

    void advance();
    bool at(TokenCode code) const { return m_token.code == code; }
    void expect(TokenCode code);
    [[noreturn]] void syntaxError();
    [[noreturn]] void fatal(const char* message);
    [[noreturn]] void stackOverflow();

    NodeId program();
    NodeId statementList(TokenCode end);
    NodeId recoveringStatement();
    NodeId statement();
    NodeId ifStatement();
    NodeId whileStatement();
    NodeId forStatement();
    NodeId declaration();
    NodeId returnStatement();
    NodeId orCondition();
    NodeId andCondition();
    NodeId unaryCondition();
    NodeId expression(int minLevel);
    NodeId operand();
    NodeId postfixOrAssignment(NodeId variable);
    NodeId variable();
    NodeId call(const ScriptToken& name);

    // A node completed by the token consumed last.
    NodeId node(NodeKind kind, NodeId first = kNoNode, NodeId second = kNoNode, NodeId third = kNoNode);
    NodeId checked(NodeId id);

    ScriptScanner& m_scanner;
    ScriptTree& m_tree;
    ScriptReporter& m_reporter;
    ScriptToken m_token;
    int32_t m_lastLine = 1;
    int32_t m_lastColumn = 1;
    int m_nesting = 0;
    // After an error, further errors are not reported until three tokens have been accepted,
    // so that one slip does not bury the output under follow-on reports.
    int m_quietTokens = 0;
    bool m_failed = false;
};

} // namespace vexa::script
