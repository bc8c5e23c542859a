// The hourly forecast as Open-Meteo's /v1/forecast answers it with
//   hourly=temperature_2m,relative_humidity_2m,surface_pressure,wind_speed_10m,
//          wind_direction_10m,weather_code,cloud_cover&timezone=GMT
// read and checked before anything is built from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vtf {

inline constexpr std::size_t kMaxInputBytes = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxHours = 384;  // 16 days, the most the API gives

// One value per hour; nullopt where the answer held null.
struct HourlySeries {
    std::int64_t firstHour = 0;                        // hours since 1970-01-01 00:00 UTC
    std::vector<std::optional<double>> temperature;    // °C
    std::vector<std::optional<double>> humidity;       // %
    std::vector<std::optional<double>> pressure;       // hPa, at the surface
    std::vector<std::optional<double>> windSpeed;      // km/h
    std::vector<std::optional<double>> windDirection;  // degrees, where the wind comes from
    std::vector<std::optional<double>> cloudCover;     // %
    std::vector<std::optional<int>> weatherCode;       // WMO code

    std::size_t Hours() const { return temperature.size(); }
};

// Why an input was refused: the field ("hourly.relative_humidity_2m[5]") and what is wrong.
struct Rejection {
    std::string field;
    std::string reason;
};

struct SeriesResult {
    std::optional<HourlySeries> series;
    Rejection rejection;  // when there is no series
};

// Refuses, before building any document, input over kMaxInputBytes and arrays over kMaxHours;
// then checks the units, the clock (UTC, one-hour steps) and every value's range.
SeriesResult ReadHourlySeries(std::string_view json);

// The WMO weather codes the API uses.
bool IsKnownWeatherCode(int code);

}  // namespace vtf
