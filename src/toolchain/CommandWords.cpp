// The command scanner: quoting, values inside their words, redirections as data, and the "sh -c"
// form for commands that use shell syntax of their own.
#include "toolchain/CommandWords.h"

namespace vexa::toolchain {
namespace {

enum class Quote : uint8_t { None, Single, Double };

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

// Characters that mean something to a shell outside quotes and that this reader does not take
// as data.
bool isShellSyntax(char ch) {
    switch (ch) {
    case '|':
    case '&':
    case ';':
    case '<':
    case '(':
    case ')':
    case '`':
    case '$':
    case '*':
    case '?':
    case '[':
    case '\n':
        return true;
    default:
        return false;
    }
}

class Scanner {
public:
    explicit Scanner(bool redirectionsAsData) : m_redirectionsAsData(redirectionsAsData) {}

    void literal(std::string_view text) {
        m_script.append(text);
        for (std::size_t i = 0; i < text.size(); ++i) {
            i = step(text, i);
        }
    }

    void value(const std::string& text) {
        m_values.push_back(text);
        const std::string number = std::to_string(m_values.size());
        switch (m_quote) {
        case Quote::None:
            m_script += "\"${" + number + "}\"";
            break;
        case Quote::Double:
            m_script += "${" + number + "}";
            break;
        case Quote::Single:
            m_script += "'\"${" + number + "}\"'";
            break;
        }
        m_word += text;
        m_inWord = m_inWord || !text.empty();
        m_plainWord = false;
    }

    ArgumentVector finish() {
        endWord();
        if (m_pendingRedirect) {
            m_shell = true;
        }
        ArgumentVector result;
        if (!m_shell || m_quote != Quote::None) {
            result.words = std::move(m_words);
            result.redirection = std::move(m_redirection);
            return result;
        }
        result.words = {"sh", "-c", m_script, "sh"};
        for (std::string& value : m_values) {
            result.words.push_back(std::move(value));
        }
        return result;
    }

private:
    // Reads the character at i (and what belongs to it); the index of the last character used.
    std::size_t step(std::string_view text, std::size_t i) {
        const char ch = text[i];
        switch (m_quote) {
        case Quote::Single:
            if (ch == '\'') {
                m_quote = Quote::None;
            } else {
                m_word.push_back(ch);
            }
            return i;
        case Quote::Double:
            if (ch == '"') {
                m_quote = Quote::None;
            } else if (ch == '\\' && i + 1 < text.size() &&
                       std::string_view("\\\"$`\n").find(text[i + 1]) != std::string_view::npos) {
                if (text[i + 1] != '\n') {
                    m_word.push_back(text[i + 1]);
                }
                return i + 1;
            } else {
                if (ch == '$' || ch == '`') {
                    m_shell = true;
                }
                m_word.push_back(ch);
            }
            return i;
        case Quote::None:
            break;
        }
        if (isBlank(ch)) {
            endWord();
            return i;
        }
        if (ch == '\'' || ch == '"') {
            m_quote = ch == '\'' ? Quote::Single : Quote::Double;
            m_inWord = true;
            m_plainWord = false;
            return i;
        }
        if (ch == '\\') {
            if (i + 1 < text.size()) {
                if (text[i + 1] != '\n') {
                    m_word.push_back(text[i + 1]);
                    m_inWord = true;
                }
                m_plainWord = false;
                return i + 1;
            }
            return i;
        }
        if (ch == '>' && m_redirectionsAsData) {
            return redirect(text, i);
        }
        if (isShellSyntax(ch) || ch == '>' || ((ch == '~' || ch == '#') && !m_inWord)) {
            m_shell = true;
        }
        m_word.push_back(ch);
        m_inWord = true;
        return i;
    }

    // An unquoted '>': "1>" and ">" send standard output, ">>" appends, "2>&1" joins the errors.
    std::size_t redirect(std::string_view text, std::size_t i) {
        const bool plain = m_plainWord && m_inWord;
        const std::string before = m_word;
        if (plain && before == "2") {
            if (text.substr(i, 3) == ">&1") {
                resetWord();
                m_redirection.joinErrors = true;
                return i + 2;
            }
            m_shell = true; // standard error to a file of its own: the shell does it
            m_word.push_back('>');
            return i;
        }
        if (plain && before == "1") {
            resetWord();
        } else {
            endWord();
        }
        if (m_pendingRedirect) {
            m_shell = true;
        }
        m_pendingRedirect = true;
        m_redirection.append = false;
        if (i + 1 < text.size() && text[i + 1] == '>') {
            m_redirection.append = true;
            ++i;
        }
        if (i + 1 < text.size() && (text[i + 1] == '&' || text[i + 1] == '|')) {
            m_shell = true;
        }
        return i;
    }

