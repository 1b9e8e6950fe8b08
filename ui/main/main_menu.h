#pragma once
// The main window's menu bar, as data.

#include <windows.h>

#include <span>

namespace lumarel {

// Menu commands, named as the menu items are known.
enum class MenuItem : int {
    exit = 1000,
    locations,
    game_genie,
    save,
    KeyBoard,
    mnuReadme,
    About,
};

struct MenuDesign {
    const wchar_t* name;
    const wchar_t* caption;
    MenuItem command;                   // ignored for a submenu
    std::span<const MenuDesign> items;  // empty: the entry is a command itself
};

std::span<const MenuDesign> MainMenuBar();

// Builds the menu bar from its description; nullptr when the system refuses.
HMENU CreateMenuBar(std::span<const MenuDesign> bar);

}  // namespace lumarel
