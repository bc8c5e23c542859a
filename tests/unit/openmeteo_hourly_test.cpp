#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "common/calendar.h"
#include "openmeteo/hourly_answer.h"
#include "openmeteo/json_reading.h"
#include "openmeteo_answer.h"

namespace vt {
namespace {

using nlohmann::json;

TEST(OpenMeteo, ReadsAValidAnswer) {
    json answer = Answer();
    answer["hourly"]["temperature_2m"][3] = nullptr;
    answer["hourly"]["weather_code"][4] = 95.0;  // a whole number written as a float
    const SeriesResult result = ReadHourlySeries(answer.dump());
    ASSERT_TRUE(result.series) << result.rejection.field << ": " << result.rejection.reason;
    const HourlySeries& s = *result.series;
    EXPECT_EQ(s.Hours(), 48u);
    EXPECT_EQ(s.firstMinute, ToUnixMillis(*ParseUtcTime("2026-01-15T00:00:00Z")) / 60000);
    EXPECT_EQ(s.utcOffsetMinutes, 0);
    EXPECT_EQ(s.temperature[0], -5.5);
    EXPECT_FALSE(s.temperature[3]);
    EXPECT_EQ(s.weatherCode[4], 95);
    EXPECT_EQ(s.pressure[47], 997.2);
}

struct BadCase {
    const char* what;
    std::function<void(json&)> change;
    const char* field;
    const char* reason;  // the beginning of the reason
};

TEST(OpenMeteo, RefusesBadValuesNamingTheField) {
    const BadCase cases[] = {
        {"humidity below 0", [](json& a) { a["hourly"]["relative_humidity_2m"][5] = -3; },
         "hourly.relative_humidity_2m[5]", "-3 is outside 0..100"},
        {"humidity above 100", [](json& a) { a["hourly"]["relative_humidity_2m"][0] = 100.5; },
         "hourly.relative_humidity_2m[0]", "100.5 is outside 0..100"},
        {"cloud cover above 100", [](json& a) { a["hourly"]["cloud_cover"][7] = 101; },
         "hourly.cloud_cover[7]", "101 is outside 0..100"},
        {"direction above 360", [](json& a) { a["hourly"]["wind_direction_10m"][2] = 361; },
         "hourly.wind_direction_10m[2]", "361 is outside 0..360"},
        {"negative direction", [](json& a) { a["hourly"]["wind_direction_10m"][2] = -1; },
         "hourly.wind_direction_10m[2]", "-1 is outside 0..360"},
        {"negative speed", [](json& a) { a["hourly"]["wind_speed_10m"][9] = -0.1; },
         "hourly.wind_speed_10m[9]", "-0.1 is below 0"},
        {"a string for a number", [](json& a) { a["hourly"]["temperature_2m"][1] = "5"; },
         "hourly.temperature_2m[1]", "not a number"},
        {"unknown weather code", [](json& a) { a["hourly"]["weather_code"][6] = 4; },
         "hourly.weather_code[6]", "unknown weather code 4"},
        {"fractional weather code", [](json& a) { a["hourly"]["weather_code"][6] = 61.5; },
         "hourly.weather_code[6]", "unknown weather code 61.5"},
        {"huge weather code", [](json& a) { a["hourly"]["weather_code"][6] = 1e300; },
         "hourly.weather_code[6]", "unknown weather code"},
        {"a time skipped", [](json& a) { a["hourly"]["time"][10] = "2026-01-15T11:00"; },
         "hourly.time[10]", "\"2026-01-15T11:00\" does not follow the previous hour"},
        {"a time repeated", [](json& a) { a["hourly"]["time"][10] = "2026-01-15T09:00"; },
         "hourly.time[10]", "\"2026-01-15T09:00\" does not follow"},
        {"a time with minutes", [](json& a) { a["hourly"]["time"][0] = "2026-01-15T00:30"; },
         "hourly.time[0]", "\"2026-01-15T00:30\" is not an hour"},
        {"a time with a zone", [](json& a) { a["hourly"]["time"][0] = "2026-01-15T00:00Z"; },
         "hourly.time[0]", "\"2026-01-15T00:00Z\" is not an hour"},
        {"an offset of seconds", [](json& a) { a["utc_offset_seconds"] = 10830; },
         "utc_offset_seconds", "10830 is not an offset of whole minutes"},
        {"an offset beyond +14 h", [](json& a) { a["utc_offset_seconds"] = 14 * 3600 + 60; },
         "utc_offset_seconds", "50460 is not an offset"},
        {"an offset as text", [](json& a) { a["utc_offset_seconds"] = "0"; }, "utc_offset_seconds",
         "\"0\" is not an offset"},
        {"no offset", [](json& a) { a.erase("utc_offset_seconds"); }, "utc_offset_seconds",
         "missing"},
        {"Fahrenheit", [](json& a) { a["hourly_units"]["temperature_2m"] = "°F"; },
         "hourly_units.temperature_2m", "\"°F\" where \"°C\""},
        {"m/s", [](json& a) { a["hourly_units"]["wind_speed_10m"] = "m/s"; },
         "hourly_units.wind_speed_10m", "\"m/s\" where \"km/h\""},
        {"unix times", [](json& a) { a["hourly_units"]["time"] = "unixtime"; }, "hourly_units.time",
         "\"unixtime\" where \"iso8601\""},
        {"no pressure unit", [](json& a) { a["hourly_units"].erase("surface_pressure"); },
         "hourly_units.surface_pressure", "missing"},
        {"sea-level pressure only",
         [](json& a) {
             a["hourly"]["pressure_msl"] = a["hourly"]["surface_pressure"];
             a["hourly"].erase("surface_pressure");
         },
         "hourly.surface_pressure", "missing"},
        {"a column too short", [](json& a) { a["hourly"]["cloud_cover"].erase(47); },
         "hourly.cloud_cover", "47 values for 48 hours"},
        {"no hours", [](json& a) { a = Answer(0); }, "hourly.time", "not a list of hours"},
        {"an array for the root", [](json& a) { a = json::array({1}); }, "(document)",
         "not an object"},
    };
    for (const BadCase& c : cases) {
        json answer = Answer();
        c.change(answer);
        const SeriesResult result = ReadHourlySeries(answer.dump());
        EXPECT_FALSE(result.series) << c.what;
        EXPECT_EQ(result.rejection.field, c.field) << c.what;
        EXPECT_TRUE(result.rejection.reason.starts_with(c.reason))
            << c.what << ": " << result.rejection.reason;
    }
}

// With timezone=auto the hours are the town's wall clock at the answer's one offset.
TEST(OpenMeteo, TakesTheAnswersOwnClock) {
    const std::int64_t localMidnight = ToUnixMillis(*ParseUtcTime("2026-01-15T00:00:00Z")) / 60000;
    for (int seconds : {-18000, 0, 10800, 19800, 20700, 50400, -43200}) {
        json answer = Answer();
        answer["utc_offset_seconds"] = seconds;
        const SeriesResult result = ReadHourlySeries(answer.dump());
        ASSERT_TRUE(result.series) << seconds << ": " << result.rejection.reason;
        EXPECT_EQ(result.series->utcOffsetMinutes, seconds / 60);
        EXPECT_EQ(result.series->firstMinute, localMidnight - seconds / 60) << seconds;
    }
}

TEST(OpenMeteo, NumbersAreReadAsTheNearestDouble) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"-5.5", -5.5},     {"997.2", 997.2},
        {"0.1", 0.1},       {"100", 100},
        {"-0", 0},          {"1e2", 100},
        {"1.5E-3", 0.0015}, {"2.5e+1", 25},
        {"0.000001", 1e-6}, {"123456789012345678901", 123456789012345678901.0},
        {"1e-300", 1e-300}, {"2.5e22", 2.5e22},
    };
    for (const Case& c : cases) {
        const JsonNode node = ParseJson(Cat({"[", c.text, "]"}), 100, 10);
        ASSERT_EQ(node.children.size(), 1u) << c.text;
        EXPECT_DOUBLE_EQ(node.children[0].number, c.value) << c.text;
    }
    EXPECT_EQ(ParseJson("[997.2]", 100, 10).children[0].number, 997.2) << "exactly";
}

