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

}  // namespace vt
