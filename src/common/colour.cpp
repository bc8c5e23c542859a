#include "common/colour.h"

#include <array>
#include <string>

#include "text/encoding.h"

namespace vt {
namespace {

struct NamedColour {
    const char* name;
    std::uint32_t value;
};

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}
constexpr std::uint32_t Sys(std::uint32_t index) {
    return kSystemColourFlag | index;
}

// The colours a user can pick, then the toolkit's system colours (accepted on reading).
constexpr std::array<NamedColour, 50> kNames = {{
    {"clBlack", Rgb(0, 0, 0)},
    {"clMaroon", Rgb(128, 0, 0)},
    {"clGreen", Rgb(0, 128, 0)},
    {"clOlive", Rgb(128, 128, 0)},
    {"clNavy", Rgb(0, 0, 128)},
    {"clPurple", Rgb(128, 0, 128)},
    {"clTeal", Rgb(0, 128, 128)},
    {"clGray", Rgb(128, 128, 128)},
    {"clSilver", Rgb(192, 192, 192)},
    {"clRed", Rgb(255, 0, 0)},
    {"clLime", Rgb(0, 255, 0)},
    {"clYellow", Rgb(255, 255, 0)},
    {"clBlue", Rgb(0, 0, 255)},
    {"clFuchsia", Rgb(255, 0, 255)},
    {"clAqua", Rgb(0, 255, 255)},
    {"clWhite", Rgb(255, 255, 255)},
    {"clMoneyGreen", Rgb(192, 220, 192)},
    {"clSkyBlue", Rgb(166, 202, 240)},
    {"clCream", Rgb(255, 251, 240)},
    {"clMedGray", Rgb(160, 160, 164)},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
}};

std::optional<Colour> ParseDecimal(std::string_view text) {
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<Colour>(value);
}

std::optional<Colour> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return static_cast<Colour>(value);
}

}  // namespace

std::optional<Colour> ColourFromString(std::string_view text) {
    for (const auto& named : kNames) {
        if (EqualsIgnoreCase(text, named.name)) return static_cast<Colour>(named.value);
    }
    if (!text.empty() && text[0] == '$') return ParseHex(text.substr(1));
    return ParseDecimal(text);
}

std::string ColourToString(Colour colour) {
    for (const auto& named : kNames) {
        if (static_cast<Colour>(named.value) == colour) return named.name;
    }
    std::string text = "$";
    const auto bits = static_cast<std::uint32_t>(colour);
    for (int shift = 28; shift >= 0; shift -= 4) text += "0123456789ABCDEF"[(bits >> shift) & 0xF];
    return text;
}

}  // namespace vt
