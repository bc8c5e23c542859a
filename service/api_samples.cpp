#include "api_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>

#include "http_request.h"
#include "json_text.h"
#include "openmeteo/json_reading.h"
#include "openmeteo/period_mapping.h"
#include "openmeteo/place.h"
#include "text/encoding.h"

namespace vts {
namespace {

constexpr int kHoursPerDay = 24;
constexpr int kMaxForecastDays = 3;

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

HttpResponse JsonResponse(int status, std::string body) {
    HttpResponse response = TextResponse(status, std::move(body));
    response.contentType = "application/json; charset=utf-8";
    return response;
}

HttpResponse ApiError(const std::string& reason) {
    return JsonResponse(400, "{\"error\":true,\"reason\":" + JsonString(reason) + "}");
}

std::string Two(int n) {
    return std::string(n < 10 ? "0" : "") + std::to_string(n);
}

std::string Number(const std::optional<double>& value) {
    return value ? vt::NumberText(*value) : "null";
}

std::string Offset(int minutes) {
    const int hours = std::abs(minutes) / 60, rest = std::abs(minutes) % 60;
    return std::string("GMT") + (minutes < 0 ? "-" : "+") + std::to_string(hours) +
           (rest ? ":" + Two(rest) : "");
}

}  // namespace

std::optional<ApiSamples> ApiSamples::Load(const std::filesystem::path& feedFolder,
                                           std::string& error) {
    const std::optional<std::string> csv = ReadFile(feedFolder / "towns.csv");
    if (!csv) {
        error = "cannot read " + (feedFolder / "towns.csv").string();
        return std::nullopt;
    }
    const vtf::TownsFile file = vtf::ParseTownsFile(*csv);
    if (!file.error.empty()) {
        error = "towns.csv: " + file.error;
        return std::nullopt;
    }
    ApiSamples samples;
    for (const vtf::FeedTown& town : file.towns) {
        const std::filesystem::path path = feedFolder / "samples" / (town.index + ".json");
        const std::optional<std::string> json = ReadFile(path);
        vt::SeriesResult read = json ? vt::ReadHourlySeries(*json) : vt::SeriesResult{};
        if (!read.series || read.series->Hours() < kMaxForecastDays * kHoursPerDay) {
            error = path.string() + ": " +
                    (json ? read.rejection.field + ": " + read.rejection.reason
                          : std::string("cannot read"));
            if (read.series) error = path.string() + ": fewer than 72 hours";
            return std::nullopt;
        }
        samples.towns_.push_back({town, std::move(*read.series)});
    }
    if (samples.towns_.empty()) {
        error = "towns.csv names no town";
        return std::nullopt;
    }
    for (const SampleTown& sample : samples.towns_) {
        samples.places_.push_back({90000000 + std::stoll(sample.town.index), sample.town.name, "",
                                   sample.town.country, sample.town.latitude,
                                   sample.town.longitude});
    }
    const std::optional<std::string> places = ReadFile(feedFolder / "places.csv");
    if (!places) {
        error = "cannot read " + (feedFolder / "places.csv").string();
        return std::nullopt;
    }
    std::istringstream lines(*places);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line.front() == '#') continue;
        std::vector<std::string> f;
        for (std::size_t start = 0;;) {
            const std::size_t end = line.find(';', start);
            f.push_back(line.substr(start, end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
        const std::optional<vt::Place> place =
            f.size() == 6 ? vt::ParsePlace(f[4], f[5]) : std::nullopt;
        if (!place) {
            error = "places.csv: line " + std::to_string(number) +
                    ": expected id;name;admin1;country;latitude;longitude";
            return std::nullopt;
        }
        samples.places_.push_back(
            {std::stoll(f[0]), f[1], f[2], f[3], place->latitude, place->longitude});
    }
    return samples;
}

const SampleTown& ApiSamples::Nearest(double latitude, double longitude) const {
    const SampleTown* best = &towns_.front();
    double bestDistance = HUGE_VAL;
    for (const SampleTown& sample : towns_) {
        const double north = sample.town.latitude - latitude;
        double east = std::fabs(sample.town.longitude - longitude);
        if (east > 180) east = 360 - east;
        east *= std::cos(latitude * std::numbers::pi / 180);
        const double distance = north * north + east * east;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &sample;
        }
    }
    return *best;
}

HttpResponse ApiSamples::Search(std::string_view rawQuery) const {
    const std::optional<std::string> name = QueryParam(rawQuery, "name");
    if (!name || name->empty()) return ApiError("Parameter 'name' required");
    int count = 10;
    if (const std::optional<std::string> asked = QueryParam(rawQuery, "count")) {
        count = std::clamp(std::atoi(asked->c_str()), 1, 100);
    }
    std::string results;
    int found = 0;
    for (const SearchPlace& place : places_) {
        if (found == count || !vt::StartsWithIgnoreCase(place.name, *name)) continue;
        results += std::string(found++ ? "," : "") + "{\"id\":" + std::to_string(place.id) +
                   ",\"name\":" + JsonString(place.name) +
                   ",\"latitude\":" + vt::NumberText(place.latitude) +
                   ",\"longitude\":" + vt::NumberText(place.longitude) +
                   ",\"country\":" + JsonString(place.country) +
                   (place.region.empty() ? "" : ",\"admin1\":" + JsonString(place.region)) + "}";
    }
    // The API leaves "results" out when it finds nothing.
    return JsonResponse(200, found ? "{\"results\":[" + results + "],\"generationtime_ms\":0.1}"
                                   : "{\"generationtime_ms\":0.1}");
}

HttpResponse ApiSamples::Forecast(std::string_view rawQuery, const vt::UtcTime& now) const {
    const std::optional<std::string> latitude = QueryParam(rawQuery, "latitude");
    const std::optional<std::string> longitude = QueryParam(rawQuery, "longitude");
    if (!latitude || !longitude) return ApiError("Parameter 'latitude' and 'longitude' required");
    const std::optional<vt::Place> place = vt::ParsePlace(*latitude, *longitude);
    if (!place) return ApiError("Latitude must be in range of -90 to 90°. Given: " + *latitude);
    const SampleTown& sample = Nearest(place->latitude, place->longitude);
    const int offset = sample.town.utcOffsetMinutes;
    const std::int64_t firstDay = vt::DaysFromCivil(vt::LocalDate(now, offset));
    const vt::HourlySeries& s = sample.series;
    // The samples' hours are UTC from their first midnight. Local hour h of the answer takes the
    // sample's hour of the same UTC time a day later, so each local period keeps the weather
    // the feed gives it.
    const int hours = kMaxForecastDays * kHoursPerDay;
    const int base = std::clamp(kHoursPerDay - offset / 60, 0, static_cast<int>(s.Hours()) - hours);

    std::string times, columns[7];
    const std::vector<std::optional<double>>* values[] = {
        &s.temperature, &s.humidity, &s.pressure, &s.windSpeed, &s.windDirection, &s.cloudCover};
    for (int h = 0; h < hours; ++h) {
        const auto i = static_cast<std::size_t>(base + h);
        const vt::CivilDate day = vt::CivilFromDays(firstDay + h / kHoursPerDay);
        const std::string sep = h ? "," : "";
        times += sep + "\"" + std::to_string(day.year) + "-" + Two(day.month) + "-" + Two(day.day) +
                 "T" + Two(h % kHoursPerDay) + ":00\"";
        for (int c = 0; c < 6; ++c) columns[c] += sep + Number((*values[c])[i]);
        const std::optional<int> code = s.weatherCode[i];
        columns[6] += sep + (code ? std::to_string(*code) : "null");
    }
    const std::string zone = Offset(offset);
    std::string body =
        "{\"latitude\":" + vt::NumberText(sample.town.latitude) +
        ",\"longitude\":" + vt::NumberText(sample.town.longitude) +
        ",\"generationtime_ms\":0.1,\"utc_offset_seconds\":" + std::to_string(offset * 60) +
        ",\"timezone\":\"" + zone + "\",\"timezone_abbreviation\":\"" + zone +
        "\",\"elevation\":150.0," +
        "\"hourly_units\":{\"time\":\"iso8601\",\"temperature_2m\":\"°C\","
        "\"relative_humidity_2m\":\"%\",\"surface_pressure\":\"hPa\","
        "\"wind_speed_10m\":\"km/h\",\"wind_direction_10m\":\"°\","
        "\"weather_code\":\"wmo code\",\"cloud_cover\":\"%\"},\"hourly\":{" +
        "\"time\":[" + times + "]";
    const char* keys[] = {"temperature_2m", "relative_humidity_2m", "surface_pressure",
                          "wind_speed_10m", "wind_direction_10m",   "cloud_cover",
                          "weather_code"};
    for (int c = 0; c < 7; ++c) body += ",\"" + std::string(keys[c]) + "\":[" + columns[c] + "]";
    body += "}}";
    return JsonResponse(200, std::move(body));
}

}  // namespace vts
