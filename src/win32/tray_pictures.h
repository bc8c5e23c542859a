// The icons the tray shows: the weather pictures of both styles and the drawn temperature.
#pragma once

#include <windows.h>

#include <string>

#include "common/colour.h"
#include "ports/tray_shell.h"
#include "win32/handles.h"

namespace vt {

// The size the system asks for in the notification area (16 at 100 %, larger when scaled).
int TrayIconSize();

// Picture 0..11 of the light or dark set, at the given size.
UniqueIcon LoadTrayPicture(int picture, bool lightStyle, int size);

// The header of a top-down 32-bit bitmap of size x size pixels.
BITMAPINFO TopDownArgbInfo(int size);

// Resolves a system colour (0x80000000 | index) with GetSysColor.
COLORREF ResolveColour(Colour colour);

// The icon at size pixels (0: the system's size now).
UniqueIcon MakeTrayIcon(const TrayIconImage& image, int size = 0);

}  // namespace vt
