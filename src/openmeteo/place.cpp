#include "openmeteo/place.h"

#include <charconv>
#include <cmath>

namespace vt {
namespace {

std::optional<double> ParseDegrees(std::string_view text, double limit) {
    if (text.empty() || text.size() > 16) return std::nullopt;
    double value = 0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    if (!(value >= -limit && value <= limit)) return std::nullopt;
    return value;
}

}  // namespace

std::string CoordinateText(double degrees) {
    char buffer[32];
    const double rounded = std::round(degrees * 10000) / 10000;
    // -0.00001 rounds to -0: written as 0.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded,
                                      std::chars_format::fixed, 4);
    return std::string(buffer, result.ptr);
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
