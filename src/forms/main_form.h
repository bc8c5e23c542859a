// The main controller: start-up, the program-wide state, the tray display and the exit. The
// hidden window of the Win32 layer turns its messages into these calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/service_config.h"
#include "app/tray_settings.h"
#include "download/api_gate.h"
#include "download/job_coordinator.h"
#include "forecast/forecast_types.h"
#include "ports/desktop.h"
#include "ports/main_view.h"
#include "ports/tray_shell.h"

namespace vt {

class Clock;
class Desktop;
class DayNames;
class Files;
class JobRunner;
class MainView;
class Profile;
class Random;
class SystemInfo;
class TForm2;
class TForm3;

struct MainPorts {
    Profile& profile;
    Files& files;
    Clock& clock;
    Random& random;
    SystemInfo& system;
    DayNames& dayNames;
    TrayShell& tray;
    MainView& view;
    JobRunner& jobs;
    Desktop& desktop;
};

inline constexpr const char* kGreeting = "Vantorel: Погода от КЛЕВИР и Орнатек";
inline constexpr const char* kDataFolderNotice =
    "Папка программы закрыта для записи. Настройки и прогнозы хранятся в папке ";

class TForm1 {
  public:
    explicit TForm1(MainPorts ports) : ports_(ports) {}
    // The dialogs this form opens and reports job ends to.
    void SetDialogs(TForm2* preferences, TForm3* about) {
        preferences_ = preferences;
        about_ = about;
    }

    void FormCreate();
    void ExitTrayClick();
    void Timer1Timer();

    void UpdateTrayIcon(std::string_view state);
    void RemoveTrayIcon();
    // lParam of the tray callback message: the mouse message.
    void TrayCallback(std::uint32_t mouseMessage);
    // Shows the balloon with what the icon shows, as a left press does; also the answer to a
    // second start of the program in this folder, which ends at once.
    void ShowBalloon();
    // A one-off balloon about the program itself (not the forecast), over the icon as it is.
    void ShowNotice(const std::string& text);
    // The notification area was recreated (TaskbarCreated): add the icon again as it was.
    void ShellRestarted();
    // The retry timer's tick while the icon has not been added yet.
    void RetryAddIcon();

    void NewsClick() { OpenMenuLink(MenuItem::News); }
    void ICQClick() { OpenMenuLink(MenuItem::ICQ); }
    void MapClick() { OpenMenuLink(MenuItem::Map); }
    void AviaClick() { OpenMenuLink(MenuItem::Avia); }
    void AutoClick() { OpenMenuLink(MenuItem::Auto); }
    void MonthClick() { OpenMenuLink(MenuItem::Month); }
    void TourismClick() { OpenMenuLink(MenuItem::Tourism); }
    void FrcClick();
    void UpdateClick();
    void InstallClick();
    void AboutTrayClick();
    // Routes a menu command to its handler.
    void MenuClick(MenuItem item);

    // Starts a download job, or remembers one follow-up while a job of that kind runs.
    void StartJob(int kind);
    bool TownListJobRunning() const { return coordinator_.Running(JobKind::TownList); }
    // The stored town list's name for the source in use.
    std::string TownListFileBase() const;
    // The forecast of the town now in Settings: downloaded when due, else shown from the stored
    // file. While a forecast job runs its stored file is left alone and a follow-up is asked for.
    void RefreshForecast();
    // A worker's result, on the UI thread.
    void WorkerFinished(JobToken token, const JobOutcome& outcome);
    // Gives up jobs past their deadline, as failed fetches.
    void CheckJobDeadlines();
    void JobDone(const JobOutcome& outcome);
    void LoadForecast();
    void ShowError(const std::string& message);

    TTraySettings Settings;
    // With the open forecast API, what the next town-list job searches for; empty: the
    // built-in towns.
    std::string townQuery;
    TFrcBaloonAndIcon frc;
    CivilDate dayDate;
    CivilDate otherDate;
    TrayData trayData;
    ServiceConfig service;

  private:
    void SetMenuCaptions();
    void UseSafeTownIndex();
    void OpenMenuLink(MenuItem item);
    void OpenTownPage(const char* verb, ShowCommand show);
    bool ResendIcon();
    // Whether the stored forecast is due for a download; takes its file name into Settings.
    bool StoredForecastDue();
    void HandleJobEnd(const JobEnd& end);
    void FinishJob(const JobOutcome& outcome);
    void EnableAfterJob();
    // Where the town lies: its stored coordinates, else the built-in town of its index.
    std::optional<Place> TownPlace() const;

    MainPorts ports_;
    TForm2* preferences_ = nullptr;
    TForm3* about_ = nullptr;
    TrayIconImage lastImage_;
    bool iconAdded_ = false;
    ApiGate& GateOf(JobKind kind) {
        return kind == JobKind::Forecast ? forecastGate_ : searchGate_;
    }

    JobCoordinator coordinator_;
    ApiGate forecastGate_;
    ApiGate searchGate_;
};

inline constexpr const char* kChooseTownText = "Выберите город в настройках";

// Start-up maps every version from 5 on to 5: later Windows show balloons like 5 does.
int VersionClass(int windowsMajorVersion);

}  // namespace vt
