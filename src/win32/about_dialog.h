// The About dialog's window: the panel with the picture and the labels, two links and "Ok".
#pragma once

#include <windows.h>

#include "ports/about_view.h"
#include "win32/dialog_frame.h"
#include "win32/handles.h"

namespace vt {

class TForm3;

class AboutDialog : public AboutView {
  public:
    AboutDialog(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
    ~AboutDialog() override;
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;

    bool Create(TForm3& form);
    bool PreTranslate(MSG& msg) { return hwnd_ && IsDialogMessageW(hwnd_, &msg); }

    void ShowForm() override;
    void HideForm() override;
    void SetText(AboutText which, const std::string& text) override;
    void OpenAddress(const std::string& address) override;
    void SetAppCursor(AppCursor cursor) override;

    // For DialogProcOf.
    INT_PTR OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    void DrawPicture(const DRAWITEMSTRUCT& item);
    void FitToText(int id);
    void UseFonts();
    void Rescale(int dpi);

    HINSTANCE instance_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    bool shown_ = false;  // placed once more when first shown
    TForm3* form_ = nullptr;
    int dpi_ = 96;
    ControlTable controls_;
    UniqueGdiObject font_;  // the dialog font after a change of the scaling
    UniqueGdiObject titleFont_;
    UniqueGdiObject linkFont_;
    UniqueGdiObject picture_;
};

}  // namespace vt
