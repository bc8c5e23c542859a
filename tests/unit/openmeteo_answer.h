// Open-Meteo answers for the tests: valid ones to change one thing in.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "common/calendar.h"

namespace vt {

using nlohmann::json;

// A valid answer of `hours` hours from `first` 00:00 on the clock of `offsetSeconds`.
inline json Answer(int hours = 48, CivilDate first = {2026, 1, 15}, int offsetSeconds = 0) {
    json hourly = {{"time", json::array()},
                   {"temperature_2m", json::array()},
                   {"relative_humidity_2m", json::array()},
                   {"surface_pressure", json::array()},
                   {"wind_speed_10m", json::array()},
                   {"wind_direction_10m", json::array()},
                   {"weather_code", json::array()},
                   {"cloud_cover", json::array()}};
    auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    for (int h = 0; h < hours; ++h) {
        const CivilDate day = CivilFromDays(DaysFromCivil(first) + h / 24);
        hourly["time"].push_back(std::to_string(day.year) + "-" + two(day.month) + "-" +
                                 two(day.day) + "T" + two(h % 24) + ":00");
        hourly["temperature_2m"].push_back(-5.5);
        hourly["relative_humidity_2m"].push_back(85);
        hourly["surface_pressure"].push_back(997.2);
        hourly["wind_speed_10m"].push_back(14.4);
        hourly["wind_direction_10m"].push_back(135);
        hourly["weather_code"].push_back(73);
        hourly["cloud_cover"].push_back(70);
    }
    return {{"latitude", 55.75},
            {"longitude", 37.62},
            {"utc_offset_seconds", offsetSeconds},
            {"timezone", "GMT"},
            {"hourly_units",
             {{"time", "iso8601"},
              {"temperature_2m", "°C"},
              {"relative_humidity_2m", "%"},
              {"surface_pressure", "hPa"},
              {"wind_speed_10m", "km/h"},
              {"wind_direction_10m", "°"},
              {"weather_code", "wmo code"},
              {"cloud_cover", "%"}}},
            {"hourly", hourly}};
}

}  // namespace vt
