// The external help viewer: template substitution per word, then a start without waiting.
#include "platform/CommandHelpViewer.h"

#include <algorithm>

#include "platform/CommandLine.h"

namespace vexa::platform {
namespace {

std::string substitute(std::string_view word, const std::string& helpFile, const std::string& keyword) {
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            out += word[i];
            continue;
        }
        char code = word[++i];
        if (code == 'f') {
            out += helpFile;
        } else if (code == 'k') {
            out += keyword;
        } else if (code == '%') {
            out += '%';
        } else {
            out += '%';
            out += code;
        }
    }
    return out;
}

} // namespace

std::string CommandHelpViewer::commandLineFor(const std::string& helpFile, const std::string& keyword) const {
    std::vector<std::string> words = splitCommandLine(m_template);
    if (words.empty()) {
        return {};
    }
    for (std::string& word : words) {
        word = substitute(word, helpFile, keyword);
    }
    if (words.front().empty()) {
        return {};
    }
    return joinCommandLine(words).value_or(std::string());
}

bool CommandHelpViewer::showKeyword(const std::string& helpFile, const std::string& keyword) {
    std::erase_if(m_running,
                  [](const std::unique_ptr<ChildProcess>& process) { return !process->isRunning(); });
    std::string commandLine = commandLineFor(helpFile, keyword);
    if (commandLine.empty()) {
        return false;
    }
    auto process = m_launcher.create();
    ProcessRequest request;
    request.commandLine = std::move(commandLine);
    if (process->start(request) != SpawnResult::Started) {
        return false;
    }
    m_running.push_back(std::move(process));
    return true;
}

} // namespace vexa::platform
