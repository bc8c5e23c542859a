// The year of a record. Its 3-bit field only tells the year modulo 8 (it once meant 2005..2012),
// so the year is taken from the clock: of the years Y with (Y - 2005) mod 8 == field, the one
// that puts the record's day and month nearest to today. A tie goes to the earlier year.
#pragma once

#include <optional>

#include "common/calendar.h"

namespace vt {

// Nullopt when the date does not exist in the chosen year. 29 February is placed like 1 March
// while the years are compared, and a record for it whose nearest year is not a leap year is
// invalid: forecasts are for the coming days, and stepping to a leap year 8 years away would
// only turn a bad record into a wrong date.
std::optional<int> ResolveRecordYear(int yearField, int month, int day, CivilDate todayUtc);

}  // namespace vt
