// The feed builder's outside input: an Open-Meteo answer and the operator's towns file. Whatever
// they hold, a record built from an accepted answer stays inside the fields' ranges.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "feed_towns.h"
#include "fuzz_check.h"
#include "openmeteo/hourly_answer.h"
#include "openmeteo/period_mapping.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vt::fuzz::Check;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vtf::TownsFile towns = vtf::ParseTownsFile(text);
    Check(towns.error.empty() != towns.towns.empty());
    for (const vtf::FeedTown& town : towns.towns) {
        Check(town.index.size() == 5 && town.utcOffsetMinutes >= -720 &&
              town.utcOffsetMinutes <= 840);
    }

    const vt::SeriesResult read = vt::ReadHourlySeries(text);
    Check(read.series.has_value() == read.rejection.field.empty());
    if (!read.series) return 0;
    Check(read.series->Hours() <= vt::kMaxHours);
    const vt::UtcTime first = vt::FromUnixMillis(read.series->firstMinute * 60000);
    for (int offset : {-720, 0, 180, 345, 840, read.series->utcOffsetMinutes}) {
        const vt::FileRecords file = vt::FileRecordsAt(*read.series, offset, first);
        Check(file.records.has_value() == file.rejection.field.empty());
        if (!file.records) continue;
        for (const vt::ForecastRecord& r : *file.records) {
            Check(r.sky >= 1 && r.sky <= 9 && r.temperature >= -70 && r.temperature <= 57 &&
                  r.pressure >= 500 && r.pressure <= 1011 && r.humidity >= 0 && r.humidity <= 100 &&
                  r.windDirection >= 0 && r.windDirection <= 7 && r.windSpeed >= 0 &&
                  r.windSpeed <= 7);
        }
    }
    return 0;
}
