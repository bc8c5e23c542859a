// vtforecast: decodes stored forecast files as the tray would and writes masked record lines.
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/tray_settings.h"
#include "common/calendar.h"
#include "forecast/forecast_loader.h"
#include "forecast/icon_choice.h"
#include "forecast/record_codec.h"
#include "forecast/russian_day_names.h"

namespace vt {
namespace {

constexpr const char* kUsage = R"(Usage:
  vtforecast decode [--span SPAN] [--now TIME] [--town NAME] FILE...
      Loads the files one after another into one session, so each load starts from what the
      previous one left, and prints after each load every field the tray reads, one
      "name: value" line each (UTF-8; CR, LF and backslash in texts written as \r, \n, \\).
      --span SPAN   "День+ночь" (default) reads two records, anything else one
      --now TIME    UTC time as YYYY-MM-DDTHH:MM:SSZ; it fixes the records' years
                    (default: the current time)
      --town NAME   town name for the menu caption (default: empty)
  vtforecast encode --period N --date YYYY-MM-DD --sky N --temp N --pressure N
                    --humidity N --wind-dir N --wind-speed N
      Prints one masked record line. Ranges: period 0..3 (morning, day, evening, night),
      sky 1..9, temp -70..57, pressure 500..1011, humidity 0..127, wind-dir 0..7 (0 north,
      clockwise by 45 degrees), wind-speed 0..7. The year is kept modulo 8.
  vtforecast encode-raw VALUE
      Masks an unmasked record value (unsigned decimal) and prints the line.
  vtforecast --help
      Shows this text.
Exit status: 0 on success (a load ending in the error state included), 2 on bad arguments.
)";

struct UsageError {
    std::string message;
};

template <typename Int>
Int ParseNumber(std::string_view text, std::string_view what) {
    Int value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        throw UsageError{std::string(what) + ": out of range: " + std::string(text)};
    }
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) {
        throw UsageError{std::string(what) + ": not a whole number: \"" + std::string(text) + "\""};
    }
    return value;
}

int InRange(std::string_view text, std::string_view what, int low, int high) {
    const int value = ParseNumber<int>(text, what);
    if (value < low || value > high) {
        throw UsageError{std::string(what) + ": " + std::to_string(value) + " is outside " +
                         std::to_string(low) + ".." + std::to_string(high)};
    }
    return value;
}

// "YYYY-MM-DD" at the start of text.
CivilDate ParseDate(std::string_view text, std::string_view what) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') {
        throw UsageError{std::string(what) + ": expected YYYY-MM-DD: \"" + std::string(text) +
                         "\""};
    }
    const CivilDate date{InRange(text.substr(0, 4), what, 1, 9999),
                         InRange(text.substr(5, 2), what, 1, 12),
                         InRange(text.substr(8, 2), what, 1, 31)};
    if (!IsValidDate(date.year, date.month, date.day)) {
        throw UsageError{std::string(what) + ": no such date: " + std::string(text.substr(0, 10))};
    }
    return date;
}

CivilDate ParseNow(std::string_view text) {
    const std::optional<UtcTime> now = ParseUtcTime(text);
    if (!now) {
        throw UsageError{"--now: expected YYYY-MM-DDTHH:MM:SSZ: \"" + std::string(text) + "\""};
    }
    return now->Date();
}

CivilDate TodayUtc() {
    using namespace std::chrono;
    const auto millis = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    return FromUnixMillis(millis.count()).Date();
}

