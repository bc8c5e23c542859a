// An icon's pixels read back, for the drawing tests, and saved for the contact sheet.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/contrast.h"
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

inline Rgb8 Over(std::uint32_t premultiplied, Rgb8 ground) {
    const std::uint32_t a = premultiplied >> 24;
    const auto mix = [&](int shift, std::uint8_t g) {
        return static_cast<std::uint8_t>(((premultiplied >> shift) & 0xFF) + g * (255 - a) / 255);
    };
    return {mix(16, ground.r), mix(8, ground.g), mix(0, ground.b)};
}

// The share of the figure's edge pixels (opaque, with a transparent 4-neighbour) that read
// against the ground (3:1), by themselves or by a pixel one step inward: an opaque 4-neighbour.
// Straight across from the transparent side is not enough: the top pixel of a one-column gap
// between two digits has only more halo below it, the digits to its sides.
inline double ReadableEdge(const Pixels& p, Rgb8 ground) {
    const auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < p.size && y < p.size && (p.At(x, y) >> 24) >= 128;
    };
    const auto reads = [&](int x, int y) {
        return opaque(x, y) && ContrastRatio(Over(p.At(x, y), ground), ground) >= 3.0;
    };
    int edge = 0, readable = 0;
    for (int y = 0; y < p.size; ++y) {
        for (int x = 0; x < p.size; ++x) {
            if (!opaque(x, y)) continue;
            bool isEdge = false, ok = reads(x, y);
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                if (opaque(x + dx, y + dy)) {
                    ok = ok || reads(x + dx, y + dy);
                } else {
                    isEdge = true;
                }
            }
            edge += isEdge;
            readable += isEdge && ok;
        }
    }
    return edge ? static_cast<double>(readable) / edge : 1.0;
}

}  // namespace vt::test
