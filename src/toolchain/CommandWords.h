// A command text split into an argument vector with shell-like quoting, where substituted values
// stay inside their word and never become shell text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::toolchain {

// A piece of a command: text the user typed, or a value put in for a placeholder ($File, %s, %1).
struct CommandPiece {
    std::string text;
    bool value = false;
};

// Where a command line sends its output, read from its own redirections.
struct Redirection {
    std::string file;        // empty: standard output stays as it is
    bool append = false;     // ">>"
    bool joinErrors = false; // "2>&1": standard error joins standard output
};

// The program and its arguments, ready to start without a shell.
struct ArgumentVector {
    std::vector<std::string> words;
    Redirection redirection;
};

// Reads the pieces as one command. Typed text is split into words at unquoted blanks; single
// quotes keep everything, double quotes keep everything but a backslash before \ " $ ` or a line
// end; an unquoted backslash keeps the next character. A value is added to the word it stands in,
// so it never splits or joins words, whatever bytes it holds. The typed redirections ">", ">>",
// "1>" and "2>&1" become data. When the typed text uses other shell syntax (a pipe, "&&", ";", a
// redirection from a file, "$", a backquote, a wildcard, "~"), the command runs as "sh -c" with
// the typed text as the script, each value replaced by a positional parameter passed as its own
// argument. Without redirectionsAsData a typed redirection is shell syntax too (for a command
// whose output the caller sends elsewhere as a whole).
ArgumentVector commandArguments(const std::vector<CommandPiece>& pieces, bool redirectionsAsData = true);

// The same for text with no values.
ArgumentVector commandArguments(std::string_view text, bool redirectionsAsData = true);

// The pieces of a text whose placeholders ("%1", "%s" ...) are given: each name found is a value.
struct Placeholder {
    std::string_view name;
    std::string value;
};
std::vector<CommandPiece> piecesWithPlaceholders(std::string_view text,
                                                 const std::vector<Placeholder>& placeholders);

// Whether a quote opened in the text is still open at its end.
bool endsInsideQuote(std::string_view text);

// The word in single quotes, as a shell and commandArguments read it back.
std::string singleQuoted(std::string_view word);

// A word written so that commandArguments reads it back as exactly this one word.
std::string quotedWord(std::string_view word);

// The argument vector written as one command line that commandArguments reads back the same.
std::string commandLineOf(const ArgumentVector& arguments);

} // namespace vexa::toolchain
