// The floors the product's start-up and memory are measured against: the work the product must
// do for a figure and no more, built with the product's flags and manifest. One source, three
// executables:
//   FLOOR_LEVEL 1  a hidden window that reads the settings file and the stored forecast and adds
//                  one icon showing it (the start -> forecast icon figure)
//   FLOOR_LEVEL 2  the same plus two dialogs built from templates with the product's control
//                  counts (start -> ready, memory after 10 s, idle); the first opens on the
//                  product's «Настроить» command with the town list filled, and completes a
//                  typed town name (the dialog bench)
//   FLOOR_LEVEL 3  the same plus one WinINet download of the forecast through the counter's
//                  redirect with the product's own WinINet port (memory after the first download)
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "floor_tray_ids.h"
#include "win32/wide.h"
#include "win32/win_files.h"
#if FLOOR_LEVEL >= 3
#include "download/fetch_url.h"
#include "download/jobs.h"
#include "win32/wininet_client.h"
#endif

namespace {

constexpr UINT kIconId = 1;  // the product's icon id, so the probe finds both the same way
constexpr UINT kMsgTray = WM_APP + 10;
constexpr UINT kMsgDownloaded = WM_APP + 11;
constexpr UINT kSettingsCommand = 109;  // the product's «Настроить»

HINSTANCE instance;
HWND mainWindow;
std::wstring folder;
std::wstring townIndex;
NOTIFYICONDATAW icon = {};

std::wstring Setting(const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, L"", value, ARRAYSIZE(value),
                             (folder + L"vantoreltray.ini").c_str());
    return value;
}

// Every key of every section, as the product reads its whole settings.
void ReadSettings() {
    const std::wstring path = folder + L"vantoreltray.ini";
    std::vector<wchar_t> names(4096), section(32768);
    GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const wchar_t* name = names.data(); *name; name += wcslen(name) + 1) {
        GetPrivateProfileSectionW(name, section.data(), static_cast<DWORD>(section.size()),
                                  path.c_str());
    }
    townIndex = Setting(L"frc", L"frcTownIndex");
}

// The product's own reading of a whole file, as it reads the stored forecast and the town list.
std::string ReadWholeFile(const std::wstring& path) {
    return vt::WinFiles().ReadAll(vt::Narrow(path)).value_or("");
}

// The icon's tooltip carries the stored forecast's first line: the file is read and used.
void ShowForecast(DWORD message) {
    const std::string forecast = ReadWholeFile(folder + townIndex + L".txt");
    const std::string firstLine = forecast.substr(0, forecast.find('\r'));
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    MultiByteToWideChar(1251, 0, firstLine.c_str(), -1, icon.szTip, ARRAYSIZE(icon.szTip) - 1);
    Shell_NotifyIconW(message, &icon);
}

#if FLOOR_LEVEL >= 2
HWND settingsDialog;
HWND aboutDialog;

HWND TownBox() {
    return GetDlgItem(GetDlgItem(settingsDialog, IDC_FLOOR_PAGE1), IDC_FLOOR_TOWN);
}

// The list file as the product keeps it: CR LF lines "index;town;region;country;" in 1251.
void FillTownBox() {
    HWND box = TownBox();
    const std::string list = ReadWholeFile(folder + L"vlbartlistfull.txt");
    std::vector<std::wstring> names;
    for (std::size_t start = 0; start < list.size();) {
        std::size_t end = list.find('\n', start);
        if (end == std::string::npos) end = list.size();
        const std::size_t first = list.find(';', start);
        if (first < end) {
            const std::size_t second = list.find(';', first + 1);
            const std::string name = list.substr(first + 1, std::min(second, end) - first - 1);
            std::wstring wide(name.size(), L'\0');
            wide.resize(MultiByteToWideChar(1251, 0, name.data(), static_cast<int>(name.size()),
                                            wide.data(), static_cast<int>(wide.size())));
            names.push_back(std::move(wide));
        }
        start = end + 1;
    }
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    SendMessageW(box, CB_INITSTORAGE, names.size(), list.size() * sizeof(wchar_t));
    for (const std::wstring& name : names) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    const std::wstring town = Setting(L"frc", L"frcTownName");
    SendMessageW(box, CB_SETCURSEL,
                 SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(town.c_str())),
                 0);
}

void ShowSettings() {
    FillTownBox();
    ShowWindow(settingsDialog, SW_SHOW);
    SetForegroundWindow(settingsDialog);
    SendMessageW(settingsDialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(TownBox()), TRUE);
}

void HideSettings() {
    ShowWindow(settingsDialog, SW_HIDE);
    SendMessageW(TownBox(), CB_RESETCONTENT, 0, 0);
}

