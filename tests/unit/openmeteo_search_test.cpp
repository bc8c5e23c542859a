// Towns found by name: the request, the answers as list lines, and the dialog's «Найти».
#include <gtest/gtest.h>

#include "download_fakes.h"
#include "openmeteo/geocoding.h"
#include "openmeteo_answer.h"
#include "preferences_rig.h"
#include "text/encoding.h"

namespace vt {
namespace {

using namespace vt::test;

json Result(int id, const char* name, const char* region, double latitude, double longitude) {
    return {{"id", id},
            {"name", name},
            {"admin1", region},
            {"country", "Россия"},
            {"latitude", latitude},
            {"longitude", longitude}};
}

// The lines in UTF-8, one a line, without their ends.
Lines ListLines(const std::string& cp1251) {
    Lines lines;
    const std::string text = Cp1251ToUtf8(cp1251);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(TownSearch, AsksForTheTextEncodedAndOnlyForTwoLettersOrMore) {
    EXPECT_EQ(SearchRequestPath("Тул"),
              "/v1/search?name=%D0%A2%D1%83%D0%BB&count=30&language=ru&format=json");
    EXPECT_EQ(SearchRequestPath("a&b c/ё"),
              "/v1/search?name=a%26b%20c%2F%D1%91&count=30&language=ru&format=json");
    for (const char* text : {"", "Т", " т ", "12", "Т-1", "#"}) {
        EXPECT_FALSE(IsSearchableName(text)) << text;
    }
    for (const char* text : {"Ту", "ab", " ё ж", "Łó"}) EXPECT_TRUE(IsSearchableName(text)) << text;
}

TEST(TownSearch, AnswersBecomeListLinesOrARefusal) {
    json namesakes = {{"results",
                       {Result(548408, "Киров", "Кировская область", 58.59665, 49.66007),
                        Result(548391, "Киров", "Калужская область", 54.079, 34.3077),
                        Result(480562, "Тула", "Тульская область", 54.1961, 37.6182)}}};
    json thirty = {{"results", json::array()}};
    for (int i = 1; i <= 30; ++i) thirty["results"].push_back(Result(i, "Энск", "", 50, i));
    json outside = {{"results", {Result(3093133, "Łódź", "Łódzkie", 51.7592, 19.456)}}};
    json hostileName = {{"results", {Result(7, "A;B\r\n27612;Москва", "", 1, 2)}}};
    struct Case {
        const char* what;
        std::string answer;
        Lines lines;          // of the places found
        const char* refusal;  // the field, when refused
    };
    const Case cases[] = {
        {"namesakes get their region",
         namesakes.dump(),
         {"00548408;Киров (Кировская область);x;Россия;58.5967;49.6601;",
          "00548391;Киров (Калужская область);x;Россия;54.0790;34.3077;",
          "00480562;Тула;x;Россия;54.1961;37.6182;"},
         ""},
        {"nothing found", "{\"generationtime_ms\":0.5}", {}, ""},
        {"outside code page 1251", outside.dump(), {"03093133;??d?;x;Россия;51.7592;19.4560;"}, ""},
        {"a name that would break the list",
         hostileName.dump(),
         {"00000007;A B  27612 Москва;x;Россия;1.0000;2.0000;"},
         ""},
        {"not JSON", "<html>", {}, "(document)"},
        {"results not a list", "{\"results\":{}}", {}, "results"},
        {"no id",
         "{\"results\":[{\"name\":\"A\",\"latitude\":1,\"longitude\":1}]}",
         {},
         "results[0]"},
        {"an id of nine digits",
         json({{"results", {Result(123456789, "A", "", 1, 1)}}}).dump(),
         {},
         "results[0]"},
        {"no name", json({{"results", {Result(5, "", "", 1, 1)}}}).dump(), {}, "results[0]"},
        {"off the Earth",
         json({{"results", {Result(5, "A", "", 91, 1)}}}).dump(),
         {},
         "results[0]"},
    };
    for (const Case& c : cases) {
        const SearchResult read = ReadSearchAnswer(c.answer);
        EXPECT_EQ(read.rejection.field, c.refusal) << c.what;
        if (!read.places) continue;
        EXPECT_EQ(ListLines(FoundTownLines(*read.places)), c.lines) << c.what;
    }
    const SearchResult many = ReadSearchAnswer(thirty.dump());
    ASSERT_TRUE(many.places);
    EXPECT_EQ(ListLines(FoundTownLines(*many.places)).size(), 30u);
    EXPECT_EQ(ListLines(FoundTownLines(*many.places))[29],
              "00000030;Энск;x;Россия;50.0000;30.0000;");
}

TEST(TownSearch, FindTakesTheTownWithItsPlaceAndKeepsTheBuiltInTowns) {
    ProgramRig rig;
    rig.profile.Set("service", "source", "open-meteo");
    rig.StoreForecast("27612");
    rig.Start();
    FakeInternet net;
    auto run = [&](std::size_t n) {
        rig.Main().WorkerFinished(rig.jobs.tokens.at(n),
                                  RunJob(rig.jobs.inputs.at(n), {net, rig.files, rig.clock}));
    };
    FakePrefsView& v = rig.prefsView;
    EXPECT_EQ(v.EditText(C::Button4), "Найти");
    rig.Main().InstallClick();
    ASSERT_EQ(rig.jobs.inputs.size(), 1u);
    EXPECT_EQ(rig.jobs.inputs[0].townListFileBase, "vantorelplaces");
    run(0);
    EXPECT_TRUE(net.urls.empty()) << "the built-in towns ask for nothing";
    const std::size_t builtIn = v.entries.size();
    EXPECT_GE(builtIn, 30u);
    EXPECT_EQ(v.TownText(), "Москва");

    v.SetTownText("Т");
    rig.Prefs().Button4Click();
    EXPECT_EQ(v.TownText(), "Введите не менее двух букв названия");
    EXPECT_EQ(rig.jobs.inputs.size(), 1u);

    v.SetTownText("Тул");
    rig.Prefs().Button4Click();
    ASSERT_EQ(rig.jobs.inputs.size(), 2u);
    net.body =
        json({{"results", {Result(480562, "Тула", "Тульская область", 54.1961, 37.6182)}}}).dump();
    run(1);
    ASSERT_EQ(net.urls.size(), 1u);
    EXPECT_EQ(net.urls[0].url,
              "https://geocoding-api.open-meteo.com/v1/search?name=%D0%A2%D1%83%D0%BB&count=30&"
              "language=ru&format=json");
    ASSERT_EQ(v.entries.size(), builtIn + 1);
    EXPECT_EQ(v.entries[0], "Тула");
    EXPECT_EQ(v.entries[1], "Москва");

    v.SelectTownEntry(0);
    v.SetTownText("Тула");
    rig.Prefs().Button1Click();
    EXPECT_EQ(rig.S().frcTownIndex, "00480562");
    EXPECT_EQ(rig.S().frcTownName, "Тула");
    EXPECT_EQ(rig.profile.Read("frc", "frcTownLatitude"), "54.1961");
    EXPECT_EQ(rig.profile.Read("frc", "frcTownLongitude"), "37.6182");
    ASSERT_EQ(rig.jobs.inputs.size(), 3u);
    EXPECT_EQ(rig.jobs.inputs[2].place.latitude, 54.1961);
}

}  // namespace
}  // namespace vt
