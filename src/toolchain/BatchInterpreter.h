// The command interpreter's reading of batch lines: the few lines the editor writes itself are
// understood, every other line is a command for the system shell.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::toolchain {

enum class BatchLineKind : uint8_t { Empty, EchoOff, EchoOn, Pause, Remark, Command };

struct BatchLine {
    BatchLineKind kind = BatchLineKind::Empty;
    std::string command; // the shell command of a Command line
    bool quiet = false;  // written with a leading '@': not echoed
};

// Reads one line (without its line end; a trailing carriage return is ignored). Keywords are
// compared without regard to case; "/C command" is the command itself.
BatchLine readBatchLine(std::string_view line);

// What running the lines needs from the world.
class BatchHost {
public:
    virtual ~BatchHost() = default;
    // Runs one shell command; its exit status.
    virtual int runCommand(const std::string& command) = 0;
    // Waits for the user ("pause").
    virtual void pause() = 0;
    // Shows a command before it runs, while echo is on.
    virtual void echo(const std::string& line) = 0;
};

// Runs every line in turn; a failing command does not stop the rest. The status of the last
// command run, 0 when none ran.
int runBatch(std::istream& lines, BatchHost& host);

// The shell command for the words after "/C": words with blanks or quotes are quoted again, for
// the words arrive with the quotes that grouped them already removed.
std::string joinCommandWords(const std::vector<std::string>& words);

// Whether the command names a batch file to read line by line (its first word ends in ".bat",
// any case); the file's path when it does.
std::string batchFileOf(std::string_view command);

} // namespace vexa::toolchain
