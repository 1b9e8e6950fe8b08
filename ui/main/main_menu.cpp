#include "ui/main/main_menu.h"

#include "platform/owned.h"

namespace lumarel {

namespace {

const MenuDesign kOptionsMenu[] = {
    {L"locations", L"File &Locations", MenuItem::locations},
    {L"game_genie", L"&Game Genie Codes", MenuItem::game_genie},
    {L"save", L"Sa&ve Settings", MenuItem::save},
};

const MenuDesign kHelpMenu[] = {
    {L"KeyBoard", L"Snes9x &Keyboard Reference", MenuItem::KeyBoard},
    {L"mnuReadme", L"&Complete Snes9x Readme", MenuItem::mnuReadme},
    {L"About", L"&About...", MenuItem::About},
};

// "E&xit" is a command on the bar itself, not a submenu.
const MenuDesign kMenuBar[] = {
    {L"exit", L"E&xit", MenuItem::exit},
    {L"File", L"&Options", MenuItem{}, kOptionsMenu},
    {L"help_menu", L"&Help", MenuItem{}, kHelpMenu},
};

bool AppendItems(HMENU menu, std::span<const MenuDesign> items) {
    for (const MenuDesign& item : items) {
        if (item.items.empty()) {
            if (!AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.command), item.caption)) {
                return false;
            }
            continue;
        }
        OwnedMenu submenu(CreatePopupMenu());
        if (!submenu || !AppendItems(submenu.Get(), item.items) ||
            !AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Get()),
                         item.caption)) {
            return false;
        }
        submenu.Release();  // the menu it was appended to owns it now
    }
    return true;
}

}  // namespace

std::span<const MenuDesign> MainMenuBar() {
    return kMenuBar;
}

HMENU CreateMenuBar(std::span<const MenuDesign> bar) {
    OwnedMenu menu(CreateMenu());
    if (!menu || !AppendItems(menu.Get(), bar)) {
        return nullptr;
    }
    return menu.Release();
}

}  // namespace lumarel
