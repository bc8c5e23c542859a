#include "win32/colour_box_control.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <string>

#include "win32/dpi.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace vt {
namespace {

constexpr int kVisibleEntries = 17;

COLORREF ScreenColour(Colour colour) {
    return IsSystemColour(colour) ? GetSysColor(SystemColourIndex(colour))
                                  : static_cast<COLORREF>(colour & 0xFFFFFF);
}

using ChooseColourFunction = BOOL(WINAPI*)(CHOOSECOLORW*);

// The colour dialog's library is loaded when the dialog is first needed, from the system's own
// folder: at start-up it would bring (under Wine) the printing stack with it, megabytes that
// nothing else of the program uses. Null when the system cannot give it.
ChooseColourFunction ChooseColour() {
    static const ChooseColourFunction choose = [] {
        wchar_t path[MAX_PATH];
        const UINT length = GetSystemDirectoryW(path, MAX_PATH);
        if (length == 0 || length + 14 >= MAX_PATH) return ChooseColourFunction{};
        lstrcatW(path, L"\\comdlg32.dll");
        HMODULE library = LoadLibraryW(path);
        return library ? reinterpret_cast<ChooseColourFunction>(
                             reinterpret_cast<void*>(GetProcAddress(library, "ChooseColorW")))
                       : ChooseColourFunction{};
    }();
    return choose;
}

const char* NameOf(int index) {
    return index == 0 ? kOtherColourName
                      : kColourBoxColours[static_cast<std::size_t>(index - 1)].name;
}

}  // namespace

ColourItemLayout LayOutColourItem(const RECT& item, int textWidth, int dpi) {
    const int pad = Scaled(2, dpi), gap = Scaled(4, dpi);
    const int widest = Scaled(24, dpi), narrowest = Scaled(8, dpi);
    const int room = (item.right - item.left) - pad - gap - textWidth - pad;
    ColourItemLayout layout;
    layout.swatchLeft = item.left + pad;
    layout.swatchRight = layout.swatchLeft + std::clamp(room, narrowest, widest);
    layout.textLeft = layout.swatchRight + gap;
    layout.textRoom = item.right - pad - layout.textLeft;
    return layout;
}

UniqueGdiObject FontToFit(HDC dc, const std::wstring& text, int width) {
    const auto extentIn = [&](HGDIOBJ font) {
        const ScopedSelectObject selected(dc, font);
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    const int natural = extentIn(GetCurrentObject(dc, OBJ_FONT));
    if (natural <= width || width <= 0) return UniqueGdiObject();
    LOGFONTW lf = {};
    TEXTMETRICW metrics = {};
    if (!GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf) ||
        !GetTextMetricsW(dc, &metrics)) {
        return UniqueGdiObject();
    }
    // Character widths come in whole pixels: narrow step by step until the text fits.
    for (int average = metrics.tmAveCharWidth * width / natural; average > 0; --average) {
        lf.lfWidth = average;
        UniqueGdiObject narrow(CreateFontIndirectW(&lf));
        if (narrow && extentIn(narrow.Get()) <= width) return narrow;
    }
    return UniqueGdiObject();
}

int ColourBoxControl::ItemHeight(int dpi) {
    return Scaled(16, dpi);
}

void ColourBoxControl::Attach(HWND box, HWND owner, int dpi) {
    box_ = box;
    owner_ = owner;
    dpi_ = dpi;
    for (int i = 0; i <= static_cast<int>(kColourBoxColours.size()); ++i) {
        SendMessageW(box_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(NameOf(i)).c_str()));
    }
    SizeList();
    SendMessageW(box_, CB_SETMINVISIBLE, kVisibleEntries, 0);
    Select(kClBlack);
}

void ColourBoxControl::Rescale(int dpi) {
    dpi_ = dpi;
    narrowFonts_.clear();
    // -1: the closed box's field; 0: the entries of the list.
    for (WPARAM which : {static_cast<WPARAM>(-1), WPARAM{0}}) {
        SendMessageW(box_, CB_SETITEMHEIGHT, which, ItemHeight(dpi_));
    }
    SizeList();
}

