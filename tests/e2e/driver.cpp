// Plays the shell and the user for the end-to-end tests: finds the program's windows, posts the
// tray callback message and menu commands, reads and presses dialogs. Menu commands, controls,
// mouse messages and keys go by name. Prints UTF-8; exit 0 on success, 1 on failure, 2 on a
// wrong command line.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "driver_layout.h"
#include "driver_windows.h"
#include "win32/dpi.h"
#include "win32/main_window_ids.h"
#include "win32/menu_table.h"
#include "win32/wide.h"

namespace {

using e2e::Dialog;

struct Named {
    const wchar_t* name;
    UINT value;
};

// What the shell posts for the tray icon, and the keys the tests press.
constexpr Named kMouseMessages[] = {
    {L"WM_LBUTTONDOWN", WM_LBUTTONDOWN},
    {L"WM_LBUTTONDBLCLK", WM_LBUTTONDBLCLK},
    {L"WM_RBUTTONDOWN", WM_RBUTTONDOWN},
};
constexpr Named kKeys[] = {{L"Tab", VK_TAB},
                           {L"Esc", VK_ESCAPE},
                           {L"Enter", VK_RETURN},
                           {L"Up", VK_UP},
                           {L"Down", VK_DOWN}};

bool Lookup(std::span<const Named> table, const std::wstring& name, UINT& value) {
    for (const Named& row : table) {
        if (name == row.name) {
            value = row.value;
            return true;
        }
    }
    std::fprintf(stderr, "driver: unknown name %s\n", vt::Narrow(name).c_str());
    return false;
}

int Result(bool ok) {
    return ok ? 0 : 1;
}

struct Args {
    std::vector<std::wstring> words;  // after the verb
    const std::wstring& operator[](std::size_t i) const { return words[i]; }
    int Number(std::size_t i) const { return _wtoi(words[i].c_str()); }
};

// The first word names one of the program's dialogs; the second, where the verb takes a
// control, names a control of that dialog's table.
struct Target {
    Dialog dialog;
    HWND control = nullptr;
};

int TrayMessage(const Args& a) {
    UINT message = 0;
    HWND main = e2e::MainWindow();
    return Result(Lookup(kMouseMessages, a[0], message) && main &&
                  PostMessageW(main, vt::kTrayCallbackMessage, vt::kTrayIconId, message));
}

int Menu(const Args& a) {
    const vt::MenuEntry* entry = vt::MenuEntryByName(vt::Narrow(a[0]));
    if (!entry) std::fprintf(stderr, "driver: no menu item %s\n", vt::Narrow(a[0]).c_str());
    HWND main = e2e::MainWindow();
    return Result(entry && main && PostMessageW(main, WM_COMMAND, entry->command, 0));
}

int Ping(const Args& a) {
    // Answers only while the UI thread handles its messages.
    HWND main = e2e::MainWindow();
    DWORD_PTR result = 0;
    return Result(main && SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                              static_cast<UINT>(a.Number(0)), &result));
}

int LoadedModules(const Args&) {
    // The file names of the modules the program's process has loaded, one a line.
    DWORD pid = 0;
    GetWindowThreadProcessId(e2e::MainWindow(), &pid);
    HANDLE process =
        pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
    if (!process) return 1;
    HMODULE modules[512];
    DWORD bytes = 0;
    const bool listed = EnumProcessModules(process, modules, sizeof modules, &bytes);
    for (DWORD i = 0; listed && i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t name[MAX_PATH];
        if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH)) {
            std::printf("%s\n", vt::Narrow(name).c_str());
        }
    }
    CloseHandle(process);
    return Result(listed);
}

int TrayDelete(const Args&) {
    // What a crashing shell does to every icon.
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = e2e::MainWindow();
    nid.uID = vt::kTrayIconId;
    return Result(nid.hWnd && Shell_NotifyIconW(NIM_DELETE, &nid));
}

int TaskbarCreated(const Args&) {
    HWND main = e2e::MainWindow();
    return Result(main && PostMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));
}

// A named callback: a lambda does not convert to the stdcall WNDENUMPROC of 32-bit Windows.
BOOL CALLBACK PrintStaticText(HWND child, LPARAM) {
    wchar_t cls[64];
    GetClassNameW(child, cls, 64);
    const std::string text = vt::Narrow(e2e::TextOf(child));
    if (lstrcmpiW(cls, L"Static") == 0 && !text.empty()) std::printf("%s\n", text.c_str());
    return TRUE;
}

