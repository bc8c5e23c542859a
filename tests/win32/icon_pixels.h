// An icon's pixels read back, for the drawing tests, and saved for the contact sheet.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "win32/handles.h"
#include "win32/tray_pictures.h"

namespace vt::test {

struct Pixels {
    int size = 0;
    std::vector<std::uint32_t> argb;  // top-down, premultiplied
    std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y) * size + x]; }
};

inline Pixels Read(HICON icon, int size) {
    Pixels p;
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return p;
    BITMAPINFO bmi = TopDownArgbInfo(size);
    p.size = size;
    p.argb.resize(static_cast<std::size_t>(size) * size);
    GetDIBits(ScopedGetDC(nullptr).Get(), info.hbmColor, 0, size, p.argb.data(), &bmi,
              DIB_RGB_COLORS);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return p;
}

// A 32-bit TGA with alpha, for the contact sheet.
inline void SaveTga(const Pixels& p, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    const unsigned char header[18] = {0,
                                      0,
                                      2,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      static_cast<unsigned char>(p.size),
                                      0,
                                      static_cast<unsigned char>(p.size),
                                      0,
                                      32,
                                      0x28};
    std::fwrite(header, 1, sizeof header, f);
    for (std::uint32_t px : p.argb) {
        const std::uint32_t a = px >> 24;
        auto un = [&](int shift) {
            return static_cast<unsigned char>(a ? ((px >> shift) & 0xFF) * 255 / a : 0);
        };
        const unsigned char bgra[4] = {un(0), un(8), un(16), static_cast<unsigned char>(a)};
        std::fwrite(bgra, 1, 4, f);
    }
    std::fclose(f);
}

}  // namespace vt::test
