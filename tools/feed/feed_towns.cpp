#include "feed_towns.h"

#include <charconv>
#include <cmath>
#include <set>

#include "text/encoding.h"

namespace vtf {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t semicolon = line.find(';');
        fields.push_back(line.substr(0, semicolon));
        if (semicolon == std::string_view::npos) return fields;
        line.remove_prefix(semicolon + 1);
    }
}

bool ParseDecimal(std::string_view text, double& value) {
    if (text.empty() || text.front() == '+') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size() && std::isfinite(value);
}

bool IsFiveDigits(std::string_view text) {
    if (text.size() != 5) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Empty when the field is good, else what is wrong with it.
std::string CheckName(std::string_view value, std::string_view what) {
    if (value.empty()) return std::string(what) + " is empty";
    if (!vt::FitsCp1251(value)) {
        return std::string(what) + " \"" + std::string(value) + "\" does not fit code page 1251";
    }
    return {};
}

std::string ParseTown(std::string_view line, FeedTown& town) {
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() != 6) {
        return "expected 6 fields separated by \";\", found " + std::to_string(fields.size());
    }
    if (!IsFiveDigits(fields[0])) {
        return "station index \"" + std::string(fields[0]) + "\" is not five digits";
    }
    town.index = fields[0];
    if (std::string error = CheckName(fields[1], "town name"); !error.empty()) return error;
    if (std::string error = CheckName(fields[2], "country"); !error.empty()) return error;
    town.name = fields[1];
    town.country = fields[2];
    double hours = 0;
    if (!ParseDecimal(fields[3], town.latitude) || std::abs(town.latitude) > 90) {
        return "latitude \"" + std::string(fields[3]) + "\" is not a number of -90..90";
    }
    if (!ParseDecimal(fields[4], town.longitude) || std::abs(town.longitude) > 180) {
        return "longitude \"" + std::string(fields[4]) + "\" is not a number of -180..180";
    }
    // Real zones lie within -12..+14 hours and step by quarter hours (Nepal: 5.75).
    if (!ParseDecimal(fields[5], hours) || hours < -12 || hours > 14 ||
        std::round(hours * 4) != hours * 4) {
        return "UTC offset \"" + std::string(fields[5]) +
               "\" is not a number of hours of -12..14 in steps of 0.25";
    }
    town.utcOffsetMinutes = static_cast<int>(std::lround(hours * 60));
    return {};
}

}  // namespace

TownsFile ParseTownsFile(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    TownsFile result;
    std::set<std::string> seen;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        FeedTown town;
        std::string error = ParseTown(line, town);
        if (error.empty() && !seen.insert(town.index).second) {
            error = "station index " + town.index + " is listed twice";
        }
        if (!error.empty()) {
            return {{}, "line " + std::to_string(lineNumber) + ": " + error};
        }
        result.towns.push_back(std::move(town));
    }
    if (result.towns.empty()) result.error = "no towns";
    return result;
}

}  // namespace vtf
