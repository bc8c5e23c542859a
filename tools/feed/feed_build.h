// One run of the feed: every town's input read, checked and turned into the served tree.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/calendar.h"
#include "feed_towns.h"

namespace vtf {

struct BuildOptions {
    std::filesystem::path inputFolder;   // <index>.json per town
    std::filesystem::path outputFolder;  // the tree the web server serves
    vt::UtcTime now;
};

struct BuildReport {
    std::vector<std::string> messages;  // one per rejected town or failed write, for stderr
    int townsBuilt = 0;
    int townsRejected = 0;
    bool writeFailed = false;
};

// A rejected town keeps its previous forecast file while that file's first record is dated
// local today or later; an older or unreadable one is deleted, so the tray shows an error
// rather than yesterday's weather as today's.
BuildReport BuildFeed(const std::vector<FeedTown>& towns, const BuildOptions& options);

// The stored forecast's first record date, read as the tray reads it.
std::optional<vt::CivilDate> FirstRecordDate(const std::filesystem::path& file,
                                             vt::CivilDate today);

std::filesystem::path ForecastPath(const std::filesystem::path& outputFolder, const FeedTown& town);

}  // namespace vtf
