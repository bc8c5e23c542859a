#include "app/update_times.h"

#include <algorithm>
#include <string>

#include "app/comma_text.h"
#include "ports/random.h"

namespace vt {
namespace {

constexpr int kMaxJitterMinutes = 14;
constexpr int kMinutesPerDay = 24 * 60;

std::vector<int> ValidHours(std::string_view hours) {
    std::vector<int> result;
    for (const std::string& entry : SplitCommaText(hours)) {
        // An entry that is not a whole number, such as 6:30, counts as hour 0.
        const int hour = WholeNumberOr(entry, 0);
        if (hour >= 0 && hour <= 23) result.push_back(hour);
    }
    return result;
}

int JitteredMinutes(int hour, Random& random) {
    random.Reseed();
    const int offset = random.Draw(kMaxJitterMinutes + 1);
    random.Reseed();
    const bool earlier = random.Draw(2) == 1;
    int minutes = hour * 60 + (earlier ? -offset : offset);
    // The move works on the time of day: before midnight counts as the distance from it,
    // past midnight wraps.
    if (minutes < 0) minutes = -minutes;
    if (minutes >= kMinutesPerDay) minutes -= kMinutesPerDay;
    return minutes;
}

}  // namespace

std::string BuildUpdateTimes(std::string_view hours, Random& random) {
    std::vector<int> valid = ValidHours(hours);
    if (valid.empty()) valid = ValidHours(kDefaultHours);

    std::vector<int> minutes;
    for (int hour : valid) minutes.push_back(JitteredMinutes(hour, random));
    std::sort(minutes.begin(), minutes.end());

    std::string result;
    for (int m : minutes) {
        if (!result.empty()) result += ',';
        result += std::to_string(m / 60);
        result += ':';
        result += static_cast<char>('0' + m % 60 / 10);
        result += static_cast<char>('0' + m % 10);
    }
    return result;
}

std::vector<int> ParseUpdateTimes(std::string_view updateTimes) {
    std::vector<int> result;
    for (const std::string& entry : SplitCommaText(updateTimes)) {
        const auto colon = entry.find(':');
        const std::string hour = entry.substr(0, colon);
        const std::string minute = colon == std::string::npos ? "" : entry.substr(colon + 1);
        result.push_back(WholeNumberOr(hour, 0) * 60 + WholeNumberOr(minute, 0));
    }
    return result;
}

}  // namespace vt
