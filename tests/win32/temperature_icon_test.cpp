#include "win32/temperature_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "common/contrast.h"
#include "icon_pixels.h"
#include "prefs/colour_box.h"

namespace vt {
namespace {

using test::Pixels;

constexpr int kSizes[] = {16, 20, 24, 32, 48};

// Ink of at least half coverage.
bool Lit(const TemperatureInk& ink, int x, int y) {
    return ink.At(x, y) >= 128;
}

bool ColumnLit(const TemperatureInk& ink, int x) {
    for (int y = 0; y < ink.size; ++y) {
        if (Lit(ink, x, y)) return true;
    }
    return false;
}

// Every text the records can give, at every size: nothing cut, one pixel clear of the edges,
// the minus a bar of a fifth of the icon with a clear column after it, the digits 9/16 tall.
TEST(DrawTemperatureInk, EveryTemperatureShowsWholeAtEverySize) {
    for (int size : kSizes) {
        for (int t = -70; t <= 57; ++t) {
            const std::string text = std::to_string(t);
            const std::string where = text + " at " + std::to_string(size);
            const TemperatureInk ink = DrawTemperatureInk(text, size);
            ASSERT_EQ(ink.coverage.size(), static_cast<std::size_t>(size * size)) << where;
            for (int i = 0; i < size; ++i) {
                for (auto [x, y] : {std::pair{i, 0}, {i, size - 1}, {0, i}, {size - 1, i}}) {
                    ASSERT_EQ(ink.At(x, y), 0) << where << ": ink at the edge " << x << "," << y;
                }
            }
            int x = 0;
            while (x < size && !ColumnLit(ink, x)) ++x;
            ASSERT_LT(x, size) << where << ": nothing drawn";
            if (t < 0) {
                int longest = 0;
                for (int y = 0; y < size; ++y) {
                    int run = 0;
                    while (x + run < size && Lit(ink, x + run, y)) ++run;
                    longest = std::max(longest, run);
                }
                EXPECT_GE(longest * 5, size) << where << ": minus " << longest << " px";
                x += longest;
                EXPECT_FALSE(ColumnLit(ink, x)) << where << ": no clear column after the minus";
                while (x < size && !ColumnLit(ink, x)) ++x;
            }
            int top = size, bottom = -1;
            for (int col = x; col < size; ++col) {
                for (int y = 0; y < size; ++y) {
                    if (!Lit(ink, col, y)) continue;
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
            EXPECT_GE((bottom - top + 1) * 16, 9 * size) << where << ": digits too short";
        }
    }
}

// The rows a digit of Arial at the specified cell height (15/16 of the icon) covers by half.
int SpecifiedDigitHeight(wchar_t digit, int size) {
    LOGFONTW lf = {};
    lf.lfHeight = static_cast<LONG>(std::lround(15.0 * size / 16.0));
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpyW(lf.lfFaceName, L"Arial");
    const UniqueGdiObject font(CreateFontIndirectW(&lf));
    const UniqueDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = TopDownArgbInfo(size * 2);
    void* bits = nullptr;
    const UniqueGdiObject bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ScopedSelectObject selectedBitmap(dc.Get(), bitmap.Get());
    const ScopedSelectObject selectedFont(dc.Get(), font.Get());
    SetTextColor(dc.Get(), RGB(255, 255, 255));
    SetBkColor(dc.Get(), RGB(0, 0, 0));
    TextOutW(dc.Get(), size / 2, size / 2, &digit, 1);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    int top = size * 2, bottom = -1;
    for (int y = 0; y < size * 2; ++y) {
        for (int x = 0; x < size * 2; ++x) {
            if ((pixels[y * size * 2 + x] & 0xFF) < 128) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return bottom - top + 1;
}

// A text that fits at the specified height keeps it.
TEST(DrawTemperatureInk, OneDigitKeepsTheSpecifiedHeight) {
    for (int size : kSizes) {
        for (char digit = '0'; digit <= '9'; ++digit) {
            const TemperatureInk ink = DrawTemperatureInk(std::string(1, digit), size);
            int top = size, bottom = -1;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    if (!Lit(ink, x, y)) continue;
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
            EXPECT_EQ(bottom - top + 1, SpecifiedDigitHeight(static_cast<wchar_t>(digit), size))
                << digit << " at " << size;
        }
    }
}

// Every colour of the colour box reads on the dark and on the light taskbar, thanks to the
// halo; the drawn icons go to the contact sheet.
TEST(DrawTemperatureIcon, EveryColourReadsOnBothTaskbars) {
    const Rgb8 dark{32, 32, 32}, light{243, 243, 243};
    const char* artefacts = std::getenv("VT_ARTEFACTS");
    for (int size : kSizes) {
        for (const ColourBoxEntry& colour : kColourBoxColours) {
            for (const char* text : {"-5", "-25", "12"}) {
                const std::string where =
                    std::string(text) + " " + colour.name + " " + std::to_string(size);
                const UniqueIcon icon = DrawTemperatureIcon(text, colour.colour, size);
                ASSERT_TRUE(icon) << where;
                const Pixels p = test::Read(icon.Get(), size);
                EXPECT_GE(test::ReadableEdge(p, dark), 0.9) << where << " on the dark taskbar";
                EXPECT_GE(test::ReadableEdge(p, light), 0.9) << where << " on the light taskbar";
                const char* sheetName = colour.colour == 0x000000   ? "black"
                                        : colour.colour == 0xFFFFFF ? "white"
                                        : colour.colour == 0x0000FF ? "red"
                                                                    : nullptr;
                if (artefacts && sheetName) {
                    test::SaveTga(p, std::string(artefacts) + "\\temp" + text + "-" + sheetName +
                                         "-" + std::to_string(size) + ".tga");
                }
            }
        }
    }
}

// The digits are the chosen colour over a black or white halo, on a transparent ground.
TEST(DrawTemperatureIcon, DigitsInTheChosenColourOverAHaloOnATransparentGround) {
    const Colour colours[] = {0x000000, 0xFFFFFF, 0x0000FF, static_cast<Colour>(0x80000010u)};
    for (Colour colour : colours) {
        const COLORREF rgb = ResolveColour(colour);
        const Rgb8 digits{GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
        const Rgb8 halo = ContrastingHalo(digits);
        const auto channels = [](Rgb8 c) { return std::array<int, 3>{c.r, c.g, c.b}; };
        for (int size : {16, 32}) {
            const Pixels p = test::Read(DrawTemperatureIcon("-12", colour, size).Get(), size);
            int inDigits = 0, inHalo = 0;
            for (std::uint32_t px : p.argb) {
                if ((px >> 24) < 255) continue;
                const Rgb8 seen{static_cast<std::uint8_t>(px >> 16),
                                static_cast<std::uint8_t>(px >> 8), static_cast<std::uint8_t>(px)};
                inDigits += seen == digits;
                inHalo += seen == halo;
                // Antialiased edges blend the two, nothing else.
                for (int i = 0; i < 3; ++i) {
                    const int v = channels(seen)[i], d = channels(digits)[i], h = channels(halo)[i];
                    EXPECT_TRUE(v >= std::min(d, h) - 1 && v <= std::max(d, h) + 1)
                        << std::hex << px << " at " << std::dec << size;
                }
            }
            EXPECT_GT(inDigits, 4) << colour << " at " << size;
            EXPECT_GT(inHalo, 4) << colour << " at " << size;
            EXPECT_EQ(p.At(0, 0) >> 24, 0u);
            EXPECT_EQ(p.At(size - 1, size - 1) >> 24, 0u);
        }
    }
}

}  // namespace
}  // namespace vt
