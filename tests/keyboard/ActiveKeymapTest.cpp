// Tests of the active keymap and the flag it publishes to documents.
#include "keyboard/ActiveKeymap.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(active.keymap().tables()[0].size(), 98u);
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

} // namespace
} // namespace vexa
