#include "win32/tray_pictures.h"

#include "resource_ids.h"
#include "win32/temperature_icon.h"
#include "win32/wide.h"

namespace vt {

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

UniqueIcon MakeTrayIcon(const TrayIconImage& image, int size) {
    if (size <= 0) size = TrayIconSize();
    if (image.drawTemperature) {
        if (UniqueIcon drawn = DrawTemperatureIcon(image.temperatureText, image.colour, size)) {
            return drawn;
        }
    }
    return LoadTrayPicture(image.picture, image.lightStyle, size);
}

}  // namespace vt
