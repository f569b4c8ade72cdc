// Reading batch lines, running them one after another, and the words of "/C".
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

} // namespace

BatchLine readBatchLine(std::string_view line) {
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
    result.kind = BatchLineKind::Command;
    result.command = std::string(text);
    return result;
}

int runBatch(std::istream& lines, BatchHost& host) {
    bool echo = true;
    int status = 0;
    std::string line;
    while (std::getline(lines, line)) {
        const BatchLine read = readBatchLine(line);
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
            status = host.runCommand(read.command);
            break;
        }
    }
    return status;
}

std::string joinCommandWords(const std::vector<std::string>& words) {
    std::string command;
    for (const std::string& word : words) {
        if (!command.empty()) {
            command.push_back(' ');
        }
        if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) {
            command += word;
            continue;
        }
        command.push_back('"');
        for (char ch : word) {
            if (ch == '"' || ch == '\\' || ch == '$' || ch == '`') {
                command.push_back('\\');
            }
            command.push_back(ch);
        }
        command.push_back('"');
    }
    return command;
}

std::string batchFileOf(std::string_view command) {
    auto [word, rest] = firstWord(trimmed(command));
    (void)rest;
    if (word.size() < 5) {
        return {};
    }
    std::string_view extension = word.substr(word.size() - 4);
    return equalsIgnoringCase(extension, ".bat") ? std::string(word) : std::string();
}

} // namespace vexa::toolchain
