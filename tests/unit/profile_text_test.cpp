#include "app/profile_text.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(ParseProfileText, ReadsLikeTheProfileFunctions) {
    struct Case {
        const char* text;
        ProfileEntries expected;
    };
    const Case cases[] = {
        {"", {}},
        {"[frc]\r\nfrctime=0,6\r\n", {{"frc\n", ""}, {"frc\nfrctime", "0,6"}}},
        {"  [ FRC ] trailing\n  FrcTime =  0,6 \t\n", {{"frc\n", ""}, {"frc\nfrctime", "0,6"}}},
        {"[s]\nk=first\nK=second\n", {{"s\n", ""}, {"s\nk", "first"}}},
        {"[s]\n; a comment\nno equals sign\n=\n", {{"s\n", ""}}},
        {"before=1\n[s]\nv=a=b\n", {{"\n", ""}, {"\nbefore", "1"}, {"s\n", ""}, {"s\nv", "a=b"}}},
        {"[empty]\n[s]\nk=", {{"empty\n", ""}, {"s\n", ""}, {"s\nk", ""}}},
        {"[unclosed\nk=1", {{"unclosed\n", ""}, {"unclosed\nk", "1"}}},
        {"[s]\r\nk=\xc0\xff\r\n", {{"s\n", ""}, {"s\nk", "\xc0\xff"}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseProfileText(c.text), c.expected) << c.text;
}

TEST(ExpectedAfter, ReplacesAndAddsWithoutLosingOtherSections) {
    const ProfileEntries before =
        ParseProfileText("[frc]\nfrcNewtime=old\n[service]\ndataHost=data.example.org\n");
    const ProfileEntries expected =
        ExpectedAfter(before, {{"FRC", "FrcNewTime", "6:04"}, {"settings", "picOnIconStyle", "1"}});
    EXPECT_EQ(expected, (ProfileEntries{{"frc\n", ""},
                                        {"frc\nfrcnewtime", "6:04"},
                                        {"service\n", ""},
                                        {"service\ndatahost", "data.example.org"},
                                        {"settings\n", ""},
                                        {"settings\npiconiconstyle", "1"}}));
    // What a cut file would hold is told apart.
    EXPECT_NE(ParseProfileText("[frc]\nfrcNewtime=6:04\n[settings]\npicOnIconStyle=1\n"), expected);
}

}  // namespace
}  // namespace vt