TEST(OpenMeteo, RefusesBrokenAndOversizedText) {
    const std::string valid = Answer().dump();
    std::string overflow = valid;
    overflow.replace(overflow.find("-5.5"), 4, "1e400");
    std::string longArray = "{\"hourly\":{\"time\":[" + std::string(384 * 2, ' ');
    for (int i = 0; i < 385; ++i) longArray += (i ? ",0" : "0");
    longArray += "]}}";
    std::string fiftyMegabytes = "{\"a\":[" + std::string(50 * 1024 * 1024, ' ') + "]}";
    struct Case {
        const char* what;
        std::string text;
        const char* field;
        const char* reason;
    };
    const Case cases[] = {
        {"truncated", valid.substr(0, valid.size() / 2), "(document)", "not JSON"},
        {"empty", "", "(document)", "not JSON"},
        {"two documents", valid + valid, "(document)", "not JSON"},
        {"1e400", overflow, "(document)", "not JSON (error 13 "},
        {"deep nesting", std::string(100000, '[') + std::string(100000, ']'), "(document)",
         "nested deeper than 16"},
        {"deep in a string", "{\"a\":\"" + std::string(100, '[') + "\"}", "hourly", "missing"},
        {"385 hours", longArray, "hourly.time", "385 values, more than 384"},
        {"50 MB", fiftyMegabytes, "(document)", "52428808 bytes, more than 4194304"},
    };
    for (const Case& c : cases) {
        const SeriesResult result = ReadHourlySeries(c.text);
        EXPECT_FALSE(result.series) << c.what;
        EXPECT_TRUE(result.rejection.field.starts_with(c.field))
            << c.what << ": " << result.rejection.field;
        EXPECT_TRUE(result.rejection.reason.starts_with(c.reason))
            << c.what << ": " << result.rejection.reason;
    }
    EXPECT_TRUE(ReadHourlySeries(Answer(384).dump()).series);
}

}  // namespace
}  // namespace vt
