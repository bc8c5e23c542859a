#include "win32/dialog_frame.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "common/placement.h"
#include "win32/wide.h"

namespace vt {
namespace {

constexpr wchar_t kDialogFont[] = L"MS Sans Serif";
constexpr WORD kDialogFontPoints = 8;

// A DLGTEMPLATE without items: no menu, the default class, an empty title, then the font.
std::vector<WORD> EmptyTemplate(DWORD style, DWORD exStyle) {
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(t.data());
    header->style = style | DS_SETFONT;
    header->dwExtendedStyle = exStyle;
    t.push_back(0);  // menu
    t.push_back(0);  // class
    t.push_back(0);  // title
    t.push_back(kDialogFontPoints);
    for (const wchar_t* c = kDialogFont; *c; ++c) t.push_back(static_cast<WORD>(*c));
    t.push_back(0);
    return t;
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

SIZE TextExtent(HWND control, HFONT font, const std::wstring& text) {
    SIZE size = {0, 0};
    const ScopedGetDC dc(control);
    if (!dc) return size;
    const ScopedSelectObject selected(dc.Get(), font);
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics;
    if (GetTextMetricsW(dc.Get(), &metrics)) size.cy = metrics.tmHeight;
    return size;
}

namespace {

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle ClassOf(ControlKind kind) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case ControlKind::Tabs:
            return {WC_TABCONTROLW, kChild | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0};
        case ControlKind::Group:
            return {L"BUTTON", kChild | BS_GROUPBOX | WS_GROUP, 0};
        case ControlKind::Label:
            return {L"STATIC", kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_GROUP, 0};
        case ControlKind::Link:
            return {L"STATIC", kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY | WS_GROUP, 0};
        case ControlKind::Radio:
            return {L"BUTTON", kChild | BS_AUTORADIOBUTTON, 0};
        case ControlKind::Check:
            return {L"BUTTON", kChild | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0};
        case ControlKind::Button:
            return {L"BUTTON", kChild | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
        case ControlKind::DefaultButton:
            return {L"BUTTON", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
        case ControlKind::Edit:
            return {L"EDIT", kChild | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
        case ControlKind::Password:
            return {L"EDIT", kChild | ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP | WS_GROUP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::TownBox:
            return {L"COMBOBOX",
                    kChild | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                    0};
        case ControlKind::StyleBox:
            return {L"COMBOBOX", kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0};
        case ControlKind::ColourBox:
            return {L"COMBOBOX",
                    kChild | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL |
                        WS_TABSTOP | WS_GROUP,
                    0};
        case ControlKind::Panel:
            return {L"STATIC", kChild | SS_ETCHEDFRAME | WS_GROUP, 0};
        case ControlKind::Picture:
            return {L"STATIC", kChild | SS_OWNERDRAW | WS_GROUP, 0};
        case ControlKind::Page:
            break;
    }
    return {L"STATIC", kChild, 0};
}

}  // namespace

HWND CreateFrameDialog(HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param) {
    const std::vector<WORD> t =
        EmptyTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_CONTROLPARENT);
    HWND dialog = CreateDialogIndirectParamW(
        instance, reinterpret_cast<const DLGTEMPLATE*>(t.data()), owner, proc, param);
    if (dialog) KeepDialogScalingOurs(dialog);
    return dialog;
}

UniqueGdiObject DialogFontAt(HWND dialog, int dpi) {
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfHeight = -MulDiv(kDialogFontPoints, dpi, 72);
    font.lfWidth = 0;
    return UniqueGdiObject(CreateFontIndirectW(&font));
}

HWND CreatePageDialog(HINSTANCE instance, HWND parent, DLGPROC proc, LPARAM param) {
    const std::vector<WORD> t = EmptyTemplate(WS_CHILD | DS_CONTROL, WS_EX_CONTROLPARENT);
    return CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(t.data()),
                                      parent, proc, param);
}

void SizeAndPlace(HWND dialog, int clientWidth96, int clientHeight96, int left, int top, int dpi) {
    RECT rect = {0, 0, Scaled(clientWidth96, dpi), Scaled(clientHeight96, dpi)};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceInWorkArea(dialog, left, top);
}

void PlaceInWorkArea(HWND dialog, int left, int top) {
    RECT window;
    GetWindowRect(dialog, &window);
    // The primary monitor's work area (Wine's GetMonitorInfo reports the whole screen).
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const ScreenRect placed =
        vt::PlaceInWorkArea(left, top, window.right - window.left, window.bottom - window.top,
                            {work.left, work.top, work.right - work.left, work.bottom - work.top});
    SetWindowPos(dialog, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND ControlTable::operator[](int id) const {
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second;
}

const ControlSpec* ControlTable::SpecOf(int id) const {
    for (const ControlSpec& s : specs_) {
        if (s.id == id) return &s;
    }
    return nullptr;
}

HWND ControlTable::PhysicalParent(const ControlSpec& row, POINT& origin) const {
    origin = {0, 0};
    for (int parent = row.parent; parent != 0;) {
        const ControlSpec* p = SpecOf(parent);
        if (!p) break;
        if (p->kind == ControlKind::Page) return (*this)[p->id];
        origin.x += p->x;
        origin.y += p->y;
        parent = p->parent;
    }
    return dialog_;
}

HWND ControlTable::CreateFromSpec(const ControlSpec& row) {
    POINT origin;
    HWND parent = PhysicalParent(row, origin);
    ClassAndStyle cs = ClassOf(row.kind);
    // The first radio button of a group starts it and is where the Tab key enters it; auto
    // radio buttons move the tab stop to the checked one themselves.
    if (row.kind == ControlKind::Radio &&
        (&row == specs_.data() || (&row - 1)->kind != ControlKind::Radio)) {
        cs.style |= WS_GROUP | WS_TABSTOP;
    }
    const std::wstring caption = Wide(row.caption);
    HWND hwnd = CreateWindowExW(
        cs.exStyle, cs.className, caption.c_str(), cs.style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(INT_PTR{row.id}),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog_, GWLP_HINSTANCE)), nullptr);
    if (hwnd) Place(row, hwnd);
    return hwnd;
}

// Position, size and font from the row at the table's DPI.
void ControlTable::Place(const ControlSpec& row, HWND hwnd) {
    POINT origin;
    PhysicalParent(row, origin);
    const int left96 = origin.x + row.x, top96 = origin.y + row.y;
    const int left = Scaled(left96, dpi_), top = Scaled(top96, dpi_);
    int width = Scaled(left96 + row.width, dpi_) - left;
    int height = Scaled(top96 + row.height, dpi_) - top;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (row.width == 0) {
        // Sized to the text: labels one line high, check marks with their box beside the text.
        const SIZE text = TextExtent(hwnd, font_, WindowText(hwnd));
        // A little room to spare: a label whose text only just fits breaks its last word off.
        width = text.cx + Scaled(3, dpi_);
        height = text.cy;
        if (row.kind == ControlKind::Radio || row.kind == ControlKind::Check) {
            // The check mark's size is the system's, at the system's DPI.
            width += MulDiv(GetSystemMetrics(SM_CXMENUCHECK), dpi_, SystemDpi()) + Scaled(12, dpi_);
            height = std::max<int>(text.cy, Scaled(17, dpi_));
        }
    }
    SetWindowPos(hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlTable::Rescale(int dpi, HFONT font) {
    dpi_ = dpi;
    font_ = font;
    for (const ControlSpec& row : specs_) {
        if (row.kind == ControlKind::Page) continue;
        if (HWND hwnd = (*this)[row.id]) Place(row, hwnd);
    }
    for (const ControlSpec& row : specs_) {
        if (row.kind == ControlKind::Page) PositionPage(row, (*this)[row.id]);
    }
    RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ControlTable::PlacePage(const ControlSpec& row, HWND page) {
    HWND tabs = (*this)[row.parent];
    const std::wstring caption = Wide(row.caption);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    const int index = TabCtrl_GetItemCount(tabs);
    TabCtrl_InsertItem(tabs, index, &item);
    PositionPage(row, page);
    SetWindowLongPtrW(page, GWLP_ID, row.id);
    ShowWindow(page, index == 0 ? SW_SHOW : SW_HIDE);
}

void ControlTable::PositionPage(const ControlSpec& row, HWND page) {
    HWND tabs = (*this)[row.parent];
    RECT area;
    GetClientRect(tabs, &area);
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    MapWindowPoints(tabs, dialog_, reinterpret_cast<POINT*>(&area), 2);
    // Above the tab control, so the page paints over its display area; the Tab key reaches the
    // tab control after the pages' controls.
    SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(tabs, page, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace vt
