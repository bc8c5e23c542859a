// Whether the stored forecast must be downloaded again, and under which name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/calendar.h"

namespace vt {

class Files;

struct DownloadDecision {
    bool due = false;
    std::string fileBase;  // the stored file is folder + fileBase + ".txt"
};

// Stale exactly when the file was written before the latest update time at or before now;
// before today's first time that is yesterday's last one. A file time in the future is fresh,
// an unknown one stale. updateMinutes: minutes after midnight, any order.
bool ScheduleFresh(const std::optional<UtcTime>& fileTime, const UtcTime& now,
                   std::vector<int> updateMinutes);

// The usual file is folder + townIndex + ".txt". When it exists but cannot be opened, the first
// numbered name (townIndex + n) that opens is judged by the same rules, so a lingering lock
// costs one file rather than a new file every minute; when none opens, the first name that does
// not exist is used, and a download is due.
DownloadDecision ForecastDownloadDue(Files& files, const std::string& folder,
                                     const std::string& townIndex, const UtcTime& now,
                                     const std::string& updateTimes);

}  // namespace vt
