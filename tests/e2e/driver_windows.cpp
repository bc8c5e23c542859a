#include "driver_windows.h"

#include <commctrl.h>

#include <cstdio>

#include "win32/main_window_ids.h"
#include "win32/wide.h"

namespace e2e {

namespace {

template <typename Find>
HWND Poll(Find&& find, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 100) {
        if (HWND hwnd = find()) return hwnd;
        Sleep(100);
    }
    return nullptr;
}

struct FindById {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM param) {
    auto* find = reinterpret_cast<FindById*>(param);
    if (GetDlgCtrlID(child) == find->id && !find->found) find->found = child;
    return TRUE;
}

}  // namespace

HWND MainWindow() {
    return FindWindowW(vt::kMainWindowClass, nullptr);
}

HWND WaitForMainWindow(int timeoutMs) {
    return Poll(MainWindow, timeoutMs);
}

int CountMainWindows() {
    int count = 0;
    for (HWND h = FindWindowExW(nullptr, nullptr, vt::kMainWindowClass, nullptr); h;
         h = FindWindowExW(nullptr, h, vt::kMainWindowClass, nullptr)) {
        ++count;
    }
    return count;
}

HWND VisibleDialog(const wchar_t* title) {
    for (HWND h = FindWindowW(L"#32770", title); h;
         h = FindWindowExW(nullptr, h, L"#32770", title)) {
        if (IsWindowVisible(h)) return h;
    }
    return nullptr;
}

HWND WaitForVisibleDialog(const wchar_t* title, int timeoutMs) {
    return Poll([&] { return VisibleDialog(title); }, timeoutMs);
}

int CountVisibleDialogs(const wchar_t* title) {
    int count = 0;
    for (HWND h = FindWindowW(L"#32770", title); h;
         h = FindWindowExW(nullptr, h, L"#32770", title)) {
        if (IsWindowVisible(h)) ++count;
    }
    return count;
}

HWND ControlOf(HWND dialog, int id) {
    FindById find = {id, nullptr};
    EnumChildWindows(dialog, MatchId, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

Dialog FindDialog(const wchar_t* title) {
    for (HWND h = FindWindowW(L"#32770", title); h;
         h = FindWindowExW(nullptr, h, L"#32770", title)) {
        if (ControlOf(h, IDC_PAGES)) return {h, vt::kPreferencesControls};
        if (ControlOf(h, IDC_ABOUT_PANEL1)) return {h, vt::kAboutControls};
    }
    return {};
}

const vt::ControlSpec* SpecNamed(const Dialog& dialog, const std::wstring& name) {
    for (const vt::ControlSpec& row : dialog.table) {
        if (vt::Wide(row.name) == name) return &row;
    }
    return nullptr;
}

const vt::ControlSpec* SpecOf(const Dialog& dialog, int id) {
    for (const vt::ControlSpec& row : dialog.table) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[4096] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        5000, &n);
    return std::wstring(buffer, n);
}

HWND FocusedControl(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
    HWND focus = info.hwndFocus;
    wchar_t cls[64] = {};
    if (focus && GetClassNameW(GetParent(focus), cls, 64) && lstrcmpiW(cls, L"ComboBox") == 0) {
        focus = GetParent(focus);
    }
    return focus;
}

HWND VisibleBalloon() {
    // The shell shows a balloon as a visible balloon-style tooltip window.
    for (HWND h = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); h;
         h = FindWindowExW(nullptr, h, L"tooltips_class32", nullptr)) {
        if (IsWindowVisible(h) && (GetWindowLongW(h, GWL_STYLE) & TTS_BALLOON)) return h;
    }
    return nullptr;
}

// Wine's tooltip does not answer TTM_GETTITLE, so the text comes from the tool. The tooltip
// belongs to the shell's process: the structures the message fills must live in its memory.
bool PrintBalloon(HWND balloon) {
    DWORD pid = 0;
    GetWindowThreadProcessId(balloon, &pid);
    const HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    constexpr std::size_t kChars = 4096;
    struct Remote {
        TTTOOLINFOW tool;
        wchar_t text[kChars];
    };
    auto* remote = static_cast<Remote*>(
        VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
    bool ok = remote != nullptr;
    if (ok) {
        Remote local{};
        local.tool.cbSize = sizeof local.tool;
        local.tool.lpszText = remote->text;
        ok = WriteProcessMemory(process, remote, &local, sizeof local, nullptr) &&
             SendMessageW(balloon, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&remote->tool));
        ok = ok && ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
        if (ok) {
            local.text[kChars - 1] = 0;
            std::printf("%s\n", vt::Narrow(local.text).c_str());
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return ok;
}

}  // namespace e2e
