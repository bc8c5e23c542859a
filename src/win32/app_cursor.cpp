#include "win32/app_cursor.h"

namespace vt {
namespace {

HCURSOR g_appCursor = nullptr;  // null: each window's own pointer

}  // namespace

void SetAppCursor(AppCursor cursor) {
    g_appCursor = cursor == AppCursor::HandPoint ? LoadCursorW(nullptr, IDC_HAND) : nullptr;
    SetCursor(g_appCursor ? g_appCursor : LoadCursorW(nullptr, IDC_ARROW));
}

bool ApplyAppCursor() {
    if (!g_appCursor) return false;
    SetCursor(g_appCursor);
    return true;
}

}  // namespace vt
