#include "win32/hidden_forms.h"

namespace vt {
namespace {

constexpr wchar_t kFormClass[] = L"VantorelTrayForm";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_BORDER;

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ShowWindow(hwnd, SW_HIDE);  // closing only hides; the form lives until the end
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HiddenForm::HiddenForm(HINSTANCE instance, const wchar_t* caption, int clientWidth,
                       int clientHeight) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);  // fails harmlessly for the second form
    RECT rect = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, kStyle, FALSE, 0);
    hwnd_ = CreateWindowExW(0, kFormClass, caption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                            instance, nullptr);
}

HiddenForm::~HiddenForm() {
    if (hwnd_) DestroyWindow(hwnd_);
}

}  // namespace vt