// Nullopt for anything the tray could not read either: missing, locked, a folder.
std::optional<std::string> ReadFile(const std::string& path) {
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return bytes;
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

std::string DateText(const CivilDate& d) {
    if (d == CivilDate{}) return "0";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", d.day, d.month, d.year);
    return buffer;
}

void Print(std::string_view name, std::string_view value) {
    std::cout << name << ": " << Escaped(value) << '\n';
}

void PrintLoad(const std::string& path, const LoadOutcome& outcome, const ForecastSession& s) {
    const TFrcBaloonAndIcon& f = s.frc;
    Print("file", path);
    Print("outcome", outcome.isError ? "Error" : "Prognoz");
    if (outcome.isError) Print("errorMessage", outcome.errorMessage);
    Print("trayText", f.trayText);
    Print("firstText", f.firstText);
    Print("secondText", f.secondText);
    Print("iconTempText", f.iconTempText);
    Print("iconPicture", std::to_string(f.iconPicture));
    Print("trayState", f.trayState);
    Print("shortText", f.shortText);
    Print("iconPictureFromRecord", f.iconPictureFromRecord ? "true" : "false");
    Print("trayPicture", std::to_string(TrayPictureNumber(f)));
    Print("dayDate", DateText(s.dayDate));
    Print("otherDate", DateText(s.otherDate));
    Print("frcCaption", outcome.frcCaption ? *outcome.frcCaption : "(not set)");
}

int Decode(const std::vector<std::string>& args) {
    std::string span = "День+ночь";
    std::string town;
    std::optional<CivilDate> today;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--span" || a == "--now" || a == "--town") {
            if (i + 1 == args.size()) throw UsageError{a + ": value missing"};
            const std::string& value = args[++i];
            if (a == "--span") span = value;
            if (a == "--town") town = value;
            if (a == "--now") today = ParseNow(value);
        } else if (a.starts_with("--")) {
            throw UsageError{"decode: unknown option " + a};
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) throw UsageError{"decode: no file given"};

    const RussianDayNames dayNames;
    ForecastSession session;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const LoadOutcome outcome =
            LoadForecastFromBytes(ReadFile(files[i]), ReadsTwoRecords(span), town, session,
                                  dayNames, today ? *today : TodayUtc());
        if (outcome.isError) ApplyShowError(session.frc, outcome.errorMessage);
        if (i != 0) std::cout << '\n';
        PrintLoad(files[i], outcome, session);
    }
    return 0;
}

int Encode(const std::vector<std::string>& args) {
    static const char* const kNames[] = {"--period",   "--date",     "--sky",      "--temp",
                                         "--pressure", "--humidity", "--wind-dir", "--wind-speed"};
    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        bool known = false;
        for (const char* name : kNames) known = known || args[i] == name;
        if (!known) throw UsageError{"encode: unknown option " + args[i]};
        if (i + 1 == args.size()) throw UsageError{args[i] + ": value missing"};
        if (!values.emplace(args[i], args[i + 1]).second)
            throw UsageError{args[i] + ": given twice"};
    }
    for (const char* name : kNames) {
        if (!values.count(name)) throw UsageError{std::string("encode: ") + name + " missing"};
    }
    ForecastRecord r;
    r.period = InRange(values["--period"], "--period", 0, 3);
    const std::string& date = values["--date"];
    if (date.size() != 10) throw UsageError{"--date: expected YYYY-MM-DD: \"" + date + "\""};
    r.date = ParseDate(date, "--date");
    r.sky = InRange(values["--sky"], "--sky", 1, 9);
    r.temperature = InRange(values["--temp"], "--temp", -70, 57);
    r.pressure = InRange(values["--pressure"], "--pressure", 500, 1011);
    r.humidity = InRange(values["--humidity"], "--humidity", 0, 127);
    r.windDirection = InRange(values["--wind-dir"], "--wind-dir", 0, 7);
    r.windSpeed = InRange(values["--wind-speed"], "--wind-speed", 0, 7);
    std::cout << EncodeForecastLine(r) << '\n';
    return 0;
}

int EncodeRaw(const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError{"encode-raw: expected exactly one VALUE"};
    std::cout << EncodeMaskedValue(ParseNumber<std::uint64_t>(args[0], "encode-raw")) << '\n';
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) throw UsageError{"no command given"};
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        }
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "decode") return Decode(rest);
    if (command == "encode") return Encode(rest);
    if (command == "encode-raw") return EncodeRaw(rest);
    throw UsageError{"unknown command " + command};
}

}  // namespace
}  // namespace vt

int main(int argc, char** argv) {
    try {
        return vt::Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const vt::UsageError& e) {
        std::cerr << "vtforecast: " << e.message << "\nTry 'vtforecast --help'.\n";
        return 2;
    }
}
