// The environment port: variables, the current directory and the program's own path.
#include "platform/Environment.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/TempHome.h"

namespace vexa::platform {
namespace {

TEST(Environment, SetReadAndUnsetVariables) {
    const std::string name = "VEXA_ENVIRONMENT_TEST";
    ASSERT_TRUE(unsetEnvironmentVariable(name));
    EXPECT_FALSE(environmentVariable(name).has_value());

    ASSERT_TRUE(setEnvironmentVariable(name, "a value with = and spaces"));
    EXPECT_EQ(environmentVariable(name), "a value with = and spaces");

    // An empty value is a set variable, not an absent one.
    ASSERT_TRUE(setEnvironmentVariable(name, ""));
    EXPECT_EQ(environmentVariable(name), "");

    ASSERT_TRUE(unsetEnvironmentVariable(name));
    EXPECT_FALSE(environmentVariable(name).has_value());
}

TEST(Environment, RejectsNamesTheSystemCannotHold) {
    for (const char* name : {"", "A=B"}) {
        EXPECT_FALSE(setEnvironmentVariable(name, "x")) << name;
        EXPECT_FALSE(unsetEnvironmentVariable(name)) << name;
    }
}

TEST(Environment, ChangesAndReportsTheCurrentDirectory) {
    test::TempHome home;
    auto previous = currentDirectory();
    ASSERT_TRUE(previous.has_value());
    auto target = std::filesystem::canonical(home.path());
    std::filesystem::create_directory(target / "sub dir");

    ASSERT_TRUE(setCurrentDirectory((target / "sub dir").string()));
    EXPECT_EQ(currentDirectory(), (target / "sub dir").string());
    EXPECT_FALSE(setCurrentDirectory((target / "missing").string()));
    EXPECT_EQ(currentDirectory(), (target / "sub dir").string());
    EXPECT_FALSE(setCurrentDirectory(""));

    ASSERT_TRUE(setCurrentDirectory(*previous));
}

TEST(Environment, FindsExecutablesAlongThePathOnly) {
    test::TempHome home;
    auto dir = std::filesystem::canonical(home.path());
    std::filesystem::create_directories(dir / "first");
    std::filesystem::create_directories(dir / "second");
    test::writeFileBytes(dir / "first" / "tool", "not executable here");
    test::writeFileBytes(dir / "second" / "tool", "#!/bin/sh\n");
    std::filesystem::permissions(dir / "second" / "tool", std::filesystem::perms::owner_all);
    std::filesystem::create_directories(dir / "second" / "dirtool");
    test::writeFileBytes(dir / "here", "#!/bin/sh\n");
    std::filesystem::permissions(dir / "here", std::filesystem::perms::owner_all);

    auto previous = environmentVariable("PATH");
    auto previousDirectory = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(dir.string()));
    ASSERT_TRUE(setEnvironmentVariable("PATH", ".:" + (dir / "first").string() +
                                                   "::" + (dir / "second").string() + "/"));
    auto tool = findOnPath("tool");
    auto dirTool = findOnPath("dirtool");
    auto withSlash = findOnPath("second/tool");
    auto relativeEntry = findOnPath("here");
    ASSERT_TRUE(setEnvironmentVariable("PATH", previous.value_or("/usr/bin:/bin")));
    ASSERT_TRUE(setCurrentDirectory(previousDirectory.value_or("/")));

    EXPECT_EQ(tool, (dir / "second" / "tool").string()) << "the non-executable first match is passed over";
    EXPECT_FALSE(dirTool.has_value());
    EXPECT_FALSE(withSlash.has_value());
    EXPECT_FALSE(relativeEntry.has_value());
    EXPECT_FALSE(findOnPath("").has_value());
}

TEST(Environment, ProgramPathNamesThisTestProgram) {
    auto path = programPath();
    ASSERT_TRUE(path.has_value());
    std::filesystem::path program(*path);
    EXPECT_TRUE(program.is_absolute());
    EXPECT_EQ(program.filename(), "vexa_platform_tests");
    EXPECT_TRUE(std::filesystem::is_regular_file(program));
}

} // namespace
} // namespace vexa::platform
