// The menus of the main window and the editing context menu as data, and the hints of their commands.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "commands/FunctionTable.h"

namespace vexa {

// One menu item. The command identifier of an item that runs an editor function is the function's
// identifier; identifier 0 marks a separator. The text is literal: "&" marks the access key and the
// part after a tab is the key text, rewritten for the functions that show their bound key.
struct MenuItem {
    std::string_view text;
    uint32_t commandId = 0;

    constexpr bool isSeparator() const { return commandId == 0; }
};

// One pull-down menu of the menu bar.
struct MenuDefinition {
    std::string_view title;
    std::span<const MenuItem> items;
};

// The hint shown on the status line while an item is highlighted, keyed by command identifier.
struct CommandHint {
    uint32_t commandId = 0;
    std::string_view text;
};

// The pull-down menus of the menu bar, left to right: File, Edit, View, Options, Macros, Tools,
// Compiler, Project, Spelling, Window, Help. The items added at run time (recent files, macros, tools,
// the window list) are not part of this data.
std::span<const MenuDefinition> mainMenuBar();

// The menu shown on the right mouse button in an edit window.
std::span<const MenuItem> editContextMenu();

// The buttons of the toolbar, left to right; a button with function 0 is a separator.
enum class ToolBarIcon : uint8_t { None, NewFile, OpenFile, SaveFile, Back, Forward };
struct ToolBarButton {
    FunctionId id;
    const char* text;
    ToolBarIcon icon;
};
std::span<const ToolBarButton> toolBarButtons();

// The hint of a command identifier, including the items added at run time; empty when it has none.
std::string_view commandHint(uint32_t commandId);

// The text of an item before its first tab (the whole text when it has none).
std::string_view menuItemLabel(std::string_view itemText);

// The item text after a keymap became active: the label followed by the key text (which starts with its
// own tab, or is empty when no key is bound), cut to the 59 characters an item holds.
std::string menuTextWithKey(std::string_view itemText, std::string_view keyText);

inline constexpr std::size_t kMaxMenuItemText = 59;

} // namespace vexa
