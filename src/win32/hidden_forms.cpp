#include "win32/hidden_forms.h"

namespace vt {
namespace {

constexpr wchar_t kFormClass[] = L"VantorelTrayForm";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_BORDER;

}  // namespace

LRESULT CALLBACK HiddenForm::FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (message == WM_CLOSE) {
        ShowWindow(hwnd, SW_HIDE);  // closing only hides; the form lives until the end
        auto* self = reinterpret_cast<HiddenForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && self->onHide_) self->onHide_();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void HiddenForm::Show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

HiddenForm::HiddenForm(HINSTANCE instance, const wchar_t* caption, int clientWidth,
                       int clientHeight, std::function<void()> onHide)
    : onHide_(std::move(onHide)) {
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
                            instance, this);
}

HiddenForm::~HiddenForm() {
    if (hwnd_) DestroyWindow(hwnd_);
}

}  // namespace vt
