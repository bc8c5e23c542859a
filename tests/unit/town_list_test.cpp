#include "prefs/town_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "text/encoding.h"

namespace vt {
namespace {

using test::FakeFiles;

const std::string kDir = "C:\\Apps\\Tray\\";
const std::string kCopy = kDir + "vlbartlistfull.txt";

TEST(TownLine, TakesAFieldOnlyWhenASemicolonFollowsIt) {
    struct Case {
        const char* line;
        TComboList town;  // name, index, country
    };
    const Case cases[] = {
        {"27612;Москва;x;Россия;", {"Москва", "27612", "Россия"}},
        {"1234;Энск;x;Россия;", {"Энск", "01234", "Россия"}},
        {"", {"", "", ""}},
        {"1234", {"", "", ""}},  // not taken, so not completed either
        {"1234;", {"", "01234", ""}},
        {"27612;Москва", {"", "27612", ""}},
        {"27612;Москва;x;Россия", {"Москва", "27612", ""}},
        {"27612;;x;Россия;", {"", "27612", "Россия"}},
        {"27612;Москва;x;Россия;Европа;", {"Москва", "27612", "Россия", "Европа;"}},
        {"27612;Москва;x;Россия;55.7558;37.6173;",
         {"Москва", "27612", "Россия", "55.7558;37.6173;"}},
        {" 123 ; Москва ;x; Россия ;", {" Москва ", " 123 ", " Россия "}},
        {"\"27612\";\"Москва\";x;\"Р\";", {"\"Москва\"", "\"27612\"", "\"Р\""}},
        {"123;А;x;Б;", {"А", "123", "Б"}},
        {"абвг;А;x;Б;", {"А", "0абвг", "Б"}},  // four characters in eight bytes
        {"аб;А;x;Б;", {"А", "аб", "Б"}},       // four bytes, two characters
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTownLine(c.line), c.town) << c.line;
}

TEST(TownList, SplitsOnEveryKindOfLineEnd) {
    struct Case {
        const char* bytes;
        std::vector<std::string> indexes;
    };
    const Case cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"\r", {""}},
        {"1;\r\n2;\r\n", {"1", "2"}},
        {"1;\n2;", {"1", "2"}},
        {"1;\r2;\r", {"1", "2"}},
        {"1;\r\n\r\n2;", {"1", "", "2"}},
        {"1;\n\r2;", {"1", "", "2"}},
        {"1;\r\r\n2;", {"1", "", "2"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> indexes;
        for (const auto& t : ParseTownList(c.bytes)) indexes.push_back(t.TownIndex);
        EXPECT_EQ(indexes, c.indexes) << testing::PrintToString(c.bytes);
    }
    const std::string bytes = Utf8ToCp1251("27612;Москва;x;Россия;\r\n4567;Ёлкино;x;Беларусь;");
    EXPECT_EQ(ParseTownList(bytes), (std::vector<TComboList>{{"Москва", "27612", "Россия"},
                                                             {"Ёлкино", "04567", "Беларусь"}}));
}

TEST(TownListDownloadDue, ChoosesTheCopyOrTheNextFreeName) {
    struct Case {
        const char* copy;  // nullptr: none
        bool locked;
        int taken;  // names of the series that exist already
        bool due;
        std::string base;
    };
    const Case cases[] = {
        {nullptr, false, 0, true, "vlbartlistfull"},
        {"", false, 0, true, "vlbartlistfull"},
        {"\r\n", false, 0, false, "vlbartlistfull"},
        {"x", true, 0, true, "vlbartlistfull1"},
        {"x", true, 1, true, "vlbartlistfull12"},
        {"x", true, 2, true, "vlbartlistfull123"},
        {"x", true, 9, true, "vlbartlistfull12345678910"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.base + " " + std::to_string(c.taken));
        FakeFiles files;
        if (c.copy) files.files[kCopy] = {c.copy, {}, c.locked, false};
        files.files[kDir + "vlbartlistfull2.txt"] = {};  // not a name of the series
        std::string base = kTownListFileBase;
        for (int n = 1; n <= c.taken; ++n) files.files[kDir + (base += std::to_string(n)) + ".txt"];
        const TownListDue result = TownListDownloadDue(files, kDir);
        EXPECT_EQ(result.due, c.due);
        EXPECT_EQ(result.fileBase, c.base);
    }
}

TEST(ReadTownList, EndsInOneOfThreeStates) {
    struct Case {
        bool exists, locked, readError;
        std::string bytes;
        TownListState state;
        std::size_t towns;
    };
    const Case cases[] = {
        {false, false, false, "", TownListState::Unreadable, 0},
        {true, true, false, "1;A;", TownListState::Unreadable, 0},
        {true, false, true, "1;A;", TownListState::Unreadable, 0},
        {true, false, false, "", TownListState::Empty, 0},
        {true, false, false, "\r\n", TownListState::Loaded, 1},
        {true, false, false, "1;A;\r\n2;B;", TownListState::Loaded, 2},
    };
    for (const auto& c : cases) {
        FakeFiles files;
        const std::string path = kDir + "vlbartlistfull1.txt";
        if (c.exists) files.files[path] = {c.bytes, {}, c.locked, c.readError};
        files.files[kCopy] = {"9;Другой;", {}, false, false};  // must not be read instead
        const TownListLoad load = ReadTownList(files, kDir, "vlbartlistfull1", "Москва");
        EXPECT_EQ(load.state, c.state) << testing::PrintToString(c.bytes);
        EXPECT_EQ(load.towns.size(), c.towns);
        EXPECT_EQ(load.selected, -1);
    }
}

TEST(ReadTownList, SelectsTheFirstTownOfTheSettingsName) {
    FakeFiles files;
    files.files[kCopy] = {
        Utf8ToCp1251("1;Тверь;\r\n2;москва;\r\n3;МОСКВА;\r\n4;Ёлкино;\r\n5;Елкино;"),
        {},
        false,
        false};
    struct Case {
        const char* current;
        int selected;
    };
    const Case cases[] = {{"Москва", 1}, {"ЁЛКИНО", 3}, {"ёлкино", 3},  {"ЕЛКИНО", 4},
                          {"Тверь", 0},  {"Твер", -1},  {"Moskva", -1}, {"", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReadTownList(files, kDir, kTownListFileBase, c.current).selected, c.selected)
            << c.current;
    }
}

TEST(FindEntryByPrefix, MatchesTheBeginningInAnyCase) {
    const std::vector<std::string> entries = {"Москва", "Мурманск", "Ёлкино", "Елец", "Moscow"};
    struct Case {
        const char* typed;
        int index;
    };
    const Case cases[] = {{"м", 0}, {"МУ", 1}, {"ё", 2},      {"Е", 3},     {"mOS", 4},
                          {"", -1}, {"х", -1}, {"Москва", 0}, {"Мур ", -1}, {"Москва-Сити", -1}};
    for (const auto& c : cases) EXPECT_EQ(FindEntryByPrefix(entries, c.typed), c.index) << c.typed;
    EXPECT_EQ(FindEntryByPrefix({}, "м"), -1);
}

TEST(IsTownListAnswer, NeedsALineThatBeginsWithAnIndexAndNoNul) {
    for (const char* ok : {"27612;Москва;x;Россия;\r\n", "<p>\n1234;\n", "12345678;"}) {
        EXPECT_TRUE(IsTownListAnswer(ok)) << ok;
    }
    for (const std::string& bad :
         {std::string(""), std::string("<html>27612;</html>"), std::string("123;Город;\r\n"),
          std::string("123456789;Город;"), std::string("27612 ;"), std::string("27612"),
          std::string("27612;Москва;\0", 20)}) {
        EXPECT_FALSE(IsTownListAnswer(bad)) << bad;
    }
}

TEST(IsSafeTownIndex, AcceptsOneToEightAsciiDigitsOnly) {
    for (const char* ok : {"27612", "01234", "0", "12345678"})
        EXPECT_TRUE(IsSafeTownIndex(ok)) << ok;
    for (const char* bad : {"", "2761a", "..\\x", " 27612", "27612 ", "-1", "２７６", "٢٧",
                            "123456789", "99999999999999999999"}) {
        EXPECT_FALSE(IsSafeTownIndex(bad)) << bad;
    }
}

}  // namespace
}  // namespace vt
