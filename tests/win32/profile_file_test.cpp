#include "win32/profile_file.h"

#include <gtest/gtest.h>

#include "app/tray_settings.h"
#include "text/encoding.h"
#include "win32_test_util.h"

namespace vt {
namespace {

using test::MakeTempFolder;
using test::ReadBytes;

TEST(ProfileFile, StoresCyrillicAsCodePage1251InAFolderWithACyrillicName) {
    const std::string folder = MakeTempFolder("Погода Ёлки");
    ProfileFile profile(SettingsFilePath(folder));
    ASSERT_TRUE(profile.Write("frc", "frcTownName", "Москва"));
    ASSERT_TRUE(profile.Write("settings", "passwdProxy", "пароль с пробелом °"));
    EXPECT_EQ(ReadBytes(folder + "vantoreltray.ini"),
              Utf8ToCp1251("[frc]\r\nfrcTownName=Москва\r\n[settings]\r\n"
                           "passwdProxy=пароль с пробелом °\r\n"));
    EXPECT_EQ(profile.Read("frc", "frcTownName"), "Москва");
    EXPECT_EQ(profile.Read("SETTINGS", "PASSWDPROXY"), "пароль с пробелом °");
}

TEST(ProfileFile, KeysDifferingInCaseAreOneEntry) {
    const std::string folder = MakeTempFolder("case");
    ProfileFile profile(SettingsFilePath(folder));
    ASSERT_TRUE(profile.Write("settings", "Proxyserver", ""));
    ASSERT_TRUE(profile.Write("settings", "ProxyServer", "proxy.local"));
    EXPECT_EQ(profile.Read("settings", "Proxyserver"), "proxy.local");
    EXPECT_EQ(ReadBytes(folder + "vantoreltray.ini"), "[settings]\r\nProxyserver=proxy.local\r\n");
}

TEST(ProfileFile, AbsentKeysAndFilesReadEmpty) {
    const std::string folder = MakeTempFolder("absent");
    ProfileFile profile(SettingsFilePath(folder));
    EXPECT_EQ(profile.Read("frc", "frctime"), "");
    EXPECT_EQ(ReadBytes(folder + "vantoreltray.ini"), "<missing>");
}

TEST(ProfileFile, EveryHighByteRoundTrips) {
    std::string all;
    for (int b = 0x80; b <= 0xFF; ++b) all += static_cast<char>(b);
    const std::string folder = MakeTempFolder("bytes");
    ProfileFile profile(SettingsFilePath(folder));
    ASSERT_TRUE(profile.Write("s", "k", Cp1251ToUtf8(all)));
    EXPECT_EQ(profile.Read("s", "k"), Cp1251ToUtf8(all));
    EXPECT_EQ(ReadBytes(folder + "vantoreltray.ini"), "[s]\r\nk=" + all + "\r\n");
}

TEST(ProfileFile, AWriteThatCannotReachTheFileFails) {
    const std::string folder = MakeTempFolder("blocked");
    CreateDirectoryW(Wide(folder + "vantoreltray.ini").c_str(), nullptr);
    ProfileFile profile(SettingsFilePath(folder));
    EXPECT_FALSE(profile.Write("frc", "frctime", "0,6,12,18"));
}

TEST(ProfileFile, ACommitKeepsWhatItDoesNotWriteAndLeavesNoCopy) {
    const std::string folder = MakeTempFolder("commit");
    const std::string user =
        "; the user's own notes\r\n[frc]\r\nfrctime=6,18\r\n"
        "[service]\r\ndataHost=data.example.org\r\n[mine]\r\nx = 1\r\n";
    test::WriteBytes(folder + "vantoreltray.ini", user);
    ProfileFile profile(SettingsFilePath(folder));
    profile.BeginWrites();
    ASSERT_TRUE(profile.Write("frc", "frcNewtime", "6:04,18:10"));
    ASSERT_TRUE(profile.Write("settings", "picOnIconStyle", "1"));
    EXPECT_EQ(profile.Read("frc", "FRCNEWTIME"), "6:04,18:10") << "a pending write reads back";
    EXPECT_EQ(ReadBytes(folder + "vantoreltray.ini"), user) << "nothing written before the commit";
    ASSERT_TRUE(profile.CommitWrites());
    const std::string after = ReadBytes(folder + "vantoreltray.ini");
    for (const char* kept : {"dataHost=data.example.org", "[mine]", "frctime=6,18",
                             "frcNewtime=6:04,18:10", "picOnIconStyle=1"}) {
        EXPECT_NE(after.find(kept), std::string::npos) << kept << " in\n" << after;
    }
    EXPECT_EQ(ReadBytes(folder + "vantoreltray.ini.part"), "<missing>");
}

TEST(ProfileFile, AFailedCommitLeavesTheFileAsItWas) {
    const std::string folder = MakeTempFolder("failed commit");
    const std::string user = "[frc]\r\nfrcTownIndex=27612\r\n[service]\r\nfanSite=fan.local\r\n";
    test::WriteBytes(folder + "vantoreltray.ini", user);
    // The copy cannot be made where a folder takes its name.
    CreateDirectoryW(Wide(folder + "vantoreltray.ini.part").c_str(), nullptr);
    ProfileFile profile(SettingsFilePath(folder));
    profile.BeginWrites();
    profile.Write("frc", "frcTownIndex", "33345");
    EXPECT_FALSE(profile.CommitWrites());
    EXPECT_FALSE(profile.Write("frc", "frcTownIndex", "33345")) << "a single write, too";
    EXPECT_EQ(ReadBytes(folder + "vantoreltray.ini"), user);
    EXPECT_EQ(profile.Read("frc", "frcTownIndex"), "27612");
}

}  // namespace
}  // namespace vt
