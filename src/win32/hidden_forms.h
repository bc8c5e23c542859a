// The preferences and About windows: created at start-up, hidden until the menu shows them.
#pragma once

#include <windows.h>

#include <functional>

namespace vt {

class HiddenForm {
  public:
    // onHide runs each time the user closes the form.
    HiddenForm(HINSTANCE instance, const wchar_t* caption, int clientWidth, int clientHeight,
               std::function<void()> onHide);
    ~HiddenForm();
    HiddenForm(const HiddenForm&) = delete;
    HiddenForm& operator=(const HiddenForm&) = delete;

    HWND Handle() const { return hwnd_; }
    void Show();

  private:
    static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    std::function<void()> onHide_;
};

}  // namespace vt
