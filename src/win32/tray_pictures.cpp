#include "win32/tray_pictures.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "resource_ids.h"
#include "win32/wide.h"

namespace vt {
namespace {

struct Dib {
    UniqueGdiObject bitmap;
    std::uint32_t* pixels = nullptr;  // top-down, 0xAARRGGBB
};

Dib MakeDib(int size) {
    const BITMAPINFO info = TopDownArgbInfo(size);
    void* bits = nullptr;
    Dib dib;
    dib.bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dib.pixels = static_cast<std::uint32_t*>(bits);
    return dib;
}

}  // namespace

BITMAPINFO TopDownArgbInfo(int size) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

int TrayIconSize() {
    const int size = GetSystemMetrics(SM_CXSMICON);
    return size > 0 ? size : 16;
}

COLORREF ResolveColour(Colour colour) {
    if (IsSystemColour(colour)) return GetSysColor(SystemColourIndex(colour));
    return static_cast<COLORREF>(colour) & 0xFFFFFF;
}

UniqueIcon LoadTrayPicture(int picture, bool lightStyle, int size) {
    const int id = (lightStyle ? IDI_TRAY_LIGHT_FIRST : IDI_TRAY_DARK_FIRST) + picture;
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

UniqueIcon DrawTemperatureIcon(const std::string& text, Colour colour, int size) {
    // The text is drawn white on black; its grey levels become the coverage of each pixel.
    Dib coverage = MakeDib(size);
    Dib colourPlane = MakeDib(size);
    if (!coverage.pixels || !colourPlane.pixels) return UniqueIcon();
    UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return UniqueIcon();
    const ScopedSelectObject bitmapSelected(dc.Get(), coverage.bitmap.Get());
    std::memset(coverage.pixels, 0, static_cast<std::size_t>(size) * size * 4);

    LOGFONTW font = {};
    font.lfHeight = static_cast<LONG>(std::lround(15.0 * size / 16.0));
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    wcscpy(font.lfFaceName, L"Arial");
    UniqueGdiObject hfont(CreateFontIndirectW(&font));
    const ScopedSelectObject fontSelected(dc.Get(), hfont.Get());
    SetTextColor(dc.Get(), RGB(255, 255, 255));
    SetBkColor(dc.Get(), RGB(0, 0, 0));
    SetBkMode(dc.Get(), OPAQUE);

    const std::wstring wide = Wide(text);
    SIZE extent = {};
    GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
    const int x = size / 2 - extent.cx / 2;
    const int y = size / 2 - extent.cy / 2;
    TextOutW(dc.Get(), x, y, wide.c_str(), static_cast<int>(wide.size()));
    GdiFlush();

    const COLORREF rgb = ResolveColour(colour);
    const std::uint32_t r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    for (int i = 0; i < size * size; ++i) {
        const std::uint32_t p = coverage.pixels[i];
        const std::uint32_t a = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
        // Premultiplied, as the shell expects of a 32-bit icon with alpha.
        colourPlane.pixels[i] =
            (a << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (b * a / 255);
    }

    UniqueGdiObject mask(CreateBitmap(size, size, 1, 1, nullptr));
    ICONINFO iconInfo = {};
    iconInfo.fIcon = TRUE;
    iconInfo.hbmColor = static_cast<HBITMAP>(colourPlane.bitmap.Get());
    iconInfo.hbmMask = static_cast<HBITMAP>(mask.Get());
    return UniqueIcon(CreateIconIndirect(&iconInfo));
}

UniqueIcon MakeTrayIcon(const TrayIconImage& image) {
    const int size = TrayIconSize();
    if (image.drawTemperature) {
        if (UniqueIcon drawn = DrawTemperatureIcon(image.temperatureText, image.colour, size)) {
            return drawn;
        }
    }
    return LoadTrayPicture(image.picture, image.lightStyle, size);
}

}  // namespace vt
