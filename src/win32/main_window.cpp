#include "win32/main_window.h"

#include <string>

#include "app/errors.h"
#include "win32/wide.h"

namespace vt {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 60000;
constexpr UINT kMsgShowError = WM_APP + 1;
constexpr UINT kFirstCommand = 100;

UINT CommandOf(MenuItem item) { return kFirstCommand + static_cast<UINT>(item); }

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
    window->hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, L"Vantorel.Tray",
                                    WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                    window.get());
    if (!window->hwnd_) return nullptr;
    ShowWindow(window->hwnd_, SW_HIDE);
    window->BuildMenu();

    window->tray_.emplace(window->hwnd_);
    window->profile_.emplace(SettingsFilePath(window->system_.ProgramFolder()));
    window->form_.emplace(MainPorts{*window->profile_, window->files_, window->clock_,
                                    window->random_, window->system_, window->dayNames_,
                                    *window->tray_, *window, *window});
    try {
        window->form_->FormCreate();
    } catch (const std::exception& e) {
        ShowErrorBox(window->hwnd_, e.what());
    }
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
    ::EnableMenuItem(menu_.Get(), CommandOf(item), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainWindow::ReportError(const std::string& text) {
    // Shown from the message loop, so that the caller's work goes on meanwhile.
    PostMessageW(hwnd_, kMsgShowError, 0, reinterpret_cast<LPARAM>(new std::string(text)));
}

void MainWindow::CloseMainForm() { PostQuitMessage(0); }

void MainWindow::StartJob(int) {}

void MainWindow::ShowPopupMenu() {
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
    if (id == CommandOf(MenuItem::ExitTray)) form_->ExitTrayClick();
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
    switch (message) {
        case kWmTrayIcon:
            if (lParam == WM_RBUTTONDOWN) ShowPopupMenu();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case kMsgShowError: {
            std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(lParam));
            ShowErrorBox(nullptr, *text);
            return 0;
        }
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace vt
