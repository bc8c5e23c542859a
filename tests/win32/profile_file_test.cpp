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

}  // namespace
}  // namespace vt
