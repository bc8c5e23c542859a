// The one reading of the screen's DPI, and the scaling of the 96-DPI pixel tables by it.
#pragma once

#include <windows.h>

#include "win32/handles.h"

namespace vt {

// The system's DPI (the program is system DPI aware); 96 when the screen does not say.
inline int SystemDpi() {
    const ScopedGetDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

inline int Scaled(int px96, int dpi) {
    return MulDiv(px96, dpi, 96);
}

// The DPI a message of a scaling change carries (WM_DPICHANGED: the same in both words).
inline int DpiOfMessage(WPARAM wParam) {
    const int dpi = HIWORD(wParam);
    return dpi > 0 ? dpi : 96;
}

// The DPI of the monitor the window is on, where the system can say (Windows 10 1607 and
// later); the system's DPI otherwise.
int WindowDpi(HWND window);

// The notification area's icon size at a DPI: the system's answer where it can be asked per
// DPI (Windows 10 1607 and later), else the small icon's 16 px scaled.
int SmallIconSizeForDpi(int dpi);

// Windows 10 1703 and later scale a per-monitor dialog's template controls and font by
// themselves; the program's dialogs scale from their own tables instead.
void KeepDialogScalingOurs(HWND dialog);

}  // namespace vt
