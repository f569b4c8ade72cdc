// Tests of the keymap files of the configuration directory: creating by name, activation with its
// fallback, listing, removal, export and import with their messages.
#include "keyboard/KeymapStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeymapFixture.h"
#include "commands/FunctionTable.h"
#include "keyboard/DefaultKeymap.h"
#include "keyboard/KeymapText.h"

namespace vexa {
namespace {

constexpr FunctionId kFileSave = functionIdOf("FileSave");

class KeymapStoreTest : public ::testing::Test, protected test::KeymapFixture {
protected:
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const FrameEvent& event : m_frame.eventsOf(FrameEventKind::MessageBox)) {
            EXPECT_EQ(event.title, "Vexa Error");
            texts.push_back(event.text);
        }
        return texts;
    }
};

TEST_F(KeymapStoreTest, CreateByName) {
    Keymap saved;
    ASSERT_EQ(saved.bind(kNoPrefix, {0x53, 4, kFileSave}), BindResult::Bound);
    saveFile("My.BND", saved);

    const auto byDefault = m_store.create(kDefaultKeymapName);
    EXPECT_TRUE(byDefault->isValid());
    EXPECT_EQ(byDefault->tables()[0].size(), defaultKeyBindings().size());

    const auto mine = m_store.create("my.keys");
    EXPECT_TRUE(mine->isValid());
    EXPECT_EQ(mine->lookup({0x53, 4}), kFileSave);
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(m_frame.busyShownCount(), 1) << "a wait cursor while the file is read";
    EXPECT_EQ(m_frame.busyDepth(), 0);
}

TEST_F(KeymapStoreTest, FailedLoadsAreReportedWithTheKeymapName) {
    writeVersion("Newer.BND", "01.02");
    writeVersion("Older.BND", "01.00");
    test::writeFileBytes(configFile("Junk.BND"), std::string(200, 'x'));
    struct Case {
        std::string name;
        bool valid;
        std::string box;
    };
    const std::vector<Case> cases = {
        {"Missing", false, "Unexpected error opening the 'Missing' information file."},
        {"Junk", false, "The 'Junk' information file is of an unknown format or has been corrupted."},
        {"newer", false,
         "The 'newer' keymap file is of an unknown format or has been corrupted. Using default keymap "
         "instead."},
        {"Older", true, ""},
    };
    for (const Case& c : cases) {
        m_frame.clearEvents();
        EXPECT_EQ(m_store.create(c.name)->isValid(), c.valid) << c.name;
        const std::vector<std::string> boxes = boxTexts();
        EXPECT_EQ(boxes, c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box})
            << c.name;
    }
}

TEST_F(KeymapStoreTest, ConfiguredKeymapFallsBackToTheDefault) {
    writeVersion("Newer.BND", "01.02");
    m_options.editor().keymap = "Newer";
    const auto keymap = createConfiguredKeymap(m_store, m_options);
    EXPECT_TRUE(keymap->isValid());
    EXPECT_EQ(keymap->lookup({0x43, 2}), functionIdOf("MarkCopyEx"));
    EXPECT_EQ(m_options.keymapName(), "<Default Keymap>");
    EXPECT_EQ(m_frame.lastStatus(), "Error loading the keymap specified so using default keymap!");
    EXPECT_EQ(boxTexts().size(), 1u);
}

