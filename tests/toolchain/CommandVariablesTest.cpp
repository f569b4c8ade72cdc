// Path splitting and the $-variables of command lines.
#include <gtest/gtest.h>

#include "toolchain/CommandVariables.h"
#include "toolchain/PathParts.h"

namespace vexa::toolchain {
namespace {

struct SplitCase {
    const char* path;
    const char* directory;
    const char* base;
    const char* extension;
};

TEST(PathParts, SplitsAndNormalisesTheDirectory) {
    const SplitCase cases[] = {
        {"/src/main.c", "/src/", "main", ".c"},
        {"\\src\\main.c", "/src/", "main", ".c"},
        {"/src/./lib/../main.c", "/src/", "main", ".c"},
        {"/a/b/c/../../main.c", "/a/", "main", ".c"},
        {"/../main.c", "/", "main", ".c"},
        {"main.c", "", "main", ".c"},
        {"sub/../../main.c", "../", "main", ".c"},
        {"/src/Makefile", "/src/", "Makefile", ""},
        {"/src/archive.tar.gz", "/src/", "archive.tar", ".gz"},
        {"/src/dir.d/noext", "/src/dir.d/", "noext", ""},
        {"//src//main.c", "/src/", "main", ".c"},
        {"", "", "", ""},
    };
    for (const SplitCase& c : cases) {
        const PathParts parts = splitPath(c.path);
        EXPECT_EQ(parts.drive, "") << c.path;
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.base, c.base) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
    }
    EXPECT_EQ(splitPath("/src/./x/../main.c").fullName(), "/src/main.c");
}

VariableContext mainC() {
    VariableContext context;
    context.hasDocument = true;
    context.hasWindow = true;
    context.documentPath = "/SRC/./MAIN.C";
    context.line = 12;
    context.column = 5;
    context.word = "counter";
    context.projectPath = "/work/app/Makefile.mak";
    context.currentDirectory = "/home/user";
    context.installDirectory = "/home/user/.local/share/vexa/";
    return context;
}

struct ExpandCase {
    const char* command;
    const char* expected;
};

TEST(CommandVariables, EveryNameAndShortFormExpands) {
    const ExpandCase cases[] = {
        {"$Column", "5"},
        {"$C", "5"},
        {"$Dir", "/home/user"},
        {"$DIR", "/home/user"},
        {"$ExtBase", "C"},
        {"$EB", "C"},
        {"$Ext", ".C"},
        {"$E", ".C"},
        {"$FileName", "/SRC/MAIN.C"},
        {"$FN", "/SRC/MAIN.C"},
        {"$FileBase", "MAIN"},
        {"$FB", "MAIN"},
        {"$FileDrive", ""},
        {"$FDR", ""},
        {"$FileDir", "/SRC/"},
        {"$FD", "/SRC/"},
        {"$File", "MAIN.C"},
        {"$F", "MAIN.C"},
        {"$Line", "12"},
        {"$L", "12"},
        {"$ProjectBase", "Makefile"},
        {"$PB", "Makefile"},
        {"$ProjectDrive", ""},
        {"$PDR", ""},
        {"$ProjectFile", "Makefile.mak"},
        {"$PF", "Makefile.mak"},
        {"$ProjectDir", "/work/app/"},
        {"$PD", "/work/app/"},
        {"$Word", "counter"},
        {"$W", "counter"},
        {"$VexaDir", "/home/user/.local/share/vexa/"},
        {"$VD", "/home/user/.local/share/vexa/"},
    };
    const VariableContext context = mainC();
    for (const ExpandCase& c : cases) {
        std::string result;
        EXPECT_TRUE(expandCommand(c.command, kCommandBufferSize, context, result)) << c.command;
        EXPECT_EQ(result, c.expected) << c.command;
    }
}

TEST(CommandVariables, TextAroundNamesAndOddDollarsStays) {
    const ExpandCase cases[] = {
        {"cl -c $FileBase.obj", "cl -c MAIN.obj"},
        {"$line and $LINE and $LiNe", "12 and 12 and 12"},
        // The name wins over a short form it starts with, and what follows a short form stays.
        {"$FNX", "/SRC/MAIN.CX"},
        {"$Fx", "MAIN.Cx"},
        {"$Extra", ".Cra"},
        {"$Dirt", "/home/usert"},
        {"a $ b", "a $ b"},
        {"$", "$"},
        {"cost $5", "cost $5"},
        {"$Q and $Z", "$Q and $Z"},
        {"$$L", "$12"},
        {"tail$", "tail$"},
    };
    const VariableContext context = mainC();
    for (const ExpandCase& c : cases) {
        std::string result;
        EXPECT_TRUE(expandCommand(c.command, kCommandBufferSize, context, result)) << c.command;
        EXPECT_EQ(result, c.expected) << c.command;
    }
}

TEST(CommandVariables, NothingExpandsWithoutADocument) {
    VariableContext context = mainC();
    context.hasDocument = false;
    std::string result;
    EXPECT_TRUE(expandCommand("make $FileBase $L $VD", kCommandBufferSize, context, result));
    EXPECT_EQ(result, "make $FileBase $L $VD");
    EXPECT_FALSE(expandCommand("make all", kCommandBufferSize, context, result));
    EXPECT_EQ(result, "make all");
}

TEST(CommandVariables, ColumnIsEmptyWithoutAWindow) {
    VariableContext context = mainC();
    context.hasWindow = false;
    std::string result;
    (void)expandCommand("[$C]", kCommandBufferSize, context, result);
    EXPECT_EQ(result, "[]");
}

TEST(CommandVariables, ConsumedLengthIsTheMatchedName) {
    const VariableContext context = mainC();
    EXPECT_EQ(expandVariable("$FileBase.obj", context).consumed, 9u);
    EXPECT_EQ(expandVariable("$FB.obj", context).consumed, 3u);
    EXPECT_EQ(expandVariable("$x", context).consumed, 1u);
    EXPECT_EQ(expandVariable("$x", context).value, "$");
}

TEST(CommandVariables, ValuesAreCutTo255Characters) {
    VariableContext context = mainC();
    context.word = std::string(400, 'w');
    EXPECT_EQ(expandVariable("$W", context).value.size(), kMaxVariableValue);
}

TEST(CommandVariables, SizeRuleDropsEverythingAfterTheFirstPieceThatDoesNotFit) {
    const VariableContext context = mainC();
    struct SizeCase {
        std::size_t size;
        const char* expected;
    };
    // "ab " (3) + "MAIN" (4) + " cd" (3): totals 3, 7, 10; a piece is kept while total < size.
    const SizeCase cases[] = {
        {11, "ab MAIN cd"}, {10, "ab MAIN"}, {8, "ab MAIN"}, {7, "ab "}, {4, "ab "}, {3, ""}, {1, ""},
    };
    for (const SizeCase& c : cases) {
        std::string result = "old";
        (void)expandCommand("ab $FB cd", c.size, context, result);
        EXPECT_EQ(result, c.expected) << c.size;
    }
    // A short piece after one that did not fit is dropped as well.
    VariableContext longWord = context;
    longWord.word = std::string(300, 'x');
    std::string result;
    (void)expandCommand("a $W $L", kCommandBufferSize, longWord, result);
    EXPECT_EQ(result, "a ");
}

} // namespace
} // namespace vexa::toolchain
