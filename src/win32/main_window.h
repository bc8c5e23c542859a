// The hidden main window: owns the adapters, the dialogs' windows and the program's forms, and
// turns window messages into the main form's calls.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "forms/program.h"
#include "ports/desktop.h"
#include "ports/main_view.h"
#include "win32/about_dialog.h"
#include "win32/handles.h"
#include "win32/main_window_ids.h"
#include "win32/preferences_dialog.h"
#include "win32/profile_file.h"
#include "win32/single_instance.h"
#include "win32/system_adapters.h"
#include "win32/tray_icon.h"
#include "win32/win_files.h"
#include "win32/win_registry.h"
#include "win32/worker_jobs.h"

namespace vt {

class MainWindow : public MainView, public Desktop {
  public:
    // Creates the window, runs the start-up and creates the two dialogs. The window answers
    // the wake requests of later starts in the folder that instance holds.
    static std::unique_ptr<MainWindow> Create(HINSTANCE instance, const SingleInstance& holder);
    ~MainWindow() override;

    // For the message loop: the dialogs' keyboard navigation.
    bool PreTranslate(MSG& msg);

    // MainView
    void SetTimer1(bool on) override;
    void SetMenuCaption(MenuItem item, const std::string& caption) override;
    void EnableMenuItem(MenuItem item, bool enabled) override;
    void ReportError(const std::string& text) override;
    void CloseMainForm() override;

    // Desktop
    void OpenLink(const std::string& verb, const std::string& address, ShowCommand show) override;
    void PopupMenuAtCursor() override;
    void SetAddRetryTimer(bool on) override;

  private:
    MainWindow() = default;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildMenu();
    void UseIconSize(int size);
    void AddMenuPictures();
    void OnCommand(UINT id);

    HWND hwnd_ = nullptr;
    UniqueMenu menu_;
    std::vector<UniqueGdiObject> menuBitmaps_;
    bool menuPicturesAdded_ = false;
    UINT taskbarCreated_ = 0;
    UINT iconSizeQuery_ = 0;
    const SingleInstance* holder_ = nullptr;
    std::deque<std::string> pendingErrors_;  // shown one per kMsgShowError
    bool timerOn_ = false;
    SystemClock clock_;
    SystemRandom random_;
    WinSystemInfo system_;
    RegionalDayNames dayNames_;
    WinFiles files_;
    WinRegistry registry_;
    std::optional<ProfileFile> profile_;
    std::optional<TrayIcon> tray_;
    std::optional<WorkerJobs> jobs_;
    std::optional<PreferencesDialog> preferences_;
    std::optional<AboutDialog> about_;
    std::optional<Program> program_;
};

}  // namespace vt
