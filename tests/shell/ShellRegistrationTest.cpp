// Registering the file types: the class entries, claims only of unclaimed extensions, the desktop
// entry and the default-application list.
#include "shell/ShellRegistration.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/KeyStore.h"
#include "support/TempHome.h"

namespace vexa::shell {
namespace {

TEST(ShellRegistration, WritesTheClassAndClaimsOnlyUnclaimedExtensions) {
    platform::MemoryKeyStore store;
    ASSERT_TRUE(store.writeValue(".c", "OtherEditor"));
    ASSERT_TRUE(store.writeValue(".h", ""));
    EXPECT_EQ(registerFileTypes(store, "/opt/vexa/vexa"), std::nullopt);
    EXPECT_EQ(store.readValue("VexaEditor"), "Morvaine Vexa");
    EXPECT_EQ(store.readValue("VexaEditor\\shell\\open\\ddeexec"), "[open(\"%1\")]");
    EXPECT_EQ(store.readValue("VexaEditor\\shell\\open\\command"), "/opt/vexa/vexa %1");
    EXPECT_EQ(store.readValue(".c"), "OtherEditor");
    EXPECT_EQ(store.readValue(".h"), "VexaEditor");
    EXPECT_EQ(store.readValue(".cpp"), "VexaEditor");
    EXPECT_EQ(store.readValue(".hpp"), "VexaEditor");
}

TEST(ShellRegistration, AFailedWriteStopsAndNamesItsKey) {
    platform::MemoryKeyStore store;
    store.setWritable(false);
    EXPECT_EQ(registerFileTypes(store, "/vexa"), "VexaEditor");
    EXPECT_EQ(registrationFailureMessage("VexaEditor"),
              "Warning: registration database update failed for key 'VexaEditor'\n");
    EXPECT_EQ(store.readValue(".cpp"), std::nullopt);
}

TEST(ShellRegistration, DefaultsAreClaimedOnlyForTypesWithoutOne) {
    struct Case {
        const char* name;
        std::string user;
        std::vector<std::string> others;
        std::optional<std::string> result;
    };
    const Case cases[] = {
        {"empty list",
         "",
         {},
         "[Default Applications]\ntext/x-c++src=vexa.desktop;\ntext/x-csrc=vexa.desktop;\n"
         "text/x-c++hdr=vexa.desktop;\ntext/x-chdr=vexa.desktop;\n"},
        {"user's choice kept, other sections untouched",
         "[Added Associations]\ntext/x-csrc=vim.desktop;\n\n[Default "
         "Applications]\ntext/x-csrc=emacs.desktop;\n"
         "\n[Removed Associations]\n",
         {},
         "[Added Associations]\ntext/x-csrc=vim.desktop;\n\n[Default "
         "Applications]\ntext/x-csrc=emacs.desktop;\n"
         "text/x-c++src=vexa.desktop;\ntext/x-c++hdr=vexa.desktop;\ntext/x-chdr=vexa.desktop;\n\n"
         "[Removed Associations]\n"},
        {"system defaults count",
         "[Added Associations]\nx=y;",
         {"[Default "
          "Applications]\ntext/x-c++src=ide.desktop\ntext/x-csrc=ide.desktop\ntext/x-c++hdr=ide.desktop\n"
          "text/x-chdr=ide.desktop\n"},
         std::nullopt},
        {"a type only added elsewhere has no default",
         "",
         {"[Added Associations]\ntext/x-c++src=ide.desktop;text/x-csrc=a;\n[Default Applications]\n"
          "text/x-csrc=ide.desktop;\ntext/x-c++hdr=ide.desktop;\ntext/x-chdr=ide.desktop;\n"},
         "[Default Applications]\ntext/x-c++src=vexa.desktop;\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(claimMimeDefaults(c.user, c.others), c.result);
    }
}

TEST(ShellRegistration, TheDesktopFilesAreWrittenOnceAndTheUsersChoiceKept) {
    test::TempHome home;
    XdgPlaces places{home.file("data/applications/"),
                     home.file("data/icons/hicolor/scalable/apps/vexa.svg"),
                     home.file("config/mimeapps.list"),
                     {}};
    std::filesystem::create_directories(home.path() / "config");
    test::writeFileBytes(places.userList, "[Default Applications]\ntext/x-csrc=emacs.desktop;\n");
    EXPECT_TRUE(registerWithDesktop(places, "/opt/my vexa/vexa").empty());
    std::string entry = test::readFileBytes(places.applicationsDirectory + "vexa.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/my vexa/vexa\" %F\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=text/x-c++src;text/x-csrc;text/x-c++hdr;text/x-chdr;"), std::string::npos);
    std::string list = test::readFileBytes(places.userList);
    EXPECT_NE(list.find("text/x-csrc=emacs.desktop;"), std::string::npos);
    EXPECT_EQ(list.find("text/x-csrc=vexa.desktop;"), std::string::npos);
    EXPECT_NE(list.find("text/x-chdr=vexa.desktop;"), std::string::npos);
    // A second start changes nothing.
    EXPECT_TRUE(registerWithDesktop(places, "/opt/my vexa/vexa").empty());
    EXPECT_EQ(test::readFileBytes(places.userList), list);

    EXPECT_EQ(test::readFileBytes(places.iconPath), vexaIconSvg());
    EXPECT_NE(vexaIconSvg().find("<svg"), std::string_view::npos);

    XdgPlaces unwritable{"/proc/no-such/applications/", "", home.file("config/mimeapps.list"), {}};
    EXPECT_EQ(registerWithDesktop(unwritable, "/vexa"), std::vector<std::string>{registrationFailureMessage(
                                                            "/proc/no-such/applications/vexa.desktop")});
}

} // namespace
} // namespace vexa::shell
