// Where a town lies, as the settings and the town list write it: degrees with a dot and four
// decimals, whatever the user's regional settings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vt {

struct Place {
    double latitude = 0;
    double longitude = 0;
};

// "55.7558": to_chars and from_chars never consult the locale, unlike printf and streams.
std::string CoordinateText(double degrees);

// Nullopt unless both are plain decimal numbers within -90..90 and -180..180.
std::optional<Place> ParsePlace(std::string_view latitude, std::string_view longitude);

// The list's "latitude;longitude;" after its fourth field.
std::optional<Place> ParsePlaceFields(std::string_view fields);

}  // namespace vt
