// The refresh times of one run: whole UTC hours, each moved by a random offset of up to
// 14 minutes once per start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vt {

class Random;

inline constexpr const char* kDefaultHours = "0,6,12,18";

// "h:nn" entries joined by ",", in ascending order. Hours outside 0..23 are skipped; when no
// hour remains the default hours are used, so the schedule always has a time.
std::string BuildUpdateTimes(std::string_view hours, Random& random);

// Minutes after midnight of each "h:nn" entry, in list order; a part that is not a number
// counts as 0.
std::vector<int> ParseUpdateTimes(std::string_view updateTimes);

}  // namespace vt
