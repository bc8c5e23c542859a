#include "open_meteo.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "common/calendar.h"

namespace vtf {
namespace {

using nlohmann::json;

// A syntax pass without a document: it stops at the first array longer than kMaxHours and at
// numbers too large for a double, and knows where it is when it stops.
class ShapeCheck final : public nlohmann::json_sax<json> {
  public:
    Rejection rejection;

    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool string(string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override {
        if (!Value()) return false;
        frames_.push_back({false, {}, 0});
        return true;
    }
    bool key(string_t& name) override {
        frames_.back().key = name;
        return true;
    }
    bool end_object() override {
        frames_.pop_back();
        return true;
    }
    bool start_array(std::size_t) override {
        if (!Value()) return false;
        frames_.push_back({true, {}, 0});
        return true;
    }
    bool end_array() override {
        frames_.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& e) override {
        rejection = {Path(), e.what()};
        return false;
    }

  private:
    struct Frame {
        bool array;
        std::string key;
        std::size_t count;
    };
    std::vector<Frame> frames_;

    // Counts a value into the array it stands in.
    bool Value() {
        if (frames_.empty() || !frames_.back().array) return true;
        if (++frames_.back().count > kMaxHours) {
            rejection = {Path(), "more than " + std::to_string(kMaxHours) + " values"};
            return false;
        }
        return true;
    }

    std::string Path() const {
        std::string path;
        for (const Frame& frame : frames_) {
            if (frame.array) {
                path += "[" + std::to_string(frame.count == 0 ? 0 : frame.count - 1) + "]";
            } else if (!frame.key.empty()) {
                path += (path.empty() ? "" : ".") + frame.key;
            }
        }
        return path.empty() ? "(document)" : path;
    }
};

struct Failure {
    Rejection rejection;
};

[[noreturn]] void Reject(std::string field, std::string reason) {
    throw Failure{{std::move(field), std::move(reason)}};
}

const json& Member(const json& object, const std::string& name, const std::string& path) {
    const auto found = object.find(name);
    if (found == object.end()) Reject(path + name, "missing");
    return *found;
}

const json& ObjectMember(const json& object, const std::string& name) {
    const json& member = Member(object, name, "");
    if (!member.is_object()) Reject(name, "not an object");
    return member;
}

// "2026-12-09T00:00" as hours since the epoch.
std::optional<std::int64_t> HourOf(const json& value) {
    if (!value.is_string()) return std::nullopt;
    const std::string& text = value.get_ref<const std::string&>();
    if (text.size() != 16 || text.substr(13) != ":00") return std::nullopt;
    const std::optional<vt::UtcTime> time = vt::ParseUtcTime(text + ":00Z");
    if (!time) return std::nullopt;
    return vt::ToUnixMillis(*time) / 3600000;
}

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

// Shortest form: "-4", "100.5".
std::string Number(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

const json& HourlyArray(const json& hourly, const std::string& key, std::size_t hours) {
    const json& values = Member(hourly, key, "hourly.");
    if (!values.is_array()) Reject("hourly." + key, "not an array");
    if (values.size() != hours) {
        Reject("hourly." + key,
               std::to_string(values.size()) + " values for " + std::to_string(hours) + " hours");
    }
    return values;
}

void ReadQuantity(const json& hourly, const Quantity& quantity, std::size_t hours,
                  HourlySeries& series) {
    const json& values = HourlyArray(hourly, quantity.key, hours);
    auto& out = series.*quantity.values;
    out.clear();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string field =
            "hourly." + std::string(quantity.key) + "[" + std::to_string(i) + "]";
        const json& value = values[i];
        if (value.is_null()) {
            out.emplace_back();
            continue;
        }
        if (!value.is_number()) Reject(field, "not a number");
        const double number = value.get<double>();
        if (!std::isfinite(number)) Reject(field, "not a finite number");
        if (number < quantity.low || number > quantity.high) {
            Reject(field, quantity.high == kUnbounded
                              ? Number(number) + " is below " + Number(quantity.low)
                              : Number(number) + " is outside " + Number(quantity.low) + ".." +
                                    Number(quantity.high));
        }
        out.emplace_back(number);
    }
}

void ReadWeatherCodes(const json& hourly, std::size_t hours, HourlySeries& series) {
    const json& values = HourlyArray(hourly, "weather_code", hours);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const json& value = values[i];
        if (value.is_null()) {
            series.weatherCode.emplace_back();
            continue;
        }
        // Range first: a cast of a huge double to int is undefined.
        const double number = value.is_number() ? value.get<double>() : -1;
        if (!(number >= 0 && number <= 99) || std::trunc(number) != number ||
            !IsKnownWeatherCode(static_cast<int>(number))) {
            Reject("hourly.weather_code[" + std::to_string(i) + "]",
                   "unknown weather code " + value.dump());
        }
        series.weatherCode.emplace_back(static_cast<int>(number));
    }
}

void CheckUnits(const json& root) {
    const json& units = ObjectMember(root, "hourly_units");
    auto expect = [&units](const std::string& key, const std::string& unit) {
        const json& value = Member(units, key, "hourly_units.");
        if (!value.is_string() || value.get_ref<const std::string&>() != unit) {
            Reject("hourly_units." + key, value.dump() + " where \"" + unit + "\" is expected");
        }
    };
    expect("time", "iso8601");
    for (const Quantity& quantity : kQuantities) expect(quantity.key, quantity.unit);
}

HourlySeries ReadDocument(const json& root) {
    if (!root.is_object()) Reject("(document)", "not an object");
    const json& offset = Member(root, "utc_offset_seconds", "");
    if (!offset.is_number() || offset.get<double>() != 0) {
        Reject("utc_offset_seconds", offset.dump() + " where 0 (timezone=GMT) is expected");
    }
    CheckUnits(root);
    const json& hourly = ObjectMember(root, "hourly");
    const json& times = Member(hourly, "time", "hourly.");
    if (!times.is_array() || times.empty()) Reject("hourly.time", "not a list of hours");
    HourlySeries series;
    for (std::size_t i = 0; i < times.size(); ++i) {
        const std::optional<std::int64_t> hour = HourOf(times[i]);
        const std::string field = "hourly.time[" + std::to_string(i) + "]";
        if (!hour) Reject(field, times[i].dump() + " is not an hour as YYYY-MM-DDTHH:00");
        if (i == 0) {
            series.firstHour = *hour;
        } else if (*hour != series.firstHour + static_cast<std::int64_t>(i)) {
            Reject(field, times[i].dump() + " does not follow the previous hour");
        }
    }
    for (const Quantity& quantity : kQuantities) {
        ReadQuantity(hourly, quantity, times.size(), series);
    }
    ReadWeatherCodes(hourly, times.size(), series);
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
    if (text.size() > kMaxInputBytes) {
        return {std::nullopt,
                {"(document)", std::to_string(text.size()) + " bytes, more than " +
                                   std::to_string(kMaxInputBytes)}};
    }
    ShapeCheck shape;
    if (!json::sax_parse(text, &shape)) return {std::nullopt, shape.rejection};
    try {
        return {ReadDocument(json::parse(text)), {}};
    } catch (const Failure& failure) {
        return {std::nullopt, failure.rejection};
    }
}

}  // namespace vtf
