// The open forecast API's /v1/forecast, answered from the feed's shipped samples: the town
// nearest the asked place, its sample's hours moved to today on the town's clock, in the shape
// the API documents for timezone=auto; and the geocoding API's /v1/search over the feed's towns
// and places.csv.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/calendar.h"
#include "feed_towns.h"
#include "http_response.h"
#include "openmeteo/hourly_answer.h"

namespace vts {

struct SampleTown {
    vtf::FeedTown town;
    vt::HourlySeries series;
};

class ApiSamples {
  public:
    // towns.csv and samples/<index>.json of the feed's folder; an error names what is wrong.
    static std::optional<ApiSamples> Load(const std::filesystem::path& feedFolder,
                                          std::string& error);

    // The answer to /v1/forecast?<rawQuery> at `now`: 400 with the API's error object for a
    // missing or invalid place.
    HttpResponse Forecast(std::string_view rawQuery, const vt::UtcTime& now) const;

    // The answer to /v1/search?<rawQuery>: the places whose name begins with `name` (letter
    // case aside), at most `count` (1..100, default 10); no "results" when none.
    HttpResponse Search(std::string_view rawQuery) const;

    const SampleTown& Nearest(double latitude, double longitude) const;

  private:
    struct SearchPlace {
        long long id;
        std::string name, region, country;
        double latitude, longitude;
    };
    std::vector<SampleTown> towns_;
    std::vector<SearchPlace> places_;
};

}  // namespace vts
