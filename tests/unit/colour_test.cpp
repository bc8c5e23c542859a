#include "common/colour.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(ColourFromString, AcceptsNamesNumbersAndHex) {
    struct Case {
        const char* text;
        std::optional<Colour> expected;
    };
    const Case cases[] = {
        {"clRed", 0x0000FF},
        {"CLRED", 0x0000FF},
        {"$000000FF", 0x0000FF},
        {"255", 0x0000FF},
        {"$FF", 0x0000FF},
        {"$000080ff", 0x0080FF},
        {"clSkyBlue", 0xF0CAA6},
        {"clMoneyGreen", 0xC0DCC0},
        {"clCream", 0xF0FBFF},
        {"clMedGray", 0xA4A0A0},
        {"-1", -1},
        {"+5", 5},
        {"-2147483648", static_cast<Colour>(0x80000000u)},
        {"2147483647", 0x7FFFFFFF},
        {"$FFFFFFFF", -1},
        {"clBtnFace", static_cast<Colour>(0x8000000Fu)},
        {"clbtnshadow", static_cast<Colour>(0x80000010u)},
        {"red", std::nullopt},
        {"", std::nullopt},
        {"$", std::nullopt},
        {"$123456789", std::nullopt},
        {"2147483648", std::nullopt},
        {"-", std::nullopt},
        {" 255", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ColourFromString(c.text), c.expected) << c.text;
}

TEST(ColourToString, NamesNamedColoursAndWritesOthersInHex) {
    struct Case {
        Colour colour;
        const char* expected;
    };
    const Case cases[] = {
        {0x000000, "clBlack"},   {0x0000FF, "clRed"},
        {0xFFFFFF, "clWhite"},   {0x0080FF, "$000080FF"},
        {0x000001, "$00000001"}, {static_cast<Colour>(0x8000000Fu), "clBtnFace"},
        {0xF0CAA6, "clSkyBlue"}, {-1, "$FFFFFFFF"},
    };
    for (const auto& c : cases) EXPECT_EQ(ColourToString(c.colour), c.expected) << c.colour;
}

TEST(ColourToString, EveryNameReadsBackToItself) {
    const char* names[] = {"clBlack",  "clMaroon",     "clGreen",   "clOlive",   "clNavy",
                           "clPurple", "clTeal",       "clGray",    "clSilver",  "clRed",
                           "clLime",   "clYellow",     "clBlue",    "clFuchsia", "clAqua",
                           "clWhite",  "clMoneyGreen", "clSkyBlue", "clCream",   "clMedGray"};
    for (const char* name : names) {
        const auto colour = ColourFromString(name);
        ASSERT_TRUE(colour) << name;
        EXPECT_EQ(ColourToString(*colour), name);
    }
}

}  // namespace
}  // namespace vt
