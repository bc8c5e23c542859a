#include "download/base64.h"

#include <cstddef>
#include <cstdint>

namespace vt {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    const auto byteAt = [bytes](std::size_t i) -> std::uint32_t {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0U;
    };
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t group = byteAt(i) << 16 | byteAt(i + 1) << 8 | byteAt(i + 2);
        const std::size_t present = bytes.size() - i;  // 1, 2 or 3 and more
        out += kAlphabet[group >> 18 & 0x3F];
        out += kAlphabet[group >> 12 & 0x3F];
        out += present > 1 ? kAlphabet[group >> 6 & 0x3F] : '=';
        out += present > 2 ? kAlphabet[group & 0x3F] : '=';
    }
    return out;
}

}  // namespace vt
