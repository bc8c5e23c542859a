// «Прогноз на 3 дня» of a town: the rest of today's periods and the two days after, built from
// the same hours as the forecast file, for the program's own page and the feed's.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/calendar.h"
#include "forecast/forecast_types.h"
#include "openmeteo/hourly_answer.h"

namespace vt {

inline constexpr const char* kDataCredit = "Данные о погоде: Open-Meteo.com (CC BY 4.0)";
inline constexpr const char* kDataSourceAddress = "https://open-meteo.com/";

// One row of the page: a period and its record, or nothing when the data did not cover it.
// The record's wind is the real mean speed, not capped at the file's 7 m/s.
struct PageRow {
    CivilDate date;
    int period = 0;
    std::optional<ForecastRecord> record;
};

// Today's periods that have not ended and those of the two days after, in the order they come.
std::vector<PageRow> PageRows(const HourlySeries& series, int utcOffsetMinutes, const UtcTime& now);

// A UTF-8 HTML page of that title and body, with the data's credit at its foot.
std::string HtmlPage(std::string_view title, std::string_view body);

// The page for the town; no rows: the forecast is unavailable.
std::string TownPage(std::string_view name, std::string_view country,
                     std::span<const PageRow> rows);

}  // namespace vt
