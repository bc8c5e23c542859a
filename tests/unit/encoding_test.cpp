#include "text/encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace vt {
namespace {

std::string IconvToUtf8(const std::string& in) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    std::string out(in.size() * 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return "<iconv failed>";
    out.resize(out.size() - dstLeft);
    return out;
}

TEST(Cp1251, EveryAssignedByteMatchesTheSystemConverter) {
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98) continue;  // unassigned in code page 1251
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Cp1251ToUtf8(byte), IconvToUtf8(byte)) << "byte " << b;
    }
}

TEST(Cp1251, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a\u00E9b\u4E2D"), "a?b?");
    EXPECT_FALSE(FitsCp1251("Caf\u00E9"));
    EXPECT_TRUE(FitsCp1251("Пасмурно. Cнег °"));
}

TEST(Utf16, RoundTripsRussianAndSupplementaryCharacters) {
    const std::string text = "Москва ё \U0001F600";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 11u);  // the emoji takes two units
    EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("a\xC0\xAF"
                                      "b")),
              "a\uFFFD\uFFFD"
              "b");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xE2\x82")), "\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xED\xA0\x80")), "\uFFFD\uFFFD\uFFFD");  // a surrogate
}

TEST(Utf8, ValidityIsStrict) {
    for (const char* ok : {"", "ascii", "Москва", "\xF0\x9F\x8C\xA7", "\xEF\xBB\xBF"}) {
        EXPECT_TRUE(IsValidUtf8(ok)) << ok;
    }
    // Code page 1251 Cyrillic, overlong forms, a surrogate, cut sequences, above U+10FFFF.
    for (const char* bad : {"\xCC\xEE\xF1\xEA\xE2\xE0", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                            "\xE2\x82", "\xD0", "\xF4\x90\x80\x80", "\x80"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
}

TEST(CutToChars, CountsCharactersNotBytes) {
    struct Case {
        const char* text;
        std::size_t limit;
        const char* expected;
    };
    const Case cases[] = {
        {"Москва", 3, "Мос"}, {"Москва", 6, "Москва"}, {"Москва", 60, "Москва"},
        {"abc", 0, ""},       {"aё", 1, "a"},          {"°C", 1, "°"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutToChars(c.text, c.limit), c.expected) << c.text << " / " << c.limit;
    }
    EXPECT_EQ(CharCount("Vantorel: Прогноз погоды. "), 26u);
}

TEST(EqualsIgnoreCase, FoldsLatinAndCyrillic) {
    EXPECT_TRUE(EqualsIgnoreCase("ProxyServer", "proxyserver"));
    EXPECT_TRUE(EqualsIgnoreCase("МОСКВА", "москва"));
    EXPECT_TRUE(EqualsIgnoreCase("ЁЛКИ", "ёлки"));
    EXPECT_TRUE(EqualsIgnoreCase("Ґ", "ґ"));
    EXPECT_FALSE(EqualsIgnoreCase("Елки", "Ёлки"));
    EXPECT_FALSE(EqualsIgnoreCase("Москва", "Москв"));
}

}  // namespace
}  // namespace vt
