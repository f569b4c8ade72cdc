// The scanner of the script language: longest-match tokens with their lines, columns and the
// current line text, the check-mode echo, the debug trace and the error report with its caret.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "script/ScriptOutput.h"
#include "script/ScriptToken.h"

namespace vexa::script {

class ScriptScanner {
public:
    // The scanner keeps its own copy of the script text; reports name the given path.
    ScriptScanner(std::string source, std::string path, ScriptOutput& output);

    // Check mode echoes every token, blank and comment character as it is read, so the output
    // repeats the script; debug mode traces every token.
    void setCheckMode(bool on) { m_checkMode = on; }
    void setDebugMode(bool on) { m_debugMode = on; }

    // Reads the next token; the end of input gives EndOfInput, again on every later call.
    ScriptToken next();

    // The token last returned by next().
    const ScriptToken& current() const { return m_token; }
    int32_t line() const { return m_line; }
    int32_t column() const { return m_column; }
    std::string_view currentLineText() const { return m_lineText; }
    const std::string& path() const { return m_path; }

    // Writes the error report for the token last returned: the current line (not in check mode,
    // where it has already been echoed), a caret under the token's column, the file, the line
    // and the reason. At the end of input the caret has no width and the report names the
    // unexpected end instead.
    void reportError(std::string_view reason);

    // Whether the scanner itself reported an error (an unterminated string).
    bool errorReported() const { return m_errorReported; }

private:
    bool scanToken(); // false when only blanks, newlines or comments were consumed
    void startLine(size_t lineStart);
    void consume(size_t length, bool echo);
    void newline(bool echo);
    void finishToken(TokenCode code, size_t length, int32_t value);
    size_t scanString(bool& terminated) const;
    void echo(std::string_view text);

    std::string m_source;
    std::string m_path;
    ScriptOutput& m_output;
    size_t m_pos = 0;
    int32_t m_line = 0;
    int32_t m_column = 0;
    std::string_view m_lineText;
    ScriptToken m_token;
    bool m_checkMode = false;
    bool m_debugMode = false;
    bool m_errorReported = false;
};

} // namespace vexa::script
