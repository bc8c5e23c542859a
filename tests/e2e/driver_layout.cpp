#include "driver_layout.h"

#include <cstdio>

#include "win32/dpi.h"
#include "win32/wide.h"

namespace e2e {

namespace {

// The program's font handles mean nothing in this process: text is measured in the fonts the
// dialogs are meant to use, the dialog font and the About box's title font.
SIZE TextSize(const std::wstring& text, bool title, int dpi) {
    LOGFONTW lf = {};
    lf.lfHeight = title ? -MulDiv(19, dpi, 96) : -MulDiv(8, dpi, 72);
    lf.lfCharSet = title ? RUSSIAN_CHARSET : DEFAULT_CHARSET;
    lstrcpyW(lf.lfFaceName, title ? L"Arial" : L"MS Sans Serif");
    const vt::UniqueGdiObject font(CreateFontIndirectW(&lf));
    const vt::ScopedGetDC dc(nullptr);
    const vt::ScopedSelectObject selected(dc.Get(), font.Get());
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc.Get(), &metrics);
    size.cy = metrics.tmHeight;
    return size;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The width a caption may take inside its control.
int CaptionRoom(vt::ControlKind kind, const RECT& rect) {
    const int width = rect.right - rect.left;
    switch (kind) {
        case vt::ControlKind::Radio:
        case vt::ControlKind::Check:
            return width - GetSystemMetrics(SM_CXMENUCHECK) - 2;  // the mark at its smallest
        case vt::ControlKind::Group:
            return width - 16;
        case vt::ControlKind::Button:
        case vt::ControlKind::DefaultButton:
            return width - 4;
        default:
            return width;
    }
}

bool IsComboBox(vt::ControlKind kind) {
    return kind == vt::ControlKind::TownBox || kind == vt::ControlKind::StyleBox ||
           kind == vt::ControlKind::ColourBox;
}

// Where the table puts the row at the DPI, in its window's parent: a page's controls lie on
// the page, the rest on the dialog; frames add their offset. Width and height are -1 where the
// control sizes itself (to its text, or to its list for a combo box).
RECT TableRect(const Dialog& dialog, const vt::ControlSpec& row, int dpi) {
    int x = row.x, y = row.y;
    for (const vt::ControlSpec* p = SpecOf(dialog, row.parent);
         p && p->kind != vt::ControlKind::Page; p = SpecOf(dialog, p->parent)) {
        x += p->x;
        y += p->y;
    }
    const int left = vt::Scaled(x, dpi), top = vt::Scaled(y, dpi);
    const bool sized = row.width > 0 && !IsComboBox(row.kind);
    return {left, top, sized ? vt::Scaled(x + row.width, dpi) : -1,
            sized ? vt::Scaled(y + row.height, dpi) : -1};
}

bool Near(long a, long b) {
    return a - b <= 1 && b - a <= 1;
}

bool HasMeasuredCaption(vt::ControlKind kind) {
    return kind != vt::ControlKind::Page && kind != vt::ControlKind::TownBox &&
           kind != vt::ControlKind::Edit;
}

bool TakesFocus(vt::ControlKind kind) {
    switch (kind) {
        case vt::ControlKind::Tabs:
        case vt::ControlKind::Radio:
        case vt::ControlKind::Check:
        case vt::ControlKind::Button:
        case vt::ControlKind::DefaultButton:
        case vt::ControlKind::Edit:
        case vt::ControlKind::Password:
        case vt::ControlKind::TownBox:
        case vt::ControlKind::StyleBox:
        case vt::ControlKind::ColourBox:
            return true;
        default:
            return false;
    }
}

// The page a row lies on, through its frames; 0 for the dialog's own controls.
int PageOf(const Dialog& dialog, const vt::ControlSpec& row) {
    for (const vt::ControlSpec* p = SpecOf(dialog, row.parent); p; p = SpecOf(dialog, p->parent)) {
        if (p->kind == vt::ControlKind::Page) return p->id;
    }
    return 0;
}

}  // namespace

bool CheckLayout(const Dialog& dialog, int dpi) {
    int failures = 0;
    RECT client;
    GetClientRect(dialog.hwnd, &client);
    MapWindowPoints(dialog.hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (const vt::ControlSpec& row : dialog.table) {
        HWND control = ControlOf(dialog.hwnd, row.id);
        if (!control) {
            std::printf("missing control %s\n", row.name);
            ++failures;
            continue;
        }
        RECT rect, parent = client;
        GetWindowRect(control, &rect);
        if (row.parent != 0) GetWindowRect(ControlOf(dialog.hwnd, row.parent), &parent);
        if (!Inside(rect, parent)) {
            std::printf("%s (%ld,%ld,%ld,%ld) lies outside its parent (%ld,%ld,%ld,%ld)\n",
                        row.name, rect.left, rect.top, rect.right, rect.bottom, parent.left,
                        parent.top, parent.right, parent.bottom);
            ++failures;
        }
        if (row.kind != vt::ControlKind::Page) {
            RECT placed = rect;
            MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&placed), 2);
            const RECT want = TableRect(dialog, row, dpi);
            const bool sizeOk =
                want.right < 0 || (Near(placed.right - placed.left, want.right - want.left) &&
                                   Near(placed.bottom - placed.top, want.bottom - want.top));
            if (!Near(placed.left, want.left) || !Near(placed.top, want.top) || !sizeOk) {
                std::printf("%s at (%ld,%ld,%ld,%ld), the table at %d DPI says (%ld,%ld,%ld,%ld)\n",
                            row.name, placed.left, placed.top, placed.right, placed.bottom, dpi,
                            want.left, want.top, want.right, want.bottom);
                ++failures;
            }
        }
        const std::wstring text = TextOf(control);
        if (text.empty() || !HasMeasuredCaption(row.kind)) continue;
        const SIZE size = TextSize(text, row.id == IDC_ABOUT_LABEL1, dpi);
        const int room = CaptionRoom(row.kind, rect);
        if (size.cx > room || size.cy > rect.bottom - rect.top) {
            std::printf("the caption of %s (%s) needs %ldx%ld, has %dx%ld\n", row.name,
                        vt::Narrow(text).c_str(), size.cx, size.cy, room, rect.bottom - rect.top);
            ++failures;
        }
    }
    std::printf("%d layout failures\n", failures);
    return failures == 0;
}

