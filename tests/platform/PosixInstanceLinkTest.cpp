// The POSIX instance link: the private directory, the marker with stale recovery, the record
// shared between editors, and the messages from a second editor to the first.
#include "platform/posix/PosixInstanceLink.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Environment.h"
#include "support/TempHome.h"

namespace vexa::platform {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode;
}

// Leaves a socket file behind as a crashed editor would: bound, then closed without unlink.
void leaveDeadSocket(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

class InstanceLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = (m_home.path() / "run").string();
        ASSERT_TRUE(PosixInstanceLink::prepareDirectory(m_dir));
    }

    test::TempHome m_home;
    std::string m_dir;
};

TEST(InstanceLinkDirectory, IsMadePrivateOrRefused) {
    test::TempHome home;
    std::string fresh = (home.path() / "fresh").string();
    ASSERT_TRUE(PosixInstanceLink::prepareDirectory(fresh));
    EXPECT_EQ(modeOf(fresh) & 0777, 0700u);

    std::string open = (home.path() / "open").string();
    fs::create_directory(open);
    ASSERT_EQ(::chmod(open.c_str(), 0755), 0);
    ASSERT_TRUE(PosixInstanceLink::prepareDirectory(open));
    EXPECT_EQ(modeOf(open) & 0777, 0700u);

    std::string link = (home.path() / "link").string();
    fs::create_directory_symlink(fresh, link);
    EXPECT_FALSE(PosixInstanceLink::prepareDirectory(link));

    std::string file = (home.path() / "file").string();
    test::writeFileBytes(file, "x");
    EXPECT_FALSE(PosixInstanceLink::prepareDirectory(file));
    EXPECT_FALSE(PosixInstanceLink::prepareDirectory((home.path() / "no" / "parent").string()));
}

TEST(InstanceLinkDirectory, DefaultLivesInTheRuntimeDirectory) {
    test::TempHome home;
    auto previous = environmentVariable("XDG_RUNTIME_DIR");
    ASSERT_TRUE(setEnvironmentVariable("XDG_RUNTIME_DIR", home.path().string()));
    auto inRuntime = PosixInstanceLink::defaultDirectory("/home/me/vexa/");
    ASSERT_TRUE(setEnvironmentVariable("XDG_RUNTIME_DIR", "relative/dir"));
    auto fallback = PosixInstanceLink::defaultDirectory("/home/me/vexa/");
    if (previous) {
        ASSERT_TRUE(setEnvironmentVariable("XDG_RUNTIME_DIR", *previous));
    } else {
        ASSERT_TRUE(unsetEnvironmentVariable("XDG_RUNTIME_DIR"));
    }

    const std::string session =
        PosixInstanceLink::sessionName(environmentVariable("DISPLAY").value_or(""),
                                       environmentVariable("WAYLAND_DISPLAY").value_or(""), "/home/me/vexa/");
    EXPECT_EQ(inRuntime, (home.path() / "vexa" / session).string());
    EXPECT_EQ(modeOf(*inRuntime) & 0777, 0700u);
    EXPECT_EQ(modeOf((home.path() / "vexa").string()) & 0777, 0700u);
    EXPECT_EQ(fallback, "/tmp/vexa-" + std::to_string(userId()) + "/" + session);
}

TEST(InstanceLinkDirectory, OneLinkPerDisplayAndHome) {
    const auto name = [](std::string_view x, std::string_view wayland, std::string_view home) {
        return PosixInstanceLink::sessionName(x, wayland, home);
    };
    const std::string base = name(":0", "", "/home/me/.local/share/vexa/");
    EXPECT_EQ(name(":0.1", "", "/home/me/.local/share/vexa/"), base) << "another screen of the same display";
    EXPECT_NE(name(":1", "", "/home/me/.local/share/vexa/"), base);
    EXPECT_NE(name("host:0", "", "/home/me/.local/share/vexa/"), base);
    EXPECT_NE(name(":0", "", "/tmp/other-home/"), base);
    EXPECT_NE(name("", "", "/home/me/.local/share/vexa/"), base);
    EXPECT_EQ(name(":0", "wayland-0", "/h/"), name(":5", "wayland-0", "/h/")) << "Wayland decides";
    EXPECT_NE(name("", "wayland-0", "/h/"), name("", "wayland-1", "/h/"));
    EXPECT_EQ(base.size(), std::string("session-").size() + 16);
}

