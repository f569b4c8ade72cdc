// vStdErr: runs the command line given to it with its standard error joined to its standard output,
// and ends with that command's exit status.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vStdErr program [arguments...]\n");
        return 2;
    }
    if (::dup2(STDOUT_FILENO, STDERR_FILENO) < 0) {
        std::perror("vStdErr");
        return 1;
    }
    ::execvp(argv[1], argv + 1);
    // Only reached when the program could not be started; the message goes to the joined output.
    const int error = errno;
    std::fprintf(stdout, "vStdErr: error: the program '%s' could not be started: %s\n", argv[1],
                 std::strerror(error));
    return error == ENOENT ? 127 : 126;
}
