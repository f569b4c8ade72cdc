// One call of a built-in function: its name and its evaluated arguments, read and written by
// reference.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "script/ScriptNode.h"

namespace vexa::script {

class ScriptTree;
class ScriptInterpreter;

class ScriptCall {
public:
    ScriptCall(ScriptInterpreter& interpreter, ScriptTree& tree, NodeId call);

    // The name as written in the script (cut to 40 characters).
    std::string_view name() const;
    int count() const { return m_count; }

    // Whether argument i is a string: a string variable, a string constant or an argv element.
    bool isString(int i) const;
    // Whether argument i is a string that holds a text (a string variable never given one does
    // not).
    bool hasText(int i) const;
    // Whether argument i is a variable that can take a result.
    bool isVariable(int i) const;

    // The evaluated value of argument i.
    int32_t number(int i) const;
    // The text of argument i: its decimal value, its one character, or its string.
    std::string text(int i) const;

    // Stores a text into a string argument (cut to 1,024 characters); false for another one.
    bool setText(int i, std::string_view text);
    // Stores a number into a variable argument (a string variable takes its decimal text);
    // false when the argument is no variable.
    bool setNumber(int i, int32_t value);
    // Stores only the integer value of a variable argument, leaving a string's text alone.
    bool setValue(int i, int32_t value);

    // Reports a warning about the call, counted toward the run's limit.
    void warning(std::string_view reason);

    const platform::Clock& clock() const;

private:
    ScriptNode& argumentNode(int i) const;
    ScriptNode& valueNode(int i) const;

    ScriptInterpreter& m_interpreter;
    ScriptTree& m_tree;
    NodeId m_call;
    NodeId m_first;
    int m_count = 0;
};

} // namespace vexa::script
