// Reading batch lines as argument vectors and running them one after another.
#include "toolchain/BatchInterpreter.h"

#include <cctype>

namespace vexa::toolchain {
namespace {

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (isBlank(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) {
            return false;
        }
    }
    return true;
}

// The first word (up to a blank) and the rest after the blanks that follow it.
std::pair<std::string_view, std::string_view> firstWord(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && !isBlank(text[end])) {
        ++end;
    }
    std::string_view rest = text.substr(end);
    while (!rest.empty() && isBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    return {text.substr(0, end), rest};
}

constexpr std::string_view kParameterNames[] = {"%1", "%2", "%3", "%4", "%5", "%6", "%7", "%8", "%9"};

} // namespace

BatchLine readBatchLine(std::string_view line, const std::vector<std::string>& parameters) {
    BatchLine result;
    std::string_view text = trimmed(line);
    if (!text.empty() && text.front() == '@') {
        result.quiet = true;
        text = trimmed(text.substr(1));
    }
    if (text.empty()) {
        return result;
    }
    auto [word, rest] = firstWord(text);
    if (equalsIgnoringCase(word, "echo") &&
        (equalsIgnoringCase(rest, "off") || equalsIgnoringCase(rest, "on"))) {
        result.kind = equalsIgnoringCase(rest, "off") ? BatchLineKind::EchoOff : BatchLineKind::EchoOn;
        return result;
    }
    if (equalsIgnoringCase(word, "pause") && rest.empty()) {
        result.kind = BatchLineKind::Pause;
        return result;
    }
    if (equalsIgnoringCase(word, "rem")) {
        result.kind = BatchLineKind::Remark;
        return result;
    }
    if (equalsIgnoringCase(word, "/c")) {
        if (rest.empty()) {
            return result;
        }
        text = rest;
    }
    // Without parameters (the editor's own batch file) a "%1" is a name's own text.
    std::vector<Placeholder> placeholders;
    for (std::size_t i = 0; !parameters.empty() && i < std::size(kParameterNames); ++i) {
        placeholders.push_back(
            Placeholder{kParameterNames[i], i < parameters.size() ? parameters[i] : std::string()});
    }
    result.arguments = commandArguments(piecesWithPlaceholders(text, placeholders));
    if (result.arguments.words.empty()) {
        return result;
    }
    result.kind = BatchLineKind::Command;
    result.command = std::string(text);
    return result;
}

int runBatch(std::istream& lines, BatchHost& host, const std::vector<std::string>& parameters) {
    bool echo = true;
    int status = 0;
    std::string line;
    while (std::getline(lines, line)) {
        // A quoted word that holds a line end goes on in the next line.
        std::string next;
        while (endsInsideQuote(line) && std::getline(lines, next)) {
            line += '\n';
            line += next;
        }
        const BatchLine read = readBatchLine(line, parameters);
        switch (read.kind) {
        case BatchLineKind::Empty:
        case BatchLineKind::Remark:
            break;
        case BatchLineKind::EchoOff:
            echo = false;
            break;
        case BatchLineKind::EchoOn:
            echo = true;
            break;
        case BatchLineKind::Pause:
            host.pause();
            break;
        case BatchLineKind::Command:
            if (echo && !read.quiet) {
                host.echo(read.command);
            }
            status = host.runCommand(read.arguments);
            break;
        }
    }
    return status;
}

bool isBatchFileName(std::string_view program) {
    return program.size() >= 5 && equalsIgnoringCase(program.substr(program.size() - 4), ".bat");
}

} // namespace vexa::toolchain
