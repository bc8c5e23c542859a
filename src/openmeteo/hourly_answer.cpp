#include "openmeteo/hourly_answer.h"

#include <charconv>
#include <cmath>

#include "common/calendar.h"
#include "openmeteo/json_reading.h"

namespace vt {
namespace {

struct Quantity {
    const char* key;
    const char* unit;
    std::vector<std::optional<double>> HourlySeries::*values;
    double low;
    double high;
};

constexpr double kUnbounded = HUGE_VAL;
const Quantity kQuantities[] = {
    {"temperature_2m", "°C", &HourlySeries::temperature, -kUnbounded, kUnbounded},
    {"relative_humidity_2m", "%", &HourlySeries::humidity, 0, 100},
    {"surface_pressure", "hPa", &HourlySeries::pressure, -kUnbounded, kUnbounded},
    {"wind_speed_10m", "km/h", &HourlySeries::windSpeed, 0, kUnbounded},
    {"wind_direction_10m", "°", &HourlySeries::windDirection, 0, 360},
    {"cloud_cover", "%", &HourlySeries::cloudCover, 0, 100},
};

// "2026-12-09T00:00" as minutes since the epoch of a clock without offset.
std::optional<std::int64_t> WallClockMinuteOf(const JsonValue& value) {
    if (!value.IsString()) return std::nullopt;
    const std::string text(value.GetString(), value.GetStringLength());
    if (text.size() != 16 || text.substr(13) != ":00") return std::nullopt;
    const std::optional<UtcTime> time = ParseUtcTime(text + ":00Z");
    if (!time) return std::nullopt;
    return ToUnixMillis(*time) / 60000;
}

const JsonValue& HourlyArray(const JsonValue& hourly, const std::string& key, std::size_t hours) {
    const JsonValue& values = Member(hourly, key, "hourly.");
    if (!values.IsArray()) Reject("hourly." + key, "not an array");
    if (values.Size() != hours) {
        Reject("hourly." + key,
               std::to_string(values.Size()) + " values for " + std::to_string(hours) + " hours");
    }
    return values;
}

void ReadQuantity(const JsonValue& hourly, const Quantity& quantity, std::size_t hours,
                  HourlySeries& series) {
    const JsonValue& values = HourlyArray(hourly, quantity.key, hours);
    auto& out = series.*quantity.values;
    for (rapidjson::SizeType i = 0; i < values.Size(); ++i) {
        const std::string field =
            "hourly." + std::string(quantity.key) + "[" + std::to_string(i) + "]";
        const JsonValue& value = values[i];
        if (value.IsNull()) {
            out.emplace_back();
            continue;
        }
        if (!value.IsNumber()) Reject(field, "not a number");
        const double number = value.GetDouble();
        if (number < quantity.low || number > quantity.high) {
            Reject(field, quantity.high == kUnbounded
                              ? NumberText(number) + " is below " + NumberText(quantity.low)
                              : NumberText(number) + " is outside " + NumberText(quantity.low) +
                                    ".." + NumberText(quantity.high));
        }
        out.emplace_back(number);
    }
}

void ReadWeatherCodes(const JsonValue& hourly, std::size_t hours, HourlySeries& series) {
    const JsonValue& values = HourlyArray(hourly, "weather_code", hours);
    for (rapidjson::SizeType i = 0; i < values.Size(); ++i) {
        const JsonValue& value = values[i];
        if (value.IsNull()) {
            series.weatherCode.emplace_back();
            continue;
        }
        // Range first: a cast of a huge double to int is undefined.
        const double number = value.IsNumber() ? value.GetDouble() : -1;
        if (!(number >= 0 && number <= 99) || std::trunc(number) != number ||
            !IsKnownWeatherCode(static_cast<int>(number))) {
            Reject("hourly.weather_code[" + std::to_string(i) + "]",
                   "unknown weather code " + Shown(value));
        }
        series.weatherCode.emplace_back(static_cast<int>(number));
    }
}

void CheckUnits(const JsonValue& root) {
    const JsonValue& units = ObjectMember(root, "hourly_units");
    auto expect = [&units](const std::string& key, const std::string& unit) {
        const JsonValue& value = Member(units, key, "hourly_units.");
        if (!value.IsString() || std::string(value.GetString(), value.GetStringLength()) != unit) {
            Reject("hourly_units." + key, Shown(value) + " where \"" + unit + "\" is expected");
        }
    };
    expect("time", "iso8601");
    for (const Quantity& quantity : kQuantities) expect(quantity.key, quantity.unit);
}

int UtcOffsetMinutesOf(const JsonValue& root) {
    const JsonValue& offset = Member(root, "utc_offset_seconds", "");
    const double seconds = offset.IsNumber() ? offset.GetDouble() : NAN;
    if (!(seconds >= kMinUtcOffsetMinutes * 60.0 && seconds <= kMaxUtcOffsetMinutes * 60.0) ||
        std::fmod(seconds, 60.0) != 0) {
        Reject("utc_offset_seconds", Shown(offset) +
                                         " is not an offset of whole minutes within "
                                         "-12..+14 hours");
    }
    return static_cast<int>(seconds / 60);
}

HourlySeries ReadDocument(const JsonValue& root) {
    if (!root.IsObject()) Reject("(document)", "not an object");
    RejectLongArrays(ObjectMember(root, "hourly"), "hourly.", kMaxHours);
    HourlySeries series;
    series.utcOffsetMinutes = UtcOffsetMinutesOf(root);
    CheckUnits(root);
    const JsonValue& hourly = ObjectMember(root, "hourly");
    const JsonValue& times = Member(hourly, "time", "hourly.");
    if (!times.IsArray() || times.Empty()) Reject("hourly.time", "not a list of hours");
    std::int64_t first = 0;
    for (rapidjson::SizeType i = 0; i < times.Size(); ++i) {
        const std::optional<std::int64_t> minute = WallClockMinuteOf(times[i]);
        const std::string field = "hourly.time[" + std::to_string(i) + "]";
        if (!minute) Reject(field, Shown(times[i]) + " is not an hour as YYYY-MM-DDTHH:00");
        if (i == 0) {
            first = *minute;
        } else if (*minute != first + 60 * static_cast<std::int64_t>(i)) {
            Reject(field, Shown(times[i]) + " does not follow the previous hour");
        }
    }
    series.firstMinute = first - series.utcOffsetMinutes;
    for (const Quantity& quantity : kQuantities) {
        ReadQuantity(hourly, quantity, times.Size(), series);
    }
    ReadWeatherCodes(hourly, times.Size(), series);
    return series;
}

}  // namespace

bool IsKnownWeatherCode(int code) {
    static constexpr int kCodes[] = {0,  1,  2,  3,  45, 48, 51, 53, 55, 56, 57, 61, 63, 65,
                                     66, 67, 71, 73, 75, 77, 80, 81, 82, 85, 86, 95, 96, 99};
    for (int known : kCodes) {
        if (code == known) return true;
    }
    return false;
}

SeriesResult ReadHourlySeries(std::string_view text) {
    try {
        const JsonDocument document = ParseJson(text, kMaxAnswerBytes);
        return {ReadDocument(document), {}};
    } catch (const JsonRejection& failure) {
        return {std::nullopt, failure.rejection};
    }
}

}  // namespace vt
