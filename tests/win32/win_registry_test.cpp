#include "win32/win_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "prefs/autostart.h"
#include "win32/wide.h"

namespace vt {
namespace {

// A key of its own under HKCU, removed again by each test.
class WinRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(kKey).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, Wide(kKey).c_str()); }

    static constexpr const char* kKey = "Software\\VantorelTrayTest";
    WinRegistry registry;
};

TEST_F(WinRegistryTest, ACyrillicPathRoundTripsAsAString) {
    const std::string path = "\"C:\\Погода от Vantorel\\vantoreltray.exe\"";
    {
        auto key = registry.Open(RegistryRoot::CurrentUser, kKey, true);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->Query("VantorelTray"), std::nullopt);
        ASSERT_TRUE(key->SetString("VantorelTray", path));
        key->Flush();
    }
    auto key = registry.Open(RegistryRoot::CurrentUser, kKey, false);
    ASSERT_NE(key, nullptr);
    const auto value = key->Query("VantorelTray");
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(value->isString);
    EXPECT_EQ(value->data, path);

    // Stored with its terminating NUL, as a wide string.
    DWORD type = 0, size = 0;
    HKEY raw = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kKey).c_str(), 0, KEY_READ, &raw);
    RegQueryValueExW(raw, L"VantorelTray", nullptr, &type, nullptr, &size);
    RegCloseKey(raw);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (Wide(path).size() + 1) * sizeof(wchar_t));
}

TEST_F(WinRegistryTest, ADwordIsNotAStringAndDeletingRemovesTheValue) {
    HKEY raw = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kKey).c_str(), 0, KEY_ALL_ACCESS, &raw);
    const DWORD one = 1;
    RegSetValueExW(raw, L"VantorelTray", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                   sizeof one);
    RegCloseKey(raw);
    auto key = registry.Open(RegistryRoot::CurrentUser, kKey, true);
    ASSERT_NE(key, nullptr);
    const auto value = key->Query("VantorelTray");
    ASSERT_TRUE(value.has_value());
    EXPECT_FALSE(value->isString);
    EXPECT_TRUE(key->Delete("VantorelTray"));
    EXPECT_EQ(key->Query("VantorelTray"), std::nullopt);
}

TEST_F(WinRegistryTest, AMissingKeyIsNotCreated) {
    EXPECT_EQ(registry.Open(RegistryRoot::CurrentUser, "Software\\VantorelTrayTest\\Absent", true),
              nullptr);
    HKEY raw = nullptr;
    EXPECT_NE(
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VantorelTrayTest\\Absent", 0, KEY_READ, &raw),
        ERROR_SUCCESS);
}

TEST_F(WinRegistryTest, AutostartWritesTheMachineRunKey) {
    UpdateAutostart(registry, Autostart::On, "C:\\Program Files\\Vantorel\\vantoreltray.exe");
    auto key = registry.Open(RegistryRoot::LocalMachine, kRunKey, false);
    ASSERT_NE(key, nullptr);
    const auto value = key->Query(kRunValueName);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, "\"C:\\Program Files\\Vantorel\\vantoreltray.exe\"");
    UpdateAutostart(registry, Autostart::Off, "C:\\Program Files\\Vantorel\\vantoreltray.exe");
    EXPECT_EQ(registry.Open(RegistryRoot::LocalMachine, kRunKey, false)->Query(kRunValueName),
              std::nullopt);
}

}  // namespace
}  // namespace vt