    void resetWord() {
        m_word.clear();
        m_inWord = false;
        m_plainWord = true;
    }

    void endWord() {
        if (m_inWord) {
            if (m_pendingRedirect) {
                m_redirection.file = m_word;
                m_pendingRedirect = false;
            } else {
                m_words.push_back(m_word);
            }
        }
        resetWord();
    }

    bool m_redirectionsAsData;
    Quote m_quote = Quote::None;
    std::string m_word;
    bool m_inWord = false;
    bool m_plainWord = true; // the word so far is typed text without quotes or values
    bool m_pendingRedirect = false;
    bool m_shell = false;
    std::vector<std::string> m_words;
    Redirection m_redirection;
    std::string m_script;
    std::vector<std::string> m_values;
};

bool isPlainWordCharacter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           std::string_view("_-./:=+,%@").find(ch) != std::string_view::npos;
}

} // namespace

ArgumentVector commandArguments(const std::vector<CommandPiece>& pieces, bool redirectionsAsData) {
    Scanner scanner(redirectionsAsData);
    for (const CommandPiece& piece : pieces) {
        if (piece.value) {
            scanner.value(piece.text);
        } else {
            scanner.literal(piece.text);
        }
    }
    return scanner.finish();
}

ArgumentVector commandArguments(std::string_view text, bool redirectionsAsData) {
    return commandArguments(std::vector<CommandPiece>{CommandPiece{std::string(text), false}},
                            redirectionsAsData);
}

std::vector<CommandPiece> piecesWithPlaceholders(std::string_view text,
                                                 const std::vector<Placeholder>& placeholders) {
    std::vector<CommandPiece> pieces;
    std::string literal;
    std::size_t i = 0;
    while (i < text.size()) {
        const Placeholder* found = nullptr;
        for (const Placeholder& placeholder : placeholders) {
            if (!placeholder.name.empty() && text.substr(i, placeholder.name.size()) == placeholder.name) {
                found = &placeholder;
                break;
            }
        }
        if (found == nullptr) {
            literal.push_back(text[i]);
            ++i;
            continue;
        }
        if (!literal.empty()) {
            pieces.push_back(CommandPiece{std::move(literal), false});
            literal.clear();
        }
        pieces.push_back(CommandPiece{found->value, true});
        i += found->name.size();
    }
    if (!literal.empty()) {
        pieces.push_back(CommandPiece{std::move(literal), false});
    }
    return pieces;
}

bool endsInsideQuote(std::string_view text) {
    Quote quote = Quote::None;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quote == Quote::Single) {
            quote = ch == '\'' ? Quote::None : quote;
        } else if (ch == '\\') {
            ++i;
        } else if (ch == '"') {
            quote = quote == Quote::Double ? Quote::None : Quote::Double;
        } else if (ch == '\'' && quote == Quote::None) {
            quote = Quote::Single;
        }
    }
    return quote != Quote::None;
}

std::string singleQuoted(std::string_view word) {
    std::string quoted = "'";
    for (char ch : word) {
        if (ch == '\'') {
            quoted += "'\\''";
        } else {
            quoted.push_back(ch);
        }
    }
    quoted.push_back('\'');
    return quoted;
}

std::string quotedWord(std::string_view word) {
    bool plain = !word.empty() && word.front() != '~' && word.front() != '#' && word.front() != '@';
    for (char ch : word) {
        plain = plain && isPlainWordCharacter(ch);
    }
    return plain ? std::string(word) : singleQuoted(word);
}

std::string commandLineOf(const ArgumentVector& arguments) {
    std::string line;
    for (const std::string& word : arguments.words) {
        // The program is always quoted, so that no program name reads as a keyword line.
        line += line.empty() ? singleQuoted(word) : " " + quotedWord(word);
    }
    const Redirection& redirection = arguments.redirection;
    if (!redirection.file.empty()) {
        line += redirection.append ? " >> " : " > ";
        line += quotedWord(redirection.file);
    }
    if (redirection.joinErrors) {
        line += " 2>&1";
    }
    return line;
}

} // namespace vexa::toolchain
