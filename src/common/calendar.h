// Civil dates and UTC times without any platform clock. Proleptic Gregorian calendar.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vt {

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const CivilDate&) const = default;
};

// A UTC moment as the system clock and file times report it, to the millisecond.
struct UtcTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    auto operator<=>(const UtcTime&) const = default;
    CivilDate Date() const { return {year, month, day}; }
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12
bool IsValidDate(int year, int month, int day);

// Days since 1970-01-01 and back.
std::int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(std::int64_t days);

// 0 = Sunday ... 6 = Saturday.
int DayOfWeek(const CivilDate& date);

// Milliseconds since 1970-01-01 00:00:00 UTC and back.
std::int64_t ToUnixMillis(const UtcTime& time);
UtcTime FromUnixMillis(std::int64_t millis);

// "YYYY-MM-DDTHH:MM:SSZ", the form of every --now option; nullopt for anything else.
std::optional<UtcTime> ParseUtcTime(std::string_view text);

}  // namespace vt
