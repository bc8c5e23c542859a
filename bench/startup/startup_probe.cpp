// Measures a tray program from outside, as a user's machine would see it: how long it takes to
// show its hidden window and to be ready, its memory, how fast its windows answer.
//
//   startup_probe hold                    keep the desktop (and the shell it started) open
//   startup_probe launch EXE CLASS N      start EXE in its folder; print the start on Wine's
//                                         debug clock (ms), the milliseconds to its window of
//                                         CLASS and, for N > 0, to the first message answered
//                                         once the process has N dialogs
//   startup_probe windows CLASS           the controls of each dialog of the window's thread
//   startup_probe memory CLASS            working set and private bytes of the window's process, KB
//   startup_probe counts CLASS            its handles and threads
//   startup_probe roundtrip CLASS N       median and largest of N WM_NULL round trips, µs
//   startup_probe open CLASS COMMAND TITLE  post COMMAND to the window; ms until the dialog
//                                         TITLE is shown and answers
//   startup_probe keystroke TITLE CHAR    type CHAR into the dialog's town box; ms until handled
//   startup_probe close TITLE             close the dialog TITLE as its close box does
//   startup_probe stop CLASS              remove the icon and end the window's process
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

// Wine's debug time stamps and its performance counter read the same monotonic clock, so the
// shell's record and these figures line up.
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

DWORD ProcessIdOf(HWND hwnd) {
    DWORD pid = 0;
    return hwnd && GetWindowThreadProcessId(hwnd, &pid) ? pid : 0;
}

HANDLE ProcessOf(const wchar_t* className, DWORD access) {
    const DWORD pid = ProcessIdOf(FindWindowW(className, nullptr));
    return pid ? OpenProcess(access, FALSE, pid) : nullptr;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, ARRAYSIZE(name));
    return name;
}