// Windows draws a combo box's list at the height its window was given.
void ColourBoxControl::SizeList() {
    RECT rect;
    GetWindowRect(box_, &rect);
    SetWindowPos(box_, nullptr, 0, 0, rect.right - rect.left,
                 (rect.bottom - rect.top) + ItemHeight(dpi_) * (kVisibleEntries + 1),
                 SWP_NOMOVE | SWP_NOZORDER);
}

void ColourBoxControl::Select(Colour colour) {
    const int index = ColourBoxIndex(colour);
    if (index == 0) otherColour_ = colour;
    choice_.Show(index);
    ShowEntry(index);
}

Colour ColourBoxControl::Selected() const {
    const auto index = static_cast<int>(SendMessageW(box_, CB_GETCURSEL, 0, 0));
    return index > 0 && index <= static_cast<int>(kColourBoxColours.size()) ? ColourOf(index)
                                                                            : otherColour_;
}

bool ColourBoxControl::Dropped() const {
    return SendMessageW(box_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void ColourBoxControl::OnNotify(int code) {
    ColourBoxEvent event;
    switch (code) {
        case CBN_DROPDOWN:
            event = ColourBoxEvent::DropDown;
            break;
        case CBN_SELCHANGE:
            event = ColourBoxEvent::SelChange;
            break;
        case CBN_SELENDOK:
            event = ColourBoxEvent::SelEndOk;
            break;
        default:
            return;
    }
    const auto index = static_cast<int>(SendMessageW(box_, CB_GETCURSEL, 0, 0));
    if (choice_.On(event, index, Dropped()) == ColourBoxAction::AskOtherColour) AskOtherColour();
}

void ColourBoxControl::AskOtherColour() {
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner_;
    choose.rgbResult = ScreenColour(otherColour_);
    choose.lpCustColors = customColours_;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    const ChooseColourFunction chooseColour = ChooseColour();
    const bool accepted = chooseColour && chooseColour(&choose) != FALSE;
    if (accepted) otherColour_ = static_cast<Colour>(choose.rgbResult & 0xFFFFFF);
    ShowEntry(choice_.OtherColourClosed(accepted));
}

void ColourBoxControl::ShowEntry(int index) {
    SendMessageW(box_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    InvalidateRect(box_, nullptr, TRUE);
}

// Made once for each entry and width: the box paints its entries often.
HGDIOBJ ColourBoxControl::NarrowFont(HDC dc, int index, const std::wstring& name, int width) const {
    auto [found, added] = narrowFonts_.try_emplace({index, width});
    if (added) found->second = FontToFit(dc, name, width);
    return found->second.Get();
}

Colour ColourBoxControl::ColourOf(int index) const {
    return index == 0 ? otherColour_
                      : kColourBoxColours[static_cast<std::size_t>(index - 1)].colour;
}

void ColourBoxControl::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const auto index = static_cast<int>(item.itemID);
    if (index > static_cast<int>(kColourBoxColours.size())) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    const std::wstring name = Wide(NameOf(index));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &extent);
    const ColourItemLayout layout = LayOutColourItem(rect, extent.cx, dpi_);
    const int pad = Scaled(2, dpi_);
    RECT swatch = {layout.swatchLeft, rect.top + pad, layout.swatchRight, rect.bottom - pad};
    const UniqueGdiObject brush(
        CreateSolidBrush(enabled ? ScreenColour(ColourOf(index)) : GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &swatch, static_cast<HBRUSH>(brush.Get()));
    FrameRect(dc, &swatch, GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));

    RECT text = rect;
    text.left = layout.textLeft;
    const HGDIOBJ narrow = NarrowFont(dc, index, name, layout.textRoom);
    const ScopedSelectObject font(dc, narrow ? narrow : GetCurrentObject(dc, OBJ_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!enabled   ? COLOR_GRAYTEXT
                                 : selected ? COLOR_HIGHLIGHTTEXT
                                            : COLOR_WINDOWTEXT));
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
}

}  // namespace vt
