#include <gtest/gtest.h>

#include <vector>

#include "openmeteo/hourly_answer.h"
#include "openmeteo/period_mapping.h"
#include "openmeteo_answer.h"

namespace vt {
void PrintTo(const CivilDate& d, std::ostream* out) {
    *out << d.year << "-" << d.month << "-" << d.day;
}
}  // namespace vt

namespace vt {
namespace {

struct MeanCase {
    std::vector<double> samples;
    int expected;
};

TEST(PeriodMapping, MeansRoundHalfAwayFromZeroAndClamp) {
    const MeanCase temperatures[] = {
        {{2.5}, 3},         {{-2.5}, -3},    {{0.1, 0.2, 0.3, 0.4, 0.5, 1.5}, 1},
        {{-0.4, -0.6}, -1}, {{-0.4}, 0},     {{-80, -75}, -70},
        {{57.4}, 57},       {{60}, 57},      {{1e300, 1e300}, 57},
        {{-1e300}, -70},    {{2.4, 2.6}, 3}, {{2.45, 2.45}, 2},
    };
    for (const auto& c : temperatures) {
        EXPECT_EQ(TemperatureOf(c.samples), c.expected) << ::testing::PrintToString(c.samples);
    }
    // hPa x 0.750062: 997.2 is 747.96 mm, 1000 is 750.06 mm.
    const MeanCase pressures[] = {
        {{997.2}, 748},
        {{1000}, 750},
        {{600}, 500},
        {{1400}, 1011},
        {{1347.9}, 1011},
        {{666.61}, 500},
        {{1013.25, 1013.25}, 760},
    };
    for (const auto& c : pressures) {
        EXPECT_EQ(PressureOf(c.samples), c.expected) << ::testing::PrintToString(c.samples);
    }
    const MeanCase humidities[] = {{{84.5}, 85}, {{0}, 0}, {{100, 100}, 100}, {{99.5, 100}, 100}};
    for (const auto& c : humidities) EXPECT_EQ(HumidityOf(c.samples), c.expected);
    // km/h / 3.6: 14.4 is 4 m/s, 9 is 2.5 m/s.
    const MeanCase winds[] = {{{14.4}, 4}, {{9}, 3},    {{8.9}, 2},     {{0}, 0},
                              {{25.2}, 7}, {{28.8}, 7}, {{90, 120}, 7}, {{1.7, 1.9}, 1}};
    for (const auto& c : winds) EXPECT_EQ(WindSpeedOf(c.samples), c.expected);
}

TEST(PeriodMapping, WindSectorIsTheVectorMeanNamedByWhereItComesFrom) {
    const MeanCase cases[] = {
        {{0}, 0},       {{22.4}, 0},  {{22.5}, 1},     {{45}, 1},         {{90}, 2},
        {{135}, 3},     {{180}, 4},   {{225}, 5},      {{270}, 6},        {{315}, 7},
        {{337.4}, 7},   {{337.5}, 0}, {{360}, 0},      {{350, 10}, 0},    {{340, 350, 20}, 0},
        {{90, 270}, 0}, {{0, 90}, 1}, {{180, 270}, 5}, {{0, 180, 90}, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindSectorOf(c.samples), c.expected) << ::testing::PrintToString(c.samples);
    }
}

TEST(PeriodMapping, SkyFollowsTheWorstWeatherThenTheClouds) {
    struct Case {
        std::vector<int> codes;
        int cloud;
        int sky;
    };
    const Case cases[] = {
        {{0, 0, 95}, 10, 9}, {{73, 96}, 90, 9}, {{99}, 0, 9},  {{61, 71}, 50, 7}, {{77}, 84, 7},
        {{85}, 85, 8},       {{86, 3}, 100, 8}, {{51}, 84, 5}, {{67}, 85, 6},     {{80, 0}, 30, 5},
        {{82}, 95, 6},       {{45, 61}, 10, 5}, {{45}, 10, 4}, {{48, 0}, 0, 4},   {{0}, 19, 1},
        {{1}, 20, 2},        {{2}, 49, 2},      {{3}, 50, 3},  {{3}, 84, 3},      {{3}, 85, 4},
        {{0}, 100, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SkyOf(c.codes, c.cloud), c.sky)
            << ::testing::PrintToString(c.codes) << " cloud " << c.cloud;
    }
}

// A series of `hours` hours from `first` (UTC) with the same values everywhere, except what
// the test changes.
HourlySeries Flat(std::int64_t first, std::size_t hours) {
    HourlySeries s;
    s.firstMinute = first * 60;
    s.temperature.assign(hours, -5.0);
    s.humidity.assign(hours, 85.0);
    s.pressure.assign(hours, 997.2);
    s.windSpeed.assign(hours, 14.4);
    s.windDirection.assign(hours, 135.0);
    s.cloudCover.assign(hours, 70.0);
    s.weatherCode.assign(hours, 73);
    return s;
}

std::int64_t HourOf(const char* utc) {
    return vt::ToUnixMillis(*vt::ParseUtcTime(utc)) / 3600000;
}

TEST(PeriodMapping, TheFileCarriesTodaysOrTomorrowsDayAndTomorrowsNightInLocalDates) {
    struct Case {
        const char* now;
        int offsetMinutes;
        vt::CivilDate day;
        vt::CivilDate night;
    };
    const Case cases[] = {
        // Moscow (+3): 17:59 local is still today's day; 18:00 local is tomorrow's.
        {"2026-01-15T14:59:00Z", 180, {2026, 1, 15}, {2026, 1, 16}},
        {"2026-01-15T15:00:00Z", 180, {2026, 1, 16}, {2026, 1, 16}},
        // 22:00 UTC is already the 16th in Moscow.
        {"2026-01-15T22:00:00Z", 180, {2026, 1, 16}, {2026, 1, 17}},
        {"2026-01-15T02:00:00Z", 0, {2026, 1, 15}, {2026, 1, 16}},
        // West of Greenwich the local date lags: 19:00 on the 14th, 04:00 on the 15th.
        {"2026-01-15T05:00:00Z", -600, {2026, 1, 15}, {2026, 1, 15}},
        {"2026-01-15T14:00:00Z", -600, {2026, 1, 15}, {2026, 1, 16}},
        // A half-hour zone: 12:29 UTC is 17:59 local.
        {"2026-01-15T12:29:00Z", 330, {2026, 1, 15}, {2026, 1, 16}},
        {"2026-01-15T12:30:00Z", 330, {2026, 1, 16}, {2026, 1, 16}},
        // Across the year's end.
        {"2026-12-31T16:00:00Z", 180, {2027, 1, 1}, {2027, 1, 1}},
        {"2026-12-31T11:00:00Z", 840, {2027, 1, 1}, {2027, 1, 2}},
    };
    for (const auto& c : cases) {
        const std::int64_t start = HourOf(c.now) - 48;
        const FileRecords result =
            FileRecordsAt(Flat(start, 168), c.offsetMinutes, *vt::ParseUtcTime(c.now));
        ASSERT_TRUE(result.records) << c.now << ": " << result.rejection.reason;
        EXPECT_EQ((*result.records)[0].period, kDay);
        EXPECT_EQ((*result.records)[0].date, c.day) << c.now << " " << c.offsetMinutes;
        EXPECT_EQ((*result.records)[1].period, kNight);
        EXPECT_EQ((*result.records)[1].date, c.night) << c.now << " " << c.offsetMinutes;
    }
}

TEST(PeriodMapping, APeriodTakesExactlyItsSixLocalHours) {
    // Moscow's day of the 15th is 09:00-14:00 UTC; make the hours around it extreme.
    const std::int64_t first = HourOf("2026-01-15T00:00:00Z");
    HourlySeries s = Flat(first, 72);
    s.temperature[8] = 50;   // 11:00 local
    s.temperature[15] = 50;  // 18:00 local
    for (int i = 9; i < 15; ++i) s.temperature[static_cast<std::size_t>(i)] = i < 12 ? -4 : -6;
    const SamplesResult day = SamplesOf(s, 180, {2026, 1, 15}, kDay);
    ASSERT_TRUE(day.samples);
    EXPECT_EQ(day.samples->temperature, (std::vector<double>{-4, -4, -4, -6, -6, -6}));
    EXPECT_EQ(RecordOf(*day.samples, kDay, {2026, 1, 15}).temperature, -5);
}

TEST(PeriodMapping, RefusesPeriodsTheSeriesDoesNotCoverOrHoldsNullIn) {
    const std::int64_t first = HourOf("2026-01-15T00:00:00Z");
    struct Case {
        const char* what;
        void (*change)(HourlySeries&);
        const char* field;
        const char* reason;
    };
    const Case cases[] = {
        {"series ends in tomorrow's night",
         [](HourlySeries& s) { s = Flat(s.firstMinute / 60, 24); }, "hourly.time",
         "does not cover the night of 2026-01-16 (local)"},
        {"null in the day", [](HourlySeries& s) { s.humidity[10].reset(); },
         "hourly.relative_humidity_2m[10]", "null in the day of 2026-01-15 (local)"},
        {"null code in the night", [](HourlySeries& s) { s.weatherCode[22].reset(); },
         "hourly.weather_code[22]", "null in the night of 2026-01-16 (local)"},
        {"null outside both", [](HourlySeries& s) { s.pressure[30].reset(); }, "", ""},
    };
    for (const auto& c : cases) {
        HourlySeries s = Flat(first, 72);
        c.change(s);
        const FileRecords result = FileRecordsAt(s, 180, *vt::ParseUtcTime("2026-01-15T10:00:00Z"));
        EXPECT_EQ(result.records.has_value(), c.field[0] == '\0') << c.what;
        EXPECT_EQ(result.rejection.field, c.field) << c.what;
        EXPECT_EQ(result.rejection.reason, c.reason) << c.what;
    }
}

TEST(PeriodMapping, ARecordOfTheWorkedExampleValues) {
    const std::int64_t first = HourOf("2026-01-15T00:00:00Z");
    const FileRecords result =
        FileRecordsAt(Flat(first, 72), 180, *vt::ParseUtcTime("2026-01-15T10:00:00Z"));
    ASSERT_TRUE(result.records);
    EXPECT_EQ((*result.records)[0], (vt::ForecastRecord{1, {2026, 1, 15}, 7, -5, 748, 85, 3, 4}));
}

// An answer of timezone=auto: 72 wall-clock hours from 2026-03-28T00:00 at one offset, each
// hour's temperature its index, so a record's temperature tells which hours made it.
json LocalAnswer(int offsetSeconds) {
    json answer = Answer(72, {2026, 3, 28}, offsetSeconds);
    for (int h = 0; h < 72; ++h)
        answer["hourly"]["temperature_2m"][static_cast<std::size_t>(h)] = h;
    return answer;
}

TEST(PeriodMapping, AnswersOnTheTownsClockGiveTheTownsDayAndNight) {
    // The day of the 28th is hours 12-17 (mean 14.5 -> 15), of the 29th 36-41 (39); the night
    // of the 29th hours 24-29 (27).
    struct Case {
        const char* what;
        int offsetSeconds;
        const char* now;  // UTC
        int dayOn;        // the day of the month of line 1
        int dayTemperature;
    };
    const Case cases[] = {
        {"Moscow, 13:00", 10800, "2026-03-28T10:00:00Z", 28, 15},
        {"Moscow, 17:59", 10800, "2026-03-28T14:59:00Z", 28, 15},
        {"Moscow, 18:00", 10800, "2026-03-28T15:00:00Z", 29, 39},
        {"New York, 17:00", -18000, "2026-03-28T22:00:00Z", 28, 15},
        {"New York, 18:30", -18000, "2026-03-28T23:30:00Z", 29, 39},
        {"Delhi, 17:59", 19800, "2026-03-28T12:29:00Z", 28, 15},
        {"Delhi, 18:00", 19800, "2026-03-28T12:30:00Z", 29, 39},
        {"Kathmandu, 18:00", 20700, "2026-03-28T12:15:00Z", 29, 39},
        {"Kiritimati, 00:00", 50400, "2026-03-27T10:00:00Z", 28, 15},
        // Berlin moves to summer time at 02:00 on the 29th; the API keeps the offset valid at
        // the request (+1 h) through the whole answer, and so does the mapping.
        {"Berlin, 21:00 before the change", 3600, "2026-03-28T20:00:00Z", 29, 39},
    };
    for (const Case& c : cases) {
        const SeriesResult read = ReadHourlySeries(LocalAnswer(c.offsetSeconds).dump());
        ASSERT_TRUE(read.series) << c.what << ": " << read.rejection.reason;
        const FileRecords file =
            FileRecordsAt(*read.series, read.series->utcOffsetMinutes, *ParseUtcTime(c.now));
        ASSERT_TRUE(file.records) << c.what << ": " << file.rejection.reason;
        const ForecastRecord& day = (*file.records)[0];
        const ForecastRecord& night = (*file.records)[1];
        EXPECT_EQ(day.date, (CivilDate{2026, 3, c.dayOn})) << c.what;
        EXPECT_EQ(day.temperature, c.dayTemperature) << c.what;
        EXPECT_EQ(night.date, (CivilDate{2026, 3, 29})) << c.what;
        EXPECT_EQ(night.temperature, 27) << c.what;
    }
}

}  // namespace
}  // namespace vt
