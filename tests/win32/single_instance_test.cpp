#include "win32/single_instance.h"

#include <gtest/gtest.h>

#include "win32/main_window_ids.h"
#include "win32_test_util.h"

namespace vt {
namespace {

TEST(FolderKey, OneFolderOneKeyWhateverTheSpelling) {
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        bool same;
    } cases[] = {
        {L"C:\\Погода\\", L"c:\\ПОГОДА", true},
        {L"C:\\Tray\\", L"C:/Tray/", true},
        {L"C:\\Tray\\", L"C:\\Tray2\\", false},
        {L"C:\\Tray\\", L"D:\\Tray\\", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderKey(c.a) == FolderKey(c.b), c.same) << Narrow(c.a) << " " << Narrow(c.b);
    }
}

TEST(SingleInstance, TheSecondStartInAFolderIsNotFirstAndOthersAre) {
    const std::wstring folder = Wide(test::MakeTempFolder("instance"));
    const SingleInstance first(folder);
    const SingleInstance second(folder);
    const SingleInstance elsewhere(folder + L"other\\");
    EXPECT_TRUE(first.First());
    EXPECT_FALSE(second.First());
    EXPECT_TRUE(elsewhere.First());
}

TEST(SingleInstance, AWakeRequestIsForItsOwnFolderOnly) {
    const std::wstring folder = Wide(test::MakeTempFolder("wake"));
    const SingleInstance here(folder);
    const SingleInstance there(folder + L"other\\");
    const UINT message = RegisterWindowMessageW(kWakeMessageName);
    const std::uint64_t key = FolderKey(folder);
    const WPARAM low = static_cast<WPARAM>(key & 0xFFFFFFFFu);
    const LPARAM high = static_cast<LPARAM>(key >> 32);
    EXPECT_TRUE(here.IsWakeRequest(message, low, high));
    EXPECT_FALSE(there.IsWakeRequest(message, low, high));
    EXPECT_FALSE(here.IsWakeRequest(message + 1, low, high));
}

}  // namespace
}  // namespace vt
