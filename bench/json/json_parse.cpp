// What each JSON library costs the product: the same reading of a forecast answer (units,
// offset, seven hourly arrays with nulls) built with nlohmann/json, with RapidJSON, or with no
// library at all (VT_JSON_NONE, the floor: the same file reading, a byte count instead of a
// parse). The size of each executable against the floor's is the library's share; run natively,
// each prints the median time of a parse.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#if defined(VT_JSON_NLOHMANN)
#include <nlohmann/json.hpp>
#elif defined(VT_JSON_RAPIDJSON)
#include <rapidjson/document.h>
#endif

namespace {

struct Hours {
    int utcOffsetSeconds = 0;
    std::vector<std::vector<std::optional<double>>> series;
};

constexpr const char* kFields[] = {"temperature_2m", "relative_humidity_2m", "surface_pressure",
                                   "wind_speed_10m", "wind_direction_10m",   "weather_code",
                                   "cloud_cover"};
constexpr const char* kUnits[] = {"°C", "%", "hPa", "km/h", "°", "wmo code", "%"};

#if defined(VT_JSON_NLOHMANN)
bool Read(std::string_view text, Hours& hours) {
    const nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) return false;
    const auto offset = doc.find("utc_offset_seconds");
    const auto units = doc.find("hourly_units");
    const auto hourly = doc.find("hourly");
    if (offset == doc.end() || !offset->is_number_integer() || units == doc.end() ||
        hourly == doc.end() || !hourly->is_object()) {
        return false;
    }
    hours.utcOffsetSeconds = offset->get<int>();
    hours.series.clear();
    for (std::size_t f = 0; f < std::size(kFields); ++f) {
        const auto unit = units->find(kFields[f]);
        const auto values = hourly->find(kFields[f]);
        if (unit == units->end() || !unit->is_string() || *unit != kUnits[f] ||
            values == hourly->end() || !values->is_array()) {
            return false;
        }
        auto& out = hours.series.emplace_back();
        for (const auto& v : *values) {
            if (v.is_null()) {
                out.emplace_back();
            } else if (v.is_number()) {
                out.emplace_back(v.get<double>());
            } else {
                return false;
            }
        }
    }
    return true;
}
#elif defined(VT_JSON_RAPIDJSON)
bool Read(std::string_view text, Hours& hours) {
    rapidjson::Document doc;
    doc.Parse(text.data(), text.size());
    if (doc.HasParseError() || !doc.IsObject()) return false;
    const auto offset = doc.FindMember("utc_offset_seconds");
    const auto units = doc.FindMember("hourly_units");
    const auto hourly = doc.FindMember("hourly");
    if (offset == doc.MemberEnd() || !offset->value.IsInt() || units == doc.MemberEnd() ||
        !units->value.IsObject() || hourly == doc.MemberEnd() || !hourly->value.IsObject()) {
        return false;
    }
    hours.utcOffsetSeconds = offset->value.GetInt();
    hours.series.clear();
    for (std::size_t f = 0; f < std::size(kFields); ++f) {
        const auto unit = units->value.FindMember(kFields[f]);
        const auto values = hourly->value.FindMember(kFields[f]);
        if (unit == units->value.MemberEnd() || !unit->value.IsString() ||
            std::string_view(unit->value.GetString()) != kUnits[f] ||
            values == hourly->value.MemberEnd() || !values->value.IsArray()) {
            return false;
        }
        auto& out = hours.series.emplace_back();
        for (const auto& v : values->value.GetArray()) {
            if (v.IsNull()) {
                out.emplace_back();
            } else if (v.IsNumber()) {
                out.emplace_back(v.GetDouble());
            } else {
                return false;
            }
        }
    }
    return true;
}
#else
bool Read(std::string_view text, Hours& hours) {
    hours.utcOffsetSeconds = static_cast<int>(std::count(text.begin(), text.end(), ','));
    return !text.empty();
}
#endif

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::FILE* file = std::fopen(argv[1], "rb");
    if (!file) return 2;
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 1;
    std::vector<double> micros;
    Hours hours;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!Read(text, hours)) return 1;
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("%.1f\n", micros[micros.size() / 2]);
    return 0;
}
