// The command-line splitter shared by every process port.
#include "platform/CommandLine.h"

namespace vexa::platform {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
    };
    skipBlanks();
    if (i == line.size()) {
        return words;
    }

    // The program: quotes group, nothing escapes.
    std::string program;
    bool quoted = false;
    for (; i < line.size() && (quoted || !isBlank(line[i])); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else {
            program += line[i];
        }
    }
    words.push_back(std::move(program));

    while (true) {
        skipBlanks();
        if (i == line.size()) {
            break;
        }
        std::string word;
        quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            char c = line[i];
            if (c == '\\') {
                std::size_t run = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++run;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    word.append(run / 2, '\\');
                    if (run % 2 == 1) {
                        word += '"';
                        ++i;
                    }
                    // An even run leaves the quote to be read as a grouping quote.
                } else {
                    word.append(run, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    word += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            word += c;
            ++i;
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<std::string> joinCommandLine(const std::vector<std::string>& words) {
    if (words.empty() || words.front().empty() || words.front().find('"') != std::string::npos) {
        return std::nullopt;
    }
    std::string line;
    const std::string& program = words.front();
    bool blank = program.find_first_of(" \t") != std::string::npos;
    line += blank ? "\"" + program + "\"" : program;

    for (std::size_t w = 1; w < words.size(); ++w) {
        const std::string& word = words[w];
        line += ' ';
        if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) {
            line += word; // backslashes not followed by a quote are ordinary
            continue;
        }
        line += '"';
        std::size_t backslashes = 0;
        for (char c : word) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            if (c == '"') {
                // Each backslash before a quote is doubled, and the quote itself escaped.
                line.append(backslashes * 2 + 1, '\\');
            } else {
                line.append(backslashes, '\\');
            }
            backslashes = 0;
            line += c;
        }
        // Backslashes before the closing quote are doubled so it stays a closing quote.
        line.append(backslashes * 2, '\\');
        line += '"';
    }
    return line;
}

} // namespace vexa::platform
