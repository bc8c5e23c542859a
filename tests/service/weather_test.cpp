#include "weather.h"

#include <gtest/gtest.h>

#include <string>

#include "forecast/forecast_loader.h"
#include "forecast/record_codec.h"
#include "forecast/russian_day_names.h"
#include "options.h"

namespace vts {
namespace {

const vt::RussianDayNames kDays;

std::string DayMonth(vt::CivilDate d) {
    return std::to_string(d.day) + "/" + std::to_string(d.month) + " ";
}

TEST(ForecastFile, LoadsAsADayAndANightRecordForEveryHour) {
    const struct {
        const char* now;
        vt::CivilDate day;
        vt::CivilDate night;
        bool dayShownFirst;  // the program shows the earlier record first, night on a tie
    } cases[] = {
        {"2026-03-10T00:00:00Z", {2026, 3, 10}, {2026, 3, 11}, true},
        {"2026-03-10T05:59:59Z", {2026, 3, 10}, {2026, 3, 11}, true},
        {"2026-03-10T12:00:00Z", {2026, 3, 10}, {2026, 3, 11}, true},
        {"2026-03-10T17:59:59Z", {2026, 3, 10}, {2026, 3, 11}, true},
        {"2026-03-10T18:00:00Z", {2026, 3, 11}, {2026, 3, 11}, false},
        {"2026-03-10T23:59:59Z", {2026, 3, 11}, {2026, 3, 11}, false},
        {"2025-12-31T10:00:00Z", {2025, 12, 31}, {2026, 1, 1}, true},
        {"2025-12-31T19:30:00Z", {2026, 1, 1}, {2026, 1, 1}, false},
        {"2024-02-28T20:00:00Z", {2024, 2, 29}, {2024, 2, 29}, false},
        {"2023-02-28T08:00:00Z", {2023, 2, 28}, {2023, 3, 1}, true},
        {"2007-12-15T09:00:00Z", {2007, 12, 15}, {2007, 12, 16}, true},
    };
    for (const char* index : {"27612", "02974", "33345"}) {
        const Town* town = FindTown(index);
        ASSERT_NE(town, nullptr);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(index) + " at " + c.now);
            const vt::UtcTime now = *ParseUtcTime(c.now);
            const std::string file = ForecastFile(*town, now);
            ASSERT_TRUE(file.ends_with("\r\n"));
            EXPECT_EQ(file.find("\r\n"), file.find('\n') - 1);
            ASSERT_EQ(std::count(file.begin(), file.end(), '\n'), 2);

            vt::ForecastSession session;
            const vt::LoadOutcome outcome = vt::LoadForecastFromBytes(
                file, true, std::string(town->name), session, kDays, now.Date());
            ASSERT_FALSE(outcome.isError) << outcome.errorMessage;
            EXPECT_EQ(session.frc.trayState, "Prognoz");
            EXPECT_EQ(session.dayDate, c.day);
            EXPECT_EQ(session.otherDate, c.night);
            EXPECT_TRUE(session.frc.firstText.starts_with(DayMonth(c.day)))
                << session.frc.firstText;
            EXPECT_NE(session.frc.firstText.find(", день: "), std::string::npos);
            EXPECT_TRUE(session.frc.secondText.starts_with(DayMonth(c.night)));
            EXPECT_NE(session.frc.secondText.find(", ночь: "), std::string::npos);
            const std::string& shownFirst =
                c.dayShownFirst ? session.frc.firstText : session.frc.secondText;
            EXPECT_TRUE(session.frc.trayText.starts_with(shownFirst + "\r\n\r\n"));

            const auto records = ForecastRecordsAt(*town, now);
            EXPECT_EQ(session.frc.iconPicture, records[0].sky);
            EXPECT_EQ(session.frc.iconTempText, std::to_string(records[0].temperature));
        }
    }
}

TEST(ForecastFile, SingleRecordModeShowsTheDayRecord) {
    const Town& town = *FindTown("27612");
    const vt::UtcTime now = *ParseUtcTime("2026-07-01T20:00:00Z");
    vt::ForecastSession session;
    const vt::LoadOutcome outcome = vt::LoadForecastFromBytes(ForecastFile(town, now), false,
                                                              "Москва", session, kDays, now.Date());
    ASSERT_FALSE(outcome.isError);
    EXPECT_TRUE(session.frc.trayText.starts_with("2/7 Чт, день: ")) << session.frc.trayText;
}

