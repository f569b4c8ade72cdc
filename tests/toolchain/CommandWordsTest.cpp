// Command text into argument vectors: quoting, values that stay inside their words whatever bytes
// they hold, redirections as data, and the "sh -c" form with values as positional parameters.
#include <gtest/gtest.h>

#include "toolchain/BatchInterpreter.h"
#include "toolchain/CommandWords.h"

namespace vexa::toolchain {
namespace {

using Words = std::vector<std::string>;

// The names an untrusted archive may hold.
const char* const kHostileNames[] = {
    "a;id>PWNED;.c", "b$(id>X).c", "c`id>Y`.c",      "two  blanks.c", "it's \"quoted\".c",
    "new\nline.c",   "-rf.c",      "back\\slash",    "glob*?[x].c",   "~home",
    "#hash",         "tab\there",  "\xff\x01 bytes",
};

TEST(CommandWords, TypedTextSplitsWithShellQuoting) {
    struct Case {
        const char* text;
        Words words;
    };
    const Case cases[] = {
        {"cc -Wall -c main.c", {"cc", "-Wall", "-c", "main.c"}},
        {"  echo   \"two  blanks\"  ", {"echo", "two  blanks"}},
        {"echo 'it'\"'\"'s' a\\ b", {"echo", "it's", "a b"}},
        {"echo \"a\\\"b\\\\c\" '\\n'", {"echo", "a\"b\\c", "\\n"}},
        {"echo '' \"\"", {"echo", "", ""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        const ArgumentVector read = commandArguments(c.text);
        EXPECT_EQ(read.words, c.words) << c.text;
        EXPECT_TRUE(read.redirection.file.empty()) << c.text;
    }
}

TEST(CommandWords, AValueLandsInsideItsWordWhateverItHolds) {
    for (const char* name : kHostileNames) {
        const std::vector<CommandPiece> pieces{
            {"cc -Wall ", false}, {name, true}, {" -o ", false}, {name, true}, {".o", false}};
        const ArgumentVector read = commandArguments(pieces);
        EXPECT_EQ(read.words, (Words{"cc", "-Wall", name, "-o", std::string(name) + ".o"})) << name;
        // Inside quotes of the user's own the value is just as much one part of one word.
        const ArgumentVector quoted = commandArguments(
            {{"grep -n '", false}, {name, true}, {"' \"", false}, {name, true}, {"\"", false}});
        EXPECT_EQ(quoted.words, (Words{"grep", "-n", name, name})) << name;
    }
}

TEST(CommandWords, AnEmptyValueMakesAWordOnlyInQuotes) {
    EXPECT_EQ(commandArguments({{"grep ", false}, {"", true}, {" x", false}}).words, (Words{"grep", "x"}));
    EXPECT_EQ(commandArguments({{"grep '", false}, {"", true}, {"' x", false}}).words,
              (Words{"grep", "", "x"}));
}

TEST(CommandWords, RedirectionsOfTheUsersOwnAreData) {
    struct Case {
        const char* text;
        Words words;
        Redirection redirection;
    };
    const Case cases[] = {
        {"make -k > make.log 2>&1", {"make", "-k"}, {"make.log", false, true}},
        {"make>>make.log", {"make"}, {"make.log", true, false}},
        {"make 1> 'a b.log'", {"make"}, {"a b.log", false, false}},
        {"make 2>&1", {"make"}, {"", false, true}},
        {"echo '>' \\> \">\"", {"echo", ">", ">", ">"}, {}},
    };
    for (const Case& c : cases) {
        const ArgumentVector read = commandArguments(c.text);
        EXPECT_EQ(read.words, c.words) << c.text;
        EXPECT_EQ(read.redirection.file, c.redirection.file) << c.text;
        EXPECT_EQ(read.redirection.append, c.redirection.append) << c.text;
        EXPECT_EQ(read.redirection.joinErrors, c.redirection.joinErrors) << c.text;
    }
}

TEST(CommandWords, ShellSyntaxRunsAsAScriptWithTheValuesAsParameters) {
    struct Case {
        std::vector<CommandPiece> pieces;
        bool redirectionsAsData;
        Words words;
    };
    const std::string name = "b$(id>X).c";
    const Case cases[] = {
        {{{"grep x ", false}, {name, true}, {" | sort", false}},
         true,
         {"sh", "-c", "grep x \"${1}\" | sort", "sh", name}},
        {{{"lint '", false}, {name, true}, {"' && cc \"", false}, {name, true}, {"\"", false}},
         true,
         {"sh", "-c", "lint ''\"${1}\"'' && cc \"${2}\"", "sh", name, name}},
        {{{"ls *.c; echo $HOME", false}}, true, {"sh", "-c", "ls *.c; echo $HOME", "sh"}},
        {{{"cat < in.txt", false}}, true, {"sh", "-c", "cat < in.txt", "sh"}},
        {{{"make 2> errors", false}}, true, {"sh", "-c", "make 2> errors", "sh"}},
        // Where the caller sends the whole output, a redirection of the user's own is the shell's.
        {{{"make > log", false}}, false, {"sh", "-c", "make > log", "sh"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(commandArguments(c.pieces, c.redirectionsAsData).words, c.words) << c.words[2];
    }
}

TEST(CommandWords, AWrittenLineReadsBackAsTheSameArgumentVector) {
    for (const char* name : kHostileNames) {
        ArgumentVector command;
        command.words = {"pause", name, "-o", std::string(name) + ".o"};
        command.redirection = Redirection{std::string(name) + ".err", false, true};
        const std::string line = commandLineOf(command);
        EXPECT_FALSE(endsInsideQuote(line)) << line;
        const BatchLine read = readBatchLine(line);
        ASSERT_EQ(read.kind, BatchLineKind::Command) << line;
        EXPECT_EQ(read.arguments.words, command.words) << line;
        EXPECT_EQ(read.arguments.redirection.file, command.redirection.file) << line;
        EXPECT_TRUE(read.arguments.redirection.joinErrors) << line;
    }
}

TEST(CommandWords, PlaceholdersBecomeValues) {
    const std::vector<CommandPiece> pieces =
        piecesWithPlaceholders("cc %1 -o %2%1", {{"%1", "a b"}, {"%2", "x;"}});
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(commandArguments(pieces).words, (Words{"cc", "a b", "-o", "x;a b"}));
}

} // namespace
} // namespace vexa::toolchain
