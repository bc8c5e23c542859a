#include "win32/main_window.h"

#include <shellapi.h>

#include <string>

#include "download/jobs.h"
#include "win32/data_folder.h"
#include "win32/dpi.h"
#include "win32/error_boundary.h"
#include "win32/menu_icons.h"
#include "win32/menu_table.h"
#include "win32/wide.h"

namespace vt {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 60000;
constexpr UINT_PTR kAddRetryTimer = 2;
constexpr UINT kAddRetryInterval = 3000;
constexpr UINT kMsgShowError = WM_APP + 1;

// The program cannot go on without its windows: says so with the system's reason.
std::unique_ptr<MainWindow> WindowsFailed(HWND owner) {
    const DWORD error = GetLastError();
    ShowErrorBox(owner, "Не удалось создать окна программы (код ошибки " + std::to_string(error) +
                            "). Программа будет закрыта.");
    return nullptr;
}

UINT CommandOf(MenuItem item) {
    const MenuEntry* entry = MenuEntryOf(item);
    return entry ? entry->command : 0;
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance, const SingleInstance& holder) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_EMBLEM));
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return WindowsFailed(nullptr);
    }

    std::unique_ptr<MainWindow> window(new MainWindow());
    // A top-level window (so that it hears the shell's broadcasts) that is never shown; the
    // tool-window style keeps it off the taskbar.
    window->hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, L"Vantorel.Tray", WS_POPUP,
                                    0, 0, 0, 0, nullptr, nullptr, instance, window.get());
    if (!window->hwnd_) return WindowsFailed(nullptr);
    ShowWindow(window->hwnd_, SW_HIDE);
    window->BuildMenu();

    MainWindow& w = *window;
    w.taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    w.iconSizeQuery_ = RegisterWindowMessageW(kIconSizeQueryName);
    w.holder_ = &holder;
    w.tray_.emplace(w.hwnd_);
    w.jobs_.emplace(w.hwnd_);
    w.profile_.emplace(SettingsFilePath(w.system_.DataFolder()));
    w.preferences_.emplace(instance, w.hwnd_);
    w.about_.emplace(instance, w.hwnd_);
    w.program_.emplace(ProgramPorts{MainPorts{*w.profile_, w.files_, w.clock_, w.random_, w.system_,
                                              w.dayNames_, *w.tray_, w, *w.jobs_, w},
                                    *w.preferences_, *w.about_, w.registry_});
    Guarded(w.hwnd_, 0, [&] {
        w.program_->main.FormCreate();
        const DataFolder& folder = TheDataFolder();
        if (folder.madeNow) w.program_->main.ShowNotice(kDataFolderNotice + folder.path);
        return LRESULT{0};
    });
    // The dialogs are created after the icon is in the tray, hidden until the menu shows them.
    // Without them the menu could open nothing: the program ends with a message instead.
    if (!w.preferences_->Create(w.program_->preferences) || !w.about_->Create(w.program_->about)) {
        return WindowsFailed(w.hwnd_);
    }
    Guarded(w.hwnd_, 0, [&] {
        w.program_->CreateDialogs();
        return LRESULT{0};
    });
    return window;
}

MainWindow::~MainWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool MainWindow::PreTranslate(MSG& msg) {
    return (preferences_ && preferences_->PreTranslate(msg)) ||
           (about_ && about_->PreTranslate(msg));
}

void MainWindow::BuildMenu() {
    menu_.Reset(CreatePopupMenu());
    for (const MenuEntry& entry : kMenuTable) {
        AppendMenuW(menu_.Get(), MF_STRING, entry.command, L"");
        if (entry.separatorAfter) AppendMenuW(menu_.Get(), MF_SEPARATOR, 0, nullptr);
    }
}

// Decoding the thirteen pictures takes longer than the rest of the way to the tray icon, so
// they wait until the menu is first shown.
void MainWindow::AddMenuPictures() {
    if (menuPicturesAdded_) return;
    menuPicturesAdded_ = true;
    for (const MenuEntry& entry : kMenuTable) {
        if (UniqueGdiObject bitmap = LoadMenuBitmap(entry.picture)) {
            MENUITEMINFOW info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_BITMAP;
            info.hbmpItem = static_cast<HBITMAP>(bitmap.Get());
            SetMenuItemInfoW(menu_.Get(), entry.command, FALSE, &info);
            menuBitmaps_.push_back(std::move(bitmap));
        }
    }
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

void MainWindow::OpenLink(const std::string& verb, const std::string& address, ShowCommand show) {
    ShellExecuteW(hwnd_, Wide(verb).c_str(), Wide(address).c_str(), nullptr, nullptr,
                  show == ShowCommand::Restore ? SW_RESTORE : SW_SHOWNORMAL);
}

void MainWindow::SetAddRetryTimer(bool on) {
    if (on) {
        SetTimer(hwnd_, kAddRetryTimer, kAddRetryInterval, nullptr);
    } else {
        KillTimer(hwnd_, kAddRetryTimer);
    }
}

void MainWindow::PopupMenuAtCursor() {
    AddMenuPictures();
    POINT cursor;
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd_);
    const UINT command = TrackPopupMenu(menu_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x,
                                        cursor.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (command) OnCommand(command);
}

// The scaling changed: the icon as it is, drawn again at the new size.
void MainWindow::UseIconSize(int size) {
    if (size <= 0 || size == tray_->LastIconSize()) return;
    tray_->SetIconSize(size);
    program_->main.ShellRestarted();
}

void MainWindow::OnCommand(UINT id) {
    if (const MenuEntry* entry = MenuEntryByCommand(id)) program_->main.MenuClick(entry->item);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->program_) return DefWindowProcW(hwnd, message, wParam, lParam);
    return Guarded(hwnd, 0, [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    TForm1& form = program_->main;
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        form.ShellRestarted();
        return 0;
    }
    if (message == iconSizeQuery_ && iconSizeQuery_ != 0) return tray_->LastIconSize();
    if (holder_ && holder_->IsWakeRequest(message, wParam, lParam)) {
        form.ShowBalloon();
        return SingleInstance::kWakeAnswer;
    }
    switch (message) {
        case kTrayCallbackMessage:
            form.TrayCallback(static_cast<std::uint32_t>(lParam));
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1) form.Timer1Timer();
            if (wParam == kAddRetryTimer) form.RetryAddIcon();
            if (wParam == WorkerJobs::kJobWatchTimer) form.CheckJobDeadlines();
            return 0;
        case kMsgJobDone:
            form.WorkerFinished(static_cast<JobToken>(wParam),
                                *reinterpret_cast<const JobOutcome*>(lParam));
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_DPICHANGED:
            UseIconSize(SmallIconSizeForDpi(DpiOfMessage(wParam)));
            return 0;
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            UseIconSize(SmallIconSizeForDpi(WindowDpi(hwnd_)));
            return DefWindowProcW(hwnd_, message, wParam, lParam);
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
