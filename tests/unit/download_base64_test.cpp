#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "download/base64.h"
#include "text/encoding.h"

namespace vt {
namespace {

TEST(Base64, EncodesTheRfc4648Vectors) {
    struct Case {
        std::string bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string(1, '\0'), "AA=="},
        {"\xff\xfe\xfd", "//79"},  // the last two letters of the alphabet and high bytes
        {"\xfb\xff", "+/8="},
        {"user:", "dXNlcjo="},
        {"proxyuser:secret", "cHJveHl1c2VyOnNlY3JldA=="},
    };
    for (const auto& c : cases) EXPECT_EQ(Base64Encode(c.bytes), c.expected) << c.expected;
}

TEST(Base64, LongCredentialsStayOnOneLine) {
    const std::string credentials = std::string(30, 'a') + ":" + std::string(29, 'b');
    ASSERT_EQ(credentials.size(), 60U);
    const std::string encoded = Base64Encode(credentials);
    EXPECT_EQ(encoded,
              "YWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhOmJiYmJiYmJiYmJiYmJiYmJiYmJiYmJiYmJiYmJi");
    EXPECT_EQ(encoded.size(), 80U);
    const std::string longer = Base64Encode(std::string(300, 'x'));
    EXPECT_EQ(longer.size(), 400U);
    EXPECT_EQ(longer.find_first_of("\r\n"), std::string::npos);
}

TEST(Base64, CyrillicCredentialsAreEncodedFromTheirCp1251Bytes) {
    struct Case {
        const char* utf8;
        const char* expected;
    };
    const Case cases[] = {
        {"Иван:пароль", "yOLg7Trv4PDu6/w="},
        {"Ёж:ё", "qOY6uA=="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base64Encode(Utf8ToCp1251(c.utf8)), c.expected) << c.utf8;
        EXPECT_NE(Base64Encode(c.utf8), c.expected) << "UTF-8 bytes must not be sent";
    }
}

// A plain decoder, independent of the encoder's grouping, to check every length round-trips.
std::string Decode(const std::string& text) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char ch : text) {
        if (ch == '=') break;
        const auto value = alphabet.find(ch);
        if (value == std::string::npos) return "<bad character>";
        bits = (bits << 6 | static_cast<unsigned>(value)) & 0xFFFFFF;
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>(bits >> count & 0xFF);
        }
    }
    return out;
}

TEST(Base64, EveryLengthIsPaddedAndRoundTrips) {
    std::string bytes;
    for (int n = 0; n <= 70; ++n) {
        const std::string encoded = Base64Encode(bytes);
        EXPECT_EQ(encoded.size(), (bytes.size() + 2) / 3 * 4) << n;
        EXPECT_EQ(Decode(encoded), bytes) << n;
        const std::ptrdiff_t padding = (3 - n % 3) % 3;
        EXPECT_EQ(std::count(encoded.begin(), encoded.end(), '='), padding) << n;
        bytes += static_cast<char>(n * 37 + 200);  // runs through all byte values
    }
}

}  // namespace
}  // namespace vt
