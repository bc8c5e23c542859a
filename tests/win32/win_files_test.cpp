#include "win32/win_files.h"

#include <gtest/gtest.h>

#include "win32/data_folder.h"
#include "win32/system_adapters.h"
#include "win32_test_util.h"

namespace vt {
namespace {

using test::MakeTempFolder;
using test::WriteBytes;

TEST(WinFiles, ExclusiveOpenFailsWhileAnotherHandleIsOpen) {
    WinFiles files;
    const std::string path = MakeTempFolder("lock") + "27612.txt";
    WriteBytes(path, "123");
    HANDLE other = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.OpenExclusive(path), nullptr);
    CloseHandle(other);
    auto file = files.OpenExclusive(path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->ByteCount(), 3);
    EXPECT_EQ(files.ReadAll(path), std::nullopt) << "the exclusive handle denies readers";
}

TEST(WinFiles, ByteCountAndWriteTime) {
    WinFiles files;
    SystemClock clock;
    const std::string folder = MakeTempFolder("count");
    WriteBytes(folder + "empty.txt", "");
    EXPECT_EQ(files.OpenExclusive(folder + "empty.txt")->ByteCount(), 0);
    const std::string big(40000, 'x');
    WriteBytes(folder + "big.txt", big);
    auto file = files.OpenExclusive(folder + "big.txt");
    EXPECT_EQ(file->ByteCount(), 40000);
    const auto written = file->LastWriteUtc();
    ASSERT_TRUE(written);
    const std::int64_t age = ToUnixMillis(clock.NowUtc()) - ToUnixMillis(*written);
    EXPECT_GE(age, -2000);
    EXPECT_LT(age, 60000);
    EXPECT_FALSE(files.Exists(folder + "none.txt"));
    EXPECT_FALSE(files.Exists(folder)) << "a folder is not a file";
}

TEST(WinFiles, ReplaceSwapsTheWholeFileOrLeavesTheOldOne) {
    WinFiles files;
    const std::string folder = MakeTempFolder("replace");
    const std::string path = folder + "27612.txt";
    ASSERT_TRUE(files.Replace(path, "first"));
    ASSERT_TRUE(files.Replace(path, "second, longer"));
    EXPECT_EQ(files.ReadAll(path), "second, longer");
    ASSERT_TRUE(files.Replace(path, ""));
    EXPECT_EQ(files.ReadAll(path), "");

    WriteBytes(path, "old");
    HANDLE holder =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(files.Replace(path, "new"));
    CloseHandle(holder);
    EXPECT_EQ(files.ReadAll(path), "old");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(folder + "*.part").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "no temporary file is left behind";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST(WinFiles, StartUpRemovesOnlyTemporariesOlderThanAMinute) {
    const std::string folder = MakeTempFolder("stale");
    auto makeFile = [&](const char* name, int ageSeconds) {
        WriteBytes(folder + name, "x");
        HANDLE h = CreateFileW(Wide(folder + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
        t.QuadPart -= static_cast<ULONGLONG>(ageSeconds) * 10000000ULL;
        const FILETIME then{t.LowPart, t.HighPart};
        SetFileTime(h, nullptr, nullptr, &then);
        CloseHandle(h);
    };
    const struct {
        const char* name;
        int ageSeconds;
        bool kept;
    } cases[] = {
        {"27612.txt.part", 120, false},
        {"vantoreltray.ini.part", 61, false},
        {"27612.txt.4711.part", 3600, false},  // the per-thread names of older versions
        {"vlbartlistfull.txt.part", 5, true},  // a download of this minute may still run
        {"27612.txt", 3600, true},
        {"notes.part.txt", 3600, true},
    };
    for (const auto& c : cases) makeFile(c.name, c.ageSeconds);
    RemoveStaleTemporaries(Wide(folder));
    for (const auto& c : cases) {
        EXPECT_EQ(GetFileAttributesW(Wide(folder + c.name).c_str()) != INVALID_FILE_ATTRIBUTES,
                  c.kept)
            << c.name;
    }
}

TEST(DataFolder, TheProgramFolderUnlessItCannotBeWritten) {
    const std::wstring program = Wide(MakeTempFolder("program"));
    const std::wstring local = Wide(MakeTempFolder("local"));
    const std::wstring mine = local + L"\\Vantorel.Tray\\";
    // A folder that cannot be written stands for a read-only one (the tests run as an
    // administrator, who may write everywhere else).
    const std::wstring unwritable = program + L"missing\\";
    struct Case {
        const char* name;
        std::wstring programFolder, localAppData;
        std::wstring path;
        bool madeNow;
    };
    const Case cases[] = {
        {"writable", program, local, program, false},
        {"unwritable", unwritable, local, mine, true},
        {"unwritable again", unwritable, local, mine, false},
        {"no folder of the user's", unwritable, L"", unwritable, false},
        {"none can be made", unwritable, local + L"\\missing", unwritable, false},
    };
    for (const auto& c : cases) {
        const DataFolder chosen = ChooseDataFolder(c.programFolder, c.localAppData);
        EXPECT_EQ(chosen.path, Narrow(c.path)) << c.name;
        EXPECT_EQ(chosen.madeNow, c.madeNow) << c.name;
    }
    // The probe leaves nothing behind.
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((program + L"*.probe").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST(SystemAdapters, DataFolderVersionAndDayNames) {
    WinSystemInfo system;
    const std::string folder = system.DataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_GE(system.WindowsMajorVersion(), 5);
    RegionalDayNames names;
    for (int d = 0; d < 7; ++d) EXPECT_FALSE(names.Abbreviated(d).empty()) << d;
    EXPECT_NE(names.Abbreviated(0), names.Abbreviated(6));
}

}  // namespace
}  // namespace vt
