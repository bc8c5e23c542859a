#include "app/schedule.h"

#include <gtest/gtest.h>

#include "app/comma_text.h"
#include "app/update_times.h"
#include "fakes.h"

namespace vt {
namespace {

using test::FakeFiles;
using test::FakeRandom;

TEST(SplitCommaText, FollowsTheCommaTextRules) {
    using List = std::vector<std::string>;
    struct Case {
        const char* text;
        List expected;
    };
    const Case cases[] = {
        {"0,6,12,18", {"0", "6", "12", "18"}},
        {"0 6 12 18", {"0", "6", "12", "18"}},
        {" 0 , 6 ,12", {"0", "6", "12"}},
        {"0,,6", {"0", "", "6"}},
        {"0,", {"0", ""}},
        {"\"1 2\",3", {"1 2", "3"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"", {}},
        {"   ", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommaText(c.text), c.expected) << c.text;
}

TEST(BuildUpdateTimes, MovesEachHourByItsDrawnOffset) {
    struct Case {
        const char* hours;
        std::deque<int> draws;  // offset, direction (1 = earlier) per hour
        const char* expected;
    };
    const Case cases[] = {
        {"0,6,12,18", {5, 0, 11, 0, 8, 1, 0, 0}, "0:05,6:11,11:52,18:00"},
        {"0 6 12 18", {5, 0, 11, 0, 8, 1, 0, 0}, "0:05,6:11,11:52,18:00"},
        {"0", {7, 1}, "0:07"},  // before midnight counts as the distance from it
        {"23", {14, 0}, "23:14"},
        {"6:30", {3, 0}, "0:03"},              // not a whole number: hour 0
        {"18,6", {0, 0, 0, 0}, "6:00,18:00"},  // sorted
        {"24,-1,7", {2, 1}, "6:58"},           // hours outside 0..23 are skipped
        {"", {1, 0, 2, 0, 3, 0, 4, 0}, "0:01,6:02,12:03,18:04"},
        {"99", {1, 0, 2, 0, 3, 0, 4, 0}, "0:01,6:02,12:03,18:04"},
    };
    for (const auto& c : cases) {
        FakeRandom random(c.draws);
        EXPECT_EQ(BuildUpdateTimes(c.hours, random), c.expected) << c.hours;
    }
}

TEST(BuildUpdateTimes, ReseedsBeforeEachDrawAndDrawsInRange) {
    FakeRandom random;
    BuildUpdateTimes("0,6", random);
    EXPECT_EQ(random.reseeds, 4);
    EXPECT_EQ(random.ranges, (std::vector<int>{15, 2, 15, 2}));
}

TEST(ParseUpdateTimes, ReadsHoursAndMinutes) {
    EXPECT_EQ(ParseUpdateTimes("0:07,5:52,12:03,18:11"), (std::vector<int>{7, 352, 723, 1091}));
    EXPECT_EQ(ParseUpdateTimes("x:5,7"), (std::vector<int>{5, 420}));
}

constexpr const char* kTimes = "0:07,5:52,12:03,18:11";

UtcTime At(int day, int hour, int minute) {
    return {2026, 12, day, hour, minute, 0, 0};
}

TEST(ScheduleFresh, StaleExactlyBeforeTheLatestPassedTime) {
    struct Case {
        UtcTime now;
        UtcTime file;
        bool fresh;
    };
    const Case cases[] = {
        {At(8, 13, 0), At(8, 11, 0), false},
        {At(8, 13, 0), At(8, 12, 30), true},
        {At(8, 19, 0), At(8, 18, 5), false},
        {At(8, 19, 0), At(8, 18, 20), true},
        {At(8, 0, 5), At(7, 18, 20), true},   // yesterday's last time is the latest
        {At(8, 0, 5), At(5, 18, 20), false},  // three days old
        {At(8, 0, 5), At(7, 18, 10), false},
        {At(8, 0, 8), At(7, 18, 20), false},  // 0:07 has passed
        {At(8, 12, 3), At(8, 12, 2), false},  // the time itself counts as passed
        {At(8, 9, 0), At(8, 7, 0), true},
        {At(8, 9, 0), At(9, 7, 0), true},  // written in the future
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScheduleFresh(c.file, c.now, ParseUpdateTimes(kTimes)), c.fresh)
            << c.now.hour << ":" << c.now.minute << " file " << c.file.day << " " << c.file.hour
            << ":" << c.file.minute;
    }
}

TEST(ScheduleFresh, ASingleTimeActsAsTheLastTimeOfTheDay) {
    const auto minutes = ParseUpdateTimes("6:00");
    EXPECT_FALSE(ScheduleFresh(At(8, 5, 0), At(8, 13, 0), minutes)) << "written before 6:00 today";
    EXPECT_TRUE(ScheduleFresh(At(8, 6, 30), At(8, 13, 0), minutes));
    EXPECT_TRUE(ScheduleFresh(At(7, 6, 30), At(8, 5, 0), minutes));
    EXPECT_FALSE(ScheduleFresh(At(7, 5, 0), At(8, 5, 0), minutes));
}

TEST(ScheduleFresh, UnknownFileTimeIsStale) {
    EXPECT_FALSE(ScheduleFresh(std::nullopt, At(8, 9, 0), ParseUpdateTimes(kTimes)));
}

class DownloadDueTest : public ::testing::Test {
  protected:
    DownloadDecision Due(const char* index = "27612") {
        return ForecastDownloadDue(files, "C:\\T\\", index, At(8, 13, 0), kTimes);
    }
    void Put(const std::string& base, const std::string& content, UtcTime written,
             bool locked = false) {
        files.files["C:\\T\\" + base + ".txt"] = {content, written, locked, false};
    }
    FakeFiles files;
};

TEST_F(DownloadDueTest, MissingEmptyStaleAndFreshFiles) {
    EXPECT_EQ(Due().due, true);
    EXPECT_EQ(Due().fileBase, "27612");
    Put("27612", "", At(8, 12, 30));
    EXPECT_TRUE(Due().due);
    Put("27612", "1\r\n", At(8, 11, 0));
    EXPECT_TRUE(Due().due);
    Put("27612", "1\r\n", At(8, 12, 30));
    EXPECT_FALSE(Due().due);
    EXPECT_EQ(Due().fileBase, "27612");
}

TEST_F(DownloadDueTest, AReadErrorDoesNotCountAsEmpty) {
    files.files["C:\\T\\27612.txt"] = {"x", At(8, 12, 30), false, true};
    EXPECT_FALSE(Due().due);
}

TEST_F(DownloadDueTest, ALockedFileUsesTheFirstNumberedNameThatOpens) {
    Put("27612", "1", At(8, 12, 30), true);
    EXPECT_EQ(Due().fileBase, "276121");
    EXPECT_TRUE(Due().due);

    Put("276121", "1", At(8, 12, 30));  // the download of a minute ago
    EXPECT_FALSE(Due().due);
    EXPECT_EQ(Due().fileBase, "276121");

    Put("276121", "1", At(8, 12, 30), true);
    Put("276122", "1", At(8, 11, 0));
    EXPECT_TRUE(Due().due);
    EXPECT_EQ(Due().fileBase, "276122");

    Put("276122", "1", At(8, 11, 0), true);
    EXPECT_EQ(Due().fileBase, "276123");
    EXPECT_TRUE(Due().due);
}

}  // namespace
}  // namespace vt
