// What a script run asks of the program that runs it: the output, the termination check,
// further functions beyond the library, string expansion and the end of the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/ScriptOutput.h"

namespace vexa::script {

class ScriptCall;

// The editor implements this to route the output to its output window, to connect the
// termination check to the Escape key and to add its own functions. The defaults give a run
// with the library alone.
class ScriptHost : public ScriptOutput {
public:
    // Asked after every pass of a while or for loop; true ends the run as terminated by the user.
    virtual bool terminationRequested() { return false; }

    // A function the library does not have. Nothing when the host does not know the name
    // either: the call is then reported as unknown and gives -1.
    virtual std::optional<int32_t> callFunction(ScriptCall& call) {
        (void)call;
        return std::nullopt;
    }

    // Each time a string constant is evaluated its written text is offered here; true when
    // `expanded` holds the text to use instead.
    virtual bool expandString(std::string_view literal, std::string& expanded) {
        (void)literal;
        (void)expanded;
        return false;
    }

    // The end point of every run that got as far as its script: the return code and the end
    // message ("Fatal Error", "Macro terminated by user!", or empty for a normal end).
    virtual void runEnded(int32_t code, std::string_view message) {
        (void)code;
        (void)message;
    }
};

// A host that collects the output in a string, with an optional step budget for runaway loops.
class StringScriptHost : public ScriptHost {
public:
    void write(std::string_view text) override { m_output.append(text); }
    bool terminationRequested() override { return m_passLimit >= 0 && ++m_passes > m_passLimit; }
    void runEnded(int32_t code, std::string_view message) override {
        m_endCode = code;
        m_endMessage = message;
    }

    // Loop passes allowed before termination is requested; negative for no limit.
    void setPassLimit(int64_t limit) { m_passLimit = limit; }

    const std::string& output() const { return m_output; }
    void clearOutput() { m_output.clear(); }
    std::optional<int32_t> endCode() const { return m_endCode; }
    const std::string& endMessage() const { return m_endMessage; }

private:
    std::string m_output;
    int64_t m_passLimit = -1;
    int64_t m_passes = 0;
    std::optional<int32_t> m_endCode;
    std::string m_endMessage;
};

} // namespace vexa::script
