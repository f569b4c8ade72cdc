// Tests of the keymap manager model: the list, enabling rules, New, Edit, Delete, Import, Export
// and confirming, with their messages and the activation of the chosen keymap.
#include "keyboard/KeymapManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KeymapFixture.h"
#include "commands/FunctionTable.h"
#include "keyboard/BindingEditor.h"
#include "keyboard/DefaultKeymap.h"
#include "keyboard/KeymapText.h"
#include "keyboard/PrefixKeyList.h"

namespace vexa {
namespace {

constexpr FunctionId kFileSave = functionIdOf("FileSave");

// Runs the binding editor through a script given by the test and keeps the activated keymaps.
class FakeHost final : public KeymapManagerHost {
public:
    void runBindingEditor(BindingEditor& editor) override {
        titles.emplace_back(editor.title());
        if (edit) {
            edit(editor);
        }
    }
    void activateKeymap(std::unique_ptr<Keymap> keymap) override { activated.push_back(std::move(keymap)); }

    std::function<void(BindingEditor&)> edit;
    std::vector<std::string> titles;
    std::vector<std::unique_ptr<Keymap>> activated;
};

class KeymapManagerTest : public ::testing::Test, protected test::KeymapFixture {
protected:
    KeymapManager makeManager() { return KeymapManager(m_options, m_frame, m_store, m_prefixes, m_host); }

    static std::optional<std::size_t> indexOf(const KeymapManager& manager, std::string_view name) {
        const auto& names = manager.keymapNames();
        for (std::size_t index = 0; index < names.size(); ++index) {
            if (names[index] == name) {
                return index;
            }
        }
        return std::nullopt;
    }

    // Binds Alt+S to FileSave in the editor, as a user would.
    static void bindAltS(BindingEditor& editor) {
        ASSERT_TRUE(editor.captureKey({0x53, 4}));
        const auto& names = editor.functionNames();
        editor.selectFunction(
            static_cast<std::size_t>(std::find(names.begin(), names.end(), "FileSave") - names.begin()));
        editor.update();
    }

    PrefixKeyList m_prefixes;
    FakeHost m_host;
};

TEST_F(KeymapManagerTest, ListShowsTheDefaultFirstThenTheKeymapFiles) {
    saveFile("Zed.BND", Keymap());
    saveFile("ALPHA.BND", Keymap());
    m_options.editor().keymap = "Zed";
    KeymapManager manager = makeManager();
    EXPECT_EQ(manager.keymapNames(), (std::vector<std::string>{"<Default Keymap>", "Alpha", "Zed"}));
    EXPECT_EQ(manager.currentKeymap(), "Zed");
    EXPECT_EQ(manager.selection(), 2u);
}

TEST_F(KeymapManagerTest, NewAndImportNeedAName) {
    KeymapManager manager = makeManager();
    EXPECT_FALSE(manager.newEnabled());
    EXPECT_FALSE(manager.importEnabled());
    manager.newKeymap();
    manager.importKeymap();
    EXPECT_TRUE(m_frame.events().empty());
    manager.setNewName("x");
    EXPECT_TRUE(manager.newEnabled());
    EXPECT_TRUE(manager.importEnabled());
}

TEST_F(KeymapManagerTest, NewRefusesNamesThatAreNoFileBaseName) {
    KeymapManager manager = makeManager();
    for (const std::string name : {"my keys", "a/b", "<Default Keymap>", ".x"}) {
        m_frame.clearEvents();
        manager.setNewName(name);
        manager.newKeymap();
        EXPECT_EQ(m_frame.lastStatus(), "The name entered must be the base portion of a valid file name.")
            << name;
        EXPECT_TRUE(m_frame.eventsOf(FrameEventKind::Question).empty()) << name;
    }
    EXPECT_TRUE(m_host.titles.empty());
}

TEST_F(KeymapManagerTest, NewFromTheDefaultsIsSavedEvenWithoutEdits) {
    KeymapManager manager = makeManager();
    manager.setNewName("mine.keys");
    m_frame.answerNext(Answer::Yes);
    manager.newKeymap();
    const auto questions = m_frame.eventsOf(FrameEventKind::Question);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text,
              "Vexa has a default keymap that has many of the basic key strokes \nalready "
              "defined. Do you wish to use these defaults as a template \nfor the new keymap?");
    EXPECT_EQ(m_host.titles, std::vector<std::string>{"New Keymap"});
    Keymap loaded;
    ASSERT_EQ(loadKeymapFile(configFile("Mine.BND"), loaded), KeymapFileStatus::Ok);
    EXPECT_EQ(loaded.tables()[0].size(), defaultKeyBindings().size());
    ASSERT_TRUE(manager.selection());
    EXPECT_EQ(manager.keymapNames()[*manager.selection()], "Mine");
}

TEST_F(KeymapManagerTest, NewAsksBeforeReplacingAnExistingKeymapFile) {
    Keymap mine;
    ASSERT_EQ(mine.bind(kNoPrefix, {0x53, 4, kFileSave}), BindResult::Bound);
    saveFile("Mine.BND", mine);
    KeymapManager manager = makeManager();
    manager.setNewName("mine");
    m_frame.answerNext(Answer::No);
    manager.newKeymap();
    auto questions = m_frame.eventsOf(FrameEventKind::Question);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "The keymap 'Mine' already exists. Do you want to replace\nthe old keymap?");
    EXPECT_TRUE(m_host.titles.empty());
    Keymap kept;
    ASSERT_EQ(loadKeymapFile(configFile("Mine.BND"), kept), KeymapFileStatus::Ok);
    EXPECT_EQ(kept.lookup({0x53, 4}), kFileSave);

