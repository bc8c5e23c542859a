#include "win32/colour_box_control.h"

#include <gtest/gtest.h>

#include <string>

#include "win32/dialog_frame.h"
#include "win32/dpi.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace vt {
namespace {

// The closed box's entry area at 96 DPI: a real owner-drawn box of the dialog's 145 x 22.
int ClosedItemWidth96() {
    HWND box = CreateWindowExW(0, L"COMBOBOX", L"",
                               WS_POPUP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
                               0, 145, 22, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    const bool ok = box && GetComboBoxInfo(box, &info);
    if (box) DestroyWindow(box);
    return ok ? static_cast<int>(info.rcItem.right - info.rcItem.left) : 0;
}

// A named procedure: a lambda does not convert to the stdcall DLGPROC of 32-bit Windows.
INT_PTR CALLBACK IgnoreEverything(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Every name shows whole beside its swatch in the closed box, in the dialog's font at each
// scaling: the swatch gives way, the box keeps its specified width.
TEST(ColourBoxControl, EveryNameFitsTheClosedBoxAtEveryScaling) {
    const int itemWidth96 = ClosedItemWidth96();
    ASSERT_GT(itemWidth96, 100);
    // The font the program's dialogs get, as this system makes it at 96 DPI.
    HWND dialog = CreateFrameDialog(GetModuleHandleW(nullptr), nullptr, IgnoreEverything, 0);
    ASSERT_TRUE(dialog);
    LOGFONTW dialogFont = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof dialogFont,
               &dialogFont);
    DestroyWindow(dialog);
    ASSERT_EQ(SystemDpi(), 96) << "the scalings below start from 96 DPI";
    for (int dpi : {96, 120, 144, 192}) {
        LOGFONTW lf = dialogFont;
        lf.lfHeight = MulDiv(lf.lfHeight, dpi, 96);
        const UniqueGdiObject font(CreateFontIndirectW(&lf));
        const ScopedGetDC screen(nullptr);
        const ScopedSelectObject selected(screen.Get(), font.Get());
        const RECT item = {0, 0, Scaled(itemWidth96, dpi), Scaled(16, dpi)};
        for (int i = 0; i <= static_cast<int>(kColourBoxColours.size()); ++i) {
            const std::string name = i == 0 ? kOtherColourName : kColourBoxColours[i - 1].name;
            const std::wstring wide = Wide(name);
            SIZE extent = {};
            GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()),
                                  &extent);
            const ColourItemLayout layout = LayOutColourItem(item, extent.cx, dpi);
            const UniqueGdiObject narrow = FontToFit(screen.Get(), wide, layout.textRoom);
            if (narrow) {
                const ScopedSelectObject condensed(screen.Get(), narrow.Get());
                GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()),
                                      &extent);
                TEXTMETRICW metrics = {};
                GetTextMetricsW(screen.Get(), &metrics);
                EXPECT_GE(metrics.tmHeight, Scaled(11, dpi)) << name << ": only narrower";
            }
            EXPECT_LE(layout.textLeft + extent.cx, item.right) << name << " at " << dpi;
            EXPECT_GE(layout.swatchRight - layout.swatchLeft, Scaled(8, dpi)) << name;
            EXPECT_LE(layout.swatchRight - layout.swatchLeft, Scaled(24, dpi)) << name;
        }
    }
}

}  // namespace
}  // namespace vt
