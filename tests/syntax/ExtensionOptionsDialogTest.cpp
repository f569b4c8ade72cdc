// The "Extension Options" model: listing the profile files, New, Clone, Edit and Delete.
#include "syntax/ExtensionOptionsDialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frame/HeadlessFrame.h"
#include "support/TempHome.h"
#include "syntax/SyntaxSettings.h"

namespace vexa::syntax {
namespace {

class ExtensionOptionsTest : public ::testing::Test {
protected:
    ExtensionOptionsTest() {
        writeProfile("C", "C sources");
        writeProfile("PAS", "Pascal");
        test::writeFileBytes(m_home.file("notes.txt"), "not a profile");
    }

    void writeProfile(const std::string& extension, const std::string& description) {
        ExtensionProfile profile;
        profile.setExtension(extension);
        profile.setDescription(description);
        ASSERT_EQ(profile.save(path(extension)), ProfileFileStatus::Ok);
    }

    std::string path(const std::string& extension) const {
        return profileFilePath(m_home.path().string(), extension);
    }

    // Opens the dialog; the edit dialogs it shows get this treatment and are confirmed.
    ExtensionOptionsDialog open(std::function<void(EditExtensionDialog&)> edit = {}) {
        return ExtensionOptionsDialog(m_settings, m_frame, [this, edit](EditExtensionDialog& dialog) {
            m_shownTitles.emplace_back(dialog.title());
            if (edit) {
                edit(dialog);
            }
            return m_confirmEditor && dialog.confirm();
        });
    }

    std::vector<std::string> listed(const ExtensionOptionsDialog& dialog) const {
        std::vector<std::string> result;
        for (const auto extension : dialog.entries()) {
            result.emplace_back(extension);
        }
        return result;
    }

    test::TempHome m_home;
    HeadlessFrame m_frame;
    SyntaxSettings m_settings{m_home.path().string(), m_frame};
    std::vector<std::string> m_shownTitles;
    bool m_confirmEditor = true;
};

TEST_F(ExtensionOptionsTest, ListsProfileFilesAndShowsDescriptions) {
    auto dialog = open();
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"C", "PAS"}));
    EXPECT_EQ(dialog.description(), "");
    dialog.select(1);
    EXPECT_EQ(dialog.description(), "Pascal");
    EXPECT_FALSE(dialog.isChanged());
}

TEST_F(ExtensionOptionsTest, NewCreatesUpperCaseProfileWithBuiltInKeywords) {
    auto dialog =
        open([](EditExtensionDialog& editor) { editor.setText(ExtensionField::Description, "Python"); });
    dialog.select(1); // Pascal's description is shown until the new entry takes its place
    dialog.setExtensionField("pyth");
    EXPECT_EQ(dialog.extensionField(), "pyt");
    dialog.setExtensionField("py");
    dialog.newProfile();
    EXPECT_EQ(m_shownTitles, (std::vector<std::string>{"New Extension"}));
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"C", "PAS", "PY"}));
    EXPECT_EQ(dialog.selected(), 2u);
    EXPECT_EQ(dialog.description(), "Python");
    EXPECT_EQ(dialog.extensionField(), "");
    EXPECT_TRUE(dialog.isChanged());
    ExtensionProfile saved;
    ASSERT_EQ(saved.load(path("PY")), ProfileFileStatus::Ok);
    EXPECT_EQ(saved.extension(), "PY");
    EXPECT_EQ(saved.description(), "Python");
    EXPECT_EQ(saved.keywords().size(), 55u);
    EXPECT_EQ(m_settings.lookup("py")->description(), "Python");
}

TEST_F(ExtensionOptionsTest, NewOverExistingAsksFirst) {
    auto dialog =
        open([](EditExtensionDialog& editor) { editor.setText(ExtensionField::Description, "again"); });
    dialog.setExtensionField("pas");
    m_frame.answerNext(Answer::No);
    dialog.newProfile();
    EXPECT_TRUE(m_shownTitles.empty());
    const auto questions = m_frame.eventsOf(FrameEventKind::Question);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text,
              "The extension 'PAS' already exists. Do you want to replace\nthe old extension?");
    EXPECT_FALSE(dialog.isChanged());

    m_frame.answerNext(Answer::Yes);
    dialog.newProfile();
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"C", "PAS"}));
    dialog.select(1);
    EXPECT_EQ(dialog.description(), "again");
    EXPECT_TRUE(m_frame.unexpected().empty());
}

