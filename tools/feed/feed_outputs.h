// The bytes of the files the feed publishes.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "feed_towns.h"
#include "forecast/forecast_types.h"
#include "openmeteo/town_page.h"

namespace vtf {

// "index;name;x;country;" lines in code page 1251, CR LF after each, in the towns file's order.
std::string TownListFile(std::span<const FeedTown> towns);

// «Прогноз на 3 дня» for the town (vt::TownPage), UTF-8 HTML. No rows: unavailable.
std::string TownPage(const FeedTown& town, std::span<const vt::PageRow> rows);

// The site's front page: every town with a link to its page.
std::string IndexPage(std::span<const FeedTown> towns);

}  // namespace vtf
