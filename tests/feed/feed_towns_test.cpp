#include "feed_towns.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "openmeteo/builtin_towns.h"
#include "text/encoding.h"

namespace vtf {
namespace {

TEST(FeedTowns, ReadsTownsSkippingCommentsAndBlankLines) {
    const TownsFile file = ParseTownsFile(
        "\xEF\xBB\xBF# index;name;country;lat;lon;offset\r\n"
        "27612;Москва;Россия;55.7558;37.6173;3\r\n"
        "\n"
        "01384;Осло;Норвегия;59.91;10.75;1\n"
        "42182;Дели;Индия;28.61;77.21;5.5\n"
        "44454;Катманду;Непал;27.7;85.3;5.75\n"
        "91285;Хило;США;19.7;-155.1;-10");
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.towns.size(), 5u);
    EXPECT_EQ(file.towns[0].index, "27612");
    EXPECT_EQ(file.towns[0].name, "Москва");
    EXPECT_EQ(file.towns[0].country, "Россия");
    EXPECT_DOUBLE_EQ(file.towns[0].latitude, 55.7558);
    EXPECT_DOUBLE_EQ(file.towns[0].longitude, 37.6173);
    EXPECT_EQ(file.towns[0].utcOffsetMinutes, 180);
    EXPECT_EQ(file.towns[1].index, "01384");
    EXPECT_EQ(file.towns[2].utcOffsetMinutes, 330);
    EXPECT_EQ(file.towns[3].utcOffsetMinutes, 345);
    EXPECT_EQ(file.towns[4].utcOffsetMinutes, -600);
}

TEST(FeedTowns, OneBadLineRejectsTheFileNamingTheLine) {
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"1384;Осло;Норвегия;59.91;10.75;1", "station index \"1384\" is not five digits"},
        {"2761a;Москва;Россия;55;37;3", "station index \"2761a\" is not five digits"},
        {"27612;;Россия;55;37;3", "town name is empty"},
        {"27612;Москва;;55;37;3", "country is empty"},
        {"27612;東京;Япония;35;139;9", "town name \"東京\" does not fit code page 1251"},
        {"27612;Москва;Россия;55;37", "expected 6 fields separated by \";\", found 5"},
        {"27612;Москва;Россия;55;37;3;", "expected 6 fields separated by \";\", found 7"},
        {"27612;Москва;Россия;91;37;3", "latitude \"91\" is not a number of -90..90"},
        {"27612;Москва;Россия;55,7;37;3", "latitude \"55,7\" is not a number of -90..90"},
        {"27612;Москва;Россия;nan;37;3", "latitude \"nan\" is not a number of -90..90"},
        {"27612;Москва;Россия;55;180.5;3", "longitude \"180.5\" is not a number of -180..180"},
        {"27612;Москва;Россия;55;37;+3",
         "UTC offset \"+3\" is not a number of hours of -12..14 in steps of 0.25"},
        {"27612;Москва;Россия;55;37;15", "UTC offset \"15\" is not a number"},
        {"27612;Москва;Россия;55;37;3.1", "UTC offset \"3.1\" is not a number"},
        {"27612;Москва;Россия;55;37;", "UTC offset \"\" is not a number"},
    };
    for (const auto& c : cases) {
        const TownsFile file = ParseTownsFile(
            std::string("# header\n26063;Санкт-Петербург;Россия;59.9;30.3;3\n") + c.line + "\n");
        EXPECT_TRUE(file.error.starts_with(std::string("line 3: ") + c.error)) << file.error;
        EXPECT_TRUE(file.towns.empty()) << c.line;
    }
    EXPECT_EQ(ParseTownsFile("27612;Москва;Россия;55;37;3\n27612;Москва;Россия;55;37;3\n").error,
              "line 2: station index 27612 is listed twice");
    EXPECT_EQ(ParseTownsFile("# only a comment\n").error, "no towns");
}

TEST(FeedTowns, TheShippedTownsFileHoldsMoscowAndUkrainianTowns) {
    std::ifstream in(VT_FEED_SOURCE_DIR "/towns.csv", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const TownsFile file = ParseTownsFile(text);
    ASSERT_EQ(file.error, "");
    EXPECT_GE(file.towns.size(), 30u);
    EXPECT_EQ(
        file.towns.front().index + ";" + file.towns.front().name + ";" + file.towns.front().country,
        "27612;Москва;Россия");
    int ukrainian = 0;
    for (const FeedTown& town : file.towns) ukrainian += town.country == "Украина";
    EXPECT_GE(ukrainian, 2);

    // The program's built-in towns are the feed's, in its order, at its places.
    const std::span<const vt::BuiltinTown> builtin = vt::BuiltinTowns();
    ASSERT_EQ(builtin.size(), file.towns.size());
    for (std::size_t i = 0; i < builtin.size(); ++i) {
        const FeedTown& town = file.towns[i];
        EXPECT_EQ(std::string(builtin[i].index) + ";" + std::string(builtin[i].name) + ";" +
                      std::string(builtin[i].country),
                  town.index + ";" + town.name + ";" + town.country);
        EXPECT_EQ(builtin[i].latitude, town.latitude) << town.name;
        EXPECT_EQ(builtin[i].longitude, town.longitude) << town.name;
    }
}

}  // namespace
}  // namespace vtf
