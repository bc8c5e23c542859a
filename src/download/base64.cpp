#include "download/base64.h"

#include <cstddef>
#include <cstdint>

namespace vt {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                                    static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                                    static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[group >> 18 & 0x3F];
        out += kAlphabet[group >> 12 & 0x3F];
        out += kAlphabet[group >> 6 & 0x3F];
        out += kAlphabet[group & 0x3F];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (rest == 2) group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        out += kAlphabet[group >> 18 & 0x3F];
        out += kAlphabet[group >> 12 & 0x3F];
        out += rest == 2 ? kAlphabet[group >> 6 & 0x3F] : '=';
        out += '=';
    }
    return out;
}

}  // namespace vt