TEST_F(KeymapStoreTest, ConfiguredKeymapLoadsQuietly) {
    Keymap saved;
    saved.flags().allowShiftMarking = 0;
    saveFile("Brief.BND", saved);
    m_options.editor().keymap = "Brief";
    const auto keymap = createConfiguredKeymap(m_store, m_options);
    EXPECT_EQ(keymap->flags().allowShiftMarking, 0);
    EXPECT_EQ(m_options.keymapName(), "Brief");
    EXPECT_TRUE(m_frame.eventsOf(FrameEventKind::Status).empty());
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(KeymapStoreTest, SaveFailureIsReported) {
    EXPECT_FALSE(m_store.save(Keymap(), "a/b"));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Unexpected error creating the 'a/b' information file."});
    std::filesystem::remove_all(m_config);
    m_frame.clearEvents();
    EXPECT_FALSE(m_store.save(Keymap(), "Gone"));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Unexpected error creating the 'Gone' information file."});
}

TEST_F(KeymapStoreTest, ListsAndRemovesKeymapFiles) {
    saveFile("EMACS.BND", Keymap());
    saveFile("My.BND", Keymap());
    test::writeFileBytes(configFile("notes.txt"), "x");
    test::writeFileBytes(configFile("My.ZXP"), "x");
    EXPECT_EQ(m_store.listNames(), (std::vector<std::string>{"Emacs", "My"}));
    EXPECT_TRUE(m_store.remove("my"));
    EXPECT_FALSE(m_store.remove("my"));
    EXPECT_FALSE(m_store.remove(kDefaultKeymapName));
    EXPECT_EQ(m_store.listNames(), std::vector<std::string>{"Emacs"});
}

TEST_F(KeymapStoreTest, ExportsACopyOfTheDefaultKeymap) {
    saveFile("Copy.BND", Keymap::makeDefault());
    EXPECT_TRUE(m_store.exportKeymap("Copy"));
    EXPECT_EQ(m_frame.lastStatus(),
              "The 'vConfig\\Copy.zxp' keymap export file has been successfully created");
    const std::string text = test::readFileBytes(configFile("Copy.ZXP"));
    EXPECT_EQ(text, exportKeymapText(Keymap::makeDefault()));
    EXPECT_TRUE(text.starts_with("1 1 1\r\n1\r\n0000 000 00101\r\n0078 002 FileNew\r\n"));
}

TEST_F(KeymapStoreTest, ExportFailures) {
    // The default keymap's name cannot name a file.
    EXPECT_FALSE(m_store.exportKeymap(kDefaultKeymapName));
    EXPECT_EQ(m_frame.lastStatus(), "Unexpected error exporting keyboard map");
    EXPECT_TRUE(m_store.listNames().empty());
    // A keymap that does not load exports nothing and says only why it did not load.
    m_frame.clearEvents();
    EXPECT_FALSE(m_store.exportKeymap("Missing"));
    EXPECT_TRUE(m_frame.eventsOf(FrameEventKind::Status).empty());
    EXPECT_EQ(boxTexts().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(configFile("Missing.ZXP")));
}

TEST_F(KeymapStoreTest, ImportSavesTheTextAsAKeymapFile) {
    const std::string source = m_home.file("mine.key");
    test::writeFileBytes(source, "0\r\n1\r\n0000 000 00002\r\n0083 004 FileSave\r\n0084 004 Nothing\r\n");
    EXPECT_EQ(m_store.importKeymap(source, "imported"), ImportResult::Imported);
    EXPECT_EQ(m_store.listNames(), std::vector<std::string>{"Imported"});
    const auto keymap = m_store.create("Imported");
    EXPECT_EQ(keymap->flags(), (KeymapFlags{0, 1, 1}));
    EXPECT_EQ(keymap->lookup({0x53, 4}), kFileSave);
    ASSERT_EQ(keymap->tables()[0].size(), 2u);
    EXPECT_EQ(keymap->tables()[0].bindings()[1].function, kNoFunction);
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(KeymapStoreTest, ImportFailures) {
    EXPECT_EQ(m_store.importKeymap(m_home.file("absent.key"), "X"), ImportResult::Unreadable);
    EXPECT_EQ(m_store.importKeymap(m_home.path().string(), "X"), ImportResult::Unreadable) << "a directory";
    EXPECT_EQ(m_store.importKeymap("/dev/zero", "X"), ImportResult::Unreadable) << "a device";
    EXPECT_TRUE(m_frame.events().empty());
    EXPECT_TRUE(m_store.listNames().empty());
    const std::string source = m_home.file("mine.key");
    test::writeFileBytes(source, "1 1 1\n0\n");
    EXPECT_EQ(m_store.importKeymap(source, "bad/name"), ImportResult::SaveFailed);
    EXPECT_EQ(m_frame.lastStatus(), "Unexpected error importing keyboard map");
}

} // namespace
} // namespace vexa
