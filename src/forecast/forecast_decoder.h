// One record line of the forecast file decoded into its text.
#pragma once

#include <string>
#include <string_view>

#include "common/calendar.h"
#include "forecast/forecast_session.h"
#include "ports/day_names.h"

namespace vt {

// The record's text, or kInvalidDataText for a line whose value is 0 (not a number, overflow),
// or kInvalidDataLongText for a record that cannot be decoded; those two change nothing else.
// A day-period record sets dayDate, iconPicture, iconTempText and shortText (the text up to the
// temperature); any other period sets otherDate. todayUtc fixes the record's year.
std::string DecodeForecastLine(std::string_view line, ForecastSession& session,
                               const DayNames& dayNames, CivilDate todayUtc);

}  // namespace vt
