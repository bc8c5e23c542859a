#include "common/calendar.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(Calendar, ValidDates) {
    struct Case {
        int y, m, d;
        bool valid;
    };
    const Case cases[] = {
        {2007, 12, 15, true}, {2008, 2, 29, true},  {2007, 2, 29, false}, {1900, 2, 29, false},
        {2000, 2, 29, true},  {2026, 4, 31, false}, {2026, 13, 1, false}, {2026, 0, 1, false},
        {2026, 1, 0, false},  {2026, 1, 31, true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidDate(c.y, c.m, c.d), c.valid) << c.y << c.m << c.d;
}

TEST(Calendar, DayOfWeek) {
    EXPECT_EQ(DayOfWeek({2007, 12, 15}), 6);  // Saturday
    EXPECT_EQ(DayOfWeek({2007, 12, 16}), 0);  // Sunday
    EXPECT_EQ(DayOfWeek({2026, 12, 8}), 2);   // Tuesday
    EXPECT_EQ(DayOfWeek({1970, 1, 1}), 4);
}

TEST(Calendar, MillisRoundTrip) {
    const UtcTime t{2026, 12, 8, 23, 59, 58, 999};
    EXPECT_EQ(FromUnixMillis(ToUnixMillis(t)), t);
    EXPECT_EQ(ToUnixMillis({1970, 1, 2, 0, 0, 0, 0}), 86400000);
    EXPECT_EQ(FromUnixMillis(-1), (UtcTime{1969, 12, 31, 23, 59, 59, 999}));
}

}  // namespace
}  // namespace vt
