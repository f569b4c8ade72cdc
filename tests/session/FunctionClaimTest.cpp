// Every function a user can reach from a menu, the context menu, the toolbar or a default key is
// handled by exactly one family of the editor as it is put together, or is on the not-yet-built list.
#include <set>

#include "EditorFixture.h"
#include "commands/MenuTable.h"
#include "commands/NotYetBuilt.h"
#include "keyboard/ActiveKeymap.h"

namespace vexa {
namespace {

std::set<FunctionId> reachableFunctions() {
    std::set<FunctionId> ids;
    for (const MenuDefinition& menu : mainMenuBar()) {
        for (const MenuItem& item : menu.items) {
            if (!item.isSeparator()) {
                ids.insert(static_cast<FunctionId>(item.commandId));
            }
        }
    }
    for (const MenuItem& item : editContextMenu()) {
        if (!item.isSeparator()) {
            ids.insert(static_cast<FunctionId>(item.commandId));
        }
    }
    for (const ToolBarButton& button : toolBarButtons()) {
        if (button.id != 0) {
            ids.insert(button.id);
        }
    }
    ActiveKeymap keymaps;
    for (const KeyTable& table : keymaps.keymap().tables()) {
        for (const KeyBinding& binding : table.bindings()) {
            ids.insert(binding.function);
        }
    }
    return ids;
}

class FunctionClaimTest : public test::EditorTest {};

TEST_F(FunctionClaimTest, EveryReachableFunctionHasExactlyOneFamilyOrIsNotBuiltYet) {
    const std::set<FunctionId> ids = reachableFunctions();
    ASSERT_GT(ids.size(), 100u);
    for (FunctionId id : ids) {
        const std::string name(FunctionTable::standard().nameOf(id));
        const int claims = processor().claimCount(id);
        if (isNotYetBuilt(id)) {
            EXPECT_EQ(claims, 0) << name << " is built: take it off the not-yet-built list";
        } else {
            EXPECT_EQ(claims, 1) << name;
        }
    }
}

TEST_F(FunctionClaimTest, NothingOnTheNotYetBuiltListIsClaimed) {
    for (FunctionId id : notYetBuiltFunctions()) {
        EXPECT_EQ(processor().claimCount(id), 0) << FunctionTable::standard().nameOf(id);
    }
}

} // namespace
} // namespace vexa
