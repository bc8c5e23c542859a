// Plays the shell and the user for the end-to-end tests: finds the program's windows, posts the
// tray callback message, reads and presses dialogs. Prints UTF-8. Exit 0 on success.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "win32/dialog_layout.h"
#include "win32/menu_table.h"
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

// A shown dialog of that title: the program's own dialogs exist hidden all the time.
HWND VisibleDialog(const wchar_t* title) {
    for (HWND h = FindWindowW(L"#32770", title); h;
         h = FindWindowExW(nullptr, h, L"#32770", title)) {
        if (IsWindowVisible(h)) return h;
    }
    return nullptr;
}

HWND WaitForVisibleDialog(const wchar_t* title, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 100) {
        if (HWND hwnd = VisibleDialog(title)) return hwnd;
        Sleep(100);
    }
    return nullptr;
}

HWND VisibleBalloon() {
    // The shell shows a balloon as a visible balloon-style tooltip window.
    for (HWND h = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); h;
         h = FindWindowExW(nullptr, h, L"tooltips_class32", nullptr)) {
        if (IsWindowVisible(h) && (GetWindowLongW(h, GWL_STYLE) & TTS_BALLOON)) return h;
    }
    return nullptr;
}

// The balloon's text (Wine's tooltip does not answer TTM_GETTITLE). The tooltip belongs to the
// shell's process, so the structures the messages fill must live in that process's memory.
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

struct FindById {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM param) {
    auto* find = reinterpret_cast<FindById*>(param);
    if (GetDlgCtrlID(child) == find->id && !find->found) find->found = child;
    return TRUE;
}

