// vtfeed: builds the weather service's static files from Open-Meteo's hourly forecasts.
#include <charconv>
#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "feed_build.h"
#include "feed_towns.h"

namespace vtf {
namespace {

constexpr const char* kUsage = R"(Usage:
  vtfeed build --towns FILE --input DIR --output DIR [--now TIME]
      Reads DIR/<index>.json for every town of FILE and writes into the output folder:
        vlbartlistfull.txt   the town list: "index;name;x;country;" lines, code page 1251,
                             CR LF, in the towns file's order
        data/BTR<index>.TXT  the forecast: line 1 the day (12-18 local) of today while local
                             time is before 18:00, else of tomorrow; line 2 the night (0-6
                             local) of tomorrow; masked record lines, CR LF
        towns/<index>.htm    the page "Прогноз на 3 дня" of the town, UTF-8
        index.htm            the list of town pages
      Every file is written beside its target as <name>.part and renamed over it, so a web
      server never serves half a file. One build at a time per output folder.
      --now TIME   the clock, as YYYY-MM-DDTHH:MM:SSZ (default: the system clock)
  vtfeed fetch-command --towns FILE --input DIR
      Prints the curl command lines that download every town's forecast into DIR/<index>.json
      (each to a .part file first, then renamed), for a shell: vtfeed fetch-command ... | sh
  vtfeed --help

The towns file, UTF-8, one town a line; blank lines and lines starting with "#" are skipped:
  station index;town name;country;latitude;longitude;UTC offset in hours
  27612;Москва;Россия;55.7558;37.6173;3
Five-digit indexes, names in code page 1251 without ";", offsets in steps of 0.25 hours.

The input is Open-Meteo's /v1/forecast answer for hourly=temperature_2m,
relative_humidity_2m,surface_pressure,wind_speed_10m,wind_direction_10m,weather_code,
cloud_cover&timezone=GMT. Units must be °C, %, hPa, km/h, °; utc_offset_seconds 0; the hours
one apart. Input over 4 MiB or with more than 384 values in an array is refused unread.

From samples to a record: a sample belongs to a period when its local hour (UTC + offset) lies
in [start, end): night 0-6, morning 6-12, day 12-18, evening 18-24; a period needs all six.
Means of the period's samples, rounded half away from zero:
  temperature  °C, clamped to -70..57
  pressure     hPa × 0.750062 = mm of mercury, clamped to 500..1011
  humidity     %, clamped to 0..100
  wind speed   km/h ÷ 3.6 = m/s, clamped to 0..7 (8 m/s and above show as 7)
  wind         the vector mean of the directions, named by where the wind comes from:
               sector floor((deg + 22.5) / 45) mod 8, 0 north clockwise to 7 north-west;
               north when the directions cancel out
  sky          any WMO code 95, 96, 99: 9 thunderstorm;
               else any 71-77, 85, 86 (snow): 7, or 8 with mean cloud cover of 85 % or more;
               else any 51-67, 80-82 (rain): 5, or 6 with mean cloud cover of 85 % or more;
               else any 45, 48 (fog): 4;
               else by mean cloud cover: under 20 % 1, under 50 % 2, under 85 % 3, else 4
A town with bad input (missing file, bad JSON, non-finite numbers, null in the hours its two
records use, humidity or cloud cover outside 0..100, direction outside 0..360, negative
speed, unknown weather code, wrong units, offset or steps) is reported on stderr with the
field at fault; it keeps its previous forecast file while that file's first record is dated
local today or later, else the file is deleted and its page says the forecast is unavailable.

Exit status: 0 when every town was built, 1 when a town was rejected or a file could not be
written, 2 on bad arguments or a bad towns file.
)";

constexpr std::string_view kHourly =
    "temperature_2m,relative_humidity_2m,surface_pressure,wind_speed_10m,wind_direction_10m,"
    "weather_code,cloud_cover";

struct UsageError {
    std::string message;
};

std::map<std::string, std::string> ParseOptions(const std::vector<std::string_view>& args,
                                                const std::vector<std::string_view>& known) {
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        bool isKnown = false;
        for (std::string_view name : known) isKnown = isKnown || args[i] == name;
        if (!isKnown) throw UsageError{"unknown argument: " + std::string(args[i])};
        if (i + 1 >= args.size()) throw UsageError{std::string(args[i]) + " needs a value"};
        options[std::string(args[i])] = args[i + 1];
    }
    return options;
}

std::string Required(const std::map<std::string, std::string>& options, const std::string& name) {
    const auto found = options.find(name);
    if (found == options.end()) throw UsageError{name + " is required"};
    return found->second;
}

std::vector<FeedTown> ReadTowns(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError{"cannot read the towns file " + path};
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TownsFile towns = ParseTownsFile(text);
    if (!towns.error.empty()) throw UsageError{path + ": " + towns.error};
    return std::move(towns.towns);
}

vt::UtcTime SystemNow() {
    using namespace std::chrono;
    return vt::FromUnixMillis(
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

std::string ShellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Decimal(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

int Build(const std::vector<std::string_view>& args) {
    const auto options = ParseOptions(args, {"--towns", "--input", "--output", "--now"});
    BuildOptions build;
    const std::vector<FeedTown> towns = ReadTowns(Required(options, "--towns"));
    build.inputFolder = Required(options, "--input");
    build.outputFolder = Required(options, "--output");
    build.now = SystemNow();
    if (const auto now = options.find("--now"); now != options.end()) {
        const std::optional<vt::UtcTime> fixed = vt::ParseUtcTime(now->second);
        if (!fixed) throw UsageError{"--now: expected YYYY-MM-DDTHH:MM:SSZ, got " + now->second};
        build.now = *fixed;
    }
    const BuildReport report = BuildFeed(towns, build);
    for (const std::string& message : report.messages) std::cerr << "vtfeed: " << message << "\n";
    std::cerr << "vtfeed: " << report.townsBuilt << " towns built, " << report.townsRejected
              << " rejected\n";
    return report.townsRejected > 0 || report.writeFailed ? 1 : 0;
}

int FetchCommand(const std::vector<std::string_view>& args) {
    const auto options = ParseOptions(args, {"--towns", "--input"});
    const std::string input = Required(options, "--input");
    for (const FeedTown& town : ReadTowns(Required(options, "--towns"))) {
        // Four UTC days reach tomorrow's night and day in every zone from -12 to +14.
        const std::string url =
            "https://api.open-meteo.com/v1/forecast?latitude=" + Decimal(town.latitude) +
            "&longitude=" + Decimal(town.longitude) + "&hourly=" + std::string(kHourly) +
            "&timezone=GMT&forecast_days=4";
        const std::string file = input + "/" + town.index + ".json";
        std::cout << "curl -fsS --retry 2 --max-time 60 -o " << ShellQuoted(file + ".part") << " "
                  << ShellQuoted(url) << " && mv " << ShellQuoted(file + ".part") << " "
                  << ShellQuoted(file) << "\n";
    }
    return 0;
}

int Run(const std::vector<std::string_view>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::vector<std::string_view> rest(args.begin() + 1, args.end());
    if (args[0] == "build") return Build(rest);
    if (args[0] == "fetch-command") return FetchCommand(rest);
    throw UsageError{"unknown command: " + std::string(args[0])};
}

}  // namespace
}  // namespace vtf

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    try {
        return vtf::Run(args);
    } catch (const vtf::UsageError& error) {
        std::cerr << "vtfeed: " << error.message << "\n(vtfeed --help shows the usage)\n";
        return 2;
    }
}
