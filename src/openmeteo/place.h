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

// "55.7558", rounded half away from zero; written and read without the C library's locale.
std::string CoordinateText(double degrees);

// The decimal text of a number rounded half away from zero to `decimals` places, trailing zeros
// dropped when asked; "huge" beyond 1e12. Without printf, whose floating-point code would add
// tens of kilobytes to the program.
std::string DecimalText(double value, int decimals, bool trimZeros);

// Nullopt unless both are plain decimal numbers within -90..90 and -180..180.
std::optional<Place> ParsePlace(std::string_view latitude, std::string_view longitude);

// The list's "latitude;longitude;" after its fourth field.
std::optional<Place> ParsePlaceFields(std::string_view fields);

}  // namespace vt
