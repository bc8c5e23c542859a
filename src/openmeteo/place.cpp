#include "openmeteo/place.h"

#include <cmath>
#include <cstdint>

namespace vt {
namespace {

constexpr int kDecimals = 4;

// "-55.7558": an optional minus, digits, and at most 8 decimals after a dot; the floating-point
// parsers of the library would add a hundred kilobytes of tables to the program.
std::optional<double> ParseDegrees(std::string_view text, double limit) {
    constexpr std::size_t kMaxDecimals = 8;
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    if (whole.empty() || whole.size() > 3 || fraction.size() > kMaxDecimals ||
        (dot != std::string_view::npos && fraction.empty())) {
        return std::nullopt;
    }
    std::int64_t units = 0, scale = 1;
    for (char c : whole) {
        if (c < '0' || c > '9') return std::nullopt;
        units = units * 10 + (c - '0');
    }
    for (char c : fraction) {
        if (c < '0' || c > '9') return std::nullopt;
        units = units * 10 + (c - '0');
        scale *= 10;
    }
    const double value =
        (negative ? -1.0 : 1.0) * static_cast<double>(units) / static_cast<double>(scale);
    if (value < -limit || value > limit) return std::nullopt;
    return value;
}

}  // namespace

std::string DecimalText(double value, int decimals, bool trimZeros) {
    if (std::isnan(value)) return "nan";
    if (std::fabs(value) >= 1e12) return value < 0 ? "-huge" : "huge";
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const std::int64_t units = std::llround(std::fabs(value) * static_cast<double>(scale));
    std::string fraction = std::to_string(units % scale);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    if (trimZeros) fraction.erase(fraction.find_last_not_of('0') + 1);
    std::string text = value < 0 && units != 0 ? "-" : "";
    text += std::to_string(units / scale);
    if (!fraction.empty()) text += "." + fraction;
    return text;
}

std::string CoordinateText(double degrees) {
    return DecimalText(degrees, kDecimals, false);
}

std::optional<Place> ParsePlace(std::string_view latitude, std::string_view longitude) {
    const std::optional<double> lat = ParseDegrees(latitude, 90);
    const std::optional<double> lon = ParseDegrees(longitude, 180);
    if (!lat || !lon) return std::nullopt;
    return Place{*lat, *lon};
}

std::optional<Place> ParsePlaceFields(std::string_view fields) {
    const std::size_t first = fields.find(';');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = fields.find(';', first + 1);
    return ParsePlace(
        fields.substr(0, first),
        fields.substr(first + 1, second == std::string_view::npos ? std::string_view::npos
                                                                  : second - first - 1));
}

}  // namespace vt
