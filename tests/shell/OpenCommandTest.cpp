// The open command: the one accepted form, and the messages of everything else.
#include "shell/OpenCommand.h"

#include <gtest/gtest.h>

namespace vexa::shell {
namespace {

TEST(OpenCommand, ReadsTheFileOfTheFirstCommandOnly) {
    struct Case {
        std::string_view command;
        std::string file;
    };
    const Case cases[] = {
        {"[open(\"/src/a.c\")]", "/src/a.c"},
        {"[open(\"/src/a.c\")][open(\"/src/b.c\")]", "/src/a.c"},
        {"[open(\"/src/with blank.c\"", "/src/with blank.c"},
        {"[open(\"rel.h\") trailing words", "rel.h"},
    };
    for (const Case& c : cases) {
        OpenCommand open = parseOpenCommand(c.command);
        EXPECT_TRUE(open.ok) << c.command;
        EXPECT_EQ(open.file, c.file);
        EXPECT_TRUE(open.messages.empty());
    }
}

TEST(OpenCommand, OtherCommandsAreRefusedWithTheirMessages) {
    struct Case {
        std::string_view command;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"[OPEN(\"/a.c\")]",
         {"Warning: Unknown DDE command: [OPEN(\"/a.c\")]\n",
          "Error: Failed to execute DDE command '[OPEN(\"/a.c\")]'\n"}},
        {"[close(\"/a.c\")]",
         {"Warning: Unknown DDE command: [close(\"/a.c\")]\n",
          "Error: Failed to execute DDE command '[close(\"/a.c\")]'\n"}},
        {"", {"Warning: Unknown DDE command: \n", "Error: Failed to execute DDE command ''\n"}},
        {"[open(/a.c)]",
         {"Warning: Unknown DDE command: [open(/a.c)]\n",
          "Error: Failed to execute DDE command '[open(/a.c)]'\n"}},
        {"[open(\"/a.c",
         {"Error: Bad DDE command: /a.c\n", "Error: Failed to execute DDE command '[open(\"/a.c'\n"}},
        {"[open(\"\")]",
         {"Error: Bad DDE command: \")]\n", "Error: Failed to execute DDE command '[open(\"\")]'\n"}},
    };
    for (const Case& c : cases) {
        OpenCommand open = parseOpenCommand(c.command);
        EXPECT_FALSE(open.ok) << c.command;
        EXPECT_EQ(open.messages, c.messages);
    }
}

} // namespace
} // namespace vexa::shell
