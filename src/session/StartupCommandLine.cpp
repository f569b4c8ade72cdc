// Reading the editor's command line.
#include "session/StartupCommandLine.h"

#include <charconv>
#include <climits>

namespace vexa {
namespace {

// On this platform '/' begins absolute paths, so only '-' begins a switch.
bool isDash(char c) {
    return c == '-';
}
bool isEll(char c) {
    return c == 'l' || c == 'L';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits of a line option that is the whole text.
std::optional<std::string_view> matchWhole(std::string_view text) {
    const std::size_t start = 0;
    std::size_t at = start;
    while (at < text.size() && isDash(text[at])) {
        ++at;
    }
    if (at == start || at >= text.size() || !isEll(text[at])) {
        return std::nullopt;
    }
    while (at < text.size() && isEll(text[at])) {
        ++at;
    }
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    const std::size_t digits = at;
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    if (at == digits || at != text.size()) {
        return std::nullopt;
    }
    return text.substr(digits, at - digits);
}

bool isSwitch(std::string_view argument) {
    return !argument.empty() && isDash(argument[0]);
}

} // namespace

std::optional<int> lineOption(std::string_view argument) {
    // Only an argument that is nothing but the option counts: a file name such as
    // "notes-l2.txt" or "src/l10n/strings.c" stays a file name.
    if (auto digits = matchWhole(argument)) {
        // A number too long for an int is read as the largest line, never as garbage.
        int value = 0;
        auto [end, error] = std::from_chars(digits->data(), digits->data() + digits->size(), value);
        (void)end;
        return error == std::errc{} ? value : INT_MAX;
    }
    return std::nullopt;
}

bool isTwoCharacterSwitch(std::string_view argument) {
    return argument.size() == 2 && isDash(argument[0]);
}

bool hasWildcards(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

StartupFiles collectStartupFiles(std::span<const std::string> arguments) {
    StartupFiles files;
    std::vector<bool> blank(arguments.size(), false);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (auto line = lineOption(arguments[i])) {
            files.line = *line;
            blank[i] = true;
        } else if (isTwoCharacterSwitch(arguments[i])) {
            blank[i] = true;
        }
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!blank[i] && !arguments[i].empty()) {
            files.names.push_back(arguments[i]);
        }
    }
    return files;
}

std::optional<std::vector<HandOff>> handOffFor(std::span<const std::string> arguments) {
    using HandOffs = std::vector<HandOff>;
    for (const std::string& argument : arguments) {
        if (hasWildcards(argument)) {
            return std::nullopt;
        }
    }
    if (arguments.size() == 1) {
        const std::string& only = arguments[0];
        if (isSwitch(only) && only.size() >= 2 && (only[1] == 's' || only[1] == 'S')) {
            return HandOffs{HandOff{}};
        }
        return HandOffs{HandOff{only, 0}};
    }
    if (arguments.size() == 2) {
        const std::string& first = arguments[0];
        if (isSwitch(first) && first.size() >= 2 && isEll(first[1])) {
            if (auto line = lineOption(first)) {
                return HandOffs{HandOff{arguments[1], *line}};
            }
            return std::nullopt;
        }
    }
    // Several files go to the running editor as a new one would open them, so that a second
    // editor never runs on the same home and settings.
    const StartupFiles files = collectStartupFiles(arguments);
    if (files.names.empty()) {
        return std::nullopt;
    }
    HandOffs handOffs;
    for (const std::string& name : files.names) {
        handOffs.push_back(HandOff{name, files.line});
    }
    return handOffs;
}

} // namespace vexa
