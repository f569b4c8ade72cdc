// Tests of the active keymap and the flag it publishes to documents.
#include "keyboard/ActiveKeymap.h"

#include <gtest/gtest.h>

#include "core/Document.h"
#include "keyboard/DefaultKeymap.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

class ActiveKeymapTest : public ::testing::Test {
protected:
    test::TempHome m_home;
};

TEST_F(ActiveKeymapTest, StartsWithTheDefaultKeymapAllowingShiftMarking) {
    ActiveKeymap active;
    EXPECT_EQ(active.keymap().tables().size(), 1u);
    EXPECT_EQ(active.keymap().tables()[0].size(), defaultKeyBindings().size());
    EXPECT_TRUE(active.cuaRule()->cuaMarkingAllowed());
}

TEST_F(ActiveKeymapTest, DocumentsSeeTheFlagOfEachNewKeymap) {
    ActiveKeymap active;
    const std::shared_ptr<const CuaMarkingRule> rule = active.cuaRule();
    auto off = std::make_unique<Keymap>();
    off->flags().allowShiftMarking = 0;
    active.replace(std::move(off));
    EXPECT_FALSE(rule->cuaMarkingAllowed());
    EXPECT_TRUE(active.keymap().tables().empty());

    active.replace(nullptr);
    EXPECT_FALSE(rule->cuaMarkingAllowed()) << "a null keymap is ignored";

    active.keymap().flags().allowShiftMarking = 1;
    EXPECT_FALSE(rule->cuaMarkingAllowed());
    active.republish();
    EXPECT_TRUE(rule->cuaMarkingAllowed());
}

TEST_F(ActiveKeymapTest, DocumentsDropALineMarkOnACursorMoveOnlyWhileShiftMarkingIsAllowed) {
    ActiveKeymap active;
    for (const uint16_t allowed : {uint16_t{1}, uint16_t{0}}) {
        auto keymap = std::make_unique<Keymap>(Keymap::makeDefault());
        keymap->flags().allowShiftMarking = allowed;
        active.replace(std::move(keymap));

        Document document;
        document.setCuaMarkingRule(active.cuaRule());
        document.clearForLoad(0);
        for (const char* line : {"abcdef", "ghijkl"}) {
            document.appendLoadedLine(line);
        }
        document.beginMark(MarkType::Line);
        document.markStart();
        document.goToPosition(1, 3);
        document.markEnd();
        ASSERT_TRUE(document.hasMark());
        document.setCursorOffset(1);
        EXPECT_EQ(document.hasMark(), allowed == 0) << "allowShiftMarking " << allowed;
    }
}

} // namespace
} // namespace vexa
