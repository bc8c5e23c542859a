// Plays the shell and the user for the end-to-end tests: finds the program's windows, posts the
// tray callback message, reads and presses dialogs. Prints UTF-8. Exit 0 on success.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "win32/wide.h"

namespace {

constexpr wchar_t kMainClass[] = L"VantorelTrayMain";
constexpr UINT kTrayMessage = 0x7658;

HWND WaitFor(const wchar_t* className, const wchar_t* title, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 100) {
        if (HWND hwnd = FindWindowW(className, title)) return hwnd;
        Sleep(100);
    }
    return nullptr;
}

std::string TextOf(HWND hwnd) {
    wchar_t buffer[4096];
    const int n = GetWindowTextW(hwnd, buffer, 4096);
    return vt::Narrow(std::wstring(buffer, n > 0 ? n : 0));
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
    wchar_t cls[64];
    GetClassNameW(child, cls, 64);
    if (lstrcmpiW(cls, L"Static") == 0) {
        const std::string text = TextOf(child);
        if (!text.empty()) std::printf("%s\n", text.c_str());
    }
    return TRUE;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: driver wait-main MS | tray MOUSE_MSG | command ID |\n"
                 "              dialog-text TITLE MS | dialog-ok TITLE | count-dialogs TITLE |\n"
                 "              tray-delete | taskbar-created | window-visible TITLE | "
                 "close-window TITLE\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const std::wstring verb = argv[1];
    if (verb == L"wait-main" && argc == 3) {
        return WaitFor(kMainClass, nullptr, _wtoi(argv[2])) ? 0 : 1;
    }
    if ((verb == L"tray" || verb == L"command") && argc == 3) {
        HWND main = FindWindowW(kMainClass, nullptr);
        if (!main) return 1;
        const auto value = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0));
        const BOOL ok = verb == L"tray" ? PostMessageW(main, kTrayMessage, 1, value)
                                        : PostMessageW(main, WM_COMMAND, value, 0);
        return ok ? 0 : 1;
    }
    if (verb == L"ping" && argc == 3) {
        // Answers only while the UI thread handles its messages.
        HWND main = FindWindowW(kMainClass, nullptr);
        DWORD_PTR result = 0;
        return main && SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                           static_cast<UINT>(_wtoi(argv[2])), &result)
                   ? 0
                   : 1;
    }
    if (verb == L"tray-delete" && argc == 2) {
        // What a crashing shell does to every icon.
        NOTIFYICONDATAW nid = {};
        nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
        nid.hWnd = FindWindowW(kMainClass, nullptr);
        nid.uID = 1;
        return nid.hWnd && Shell_NotifyIconW(NIM_DELETE, &nid) ? 0 : 1;
    }
    if (verb == L"taskbar-created" && argc == 2) {
        HWND main = FindWindowW(kMainClass, nullptr);
        return main && PostMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0) ? 0 : 1;
    }
    if (verb == L"window-visible" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        return window && IsWindowVisible(window) ? 0 : 1;
    }
    if (verb == L"close-window" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (verb == L"dialog-text" && argc == 4) {
        HWND dialog = WaitFor(L"#32770", argv[2], _wtoi(argv[3]));
        if (!dialog) return 1;
        EnumChildWindows(dialog, PrintStatic, 0);
        return 0;
    }
    if (verb == L"dialog-ok" && argc == 3) {
        HWND dialog = FindWindowW(L"#32770", argv[2]);
        if (!dialog) return 1;
        HWND ok = GetDlgItem(dialog, IDOK);
        if (!ok) ok = GetDlgItem(dialog, IDCANCEL);
        if (!ok) return 1;
        SendMessageW(ok, BM_CLICK, 0, 0);
        return 0;
    }
    if (verb == L"count-dialogs" && argc == 3) {
        int count = 0;
        for (HWND h = FindWindowW(L"#32770", argv[2]); h;
             h = FindWindowExW(nullptr, h, L"#32770", argv[2])) {
            ++count;
        }
        std::printf("%d\n", count);
        return 0;
    }
    return Usage();
}
