// The syntax tree node of a script: its kind, position, children, value type and values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa::script {

// Nodes live in one store and refer to each other by index.
using NodeId = int32_t;
inline constexpr NodeId kNoNode = -1;

// The numbers appear in the "unexpected node" warning; the names in every other report.
enum class NodeKind : int32_t {
    Program = 1,
    Statement = 2,
    Function = 3,   // a call, and the name node and argument holder inside it
    Expression = 4, // one argument of a call
    PreIncrement = 5,
    PreDecrement = 6,
    PostIncrement = 7,
    PostDecrement = 8,
    Number = 9,
    String = 10,
    Variable = 11,
    Else = 12,
    For = 13, // the loop and its header
    If = 14,
    Return = 15,
    While = 16,
    Multiply = 19,
    Remainder = 20,
    Divide = 21,
    Add = 22,
    Subtract = 23,
    Not = 26,
    And = 27,
    Or = 28,
    Less = 29,
    Greater = 30,
    LessEqual = 31,
    GreaterEqual = 32,
    Equal = 33,
    NotEqual = 34,
    Assign = 35,
    Declaration = 37,
    Argument = 38, // argc or an argv element
    BitOr = 39,
    BitXor = 40,
    BitAnd = 41,
};

enum class ValueType : int32_t {
    Integer = 0,
    Character = 1,
    StringVariable = 2,
    StringConstant = 3, // string literals and argv elements
    NumberConstant = 4,
    FunctionName = 5,
};

// The name a node of this kind carries in reports (division shares the remainder's "%").
std::string_view kindName(NodeKind kind);

inline constexpr size_t kMaxNameLength = 40;
inline constexpr size_t kMaxTextLength = 1024;

struct ScriptNode {
    NodeKind kind = NodeKind::Program;
    int32_t line = 0;   // of the token that completed the node, counted from 1
    int32_t column = 0; // counted from 1
    NodeId first = kNoNode;
    NodeId second = kNoNode; // lists are chained through the second child
    NodeId third = kNoNode;  // only the step expression of a loop header
    ValueType valueType = ValueType::Integer;
    // How often a variable's name occurs, or an argv element's constant index (-1 when the index
    // is a variable).
    int32_t useCount = 0;
    int32_t value = 0;
    char assignOperator = 0;
    bool declared = false;
    // Whether a string variable was ever given a text; until then it has none (which is not
    // the same as an empty text: strlen gives -1, reports show no value).
    bool textSet = false;
    int32_t depth = 1; // how deep evaluation recurses below this node
    std::string name;  // a variable's name, otherwise the kind name
    std::string text;  // strings and function names
    // A string constant's text as written; what evaluation shows is `text`, which the host may
    // have expanded from it.
    std::string literal;

    bool isString() const {
        return valueType == ValueType::StringVariable || valueType == ValueType::StringConstant;
    }
    bool hasText() const {
        return valueType == ValueType::StringConstant || valueType == ValueType::FunctionName ||
               (valueType == ValueType::StringVariable && textSet);
    }
};

} // namespace vexa::script
