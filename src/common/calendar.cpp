#include "common/calendar.h"

namespace vt {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return day >= 1 && day <= DaysInMonth(year, month);
}

// Howard Hinnant's days_from_civil / civil_from_days.
std::int64_t DaysFromCivil(const CivilDate& date) {
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t m = date.month;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

int DayOfWeek(const CivilDate& date) {
    const std::int64_t days = DaysFromCivil(date);  // 1970-01-01 was a Thursday
    return static_cast<int>(((days % 7) + 11) % 7);
}

std::int64_t ToUnixMillis(const UtcTime& t) {
    const std::int64_t days = DaysFromCivil(t.Date());
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000LL + t.second * 1000LL + t.millisecond;
}

UtcTime FromUnixMillis(std::int64_t millis) {
    constexpr std::int64_t kDay = 86400000;
    std::int64_t days = millis / kDay;
    std::int64_t rest = millis % kDay;
    if (rest < 0) rest += kDay, --days;
    const CivilDate d = CivilFromDays(days);
    return {d.year,
            d.month,
            d.day,
            static_cast<int>(rest / 3600000),
            static_cast<int>(rest / 60000 % 60),
            static_cast<int>(rest / 1000 % 60),
            static_cast<int>(rest % 1000)};
}

namespace {

std::optional<int> Digits(std::string_view text, std::size_t pos, std::size_t count) {
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::optional<UtcTime> ParseUtcTime(std::string_view t) {
    if (t.size() != 20 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' ||
        t[16] != ':' || t[19] != 'Z')
        return std::nullopt;
    const auto year = Digits(t, 0, 4), month = Digits(t, 5, 2), day = Digits(t, 8, 2);
    const auto hour = Digits(t, 11, 2), minute = Digits(t, 14, 2), second = Digits(t, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    if (!IsValidDate(*year, *month, *day) || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return UtcTime{*year, *month, *day, *hour, *minute, *second, 0};
}

}  // namespace vt