// A control anywhere inside the dialog (also on its pages).
HWND ControlOf(HWND dialog, int id) {
    FindById find = {id, nullptr};
    EnumChildWindows(dialog, MatchId, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// One of the program's own dialogs (not a message box of the same title), shown or hidden.
HWND DialogOrNull(const wchar_t* title) {
    for (HWND h = FindWindowW(L"#32770", title); h;
         h = FindWindowExW(nullptr, h, L"#32770", title)) {
        if (ControlOf(h, IDC_PAGES) || ControlOf(h, IDC_ABOUT_PANEL1)) return h;
    }
    return nullptr;
}

// The program's font handles mean nothing in this process: text is measured in the fonts the
// dialogs are meant to use, the dialog font and the About box's title font.
SIZE TextSize(const std::wstring& text, bool title) {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    LOGFONTW lf = {};
    lf.lfHeight = title ? -MulDiv(19, dpi, 96) : -MulDiv(8, dpi, 72);
    lf.lfCharSet = title ? RUSSIAN_CHARSET : DEFAULT_CHARSET;
    lstrcpyW(lf.lfFaceName, title ? L"Arial" : L"MS Sans Serif");
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    size.cy = metrics.tmHeight;
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size;
}

// WM_GETTEXT, not GetWindowText: for another process's window that returns only the caption
// it was created with, never what a combo box's edit field shows now.
std::wstring WideText(HWND hwnd) {
    wchar_t buffer[4096] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        5000, &n);
    return std::wstring(buffer, n);
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Every control of the table inside its logical parent, and each caption within its control.
template <std::size_t N>
int CheckLayout(HWND dialog, const vt::ControlSpec (&specs)[N]) {
    int failures = 0;
    RECT client;
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (const vt::ControlSpec& row : specs) {
        HWND control = ControlOf(dialog, row.id);
        if (!control) {
            std::printf("missing control %d\n", row.id);
            ++failures;
            continue;
        }
        RECT rect, parent = client;
        GetWindowRect(control, &rect);
        if (row.parent != 0) GetWindowRect(ControlOf(dialog, row.parent), &parent);
        if (!Inside(rect, parent)) {
            std::printf("control %d (%ld,%ld,%ld,%ld) outside its parent %d (%ld,%ld,%ld,%ld)\n",
                        row.id, rect.left, rect.top, rect.right, rect.bottom, row.parent,
                        parent.left, parent.top, parent.right, parent.bottom);
            ++failures;
        }
        const std::wstring text = WideText(control);
        if (text.empty() || row.kind == vt::ControlKind::Page ||
            row.kind == vt::ControlKind::TownBox || row.kind == vt::ControlKind::Edit) {
            continue;
        }
        const SIZE size = TextSize(text, row.id == IDC_ABOUT_LABEL1);
        int room = rect.right - rect.left;
        switch (row.kind) {
            case vt::ControlKind::Radio:
            case vt::ControlKind::Check:
                room -= GetSystemMetrics(SM_CXMENUCHECK) + 2;
                break;
            case vt::ControlKind::Group:
                room -= 16;
                break;
            case vt::ControlKind::Button:
            case vt::ControlKind::DefaultButton:
                room -= 4;
                break;
            default:
                break;
        }
        if (size.cx > room || size.cy > rect.bottom - rect.top) {
            std::printf("caption of control %d (%s) needs %ldx%ld, has %dx%ld\n", row.id,
                        vt::Narrow(text).c_str(), size.cx, size.cy, room, rect.bottom - rect.top);
            ++failures;
        }
    }
    std::printf("%d layout failures\n", failures);
    return failures == 0 ? 0 : 1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: driver wait-main MS | tray MOUSE_MSG | command ID |\n"
                 "              dialog-text TITLE MS | dialog-ok TITLE | count-dialogs TITLE |\n"
                 "              tray-delete | taskbar-created | window-visible TITLE | "
                 "close-window TITLE\n"
                 "       driver menu NAME | control-text TITLE ID | set-text TITLE ID TEXT |\n"
                 "              type TITLE ID TEXT | click TITLE ID | enabled TITLE ID |\n"
                 "              checked TITLE ID | combo TITLE ID | select TITLE ID INDEX |\n"
                 "              page TITLE INDEX | key TITLE VK | focused-id TITLE |\n"
                 "              mouse-click TITLE ID | visible-dialog TITLE |\n"
                 "              check-layout TITLE prefs|about | window-rect TITLE | screen |\n"
                 "              main-windows | balloon-visible | balloon-text\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const std::wstring verb = argv[1];
    if (verb == L"wait-main" && argc == 3) {
        return WaitFor(kMainClass, nullptr, _wtoi(argv[2])) ? 0 : 1;
    }
    if (verb == L"main-windows" && argc == 2) {
        int count = 0;
        for (HWND h = FindWindowExW(nullptr, nullptr, kMainClass, nullptr); h;
             h = FindWindowExW(nullptr, h, kMainClass, nullptr)) {
            ++count;
        }
        std::wprintf(L"%d\n", count);
        return 0;
    }
    if (verb == L"balloon-visible" && argc == 2) return VisibleBalloon() ? 0 : 1;
    if (verb == L"balloon-text" && argc == 2) {
        const HWND balloon = VisibleBalloon();
        return balloon && PrintBalloon(balloon) ? 0 : 1;
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
    if (verb == L"visible-dialog" && argc == 3) return VisibleDialog(argv[2]) ? 0 : 1;
    if (verb == L"window-visible" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        return window && IsWindowVisible(window) ? 0 : 1;
    }
    if (verb == L"close-window" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (verb == L"dialog-text" && argc == 4) {
        HWND dialog = WaitForVisibleDialog(argv[2], _wtoi(argv[3]));
        if (!dialog) return 1;
        EnumChildWindows(dialog, PrintStatic, 0);
        return 0;
    }
    if (verb == L"dialog-ok" && argc == 3) {
        HWND dialog = VisibleDialog(argv[2]);
        if (!dialog) return 1;
        HWND ok = GetDlgItem(dialog, IDOK);
        if (!ok) ok = GetDlgItem(dialog, IDCANCEL);
        if (!ok) return 1;
        SendMessageW(ok, BM_CLICK, 0, 0);
        return 0;
    }
    if (verb == L"menu" && argc == 3) {
        const vt::MenuEntry* entry = vt::MenuEntryByName(vt::Narrow(argv[2]));
        HWND main = FindWindowW(kMainClass, nullptr);
        return entry && main && PostMessageW(main, WM_COMMAND, entry->command, 0) ? 0 : 1;
    }
    if (verb == L"screen" && argc == 2) {
        // Wine keeps a work area per process, and the program's never leaves out the taskbar:
        // the tests hold its windows to the screen.
        std::printf("0 0 %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return 0;
    }
    if (verb == L"window-rect" && argc == 3) {
        HWND dialog = DialogOrNull(argv[2]);
        RECT rect;
        if (!dialog || !GetWindowRect(dialog, &rect)) return 1;
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        return 0;
    }
    if (verb == L"check-layout" && argc == 4) {
        HWND dialog = DialogOrNull(argv[2]);
        if (!dialog) return 1;
        return std::wstring(argv[3]) == L"about" ? CheckLayout(dialog, vt::kAboutControls)
                                                 : CheckLayout(dialog, vt::kPreferencesControls);
    }
    if (verb == L"focused-id" && argc == 3) {
        HWND dialog = DialogOrNull(argv[2]);
        if (!dialog) return 1;
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return 1;
        HWND focus = info.hwndFocus;
        // The edit field of a combo box stands for the box.
        wchar_t cls[64];
        GetClassNameW(GetParent(focus), cls, 64);
        if (lstrcmpiW(cls, L"ComboBox") == 0) focus = GetParent(focus);
        std::printf("%d\n", GetDlgCtrlID(focus));
        return 0;
    }
    if (verb == L"key" && argc == 4) {
        // To the focused control, through the program's own message loop.
        HWND dialog = DialogOrNull(argv[2]);
        if (!dialog) return 1;
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return 1;
        HWND target = info.hwndFocus ? info.hwndFocus : dialog;
        const auto vk = static_cast<WPARAM>(std::wcstoul(argv[3], nullptr, 0));
        return PostMessageW(target, WM_KEYDOWN, vk, 1) &&
                       PostMessageW(target, WM_KEYUP, vk, 0xC0000001)
                   ? 0
                   : 1;
    }
    if (argc >= 4 && DialogOrNull(argv[2])) {
        HWND dialog = DialogOrNull(argv[2]);
        HWND control = ControlOf(dialog, _wtoi(argv[3]));
        if (!control && _wtoi(argv[3]) != 0) return 1;
        if (verb == L"page" && argc == 4) {
            HWND tabs = ControlOf(dialog, IDC_PAGES);
            if (!tabs) return 1;
            SendMessageW(tabs, TCM_SETCURFOCUS, _wtoi(argv[3]), 0);
            return 0;
        }
        if (verb == L"control-text" && argc == 4) {
            std::printf("%s\n", vt::Narrow(WideText(control)).c_str());
            return 0;
        }
        if (verb == L"set-text" && argc == 5) {
            SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
            return 0;
        }
        if (verb == L"type" && argc == 5) {
            // Characters as the keyboard would send them, to the edit field of a combo box.
            HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr);
            if (!edit) edit = control;
            SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
            for (const wchar_t* c = argv[4]; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
            return 0;
        }
        if (verb == L"click" && argc == 4) {
            // Posted: the click may open a message box that waits for the user.
            return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
        }
        if (verb == L"mouse-click" && argc == 4) {
            // A press and release in the middle of the control, as the mouse would send them.
            RECT rect;
            GetClientRect(control, &rect);
            const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
            return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at) &&
                           PostMessageW(control, WM_LBUTTONUP, 0, at)
                       ? 0
                       : 1;
        }
        if (verb == L"enabled" && argc == 4) return IsWindowEnabled(control) ? 0 : 1;
        if (verb == L"checked" && argc == 4) {
            return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
        }
        if (verb == L"combo" && argc == 4) {
            // count, selected index, text (entries are not listed: each is a round trip)
            const auto count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
            const auto selected = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
            std::printf("%d\n%d\n%s\n", count, selected, vt::Narrow(WideText(control)).c_str());
            return 0;
        }
        if (verb == L"select" && argc == 5) {
            // As the user's choice in the list: the selection, then the box's notification.
            SendMessageW(control, CB_SETCURSEL, _wtoi(argv[4]), 0);
            const int id = GetDlgCtrlID(control);
            SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(control));
            PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(control));
            return 0;
        }
    }
    if (verb == L"count-dialogs" && argc == 3) {
        int count = 0;
        for (HWND h = FindWindowW(L"#32770", argv[2]); h;
             h = FindWindowExW(nullptr, h, L"#32770", argv[2])) {
            if (IsWindowVisible(h)) ++count;
        }
        std::printf("%d\n", count);
        return 0;
    }
    return Usage();
}
