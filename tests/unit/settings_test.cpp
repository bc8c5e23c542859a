#include <gtest/gtest.h>

#include "app/tray_settings.h"
#include "common/errors.h"
#include "fakes.h"

namespace vt {
namespace {

using test::FakeProfile;
using test::FakeRandom;

constexpr const char* kFolder = "C:\\Apps\\Tray\\";

// Offsets 5 later, 11 later, 8 earlier, 0 later: the jitter of the example file.
FakeRandom ExampleJitter() {
    return FakeRandom({5, 0, 11, 0, 8, 1, 0, 0});
}

TEST(ReadSettings, FirstStartWritesTheExampleFile) {
    FakeProfile profile;
    FakeRandom random = ExampleJitter();
    TTraySettings s;
    EXPECT_FALSE(ReadSettings(s, profile, kFolder, random));
    EXPECT_EQ(profile.Text(),
              "[frc]\r\n"
              "frctime=0,6,12,18\r\n"
              "frcNewtime=0:05,6:11,11:52,18:00\r\n"
              "frcTownIndex=27612\r\n"
              "frcTownName=Москва\r\n"
              "frcCountryName=Россия\r\n"
              "[settings]\r\n"
              "breakBaloonCheked=10\r\n"
              "viewFrcCheked=День+ночь\r\n"
              "picOnIconStyle=1\r\n"
              "viewIconCheked=Облачность и осадки\r\n"
              "autoloadChecked=true\r\n"
              "stateConnectChecked=2\r\n"
              "Proxyserver=\r\n"
              "ProxyPort=\r\n"
              "userProxy=\r\n"
              "passwdproxy=\r\n"
              "viewIconColor=clBlack\r\n");
    EXPECT_EQ(s.progDir, kFolder);
    EXPECT_EQ(s.frcTownIndex, "27612");
    EXPECT_EQ(s.viewIconColor, kClBlack);
    EXPECT_FALSE(s.balloonRequested);
}

TEST(ReadSettings, ValuesPresentAreTakenAsTheyStandAndEmptyOnesDefaulted) {
    FakeProfile profile;
    profile.Set("frc", "frctime", "0,12");
    profile.Set("frc", "frcTownIndex", "3914");
    profile.Set("settings", "viewFrcCheked", "");
    profile.Set("settings", "stateConnectChecked", "4");
    profile.Set("settings", "viewIconColor", "$000000FF");
    profile.Set("SETTINGS", "PROXYSERVER", "proxy.local");
    FakeRandom random;
    TTraySettings s;
    ReadSettings(s, profile, kFolder, random);
    EXPECT_EQ(s.frctime, "0,12");
    EXPECT_EQ(s.frcTownIndex, "3914");  // completed only by start-up, in memory
    EXPECT_EQ(s.viewFrcCheked, "День+ночь");
    EXPECT_EQ(profile.Read("settings", "viewFrcCheked"), "День+ночь");
    EXPECT_EQ(s.stateConnectChecked, "4");
    EXPECT_EQ(s.viewIconColor, 0x0000FF);
    EXPECT_EQ(s.ProxyServer, "proxy.local");
    for (const auto& line : profile.writeLog) {
        EXPECT_EQ(line.find("frctime"), std::string::npos) << line;
        EXPECT_EQ(line.find("viewIconColor"), std::string::npos) << line;
    }
}

TEST(ReadSettings, UnreadableColourBecomesBlackInFileAndMemory) {
    const char* unreadable[] = {"red", "", "$", "$123456789", "12x", "clNone"};
    for (const char* value : unreadable) {
        FakeProfile profile;
        profile.Set("settings", "viewIconColor", value);
        FakeRandom random;
        TTraySettings s;
        s.viewIconColor = 0x123;
        ReadSettings(s, profile, kFolder, random);
        EXPECT_EQ(s.viewIconColor, kClBlack) << value;
        EXPECT_EQ(profile.Read("settings", "viewIconColor"), "clBlack") << value;
    }
}

TEST(ReadSettings, AFailedWriteIsReportedOnceAndTheRestDefaultedInMemory) {
    FakeProfile profile;
    profile.failWritesFrom = 3;  // frctime, frcNewtime and frcTownIndex succeed
    FakeRandom random;
    TTraySettings s;
    const auto failure = ReadSettings(s, profile, kFolder, random);
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, "Unable to write to C:\\Apps\\Tray\\vantoreltray.ini");
    EXPECT_EQ(profile.writes, 4) << "no writes after the failing one";
    EXPECT_EQ(s.frcTownName, "Москва");
    EXPECT_EQ(s.passwdProxy, "");
    EXPECT_EQ(s.stateConnectChecked, "2");
    EXPECT_EQ(s.viewIconColor, kClBlack);
}

TEST(ReadSettings, AllStartUpWritesAreOneCommitAndItsFailureIsReported) {
    for (bool fails : {false, true}) {
        FakeProfile profile;
        profile.failCommits = fails;
        FakeRandom random;
        TTraySettings s;
        const auto failure = ReadSettings(s, profile, kFolder, random);
        EXPECT_EQ(profile.commits, 1);
        EXPECT_EQ(failure.value_or("none"),
                  fails ? "Unable to write to C:\\Apps\\Tray\\vantoreltray.ini" : "none");
        EXPECT_EQ(s.frcTownName, "Москва") << "the defaults hold in memory either way";
    }
}

TEST(SettingsFilePath, JoinsWithOneSeparator) {
    EXPECT_EQ(SettingsFilePath("C:\\Apps\\Tray\\"), "C:\\Apps\\Tray\\vantoreltray.ini");
    EXPECT_EQ(SettingsFilePath("C:\\Apps\\Tray"), "C:\\Apps\\Tray\\vantoreltray.ini");
}

TTraySettings DialogSettings() {
    TTraySettings s;
    s.progDir = kFolder;
    s.frcTownName = "Киев";
    s.frcTownIndex = "33345";
    s.frcCountryName = "Украина";
    s.viewFrcCheked = "День";
    s.breakBaloonCheked = "15";
    s.autoloadChecked = "false";
    s.stateConnectChecked = "1";
    s.ProxyServer = "p";
    s.ProxyPort = "3128";
    s.userProxy = "u";
    s.passwdProxy = "пароль с пробелом";
    s.picOnIconStyle = "0";
    s.viewIconColor = 0x0080FF;
    return s;
}

TEST(SaveSettings, WritesTheDialogKeysInOrderAndTheIconKeyOfTheChosenType) {
    struct Case {
        const char* iconType;
        const char* lastLine;
    };
    const Case cases[] = {
        {"Температура", "settings/viewIconColor=$000080FF"},
        {"Облачность и осадки", "settings/picOnIconStyle=0"},
        {"другое", "settings/passwdProxy=пароль с пробелом"},
    };
    for (const auto& c : cases) {
        FakeProfile profile;
        TTraySettings s = DialogSettings();
        s.viewIconCheked = c.iconType;
        SaveSettings(s, profile);
        std::vector<std::string> expected = {
            "frc/frcTownName=Киев",
            "frc/frcTownIndex=33345",
            "frc/frcCountryName=Украина",
            "settings/viewFrcCheked=День",
            std::string("settings/viewIconCheked=") + c.iconType,
            "settings/breakBaloonCheked=15",
            "settings/autoloadChecked=false",
            "settings/stateConnectChecked=1",
            "settings/ProxyServer=p",
            "settings/ProxyPort=3128",
            "settings/userProxy=u",
            "settings/passwdProxy=пароль с пробелом",
        };
        if (expected.back() != c.lastLine) expected.push_back(c.lastLine);
        EXPECT_EQ(profile.writeLog, expected) << c.iconType;
    }
}

TEST(SaveSettings, TheDialogsProxyServerKeyIsTheSameEntryAsTheLoaders) {
    FakeProfile profile;
    FakeRandom random;
    TTraySettings s;
    ReadSettings(s, profile, kFolder, random);
    s.ProxyServer = "10.0.0.1";
    SaveSettings(s, profile);
    EXPECT_EQ(profile.Read("settings", "Proxyserver"), "10.0.0.1");
    EXPECT_EQ(profile.Read("settings", "passwdproxy"), "");
}

TEST(SaveSettings, StopsAtTheFailingKeyAndRaises) {
    FakeProfile profile;
    profile.failWritesFrom = 2;
    TTraySettings s = DialogSettings();
    try {
        SaveSettings(s, profile);
        FAIL() << "no error raised";
    } catch (const SettingsWriteError& e) {
        EXPECT_STREQ(e.what(), "Unable to write to C:\\Apps\\Tray\\vantoreltray.ini");
    }
    EXPECT_EQ(profile.writes, 3);
    EXPECT_EQ(profile.commits, 1) << "the writes before the failure are not left pending";
}

TEST(SaveSettings, AFailedCommitRaises) {
    FakeProfile profile;
    profile.failCommits = true;
    EXPECT_THROW(SaveSettings(DialogSettings(), profile), SettingsWriteError);
    EXPECT_EQ(profile.commits, 1);
}

}  // namespace
}  // namespace vt
