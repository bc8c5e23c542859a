#include "win32/system_adapters.h"

#include <windows.h>

#include "win32/data_folder.h"
#include "win32/wide.h"

namespace vt {

UtcTime SystemClock::NowUtc() const {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

void SystemRandom::Reseed() {
    // The performance counter changes between two calls, unlike the millisecond clock.
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    std::seed_seq seed{static_cast<unsigned>(counter.LowPart),
                       static_cast<unsigned>(counter.HighPart),
                       static_cast<unsigned>(GetCurrentProcessId())};
    engine_.seed(seed);
}

int SystemRandom::Draw(int range) {
    return std::uniform_int_distribution<int>(0, range - 1)(engine_);
}

int WinSystemInfo::WindowsMajorVersion() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return 0;
#pragma GCC diagnostic pop
    return static_cast<int>(info.dwMajorVersion);
}

std::string WinSystemInfo::ProgramPath() {
    std::wstring path(1025, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Narrow(path);
}

std::string WinSystemInfo::DataFolder() {
    return TheDataFolder().path;
}

std::string RegionalDayNames::Abbreviated(int dayOfWeek) const {
    // 2006-01-01 was a Sunday.
    SYSTEMTIME st = {};
    st.wYear = 2006;
    st.wMonth = 1;
    st.wDay = static_cast<WORD>(1 + dayOfWeek);
    st.wDayOfWeek = static_cast<WORD>(dayOfWeek);
    wchar_t buffer[64];
    const int n = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, L"ddd", buffer, 64);
    return n > 1 ? Narrow(std::wstring(buffer, n - 1)) : std::string();
}

}  // namespace vt
