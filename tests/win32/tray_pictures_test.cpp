#include "win32/tray_pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vt {
namespace {

struct Pixels {
    int size = 0;
    std::vector<std::uint32_t> argb;  // top-down, premultiplied
    std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y) * size + x]; }
};

Pixels Read(HICON icon, int size) {
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
void SaveTga(const Pixels& p, const std::string& path) {
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

TEST(DrawTemperatureIcon, DigitsInTheChosenColourOnATransparentGround) {
    struct Colour {
        const char* name;
        vt::Colour value;
    };
    const Colour colours[] = {{"black", 0x000000}, {"white", 0xFFFFFF}, {"red", 0x0000FF}};
    const char* texts[] = {"-25", "-5", "0", "7", "12", "35"};
    const char* artefacts = std::getenv("VT_ARTEFACTS");
    for (int size : {16, 32}) {
        for (const auto& colour : colours) {
            for (const char* text : texts) {
                UniqueIcon icon = DrawTemperatureIcon(text, colour.value, size);
                ASSERT_TRUE(icon) << text;
                const Pixels p = Read(icon.Get(), size);
                ASSERT_EQ(p.size, size);
                const std::string where =
                    std::string(text) + " " + colour.name + " " + std::to_string(size);
                EXPECT_EQ(p.At(0, 0) >> 24, 0u) << where;
                EXPECT_EQ(p.At(size - 1, size - 1) >> 24, 0u) << where;
                int solid = 0, minX = size, maxX = -1;
                for (int y = 0; y < size; ++y) {
                    for (int x = 0; x < size; ++x) {
                        const std::uint32_t px = p.At(x, y);
                        if ((px >> 24) == 0) continue;
                        minX = std::min(minX, x);
                        maxX = std::max(maxX, x);
                        if ((px >> 24) < 250) continue;
                        ++solid;
                        const COLORREF rgb = ResolveColour(colour.value);
                        EXPECT_EQ(px & 0xFFFFFF,
                                  (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
                                      (GetGValue(rgb) << 8) | GetBValue(rgb))
                            << where;
                    }
                }
                EXPECT_GT(solid, 0) << where << ": no solid pixel";
                if (maxX - minX + 1 < size) {
                    EXPECT_LE(std::abs((minX + maxX + 1) - size), 3) << where << ": not centred";
                }
                if (artefacts) {
                    SaveTga(p, std::string(artefacts) + "\\temp-" + text + "-" + colour.name + "-" +
                                   std::to_string(size) + ".tga");
                }
            }
        }
    }
}

TEST(DrawTemperatureIcon, TheShadowColourNoLongerVanishes) {
    const vt::Colour shadow = static_cast<vt::Colour>(0x80000010u);  // clBtnShadow
    UniqueIcon icon = DrawTemperatureIcon("12", shadow, 16);
    const Pixels p = Read(icon.Get(), 16);
    int opaque = 0;
    for (std::uint32_t px : p.argb) opaque += (px >> 24) >= 250;
    EXPECT_GT(opaque, 5);
}

TEST(LoadTrayPicture, EveryPictureOfBothStylesAtEverySize) {
    for (bool light : {false, true}) {
        for (int picture = 0; picture < 12; ++picture) {
            for (int size : {16, 20, 24, 32}) {
                UniqueIcon icon = LoadTrayPicture(picture, light, size);
                ASSERT_TRUE(icon) << picture << (light ? " light " : " dark ") << size;
                ICONINFO info = {};
                ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
                BITMAP bm = {};
                GetObjectW(info.hbmColor, sizeof bm, &bm);
                EXPECT_EQ(bm.bmWidth, size);
                DeleteObject(info.hbmColor);
                DeleteObject(info.hbmMask);
            }
        }
    }
}

}  // namespace
}  // namespace vt
