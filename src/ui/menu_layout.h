#pragma once
// Where each command of the command table stands in the menu bar, and the standard keys it takes.
#include <span>
#include <string_view>

namespace qx {

// The menus of the menu bar, in order.
enum class MenuId { File, Edit, View, Tools, Debug, Window, Help };

struct MenuPlacement {
    MenuId menu;
    std::string_view submenu;  // empty: directly in the menu
    std::string_view command;  // a short command name; "-" is a separator
};

struct CommandShortcut {
    std::string_view command;
    std::string_view keys;  // QKeySequence text
};

// What a command does, shown in the status bar while its menu entry is highlighted.
struct CommandTip {
    std::string_view command;
    std::string_view tip;
};

std::span<const MenuPlacement> menuPlacements();
std::span<const CommandTip> commandTips();
std::span<const CommandShortcut> commandShortcuts();
std::string_view menuTitle(MenuId menu);

}  // namespace qx
