// The dialog models: Template Options with its Edit Template dialog, and the Spelling dialog's
// selection rules.
#include <gtest/gtest.h>

#include "aids/AidDialogs.h"
#include "aids/TemplateStore.h"
#include "frame/HeadlessFrame.h"
#include "support/TempHome.h"

namespace vexa::aids {
namespace {

class TemplateOptionsTest : public ::testing::Test {
protected:
    TemplateOptionsTest() : store(home.path().string(), frame) {
        TemplateSet c = TemplateSet::makeNew("C");
        c.description = "C Templates";
        c.setEntries({{"if", "if ()"}});
        EXPECT_TRUE(store.saveSet(c));
        store.loadAll();
    }
    static HeadlessFrame::DialogScript edit(std::function<void(EditTemplateDialog&)> change) {
        return [change](DialogModel& model) {
            change(dynamic_cast<EditTemplateDialog&>(model));
            return DialogResult::Accepted;
        };
    }
    test::TempHome home;
    HeadlessFrame frame;
    TemplateStore store;
};

TEST_F(TemplateOptionsTest, ListsNewEditAndCommit) {
    TemplateOptionsDialog dialog(store, frame);
    // Sets read from files come first, in file-name order; a default set made at start follows.
    EXPECT_EQ(dialog.lines(),
              (std::vector<std::string>{"C         \tC Templates", "<Default> \tDefault Templates"}));
    frame.scriptNextDialog(edit([](EditTemplateDialog& set) {
        set.description = std::string(50, 'd');
        set.ignoreCase = true;
        EXPECT_TRUE(set.put("procedure1x", "procedure \\c;"));
        EXPECT_FALSE(set.put("", "nothing"));
    }));
    const auto index = dialog.newSet("pas");
    ASSERT_TRUE(index);
    EXPECT_EQ(dialog.sets()[*index].name, "PAS");
    EXPECT_EQ(dialog.sets()[*index].description.size(), kMaxTemplateDescription);
    // Nothing is written before the dialog is accepted.
    EXPECT_EQ(store.findSet("PAS"), nullptr);
    ASSERT_TRUE(dialog.commit());
    TemplateSet* pas = store.findSet("PAS");
    ASSERT_NE(pas, nullptr);
    EXPECT_TRUE(pas->ignoreCase);
    ASSERT_EQ(pas->entries().size(), 1u);
    EXPECT_EQ(pas->entries()[0].abbreviation, "procedure1");
    TemplateStore reloaded(home.path().string(), frame);
    reloaded.loadAll();
    ASSERT_NE(reloaded.findSet("pas"), nullptr);
    EXPECT_EQ(*reloaded.findSet("pas"), *pas);
    EXPECT_EQ(frame.unusedReplies(), 0u);
}

TEST_F(TemplateOptionsTest, RefusedNamesAndExistingSets) {
    TemplateOptionsDialog dialog(store, frame);
    for (std::string_view name : {"<x>", "vdt", "", "a/b"}) {
        EXPECT_FALSE(dialog.newSet(name)) << name;
    }
    const auto boxes = frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "The template name '<X>' supplied is invalid!");
    EXPECT_EQ(boxes[1].text, "The template name 'VDT' supplied is invalid!");
    frame.answerNext(Answer::No);
    EXPECT_FALSE(dialog.newSet("c"));
    EXPECT_EQ(frame.eventsOf(FrameEventKind::Question).back().text,
              "This template already exists. Please delete the existing template first");
    EXPECT_EQ(dialog.sets().size(), 2u);
    EXPECT_EQ(frame.unusedReplies(), 0u);
}

TEST_F(TemplateOptionsTest, DeleteAsksAndNeverRemovesTheDefault) {
    TemplateOptionsDialog dialog(store, frame);
    ASSERT_EQ(dialog.sets()[1].name, "<Default>");
    EXPECT_FALSE(dialog.deleteSet(1));
    EXPECT_EQ(frame.eventsOf(FrameEventKind::MessageBox).back().text,
              "You cannot delete the default template!");
    frame.answerNext(Answer::No);
    EXPECT_FALSE(dialog.deleteSet(0));
    frame.answerNext(Answer::Yes);
    EXPECT_TRUE(dialog.deleteSet(0));
    EXPECT_EQ(frame.eventsOf(FrameEventKind::Question).back().text,
              "Are you sure you want to delete the 'C' template?");
    EXPECT_NE(store.findSet("C"), nullptr);
    ASSERT_TRUE(dialog.commit());
    EXPECT_EQ(store.findSet("C"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(home.path() / "VEXAC.TPL"));
}

TEST_F(TemplateOptionsTest, CancelledEditChangesNothing) {
    TemplateOptionsDialog dialog(store, frame);
    frame.scriptNextDialog([](DialogModel& model) {
        dynamic_cast<EditTemplateDialog&>(model).remove(0);
        return DialogResult::Cancelled;
    });
    EXPECT_FALSE(dialog.editSet(0));
    EXPECT_EQ(dialog.sets()[0].entries().size(), 1u);
}

TEST(SpellingDialogTest, SelectionAndReplacement) {
    SpellingDialog one("Spelling: English", "helo", {"hello"});
    EXPECT_EQ(one.selected(), 0u);
    EXPECT_TRUE(one.changeEnabled());
    EXPECT_EQ(one.replacement(), "hello");
    SpellingDialog many("Spelling: English", "helo", {"hallo", "hello"});
    EXPECT_FALSE(many.changeEnabled());
    EXPECT_EQ(many.replacement(), "");
    many.select(1);
    EXPECT_EQ(many.changeTo(), "hello");
    many.typeChangeTo("help");
    EXPECT_EQ(many.replacement(), "help");
    many.select(7);
    EXPECT_EQ(many.replacement(), "help");
}

} // namespace
} // namespace vexa::aids
