// vCommand: the editor's command interpreter. "vCommand /C command" runs a command, or reads a batch
// file line by line when the command names one; without arguments it reads lines from its input.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "toolchain/BatchInterpreter.h"

namespace {

class ShellHost final : public vexa::toolchain::BatchHost {
public:
    int runCommand(const std::string& command) override {
        std::cout.flush();
        const int status = std::system(command.c_str());
        if (status == -1) {
            return 1;
        }
        if (WIFEXITED(status)) {
            return WEXITSTATUS(status);
        }
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
    }
    void pause() override {
        std::cout << "Press any key to continue . . ." << std::endl;
        std::string ignored;
        std::getline(std::cin, ignored);
    }
    void echo(const std::string& line) override { std::cout << line << std::endl; }
};

} // namespace

int main(int argc, char** argv) {
    ShellHost host;
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        return vexa::toolchain::runBatch(std::cin, host);
    }
    if (words.front() == "/C" || words.front() == "/c") {
        words.erase(words.begin());
    }
    if (words.empty()) {
        return 0;
    }
    const std::string command = vexa::toolchain::joinCommandWords(words);
    const std::string batchFile = vexa::toolchain::batchFileOf(command);
    if (!batchFile.empty()) {
        std::ifstream lines(batchFile);
        if (!lines) {
            std::cerr << "vCommand: cannot read the batch file '" << batchFile << "'" << std::endl;
            return 1;
        }
        return vexa::toolchain::runBatch(lines, host);
    }
    return host.runCommand(command);
}
