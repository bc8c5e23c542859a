// The main controller: start-up, the program-wide state, the tray display and the exit. The
// hidden window of the Win32 layer turns its messages into these calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/service_config.h"
#include "app/tray_settings.h"
#include "forecast/forecast_types.h"
#include "ports/tray_shell.h"

namespace vt {

class Clock;
class DayNames;
class Files;
class JobStarter;
class MainView;
class Profile;
class Random;
class SystemInfo;

struct MainPorts {
    Profile& profile;
    Files& files;
    Clock& clock;
    Random& random;
    SystemInfo& system;
    DayNames& dayNames;
    TrayShell& tray;
    MainView& view;
    JobStarter& jobs;
};

inline constexpr const char* kGreeting = "Vantorel: Погода от КЛЕВИР и Орнатек";

class TForm1 {
public:
    explicit TForm1(MainPorts ports) : ports_(ports) {}

    void FormCreate();
    void ExitTrayClick();

    void UpdateTrayIcon(std::string_view state);
    void RemoveTrayIcon();
    void LoadForecast();
    void ShowError(const std::string& message);

    TTraySettings Settings;
    TFrcBaloonAndIcon frc;
    CivilDate dayDate;
    CivilDate otherDate;
    TrayData trayData;
    ServiceConfig service;

private:
    void SetMenuCaptions();
    void UseSafeTownIndex();

    MainPorts ports_;
};

// Start-up maps every version from 5 on to 5: later Windows show balloons like 5 does.
int VersionClass(int windowsMajorVersion);

}  // namespace vt
