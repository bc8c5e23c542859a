#include "win32/main_window.h"

#include <shellapi.h>

#include <string>
#include <thread>

#include "app/errors.h"
#include "download/jobs.h"
#include "win32/menu_icons.h"
#include "win32/wide.h"
#include "win32/wininet_client.h"

namespace vt {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kAddRetryTimer = 2;
constexpr UINT kAddRetryInterval = 3000;
constexpr UINT_PTR kJobWatchTimer = 3;
constexpr UINT kJobWatchInterval = 1000;
constexpr UINT kMsgJobDone = WM_APP + 2;
constexpr UINT kTimer1Interval = 60000;
constexpr UINT kMsgShowError = WM_APP + 1;
constexpr UINT kFirstCommand = 100;

UINT CommandOf(MenuItem item) {
    return kFirstCommand + static_cast<UINT>(item);
}

// The pictures of the menu list, by item.
int MenuPicture(MenuItem item) {
    switch (item) {
        case MenuItem::News:
            return 0;
        case MenuItem::ICQ:
            return 11;
        case MenuItem::Map:
            return 2;
        case MenuItem::Avia:
            return 12;
        case MenuItem::Auto:
            return 3;
        case MenuItem::Month:
            return 4;
        case MenuItem::Tourism:
            return 5;
        case MenuItem::Frc:
            return 6;
        case MenuItem::Update:
            return 7;
        case MenuItem::Install:
            return 8;
        case MenuItem::AboutTray:
            return 9;
        case MenuItem::ExitTray:
            return 10;
    }
    return 0;
}

}  // namespace

void ShowErrorBox(HWND owner, const std::string& text) {
    std::string message = text;
    if (!message.empty() && message.back() != '.') message += '.';
    MessageBoxW(owner, Wide(message).c_str(), L"Vantorel.Tray", MB_OK | MB_ICONSTOP);
}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kMainWindowClass;
    RegisterClassExW(&wc);

    std::unique_ptr<MainWindow> window(new MainWindow());
    // A top-level window (so that it hears the shell's broadcasts) that is never shown; the
    // tool-window style keeps it off the taskbar.
    window->hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, L"Vantorel.Tray", WS_POPUP,
                                    0, 0, 0, 0, nullptr, nullptr, instance, window.get());
    if (!window->hwnd_) return nullptr;
    ShowWindow(window->hwnd_, SW_HIDE);
    window->BuildMenu();

    window->taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    window->tray_.emplace(window->hwnd_);
    window->profile_.emplace(SettingsFilePath(window->system_.ProgramFolder()));
    window->form_.emplace(MainPorts{*window->profile_, window->files_, window->clock_,
                                    window->random_, window->system_, window->dayNames_,
                                    *window->tray_, *window, *window, *window});
    try {
        window->form_->FormCreate();
    } catch (const std::exception& e) {
        ShowErrorBox(window->hwnd_, e.what());
    }
    MainWindow* self = window.get();
    self->preferences_.emplace(instance, L"Vantorel.Tray: Настройка", 398, 504,
                               [self] { self->form_->PreferencesClosed(); });
    self->about_.emplace(instance, L"Vantorel.Tray", 299, 213,
                         [self] { self->form_->AboutClosed(); });
    return window;
}

MainWindow::~MainWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void MainWindow::BuildMenu() {
    menu_.Reset(CreatePopupMenu());
    auto add = [&](MenuItem item) {
        AppendMenuW(menu_.Get(), MF_STRING, CommandOf(item), L"");
        if (UniqueGdiObject bitmap = LoadMenuBitmap(MenuPicture(item))) {
            MENUITEMINFOW info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_BITMAP;
            info.hbmpItem = static_cast<HBITMAP>(bitmap.Get());
            SetMenuItemInfoW(menu_.Get(), CommandOf(item), FALSE, &info);
            menuBitmaps_.push_back(std::move(bitmap));
        }
    };
    auto separator = [&] { AppendMenuW(menu_.Get(), MF_SEPARATOR, 0, nullptr); };
    add(MenuItem::News);
    add(MenuItem::ICQ);
    add(MenuItem::Map);
    add(MenuItem::Avia);
    add(MenuItem::Auto);
    add(MenuItem::Month);
    add(MenuItem::Tourism);
    separator();
    add(MenuItem::Frc);
    add(MenuItem::Update);
    separator();
    add(MenuItem::Install);
    add(MenuItem::AboutTray);
    separator();
    add(MenuItem::ExitTray);
}