TEST_F(ExtensionOptionsTest, NewNeedsAnExtensionAndAConfirmedEditor) {
    auto dialog = open();
    dialog.newProfile();
    EXPECT_TRUE(dialog.extensionFieldFocused());
    EXPECT_TRUE(m_shownTitles.empty());
    m_confirmEditor = false;
    dialog.setExtensionField("sh");
    dialog.newProfile();
    EXPECT_EQ(m_shownTitles.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(path("SH")));
    EXPECT_EQ(listed(dialog).size(), 2u);
    EXPECT_FALSE(dialog.isChanged());
}

TEST_F(ExtensionOptionsTest, UnwritableDirectoryLeavesTheListAlone) {
    SyntaxSettings elsewhere(m_home.file("missing"), m_frame);
    ExtensionOptionsDialog dialog(elsewhere, m_frame,
                                  [](EditExtensionDialog& editor) { return editor.confirm(); });
    dialog.setExtensionField("x");
    dialog.newProfile();
    EXPECT_TRUE(dialog.entries().empty());
    EXPECT_EQ(m_frame.lastStatus(), "Unable to update the '" + m_home.file("missing/VEXAX.PRF") +
                                        "' file. This file is probably read only!");
    EXPECT_FALSE(dialog.isChanged());
}

TEST_F(ExtensionOptionsTest, CloneCopiesTheSelectedFileUnderTheNewName) {
    auto dialog = open();
    dialog.setExtensionField("h");
    dialog.cloneProfile();
    EXPECT_TRUE(dialog.extensionFieldFocused()); // nothing selected
    EXPECT_FALSE(std::filesystem::exists(path("H")));

    dialog.select(0);
    dialog.cloneProfile();
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"C", "PAS", "H"}));
    EXPECT_EQ(dialog.selected(), 2u);
    EXPECT_TRUE(dialog.isChanged());
    ExtensionProfile clone;
    ASSERT_EQ(clone.load(path("H")), ProfileFileStatus::Ok);
    EXPECT_EQ(clone.extension(), "H");
    EXPECT_EQ(clone.description(), "C sources");

    std::filesystem::remove(path("PAS"));
    dialog.select(1);
    dialog.setExtensionField("pp");
    dialog.cloneProfile();
    EXPECT_EQ(m_frame.lastStatus(),
              "Unable to update the '" + path("PAS") + "' file. This file is probably read only!");
    EXPECT_EQ(listed(dialog).size(), 3u);
}

TEST_F(ExtensionOptionsTest, EditSavesAndMakesTheCacheForget) {
    const auto before = m_settings.lookup("pas");
    auto dialog = open([](EditExtensionDialog& editor) {
        EXPECT_EQ(editor.extension(), "PAS");
        editor.setText(ExtensionField::Description, "Turbo");
    });
    dialog.select(1);
    dialog.editProfile();
    EXPECT_EQ(m_shownTitles, (std::vector<std::string>{"Edit Extension"}));
    EXPECT_EQ(dialog.description(), "Turbo");
    EXPECT_TRUE(dialog.isChanged());
    EXPECT_EQ(before->description(), "Pascal");
    const auto after = m_settings.lookup("pas");
    EXPECT_NE(after, before);
    EXPECT_EQ(after->description(), "Turbo");
}

TEST_F(ExtensionOptionsTest, DeleteAsksRemovesAndSelectsNeighbour) {
    writeProfile("SH", "shell");
    auto dialog = open();
    ASSERT_EQ(listed(dialog), (std::vector<std::string>{"C", "PAS", "SH"}));
    (void)m_settings.lookup("pas");
    dialog.select(1);
    m_frame.answerNext(Answer::No);
    dialog.deleteProfile();
    EXPECT_TRUE(std::filesystem::exists(path("PAS")));
    EXPECT_EQ(m_frame.eventsOf(FrameEventKind::Question).back().text,
              "Are you sure you want to delete the 'PAS' extension profile?");

    m_frame.answerNext(Answer::Yes);
    dialog.deleteProfile();
    EXPECT_FALSE(std::filesystem::exists(path("PAS")));
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"C", "SH"}));
    EXPECT_EQ(dialog.selected(), 1u);
    EXPECT_EQ(dialog.description(), "");
    EXPECT_EQ(m_settings.cachedCount(), 0u);
    EXPECT_EQ(m_settings.lookup("pas"), m_settings.defaultProfile());

    m_frame.answerNext(Answer::Yes);
    dialog.deleteProfile(); // the last entry: the new last is selected
    EXPECT_EQ(dialog.selected(), 0u);
    std::filesystem::remove(path("C"));
    m_frame.answerNext(Answer::Yes);
    dialog.deleteProfile();
    EXPECT_EQ(m_frame.lastStatus(),
              "Unable to update the '" + path("C") + "' file. This file is probably read only!");
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"C"}));
    EXPECT_TRUE(m_frame.unexpected().empty());
}

} // namespace
} // namespace vexa::syntax
