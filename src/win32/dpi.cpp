#include "win32/dpi.h"

namespace vt {
namespace {

// Functions of later Windows, looked up where they may be missing.
template <typename Function>
Function Later(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    return handle
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
               : nullptr;
}

}  // namespace

int SmallIconSizeForDpi(int dpi) {
    using MetricsForDpi = int(WINAPI*)(int, UINT);
    if (auto metrics = Later<MetricsForDpi>(L"user32.dll", "GetSystemMetricsForDpi")) {
        const int size = metrics(SM_CXSMICON, static_cast<UINT>(dpi));
        if (size > 0) return size;
    }
    return MulDiv(16, dpi, 96);
}

int WindowDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    if (auto dpi = Later<DpiForWindow>(L"user32.dll", "GetDpiForWindow")) {
        if (const UINT value = dpi(window)) return static_cast<int>(value);
    }
    return SystemDpi();
}

void KeepDialogScalingOurs(HWND dialog) {
    using SetBehavior = BOOL(WINAPI*)(HWND, int, int);
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL: no font, size or control changes
    if (auto set = Later<SetBehavior>(L"user32.dll", "SetDialogDpiChangeBehavior")) {
        set(dialog, kDisableAll, kDisableAll);
    }
}

}  // namespace vt
