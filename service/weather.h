// Pseudo-weather: the same town and day always give the same forecast, shaped by the season.
#pragma once

#include <array>
#include <string>

#include "common/calendar.h"
#include "forecast/forecast_types.h"
#include "towns.h"

namespace vts {

inline constexpr int kPeriodDay = 1;
inline constexpr int kPeriodNight = 3;

// One period of one day for a town.
vt::ForecastRecord WeatherFor(const Town& town, vt::CivilDate date, int period);

// What the forecast file carries at `now`: the day record of today while today's day (12-17
// UTC) is still ahead or current, else of tomorrow; then the night that follows now, the one
// dated tomorrow.
std::array<vt::ForecastRecord, 2> ForecastRecordsAt(const Town& town, const vt::UtcTime& now);

// The two records as masked lines, CR LF after each.
std::string ForecastFile(const Town& town, const vt::UtcTime& now);

}  // namespace vts
