// What the forecast leaves for the tray from one load to the next.
#pragma once

#include <string>

#include "common/calendar.h"
#include "forecast/forecast_types.h"

namespace vt {

struct ForecastSession {
    TFrcBaloonAndIcon frc;
    CivilDate dayDate;    // the last decoded day-period record's date, zero before any
    CivilDate otherDate;  // the last decoded record's date of any other period
};

// The field changes of ShowError; the caller then shows the state "Error".
void ApplyShowError(TFrcBaloonAndIcon& frc, std::string message);

}  // namespace vt