TEST_F(InstanceLinkTest, OneEditorHoldsTheMarkerUntilItLetsGo) {
    PosixInstanceLink first(m_dir);
    PosixInstanceLink second(m_dir);
    EXPECT_FALSE(second.isMarkerPresent());
    EXPECT_EQ(first.receiverDescriptor(), -1);

    ASSERT_TRUE(first.addMarker());
    EXPECT_TRUE(first.isMarkerPresent());
    EXPECT_TRUE(second.isMarkerPresent());
    EXPECT_FALSE(second.addMarker());
    EXPECT_GE(first.receiverDescriptor(), 0);
    EXPECT_EQ(second.receiverDescriptor(), -1);

    EXPECT_EQ(modeOf(first.markerPath()) & 0777, 0600u);
    EXPECT_TRUE(S_ISSOCK(modeOf(first.socketPath())));
    EXPECT_EQ(modeOf(first.socketPath()) & 0777, 0600u);
    EXPECT_EQ(test::readFileBytes(first.markerPath()), std::to_string(::getpid()) + "\n");

    first.deleteMarker();
    EXPECT_FALSE(fs::exists(first.markerPath()));
    EXPECT_FALSE(fs::exists(first.socketPath()));
    EXPECT_FALSE(second.isMarkerPresent());
    EXPECT_TRUE(second.addMarker());
}

TEST_F(InstanceLinkTest, LeavingEditorCleansUp) {
    std::string marker;
    {
        PosixInstanceLink editor(m_dir);
        ASSERT_TRUE(editor.addMarker());
        marker = editor.markerPath();
        ASSERT_TRUE(fs::exists(marker));
    }
    EXPECT_TRUE(fs::is_empty(m_dir)) << "no marker or socket left behind";
    PosixInstanceLink later(m_dir);
    EXPECT_FALSE(later.isMarkerPresent());
}

TEST_F(InstanceLinkTest, StaleMarkerAndSocketAreRemovedAndReclaimed) {
    PosixInstanceLink editor(m_dir);
    test::writeFileBytes(editor.markerPath(), "99999\n");
    leaveDeadSocket(editor.socketPath());

    EXPECT_FALSE(editor.isMarkerPresent());
    EXPECT_FALSE(fs::exists(editor.markerPath()));
    EXPECT_FALSE(fs::exists(editor.socketPath()));
    EXPECT_FALSE(editor.postFileOpen());

    // Claiming straight over stale files works as well.
    test::writeFileBytes(editor.markerPath(), "99999\n");
    leaveDeadSocket(editor.socketPath());
    ASSERT_TRUE(editor.addMarker());
    PosixInstanceLink sender(m_dir);
    EXPECT_TRUE(sender.postFileOpen());
    EXPECT_EQ(editor.receive().size(), 1u);
}

TEST_F(InstanceLinkTest, MarkerOfACrashedEditorIsStale) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PosixInstanceLink crashing(m_dir);
        // Ends without running any destructor, as a crash does.
        ::_exit(crashing.addMarker() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    PosixInstanceLink next(m_dir);
    ASSERT_TRUE(fs::exists(next.markerPath()));
    ASSERT_TRUE(fs::exists(next.socketPath()));
    EXPECT_FALSE(next.isMarkerPresent());
    EXPECT_TRUE(next.addMarker());
}

