// Rewriting the key texts of menu items after a keymap became active.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "commands/MenuTable.h"
#include "keyboard/KeyNameTable.h"

namespace vexa {

class Keymap;
class PrefixKeyList;

// The current text of one menu item, as the menu bar holds it.
struct MenuItemText {
    uint32_t commandId = 0;
    std::string text;

    friend bool operator==(const MenuItemText&, const MenuItemText&) = default;
};

using MenuBarTexts = std::vector<std::vector<MenuItemText>>;

// The pull-down menus walked: the eleven of the menu bar.
inline constexpr std::size_t kMenusWithKeyTexts = 11;

// The texts of menu data as a menu bar starts with them.
MenuBarTexts menuBarTexts(std::span<const MenuDefinition> menus);

// Gives every item of the walked menus whose function shows its key the key text of the keymap:
// the label before the first tab, then the key text (or nothing when no key is bound), cut to
// the 59 characters an item holds. The walk starts at firstMenu, which is 1 when a maximised
// document window has put its own menu in front. The result is how many items changed.
std::size_t rewriteMenuKeyTexts(MenuBarTexts& menus, std::size_t firstMenu, const Keymap& keymap,
                                const PrefixKeyList& prefixes, LayoutCharacter layout = usLayoutCharacter);

} // namespace vexa
