// The command interpreter's reading of batch lines: the few keyword lines are understood, every
// other line is an argument vector with its redirections, started without a shell.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/CommandWords.h"

namespace vexa::toolchain {

enum class BatchLineKind : uint8_t { Empty, EchoOff, EchoOn, Pause, Remark, Command };

struct BatchLine {
    BatchLineKind kind = BatchLineKind::Empty;
    std::string command;     // the text of a Command line, as echoed
    ArgumentVector arguments; // what a Command line runs
    bool quiet = false;  // written with a leading '@': not echoed
};

// Reads one line (without its line end; a trailing carriage return is ignored). Keywords are
// compared without regard to case; "/C command" is the command itself. When parameters are given,
// "%1" to "%9" stand for them (empty past the last), each value staying inside its word.
BatchLine readBatchLine(std::string_view line, const std::vector<std::string>& parameters = {});

// What running the lines needs from the world.
class BatchHost {
public:
    virtual ~BatchHost() = default;
    // Runs one command; its exit status.
    virtual int runCommand(const ArgumentVector& command) = 0;
    // Waits for the user ("pause").
    virtual void pause() = 0;
    // Shows a command before it runs, while echo is on.
    virtual void echo(const std::string& line) = 0;
};

// Runs every line in turn; a failing command does not stop the rest. A line whose quote is still
// open at its end goes on in the next line (a quoted name may hold a line end). The status of the
// last command run, 0 when none ran.
int runBatch(std::istream& lines, BatchHost& host, const std::vector<std::string>& parameters = {});

// Whether the program word names a batch file to read line by line (it ends in ".bat", any case).
bool isBatchFileName(std::string_view program);

} // namespace vexa::toolchain
