#include "forecast/record_integer.h"

#include <limits>
#include <optional>

namespace vt {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::uint64_t> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0 || value >> 60 != 0) return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(d);
    }
    return value;
}

// The magnitude, allowed up to 2^63 so that the most negative value can be read.
std::optional<std::uint64_t> ParseDecimal(std::string_view digits) {
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto d = static_cast<std::uint64_t>(c - '0');
        if (value > (kLimit - d) / 10) return std::nullopt;
        value = value * 10 + d;
    }
    return value;
}

}  // namespace

std::int64_t ParseRecordInteger(std::string_view line) {
    std::size_t i = line.find_first_not_of(' ');
    if (i == std::string_view::npos) return 0;
    line.remove_prefix(i);

    bool negative = false;
    if (line.front() == '+' || line.front() == '-') {
        negative = line.front() == '-';
        line.remove_prefix(1);
    }

    std::size_t prefix = 0;
    if (line.starts_with('$') || line.starts_with('x') || line.starts_with('X')) {
        prefix = 1;
    } else if (line.starts_with("0x") || line.starts_with("0X")) {
        prefix = 2;
    }

    if (prefix != 0) {
        const std::optional<std::uint64_t> bits = ParseHex(line.substr(prefix));
        if (!bits) return 0;
        const std::uint64_t pattern = negative ? 0 - *bits : *bits;
        return static_cast<std::int64_t>(pattern);
    }

    const std::optional<std::uint64_t> magnitude = ParseDecimal(line);
    if (!magnitude) return 0;
    if (negative) return static_cast<std::int64_t>(0 - *magnitude);
    if (*magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return 0;
    return static_cast<std::int64_t>(*magnitude);
}

}  // namespace vt