    m_frame.answerNext(Answer::Yes); // replace
    m_frame.answerNext(Answer::Yes); // start from the defaults
    manager.newKeymap();
    EXPECT_EQ(m_frame.eventsOf(FrameEventKind::Question).size(), 3u);
    EXPECT_EQ(m_host.titles, std::vector<std::string>{"New Keymap"});
    Keymap replaced;
    ASSERT_EQ(loadKeymapFile(configFile("Mine.BND"), replaced), KeymapFileStatus::Ok);
    EXPECT_EQ(replaced.tables()[0].size(), defaultKeyBindings().size());
    EXPECT_TRUE(m_frame.unexpected().empty());
}

TEST_F(KeymapManagerTest, AHandPlacedDottedFileIsListedEditedAndDeletedByItsRealName) {
    Keymap dotted;
    ASSERT_EQ(dotted.bind(kNoPrefix, {0x53, 4, kFileSave}), BindResult::Bound);
    saveFile("a.b.BND", dotted);
    saveFile("A.BND", Keymap());
    KeymapManager manager = makeManager();
    ASSERT_TRUE(indexOf(manager, "A.b"));
    ASSERT_TRUE(indexOf(manager, "A"));

    manager.select(indexOf(manager, "A.b"));
    Keymap seen;
    m_host.edit = [&seen](BindingEditor& editor) { seen = editor.keymap(); };
    manager.editKeymap();
    EXPECT_EQ(seen.lookup({0x53, 4}), kFileSave);

    manager.select(indexOf(manager, "A.b"));
    manager.deleteKeymap();
    EXPECT_FALSE(std::filesystem::exists(configFile("a.b.BND")));
    EXPECT_TRUE(std::filesystem::exists(configFile("A.BND")));
    EXPECT_FALSE(indexOf(manager, "A.b"));
    EXPECT_TRUE(indexOf(manager, "A"));
}