TEST_F(InstanceLinkTest, SecondEditorHandsOverThroughRecordAndMessages) {
    PosixInstanceLink running(m_dir);
    PosixInstanceLink starting(m_dir);
    EXPECT_FALSE(starting.postFileOpen()) << "nobody listens yet";
    ASSERT_TRUE(running.addMarker());
    EXPECT_TRUE(running.receive().empty());

    ASSERT_TRUE(starting.record().writeValue("Load\\FileName", "/src/a.c"));
    ASSERT_TRUE(starting.record().writeValue("Load\\FileLine", "25"));
    ASSERT_TRUE(starting.postFileOpen());
    ASSERT_TRUE(starting.postCommand("[open(\"/src/b c.h\")]"));

    pollfd watch{running.receiverDescriptor(), POLLIN, 0};
    ASSERT_EQ(::poll(&watch, 1, 1000), 1) << "the descriptor wakes an event loop";

    auto messages = running.receive();
    std::vector<LinkMessage> expected = {{LinkMessageKind::FileOpen, ""},
                                         {LinkMessageKind::Command, "[open(\"/src/b c.h\")]"}};
    EXPECT_EQ(messages, expected);
    EXPECT_TRUE(running.receive().empty());
    EXPECT_TRUE(starting.receive().empty()) << "only the marker's holder receives";
    EXPECT_EQ(running.record().readValue("Load\\FileName"), "/src/a.c");
    EXPECT_EQ(running.record().readValue("Load\\FileLine"), "25");

    running.deleteMarker();
    EXPECT_FALSE(starting.postCommand("[open(\"/x\")]"));
}

TEST_F(InstanceLinkTest, CommandLengthIsBoundedAndJunkIsDropped) {
    PosixInstanceLink running(m_dir);
    PosixInstanceLink sender(m_dir);
    ASSERT_TRUE(running.addMarker());

    std::string longest(kMaxLinkCommand, 'x');
    EXPECT_TRUE(sender.postCommand(longest));
    EXPECT_FALSE(sender.postCommand(longest + "y"));

    // Datagrams no editor sends: an unknown kind, an empty one, a notification with text.
    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = running.socketPath();
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    for (std::string junk : {std::string("\x09junk"), std::string(), std::string("\x01text")}) {
        ASSERT_EQ(::sendto(fd, junk.data(), junk.size(), 0, reinterpret_cast<const sockaddr*>(&address),
                           sizeof address),
                  static_cast<ssize_t>(junk.size()));
    }
    std::string oversized(kMaxLinkCommand + 10, '\x02');
    ASSERT_EQ(::sendto(fd, oversized.data(), oversized.size(), 0, reinterpret_cast<const sockaddr*>(&address),
                       sizeof address),
              static_cast<ssize_t>(oversized.size()));
    ::close(fd);
    EXPECT_TRUE(sender.postFileOpen());

    auto messages = running.receive();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, longest);
    EXPECT_EQ(messages[1].kind, LinkMessageKind::FileOpen);
}

TEST_F(InstanceLinkTest, ListsOfFilesArriveWholeUpToTheirBound) {
    PosixInstanceLink running(m_dir);
    PosixInstanceLink sender(m_dir);
    EXPECT_FALSE(sender.postOpenFiles(std::string("0\0/a.c", 6))) << "nobody listens yet";
    ASSERT_TRUE(running.addMarker());

    const std::string longest = "7" + std::string(1, '\0') + "/" + std::string(kMaxLinkFiles - 3, 'n');
    ASSERT_EQ(longest.size(), kMaxLinkFiles);
    EXPECT_TRUE(sender.postOpenFiles(longest));
    EXPECT_FALSE(sender.postOpenFiles(longest + "x"));
    EXPECT_EQ(running.receive(), (std::vector<LinkMessage>{{LinkMessageKind::OpenFiles, longest}}));
}

TEST_F(InstanceLinkTest, TooLongSocketPathFailsToClaimCleanly) {
    std::string deep = m_dir + "/" + std::string(120, 'd');
    ASSERT_TRUE(PosixInstanceLink::prepareDirectory(deep));
    PosixInstanceLink editor(deep);
    EXPECT_FALSE(editor.addMarker());
    EXPECT_FALSE(fs::exists(editor.markerPath()));
    EXPECT_FALSE(editor.isMarkerPresent());
}

} // namespace
} // namespace vexa::platform
