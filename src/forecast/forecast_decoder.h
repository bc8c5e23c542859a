// One record line of the forecast file decoded into its text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/calendar.h"
#include "forecast/forecast_session.h"
#include "forecast/record_codec.h"
#include "ports/day_names.h"

namespace vt {

// One line read as a record, as the loader reads it: the record, or why the line is none.
struct RecordLine {
    std::optional<ForecastRecord> record;
    bool notANumber = false;  // the line's value is 0 (not a number, overflow)
};
RecordLine ReadRecordLine(std::string_view line, CivilDate todayUtc);

// True when the first line of the bytes is a record the loader accepts: what a downloaded
// answer must hold to replace the stored forecast (a login page or an error page does not).
bool IsForecastAnswer(std::string_view bytes, CivilDate todayUtc);

// The record's text, or kInvalidDataText for a line whose value is 0 (not a number, overflow),
// or kInvalidDataLongText for a record that cannot be decoded; those two change nothing else.
// A day-period record sets dayDate, iconPicture, iconTempText and shortText (the text up to the
// temperature); any other period sets otherDate. todayUtc fixes the record's year.
std::string DecodeForecastLine(std::string_view line, ForecastSession& session,
                               const DayNames& dayNames, CivilDate todayUtc);

}  // namespace vt