TEST_F(KeymapManagerTest, NewEmptyKeymapIsSavedOnlyWhenEdited) {
    KeymapManager manager = makeManager();
    manager.setNewName("Plain");
    m_frame.answerNext(Answer::No);
    manager.newKeymap();
    EXPECT_FALSE(std::filesystem::exists(configFile("Plain.BND")));
    EXPECT_FALSE(indexOf(manager, "Plain"));

    m_frame.answerNext(Answer::No);
    m_host.edit = bindAltS;
    manager.newKeymap();
    Keymap loaded;
    ASSERT_EQ(loadKeymapFile(configFile("Plain.BND"), loaded), KeymapFileStatus::Ok);
    EXPECT_EQ(loaded.lookup({0x53, 4}), kFileSave);
    EXPECT_EQ(loaded.tables()[0].size(), 1u);
    EXPECT_TRUE(indexOf(manager, "Plain"));
}

TEST_F(KeymapManagerTest, EditRules) {
    saveFile("Mine.BND", Keymap());
    test::writeFileBytes(configFile("Broken.BND"), "junk");
    KeymapManager manager = makeManager();

    manager.select(0);
    manager.editKeymap();
    EXPECT_EQ(m_frame.lastStatus(), "Cannot edit the default key mapping!");

    manager.select(indexOf(manager, "Broken"));
    manager.editKeymap();
    EXPECT_EQ(m_frame.lastStatus(), "Access to file denied.");
    EXPECT_TRUE(m_host.titles.empty());

    m_host.edit = bindAltS;
    manager.select(indexOf(manager, "Mine"));
    manager.editKeymap();
    EXPECT_EQ(m_host.titles, std::vector<std::string>{"Edit Keymap"});
    Keymap loaded;
    ASSERT_EQ(loadKeymapFile(configFile("Mine.BND"), loaded), KeymapFileStatus::Ok);
    EXPECT_EQ(loaded.lookup({0x53, 4}), kFileSave);
    EXPECT_TRUE(m_host.activated.empty()) << "edits take effect when the keymap is activated again";
}

TEST_F(KeymapManagerTest, DeleteRules) {
    saveFile("Mine.BND", Keymap());
    saveFile("Other.BND", Keymap());
    m_options.editor().keymap = "mine";
    KeymapManager manager = makeManager();

    manager.select(0);
    manager.deleteKeymap();
    EXPECT_EQ(m_frame.lastStatus(), "Cannot delete the default key mapping!");

    manager.select(indexOf(manager, "Other"));
    manager.deleteKeymap();
    EXPECT_FALSE(std::filesystem::exists(configFile("Other.BND")));
    EXPECT_EQ(manager.keymapNames(), (std::vector<std::string>{"<Default Keymap>", "Mine"}));
    EXPECT_TRUE(m_host.activated.empty());
    EXPECT_EQ(m_options.keymapName(), "mine");

    manager.select(indexOf(manager, "Mine"));
    manager.deleteKeymap();
    EXPECT_EQ(manager.keymapNames(), std::vector<std::string>{"<Default Keymap>"});
    EXPECT_EQ(m_options.keymapName(), "<Default Keymap>");
    EXPECT_EQ(m_options.settingsFile().getString("Editor Options", "Keymap", "", 51), "<Default Keymap>");
    ASSERT_EQ(m_host.activated.size(), 1u);
    EXPECT_EQ(m_host.activated[0]->tables()[0].size(), defaultKeyBindings().size());
}

TEST_F(KeymapManagerTest, DeleteFailureSaysAccessDenied) {
    saveFile("Mine.BND", Keymap());
    KeymapManager manager = makeManager();
    std::filesystem::remove(configFile("Mine.BND"));
    manager.select(indexOf(manager, "Mine"));
    manager.deleteKeymap();
    EXPECT_EQ(m_frame.lastStatus(), "Access to file denied.");
}

