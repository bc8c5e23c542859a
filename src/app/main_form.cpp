#include "app/main_form.h"

#include "app/schedule.h"
#include "app/tray_decision.h"
#include "forecast/forecast_loader.h"
#include "forecast/forecast_texts.h"
#include "ports/clock.h"
#include "ports/day_names.h"
#include "ports/files.h"
#include "ports/job_starter.h"
#include "ports/main_view.h"
#include "ports/profile.h"
#include "ports/system_info.h"

namespace vt {
namespace {

bool AllAsciiDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

int VersionClass(int windowsMajorVersion) {
    return windowsMajorVersion >= 5 ? 5 : windowsMajorVersion;
}

void TForm1::FormCreate() {
    frc.trayState = kStateFormCreate;
    frc.trayText = kGreeting;
    frc.iconTempText.clear();
    Settings.winMajor = VersionClass(ports_.system.WindowsMajorVersion());
    UpdateTrayIcon(kStateFormCreate);

    const std::optional<std::string> writeFailure =
        ReadSettings(Settings, ports_.profile, ports_.system.ProgramFolder(), ports_.random);
    service = ReadServiceConfig(ports_.profile);
    if (writeFailure) ports_.view.ReportError(*writeFailure);
    ports_.view.SetTimer1(false);

    ports_.view.SetMenuCaption(MenuItem::Frc, FrcCaptionAtStartup(Settings.frcTownName));
    SetMenuCaptions();

    if (Settings.frcTownIndex.empty()) {
        Settings.frcTownIndex = kDefaultTownIndex;
        Settings.frcTownName = kDefaultTownName;
    }
    if (Settings.frcTownIndex.size() == 4) Settings.frcTownIndex = "0" + Settings.frcTownIndex;
    UseSafeTownIndex();

    const DownloadDecision decision =
        ForecastDownloadDue(ports_.files, Settings.progDir, Settings.frcTownIndex,
                            ports_.clock.NowUtc(), Settings.updateTimes);
    Settings.frcFileBase = decision.fileBase;
    if (decision.due) {
        ports_.view.EnableMenuItem(MenuItem::Update, false);
        ports_.jobs.StartJob(kForecastJob);
    } else {
        LoadForecast();
    }
}

// The index becomes part of file names and web addresses: anything but digits is replaced by
// the default town, in memory only.
void TForm1::UseSafeTownIndex() {
    if (AllAsciiDigits(Settings.frcTownIndex)) return;
    Settings.frcTownIndex = kDefaultTownIndex;
    Settings.frcTownName = kDefaultTownName;
    Settings.frcCountryName = kDefaultCountryName;
    ports_.view.SetMenuCaption(MenuItem::Frc, FrcCaptionAtStartup(Settings.frcTownName));
}

void TForm1::SetMenuCaptions() {
    struct Caption {
        MenuItem item;
        const char* text;
    };
    static const Caption kCaptions[] = {
        {MenuItem::News, "Все новости о погоде"},
        {MenuItem::ICQ, "Погода на кончиках пальцев"},
        {MenuItem::Map, "Карты погоды и анимации"},
        {MenuItem::Avia, "Погода по аэропортам"},
        {MenuItem::Auto, "Погода на автодорогах"},
        {MenuItem::Month, "Погода на месяц"},
        {MenuItem::Tourism, "Туризм, отдых, путешествия"},
        {MenuItem::Update, "Обновить прогноз"},
        {MenuItem::Install, "Настроить Vantorel.Tray"},
        {MenuItem::AboutTray, "О программе"},
        {MenuItem::ExitTray, "Выход"},
    };
    for (const Caption& c : kCaptions) ports_.view.SetMenuCaption(c.item, c.text);
}

void TForm1::ExitTrayClick() {
    ports_.view.CloseMainForm();
    RemoveTrayIcon();
}

void TForm1::UpdateTrayIcon(std::string_view state) {
    const TrayUpdate update = DecideTrayUpdate(state, trayData, Settings, frc);
    trayData = update.data;
    ports_.tray.Notify(update.message, trayData, update.image);
    Settings.balloonRequested = false;
    ports_.view.SetTimer1(true);
}

void TForm1::RemoveTrayIcon() { ports_.tray.Remove(); }

void TForm1::LoadForecast() {
    const std::string path = Settings.progDir + Settings.frcFileBase + ".txt";
    ForecastSession session{frc, dayDate, otherDate};
    const LoadOutcome outcome =
        LoadForecastFromBytes(ports_.files.ReadAll(path), Settings.viewFrcCheked,
                              Settings.frcTownName, session, ports_.dayNames,
                              ports_.clock.NowUtc().Date());
    frc = session.frc;
    dayDate = session.dayDate;
    otherDate = session.otherDate;
    if (outcome.isError) {
        ShowError(outcome.errorMessage);
    } else {
        UpdateTrayIcon(kStatePrognoz);
    }
    if (outcome.frcCaption) ports_.view.SetMenuCaption(MenuItem::Frc, *outcome.frcCaption);
}

void TForm1::ShowError(const std::string& message) {
    ApplyShowError(frc, message);
    UpdateTrayIcon(kStateError);
}

}  // namespace vt
