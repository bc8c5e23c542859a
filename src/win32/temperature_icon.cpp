#include "win32/temperature_icon.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <optional>

#include "common/contrast.h"
#include "win32/tray_pictures.h"
#include "win32/wide.h"

namespace vt {
namespace {

// A white-on-black drawing surface whose grey levels are the ink's coverage.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = TopDownArgbInfo(width);
        info.bmiHeader.biHeight = -height;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<std::uint32_t*>(bits);
        dc_.Reset(CreateCompatibleDC(nullptr));
        if (dc_ && bitmap_) old_ = SelectObject(dc_.Get(), bitmap_.Get());
        Clear();
    }
    ~Canvas() {
        if (old_) SelectObject(dc_.Get(), old_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Ready() const { return pixels_ && old_; }
    void Clear() {
        if (pixels_) std::fill(pixels_, pixels_ + width_ * height_, 0u);
    }
    void Text(HFONT font, const std::wstring& text, int x, int y) {
        const ScopedSelectObject selected(dc_.Get(), font);
        SetTextColor(dc_.Get(), RGB(255, 255, 255));
        SetBkMode(dc_.Get(), TRANSPARENT);
        TextOutW(dc_.Get(), x, y, text.c_str(), static_cast<int>(text.size()));
        GdiFlush();
    }
    void Bar(int left, int top, int right, int bottom) {
        for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
            for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
                pixels_[y * width_ + x] = 0xFFFFFFu;
            }
        }
    }
    std::uint8_t Coverage(int x, int y) const {
        const std::uint32_t p = pixels_[y * width_ + x];
        return static_cast<std::uint8_t>((((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3);
    }
    int Height(HFONT font, const std::wstring& text) const {
        const ScopedSelectObject selected(dc_.Get(), font);
        SIZE extent = {};
        GetTextExtentPoint32W(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cy;
    }
    int Columns() const { return width_; }
    int Rows() const { return height_; }

  private:
    int width_, height_;
    UniqueGdiObject bitmap_;
    std::uint32_t* pixels_ = nullptr;
    UniqueDc dc_;
    HGDIOBJ old_ = nullptr;
};

UniqueGdiObject Arial(int cellHeight, int averageWidth) {
    LOGFONTW font = {};
    font.lfHeight = cellHeight;
    font.lfWidth = averageWidth;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    wcscpy(font.lfFaceName, L"Arial");
    return UniqueGdiObject(CreateFontIndirectW(&font));
}

int AverageWidth(HFONT font) {
    const UniqueDc dc(CreateCompatibleDC(nullptr));
    const ScopedSelectObject selected(dc.Get(), font);
    TEXTMETRICW metrics = {};
    return GetTextMetricsW(dc.Get(), &metrics) ? metrics.tmAveCharWidth : 0;
}

// Where a text's ink lies when drawn at x = origin: columns relative to it, rows absolute.
struct InkBox {
    int left = 0, width = 0;             // any coverage
    int solidTop = 0, solidBottom = -1;  // rows holding coverage of at least a half
};

std::optional<InkBox> Measure(Canvas& canvas, HFONT font, const std::wstring& text, int origin,
                              int y) {
    canvas.Clear();
    canvas.Text(font, text, origin, y);
    int minX = canvas.Columns(), maxX = -1, solidTop = canvas.Rows(), solidBottom = -1;
    for (int row = 0; row < canvas.Rows(); ++row) {
        for (int x = 0; x < canvas.Columns(); ++x) {
            const std::uint8_t c = canvas.Coverage(x, row);
            if (c == 0) continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            if (c >= 128) {
                solidTop = std::min(solidTop, row);
                solidBottom = std::max(solidBottom, row);
            }
        }
    }
    if (maxX < 0) return std::nullopt;
    return InkBox{minX - origin, maxX - minX + 1, solidTop, solidBottom};
}

// Each character is measured and placed by itself, a fixed gap apart: the narrow gaps of a
// small icon stay one column wide.
struct Layout {
    UniqueGdiObject font;
    int y = 0;
    std::wstring digits;
    std::vector<InkBox> glyphs;  // one per digit
    std::optional<InkBox> minus;
    int minusLength = 0, gap = 0;
    int Width() const {
        int width = minus ? minusLength + gap : 0;
        for (const InkBox& g : glyphs) width += g.width + gap;
        return width - gap;
    }
    int DigitHeight() const {
        int top = 1 << 20, bottom = -1;
        for (const InkBox& g : glyphs) {
            top = std::min(top, g.solidTop);
            bottom = std::max(bottom, g.solidBottom);
        }
        return bottom - top + 1;
    }
};

// The text in Arial of that cell height and average width (0: the font's own), measured.
std::optional<Layout> Measured(Canvas& scratch, const std::wstring& digits, bool negative, int cell,
                               int averageWidth, int size) {
    Layout layout;
    layout.font = Arial(cell, averageWidth);
    const auto font = static_cast<HFONT>(layout.font.Get());
    const int origin = size;
    layout.y = size / 2 - scratch.Height(font, digits) / 2;
    layout.digits = digits;
    layout.gap = std::max(1, size / 16);
    for (wchar_t digit : digits) {
        const auto glyph = Measure(scratch, font, std::wstring(1, digit), origin, layout.y);
        if (!glyph) return std::nullopt;
        layout.glyphs.push_back(*glyph);
    }
    if (negative) {
        layout.minus = Measure(scratch, font, L"-", origin, layout.y);
        if (!layout.minus) return std::nullopt;
        layout.minusLength = std::max((size + 4) / 5, layout.minus->width);
    }
    return layout;
}

// The first cut that fits: the specified cell height, then a pixel smaller at a time while the
// digits keep 9/16 of the icon, then narrower at that height, down to 60 % of the font's width.
std::optional<Layout> Fitted(Canvas& scratch, const std::wstring& digits, bool negative, int size) {
    const int room = size - 2;  // a column each side for the halo
    const int shortestDigits = (9 * size + 15) / 16;
    int cell = static_cast<int>(std::lround(15.0 * size / 16.0));
    auto layout = Measured(scratch, digits, negative, cell, 0, size);
    if (!layout) return std::nullopt;
    while (layout->Width() > room) {
        auto smaller =
            cell > 1 ? Measured(scratch, digits, negative, cell - 1, 0, size) : std::nullopt;
        if (!smaller || smaller->DigitHeight() < shortestDigits) break;
        --cell;
        layout = std::move(smaller);
    }
    if (layout->Width() <= room) return layout;
    const int average = AverageWidth(static_cast<HFONT>(Arial(cell, 0).Get()));
    for (int width = average - 1; width > 0 && width * 10 >= average * 6; --width) {
        layout = Measured(scratch, digits, negative, cell, width, size);
        if (layout && layout->Width() <= room) return layout;
    }
    return std::nullopt;
}

}  // namespace

TemperatureInk DrawTemperatureInk(const std::string& text, int size) {
    TemperatureInk ink;
    ink.size = size;
    ink.coverage.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), 0);
    const bool negative = !text.empty() && text.front() == '-';
    const std::wstring digits = Wide(negative ? text.substr(1) : text);
    if (digits.empty() || size <= 2) return ink;

    // Measured on a canvas wide enough that nothing is cut.
    Canvas scratch(size * 4, size);
    if (!scratch.Ready()) return ink;
    const std::optional<Layout> chosen = Fitted(scratch, digits, negative, size);
    if (!chosen) return ink;

    Canvas canvas(size, size);
    if (!canvas.Ready()) return ink;
    // Centred by the specified rule, on the ink's width.
    int x = size / 2 - chosen->Width() / 2;
    if (chosen->minus) {
        const InkBox& m = *chosen->minus;
        const int top = m.solidBottom >= m.solidTop ? m.solidTop : size / 2;
        const int bottom = m.solidBottom >= m.solidTop ? m.solidBottom + 1 : top + 1;
        canvas.Bar(x, top, x + chosen->minusLength, bottom);
        x += chosen->minusLength + chosen->gap;
    }
    for (std::size_t i = 0; i < chosen->glyphs.size(); ++i) {
        const InkBox& g = chosen->glyphs[i];
        canvas.Text(static_cast<HFONT>(chosen->font.Get()), std::wstring(1, digits[i]), x - g.left,
                    chosen->y);
        x += g.width + chosen->gap;
    }
    for (int row = 0; row < size; ++row) {
        for (int col = 0; col < size; ++col) {
            ink.coverage[static_cast<std::size_t>(row * size + col)] = canvas.Coverage(col, row);
        }
    }
    return ink;
}

UniqueIcon DrawTemperatureIcon(const std::string& text, Colour colour, int size) {
    const TemperatureInk ink = DrawTemperatureInk(text, size);
    BITMAPINFO info = TopDownArgbInfo(size);
    void* bits = nullptr;
    UniqueGdiObject plane(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!plane || ink.coverage.empty()) return UniqueIcon();
    auto* pixels = static_cast<std::uint32_t*>(bits);

    const COLORREF rgb = ResolveColour(colour);
    const Rgb8 fore{GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
    const Rgb8 halo = ContrastingHalo(fore);
    const auto solid = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < size && y < size && ink.At(x, y) >= 128;
    };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Whole pixels: a half-covered pixel blended into the halo would read on neither
            // taskbar.
            const std::uint32_t c = ink.At(x, y) >= 128 ? 255 : 0;
            bool nearInk = c > 0;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                nearInk = nearInk || solid(x + dx, y + dy);
            }
            if (!nearInk) {
                pixels[y * size + x] = 0;
                continue;
            }
            // The ink over an opaque halo: the figure's edge is whole pixels.
            const auto channel = [&](std::uint8_t f, std::uint8_t b) {
                return (f * c + b * (255 - c)) / 255;
            };
            pixels[y * size + x] = (255u << 24) | (channel(fore.r, halo.r) << 16) |
                                   (channel(fore.g, halo.g) << 8) | channel(fore.b, halo.b);
        }
    }
    UniqueGdiObject mask(CreateBitmap(size, size, 1, 1, nullptr));
    ICONINFO iconInfo = {};
    iconInfo.fIcon = TRUE;
    iconInfo.hbmColor = static_cast<HBITMAP>(plane.Get());
    iconInfo.hbmMask = static_cast<HBITMAP>(mask.Get());
    return UniqueIcon(CreateIconIndirect(&iconInfo));
}

}  // namespace vt
