// The key stores: case-blind key paths, subtree removal, the file format and failures.
#include "platform/KeyStore.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

#include "platform/posix/FileKeyStore.h"
#include "support/TempHome.h"

namespace vexa::platform {
namespace {

using test::readFileBytes;
using test::writeFileBytes;

// Both stores must behave alike; each case runs against each.
class KeyStoreBehaviour : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            m_store = std::make_unique<FileKeyStore>(m_home.file("registry.keys"));
        } else {
            m_store = std::make_unique<MemoryKeyStore>();
        }
    }

    test::TempHome m_home;
    std::unique_ptr<KeyStore> m_store;
};

TEST_P(KeyStoreBehaviour, WritesReadsAndOverwritesIgnoringCase) {
    KeyStore& store = *m_store;
    EXPECT_FALSE(store.readValue("Load\\FileName").has_value());
    ASSERT_TRUE(store.writeValue("Load\\FileName", "/home/u/a.c"));
    ASSERT_TRUE(store.writeValue("Load\\FileLine", "25"));
    EXPECT_EQ(store.readValue("Load\\FileName"), "/home/u/a.c");
    EXPECT_EQ(store.readValue("LOAD\\filename"), "/home/u/a.c");
    EXPECT_EQ(store.readValue("Load\\FileLine"), "25");

    ASSERT_TRUE(store.writeValue("load\\FILENAME", ""));
    EXPECT_EQ(store.readValue("Load\\FileName"), "") << "an empty value is still a value";
    EXPECT_FALSE(store.readValue("Load").has_value()) << "a parent holds no value of its own";
    EXPECT_FALSE(store.writeValue("", "x"));
}

TEST_P(KeyStoreBehaviour, KeepsAwkwardTextExactly) {
    const std::string awkward = "tab\there, new\nline, cr\r, back\\slash\\t, =, [open(\"%1\")], \xE9";
    ASSERT_TRUE(m_store->writeValue("Odd\tKey\\with\\n", awkward));
    EXPECT_EQ(m_store->readValue("odd\tkey\\WITH\\N"), awkward);
}

TEST_P(KeyStoreBehaviour, RemovingAKeyRemovesItsSubtreeOnly) {
    KeyStore& store = *m_store;
    ASSERT_TRUE(store.writeValue("VexaEditor", "Morvaine Vexa"));
    ASSERT_TRUE(store.writeValue("VexaEditor\\shell\\open\\command", "/usr/bin/vexa %1"));
    ASSERT_TRUE(store.writeValue("VexaEditorOld", "kept: a sibling, not a child"));
    ASSERT_TRUE(store.writeValue(".c", "VexaEditor"));

    ASSERT_TRUE(store.removeKey("vexaeditor"));
    EXPECT_FALSE(store.readValue("VexaEditor").has_value());
    EXPECT_FALSE(store.readValue("VexaEditor\\shell\\open\\command").has_value());
    EXPECT_EQ(store.readValue("VexaEditorOld"), "kept: a sibling, not a child");
    EXPECT_EQ(store.readValue(".c"), "VexaEditor");
    EXPECT_TRUE(store.removeKey("Missing"));
}

INSTANTIATE_TEST_SUITE_P(MemoryAndFile, KeyStoreBehaviour, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "File" : "Memory"; });

TEST(MemoryKeyStore, ReadOnlyStoreRefusesChanges) {
    MemoryKeyStore store;
    ASSERT_TRUE(store.writeValue("a", "1"));
    store.setWritable(false);
    EXPECT_FALSE(store.writeValue("a", "2"));
    EXPECT_FALSE(store.removeKey("a"));
    EXPECT_EQ(store.readValue("a"), "1");
}

TEST(FileKeyStore, TwoStoresOnOneFileSeeEachOthersWrites) {
    test::TempHome home;
    FileKeyStore sender(home.file("handoff.keys"));
    FileKeyStore receiver(home.file("handoff.keys"));
    ASSERT_TRUE(sender.writeValue("Load\\FileName", "/a.c"));
    ASSERT_TRUE(receiver.writeValue("Load\\FileLine", "3"));
    EXPECT_EQ(receiver.readValue("Load\\FileName"), "/a.c");
    EXPECT_EQ(sender.readValue("Load\\FileLine"), "3");
}

struct LineCase {
    const char* key;
    const char* value;
    const char* line;
};

TEST(FileKeyStore, LineFormatEscapesBackslashesAndControls) {
    constexpr LineCase kCases[] = {
        {"Load\\FileLine", "25", "Load\\\\FileLine\t25\n"},
        {".c", "", ".c\t\n"},
        {"k", "a\tb\nc\rd\\", "k\ta\\tb\\nc\\rd\\\\\n"},
    };
    for (const LineCase& c : kCases) {
        std::string line = FileKeyStore::formatLine(c.key, c.value);
        EXPECT_EQ(line, c.line);
        std::string key;
        std::string value;
        ASSERT_TRUE(FileKeyStore::parseLine(std::string_view(line).substr(0, line.size() - 1), key, value));
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(value, c.value);
    }
}

TEST(FileKeyStore, SkipsDamagedLinesAndDropsThemAtTheNextWrite) {
    test::TempHome home;
    auto path = home.path() / "registry.keys";
    writeFileBytes(path, "# comment\n"
                         "good\tvalue\n"
                         "no tab here\n"
                         "\tempty key\n"
                         "bad\\qescape\tx\n"
                         "two\ttabs\there\n"
                         "last\tone");
    FileKeyStore store(path.string());
    EXPECT_EQ(store.readValue("good"), "value");
    EXPECT_EQ(store.readValue("last"), "one");
    EXPECT_FALSE(store.readValue("bad\\qescape").has_value());
    EXPECT_FALSE(store.readValue("two").has_value());

    ASSERT_TRUE(store.writeValue("new", "1"));
    std::string content = readFileBytes(path);
    EXPECT_EQ(content.substr(content.find('\n') + 1), "good\tvalue\nlast\tone\nnew\t1\n");
}

TEST(FileKeyStore, UnwritableDirectoryFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    test::TempHome home;
    auto dir = home.path() / "locked";
    std::filesystem::create_directory(dir);
    FileKeyStore store((dir / "registry.keys").string());
    ASSERT_TRUE(store.writeValue("a", "1"));
    // A writable file in a locked directory is rewritten in place; a locked file is not.
    ASSERT_EQ(::chmod(dir.c_str(), 0500), 0);
    EXPECT_TRUE(store.writeValue("a", "2"));
    EXPECT_EQ(store.readValue("a"), "2");
    ASSERT_EQ(::chmod((dir / "registry.keys").c_str(), 0400), 0);
    EXPECT_FALSE(store.writeValue("a", "3"));
    EXPECT_EQ(store.readValue("a"), "2");
    ASSERT_EQ(::chmod(dir.c_str(), 0700), 0);
}

TEST(FileKeyStore, StoreBelowAFileCannotBeWritten) {
    test::TempHome home;
    writeFileBytes(home.path() / "plain", "x");
    FileKeyStore store((home.path() / "plain" / "registry.keys").string());
    EXPECT_FALSE(store.writeValue("a", "1"));
    EXPECT_FALSE(store.readValue("a").has_value());
}

} // namespace
} // namespace vexa::platform
