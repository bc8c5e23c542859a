#include "win32/menu_icons.h"

#include <cstdint>
#include <vector>

#include "resource_ids.h"
#include "win32/dpi.h"
#include "win32/tray_pictures.h"

namespace vt {

UniqueGdiObject LoadMenuBitmap(int index) {
    const int size = Scaled(17, SystemDpi());

    UniqueIcon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(IDI_MENU_FIRST + index),
                                                  IMAGE_ICON, size, size, 0)));
    if (!icon) return UniqueGdiObject();
    ICONINFO info = {};
    if (!GetIconInfo(icon.Get(), &info)) return UniqueGdiObject();
    UniqueGdiObject colour(info.hbmColor);
    UniqueGdiObject mask(info.hbmMask);

    BITMAPINFO bmi = TopDownArgbInfo(size);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    const ScopedGetDC screen(nullptr);
    const int lines = GetDIBits(screen.Get(), static_cast<HBITMAP>(colour.Get()), 0, size,
                                pixels.data(), &bmi, DIB_RGB_COLORS);
    if (lines != size) return UniqueGdiObject();

    void* bits = nullptr;
    UniqueGdiObject result(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result) return result;
    // Blended onto the menu colour and opaque: some menu implementations (Wine's among them)
    // ignore the alpha channel and would show black around the picture.
    const COLORREF back = GetSysColor(COLOR_MENU);
    const std::uint32_t backRgb[3] = {GetRValue(back), GetGValue(back), GetBValue(back)};
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t a = p >> 24;
        auto blend = [&](int shift, std::uint32_t b) {
            return (((p >> shift) & 0xFF) * a + b * (255 - a)) / 255;
        };
        out[i] = 0xFF000000u | (blend(16, backRgb[0]) << 16) | (blend(8, backRgb[1]) << 8) |
                 blend(0, backRgb[2]);
    }
    return result;
}

}  // namespace vt