TEST_F(KeymapManagerTest, ImportAddsTheKeymapAndEmptiesTheName) {
    const std::string source = m_home.file("brief.key");
    test::writeFileBytes(source, "1 1 1\r\n1\r\n0000 000 00001\r\n0083 004 FileSave\r\n");
    KeymapManager manager = makeManager();
    manager.setNewName("brief");
    m_frame.chooseNextOpen({source});
    manager.importKeymap();
    const auto statuses = m_frame.eventsOf(FrameEventKind::Status);
    ASSERT_EQ(statuses.size(), 2u);
    EXPECT_EQ(statuses[0].text, "Select the name of the keymap file to be imported.");
    EXPECT_EQ(statuses[1].text, "The importing of the keyboard mapping file is complete");
    const auto dialogs = m_frame.eventsOf(FrameEventKind::OpenDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "Keymap Import File");
    EXPECT_TRUE(manager.newName().empty());
    EXPECT_TRUE(indexOf(manager, "Brief"));
    EXPECT_EQ(m_store.create("Brief")->lookup({0x53, 4}), kFileSave);
}

TEST_F(KeymapManagerTest, CancelledOrUnreadableImportEndsSilently) {
    KeymapManager manager = makeManager();
    manager.setNewName("brief");
    m_frame.cancelNextDialog();
    manager.importKeymap();
    m_frame.chooseNextOpen({m_home.file("absent.key")});
    manager.importKeymap();
    EXPECT_EQ(m_frame.eventsOf(FrameEventKind::Status).size(), 2u) << "only the two prompts";
    EXPECT_EQ(manager.newName(), "brief");
    EXPECT_FALSE(indexOf(manager, "Brief"));
    EXPECT_EQ(m_frame.unusedReplies(), 0u);
}

TEST_F(KeymapManagerTest, ExportActsOnTheSelectedKeymap) {
    saveFile("Copy.BND", Keymap::makeDefault());
    KeymapManager manager = makeManager();
    manager.select(indexOf(manager, "Copy"));
    manager.exportKeymap();
    EXPECT_EQ(test::readFileBytes(configFile("Copy.ZXP")), exportKeymapText(Keymap::makeDefault()));
    manager.select(0);
    manager.exportKeymap();
    EXPECT_EQ(m_frame.lastStatus(), "Unexpected error exporting keyboard map");
}

TEST_F(KeymapManagerTest, ConfirmActivatesTheSelectedKeymap) {
    Keymap mine;
    ASSERT_EQ(mine.bind(kNoPrefix, {0x53, 4, kFileSave}), BindResult::Bound);
    saveFile("Mine.BND", mine);
    KeymapManager manager = makeManager();
    manager.select(indexOf(manager, "Mine"));
    manager.confirm();
    EXPECT_EQ(m_options.keymapName(), "Mine");
    EXPECT_EQ(m_options.settingsFile().getString("Editor Options", "Keymap", "", 51), "Mine");
    ASSERT_EQ(m_host.activated.size(), 1u);
    EXPECT_EQ(m_host.activated[0]->lookup({0x53, 4}), kFileSave);
}

TEST_F(KeymapManagerTest, CancelActivatesTheCurrentKeymapWithItsSavedEdits) {
    saveFile("Mine.BND", Keymap());
    m_options.editor().keymap = "Mine";
    KeymapManager manager = makeManager();
    manager.select(indexOf(manager, "Mine"));
    m_host.edit = bindAltS;
    manager.editKeymap();
    manager.close();
    EXPECT_EQ(m_options.keymapName(), "Mine");
    ASSERT_EQ(m_host.activated.size(), 1u);
    EXPECT_EQ(m_host.activated[0]->lookup({0x53, 4}), kFileSave);
}

TEST_F(KeymapManagerTest, ConfirmingAKeymapThatNoLongerLoadsActivatesTheDefault) {
    saveFile("Mine.BND", Keymap());
    KeymapManager manager = makeManager();
    std::filesystem::remove(configFile("Mine.BND"));
    manager.select(indexOf(manager, "Mine"));
    manager.confirm();
    EXPECT_EQ(m_options.keymapName(), "<Default Keymap>");
    EXPECT_EQ(m_frame.lastStatus(), "Error loading the keymap specified so using default keymap!");
    ASSERT_EQ(m_host.activated.size(), 1u);
    EXPECT_EQ(m_host.activated[0]->tables()[0].size(), defaultKeyBindings().size());
}

} // namespace
} // namespace vexa
