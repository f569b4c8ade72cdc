// The home directory: where it is found, its sub-directories, the too-long rule, creation.
#include "settings/Directories.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

#include "support/TempHome.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;

struct HomeCase {
    const char* name;
    std::map<std::string, std::string> environment;
    std::string expected;
};

class HomeResolution : public ::testing::TestWithParam<HomeCase> {};

TEST_P(HomeResolution, FollowsTheEnvironment) {
    const auto& environment = GetParam().environment;
    auto lookup = [&](const char* name) -> const char* {
        auto it = environment.find(name);
        return it == environment.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(Directories::resolveHome(lookup), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HomeResolution,
    ::testing::Values(
        HomeCase{"VexaHomeWins", {{"VEXA_HOME", "/v/h"}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/u"}}, "/v/h/"},
        HomeCase{"VexaHomeWithSlash", {{"VEXA_HOME", "/v/h/"}}, "/v/h/"},
        HomeCase{"EmptyVexaHomeIgnored", {{"VEXA_HOME", ""}, {"XDG_DATA_HOME", "/x/data"}}, "/x/data/vexa/"},
        HomeCase{"XdgDataHome", {{"XDG_DATA_HOME", "/x/data/"}, {"HOME", "/u"}}, "/x/data/vexa/"},
        HomeCase{"UserHome", {{"HOME", "/home/me"}}, "/home/me/.local/share/vexa/"},
        HomeCase{"EmptyXdgFallsBack",
                 {{"XDG_DATA_HOME", ""}, {"HOME", "/home/me"}},
                 "/home/me/.local/share/vexa/"},
        HomeCase{"Nothing", {}, ""},
        HomeCase{"EmptyEverywhere", {{"VEXA_HOME", ""}, {"XDG_DATA_HOME", ""}, {"HOME", ""}}, ""}),
    [](const auto& info) { return info.param.name; });

TEST(Directories, ARelativeHomeIsMadeAbsolute) {
    const std::string current = fs::current_path().string();
    for (const char* relative : {"rel/home", "./rel/home/", "rel/../rel/home"}) {
        auto lookup = [&](const char* name) -> const char* {
            return std::string_view(name) == "VEXA_HOME" ? relative : nullptr;
        };
        EXPECT_EQ(Directories::resolveHome(lookup), current + "/rel/home/") << relative;
    }
    auto xdg = [](const char* name) -> const char* {
        return std::string_view(name) == "XDG_DATA_HOME" ? "data" : nullptr;
    };
    EXPECT_EQ(Directories::resolveHome(xdg), current + "/data/vexa/");
}

TEST(Directories, ProcessEnvironmentGivesTheTemporaryHome) {
    test::TempHome home;
    EXPECT_EQ(Directories::resolveHome(), home.path().string() + "/");
}

struct KindCase {
    DirectoryKind kind;
    const char* name;
};

TEST(Directories, EveryDirectoryEndsWithSlash) {
    Directories directories("/data/vexa");
    const KindCase kinds[] = {{DirectoryKind::Help, "vHelp"},       {DirectoryKind::Backup, "vbackup"},
                              {DirectoryKind::Config, "vConfig"},   {DirectoryKind::Macros, "vMacros"},
                              {DirectoryKind::Example, "vExample"}, {DirectoryKind::Spell, "vSpell"},
                              {DirectoryKind::Script, "vScript"}};
    for (const auto& k : kinds) {
        EXPECT_EQ(directories.path(k.kind), std::string("/data/vexa/") + k.name + "/");
    }
    EXPECT_EQ(directories.path(DirectoryKind::Home), "/data/vexa/");
    EXPECT_EQ(directories.settingsFilePath(), "/data/vexa/vexa.INI");
    EXPECT_EQ(directories.path(static_cast<DirectoryKind>(3)), "");
    EXPECT_EQ(directories.path(static_cast<DirectoryKind>(256)), "");
}

TEST(Directories, TooLongHomeGivesOopsForEverySubdirectory) {
    // 233 characters with the final slash: 233 + 22 reaches 255.
    std::string longHome = "/" + std::string(231, 'd') + "/";
    ASSERT_EQ(longHome.size(), 233u);
    Directories tooLong(longHome);
    EXPECT_TRUE(tooLong.isTooLong());
    for (auto kind :
         {DirectoryKind::Help, DirectoryKind::Backup, DirectoryKind::Config, DirectoryKind::Macros,
          DirectoryKind::Example, DirectoryKind::Spell, DirectoryKind::Script}) {
        EXPECT_EQ(tooLong.path(kind), "/??Oops/");
    }
    EXPECT_EQ(tooLong.path(DirectoryKind::Home), longHome);
    EXPECT_FALSE(tooLong.create());

    Directories justFits("/" + std::string(230, 'd') + "/");
    EXPECT_FALSE(justFits.isTooLong());
    EXPECT_EQ(justFits.path(DirectoryKind::Spell), justFits.home() + "vSpell/");
}

TEST(Directories, TooLongHomeBuildsNothing) {
    test::TempHome home;
    std::string base = home.path().string() + "/";
    std::string deep = base + std::string(255 - 22 - base.size() - 1, 'x') + "/";
    ASSERT_GE(deep.size() + 22, 255u);
    EXPECT_FALSE(Directories(deep).create());
    EXPECT_FALSE(fs::exists(deep));
}

TEST(Directories, CreateBuildsTheHomeAndEverySubdirectory) {
    test::TempHome home;
    Directories directories(home.file("new/home"));
    ASSERT_TRUE(directories.create());
    for (const char* name : {"vConfig", "vbackup", "vHelp", "vMacros", "vExample", "vSpell", "vScript"}) {
        EXPECT_TRUE(fs::is_directory(home.path() / "new/home" / name)) << name;
    }
    // A second start finds them all and succeeds again.
    EXPECT_TRUE(directories.create());
}

TEST(Directories, FileInPlaceOfASubdirectoryFails) {
    test::TempHome home;
    test::writeFileBytes(home.path() / "vSpell", "not a directory");
    Directories directories(home.path().string());
    EXPECT_FALSE(directories.create());
    EXPECT_TRUE(fs::is_directory(home.path() / "vConfig"));
    EXPECT_EQ(test::readFileBytes(home.path() / "vSpell"), "not a directory");
}

} // namespace
} // namespace vexa
