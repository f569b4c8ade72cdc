// Reading the editor's command line: the line option, the two-character switches, the files to
// open and whether the start hands its file to an editor that is already running.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// The line number of an argument that is a line option as a whole: one or more '-', one or more
// 'l' or 'L', any number of spaces, then digits and nothing else ("-l120", "--LL 7"). Nothing for
// any other argument, so paths that merely contain such text are never taken for the option.
std::optional<int> lineOption(std::string_view argument);

// An argument of exactly two characters whose first is '-' ("-s", "-S"); '/' begins paths here.
bool isTwoCharacterSwitch(std::string_view argument);

// Whether a text holds a wildcard character.
bool hasWildcards(std::string_view text);

// The files a new editor opens from its command line. The line option is collected in a first
// pass (the last one wins) and applies to every named file; switches are dropped.
struct StartupFiles {
    int line = 0; // 1-based; 0 leaves the cursor where loading puts it
    std::vector<std::string> names;
};

// The arguments exclude the program name.
StartupFiles collectStartupFiles(std::span<const std::string> arguments);

// What a second start gives to the running editor: a file (empty to only bring it forward) and
// its 1-based line (0 for none).
struct HandOff {
    std::string file;
    int line = 0;

    friend bool operator==(const HandOff&, const HandOff&) = default;
};

// The hand-offs a command line asks for, in its order; nothing when it starts a new editor
// instead. Wildcards anywhere start a new editor; one argument hands off that file ("-s" alone
// only activates: one hand-off with an empty name); two arguments whose first begins like a line
// option hand off the second only when the first is one. Any other command line that names
// files hands off every file it names, each with its line option; one naming none starts a new
// editor.
std::optional<std::vector<HandOff>> handOffFor(std::span<const std::string> arguments);

} // namespace vexa
