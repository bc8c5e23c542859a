#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "forecast/forecast_lines.h"
#include "forecast/record_integer.h"

namespace vt {
namespace {

using Lines = std::vector<std::string>;

TEST(ForecastLines, BreaksAndEnd) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"\n", {""}},
        {"\r", {""}},
        {"1", {"1"}},
        {"1\r\n2\r\n", {"1", "2"}},
        {"1\n2\r3", {"1", "2", "3"}},
        {"1\n\r2", {"1", "", "2"}},
        {"1\r\r\n2", {"1", "", "2"}},
        {"1\n\n", {"1", ""}},
        {"\n\n1", {"", "", "1"}},
        {std::string("1\n2\0\n3", 6), {"1", "2"}},
        {std::string("\0"
                     "1",
                     2),
         {}},
        {std::string("1\r\0\n2", 5), {"1"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitForecastLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST(ForecastInteger, Syntax) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    struct Case {
        std::string line;
        std::int64_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"   ", 0},
        {"42", 42},
        {"   42", 42},
        {"+42", 42},
        {"-42", -42},
        {"0042", 42},
        {"42 ", 0},
        {"4 2", 0},
        {"\t42", 0},
        {"+", 0},
        {"-", 0},
        {"+-4", 0},
        {"- 4", 0},
        {"4a", 0},
        {"9223372036854775807", kMax},
        {"9223372036854775808", 0},
        {"-9223372036854775808", kMin},
        {"-9223372036854775809", 0},
        {"99999999999999999999", 0},
        {"$1f", 31},
        {"x1F", 31},
        {"X1f", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-$10", -16},
        {"  +0x10", 16},
        {"$", 0},
        {"0x", 0},
        {"$g", 0},
        {"$-1", 0},
        {"00x1", 0},
        {"0x$1", 0},
        {"$7FFFFFFFFFFFFFFF", kMax},
        {"$8000000000000000", kMin},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"-$FFFFFFFFFFFFFFFF", 1},
        {"$0000FFFFFFFFFFFFFFFF", -1},
        {"$10000000000000000", 0},
        {"$10000000000000001", 0},
        {"-$1FFFFFFFFFFFFFFFF", 0},
        {"$1 ", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseRecordInteger(c.line), c.value) << '"' << c.line << '"';
}

}  // namespace
}  // namespace vt
