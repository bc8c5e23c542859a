// The application-wide mouse pointer: while one is set, every window of the program shows it.
#pragma once

#include <windows.h>

#include "ports/about_view.h"

namespace vt {

void SetAppCursor(AppCursor cursor);
// For WM_SETCURSOR: true when the application's pointer was set and the message is handled.
bool ApplyAppCursor();

}  // namespace vt
