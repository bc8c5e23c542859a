// From hourly samples to the records of the forecast file: which hours make a period, and how
// a period's samples become the record's whole numbers.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/calendar.h"
#include "forecast/forecast_types.h"
#include "openmeteo/hourly_answer.h"

namespace vt {

inline constexpr int kMorning = 0;
inline constexpr int kDay = 1;
inline constexpr int kEvening = 2;
inline constexpr int kNight = 3;

// Local hours [start, end) of a period: morning 6-12, day 12-18, evening 18-24, night 0-6.
struct PeriodHours {
    int start;
    int end;
};
PeriodHours HoursOf(int period);

// The samples of one period, nulls excluded.
struct PeriodSamples {
    std::vector<double> temperature;
    std::vector<double> humidity;
    std::vector<double> pressure;
    std::vector<double> windSpeed;
    std::vector<double> windDirection;
    std::vector<double> cloudCover;
    std::vector<int> weatherCode;
};

// Half away from zero; a mean like 2.4999999999999996 that stands for 2.5 counts as 2.5.
int RoundHalfAway(double value);
double Mean(std::span<const double> values);

int TemperatureOf(std::span<const double> celsius);    // -70..57
int PressureOf(std::span<const double> hectopascals);  // mm of mercury, 500..1011
int HumidityOf(std::span<const double> percent);       // 0..100
int WindSpeedOf(std::span<const double> kmh);          // m/s, 0..7
int RealWindSpeedOf(std::span<const double> kmh);      // m/s, 0..999: the page shows it whole
// The sector the wind comes from, 0 north clockwise to 7 north-west, of the vector mean of the
// directions; north when they cancel out.
int WindSectorOf(std::span<const double> degrees);
// The sky number 1..9 of the period's weather codes and its mean cloud cover.
int SkyOf(std::span<const int> codes, int meanCloudCover);

ForecastRecord RecordOf(const PeriodSamples& samples, int period, CivilDate date);

// "2026-01-15", for messages.
std::string DateText(CivilDate date);

// The local calendar date at `now` for a town offset from UTC.
CivilDate LocalDate(const UtcTime& now, int utcOffsetMinutes);

struct SamplesResult {
    std::optional<PeriodSamples> samples;
    Rejection rejection;
};

// The six samples of a period of a local date; refused when the series does not reach them or
// holds null among them.
SamplesResult SamplesOf(const HourlySeries& series, int utcOffsetMinutes, CivilDate date,
                        int period);

struct FileRecords {
    std::optional<std::array<ForecastRecord, 2>> records;
    Rejection rejection;
};

// Line 1: the day of local today while local time is before 18:00, else of tomorrow. Line 2:
// the night (0-6) of local tomorrow.
FileRecords FileRecordsAt(const HourlySeries& series, int utcOffsetMinutes, const UtcTime& now);

}  // namespace vt
