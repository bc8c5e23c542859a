#include "towns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "text/encoding.h"

namespace vts {
namespace {

struct ListLine {
    std::string raw;  // without its line end
    std::string index, name, country;
};

// Splits the list the way the program reads it: CR LF lines, then the fields up to each ';'.
std::vector<ListLine> ReadList(const std::string& file) {
    std::vector<ListLine> lines;
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t end = file.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "last line without CR LF";
        if (end == std::string::npos) break;
        ListLine line;
        line.raw = file.substr(start, end - start);
        std::string rest = line.raw;
        auto field = [&rest] {
            const std::size_t semi = rest.find(';');
            if (semi == std::string::npos) return std::string();
            std::string value = rest.substr(0, semi);
            rest.erase(0, semi + 1);
            return value;
        };
        line.index = field();
        line.name = field();
        field();
        line.country = field();
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

TEST(TownList, EveryLineHasIndexNameXAndCountry) {
    const std::vector<ListLine> lines = ReadList(TownListFile());
    ASSERT_GE(lines.size(), 100u);
    for (const ListLine& line : lines) {
        EXPECT_TRUE(line.raw.ends_with(';')) << line.raw;
        EXPECT_EQ(line.raw.find('\n'), std::string::npos);
        EXPECT_EQ(line.raw.find('\r'), std::string::npos);
        EXPECT_TRUE(line.index.size() == 5 || line.index.size() == 4) << line.raw;
        EXPECT_EQ(line.index.find_first_not_of("0123456789"), std::string::npos) << line.raw;
        EXPECT_FALSE(line.name.empty()) << line.raw;
        EXPECT_FALSE(line.country.empty()) << line.raw;
        // Exactly four fields, each closed by its ';'.
        EXPECT_EQ(std::count(line.raw.begin(), line.raw.end(), ';'), 4) << line.raw;
    }
}

TEST(TownList, CodePage1251BytesComeBackAsTheTableNames) {
    const std::vector<ListLine> lines = ReadList(TownListFile());
    const auto towns = AllTowns();
    ASSERT_EQ(lines.size(), towns.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(vt::FitsCp1251(towns[i].name)) << towns[i].name;
        EXPECT_EQ(vt::Cp1251ToUtf8(lines[i].name), towns[i].name);
        EXPECT_EQ(vt::Cp1251ToUtf8(lines[i].country), towns[i].country);
        EXPECT_EQ(lines[i].index, towns[i].index);
        // A 1251 name is one byte a letter, never the UTF-8 bytes.
        EXPECT_EQ(lines[i].name.size(), vt::CharCount(towns[i].name)) << towns[i].name;
    }
}

TEST(TownList, KnownTownsAreListedWithTheirIndices) {
    const struct {
        std::string line;  // UTF-8 of the expected list line
    } cases[] = {
        {"27612;Москва;x;Россия;"},    {"26063;Санкт-Петербург;x;Россия;"},
        {"33345;Киев;x;Украина;"},     {"26850;Минск;x;Беларусь;"},
        {"36870;Алматы;x;Казахстан;"}, {"2974;Хельсинки;x;Финляндия;"},
        {"26422;Рига;x;Латвия;"},      {"24959;Якутск;x;Россия;"},
        {"1025;Тромсё;x;Норвегия;"},   {"26863;Могилёв;x;Беларусь;"},
    };
    const std::string file = vt::Cp1251ToUtf8(TownListFile());
    for (const auto& c : cases) {
        EXPECT_NE(file.find(c.line + "\r\n"), std::string::npos) << c.line;
    }
}

TEST(TownList, IndicesAreUniqueAsTheProgramHoldsThem) {
    std::set<std::string> seen;
    int fourDigit = 0;
    for (const Town& town : AllTowns()) {
        const std::string five = FiveDigitIndex(town);
        EXPECT_EQ(five.size(), 5u);
        EXPECT_TRUE(seen.insert(five).second) << "duplicate " << five;
        if (town.index.size() == 4) {
            ++fourDigit;
            EXPECT_EQ(five, "0" + std::string(town.index));
        }
    }
    EXPECT_GE(fourDigit, 5);
}

TEST(TownList, CoversTheCountriesOfTheRegion) {
    std::multiset<std::string> countries;
    for (const Town& town : AllTowns()) countries.insert(std::string(town.country));
    const struct {
        const char* country;
        std::size_t atLeast;
    } cases[] = {{"Россия", 40}, {"Украина", 15}, {"Беларусь", 5}, {"Казахстан", 8},
                 {"Латвия", 1},  {"Литва", 1},    {"Эстония", 1},  {"Финляндия", 1}};
    for (const auto& c : cases) EXPECT_GE(countries.count(c.country), c.atLeast) << c.country;
    // The program compares the country with exactly this text; a near spelling would send
    // Ukrainian towns to the wrong site.
    for (const Town& town : AllTowns()) {
        EXPECT_NE(town.country, "Україна");
        EXPECT_NE(town.country, "Украина ");
    }
}

TEST(TownList, FindTownTakesFiveDigitsOnly) {
    const struct {
        const char* index;
        const char* name;  // nullptr: not found
    } cases[] = {
        {"27612", "Москва"}, {"02974", "Хельсинки"}, {"33345", "Киев"},   {"2974", nullptr},
        {"99999", nullptr},  {"", nullptr},          {"276120", nullptr}, {"0276", nullptr},
    };
    for (const auto& c : cases) {
        const Town* town = FindTown(c.index);
        if (c.name) {
            ASSERT_NE(town, nullptr) << c.index;
            EXPECT_EQ(town->name, c.name);
        } else {
            EXPECT_EQ(town, nullptr) << c.index;
        }
    }
}

}  // namespace
}  // namespace vts
