// The hidden main window: owns the adapters and the controller, and turns window messages into
// controller calls.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "app/main_form.h"
#include "ports/desktop.h"
#include "ports/job_starter.h"
#include "ports/main_view.h"
#include "win32/handles.h"
#include "win32/hidden_forms.h"
#include "win32/profile_file.h"
#include "win32/system_adapters.h"
#include "win32/tray_icon.h"
#include "win32/win_files.h"

namespace vt {

inline constexpr wchar_t kMainWindowClass[] = L"VantorelTrayMain";

class MainWindow : public MainView, public JobRunner, public Desktop {
  public:
    // Creates the window and runs the start-up of the controller.
    static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
    ~MainWindow() override;

    // MainView
    void SetTimer1(bool on) override;
    void SetMenuCaption(MenuItem item, const std::string& caption) override;
    void EnableMenuItem(MenuItem item, bool enabled) override;
    void ReportError(const std::string& text) override;
    void CloseMainForm() override;

    // JobRunner
    void Launch(std::uint64_t token, const JobInput& input) override;
    void WatchDeadlines(bool on) override;

    // Desktop
    void OpenLink(const std::string& verb, const std::string& address, ShowCommand show) override;
    void PopupMenuAtCursor() override;
    void ShowPreferences() override;
    void ShowAbout() override;
    void SetAddRetryTimer(bool on) override;

    HWND Handle() const { return hwnd_; }

  private:
    MainWindow() = default;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildMenu();
    void OnCommand(UINT id);

    HWND hwnd_ = nullptr;
    UniqueMenu menu_;
    std::vector<UniqueGdiObject> menuBitmaps_;
    UINT taskbarCreated_ = 0;
    std::deque<std::string> pendingErrors_;  // shown one per kMsgShowError
    bool timerOn_ = false;
    SystemClock clock_;
    SystemRandom random_;
    WinSystemInfo system_;
    RegionalDayNames dayNames_;
    WinFiles files_;
    std::optional<ProfileFile> profile_;
    std::optional<TrayIcon> tray_;
    std::optional<TForm1> form_;
    std::optional<HiddenForm> preferences_;
    std::optional<HiddenForm> about_;
};

// The top-level error handler: the error's text in a message box.
void ShowErrorBox(HWND owner, const std::string& text);

}  // namespace vt
