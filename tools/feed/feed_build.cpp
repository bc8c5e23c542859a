#include "feed_build.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "atomic_file.h"
#include "feed_outputs.h"
#include "forecast/forecast_lines.h"
#include "forecast/record_codec.h"
#include "forecast/record_integer.h"
#include "openmeteo/hourly_answer.h"
#include "openmeteo/period_mapping.h"

namespace vtf {
namespace {

namespace fs = std::filesystem;
using vt::DateText;
using vt::FileRecords;
using vt::HourlySeries;
using vt::kMaxAnswerBytes;
using vt::LocalDate;
using vt::Rejection;
using vt::SeriesResult;

std::string TownName(const FeedTown& town) {
    return town.name + " (" + town.index + ")";
}

// The input, refused by its size before it is read.
std::optional<std::string> ReadInput(const fs::path& path, Rejection& rejection) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) {
        rejection = {"input", "cannot read " + path.string() + ": " + error.message()};
        return std::nullopt;
    }
    if (size > kMaxAnswerBytes) {
        rejection = {"input", path.string() + " has " + std::to_string(size) +
                                  " bytes, more than " + std::to_string(kMaxAnswerBytes)};
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        rejection = {"input", "cannot read " + path.string()};
        return std::nullopt;
    }
    return bytes;
}

void Write(const fs::path& path, std::string_view bytes, BuildReport& report) {
    const std::string error = WriteAtomically(path, bytes);
    if (error.empty()) return;
    report.messages.push_back(error);
    report.writeFailed = true;
}

fs::path PagePath(const fs::path& outputFolder, const FeedTown& town) {
    return outputFolder / "towns" / (town.index + ".htm");
}

// True when the town still has a current forecast file.
bool KeepOrRemove(const FeedTown& town, const BuildOptions& options, BuildReport& report) {
    const fs::path file = ForecastPath(options.outputFolder, town);
    std::error_code error;
    if (!fs::exists(file, error)) return false;
    const vt::CivilDate today = LocalDate(options.now, town.utcOffsetMinutes);
    const std::optional<vt::CivilDate> date = FirstRecordDate(file, today);
    if (date && *date >= today) {
        report.messages.push_back(TownName(town) + ": keeps its forecast of " + DateText(*date));
        return true;
    }
    if (fs::remove(file, error)) {
        report.messages.push_back(TownName(town) + ": its old forecast " +
                                  (date ? "of " + DateText(*date) : std::string("(unreadable)")) +
                                  " is removed");
    } else {
        report.messages.push_back("cannot remove " + file.string() + ": " + error.message());
        report.writeFailed = true;
    }
    return false;
}

void BuildTown(const FeedTown& town, const BuildOptions& options, BuildReport& report) {
    Rejection rejection;
    std::optional<HourlySeries> series;
    if (const auto input = ReadInput(options.inputFolder / (town.index + ".json"), rejection)) {
        SeriesResult read = vt::ReadHourlySeries(*input);
        series = std::move(read.series);
        rejection = read.rejection;
    }
    // The feed asks for GMT hours and shifts them by the town's offset itself.
    if (series && series->utcOffsetMinutes != 0) {
        rejection = {"utc_offset_seconds", std::to_string(series->utcOffsetMinutes * 60) +
                                               " where 0 (timezone=GMT) is expected"};
        series.reset();
    }
    FileRecords records;
    if (series) records = vt::FileRecordsAt(*series, town.utcOffsetMinutes, options.now);
    if (!records.records) {
        if (series) rejection = records.rejection;
        report.messages.push_back(TownName(town) + ": " + rejection.field + ": " +
                                  rejection.reason);
        ++report.townsRejected;
        // The menu still opens the town's page: it says so rather than show old weather.
        if (!KeepOrRemove(town, options, report)) {
            Write(PagePath(options.outputFolder, town), TownPage(town, {}), report);
        }
        return;
    }
    Write(ForecastPath(options.outputFolder, town), vt::EncodeForecastFile(*records.records),
          report);
    const std::vector<vt::PageRow> rows = vt::PageRows(*series, town.utcOffsetMinutes, options.now);
    Write(PagePath(options.outputFolder, town), TownPage(town, rows), report);
    ++report.townsBuilt;
}

}  // namespace

fs::path ForecastPath(const fs::path& outputFolder, const FeedTown& town) {
    return outputFolder / "data" / ("BTR" + town.index + ".TXT");
}

std::optional<vt::CivilDate> FirstRecordDate(const fs::path& file, vt::CivilDate today) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::string> lines = vt::SplitForecastLines(bytes);
    if (lines.empty()) return std::nullopt;
    const std::int64_t value = vt::ParseRecordInteger(lines.front());
    if (value == 0) return std::nullopt;
    const auto record = vt::UnpackRecord(vt::ApplyMask(static_cast<std::uint64_t>(value)), today);
    if (!record) return std::nullopt;
    return record->date;
}

BuildReport BuildFeed(const std::vector<FeedTown>& towns, const BuildOptions& options) {
    BuildReport report;
    std::error_code error;
    for (const char* sub : {"data", "towns"}) {
        fs::create_directories(options.outputFolder / sub, error);
        if (error) {
            report.messages.push_back("cannot create " + (options.outputFolder / sub).string() +
                                      ": " + error.message());
            report.writeFailed = true;
            return report;
        }
    }
    const FolderLock lock(options.outputFolder);
    if (!lock.Held()) {
        report.messages.push_back("another vtfeed is building " + options.outputFolder.string());
        report.writeFailed = true;
        return report;
    }
    Write(options.outputFolder / "vlbartlistfull.txt", TownListFile(towns), report);
    Write(options.outputFolder / "index.htm", IndexPage(towns), report);
    for (const FeedTown& town : towns) BuildTown(town, options, report);
    return report;
}

}  // namespace vtf
