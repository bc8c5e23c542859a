#include "forecast/record_year.h"

#include <cstdint>
#include <limits>

namespace vt {
namespace {

constexpr int kFirstYear = 2005;
constexpr int kCycle = 8;

}  // namespace

std::optional<int> ResolveRecordYear(int yearField, int month, int day, CivilDate todayUtc) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    if (yearField < 0 || yearField >= kCycle) return std::nullopt;

    const std::int64_t today = DaysFromCivil(todayUtc);
    int bestYear = 0;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    // Candidates lie 8 years apart, so the nearest one is within this window.
    for (int year = todayUtc.year - kCycle; year <= todayUtc.year + kCycle; ++year) {
        if (((year - kFirstYear) % kCycle + kCycle) % kCycle != yearField) continue;
        const std::int64_t position = DaysFromCivil({year, month, 1}) + day - 1;
        const std::int64_t distance = position > today ? position - today : today - position;
        if (distance < bestDistance) {
            bestDistance = distance;
            bestYear = year;
        }
    }
    if (!IsValidDate(bestYear, month, day)) return std::nullopt;
    return bestYear;
}

}  // namespace vt
