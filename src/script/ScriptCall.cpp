// One call of a built-in function.
#include "script/ScriptCall.h"

#include "script/ScriptInterpreter.h"
#include "script/ScriptText.h"
#include "script/ScriptTree.h"

namespace vexa::script {

ScriptCall::ScriptCall(ScriptInterpreter& interpreter, ScriptTree& tree, NodeId call)
    : m_interpreter(interpreter), m_tree(tree), m_call(call) {
    m_first = m_tree[m_tree[call].second].first;
    for (NodeId arg = m_first; arg != kNoNode; arg = m_tree[arg].second) {
        ++m_count;
    }
}

std::string_view ScriptCall::name() const {
    return m_tree[m_tree[m_call].first].text;
}

ScriptNode& ScriptCall::argumentNode(int i) const {
    NodeId arg = m_first;
    for (int k = 0; k < i; ++k) {
        arg = m_tree[arg].second;
    }
    return m_tree[arg];
}

ScriptNode& ScriptCall::valueNode(int i) const {
    return m_tree[argumentNode(i).first];
}

bool ScriptCall::isString(int i) const {
    return i >= 0 && i < m_count && valueNode(i).isString();
}

bool ScriptCall::hasText(int i) const {
    return i >= 0 && i < m_count && valueNode(i).hasText();
}

bool ScriptCall::isVariable(int i) const {
    return i >= 0 && i < m_count && valueNode(i).kind == NodeKind::Variable;
}

int32_t ScriptCall::number(int i) const {
    return i >= 0 && i < m_count ? argumentNode(i).value : 0;
}

std::string ScriptCall::text(int i) const {
    if (i < 0 || i >= m_count) {
        return {};
    }
    const ScriptNode& value = valueNode(i);
    switch (value.valueType) {
    case ValueType::Integer:
    case ValueType::NumberConstant:
        return std::to_string(argumentNode(i).value);
    case ValueType::Character: {
        // A character is text up to its terminating zero, so the character 0 is no text at all.
        const char c = static_cast<char>(argumentNode(i).value);
        return c == '\0' ? std::string() : std::string(1, c);
    }
    case ValueType::StringVariable:
    case ValueType::StringConstant:
        return value.text;
    case ValueType::FunctionName:
        break;
    }
    return {};
}

bool ScriptCall::setText(int i, std::string_view text) {
    if (!isString(i)) {
        return false;
    }
    ScriptNode& value = valueNode(i);
    value.text.assign(text.substr(0, kMaxTextLength));
    value.textSet = true;
    value.value = textToNumber(value.text);
    argumentNode(i).value = value.value;
    return true;
}

bool ScriptCall::setNumber(int i, int32_t number) {
    if (!isVariable(i)) {
        return false;
    }
    ScriptNode& value = valueNode(i);
    if (value.valueType == ValueType::StringVariable) {
        value.text = std::to_string(number);
        value.textSet = true;
    }
    value.value = number;
    argumentNode(i).value = number;
    return true;
}

bool ScriptCall::setValue(int i, int32_t number) {
    if (!isVariable(i)) {
        return false;
    }
    valueNode(i).value = number;
    argumentNode(i).value = number;
    return true;
}

void ScriptCall::warning(std::string_view reason) {
    m_interpreter.warning(m_tree[m_call].first, reason);
}

const platform::Clock& ScriptCall::clock() const {
    return m_interpreter.clock();
}

} // namespace vexa::script
