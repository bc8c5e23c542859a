#include "forms/main_form.h"

#include "app/links.h"
#include "app/schedule.h"
#include "app/settings_encoding.h"
#include "app/tray_decision.h"
#include "common/stored_file.h"
#include "download/job_runner.h"
#include "forecast/forecast_loader.h"
#include "forecast/forecast_texts.h"
#include "forms/about_form.h"
#include "forms/preferences_form.h"
#include "openmeteo/builtin_towns.h"
#include "ports/clock.h"
#include "ports/day_names.h"
#include "ports/files.h"
#include "ports/main_view.h"
#include "ports/profile.h"
#include "ports/system_info.h"
#include "prefs/town_list.h"

namespace vt {
int VersionClass(int windowsMajorVersion) {
    return windowsMajorVersion >= 5 ? 5 : windowsMajorVersion;
}

void TForm1::FormCreate() {
    frc.trayState = kStateFormCreate;
    frc.trayText = kGreeting;
    frc.iconTempText.clear();
    Settings.winMajor = VersionClass(ports_.system.WindowsMajorVersion());
    UpdateTrayIcon(kStateFormCreate);

    ConvertUtf8Settings(ports_.files, SettingsFilePath(ports_.system.DataFolder()));
    const std::optional<std::string> writeFailure =
        ReadSettings(Settings, ports_.profile, ports_.system.DataFolder(), ports_.random);
    service = ReadServiceConfig(ports_.profile);
    if (writeFailure) ports_.view.ReportError(*writeFailure);
    ports_.view.SetTimer1(false);

    ports_.view.SetMenuCaption(MenuItem::Frc, FrcCaptionAtStartup(Settings.frcTownName));
    SetMenuCaptions();
    // The open forecast API has no web sections: their items stay, disabled.
    if (service.source == WeatherSource::OpenMeteo) {
        for (MenuItem item : {MenuItem::News, MenuItem::ICQ, MenuItem::Map, MenuItem::Avia,
                              MenuItem::Auto, MenuItem::Month, MenuItem::Tourism}) {
            ports_.view.EnableMenuItem(item, false);
        }
    }

    if (Settings.frcTownIndex.empty()) {
        Settings.frcTownIndex = kDefaultTownIndex;
        Settings.frcTownName = kDefaultTownName;
    }
    if (Settings.frcTownIndex.size() == 4) Settings.frcTownIndex = "0" + Settings.frcTownIndex;
    UseSafeTownIndex();

    if (StoredForecastDue()) {
        ports_.view.EnableMenuItem(MenuItem::Update, false);
        StartJob(kForecastJob);
    } else {
        LoadForecast();
    }
}

bool TForm1::StoredForecastDue() {
    const DownloadDecision decision =
        ForecastDownloadDue(ports_.files, Settings.progDir, Settings.frcTownIndex,
                            ports_.clock.NowUtc(), Settings.updateTimes);
    Settings.frcFileBase = decision.fileBase;
    return decision.due;
}

// The index becomes part of file names and web addresses: anything but digits is replaced by
// the default town, in memory only.
void TForm1::UseSafeTownIndex() {
    if (IsSafeTownIndex(Settings.frcTownIndex)) return;
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

void TForm1::Timer1Timer() {
    // The worker may be writing the stored file: leave it alone until the job ends.
    if (coordinator_.Running(JobKind::Forecast) || !StoredForecastDue()) return;
    ports_.view.SetTimer1(false);
    StartJob(kForecastJob);
}

std::string TForm1::TownListFileBase() const {
    return service.source == WeatherSource::OpenMeteo ? kApiTownListFileBase : kTownListFileBase;
}

std::optional<Place> TForm1::TownPlace() const {
    if (auto stored = ParsePlace(Settings.frcTownLatitude, Settings.frcTownLongitude)) {
        return stored;
    }
    if (const BuiltinTown* town = FindBuiltinTown(Settings.frcTownIndex)) {
        return Place{town->latitude, town->longitude};
    }
    return std::nullopt;
}

void TForm1::StartJob(int kind) {
    JobInput input;
    input.kind = kind == kTownListJob ? JobKind::TownList : JobKind::Forecast;
    input.townIndex = Settings.frcTownIndex;
    input.progDir = Settings.progDir;
    input.frcFileBase = Settings.frcFileBase.empty() ? Settings.frcTownIndex : Settings.frcFileBase;
    input.townListFileBase =
        Settings.townListFileBase.empty() ? TownListFileBase() : Settings.townListFileBase;
    input.connection = {ConnectionModeOf(Settings.stateConnectChecked), Settings.ProxyServer,
                        Settings.ProxyPort, Settings.userProxy, Settings.passwdProxy};
    input.counterHost = service.counterHost;
    input.dataHost = service.dataHost;
    input.siteName = SiteNameOf(service);
    input.source = service.source;
    if (input.kind == JobKind::TownList && input.source == WeatherSource::OpenMeteo) {
        input.townQuery = townQuery;
        input.geocodingApi = service.geocodingApi;
        input.mayAskApi = searchGate_.IsOpen(ports_.clock.NowUtc());
    }
    if (input.kind == JobKind::Forecast && input.source == WeatherSource::OpenMeteo) {
        const std::optional<Place> place = TownPlace();
        if (!place) {
            // Nothing to ask for: the user must pick the town again.
            frc.trayText = kChooseTownText;
            ShowError(frc.trayText);
            EnableAfterJob();
            return;
        }
        input.place = *place;
        input.forecastApi = service.forecastApi;
        input.townName = Settings.frcTownName;
        input.countryName = Settings.frcCountryName;
        input.mayAskApi = forecastGate_.IsOpen(ports_.clock.NowUtc());
    }
    if (auto start = coordinator_.Request(std::move(input), ports_.clock.NowUtc())) {
        ports_.jobs.WatchDeadlines(true);
        ports_.jobs.Launch(start->token, start->input);
    }
}

void TForm1::WorkerFinished(JobToken token, const JobOutcome& outcome) {
    HandleJobEnd(coordinator_.Completed(token, outcome, Settings.frcTownIndex));
}

void TForm1::CheckJobDeadlines() {
    for (const JobEnd& end : coordinator_.Expired(Settings.frcTownIndex, ports_.clock.NowUtc())) {
        HandleJobEnd(end);
    }
}

void TForm1::HandleJobEnd(const JobEnd& end) {
    // The API's answer counts whether or not its forecast is still wanted.
    if (end.outcome && end.outcome->apiReply) {
        GateOf(end.input.kind).Record(ports_.clock.NowUtc(), *end.outcome->apiReply);
    }
    switch (end.verdict) {
        case JobVerdict::Deliver:
            if (end.outcome) FinishJob(*end.outcome);
            break;
        case JobVerdict::TimedOut:
            // A request that hung counts as a failed one.
            if (AsksApi(end.input)) GateOf(end.input.kind).Record(ports_.clock.NowUtc(), {});
            FinishJob(FailedFetchOutcome(end.input, ports_.files, ports_.clock));
            break;
        case JobVerdict::Superseded:
            // The town changed meanwhile: nothing to show; the follow-up fetches the new one.
            EnableAfterJob();
            break;
        case JobVerdict::Discard:
            return;
    }
    if (end.followUp) StartJob(static_cast<int>(end.input.kind));
    if (!coordinator_.AnyRunning()) ports_.jobs.WatchDeadlines(false);
}

void TForm1::FinishJob(const JobOutcome& outcome) {
    // What the worker says in the dialog is shown before the completion runs.
    if (!outcome.ok && preferences_) preferences_->ShowTownListFailure(outcome);
    JobDone(outcome);
}

// What follows every job, whatever its kind and end.
void TForm1::EnableAfterJob() {
    ports_.view.EnableMenuItem(MenuItem::Update, true);
    if (preferences_) preferences_->EnableButton1();
}

void TForm1::JobDone(const JobOutcome& outcome) {
    EnableAfterJob();
    if (outcome.ok) {
        if (outcome.lastJob == kLastJobForecast) LoadForecast();
        if (outcome.lastJob == kLastJobTownList && preferences_) preferences_->LoadTownList();
        return;
    }
    Settings.balloonRequested = false;
    // A failed town list speaks in the preferences dialog only.
    if (outcome.lastJob != kLastJobForecast) return;
    if (outcome.trayText) frc.trayText = *outcome.trayText;
    ShowError(frc.trayText);
}

void TForm1::ExitTrayClick() {
    ports_.view.CloseMainForm();
    RemoveTrayIcon();
}

void TForm1::UpdateTrayIcon(std::string_view state) {
    const TrayUpdate update = DecideTrayUpdate(state, trayData, Settings, frc);
    trayData = update.data;
    lastImage_ = update.image;
    const bool accepted = ports_.tray.Notify(update.message, trayData, update.image);
    if (update.message == TrayMessage::Add && !iconAdded_) {
        iconAdded_ = accepted;
        // At logon the shell may not be ready yet; keep trying without holding up start-up.
        if (!accepted) ports_.desktop.SetAddRetryTimer(true);
    }
    Settings.balloonRequested = false;
    ports_.view.SetTimer1(true);
}

bool TForm1::ResendIcon() {
    // The last display again, without its balloon.
    TrayData data = trayData;
    data.uFlags = kTipFlags;
    if (ports_.tray.Notify(TrayMessage::Add, data, lastImage_)) return true;
    // Refused because the icon is there already: that counts as added.
    return ports_.tray.Notify(TrayMessage::Modify, data, lastImage_);
}

void TForm1::ShellRestarted() {
    iconAdded_ = ResendIcon();
    ports_.desktop.SetAddRetryTimer(!iconAdded_);
}

void TForm1::RetryAddIcon() {
    if (iconAdded_) {
        ports_.desktop.SetAddRetryTimer(false);
        return;
    }
    iconAdded_ = ResendIcon();
    if (iconAdded_) ports_.desktop.SetAddRetryTimer(false);
}

void TForm1::ShowBalloon() {
    Settings.balloonRequested = true;
    if (frc.trayState == kStateFormCreate || frc.trayState == kStatePrognoz ||
        frc.trayState == kStateError) {
        UpdateTrayIcon(frc.trayState);
    }
}

void TForm1::ShowNotice(const std::string& text) {
    TrayData notice = trayData;
    notice.uFlags = kBalloonFlags;
    notice.szInfo = BalloonText(text);
    notice.szInfoTitle = "Vantorel.Tray";
    notice.dwInfoFlags = kInfoIcon;
    ports_.tray.Notify(TrayMessage::Modify, notice, lastImage_);
}

void TForm1::TrayCallback(std::uint32_t mouseMessage) {
    constexpr std::uint32_t kLeftDown = 0x201, kLeftDoubleClick = 0x203, kRightDown = 0x204;
    switch (mouseMessage) {
        case kLeftDown:
            if (Settings.winMajor == 5) {
                ShowBalloon();
            } else {
                OpenTownPage("Open", ShowCommand::Restore);
            }
            break;
        case kLeftDoubleClick:
            OpenTownPage("Open", ShowCommand::Restore);
            break;
        case kRightDown:
            ports_.desktop.PopupMenuAtCursor();
            break;
        default:
            break;
    }
}

void TForm1::OpenTownPage(const char* verb, ShowCommand show) {
    if (service.source == WeatherSource::OpenMeteo) {
        // The page the last forecast wrote; before the first there is nothing to open.
        const std::string page = TownPagePath(Settings.progDir, Settings.frcTownIndex);
        if (ports_.files.Exists(page)) ports_.desktop.OpenLink(verb, page, show);
        return;
    }
    ports_.desktop.OpenLink(verb, TownPageLink(service, Settings), show);
}

void TForm1::OpenMenuLink(MenuItem item) {
    if (auto link = MenuLink(service, item)) {
        ports_.desktop.OpenLink("open", *link, ShowCommand::ShowNormal);
    }
}

void TForm1::FrcClick() {
    OpenTownPage("open", ShowCommand::ShowNormal);
}

void TForm1::UpdateClick() {
    ports_.view.EnableMenuItem(MenuItem::Update, false);
    StartJob(kForecastJob);
}

void TForm1::InstallClick() {
    if (preferences_) preferences_->InstallClick();
}

void TForm1::AboutTrayClick() {
    ports_.view.EnableMenuItem(MenuItem::AboutTray, false);
    if (preferences_) preferences_->SetButton3Enabled(false);
    if (about_) about_->Show();
}

void TForm1::RefreshForecast() {
    if (const auto running = coordinator_.RunningForecastTown()) {
        // The running job's file name belongs to its town; another town's follow-up must not
        // store its forecast under that name.
        if (*running != Settings.frcTownIndex) Settings.frcFileBase = Settings.frcTownIndex;
        StartJob(kForecastJob);
        return;
    }
    if (StoredForecastDue()) {
        StartJob(kForecastJob);
    } else {
        LoadForecast();
    }
}

void TForm1::MenuClick(MenuItem item) {
    switch (item) {
        case MenuItem::Frc:
            FrcClick();
            break;
        case MenuItem::Update:
            UpdateClick();
            break;
        case MenuItem::Install:
            InstallClick();
            break;
        case MenuItem::AboutTray:
            AboutTrayClick();
            break;
        case MenuItem::ExitTray:
            ExitTrayClick();
            break;
        default:
            OpenMenuLink(item);
            break;
    }
}

void TForm1::RemoveTrayIcon() {
    ports_.tray.Remove();
}

void TForm1::LoadForecast() {
    const std::string path = StoredFilePath(Settings.progDir, Settings.frcFileBase);
    ForecastSession session{frc, dayDate, otherDate};
    const LoadOutcome outcome = LoadForecastFromBytes(
        ports_.files.ReadAll(path), ReadsTwoRecords(Settings.viewFrcCheked), Settings.frcTownName,
        session, ports_.dayNames, ports_.clock.NowUtc().Date());
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