int DialogText(const Args& a) {
    HWND dialog = e2e::WaitForVisibleDialog(a[0].c_str(), a.Number(1));
    if (!dialog) return 1;
    EnumChildWindows(dialog, PrintStaticText, 0);
    return 0;
}

int DialogOk(const Args& a) {
    HWND dialog = e2e::VisibleDialog(a[0].c_str());
    HWND ok = dialog ? GetDlgItem(dialog, IDOK) : nullptr;
    if (dialog && !ok) ok = GetDlgItem(dialog, IDCANCEL);
    return Result(ok && SendMessageW(ok, BM_CLICK, 0, 0) == 0);
}

int WindowRect(const Args& a) {
    const Dialog dialog = e2e::FindDialog(a[0].c_str());
    RECT r;
    if (!dialog || !GetWindowRect(dialog.hwnd, &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

int Focused(const Target& t, const Args&) {
    const vt::ControlSpec* row =
        e2e::SpecOf(t.dialog, GetDlgCtrlID(e2e::FocusedControl(t.dialog.hwnd)));
    std::printf("%s\n", row ? row->name : "?");
    return Result(row != nullptr);
}

int TabOrder(const Target& t, const Args&) {
    for (const std::string& name : e2e::TabOrder(t.dialog)) std::printf("%s\n", name.c_str());
    return 0;
}

int Key(const Target& t, const Args& a) {
    // To the focused control, through the program's own message loop.
    UINT vk = 0;
    if (!Lookup(kKeys, a[1], vk)) return 1;
    HWND focus = e2e::FocusedControl(t.dialog.hwnd);
    HWND target = focus ? focus : t.dialog.hwnd;
    return Result(PostMessageW(target, WM_KEYDOWN, vk, 1) &&
                  PostMessageW(target, WM_KEYUP, vk, 0xC0000001));
}

int Focus(const Target& t, const Args&) {
    // As a click or Tab would: the dialog moves its focus and its default button.
    SendMessageW(t.dialog.hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(t.control), TRUE);
    return Result(e2e::FocusedControl(t.dialog.hwnd) == t.control);
}

int Page(const Target& t, const Args& a) {
    const vt::ControlSpec* page = e2e::SpecNamed(t.dialog, a[1]);
    if (!page || page->kind != vt::ControlKind::Page) return 1;
    int index = 0;
    for (const vt::ControlSpec& row : t.dialog.table) {
        if (&row == page) break;
        if (row.kind == vt::ControlKind::Page) ++index;
    }
    SendMessageW(e2e::ControlOf(t.dialog.hwnd, page->parent), TCM_SETCURFOCUS, index, 0);
    return 0;
}

int ControlText(const Target& t, const Args&) {
    std::printf("%s\n", vt::Narrow(e2e::TextOf(t.control)).c_str());
    return 0;
}

int SetText(const Target& t, const Args& a) {
    SendMessageW(t.control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[2].c_str()));
    return 0;
}

int Type(const Target& t, const Args& a) {
    // Characters as the keyboard would send them, to the edit field of a combo box.
    HWND edit = FindWindowExW(t.control, nullptr, L"Edit", nullptr);
    if (!edit) edit = t.control;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (wchar_t c : a[2]) SendMessageW(edit, WM_CHAR, c, 1);
    return 0;
}

int Click(const Target& t, const Args&) {
    // Posted: the click may open a message box that waits for the user.
    return Result(PostMessageW(t.control, BM_CLICK, 0, 0));
}

int MouseClick(const Target& t, const Args&) {
    // A press and release in the middle of the control, as the mouse would send them.
    RECT rect;
    GetClientRect(t.control, &rect);
    const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
    return Result(PostMessageW(t.control, WM_LBUTTONDOWN, MK_LBUTTON, at) &&
                  PostMessageW(t.control, WM_LBUTTONUP, 0, at));
}

int Enabled(const Target& t, const Args&) {
    return Result(IsWindowEnabled(t.control));
}

int Checked(const Target& t, const Args&) {
    return Result(SendMessageW(t.control, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

int Combo(const Target& t, const Args&) {
    // count, selected index, text (entries are not listed: each is a round trip)
    const auto count = static_cast<int>(SendMessageW(t.control, CB_GETCOUNT, 0, 0));
    const auto selected = static_cast<int>(SendMessageW(t.control, CB_GETCURSEL, 0, 0));
    std::printf("%d\n%d\n%s\n", count, selected, vt::Narrow(e2e::TextOf(t.control)).c_str());
    return 0;
}

int Select(const Target& t, const Args& a) {
    // As the user's choice in the list: the selection, then the box's notifications.
    SendMessageW(t.control, CB_SETCURSEL, a.Number(2), 0);
    const int id = GetDlgCtrlID(t.control);
    HWND parent = GetParent(t.control);
    const auto from = reinterpret_cast<LPARAM>(t.control);
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), from);
    return Result(PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), from));
}

int CheckLayout(const Target& t, const Args&) {
    return Result(e2e::CheckLayout(t.dialog, vt::SystemDpi()));
}

int CheckLayoutAt(const Target& t, const Args& a) {
    return Result(e2e::CheckLayout(t.dialog, a.Number(1)));
}

int DpiChanged(const Target& t, const Args& a) {
    // What Windows sends when the scaling changes; the suggested rectangle is not passed.
    const WPARAM dpi = MAKEWPARAM(a.Number(1), a.Number(1));
    return Result(PostMessageW(t.dialog.hwnd, WM_DPICHANGED, dpi, 0));
}

// A verb of the window system at large, or of one dialog (and, with a control, of one control).
enum class Scope { Global, Dialog, Control };

struct Verb {
    const wchar_t* name;
    const char* args;  // for the usage text
    std::size_t count;
    Scope scope;
    int (*global)(const Args&) = nullptr;
    int (*local)(const Target&, const Args&) = nullptr;
};

const Verb kVerbs[] = {
    {L"wait-main", "MS", 1, Scope::Global,
     [](const Args& a) { return Result(e2e::WaitForMainWindow(a.Number(0))); }},
    {L"main-windows", "", 0, Scope::Global,
     [](const Args&) { return std::printf("%d\n", e2e::CountMainWindows()), 0; }},
    {L"ping", "MS", 1, Scope::Global, Ping},
    {L"main-dpi-changed", "DPI", 1, Scope::Global,
     [](const Args& a) {
         const WPARAM dpi = MAKEWPARAM(a.Number(0), a.Number(0));
         return Result(PostMessageW(e2e::MainWindow(), WM_DPICHANGED, dpi, 0));
     }},
    {L"icon-size", "", 0, Scope::Global,
     [](const Args&) {
         DWORD_PTR size = 0;
         const bool answered =
             SendMessageTimeoutW(e2e::MainWindow(), RegisterWindowMessageW(vt::kIconSizeQueryName),
                                 0, 0, SMTO_ABORTIFHUNG, 5000, &size);
         return answered ? std::printf("%u\n", static_cast<unsigned>(size)), 0 : 1;
     }},
    {L"tray", "WM_LBUTTONDOWN|WM_LBUTTONDBLCLK|WM_RBUTTONDOWN", 1, Scope::Global, TrayMessage},
    {L"menu", "ITEM", 1, Scope::Global, Menu},
    {L"tray-delete", "", 0, Scope::Global, TrayDelete},
    {L"loaded-modules", "", 0, Scope::Global, LoadedModules},
    {L"taskbar-created", "", 0, Scope::Global, TaskbarCreated},
    {L"balloon-visible", "", 0, Scope::Global,
     [](const Args&) { return Result(e2e::VisibleBalloon()); }},
    {L"popup-visible", "", 0, Scope::Global,
     [](const Args&) {
         for (HWND h = FindWindowW(L"#32768", nullptr); h;
              h = FindWindowExW(nullptr, h, L"#32768", nullptr)) {
             if (IsWindowVisible(h)) return 0;
         }
         return 1;
     }},
    {L"balloon-text", "", 0, Scope::Global,
     [](const Args&) {
         HWND balloon = e2e::VisibleBalloon();
         return Result(balloon && e2e::PrintBalloon(balloon));
     }},
    {L"screen", "", 0, Scope::Global,
     [](const Args&) {
         // Wine keeps a work area per process, and the program's never leaves out the
         // taskbar: the tests hold its windows to the screen.
         std::printf("0 0 %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
         return 0;
     }},
    {L"window-visible", "TITLE", 1, Scope::Global,
     [](const Args& a) {
         HWND window = FindWindowW(nullptr, a[0].c_str());
         return Result(window && IsWindowVisible(window));
     }},
    {L"close-window", "TITLE", 1, Scope::Global,
     [](const Args& a) {
         HWND window = FindWindowW(nullptr, a[0].c_str());
         return Result(window && PostMessageW(window, WM_CLOSE, 0, 0));
     }},
    {L"visible-dialog", "TITLE", 1, Scope::Global,
     [](const Args& a) { return Result(e2e::VisibleDialog(a[0].c_str())); }},
    {L"count-dialogs", "TITLE", 1, Scope::Global,
     [](const Args& a) { return std::printf("%d\n", e2e::CountVisibleDialogs(a[0].c_str())), 0; }},
    {L"dialog-text", "TITLE MS", 2, Scope::Global, DialogText},
    {L"dialog-ok", "TITLE", 1, Scope::Global, DialogOk},
    {L"window-rect", "TITLE", 1, Scope::Global, WindowRect},
    {L"check-layout", "TITLE", 1, Scope::Dialog, nullptr, CheckLayout},
    {L"check-layout-at", "TITLE DPI", 2, Scope::Dialog, nullptr, CheckLayoutAt},
    {L"dpi-changed", "TITLE DPI", 2, Scope::Dialog, nullptr, DpiChanged},
    {L"focused", "TITLE", 1, Scope::Dialog, nullptr, Focused},
    {L"tab-order", "TITLE", 1, Scope::Dialog, nullptr, TabOrder},
    {L"key", "TITLE Tab|Esc|Enter|Up|Down", 2, Scope::Dialog, nullptr, Key},
    {L"page", "TITLE PAGE", 2, Scope::Dialog, nullptr, Page},
    {L"control-text", "TITLE CONTROL", 2, Scope::Control, nullptr, ControlText},
    {L"set-text", "TITLE CONTROL TEXT", 3, Scope::Control, nullptr, SetText},
    {L"type", "TITLE CONTROL TEXT", 3, Scope::Control, nullptr, Type},
    {L"focus", "TITLE CONTROL", 2, Scope::Control, nullptr, Focus},
    {L"click", "TITLE CONTROL", 2, Scope::Control, nullptr, Click},
    {L"mouse-click", "TITLE CONTROL", 2, Scope::Control, nullptr, MouseClick},
    {L"enabled", "TITLE CONTROL", 2, Scope::Control, nullptr, Enabled},
    {L"checked", "TITLE CONTROL", 2, Scope::Control, nullptr, Checked},
    {L"combo", "TITLE CONTROL", 2, Scope::Control, nullptr, Combo},
    {L"select", "TITLE CONTROL INDEX", 3, Scope::Control, nullptr, Select},
};

int Usage() {
    std::fprintf(stderr, "usage: driver VERB ARGS..., one of\n");
    for (const Verb& v : kVerbs)
        std::fprintf(stderr, "  %s %s\n", vt::Narrow(v.name).c_str(), v.args);
    return 2;
}

int Run(const Verb& verb, const Args& args) {
    if (verb.scope == Scope::Global) return verb.global(args);
    Target target;
    target.dialog = e2e::FindDialog(args[0].c_str());
    if (!target.dialog) return 1;
    if (verb.scope == Scope::Control) {
        const vt::ControlSpec* row = e2e::SpecNamed(target.dialog, args[1]);
        if (!row) {
            std::fprintf(stderr, "driver: %s has no control %s\n", vt::Narrow(args[0]).c_str(),
                         vt::Narrow(args[1]).c_str());
            return 2;
        }
        target.control = e2e::ControlOf(target.dialog.hwnd, row->id);
        if (!target.control) return 1;
    }
    return verb.local(target, args);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    Args args;
    args.words.assign(argv + 2, argv + argc);
    for (const Verb& verb : kVerbs) {
        if (verb.name == std::wstring(argv[1]) && verb.count == args.words.size()) {
            return Run(verb, args);
        }
    }
    return Usage();
}
