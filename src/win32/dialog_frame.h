// Building the program's dialogs: a real dialog frame from an in-memory template (so the dialog
// manager gives Enter, Esc and the Tab order), with children created from the 96-DPI pixel
// tables of dialog_layout.h scaled to the system's DPI.
#pragma once

#include <windows.h>

#include <map>
#include <span>
#include <string>

#include "win32/app_cursor.h"
#include "win32/dialog_layout.h"
#include "win32/dpi.h"
#include "win32/error_boundary.h"
#include "win32/handles.h"

namespace vt {

std::wstring WindowText(HWND hwnd);
// The text's width in the font, and the font's line height.
SIZE TextExtent(HWND control, HFONT font, const std::wstring& text);

// The dialog procedure of a window class Dialog (and of its pages): the object comes with
// WM_INITDIALOG, the application's pointer is honoured, and errors end at the boundary.
// Dialog::OnMessage returns what a dialog procedure returns.
template <typename Dialog>
INT_PTR CALLBACK DialogProcOf(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_SETCURSOR && ApplyAppCursor()) {
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return Guarded(hwnd, TRUE, [&] { return self->OnMessage(hwnd, message, wParam, lParam); });
}

// A hidden modeless top-level dialog with the dialog font MS Sans Serif 8 pt, a fixed single
// border and only the close box. Owned by owner, so it gets no taskbar button.
HWND CreateFrameDialog(HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param);
// The frame's dialog font, made again for another DPI.
UniqueGdiObject DialogFontAt(HWND dialog, int dpi);
// A page: a child dialog whose controls take part in the parent's Tab order.
HWND CreatePageDialog(HINSTANCE instance, HWND parent, DLGPROC proc, LPARAM param);

// Sizes the dialog's client area (96-DPI pixels, scaled) and moves its outer top-left corner to
// the unscaled screen position, or as near as the primary monitor's work area allows.
void SizeAndPlace(HWND dialog, int clientWidth96, int clientHeight96, int left, int top, int dpi);
// The same placement again, for the first showing: a program started at logon may have been
// created before the taskbar took its part of the screen.
void PlaceInWorkArea(HWND dialog, int left, int top);

// The built controls of a table, by id. Pages (and the tab control's pages) are created by the
// caller through makePage, which gets the page's id and returns its window.
class ControlTable {
  public:
    // False when a window of the table could not be created.
    template <typename MakePage>
    bool Build(HWND dialog, std::span<const ControlSpec> specs, int dpi, MakePage&& makePage) {
        dialog_ = dialog;
        specs_ = specs;
        dpi_ = dpi;
        font_ = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
        for (const ControlSpec& row : specs) {
            if (row.kind == ControlKind::Page) {
                HWND page = makePage(row.id);
                if (!page) return false;
                windows_[row.id] = page;
                PlacePage(row, page);
            } else {
                windows_[row.id] = CreateFromSpec(row);
                if (!windows_[row.id]) return false;
            }
        }
        return true;
    }
    HWND operator[](int id) const;
    HFONT Font() const { return font_; }
    int Dpi() const { return dpi_; }
    // Every control placed, sized and given the font again from the table at another DPI.
    void Rescale(int dpi, HFONT font);

  private:
    const ControlSpec* SpecOf(int id) const;
    HWND CreateFromSpec(const ControlSpec& row);
    void Place(const ControlSpec& row, HWND hwnd);
    void PlacePage(const ControlSpec& row, HWND page);
    void PositionPage(const ControlSpec& row, HWND page);
    // The window a control is created in, and its 96-DPI origin there.
    HWND PhysicalParent(const ControlSpec& row, POINT& origin) const;

    HWND dialog_ = nullptr;
    std::span<const ControlSpec> specs_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    std::map<int, HWND> windows_;
};

}  // namespace vt
