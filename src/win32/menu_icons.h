// The popup menu's pictures as opaque 32-bit bitmaps on the menu colour.
#pragma once

#include <windows.h>

#include "win32/handles.h"

namespace vt {

// Picture index of the 17 x 17 menu list, scaled with the system's DPI.
UniqueGdiObject LoadMenuBitmap(int index);

}  // namespace vt
