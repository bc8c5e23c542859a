#include "openmeteo/hourly_answer.h"

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
std::optional<std::int64_t> WallClockMinuteOf(const JsonNode& value) {
    if (!value.Is(JsonNode::Kind::String)) return std::nullopt;
    const std::string& text = value.text;
    if (text.size() != 16 || text.substr(13) != ":00") return std::nullopt;
    const std::optional<UtcTime> time = ParseUtcTime(text + ":00Z");
    if (!time) return std::nullopt;
    return ToUnixMillis(*time) / 60000;
}

const JsonNode& HourlyArray(const JsonNode& hourly, const std::string& key, std::size_t hours) {
    const JsonNode& values = Member(hourly, key, "hourly.");
    if (!values.Is(JsonNode::Kind::Array)) Reject(Cat({"hourly.", key}), "not an array");
    if (values.children.size() != hours) {
        Reject(Cat({"hourly.", key}), Cat({std::to_string(values.children.size()), " values for ",
                                           std::to_string(hours), " hours"}));
    }
    return values;
}

void ReadQuantity(const JsonNode& hourly, const Quantity& quantity, std::size_t hours,
                  HourlySeries& series) {
    const JsonNode& values = HourlyArray(hourly, quantity.key, hours);
    auto& out = series.*quantity.values;
    const std::string array = Cat({"hourly.", quantity.key});
    for (std::size_t i = 0; i < values.children.size(); ++i) {
        const JsonNode& value = values.children[i];
        if (value.Is(JsonNode::Kind::Null)) {
            out.emplace_back();
            continue;
        }
        if (!value.Is(JsonNode::Kind::Number)) RejectElement(array, i, "not a number");
        const double number = value.number;
        if (number < quantity.low || number > quantity.high) {
            RejectElement(array, i,
                          quantity.high == kUnbounded
                              ? Cat({NumberText(number), " is below ", NumberText(quantity.low)})
                              : Cat({NumberText(number), " is outside ", NumberText(quantity.low),
                                     "..", NumberText(quantity.high)}));
        }
        out.emplace_back(number);
    }
}

void ReadWeatherCodes(const JsonNode& hourly, std::size_t hours, HourlySeries& series) {
    const JsonNode& values = HourlyArray(hourly, "weather_code", hours);
    for (std::size_t i = 0; i < values.children.size(); ++i) {
        const JsonNode& value = values.children[i];
        if (value.Is(JsonNode::Kind::Null)) {
            series.weatherCode.emplace_back();
            continue;
        }
        // Range first: a cast of a huge double to int is undefined.
        const double number = value.Is(JsonNode::Kind::Number) ? value.number : -1;
        if (!(number >= 0 && number <= 99) || std::trunc(number) != number ||
            !IsKnownWeatherCode(static_cast<int>(number))) {
            RejectElement("hourly.weather_code", i, Cat({"unknown weather code ", Shown(value)}));
        }
        series.weatherCode.emplace_back(static_cast<int>(number));
    }
}

void CheckUnits(const JsonNode& root) {
    const JsonNode& units = ObjectMember(root, "hourly_units");
    auto expect = [&units](const std::string& key, const std::string& unit) {
        const JsonNode& value = Member(units, key, "hourly_units.");
        if (!value.Is(JsonNode::Kind::String) || value.text != unit) {
            Reject(Cat({"hourly_units.", key}),
                   Cat({Shown(value), " where \"", unit, "\" is expected"}));
        }
    };
    expect("time", "iso8601");
    for (const Quantity& quantity : kQuantities) expect(quantity.key, quantity.unit);
}

int UtcOffsetMinutesOf(const JsonNode& root) {
    const JsonNode& offset = Member(root, "utc_offset_seconds", "");
    const double seconds = offset.Is(JsonNode::Kind::Number) ? offset.number : NAN;
    if (!(seconds >= kMinUtcOffsetMinutes * 60.0 && seconds <= kMaxUtcOffsetMinutes * 60.0) ||
        std::fmod(seconds, 60.0) != 0) {
        Reject("utc_offset_seconds",
               Cat({Shown(offset), " is not an offset of whole minutes within -12..+14 hours"}));
    }
    return static_cast<int>(seconds / 60);
}

HourlySeries ReadDocument(const JsonNode& root) {
    if (!root.Is(JsonNode::Kind::Object)) Reject("(document)", "not an object");
    for (const JsonNode& column : ObjectMember(root, "hourly").children) {
        if (column.Is(JsonNode::Kind::Array) && column.children.size() > kMaxHours) {
            Reject(Cat({"hourly.", column.key}),
                   Cat({std::to_string(column.children.size()), " values, more than ",
                        std::to_string(kMaxHours)}));
        }
    }
    HourlySeries series;
    series.utcOffsetMinutes = UtcOffsetMinutesOf(root);
    CheckUnits(root);
    const JsonNode& hourly = ObjectMember(root, "hourly");
    const JsonNode& times = Member(hourly, "time", "hourly.");
    if (!times.Is(JsonNode::Kind::Array) || times.children.empty())
        Reject("hourly.time", "not a list of hours");
    std::int64_t first = 0;
    for (std::size_t i = 0; i < times.children.size(); ++i) {
        const std::optional<std::int64_t> minute = WallClockMinuteOf(times.children[i]);
        if (!minute) {
            RejectElement("hourly.time", i,
                          Cat({Shown(times.children[i]), " is not an hour as YYYY-MM-DDTHH:00"}));
        }
        if (i == 0) {
            first = *minute;
        } else if (*minute != first + 60 * static_cast<std::int64_t>(i)) {
            RejectElement("hourly.time", i,
                          Cat({Shown(times.children[i]), " does not follow the previous hour"}));
        }
    }
    series.firstMinute = first - series.utcOffsetMinutes;
    for (const Quantity& quantity : kQuantities) {
        ReadQuantity(hourly, quantity, times.children.size(), series);
    }
    ReadWeatherCodes(hourly, times.children.size(), series);
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
        const JsonNode document = ParseJson(text, kMaxAnswerBytes, kMaxAnswerValues);
        return {ReadDocument(document), {}};
    } catch (const JsonRejection& failure) {
        return {std::nullopt, failure.rejection};
    }
}

}  // namespace vt
