#include "json_text.h"

#include <cstddef>
#include <cstdint>

namespace vts {
namespace {

// Length of the valid UTF-8 sequence at s[i] (1..4), or 0 when it is not valid UTF-8.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (b & 0x3F);
    }
    if (length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
    if (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
    return length;
}

void AppendEscaped(std::string& out, unsigned value) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u00";
    out += kHex[value >> 4 & 0xF];
    out += kHex[value & 0xF];
}

}  // namespace

std::string JsonString(std::string_view bytes) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7F) {
            AppendEscaped(out, c);
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            AppendEscaped(out, c);
            ++i;
            continue;
        }
        out.append(bytes.substr(i, length));
        i += length;
    }
    out += '"';
    return out;
}

}  // namespace vts
