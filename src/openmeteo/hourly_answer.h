// The hourly forecast as Open-Meteo's /v1/forecast answers it with
//   hourly=temperature_2m,relative_humidity_2m,surface_pressure,wind_speed_10m,
//          wind_direction_10m,weather_code,cloud_cover
// read and checked before anything is built from it. The hours are the wall-clock hours of the
// answer's one UTC offset (0 with timezone=GMT; the offset valid at the request with
// timezone=auto, which the API keeps across a change to or from summer time).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "openmeteo/rejection.h"

namespace vt {

inline constexpr std::size_t kMaxAnswerBytes = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxHours = 384;  // 16 days, the most the API gives
// Every value of an answer of kMaxHours in all its columns, with room for other members.
inline constexpr std::size_t kMaxAnswerValues = 16 * kMaxHours;
// The zones of the world lie between UTC-12 and UTC+14.
inline constexpr int kMinUtcOffsetMinutes = -12 * 60;
inline constexpr int kMaxUtcOffsetMinutes = 14 * 60;

// One value per hour; nullopt where the answer held null.
struct HourlySeries {
    std::int64_t firstMinute = 0;  // the first hour, in minutes since 1970-01-01 00:00 UTC
    int utcOffsetMinutes = 0;      // of the answer's clock
    std::vector<std::optional<double>> temperature;    // °C
    std::vector<std::optional<double>> humidity;       // %
    std::vector<std::optional<double>> pressure;       // hPa, at the surface
    std::vector<std::optional<double>> windSpeed;      // km/h
    std::vector<std::optional<double>> windDirection;  // degrees, where the wind comes from
    std::vector<std::optional<double>> cloudCover;     // %
    std::vector<std::optional<int>> weatherCode;       // WMO code

    std::size_t Hours() const { return temperature.size(); }
};

struct SeriesResult {
    std::optional<HourlySeries> series;
    Rejection rejection;  // when there is no series
};

// Refuses input over kMaxAnswerBytes before parsing, then anything but one JSON object, arrays
// over kMaxHours, other units, a clock that is not one-hour steps of whole hours, an offset
// outside the world's zones, and every value out of its range.
SeriesResult ReadHourlySeries(std::string_view json);

// The WMO weather codes the API uses.
bool IsKnownWeatherCode(int code);

}  // namespace vt
