// Asking the compiler for its include directories and reading its answer.
#include "toolchain/IncludeDirectories.h"

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "toolchain/CommandWords.h"

namespace vexa::toolchain {
namespace {

constexpr std::string_view kListStart = "#include <...> search starts here:";
constexpr std::string_view kListEnd = "End of search list.";
constexpr std::string_view kFramework = " (framework directory)";
constexpr auto kAnswerTime = std::chrono::seconds(5);
constexpr auto kPollStep = std::chrono::milliseconds(5);

std::string_view trimmed(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

// The compiler's words: $CC read as a command, else cc. A $CC that needs a shell is not used.
std::vector<std::string> compilerWords() {
    const std::string typed = platform::environmentVariable("CC").value_or("");
    std::vector<std::string> words = commandArguments(typed).words;
    if (words.empty() || (words.size() > 1 && words[0] == "sh" && words[1] == "-c")) {
        words = {"cc"};
    }
    return words;
}

std::string readAtMost(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace

std::vector<std::string> parseIncludeSearchList(std::string_view output) {
    output = output.substr(0, std::min(output.size(), kIncludeAnswerLimit));
    std::vector<std::string> directories;
    bool inside = false;
    std::size_t start = 0;
    while (start < output.size() && directories.size() < kIncludeDirectoryLimit) {
        std::size_t end = output.find('\n', start);
        if (end == std::string_view::npos) {
            end = output.size();
        }
        std::string_view line = trimmed(output.substr(start, end - start));
        start = end + 1;
        if (!inside) {
            inside = line == kListStart;
            continue;
        }
        if (line == kListEnd) {
            break;
        }
        if (line.size() > kFramework.size() && line.substr(line.size() - kFramework.size()) == kFramework) {
            line = trimmed(line.substr(0, line.size() - kFramework.size()));
        }
        if (line.empty() || line.front() != '/' || line.find_first_of(":;") != std::string_view::npos) {
            continue;
        }
        directories.emplace_back(line);
    }
    return directories;
}

CompilerIncludePath::CompilerIncludePath(platform::ProcessLauncher* launcher, std::string homeDirectory)
    : m_launcher(launcher), m_folder(std::move(homeDirectory)) {}

const std::string& CompilerIncludePath::searchPath() {
    if (!m_searchPath) {
        const std::vector<std::string> directories =
            m_launcher != nullptr ? ask() : std::vector<std::string>{};
        std::string path;
        for (const std::string& directory : directories) {
            path += (path.empty() ? "" : ":") + directory;
        }
        m_searchPath = path.empty() ? std::string(kFallbackIncludePath) : path;
    }
    return *m_searchPath;
}

std::vector<std::string> CompilerIncludePath::ask() {
    platform::ProcessRequest request;
    request.arguments = compilerWords();
    for (const char* word : {"-E", "-v", "-x", "c", "/dev/null"}) {
        request.arguments.emplace_back(word);
    }
    request.outputFile = m_folder.file("include-path.txt");
    request.workingDirectory = std::string(platform::directoryPart(request.outputFile));
    request.showMode = platform::ShowMode::Hidden;
    const std::unique_ptr<platform::ChildProcess> child = m_launcher->create();
    std::vector<std::string> directories;
    if (child->start(request) == platform::SpawnResult::Started) {
        const auto until = std::chrono::steady_clock::now() + kAnswerTime;
        while (child->isRunning() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(kPollStep);
        }
        if (child->isRunning()) {
            // A compiler that does not answer in time is given up: the fallback serves.
            (void)child->stop();
            while (child->isRunning()) {
                std::this_thread::sleep_for(kPollStep);
            }
        } else {
            directories = parseIncludeSearchList(readAtMost(request.outputFile, kIncludeAnswerLimit));
        }
    }
    m_folder.clear();
    return directories;
}

} // namespace vexa::toolchain
