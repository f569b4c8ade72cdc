// Splitting command lines into words: blanks, quotes, doubled quotes and backslash runs.
#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace vexa::platform {
namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> words;
};

TEST(SplitCommandLine, FollowsTheDesktopRules) {
    const SplitCase kCases[] = {
        {"", {}},
        {"  \t ", {}},
        {"make", {"make"}},
        {"  cc  -c\ta.c  ", {"cc", "-c", "a.c"}},
        {"\"/opt/my tools/cc\" a.c", {"/opt/my tools/cc", "a.c"}},
        {"cc \"two words\" x\"y z\"w", {"cc", "two words", "xy zw"}},
        {"cc \"\"", {"cc", ""}},
        {"cc \"say \"\"hi\"\"\"", {"cc", "say \"hi\""}},
        {"cc a\\\"b", {"cc", "a\"b"}},
        {"cc a\\\\\"b c\"", {"cc", "a\\b c"}},
        {"cc a\\\\\\\"b", {"cc", "a\\\"b"}},
        {"cc a\\b\\\\c", {"cc", "a\\b\\\\c"}},
        {"cc \"unterminated quote", {"cc", "unterminated quote"}},
        // The program word treats backslashes as ordinary, even before a quote.
        {"\"C:\\tools\\\" arg", {"C:\\tools\\", "arg"}},
        {"vCommand /C cc a.c > /tmp/VexaPip.dat", {"vCommand", "/C", "cc", "a.c", ">", "/tmp/VexaPip.dat"}},
    };
    for (const SplitCase& c : kCases) {
        EXPECT_EQ(splitCommandLine(c.line), c.words) << "[" << c.line << "]";
    }
}

} // namespace
} // namespace vexa::platform