void MainWindow::SetTimer1(bool on) {
    if (on == timerOn_) return;  // switching on a running timer must not restart its minute
    if (on) {
        SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
    } else {
        KillTimer(hwnd_, kTimer1);
    }
    timerOn_ = on;
}

void MainWindow::SetMenuCaption(MenuItem item, const std::string& caption) {
    const std::wstring text = Wide(caption);
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(menu_.Get(), CommandOf(item), FALSE, &info);
}

void MainWindow::EnableMenuItem(MenuItem item, bool enabled) {
    ::EnableMenuItem(menu_.Get(), CommandOf(item),
                     MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainWindow::ReportError(const std::string& text) {
    // Shown from the message loop, so that the caller's work goes on meanwhile.
    pendingErrors_.push_back(text);
    PostMessageW(hwnd_, kMsgShowError, 0, 0);
}

void MainWindow::CloseMainForm() {
    PostQuitMessage(0);
}

void MainWindow::Launch(std::uint64_t token, const JobInput& input) {
    // The worker owns copies of everything it touches, so neither a given-up job nor the exit
    // (which does not wait for it) leaves it with freed state.
    std::thread([hwnd = hwnd_, token, input] {
        WinInternet internet;
        WinFiles files;
        SystemClock clock;
        JobOutcome outcome = RunJob(input, JobPorts{internet, files, clock});
        // Like a synchronised call: the UI thread runs the completion while the worker waits.
        SendMessageW(hwnd, kMsgJobDone, static_cast<WPARAM>(token),
                     reinterpret_cast<LPARAM>(&outcome));
    }).detach();
}

void MainWindow::WatchDeadlines(bool on) {
    if (on) {
        SetTimer(hwnd_, kJobWatchTimer, kJobWatchInterval, nullptr);
    } else {
        KillTimer(hwnd_, kJobWatchTimer);
    }
}

void MainWindow::OpenLink(const std::string& verb, const std::string& address, ShowCommand show) {
    ShellExecuteW(hwnd_, Wide(verb).c_str(), Wide(address).c_str(), nullptr, nullptr,
                  show == ShowCommand::Restore ? SW_RESTORE : SW_SHOWNORMAL);
}

void MainWindow::ShowPreferences() {
    preferences_->Show();
}

void MainWindow::ShowAbout() {
    about_->Show();
}

void MainWindow::SetAddRetryTimer(bool on) {
    if (on) {
        SetTimer(hwnd_, kAddRetryTimer, kAddRetryInterval, nullptr);
    } else {
        KillTimer(hwnd_, kAddRetryTimer);
    }
}

void MainWindow::PopupMenuAtCursor() {
    POINT cursor;
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd_);
    const UINT command = TrackPopupMenu(menu_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x,
                                        cursor.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (command) OnCommand(command);
}

void MainWindow::OnCommand(UINT id) {
    if (id < kFirstCommand || id > CommandOf(MenuItem::ExitTray)) return;
    form_->MenuClick(static_cast<MenuItem>(id - kFirstCommand));
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->form_) return DefWindowProcW(hwnd, message, wParam, lParam);
    // Nothing escapes a window procedure: an error of a handler ends that handler and is shown.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& e) {
        ShowErrorBox(hwnd, e.what());
    } catch (...) {
        ShowErrorBox(hwnd, "Внутренняя ошибка программы");
    }
    return 0;
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        form_->ShellRestarted();
        return 0;
    }
    switch (message) {
        case kWmTrayIcon:
            form_->TrayCallback(static_cast<std::uint32_t>(lParam));
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1) form_->Timer1Timer();
            if (wParam == kAddRetryTimer) form_->RetryAddIcon();
            if (wParam == kJobWatchTimer) form_->CheckJobDeadlines();
            return 0;
        case kMsgJobDone:
            form_->WorkerFinished(static_cast<JobToken>(wParam),
                                  *reinterpret_cast<const JobOutcome*>(lParam));
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case kMsgShowError: {
            if (pendingErrors_.empty()) return 0;
            const std::string text = std::move(pendingErrors_.front());
            pendingErrors_.pop_front();
            ShowErrorBox(nullptr, text);
            return 0;
        }
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace vt
