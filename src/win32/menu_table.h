// The tray's popup menu in one place: item, command id, picture and the separators, in menu
// order. The program builds its menu from it and the test driver finds commands by name in it.
#pragma once

#include <windows.h>

#include <string_view>

#include "ports/main_view.h"
#include "resource_ids.h"

namespace vt {

struct MenuEntry {
    MenuItem item;
    const char* name;  // the handler's component name
    UINT command;
    int picture;  // index into the menu pictures
    bool separatorAfter;
};

inline constexpr MenuEntry kMenuTable[] = {
    {MenuItem::News, "News", IDM_NEWS, 0, false},
    {MenuItem::ICQ, "ICQ", IDM_ICQ, 11, false},
    {MenuItem::Map, "Map", IDM_MAP, 2, false},
    {MenuItem::Avia, "Avia", IDM_AVIA, 12, false},
    {MenuItem::Auto, "Auto", IDM_AUTO, 3, false},
    {MenuItem::Month, "Month", IDM_MONTH, 4, false},
    {MenuItem::Tourism, "Tourism", IDM_TOURISM, 5, true},
    {MenuItem::Frc, "Frc", IDM_FRC, 6, false},
    {MenuItem::Update, "Update", IDM_UPDATE, 7, true},
    {MenuItem::Install, "Install", IDM_INSTALL, 8, false},
    {MenuItem::AboutTray, "AboutTray", IDM_ABOUTTRAY, 9, true},
    {MenuItem::ExitTray, "ExitTray", IDM_EXITTRAY, 10, false},
};

template <typename Match>
const MenuEntry* FindMenuEntry(Match&& match) {
    for (const MenuEntry& e : kMenuTable) {
        if (match(e)) return &e;
    }
    return nullptr;
}

inline const MenuEntry* MenuEntryOf(MenuItem item) {
    return FindMenuEntry([&](const MenuEntry& e) { return e.item == item; });
}

inline const MenuEntry* MenuEntryByCommand(UINT command) {
    return FindMenuEntry([&](const MenuEntry& e) { return e.command == command; });
}

inline const MenuEntry* MenuEntryByName(std::string_view name) {
    return FindMenuEntry([&](const MenuEntry& e) { return name == e.name; });
}

}  // namespace vt
