// The node store and variable table of one parsed script, with their limits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/ScriptNode.h"

namespace vexa::script {

class ScriptTree {
public:
    static constexpr size_t kMaxNodes = 2500;
    static constexpr size_t kMaxVariables = 600;

    enum class Limit : uint8_t { None, Nodes, Variables };

    ScriptTree();

    // A new node with the kind's name; kNoNode once the store is full.
    [[nodiscard]] NodeId add(NodeKind kind, int32_t line, int32_t column);

    // The table entry of a name (cut to 40 characters), made on its first occurrence and
    // counted on every later one; kNoNode when the table or the store is full.
    [[nodiscard]] NodeId variable(std::string_view name, int32_t line, int32_t column);

    // An argc or argv node: it takes a table entry without being found by name.
    [[nodiscard]] NodeId argument(std::string_view name, int32_t line, int32_t column);

    // Which limit stopped the last failed add.
    Limit limitReached() const { return m_limit; }

    ScriptNode& operator[](NodeId id) { return m_nodes[static_cast<size_t>(id)]; }
    const ScriptNode& operator[](NodeId id) const { return m_nodes[static_cast<size_t>(id)]; }
    size_t size() const { return m_nodes.size(); }
    size_t variableCount() const { return m_tableEntries; }

    NodeId root() const { return m_root; }
    void setRoot(NodeId root) { m_root = root; }

    // Finds a variable by its exact name; kNoNode when the script never names it.
    NodeId findVariable(std::string_view name) const;

private:
    bool takeTableEntry();

    // Reserved to the limit at once, so evaluation can hold references to nodes safely.
    std::vector<ScriptNode> m_nodes;
    std::unordered_map<std::string, NodeId> m_variables;
    size_t m_tableEntries = 0;
    NodeId m_root = kNoNode;
    Limit m_limit = Limit::None;
};

} // namespace vexa::script