// A typed character completes the town name from the list, as the product's box does.
LRESULT CALLBACK TownEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    if (msg == WM_CHAR && wParam >= L' ') {
        HWND box = TownBox();
        wchar_t typed[256] = {};
        const int length = GetWindowTextW(box, typed, ARRAYSIZE(typed));
        const LRESULT found = SendMessageW(box, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(typed));
        if (found != CB_ERR) {
            SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
            SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(length, -1));
        }
    }
    return result;
}

// No focus is given at creation: a hidden dialog with a focused box would blink its caret,
// which the product's hidden dialogs do not.
INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_CLOSE || (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        if (dialog == settingsDialog) {
            HideSettings();
        } else {
            ShowWindow(dialog, SW_HIDE);
        }
        return TRUE;
    }
    return FALSE;
}

bool CreateDialogs() {
    settingsDialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_FLOOR_SETTINGS), mainWindow,
                                        DialogProc, 0);
    aboutDialog =
        CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_FLOOR_ABOUT), mainWindow, DialogProc, 0);
    if (!settingsDialog || !aboutDialog) return false;
    const struct {
        int id, resource;
    } pages[] = {{IDC_FLOOR_PAGE1, IDD_FLOOR_PAGE1}, {IDC_FLOOR_PAGE2, IDD_FLOOR_PAGE2}};
    for (const auto& page : pages) {
        HWND hwnd = CreateDialogParamW(instance, MAKEINTRESOURCEW(page.resource), settingsDialog,
                                       PageProc, 0);
        if (!hwnd) return false;
        SetWindowLongPtrW(hwnd, GWLP_ID, page.id);
    }
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(TownBox(), &info) && info.hwndItem) {
        SetWindowSubclass(info.hwndItem, TownEditProc, 1, 0);
    }
    return true;
}
#endif

#if FLOOR_LEVEL >= 3
// The product's own pieces for the download: its address, its WinINet port with its flags and
// time-outs, the counter's one redirect followed, and its way of replacing the stored file.
DWORD WINAPI Download(LPVOID) {
    std::string url =
        vt::ForecastUrl(vt::Narrow(Setting(L"service", L"counterHost")),
                        vt::Narrow(Setting(L"service", L"dataHost")), vt::Narrow(townIndex));
    vt::WinInternet internet;
    std::string body;
    if (auto session = internet.Open(vt::kUserAgent, vt::AccessType::Preconfig, "")) {
        for (int hop = 0; hop < 2; ++hop) {
            auto request = session->OpenUrl(url, "", vt::kOpenUrlFlags, nullptr);
            if (!request) break;
            const std::optional<std::string> location = request->Location();
            body.clear();  // the redirect's own page is not the forecast
            char buffer[4096];
            vt::ReadResult read = request->Read(buffer, sizeof buffer);
            for (; read.ok && read.bytes > 0; read = request->Read(buffer, sizeof buffer)) {
                body.append(buffer, read.bytes);
            }
            if (!location) break;
            url = *location;
        }
    }
    vt::WinFiles().Replace(vt::Narrow(folder + townIndex + L".txt"), body);
    PostMessageW(mainWindow, kMsgDownloaded, 0, 0);
    return 0;
}
#endif

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
#if FLOOR_LEVEL >= 2
        case WM_COMMAND:
            if (LOWORD(wParam) == kSettingsCommand) ShowSettings();
            return 0;
#endif
#if FLOOR_LEVEL >= 3
        case kMsgDownloaded:
            ShowForecast(NIM_MODIFY);
            return 0;
#endif
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE thisInstance, HINSTANCE, PWSTR, int) {
    instance = thisInstance;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    folder = module;
    folder.erase(folder.find_last_of(L'\\') + 1);
    ReadSettings();

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"VantorelFloorTray";
    RegisterClassExW(&wc);
    mainWindow = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Floor tray", WS_POPUP, 0, 0,
                                 0, 0, nullptr, nullptr, instance, nullptr);
    if (!mainWindow) return 1;

    icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    icon.hWnd = mainWindow;
    icon.uID = kIconId;
    icon.uCallbackMessage = kMsgTray;
    icon.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    ShowForecast(NIM_ADD);
#if FLOOR_LEVEL >= 2
    if (!CreateDialogs()) return 1;
#endif
#if FLOOR_LEVEL >= 3
    CloseHandle(CreateThread(nullptr, 0, Download, nullptr, 0, nullptr));
#endif
    // The product checks its schedule once a minute; the floor keeps the same one wake-up.
    SetTimer(mainWindow, 1, 60000, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
#if FLOOR_LEVEL >= 2
        if (IsDialogMessageW(settingsDialog, &msg) || IsDialogMessageW(aboutDialog, &msg)) continue;
#endif
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
