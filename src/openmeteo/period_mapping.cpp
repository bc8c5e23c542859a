#include "openmeteo/period_mapping.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace vt {
namespace {

constexpr std::int64_t kMinutesPerDay = 24 * 60;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::string PeriodName(int period) {
    static constexpr const char* kNames[] = {"morning", "day", "evening", "night"};
    return kNames[period];
}

}  // namespace

std::string DateText(CivilDate date) {
    auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    return Cat({std::to_string(date.year), "-", two(date.month), "-", two(date.day)});
}

PeriodHours HoursOf(int period) {
    static constexpr PeriodHours kHours[] = {{6, 12}, {12, 18}, {18, 24}, {0, 6}};
    return kHours[period];
}

int RoundHalfAway(double value) {
    return static_cast<int>(std::round(value + std::copysign(1e-9, value)));
}

double Mean(std::span<const double> values) {
    double sum = 0;
    for (double v : values) sum += v;
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

// Clamping happens on the double: a mean beyond int's range must not reach the cast.
int TemperatureOf(std::span<const double> celsius) {
    return RoundHalfAway(std::clamp(Mean(celsius), -70.0, 57.0));
}

int PressureOf(std::span<const double> hectopascals) {
    constexpr double kMmPerHectopascal = 0.750062;
    return RoundHalfAway(std::clamp(Mean(hectopascals) * kMmPerHectopascal, 500.0, 1011.0));
}

int HumidityOf(std::span<const double> percent) {
    return RoundHalfAway(std::clamp(Mean(percent), 0.0, 100.0));
}

int WindSpeedOf(std::span<const double> kmh) {
    return RoundHalfAway(std::clamp(Mean(kmh) / 3.6, 0.0, 7.0));
}

int RealWindSpeedOf(std::span<const double> kmh) {
    return RoundHalfAway(std::clamp(Mean(kmh) / 3.6, 0.0, 999.0));
}

int WindSectorOf(std::span<const double> degrees) {
    double east = 0, north = 0;
    for (double d : degrees) {
        const double radians = d * std::numbers::pi / 180;
        east += std::sin(radians);
        north += std::cos(radians);
    }
    if (std::hypot(east, north) < 1e-9 * static_cast<double>(degrees.size() + 1)) return 0;
    double mean = std::atan2(east, north) * 180 / std::numbers::pi;
    if (mean < 0) mean += 360;
    return static_cast<int>(std::floor((mean + 22.5) / 45)) % 8;
}

// The worst weather of a code, in the order the sky numbers rank it: 4 thunder, 3 snow,
// 2 rain or drizzle, 1 fog, 0 none.
int SeverityOf(int code) {
    if (code == 95 || code == 96 || code == 99) return 4;
    if ((code >= 71 && code <= 77) || code == 85 || code == 86) return 3;
    if ((code >= 51 && code <= 67) || (code >= 80 && code <= 82)) return 2;
    return code == 45 || code == 48 ? 1 : 0;
}

int SkyOf(std::span<const int> codes, int meanCloudCover) {
    int worst = 0;
    for (int code : codes) worst = std::max(worst, SeverityOf(code));
    const bool overcast = meanCloudCover >= 85;
    switch (worst) {
        case 4:
            return 9;
        case 3:
            return overcast ? 8 : 7;
        case 2:
            return overcast ? 6 : 5;
        case 1:
            return 4;
    }
    if (meanCloudCover < 20) return 1;
    if (meanCloudCover < 50) return 2;
    if (meanCloudCover < 85) return 3;
    return 4;
}

ForecastRecord RecordOf(const PeriodSamples& s, int period, CivilDate date) {
    ForecastRecord r;
    r.period = period;
    r.date = date;
    r.sky = SkyOf(s.weatherCode, RoundHalfAway(std::clamp(Mean(s.cloudCover), 0.0, 100.0)));
    r.temperature = TemperatureOf(s.temperature);
    r.pressure = PressureOf(s.pressure);
    r.humidity = HumidityOf(s.humidity);
    r.windDirection = WindSectorOf(s.windDirection);
    r.windSpeed = WindSpeedOf(s.windSpeed);
    return r;
}

CivilDate LocalDate(const UtcTime& now, int utcOffsetMinutes) {
    const std::int64_t minutes = FloorDiv(ToUnixMillis(now), 60000);
    return CivilFromDays(FloorDiv(minutes + utcOffsetMinutes, kMinutesPerDay));
}

SamplesResult SamplesOf(const HourlySeries& series, int utcOffsetMinutes, CivilDate date,
                        int period) {
    const PeriodHours hours = HoursOf(period);
    const std::int64_t day = DaysFromCivil(date);
    auto where = [&] {
        return Cat({"the ", PeriodName(period), " of ", DateText(date), " (local)"});
    };
    PeriodSamples s;
    for (std::size_t i = 0; i < series.Hours(); ++i) {
        const std::int64_t local =
            series.firstMinute + static_cast<std::int64_t>(i) * 60 + utcOffsetMinutes;
        const std::int64_t localHour = (local - day * kMinutesPerDay) / 60;
        if (local < day * kMinutesPerDay || localHour < hours.start || localHour >= hours.end) {
            continue;
        }
        struct Column {
            const char* key;
            const std::optional<double>& value;
            std::vector<double>& into;
        };
        const Column columns[] = {
            {"temperature_2m", series.temperature[i], s.temperature},
            {"relative_humidity_2m", series.humidity[i], s.humidity},
            {"surface_pressure", series.pressure[i], s.pressure},
            {"wind_speed_10m", series.windSpeed[i], s.windSpeed},
            {"wind_direction_10m", series.windDirection[i], s.windDirection},
            {"cloud_cover", series.cloudCover[i], s.cloudCover},
        };
        for (const Column& column : columns) {
            if (!column.value) {
                return {std::nullopt,
                        {Cat({"hourly.", column.key, "[", std::to_string(i), "]"}),
                         Cat({"null in ", where()})}};
            }
            column.into.push_back(*column.value);
        }
        if (!series.weatherCode[i]) {
            return {std::nullopt,
                    {Cat({"hourly.weather_code[", std::to_string(i), "]"}),
                     Cat({"null in ", where()})}};
        }
        s.weatherCode.push_back(*series.weatherCode[i]);
    }
    const std::size_t wanted = static_cast<std::size_t>(hours.end - hours.start);
    if (s.temperature.size() != wanted) {
        return {std::nullopt, {"hourly.time", Cat({"does not cover ", where()})}};
    }
    return {std::move(s), {}};
}

FileRecords FileRecordsAt(const HourlySeries& series, int utcOffsetMinutes, const UtcTime& now) {
    constexpr int kDayEndsHour = 18;
    const CivilDate today = LocalDate(now, utcOffsetMinutes);
    const std::int64_t todayDays = DaysFromCivil(today);
    const std::int64_t localMinutes = FloorDiv(ToUnixMillis(now), 60000) + utcOffsetMinutes;
    const bool beforeEvening = localMinutes - todayDays * kMinutesPerDay < kDayEndsHour * 60;
    const CivilDate tomorrow = CivilFromDays(todayDays + 1);
    const CivilDate dayDate = beforeEvening ? today : tomorrow;

    std::array<ForecastRecord, 2> records;
    const std::pair<int, CivilDate> wanted[] = {{kDay, dayDate}, {kNight, tomorrow}};
    for (std::size_t i = 0; i < 2; ++i) {
        SamplesResult samples =
            SamplesOf(series, utcOffsetMinutes, wanted[i].second, wanted[i].first);
        if (!samples.samples) return {std::nullopt, samples.rejection};
        records[i] = RecordOf(*samples.samples, wanted[i].first, wanted[i].second);
    }
    return {records, {}};
}

}  // namespace vt
