// The floor program's dialog templates and controls (floor_tray.rc, floor_tray.cpp).
#pragma once

#define IDD_FLOOR_SETTINGS 100
#define IDD_FLOOR_PAGE1 101
#define IDD_FLOOR_PAGE2 102
#define IDD_FLOOR_ABOUT 103
#define IDC_FLOOR_TAB 1000
#define IDC_FLOOR_PAGE1 1001
#define IDC_FLOOR_PAGE2 1002
#define IDC_FLOOR_TOWN 1003
