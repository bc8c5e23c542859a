// Resource identifiers shared by the .rc file and the program.
#pragma once

#define IDI_EMBLEM 1
#define IDI_TRAY_DARK_FIRST 100
#define IDI_TRAY_LIGHT_FIRST 200
#define IDI_MENU_FIRST 300
#define VT_TRAY_PICTURE_COUNT 12
#define VT_MENU_PICTURE_COUNT 13
