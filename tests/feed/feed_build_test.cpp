#include "feed_build.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "atomic_file.h"
#include "forecast/forecast_lines.h"
#include "forecast/record_codec.h"
#include "forecast/record_integer.h"
#include "openmeteo_answer.h"

namespace vtf {
namespace {

namespace fs = std::filesystem;
using vt::Answer;
using vt::json;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {(std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<vt::ForecastRecord> Records(const fs::path& file, vt::CivilDate today) {
    std::vector<vt::ForecastRecord> records;
    for (const std::string& line : vt::SplitForecastLines(Read(file))) {
        const auto value = static_cast<std::uint64_t>(vt::ParseRecordInteger(line));
        records.push_back(vt::UnpackRecord(vt::ApplyMask(value), today).value());
    }
    return records;
}

class FeedBuild : public ::testing::Test {
  protected:
    fs::path root =
        fs::temp_directory_path() /
        ("vtfeed-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    BuildOptions options{root / "in", root / "out", *vt::ParseUtcTime("2026-01-15T10:00:00Z")};
    std::vector<FeedTown> towns{{"27612", "Москва", "Россия", 55.75, 37.62, 180},
                                {"33345", "Киев", "Украина", 50.45, 30.52, 120}};

    void SetUp() override {
        fs::remove_all(root);
        fs::create_directories(options.inputFolder);
        for (const FeedTown& town : towns)
            Write(options.inputFolder / (town.index + ".json"), Answer(60).dump());
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path Forecast(const char* index) const {
        return options.outputFolder / "data" / ("BTR" + std::string(index) + ".TXT");
    }
};

TEST_F(FeedBuild, WritesTheTreeInTheFormatsTheTrayReads) {
    const BuildReport report = BuildFeed(towns, options);
    EXPECT_EQ(report.townsBuilt, 2);
    EXPECT_EQ(report.townsRejected, 0);
    EXPECT_TRUE(report.messages.empty());
    EXPECT_EQ(Read(options.outputFolder / "vlbartlistfull.txt"),
              "27612;\xCC\xEE\xF1\xEA\xE2\xE0;x;\xD0\xEE\xF1\xF1\xE8\xFF;\r\n"
              "33345;\xCA\xE8\xE5\xE2;x;\xD3\xEA\xF0\xE0\xE8\xED\xE0;\r\n");
    const std::string file = Read(Forecast("27612"));
    ASSERT_EQ(vt::SplitForecastLines(file).size(), 2u);
    EXPECT_TRUE(file.ends_with("\r\n"));
    EXPECT_EQ(file.find_first_not_of("-0123456789\r\n"), std::string::npos) << file;
    const std::vector<vt::ForecastRecord> records = Records(Forecast("27612"), {2026, 1, 15});
    // -5.5 °C rounds away from zero.
    EXPECT_EQ(records[0], (vt::ForecastRecord{1, {2026, 1, 15}, 7, -6, 748, 85, 3, 4}));
    EXPECT_EQ(records[1].period, 3);
    EXPECT_EQ(records[1].date, (vt::CivilDate{2026, 1, 16}));
    const std::string page = Read(options.outputFolder / "towns" / "27612.htm");
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("Прогноз на 3 дня: Москва"), std::string::npos);
    EXPECT_NE(page.find("15/1 Чт, день: Переменная облачность. Снег, -5..-7 °C, Давление 748 мм"),
              std::string::npos);
    // 60 hours reach 14:00 of the 17th in Moscow: its morning, not its day.
    EXPECT_NE(page.find("17/1 Сб, день: нет данных"), std::string::npos);
    EXPECT_NE(Read(options.outputFolder / "index.htm").find("<a href=\"towns/33345.htm\">Киев</a>"),
              std::string::npos);
    for (const auto& entry : fs::recursive_directory_iterator(options.outputFolder)) {
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();
    }
}

TEST_F(FeedBuild, ARejectedTownKeepsItsFileOnlyWhileItIsCurrent) {
    const std::string current = Read((BuildFeed(towns, options), Forecast("27612")));
    options.now = *vt::ParseUtcTime("2026-01-16T10:00:00Z");  // a day on: 15th is yesterday
    const std::string stale = current;
    struct Case {
        const char* what;
        std::string input;     // empty: no input file
        std::string previous;  // empty: no previous file
        const char* nowText;
        bool kept;
        const char* message;
    };
    json badHumidity = Answer(72);
    badHumidity["hourly"]["relative_humidity_2m"][5] = -3;
    json localClock = Answer(72);
    localClock["utc_offset_seconds"] = 10800;
    const Case cases[] = {
        {"bad humidity, today's file", badHumidity.dump(), current, "2026-01-15T10:00:00Z", true,
         "Москва (27612): hourly.relative_humidity_2m[5]: -3 is outside 0..100"},
        {"bad humidity, yesterday's file", badHumidity.dump(), stale, "2026-01-16T10:00:00Z", false,
         "Москва (27612): its old forecast of 2026-01-15 is removed"},
        {"a local clock, today's file", localClock.dump(), current, "2026-01-15T10:00:00Z", true,
         "Москва (27612): utc_offset_seconds: 10800 where 0 (timezone=GMT) is expected"},
        {"no input, today's file", "", current, "2026-01-15T10:00:00Z", true,
         "Москва (27612): keeps its forecast of 2026-01-15"},
        {"truncated input, a broken file", "{\"hourly\":", "garbage\r\n", "2026-01-15T10:00:00Z",
         false, "Москва (27612): its old forecast (unreadable) is removed"},
        {"input over 4 MiB", std::string(4 * 1024 * 1024 + 1, ' '), current, "2026-01-15T10:00:00Z",
         true, "Москва (27612): input: "},
    };
    for (const Case& c : cases) {
        const fs::path input = options.inputFolder / "27612.json";
        fs::remove(input);
        if (!c.input.empty()) Write(input, c.input);
        Write(Forecast("27612"), c.previous);
        options.now = *vt::ParseUtcTime(c.nowText);
        const BuildReport report = BuildFeed(towns, options);
        EXPECT_EQ(report.townsRejected, 1) << c.what;
        EXPECT_EQ(report.townsBuilt, 1) << c.what;
        EXPECT_EQ(fs::exists(Forecast("27612")), c.kept) << c.what;
        const std::string page = Read(options.outputFolder / "towns" / "27612.htm");
        if (c.kept) {
            EXPECT_EQ(Read(Forecast("27612")), c.previous) << c.what;
        } else {
            EXPECT_NE(page.find("Прогноз временно недоступен."), std::string::npos) << c.what;
            EXPECT_EQ(page.find("день:"), std::string::npos) << c.what;
        }
        bool found = false;
        for (const std::string& m : report.messages) found = found || m.starts_with(c.message);
        EXPECT_TRUE(found) << c.what << ": " << ::testing::PrintToString(report.messages);
    }
}

TEST_F(FeedBuild, ASecondBuildIntoTheSameFolderStopsAtOnce) {
    fs::create_directories(options.outputFolder);
    const FolderLock running(options.outputFolder);
    ASSERT_TRUE(running.Held());
    const BuildReport report = BuildFeed(towns, options);
    EXPECT_TRUE(report.writeFailed);
    EXPECT_EQ(report.townsBuilt, 0);
    EXPECT_EQ(report.messages, std::vector<std::string>{"another vtfeed is building " +
                                                        options.outputFolder.string()});
    EXPECT_FALSE(fs::exists(options.outputFolder / "vlbartlistfull.txt"));
}

// The tool itself: exit status and what it prints.
struct ToolRun {
    int status;
    std::string output;
};

ToolRun RunTool(const std::string& arguments) {
    const std::string command = std::string(VTFEED_PATH) + " " + arguments + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get()))
        output.append(buffer, n);
    const int status = ::pclose(pipe.release());
    return {WEXITSTATUS(status), output};
}

TEST_F(FeedBuild, TheToolsExitStatusAndMessages) {
    const std::string townsFile = (root / "towns.csv").string();
    Write(townsFile, "27612;Москва;Россия;55.7558;37.6173;3\n33345;Киев;Украина;50.45;30.52;2\n");
    json bad = Answer(72);
    bad["hourly_units"]["surface_pressure"] = "mmHg";
    Write(options.inputFolder / "33345.json", bad.dump());
    const std::string build = "build --towns " + townsFile + " --input " +
                              options.inputFolder.string() + " --output " +
                              options.outputFolder.string();
    const struct {
        std::string arguments;
        int status;
        const char* says;
    } cases[] = {
        {"--help", 0, "UTC offset in hours"},
        {"", 2, "Usage:"},
        {"frobnicate", 2, "vtfeed: unknown command: frobnicate"},
        {build + " --now 2026-01-15", 2,
         "vtfeed: --now: expected YYYY-MM-DDTHH:MM:SSZ, got 2026-01-15"},
        {"build --towns " + townsFile, 2, "vtfeed: --input is required"},
        {"build --towns /nonexistent/towns.csv --input x --output y", 2,
         "vtfeed: cannot read the towns file /nonexistent/towns.csv"},
        {build + " --now 2026-01-15T10:00:00Z", 1,
         "vtfeed: Киев (33345): hourly_units.surface_pressure: \"mmHg\" where \"hPa\" is expected\n"
         "vtfeed: 1 towns built, 1 rejected\n"},
        {"fetch-command --towns " + townsFile + " --input /srv/in", 0,
         "curl -fsS --retry 2 --max-time 60 -o '/srv/in/27612.json.part' "
         "'https://api.open-meteo.com/v1/forecast?latitude=55.7558&longitude=37.6173&hourly="
         "temperature_2m,relative_humidity_2m,surface_pressure,wind_speed_10m,wind_direction_10m,"
         "weather_code,cloud_cover&timezone=GMT&forecast_days=4' && mv '/srv/in/27612.json.part' "
         "'/srv/in/27612.json'\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.arguments << "\n" << run.output;
    }
    Write(townsFile, "27612;Москва;Россия;55.7558;37.6173;3\n27612;Тверь;Россия;56.86;35.9;3\n");
    const ToolRun duplicate = RunTool(build);
    EXPECT_EQ(duplicate.status, 2);
    EXPECT_NE(duplicate.output.find("towns.csv: line 2: station index 27612 is listed twice"),
              std::string::npos);
}

}  // namespace
}  // namespace vtf
