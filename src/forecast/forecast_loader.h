// Loading the stored forecast file into the session, without touching the tray or the menu.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/calendar.h"
#include "forecast/forecast_session.h"
#include "ports/day_names.h"

namespace vt {

struct LoadOutcome {
    // True: the controller calls ShowError(errorMessage). False: the session's trayState is
    // already "Prognoz" and the controller shows that state.
    bool isError = false;
    std::string errorMessage;
    // Set when the menu item Frc gets a new caption, whatever the outcome.
    std::optional<std::string> frcCaption;
};

// fileBytes: the whole file, nullopt when it cannot be opened or read. twoRecords reads two
// records when the file has two lines. todayUtc fixes the records' years.
// On an error the session keeps what decoding changed; ShowError's own changes are the caller's.
LoadOutcome LoadForecastFromBytes(const std::optional<std::string>& fileBytes, bool twoRecords,
                                  const std::string& townName, ForecastSession& session,
                                  const DayNames& dayNames, CivilDate todayUtc);

}  // namespace vt
