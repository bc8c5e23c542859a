// Measures a tray program from outside, as a user's machine would see it: how long it takes to
// show its hidden window and its icon, its memory, and how fast its window answers.
//
//   startup_probe launch EXE CLASS      start EXE in its folder; print the milliseconds from the
//                                       start to its window of CLASS and to its icon (id 1)
//   startup_probe memory CLASS          working set and private bytes of the window's process, KB
//   startup_probe counts CLASS          its handles and threads
//   startup_probe roundtrip CLASS N     median and largest of N WM_NULL round trips, µs
//   startup_probe stop CLASS            remove the icon and end the window's process
#include <windows.h>
// after windows.h
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kGiveUpMs = 30000;

double Now() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

bool IconExists(HWND hwnd) {
    // Changing nothing of an icon succeeds only while the shell holds it.
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = hwnd;
    nid.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

HANDLE ProcessOf(const wchar_t* className, DWORD access) {
    HWND hwnd = FindWindowW(className, nullptr);
    DWORD pid = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &pid)) return nullptr;
    return OpenProcess(access, FALSE, pid);
}

int Launch(const std::wstring& exe, const wchar_t* className) {
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    HWND hwnd = nullptr;
    double window = 0;
    while (!(hwnd = FindWindowW(className, nullptr))) {
        if (Now() - start > kGiveUpMs) return std::fprintf(stderr, "no window\n"), 1;
        Sleep(1);
    }
    window = Now() - start;
    while (!IconExists(hwnd)) {
        if (Now() - start > kGiveUpMs) return std::fprintf(stderr, "no icon\n"), 1;
        Sleep(1);
    }
    std::printf("%.1f %.1f\n", window, Now() - start);
    return 0;
}

int Memory(const wchar_t* className) {
    HANDLE process = ProcessOf(className, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!process ||
        !GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
        return std::fprintf(stderr, "no process memory figures\n"), 1;
    }
    CloseHandle(process);
    std::printf("%llu %llu\n", static_cast<unsigned long long>(counters.WorkingSetSize / 1024),
                static_cast<unsigned long long>(counters.PrivateUsage / 1024));
    return 0;
}

int Counts(const wchar_t* className) {
    HWND hwnd = FindWindowW(className, nullptr);
    DWORD pid = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &pid))
        return std::fprintf(stderr, "no window\n"), 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    DWORD handles = 0;
    if (!process || !GetProcessHandleCount(process, &handles)) {
        return std::fprintf(stderr, "no handle count\n"), 1;
    }
    CloseHandle(process);
    int threads = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == pid) ++threads;
    }
    CloseHandle(snapshot);
    std::printf("%lu %d\n", handles, threads);
    return 0;
}

int RoundTrip(const wchar_t* className, int count) {
    HWND hwnd = FindWindowW(className, nullptr);
    if (!hwnd) return std::fprintf(stderr, "no window\n"), 1;
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        DWORD_PTR result = 0;
        const double start = Now();
        if (!SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
            return std::fprintf(stderr, "the window did not answer\n"), 1;
        }
        times.push_back((Now() - start) * 1000.0);
        Sleep(5);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.0f %.0f\n", times[times.size() / 2], times.back());
    return 0;
}

int Stop(const wchar_t* className) {
    HWND hwnd = FindWindowW(className, nullptr);
    if (!hwnd) return 0;
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = hwnd;
    nid.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &nid);
    HANDLE process = ProcessOf(className, PROCESS_TERMINATE | SYNCHRONIZE);
    if (!process) return 1;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"launch" && argc == 4) return Launch(argv[2], argv[3]);
    if (verb == L"memory" && argc == 3) return Memory(argv[2]);
    if (verb == L"counts" && argc == 3) return Counts(argv[2]);
    if (verb == L"roundtrip" && argc == 4) return RoundTrip(argv[2], _wtoi(argv[3]));
    if (verb == L"stop" && argc == 3) return Stop(argv[2]);
    std::fprintf(stderr,
                 "usage: startup_probe launch EXE CLASS | memory CLASS | counts CLASS | "
                 "roundtrip CLASS N | stop CLASS\n");
    return 2;
}