TEST(Weather, IsTheSameForTheSameTownAndDayAndDiffersOtherwise) {
    const Town& moscow = *FindTown("27612");
    const Town& kyiv = *FindTown("33345");
    const vt::UtcTime now = *ParseUtcTime("2026-03-10T12:00:00Z");
    EXPECT_EQ(ForecastFile(moscow, now), ForecastFile(moscow, now));
    vt::UtcTime laterSameDay = now;
    laterSameDay.hour = 15;
    EXPECT_EQ(ForecastFile(moscow, now), ForecastFile(moscow, laterSameDay));

    // Over a month, neither neighbouring towns nor neighbouring days repeat each other.
    auto same = [](const vt::ForecastRecord& a, const vt::ForecastRecord& b) {
        return a.temperature == b.temperature && a.sky == b.sky && a.pressure == b.pressure &&
               a.humidity == b.humidity && a.windDirection == b.windDirection;
    };
    int sameTown = 0, sameDay = 0;
    for (int day = 1; day <= 30; ++day) {
        const vt::CivilDate d{2026, 4, day};
        const vt::CivilDate next = vt::CivilFromDays(vt::DaysFromCivil(d) + 1);
        if (same(WeatherFor(moscow, d, 1), WeatherFor(moscow, next, 1))) ++sameDay;
        if (same(WeatherFor(moscow, d, 1), WeatherFor(kyiv, d, 1))) ++sameTown;
    }
    EXPECT_LE(sameTown, 1);
    EXPECT_LE(sameDay, 1);
}

TEST(Weather, EveryFieldStaysInItsRangeAllYear) {
    for (const Town& town : AllTowns()) {
        for (int days = 0; days < 365; days += 3) {
            const vt::CivilDate date = vt::CivilFromDays(vt::DaysFromCivil({2026, 1, 1}) + days);
            for (int period : {kPeriodDay, kPeriodNight}) {
                const vt::ForecastRecord r = WeatherFor(town, date, period);
                SCOPED_TRACE(std::string(town.name) + " " + std::to_string(days));
                ASSERT_EQ(r.period, period);
                ASSERT_EQ(r.date, date);
                ASSERT_GE(r.sky, 1);
                ASSERT_LE(r.sky, 9);
                ASSERT_GE(r.temperature, -60);
                ASSERT_LE(r.temperature, 50);
                ASSERT_GE(r.pressure, 730);
                ASSERT_LE(r.pressure, 770);
                ASSERT_GE(r.humidity, 40);
                ASSERT_LE(r.humidity, 100);
                ASSERT_GE(r.windDirection, 0);
                ASSERT_LE(r.windDirection, 7);
                ASSERT_GE(r.windSpeed, 0);
                ASSERT_LE(r.windSpeed, 7);
                // Snow needs frost nearby, rain needs thaw, thunder needs warmth.
                const bool snow = r.sky == 7 || r.sky == 8, rain = r.sky == 5 || r.sky == 6;
                ASSERT_TRUE(!snow || r.temperature < 5) << r.temperature;
                ASSERT_TRUE(!rain || r.temperature > 0) << r.temperature;
                ASSERT_TRUE(r.sky != 9 || r.temperature >= 18) << r.temperature;
                // The record survives the codec unchanged.
                const auto decoded = vt::UnpackRecord(vt::PackRecord(r), date);
                ASSERT_TRUE(decoded.has_value());
                ASSERT_EQ(decoded->temperature, r.temperature);
                ASSERT_EQ(decoded->date, r.date);
            }
        }
    }
}

double MeanDayTemperature(std::string_view index, int month) {
    const Town& town = *FindTown(index);
    double sum = 0;
    for (int day = 1; day <= 28; ++day) sum += WeatherFor(town, {2026, month, day}, 1).temperature;
    return sum / 28;
}

TEST(Weather, FollowsTheSeasonAndTheClimate) {
    const struct {
        const char* index;
        double januaryAtMost, julyAtLeast;
    } cases[] = {
        {"27612", -2, 19},   // Москва
        {"24959", -30, 18},  // Якутск
        {"38457", 9, 28},    // Ташкент
        {"22113", -8, 9},    // Мурманск
        {"37171", 8, 24},    // Сочи
    };
    for (const auto& c : cases) {
        EXPECT_LE(MeanDayTemperature(c.index, 1), c.januaryAtMost) << c.index;
        EXPECT_GE(MeanDayTemperature(c.index, 7), c.julyAtLeast) << c.index;
    }
    EXPECT_LT(MeanDayTemperature("24959", 1), MeanDayTemperature("27612", 1) - 20);
    // Nights are colder than days.
    const Town& moscow = *FindTown("27612");
    int colderNights = 0;
    for (int day = 1; day <= 28; ++day) {
        if (WeatherFor(moscow, {2026, 5, day}, 3).temperature <
            WeatherFor(moscow, {2026, 5, day}, 1).temperature)
            ++colderNights;
    }
    EXPECT_GE(colderNights, 20);
}

}  // namespace
}  // namespace vts