std::vector<std::string> TabOrder(const Dialog& dialog) {
    std::vector<std::string> order;
    const vt::ControlSpec* tabs = nullptr;
    bool inGroup = false;
    const vt::ControlSpec* groupPick = nullptr;
    auto visits = [&](const vt::ControlSpec& row) {
        HWND hwnd = ControlOf(dialog.hwnd, row.id);
        return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
    };
    auto closeGroup = [&] {
        if (groupPick && visits(*groupPick)) order.emplace_back(groupPick->name);
        inGroup = false;
        groupPick = nullptr;
    };
    for (const vt::ControlSpec& row : dialog.table) {
        if (row.kind != vt::ControlKind::Radio && inGroup) closeGroup();
        if (tabs && row.kind != vt::ControlKind::Page && PageOf(dialog, row) == 0) {
            if (visits(*tabs)) order.emplace_back(tabs->name);
            tabs = nullptr;
        }
        if (!TakesFocus(row.kind)) continue;
        if (row.kind == vt::ControlKind::Tabs) {
            tabs = &row;
        } else if (row.kind == vt::ControlKind::Radio) {
            // Tab enters a group at its checked button, or at its first one.
            if (!inGroup) groupPick = &row;
            inGroup = true;
            if (SendMessageW(ControlOf(dialog.hwnd, row.id), BM_GETCHECK, 0, 0) == BST_CHECKED) {
                groupPick = &row;
            }
        } else if (visits(row)) {
            order.emplace_back(row.name);
        }
    }
    if (inGroup) closeGroup();
    if (tabs && visits(*tabs)) order.emplace_back(tabs->name);
    return order;
}

}  // namespace e2e
