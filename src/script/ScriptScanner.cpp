// The scanner of the script language.
#include "script/ScriptScanner.h"

#include <array>
#include <cstdio>
#include <limits>

namespace vexa::script {

namespace {

struct Keyword {
    std::string_view text;
    TokenCode code;
};

// Keywords are lower case only: "If", "INT" or "While" are names.
constexpr std::array<Keyword, 11> kKeywords{{
    {"else", TokenCode::Else},
    {"for", TokenCode::For},
    {"if", TokenCode::If},
    {"return", TokenCode::Return},
    {"while", TokenCode::While},
    {"int", TokenCode::Int},
    {"char", TokenCode::Char},
    {"string", TokenCode::CArray},
    {"void", TokenCode::Void},
    {"argc", TokenCode::Argc},
    {"argv", TokenCode::Argv},
}};

// Only the ASCII letters belong to the language; bytes 128 to 255 are skipped like any other
// stray character, whatever the locale says about them.
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal value as the C library's text-to-integer conversion gives it on this platform:
// the digits saturate in a 64-bit long, which is then cut to 32 bits.
int32_t decimalValue(std::string_view digits) {
    constexpr uint64_t kLongMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    uint64_t value = 0;
    for (char c : digits) {
        const auto digit = static_cast<uint64_t>(c - '0');
        value = value > (kLongMax - digit) / 10 ? kLongMax : value * 10 + digit;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::string formatted(const char* format, int value) {
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return buffer.data();
}

} // namespace

ScriptScanner::ScriptScanner(std::string source, std::string path, ScriptOutput& output)
    : m_source(std::move(source)), m_path(std::move(path)), m_output(output) {
    startLine(0);
    m_token.text = std::string_view(m_source).substr(0, 0);
}

ScriptToken ScriptScanner::next() {
    while (m_pos < m_source.size()) {
        if (scanToken()) {
            if (m_debugMode) {
                std::string trace = "\tToken: '";
                trace.append(m_token.text);
                trace += "', ID: " + std::to_string(static_cast<int32_t>(m_token.code));
                trace += ", Line: " + std::to_string(m_token.line + 1);
                trace += ", Column: " + std::to_string(m_token.column + 1);
                trace += ", Length: " + std::to_string(m_token.text.size()) + " \n";
                m_output.write(trace);
            }
            return m_token;
        }
    }
    m_token = ScriptToken{TokenCode::EndOfInput, 0, std::string_view(m_source).substr(m_source.size(), 0),
                          m_line, m_column};
    return m_token;
}

bool ScriptScanner::scanToken() {
    const std::string_view rest = std::string_view(m_source).substr(m_pos);
    const char c = rest[0];
    const char c1 = rest.size() > 1 ? rest[1] : '\0';
    const bool hasSecond = rest.size() > 1;

    if (isLetter(c)) {
        size_t length = 1;
        while (length < rest.size() && (isLetter(rest[length]) || isDigit(rest[length]))) {
            ++length;
        }
        const std::string_view word = rest.substr(0, length);
        TokenCode code = TokenCode::Name;
        for (const Keyword& keyword : kKeywords) {
            if (keyword.text == word) {
                code = keyword.code;
                break;
            }
        }
        finishToken(code, length, 0);
        return true;
    }
    if (isDigit(c)) {
        size_t length = 1;
        while (length < rest.size() && isDigit(rest[length])) {
            ++length;
        }
        finishToken(TokenCode::Number, length, decimalValue(rest.substr(0, length)));
        return true;
    }
    switch (c) {
    case '\'':
        // Exactly one character other than a newline between two quotes; there are no escapes.
        if (rest.size() > 2 && rest[1] != '\n' && rest[2] == '\'') {
            finishToken(TokenCode::OneChar, 3, static_cast<unsigned char>(rest[1]));
            return true;
        }
        consume(1, false);
        return false;
    case '"': {
        bool terminated = false;
        const size_t length = scanString(terminated);
        finishToken(TokenCode::String, length, 0);
        if (!terminated) {
            reportError("Unterminated string!");
            m_errorReported = true;
        }
        return true;
    }
    case '/':
        if (c1 == '*') {
            const size_t close = rest.find("*/", 2);
            const size_t end = close == std::string_view::npos ? rest.size() : close + 2;
            const size_t stop = m_pos + end;
            while (m_pos < stop) {
                if (m_source[m_pos] == '\n') {
                    newline(true);
                } else {
                    consume(1, true);
                }
            }
            return false;
        }
        if (c1 == '/') {
            const size_t end = rest.find('\n');
            consume(end == std::string_view::npos ? rest.size() : end, true);
            if (m_pos < m_source.size()) {
                newline(true);
            }
            return false;
        }
        if (c1 == '=') {
            finishToken(TokenCode::AssignOp, 2, '/');
        } else {
            finishToken(TokenCode::DivOp, 1, 0);
        }
        return true;
    case '*':
        finishToken(TokenCode::MulOp, 1, 0);
        return true;
    case '%':
        if (c1 == '=') {
            finishToken(TokenCode::AssignOp, 2, '%');
        } else {
            finishToken(TokenCode::ModOp, 1, 0);
        }
        return true;
    case '+':
        if (c1 == '+') {
            finishToken(TokenCode::IncOp, 2, 0);
        } else if (c1 == '=') {
            finishToken(TokenCode::AssignOp, 2, '+');
        } else {
            finishToken(TokenCode::PlusOp, 1, 0);
        }
        return true;
    case '-':
        if (c1 == '-') {
            finishToken(TokenCode::DecOp, 2, 0);
        } else if (c1 == '=') {
            finishToken(TokenCode::AssignOp, 2, '-');
        } else {
            finishToken(TokenCode::MinusOp, 1, 0);
        }
        return true;
    case '&':
        finishToken(c1 == '&' ? TokenCode::AndOp : TokenCode::AndBits, c1 == '&' ? 2 : 1, 0);
        return true;
    case '|':
        finishToken(c1 == '|' ? TokenCode::OrOp : TokenCode::OrBits, c1 == '|' ? 2 : 1, 0);
        return true;
    case '^':
        finishToken(TokenCode::XorBits, 1, 0);
        return true;
    case '<':
        finishToken(c1 == '=' ? TokenCode::LeOp : TokenCode::LtOp, c1 == '=' ? 2 : 1, 0);
        return true;
    case '>':
        finishToken(c1 == '=' ? TokenCode::GeOp : TokenCode::GtOp, c1 == '=' ? 2 : 1, 0);
        return true;
    case '=':
        if (c1 == '=') {
            finishToken(TokenCode::EqOp, 2, 0);
        } else {
            finishToken(TokenCode::AssignOp, 1, '=');
        }
        return true;
    case '!':
        if (hasSecond && c1 == '=') {
            finishToken(TokenCode::NeOp, 2, 0);
        } else {
            finishToken(TokenCode::Not, 1, 0);
        }
        return true;
    case '(':
    case ')':
    case '{':
    case '}':
    case '[':
    case ']':
    case ';':
    case ',':
        finishToken(static_cast<TokenCode>(c), 1, 0);
        return true;
    case '\n':
        newline(true);
        return false;
    case ' ':
    case '\t':
    case '\v':
    case '\f':
        consume(1, true);
        return false;
    default:
        // Stray characters, carriage returns among them, are skipped without a message.
        consume(1, false);
        return false;
    }
}

size_t ScriptScanner::scanString(bool& terminated) const {
    // A backslash takes the next character (a quote included) into the string, but never a
    // newline; without a closing quote the string runs to the end of its line.
    size_t i = m_pos + 1;
    while (i < m_source.size()) {
        const char c = m_source[i];
        if (c == '"') {
            terminated = true;
            return i + 1 - m_pos;
        }
        if (c == '\n') {
            break;
        }
        if (c == '\\') {
            if (i + 1 >= m_source.size() || m_source[i + 1] == '\n') {
                break;
            }
            i += 2;
            continue;
        }
        ++i;
    }
    terminated = false;
    return i - m_pos;
}

void ScriptScanner::finishToken(TokenCode code, size_t length, int32_t value) {
    m_token = ScriptToken{code, value, std::string_view(m_source).substr(m_pos, length), m_line, m_column};
    consume(length, true);
}

void ScriptScanner::consume(size_t length, bool echoed) {
    if (echoed) {
        echo(std::string_view(m_source).substr(m_pos, length));
    }
    m_pos += length;
    m_column += static_cast<int32_t>(length);
}

void ScriptScanner::newline(bool echoed) {
    if (echoed) {
        echo("\n");
    }
    ++m_pos;
    ++m_line;
    m_column = 0;
    startLine(m_pos);
}

void ScriptScanner::startLine(size_t lineStart) {
    const std::string_view rest = std::string_view(m_source).substr(lineStart);
    m_lineText = rest.substr(0, rest.find('\n'));
}

void ScriptScanner::echo(std::string_view text) {
    if (m_checkMode && !text.empty()) {
        m_output.write(text);
    }
}

void ScriptScanner::reportError(std::string_view reason) {
    std::string report;
    if (!m_checkMode) {
        report.append(m_lineText);
    }
    if (m_token.code == TokenCode::EndOfInput) {
        report += "\n^\nFile: " + m_path + "  ";
        report += "Line " + std::to_string(m_line + 1) +
                  ": Reason: 'Unexpected EOF found while looking for input.'\n";
    } else {
        report += "\n" + std::string(static_cast<size_t>(m_token.column), ' ') + "^\n";
        report += "File: " + m_path + "  ";
        report += "Line: " + formatted("%4.4d", m_token.line + 1) + ":  ";
        report += "Reason: '";
        report.append(reason);
        report += "' \n";
    }
    m_output.write(report);
}

} // namespace vexa::script
