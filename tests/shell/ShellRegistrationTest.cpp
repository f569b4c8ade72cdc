// Registering the file types: the class entries, claims only of unclaimed extensions, the desktop
// entry and the default-application list.
#include "shell/ShellRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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
        {"an association added elsewhere is a preference too",
         "",
         {"[Added Associations]\ntext/x-c++src=ide.desktop;text/x-csrc=a;\n[Default Applications]\n"
          "text/x-csrc=ide.desktop;\ntext/x-c++hdr=ide.desktop;\ntext/x-chdr=ide.desktop;\n"},
         std::nullopt},
        {"a removed association is a preference",
         "[Removed Associations]\ntext/x-csrc=gedit.desktop;\n",
         {"[Added Associations]\ntext/x-chdr=ide.desktop;\n"},
         "[Removed Associations]\ntext/x-csrc=gedit.desktop;\n\n[Default Applications]\n"
         "text/x-c++src=vexa.desktop;\ntext/x-c++hdr=vexa.desktop;\n"},
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

TEST(ShellRegistration, EveryListOfEveryXdgDirectoryIsConsulted) {
    const std::pair<const char*, const char*> variables[] = {
        {"HOME", "/home/u"},      {"XDG_CONFIG_HOME", "/ch"},
        {"XDG_DATA_HOME", "/dh"}, {"XDG_CONFIG_DIRS", "/c1:/c2"},
        {"XDG_DATA_DIRS", "/d1"}, {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"},
    };
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    for (const auto& [name, value] : variables) {
        const char* old = std::getenv(name);
        saved.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
        setenv(name, value, 1);
    }
    const XdgPlaces places = xdgPlaces();
    for (const auto& [name, value] : saved) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    EXPECT_EQ(places.userList, "/ch/mimeapps.list");
    for (const char* list :
         {"/ch/ubuntu-mimeapps.list", "/ch/gnome-mimeapps.list", "/dh/applications/gnome-mimeapps.list",
          "/dh/applications/mimeapps.list", "/dh/applications/defaults.list", "/c1/gnome-mimeapps.list",
          "/c1/mimeapps.list", "/c2/ubuntu-mimeapps.list", "/c2/mimeapps.list",
          "/d1/applications/gnome-mimeapps.list", "/d1/applications/mimeapps.list",
          "/d1/applications/defaults.list"}) {
        EXPECT_NE(std::find(places.otherLists.begin(), places.otherLists.end(), list),
                  places.otherLists.end())
            << list;
    }
}

TEST(ShellRegistration, AnExistingDesktopEntryChangesOnlyWhenItsProgramMoved) {
    const std::string edited =
        "[Desktop Entry]\nName=My Editor\nExec=\"/opt/old vexa/vexa\" -x %F\nIcon=mine\n";
    struct Case {
        const char* name;
        std::string entry;
        bool programExists;
        std::optional<std::string> result;
    };
    const Case cases[] = {
        {"the user's program is kept", edited, true, std::nullopt},
        {"this program is kept", "[Desktop Entry]\nExec=/usr/bin/vexa %F\n", false, std::nullopt},
        {"a moved program is followed, the edits kept", edited, false,
         "[Desktop Entry]\nName=My Editor\nExec=\"/usr/bin/vexa\" -x %F\nIcon=mine\n"},
        {"a plain moved path", "[Desktop Entry]\nExec=/gone/vexa %F\n", false,
         "[Desktop Entry]\nExec=\"/usr/bin/vexa\" %F\n"},
        {"an Exec of another section is no concern", "[Desktop Action new]\nExec=/gone/vexa\n", false,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(updatedDesktopEntry(c.entry, "/usr/bin/vexa",
                                      [&](const std::string&) { return c.programExists; }),
                  c.result);
    }

    // Through the registration: an entry the user edited stays byte for byte.
    test::TempHome home;
    XdgPlaces places{home.file("data/applications/"), "", home.file("config/mimeapps.list"), {}};
    std::filesystem::create_directories(home.path() / "data/applications");
    const std::string path = places.applicationsDirectory + "vexa.desktop";
    const std::string mine =
        "[Desktop Entry]\nName=Mine\nExec=" + home.file("data/applications/vexa.desktop") + " %F\n";
    test::writeFileBytes(path, mine);
    EXPECT_TRUE(registerWithDesktop(places, "/usr/bin/vexa").empty());
    EXPECT_EQ(test::readFileBytes(path), mine);
}

} // namespace
} // namespace vexa::shell