// Named callbacks: on 32-bit Windows a lambda does not convert to a stdcall pointer.
BOOL CALLBACK AddIfDialog(HWND hwnd, LPARAM param) {
    if (ClassOf(hwnd) == L"#32770") reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK AddClassName(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(ClassOf(child));
    return TRUE;
}

BOOL CALLBACK FindComboEdit(HWND child, LPARAM param) {
    if (ClassOf(child) != L"Edit" || ClassOf(GetParent(child)) != L"ComboBox") return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

// The dialogs of the window's thread, which makes every window of both programs: enumerating
// the whole desktop every millisecond would load the server the measured program waits on.
std::vector<HWND> DialogsOf(HWND hwnd) {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetWindowThreadProcessId(hwnd, nullptr), AddIfDialog,
                      reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

bool Answers(HWND hwnd) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

int Fail(const char* why) {
    std::fprintf(stderr, "%s\n", why);
    return 1;
}

int Hold() {
    GetDesktopWindow();
    for (;;) Sleep(INFINITE);
}

int Launch(const std::wstring& exe, const wchar_t* className, int dialogs) {
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
    // Polling with Sleep(1), nothing that reaches the shell: its record must hold only the
    // program's own icon changes.
    HWND hwnd = nullptr;
    while (!(hwnd = FindWindowW(className, nullptr))) {
        if (Now() - start > kGiveUpMs) return Fail("no window");
        Sleep(1);
    }
    const double window = Now() - start;
    // Without dialogs to wait for the probe stays idle: the shell's record times the icon, and
    // polling would take the processor from the program it measures.
    if (dialogs == 0) {
        std::printf("%.1f %.1f\n", start, window);
        Sleep(1000);  // nor does it end its own process meanwhile
        return 0;
    }
    while (DialogsOf(hwnd).size() < static_cast<std::size_t>(dialogs)) {
        if (Now() - start > kGiveUpMs) return Fail("not all dialogs of start-up appeared");
        Sleep(1);
    }
    if (!Answers(hwnd)) return Fail("the window did not answer");
    std::printf("%.1f %.1f %.1f\n", start, window, Now() - start);
    return 0;
}

// One line a dialog: how many windows of each class it holds, so that a floor's dialogs can be
// checked against the program's.
int Windows(const wchar_t* className) {
    HWND hwnd = FindWindowW(className, nullptr);
    if (!hwnd) return Fail("no window");
    for (HWND top : DialogsOf(hwnd)) {
        std::vector<std::wstring> classes;
        EnumChildWindows(top, AddClassName, reinterpret_cast<LPARAM>(&classes));
        std::sort(classes.begin(), classes.end());
        std::wstring line = std::to_wstring(classes.size()) + L" controls:";
        for (std::size_t i = 0; i < classes.size();) {
            std::size_t j = i;
            while (j < classes.size() && classes[j] == classes[i]) ++j;
            line += L" " + classes[i] + L"=" + std::to_wstring(j - i);
            i = j;
        }
        std::printf("%ls\n", line.c_str());
    }
    return 0;
}

int Memory(const wchar_t* className) {
    HANDLE process = ProcessOf(className, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!process ||
        !GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
        return Fail("no process memory figures");
    }
    CloseHandle(process);
    std::printf("%llu %llu\n", static_cast<unsigned long long>(counters.WorkingSetSize / 1024),
                static_cast<unsigned long long>(counters.PrivateUsage / 1024));
    return 0;
}

int Counts(const wchar_t* className) {
    const DWORD pid = ProcessIdOf(FindWindowW(className, nullptr));
    if (!pid) return Fail("no window");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    DWORD handles = 0;
    if (!process || !GetProcessHandleCount(process, &handles)) return Fail("no handle count");
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
    if (!hwnd) return Fail("no window");
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const double start = Now();
        if (!Answers(hwnd)) return Fail("the window did not answer");
        times.push_back((Now() - start) * 1000.0);
        Sleep(5);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.0f %.0f\n", times[times.size() / 2], times.back());
    return 0;
}

// The whole way of a menu command: the handler, the dialog shown, and its first answer after.
int Open(const wchar_t* className, UINT command, const wchar_t* title) {
    HWND hwnd = FindWindowW(className, nullptr);
    if (!hwnd) return Fail("no window");
    const double start = Now();
    PostMessageW(hwnd, WM_COMMAND, command, 0);
    HWND dialog = nullptr;
    while (!(dialog = FindWindowW(L"#32770", title)) || !IsWindowVisible(dialog)) {
        if (Now() - start > kGiveUpMs) return Fail("the dialog did not show");
        Sleep(1);
    }
    if (!Answers(dialog)) return Fail("the dialog did not answer");
    std::printf("%.1f\n", Now() - start);
    return 0;
}

HWND TownEditOf(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(dialog, FindComboEdit, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Sent, not posted: the answer comes back once the box has handled the character.
int Keystroke(const wchar_t* title, wchar_t character) {
    HWND edit = TownEditOf(FindWindowW(L"#32770", title));
    if (!edit) return Fail("no town box");
    const double start = Now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(edit, WM_CHAR, character, 1, SMTO_ABORTIFHUNG, 5000, &result)) {
        return Fail("the town box did not answer");
    }
    std::printf("%.2f\n", Now() - start);
    return 0;
}

int Close(const wchar_t* title) {
    HWND dialog = FindWindowW(L"#32770", title);
    if (!dialog) return Fail("no such dialog");
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    const double start = Now();
    while (IsWindowVisible(dialog)) {
        if (Now() - start > kGiveUpMs) return Fail("the dialog stayed");
        Sleep(1);
    }
    return Answers(dialog) ? 0 : Fail("the dialog did not answer");
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
    if (verb == L"hold" && argc == 2) return Hold();
    if (verb == L"launch" && argc == 5) return Launch(argv[2], argv[3], _wtoi(argv[4]));
    if (verb == L"windows" && argc == 3) return Windows(argv[2]);
    if (verb == L"memory" && argc == 3) return Memory(argv[2]);
    if (verb == L"counts" && argc == 3) return Counts(argv[2]);
    if (verb == L"roundtrip" && argc == 4) return RoundTrip(argv[2], _wtoi(argv[3]));
    if (verb == L"open" && argc == 5) {
        return Open(argv[2], static_cast<UINT>(_wtoi(argv[3])), argv[4]);
    }
    if (verb == L"keystroke" && argc == 4) return Keystroke(argv[2], argv[3][0]);
    if (verb == L"close" && argc == 3) return Close(argv[2]);
    if (verb == L"stop" && argc == 3) return Stop(argv[2]);
    std::fprintf(stderr,
                 "usage: startup_probe hold | launch EXE CLASS DIALOGS | windows CLASS | memory "
                 "CLASS | counts CLASS | roundtrip CLASS N | open CLASS COMMAND TITLE | keystroke "
                 "TITLE CHAR | close TITLE | stop CLASS\n");
    return 2;
}
