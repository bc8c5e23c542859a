#include "api_samples.h"

#include <gtest/gtest.h>

#include "openmeteo/geocoding.h"
#include "openmeteo/hourly_answer.h"
#include "openmeteo/period_mapping.h"
#include "routes.h"

namespace vts {
namespace {

TEST(ApiSamples, TheNearestTownsSampleOnItsClockFromItsLocalMidnightToday) {
    std::string error;
    const std::optional<ApiSamples> api = ApiSamples::Load(VT_SERVICE_FEED_DIR, error);
    ASSERT_TRUE(api) << error;
    struct Case {
        const char* query;
        const char* now;
        int offsetMinutes;
        vt::CivilDate firstDay;
    };
    const Case cases[] = {
        // Tula is nearest to Moscow; 22:00 UTC is already tomorrow there.
        {"latitude=54.1961&longitude=37.6182&timezone=auto",
         "2026-12-10T09:00:00Z",
         180,
         {2026, 12, 10}},
        {"latitude=54.1961&longitude=37.6182", "2026-12-10T22:00:00Z", 180, {2026, 12, 11}},
        {"latitude=43.1&longitude=131.9", "2026-12-10T09:00:00Z", 600, {2026, 12, 10}},
        {"latitude=53.0452&longitude=-179.9", "2026-12-10T09:00:00Z", 720, {2026, 12, 10}},
    };
    for (const Case& c : cases) {
        const vt::UtcTime now = *vt::ParseUtcTime(c.now);
        const HttpResponse response = api->Forecast(c.query, now);
        EXPECT_EQ(response.status, 200) << c.query;
        const vt::SeriesResult read = vt::ReadHourlySeries(response.body);
        ASSERT_TRUE(read.series) << c.query << ": " << read.rejection.reason;
        EXPECT_EQ(read.series->utcOffsetMinutes, c.offsetMinutes) << c.query;
        EXPECT_EQ(read.series->Hours(), 72u) << c.query;
        EXPECT_EQ(read.series->firstMinute + c.offsetMinutes,
                  vt::DaysFromCivil(c.firstDay) * 24 * 60)
            << c.query;
        EXPECT_TRUE(vt::FileRecordsAt(*read.series, c.offsetMinutes, now).records) << c.query;
    }
    for (const char* bad :
         {"", "latitude=55.7", "latitude=91&longitude=0", "latitude=55,7&longitude=37.6"}) {
        const HttpResponse response = api->Forecast(bad, SystemUtcNow());
        EXPECT_EQ(response.status, 400) << bad;
        EXPECT_TRUE(response.body.starts_with("{\"error\":true,\"reason\":")) << bad;
    }
}

TEST(ApiSamples, SearchFindsPlacesByTheBeginningOfTheirName) {
    std::string error;
    const std::optional<ApiSamples> api = ApiSamples::Load(VT_SERVICE_FEED_DIR, error);
    ASSERT_TRUE(api) << error;
    struct Case {
        const char* query;
        int status;
        std::size_t results;  // as the program reads them
    };
    const Case cases[] = {
        {"name=%D0%A2%D1%83%D0%BB&count=30&language=ru&format=json", 200, 3},  // Тул
        {"name=%D0%BA%D0%B8%D1%80", 200, 2},  // кир: the two namesakes
        {"name=%D0%BA%D0%B8%D1%80&count=1", 200, 1},
        {"name=%D0%9C%D0%BE%D1%81%D0%BA%D0%B2%D0%B0", 200, 1},  // Москва, of towns.csv
        {"name=zzz", 200, 0},
        {"count=3", 400, 0},
    };
    for (const Case& c : cases) {
        const HttpResponse response = api->Search(c.query);
        EXPECT_EQ(response.status, c.status) << c.query;
        if (c.status != 200) continue;
        const vt::SearchResult read = vt::ReadSearchAnswer(response.body);
        ASSERT_TRUE(read.places) << c.query << ": " << read.rejection.reason;
        EXPECT_EQ(read.places->size(), c.results) << c.query;
    }
}

TEST(ApiSamples, AServiceWithoutSamplesSaysSoAndABrokenFolderIsNamed) {
    ServiceState state(FaultMode::None, FaultScope::Data, std::nullopt);
    const Routed routed =
        Route({"GET", "/v1/forecast?latitude=1&longitude=1", "HTTP/1.1", {}}, "127.0.0.1", state);
    EXPECT_EQ(routed.response.status, 503);
    EXPECT_EQ(routed.faultTarget, FaultTarget::Data);
    std::string error;
    EXPECT_FALSE(ApiSamples::Load("/nonexistent-folder", error));
    EXPECT_NE(error.find("towns.csv"), std::string::npos) << error;
}

}  // namespace
}  // namespace vts
