// Menu key texts from the active keymap.
#include "keyboard/MenuKeyTexts.h"

#include "commands/FunctionTable.h"
#include "keyboard/Keymap.h"
#include "keyboard/PrefixKeyList.h"

namespace vexa {

MenuBarTexts menuBarTexts(std::span<const MenuDefinition> menus) {
    MenuBarTexts texts;
    texts.reserve(menus.size());
    for (const MenuDefinition& menu : menus) {
        std::vector<MenuItemText>& items = texts.emplace_back();
        items.reserve(menu.items.size());
        for (const MenuItem& item : menu.items) {
            items.push_back(MenuItemText{item.commandId, std::string(item.text)});
        }
    }
    return texts;
}

std::size_t rewriteMenuKeyTexts(MenuBarTexts& menus, std::size_t firstMenu, const Keymap& keymap,
                                const PrefixKeyList& prefixes, LayoutCharacter layout) {
    const FunctionTable& functions = FunctionTable::standard();
    std::size_t changed = 0;
    for (std::size_t menu = firstMenu; menu < menus.size() && menu < firstMenu + kMenusWithKeyTexts; ++menu) {
        for (MenuItemText& item : menus[menu]) {
            if (item.commandId > UINT16_MAX || !functions.is(item.commandId, FunctionClass::ShowsKey)) {
                continue;
            }
            const std::string keyText =
                keymap.keyTextFor(static_cast<FunctionId>(item.commandId), prefixes, layout);
            std::string rewritten = menuTextWithKey(item.text, keyText);
            if (rewritten != item.text) {
                item.text = std::move(rewritten);
                ++changed;
            }
        }
    }
    return changed;
}

} // namespace vexa
