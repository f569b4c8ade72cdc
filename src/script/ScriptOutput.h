// The one output operation every text of a script run goes through.
#pragma once

#include <string>
#include <string_view>

namespace vexa::script {

class ScriptOutput {
public:
    virtual ~ScriptOutput() = default;
    virtual void write(std::string_view text) = 0;
};

// Collects everything written, for batch runs and tests.
class StringScriptOutput final : public ScriptOutput {
public:
    void write(std::string_view text) override { m_text.append(text); }
    const std::string& text() const { return m_text; }
    void clear() { m_text.clear(); }

private:
    std::string m_text;
};

} // namespace vexa::script
