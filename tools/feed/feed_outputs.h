// The bytes of the files the feed publishes.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "feed_towns.h"
#include "forecast/forecast_types.h"

namespace vtf {

// "index;name;x;country;" lines in code page 1251, CR LF after each, in the towns file's order.
std::string TownListFile(std::span<const FeedTown> towns);

// One row of the town page: a period and its record, or nothing when the data did not cover it.
struct PageRow {
    vt::CivilDate date;
    int period = 0;
    std::optional<vt::ForecastRecord> record;
};

// «Прогноз на 3 дня» for the town, UTF-8 HTML; the rows read as the tray would show them. No
// rows: the forecast is unavailable.
std::string TownPage(const FeedTown& town, std::span<const PageRow> rows);

// The site's front page: every town with a link to its page.
std::string IndexPage(std::span<const FeedTown> towns);

}  // namespace vtf
