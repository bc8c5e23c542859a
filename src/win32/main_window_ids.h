// What other processes know the program's hidden main window and tray icon by: a later start
// of the program that wakes the first, and the test driver that plays the shell.
#pragma once

#include <windows.h>

#include "ports/tray_shell.h"

namespace vt {

inline constexpr wchar_t kMainWindowClass[] = L"VantorelTrayMain";
inline constexpr wchar_t kWakeMessageName[] = L"Vantorel.Tray.Wake";
// The shell's callback message of the icon; its lParam is the mouse message.
inline constexpr UINT kTrayCallbackMessage = kWmTrayIcon;
inline constexpr UINT kTrayIconId = 1;
// Asked of the main window, the size of the tray icon it last handed to the shell: what the test
// driver, playing the shell, would otherwise read from the icon.
inline constexpr wchar_t kIconSizeQueryName[] = L"Vantorel.Tray.IconSize";

}  // namespace vt
