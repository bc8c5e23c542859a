#include "win32/about_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "forms/about_form.h"
#include "win32/wide.h"

namespace vt {
namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr UINT_PTR kLinkSubclass = 1;

int IdOf(AboutText which) {
    switch (which) {
        case AboutText::Caption:
            return 0;
        case AboutText::Label1:
            return IDC_ABOUT_LABEL1;
        case AboutText::Label4:
            return IDC_ABOUT_LABEL4;
        case AboutText::Label2:
            return IDC_ABOUT_LABEL2;
        case AboutText::Label8:
            return IDC_ABOUT_LABEL8;
        case AboutText::Label5:
            return IDC_ABOUT_LABEL5;
        case AboutText::Label6:
            return IDC_ABOUT_LABEL6;
        case AboutText::Label7:
            return IDC_ABOUT_LABEL7;
        case AboutText::Button1:
            return IDC_ABOUT_BUTTON1;
    }
    return 0;
}

bool IsLink(int id) {
    return id == IDC_ABOUT_LABEL4 || id == IDC_ABOUT_LABEL7;
}

}  // namespace

AboutDialog::~AboutDialog() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool AboutDialog::Create(TForm3& form) {
    form_ = &form;
    dpi_ = SystemDpi();
    hwnd_ = CreateFrameDialog(instance_, owner_, &DialogProcOf<AboutDialog>,
                              reinterpret_cast<LPARAM>(this));
    if (!hwnd_ ||
        !controls_.Build(hwnd_, kAboutControls, dpi_, [](int) { return HWND{nullptr}; })) {
        return false;
    }

    UseFonts();
    for (int id : {IDC_ABOUT_LABEL4, IDC_ABOUT_LABEL7}) {
        SetWindowSubclass(controls_[id], &AboutDialog::LinkProc, kLinkSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
    }
    picture_.Reset(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_ABOUT_PICTURE), IMAGE_BITMAP, 0, 0,
                              LR_CREATEDIBSECTION));
    SizeAndPlace(hwnd_, kAboutWidth, kAboutHeight, kAboutLeft, kAboutTop, dpi_);
    return true;
}

INT_PTR AboutDialog::OnMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DPICHANGED:
            Rescale(DpiOfMessage(wParam));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                form_->Button1Click();
            } else if (IsLink(LOWORD(wParam)) && HIWORD(wParam) == STN_CLICKED) {
                form_->LabelClick();
            }
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (!IsLink(id)) return FALSE;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kLinkColour);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_DRAWITEM:
            if (wParam == IDC_ABOUT_IMAGE1) {
                DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            HideForm();
            form_->FormClose();
            return TRUE;
        default:
            return FALSE;
    }
}

// Pointer changes follow the mouse over the two links; a click is STN_CLICKED.
LRESULT CALLBACK AboutDialog::LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    auto* dialog = reinterpret_cast<AboutDialog*>(self);
    if (message == WM_MOUSEMOVE) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        Guarded(hwnd, 0, [&] {
            dialog->form_->LabelMouseMove();
            return LRESULT{0};
        });
    } else if (message == WM_MOUSELEAVE) {
        Guarded(hwnd, 0, [&] {
            dialog->form_->LabelMouseLeave();
            return LRESULT{0};
        });
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Centred in its frame, at the DPI's size; the colour of the bottom-left pixel is not painted.
void AboutDialog::DrawPicture(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!picture_) return;
    BITMAP info;
    GetObjectW(picture_.Get(), sizeof info, &info);
    const UniqueDc source(CreateCompatibleDC(item.hDC));
    if (!source) return;
    const ScopedSelectObject selected(source.Get(), picture_.Get());
    const COLORREF transparent = GetPixel(source.Get(), 0, info.bmHeight - 1);
    const int width = Scaled(info.bmWidth, dpi_), height = Scaled(info.bmHeight, dpi_);
    const int left = (item.rcItem.left + item.rcItem.right - width) / 2;
    const int top = (item.rcItem.top + item.rcItem.bottom - height) / 2;
    GdiTransparentBlt(item.hDC, left, top, width, height, source.Get(), 0, 0, info.bmWidth,
                      info.bmHeight, transparent);
}

void AboutDialog::ShowForm() {
    if (!shown_) PlaceInWorkArea(hwnd_, kAboutLeft, kAboutTop);
    shown_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void AboutDialog::HideForm() {
    ShowWindow(hwnd_, SW_HIDE);
}

// The title and the links in fonts of their own, made for the dialog's DPI.
void AboutDialog::UseFonts() {
    // "Vantorel.Tray" in Arial 14 pt (19 pixels at 96 DPI), Cyrillic character set.
    LOGFONTW title = {};
    title.lfHeight = -Scaled(19, dpi_);
    title.lfCharSet = RUSSIAN_CHARSET;
    lstrcpyW(title.lfFaceName, L"Arial");
    titleFont_.Reset(CreateFontIndirectW(&title));
    SendMessageW(controls_[IDC_ABOUT_LABEL1], WM_SETFONT,
                 reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);

    LOGFONTW link = {};
    GetObjectW(controls_.Font(), sizeof link, &link);
    link.lfUnderline = TRUE;
    linkFont_.Reset(CreateFontIndirectW(&link));
    for (int id : {IDC_ABOUT_LABEL4, IDC_ABOUT_LABEL7}) {
        SendMessageW(controls_[id], WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
    }
}

// The scaling changed: everything from the table again at the new DPI, in the work area.
void AboutDialog::Rescale(int dpi) {
    dpi_ = dpi;
    font_ = DialogFontAt(hwnd_, dpi_);
    controls_.Rescale(dpi_, static_cast<HFONT>(font_.Get()));
    UseFonts();
    for (int id : {IDC_ABOUT_LABEL1, IDC_ABOUT_LABEL4, IDC_ABOUT_LABEL7}) FitToText(id);
    SizeAndPlace(hwnd_, kAboutWidth, kAboutHeight, kAboutLeft, kAboutTop, dpi_);
}

void AboutDialog::FitToText(int id) {
    HWND label = controls_[id];
    const SIZE size = TextExtent(
        label, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), WindowText(label));
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

void AboutDialog::SetText(AboutText which, const std::string& text) {
    const int id = IdOf(which);
    if (id == 0) {
        SetWindowTextW(hwnd_, Wide(text).c_str());
        return;
    }
    SetWindowTextW(controls_[id], Wide(text).c_str());
    if (id != IDC_ABOUT_BUTTON1) FitToText(id);
}

void AboutDialog::OpenAddress(const std::string& address) {
    ShellExecuteW(hwnd_, L"open", Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void AboutDialog::SetAppCursor(AppCursor cursor) {
    vt::SetAppCursor(cursor);
}

}  // namespace vt
