// The preferences and About windows: created at start-up, hidden until the menu shows them.
#pragma once

#include <windows.h>

namespace vt {

class HiddenForm {
public:
    HiddenForm(HINSTANCE instance, const wchar_t* caption, int clientWidth, int clientHeight);
    ~HiddenForm();
    HiddenForm(const HiddenForm&) = delete;
    HiddenForm& operator=(const HiddenForm&) = delete;

    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

}  // namespace vt
