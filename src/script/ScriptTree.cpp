// The node store and variable table of one parsed script.
#include "script/ScriptTree.h"

namespace vexa::script {

std::string_view kindName(NodeKind kind) {
    switch (kind) {
    case NodeKind::Program:
        return "Program";
    case NodeKind::Statement:
        return "Statement";
    case NodeKind::Function:
        return "Funtion";
    case NodeKind::Expression:
        return "Expression";
    case NodeKind::PreIncrement:
    case NodeKind::PostIncrement:
        return "++";
    case NodeKind::PreDecrement:
    case NodeKind::PostDecrement:
        return "--";
    case NodeKind::Number:
        return "Number";
    case NodeKind::String:
        return "String";
    case NodeKind::Variable:
        return "Variable";
    case NodeKind::Else:
        return "else";
    case NodeKind::For:
        return "for";
    case NodeKind::If:
        return "if";
    case NodeKind::Return:
        return "return";
    case NodeKind::While:
        return "while";
    case NodeKind::Multiply:
        return "*";
    case NodeKind::Remainder:
    case NodeKind::Divide:
        return "%";
    case NodeKind::Add:
        return "+";
    case NodeKind::Subtract:
        return "-";
    case NodeKind::Not:
        return "!";
    case NodeKind::And:
        return "&";
    case NodeKind::Or:
        return "|";
    case NodeKind::Less:
        return "<";
    case NodeKind::Greater:
        return ">";
    case NodeKind::LessEqual:
        return "<=";
    case NodeKind::GreaterEqual:
        return ">=";
    case NodeKind::Equal:
        return "==";
    case NodeKind::NotEqual:
        return "!=";
    case NodeKind::Assign:
        return "=";
    case NodeKind::Declaration:
        return "decl";
    case NodeKind::Argument:
        return "arg";
    case NodeKind::BitOr:
    case NodeKind::BitXor:
    case NodeKind::BitAnd:
        return "";
    }
    return "";
}

ScriptTree::ScriptTree() {
    m_nodes.reserve(kMaxNodes);
}

NodeId ScriptTree::add(NodeKind kind, int32_t line, int32_t column) {
    if (m_nodes.size() >= kMaxNodes) {
        m_limit = Limit::Nodes;
        return kNoNode;
    }
    ScriptNode& node = m_nodes.emplace_back();
    node.kind = kind;
    node.line = line;
    node.column = column;
    node.name = kindName(kind);
    return static_cast<NodeId>(m_nodes.size() - 1);
}

bool ScriptTree::takeTableEntry() {
    if (m_tableEntries >= kMaxVariables) {
        m_limit = Limit::Variables;
        return false;
    }
    ++m_tableEntries;
    return true;
}

NodeId ScriptTree::variable(std::string_view name, int32_t line, int32_t column) {
    const std::string key(name.substr(0, kMaxNameLength));
    if (const auto found = m_variables.find(key); found != m_variables.end()) {
        ++m_nodes[static_cast<size_t>(found->second)].useCount;
        return found->second;
    }
    if (m_nodes.size() >= kMaxNodes) {
        m_limit = Limit::Nodes;
        return kNoNode;
    }
    if (!takeTableEntry()) {
        return kNoNode;
    }
    const NodeId id = add(NodeKind::Variable, line, column);
    ScriptNode& node = m_nodes[static_cast<size_t>(id)];
    node.name = key;
    node.useCount = 1;
    m_variables.emplace(key, id);
    return id;
}

NodeId ScriptTree::argument(std::string_view name, int32_t line, int32_t column) {
    if (m_nodes.size() >= kMaxNodes) {
        m_limit = Limit::Nodes;
        return kNoNode;
    }
    if (!takeTableEntry()) {
        return kNoNode;
    }
    const NodeId id = add(NodeKind::Argument, line, column);
    m_nodes[static_cast<size_t>(id)].name = name;
    return id;
}

NodeId ScriptTree::findVariable(std::string_view name) const {
    const auto found = m_variables.find(std::string(name));
    return found == m_variables.end() ? kNoNode : found->second;
}

} // namespace vexa::script
