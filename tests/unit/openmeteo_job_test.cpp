// The forecast job of the embedded source: the request, the stored file it leaves, and what a
// refused or wrong answer leaves.
#include <gtest/gtest.h>

#include <clocale>

#include "download/jobs.h"
#include "download_fakes.h"
#include "fakes.h"
#include "forecast/forecast_lines.h"
#include "forecast/record_codec.h"
#include "openmeteo/place.h"
#include "openmeteo_answer.h"

namespace vt {
namespace {

const std::string kDir = "C:\\Apps\\Tray\\";
const std::string kForecastFile = kDir + "27612.txt";
const std::string kUrl =
    "http://127.0.0.1:9/v1/forecast?latitude=55.7558&longitude=37.6173&hourly=temperature_2m,"
    "relative_humidity_2m,surface_pressure,wind_speed_10m,wind_direction_10m,weather_code,"
    "cloud_cover&timezone=auto&forecast_days=3";

JobInput ApiInput() {
    JobInput input;
    input.kind = JobKind::Forecast;
    input.townIndex = "27612";
    input.progDir = kDir;
    input.frcFileBase = "27612";
    input.connection = {ConnectionMode::Direct, "", "", "", ""};
    input.siteName = "сервисом прогнозов Open-Meteo";
    input.source = WeatherSource::OpenMeteo;
    input.forecastApi = "http://127.0.0.1:9";
    input.place = {55.75584, 37.61731};
    input.townName = "Москва";
    input.countryName = "Россия";
    return input;
}

struct Rig {
    test::FakeInternet net;
    test::FakeFiles files;
    test::FakeClock clock;  // 2026-12-08 09:00 UTC: 12:00 in Moscow
    JobOutcome Run(const JobInput& input = ApiInput()) {
        return RunJob(input, {net, files, clock});
    }
};

TEST(ApiForecastJob, StoresTheTwoRecordsOfTheTownsClockAsTheServiceWould) {
    Rig rig;
    json answer = Answer(72, {2026, 12, 8}, 10800);
    // 36 km/h, 10 m/s, in the evening of the 8th: the page shows what the file cannot.
    for (int h = 18; h < 24; ++h)
        answer["hourly"]["wind_speed_10m"][static_cast<std::size_t>(h)] = 36;
    rig.net.body = answer.dump();
    const JobOutcome outcome = rig.Run();
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.apiReply, (ApiReply{true, 200, std::nullopt}));
    ASSERT_EQ(rig.net.urls.size(), 1u);
    EXPECT_EQ(rig.net.urls[0].url, kUrl);
    EXPECT_EQ(rig.net.urls[0].headers, "");
    const std::string& file = rig.files.files.at(kForecastFile).content;
    EXPECT_EQ(file, EncodeForecastFile(
                        std::vector<ForecastRecord>{{1, {2026, 12, 8}, 7, -6, 748, 85, 3, 4},
                                                    {3, {2026, 12, 9}, 7, -6, 748, 85, 3, 4}}));
    const std::string& page = rig.files.files.at(kDir + "27612.htm").content;
    const std::string rest = "Давление 748 мм, Влажность 85%, Ветер юго-восточный, ";
    for (const std::string& part :
         {std::string("<title>Прогноз на 3 дня: Москва</title>"),
          std::string("<p>Москва, Россия</p>"),
          "8/12 Вт, день: Переменная облачность. Снег, -5..-7 °C, " + rest + "4 м/с",
          "8/12 Вт, вечер: Переменная облачность. Снег, -5..-7 °C, " + rest + "10 м/с",
          std::string("10/12 Чт, вечер:"),
          std::string("Данные о погоде: <a href=\"https://open-meteo.com/\">")}) {
        EXPECT_NE(page.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(page.find("8/12 Вт, утро"), std::string::npos) << "the morning is over at noon";
}

TEST(ApiForecastJob, AFailedOrWrongAnswerLeavesTheStoredCopyRuleAndSaysWhy) {
    const std::string good = Answer(72, {2026, 12, 8}, 10800).dump();
    json nullDay = Answer(72, {2026, 12, 8}, 10800);
    nullDay["hourly"]["temperature_2m"][13] = nullptr;
    json fahrenheit = Answer(72, {2026, 12, 8}, 10800);
    fahrenheit["hourly_units"]["temperature_2m"] = "°F";
    const std::string connection =
        "Не удалось установить соединение с сервисом прогнозов Open-Meteo";
    struct Case {
        const char* what;
        int status;
        std::string body;
        bool freshCopy;
        bool ok;
        const char* trayText;  // empty: none
        ApiReply reply;
    };
    const Case cases[] = {
        {"429", 429, "", false, false, connection.c_str(), {false, 429, 120}},
        {"503 with a fresh copy", 503, "", true, true, "", {false, 503, 120}},
        {"not JSON",
         200,
         "<html>login</html>",
         false,
         false,
         kBadForecastDataText,
         {false, 200, {}}},
        {"a null in the day",
         200,
         nullDay.dump(),
         false,
         false,
         kBadForecastDataText,
         {false, 200, {}}},
        {"Fahrenheit",
         200,
         fahrenheit.dump(),
         false,
         false,
         kBadForecastDataText,
         {false, 200, {}}},
        {"wrong data, a fresh copy", 200, "{}", true, true, "", {false, 200, {}}},
        {"over the cap",
         200,
         good + std::string(kApiAnswerMaxBytes, ' '),
         false,
         false,
         kBadForecastDataText,
         {false, 200, {}}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.net.status = c.status;
        rig.net.body = c.body;
        if (c.status != 200) rig.net.retryAfter = "120";
        if (c.freshCopy) rig.files.files[kForecastFile] = {"old", rig.clock.now, false, false};
        const JobOutcome outcome = rig.Run();
        EXPECT_EQ(outcome.ok, c.ok) << c.what;
        EXPECT_EQ(outcome.trayText.value_or(""), c.trayText) << c.what;
        EXPECT_EQ(outcome.apiReply, c.reply) << c.what;
        // A refused answer never replaces the stored file.
        const auto stored = rig.files.files.find(kForecastFile);
        EXPECT_EQ(stored == rig.files.files.end() ? "none" : stored->second.content,
                  c.freshCopy ? "old" : "none")
            << c.what;
    }
}

TEST(ApiForecastJob, AClosedGateAsksNothing) {
    Rig rig;
    JobInput input = ApiInput();
    input.mayAskApi = false;
    const JobOutcome outcome = rig.Run(input);
    EXPECT_TRUE(rig.net.log.empty());
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.apiReply);
}

TEST(ApiForecastJob, TheTownListIsTheBuiltInTownsWithTheirPlaces) {
    Rig rig;
    JobInput input = ApiInput();
    input.kind = JobKind::TownList;
    input.townListFileBase = "vantorelplaces";
    EXPECT_TRUE(rig.Run(input).ok);
    EXPECT_TRUE(rig.net.log.empty());
    const std::string& list = rig.files.files.at(kDir + "vantorelplaces.txt").content;
    EXPECT_TRUE(
        list.starts_with("27612;\xCC\xEE\xF1\xEA\xE2\xE0;x;\xD0\xEE\xF1\xF1\xE8\xFF;"
                         "55.7558;37.6173;\r\n"));
}

TEST(Place, CoordinatesAreWrittenAndReadWithADotWhateverTheLocale) {
    const char* comma = nullptr;
    for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name)) {
            comma = name;
            break;
        }
    }
    if (!comma || std::localeconv()->decimal_point[0] != ',') {
        std::setlocale(LC_ALL, "C");
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    struct Case {
        double degrees;
        const char* text;
    };
    const Case cases[] = {{55.75584, "55.7558"},
                          {-122.41942, "-122.4194"},
                          {5, "5.0000"},
                          {-0.00001, "0.0000"},
                          {179.99996, "180.0000"}};
    for (const Case& c : cases) EXPECT_EQ(CoordinateText(c.degrees), c.text) << c.degrees;
    const auto place = ParsePlace("55.7558", "-37.6173");
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->latitude, 55.7558);
    EXPECT_EQ(place->longitude, -37.6173);
}

TEST(Place, OnlyPlainDegreesWithinRangeAreTaken) {
    struct Case {
        const char* latitude;
        const char* longitude;
        bool taken;
    };
    const Case cases[] = {
        {"55.7558", "37.6173", true}, {"-90", "180", true},     {"90.0001", "0", false},
        {"0", "-180.5", false},       {"55,7558", "37", false}, {"", "37", false},
        {"1e1", "0", false},          {"nan", "0", false},      {"inf", "0", false},
        {" 55", "37", false},         {"55", "37;", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParsePlace(c.latitude, c.longitude).has_value(), c.taken)
            << c.latitude << " " << c.longitude;
    }
    EXPECT_TRUE(ParsePlaceFields("55.7558;37.6173;"));
    EXPECT_TRUE(ParsePlaceFields("55.7558;37.6173"));
    EXPECT_FALSE(ParsePlaceFields("Европа;"));
    EXPECT_FALSE(ParsePlaceFields(""));
}

}  // namespace
}  // namespace vt
