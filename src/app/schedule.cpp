#include "app/schedule.h"

#include <algorithm>

#include "app/update_times.h"
#include "common/stored_file.h"
#include "ports/files.h"

namespace vt {
namespace {

constexpr std::int64_t kMillisPerMinute = 60000;
constexpr std::int64_t kMillisPerDay = 24 * 60 * kMillisPerMinute;

enum class Judgement { CannotOpen, Due, Fresh };

Judgement Judge(Files& files, const std::string& path, const UtcTime& now,
                const std::vector<int>& minutes) {
    auto file = files.OpenExclusive(path);
    if (!file) return Judgement::CannotOpen;
    if (file->ByteCount() == 0) return Judgement::Due;
    return ScheduleFresh(file->LastWriteUtc(), now, minutes) ? Judgement::Fresh : Judgement::Due;
}

}  // namespace

bool ScheduleFresh(const std::optional<UtcTime>& fileTime, const UtcTime& now,
                   std::vector<int> updateMinutes) {
    if (updateMinutes.empty()) return true;
    if (!fileTime) return false;
    std::sort(updateMinutes.begin(), updateMinutes.end());

    const std::int64_t midnight = DaysFromCivil(now.Date()) * kMillisPerDay;
    const std::int64_t nowMillis = ToUnixMillis(now);
    std::int64_t latest = midnight - kMillisPerDay + updateMinutes.back() * kMillisPerMinute;
    for (int m : updateMinutes) {
        const std::int64_t t = midnight + m * kMillisPerMinute;
        if (t <= nowMillis) latest = t;
    }
    return ToUnixMillis(*fileTime) >= latest;
}

DownloadDecision ForecastDownloadDue(Files& files, const std::string& folder,
                                     const std::string& townIndex, const UtcTime& now,
                                     const std::string& updateTimes) {
    const std::vector<int> minutes = ParseUpdateTimes(updateTimes);
    auto pathOf = [&](const std::string& base) { return StoredFilePath(folder, base); };

    if (!files.Exists(pathOf(townIndex))) return {true, townIndex};
    switch (Judge(files, pathOf(townIndex), now, minutes)) {
        case Judgement::Due:
            return {true, townIndex};
        case Judgement::Fresh:
            return {false, townIndex};
        case Judgement::CannotOpen:
            break;
    }
    for (int n = 1;; ++n) {
        const std::string base = townIndex + std::to_string(n);
        if (!files.Exists(pathOf(base))) return {true, base};
        switch (Judge(files, pathOf(base), now, minutes)) {
            case Judgement::Due:
                return {true, base};
            case Judgement::Fresh:
                return {false, base};
            case Judgement::CannotOpen:
                break;
        }
    }
}

}  // namespace vt
