#include "forms/preferences_form.h"

#include "app/tray_decision.h"
#include "app/tray_settings.h"
#include "download/jobs.h"
#include "forms/about_form.h"
#include "forms/main_form.h"
#include "openmeteo/geocoding.h"
#include "openmeteo/place.h"
#include "ports/main_view.h"
#include "ports/prefs_view.h"
#include "ports/system_info.h"
#include "prefs/autostart.h"
#include "text/encoding.h"

namespace vt {
namespace {

// What the settings file can hold of a typed text: its code page turns other characters into
// "?", and a line break would split the file's line into keys of its own.
std::string AsStoredText(const std::string& typed) {
    std::string text = Cp1251ToUtf8(Utf8ToCp1251(typed));
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

std::vector<std::string> TownNames(const std::vector<TComboList>& towns) {
    std::vector<std::string> names;
    names.reserve(towns.size());
    for (const TComboList& t : towns) names.push_back(t.TownName);
    return names;
}

}  // namespace

void TForm2::FormCreate() {
    PrefsView& v = ports_.view;
    v.SetEnabled(PrefsControl::ColorBox1, !v.IsChecked(PrefsChoice::RadioButton3));
    v.SelectColour(main_.Settings.viewIconColor);
    v.SelectStyle(UsesLightPictures(main_.Settings.picOnIconStyle) ? 0 : 1);
    // The open forecast API's list is searched by name rather than downloaded again.
    if (main_.service.source == WeatherSource::OpenMeteo) {
        v.SetEditText(PrefsControl::Button4, kSearchCaption);
    }
}

void TForm2::InstallClick() {
    PrefsView& v = ports_.view;
    const TTraySettings& s = main_.Settings;
    v.ShowForm();
    ports_.menu.EnableMenuItem(MenuItem::Install, false);

    v.SetChecked(
        s.viewFrcCheked == kSpanDayAndNight ? PrefsChoice::RadioButton1 : PrefsChoice::RadioButton2,
        true);
    if (s.viewIconCheked == kIconPictures) {
        v.SetChecked(PrefsChoice::RadioButton3, true);
        RadioButton3Click();
    } else {
        v.SetChecked(PrefsChoice::RadioButton4, true);
        RadioButton4Click();
    }
    v.SetChecked(s.breakBaloonCheked == kBalloon10Seconds   ? PrefsChoice::RadioButton5
                 : s.breakBaloonCheked == kBalloon15Seconds ? PrefsChoice::RadioButton6
                                                            : PrefsChoice::RadioButton7,
                 true);
    v.SetChecked(PrefsChoice::CheckBox1, AutostartOf(s.autoloadChecked) == Autostart::On);
    const ConnectionMode mode = ConnectionModeOf(s.stateConnectChecked);
    if (mode == ConnectionMode::Direct) {
        v.SetChecked(PrefsChoice::RadioButton8, true);
        RadioButton8Click();
    } else if (mode == ConnectionMode::SystemSettings) {
        v.SetChecked(PrefsChoice::RadioButton9, true);
        RadioButton9Click();
    } else {
        v.SetChecked(PrefsChoice::RadioButton10, true);
        v.SetEditText(PrefsControl::Edit1, s.ProxyServer);
        v.SetEditText(PrefsControl::Edit2, s.ProxyPort);
        v.SetEditText(PrefsControl::Edit3, s.userProxy);
        v.SetEditText(PrefsControl::Edit4, s.passwdProxy);
        RadioButton10Click();
    }

    v.SetEnabled(PrefsControl::Button1, false);
    v.SetTownText(kTownListLoadingText);
    townsFromThisOpening_ = false;
    // An earlier opening's download still runs: its result loads the list.
    if (main_.TownListJobRunning()) return;
    const TownListDue due =
        TownListDownloadDue(ports_.files, main_.Settings.progDir, main_.TownListFileBase());
    main_.Settings.townListFileBase = due.fileBase;
    if (due.due) {
        main_.townQuery.clear();
        main_.StartJob(kTownListJob);
    } else {
        LoadTownList();
    }
}

void TForm2::RadioButton3Click() {
    ports_.view.SetEnabled(PrefsControl::ColorBox1, false);
    ports_.view.SetEnabled(PrefsControl::Label7, false);
    ports_.view.SetEnabled(PrefsControl::Label8, true);
    ports_.view.SetEnabled(PrefsControl::ComboBox2, true);
}

void TForm2::RadioButton4Click() {
    ports_.view.SetEnabled(PrefsControl::ColorBox1, true);
    ports_.view.SetEnabled(PrefsControl::Label7, true);
    ports_.view.SetEnabled(PrefsControl::Label8, false);
    ports_.view.SetEnabled(PrefsControl::ComboBox2, false);
}

void TForm2::RadioButton8Click() {
    SetProxyFieldsEnabled(false);
}

void TForm2::RadioButton9Click() {
    SetProxyFieldsEnabled(false);
}

void TForm2::RadioButton10Click() {
    SetProxyFieldsEnabled(true);
}

void TForm2::SetProxyFieldsEnabled(bool enabled) {
    for (PrefsControl c :
         {PrefsControl::Label3, PrefsControl::Label4, PrefsControl::Label5, PrefsControl::Label6,
          PrefsControl::Edit1, PrefsControl::Edit2, PrefsControl::Edit3, PrefsControl::Edit4}) {
        ports_.view.SetEnabled(c, enabled);
    }
}

void TForm2::Close() {
    ports_.view.HideForm();
    FormClose();
}

void TForm2::Button1Click() {
    PrefsView& v = ports_.view;
    TTraySettings& s = main_.Settings;
    Close();
    main_.UpdateTrayIcon(kStatePref);
    ports_.menu.EnableMenuItem(MenuItem::Install, true);
    s.balloonRequested = true;
    main_.frc.trayText = kPleaseWaitText;
    TakeChosenTown();
    s.viewFrcCheked = v.IsChecked(PrefsChoice::RadioButton1) ? kSpanDayAndNight : kSpanDay;
    s.viewIconCheked = v.IsChecked(PrefsChoice::RadioButton3) ? kIconPictures : kIconTemperature;
    if (v.IsChecked(PrefsChoice::RadioButton4)) s.viewIconColor = v.SelectedColour();
    if (v.IsChecked(PrefsChoice::RadioButton3))
        s.picOnIconStyle = v.SelectedStyle() == 0 ? kLightStyle : kDarkStyle;
    s.breakBaloonCheked = v.IsChecked(PrefsChoice::RadioButton5)   ? kBalloon10Seconds
                          : v.IsChecked(PrefsChoice::RadioButton6) ? kBalloon15Seconds
                                                                   : kBalloon20Seconds;
    s.autoloadChecked = v.IsChecked(PrefsChoice::CheckBox1) ? kAutoloadOn : kAutoloadOff;
    UpdateAutostart(ports_.registry, AutostartOf(s.autoloadChecked), ports_.system.ProgramPath());
    TakeConnection();
    main_.RefreshForecast();
    SaveSettings(s, ports_.profile, main_.service.source == WeatherSource::OpenMeteo);
}

// Only a named town of the list loaded in this opening is taken, and only with a safe index:
// the index becomes a file name and part of web addresses, and a nameless town would show
// under the default town's name at the next start.
void TForm2::TakeChosenTown() {
    PrefsView& v = ports_.view;
    const bool listed = townsFromThisOpening_ && v.TownEntryCount() > 1;
    const std::string text = v.TownText();
    int chosen = -1;
    if (listed) {
        const int selected = v.SelectedTownEntry();
        if (selected >= 0 && selected < static_cast<int>(Towns.size()) &&
            Towns[selected].TownName == text) {
            chosen = selected;
        } else {
            chosen = FindTownByName(Towns, text);
        }
    }
    if (chosen >= 0 && !Towns[chosen].TownName.empty() &&
        IsSafeTownIndex(Towns[chosen].TownIndex)) {
        TTraySettings& s = main_.Settings;
        s.frcTownName = Towns[chosen].TownName;
        s.frcTownIndex = Towns[chosen].TownIndex;
        s.frcCountryName = Towns[chosen].CountryName;
        // The embedded source asks for the town by its place; another source's list has none.
        if (const auto place = ParsePlaceFields(Towns[chosen].Place)) {
            s.frcTownLatitude = CoordinateText(place->latitude);
            s.frcTownLongitude = CoordinateText(place->longitude);
        } else {
            s.frcTownLatitude.clear();
            s.frcTownLongitude.clear();
        }
    }
    ReleaseTownList();
}

// A hidden dialog holds no list: a long one is megabytes, and every opening loads it again.
void TForm2::ReleaseTownList() {
    std::vector<TComboList>().swap(Towns);
    townsFromThisOpening_ = false;
    ports_.view.SetTownEntries({});
}

void TForm2::TakeConnection() {
    PrefsView& v = ports_.view;
    TTraySettings& s = main_.Settings;
    if (v.IsChecked(PrefsChoice::RadioButton8)) {
        s.stateConnectChecked = kConnectDirect;
    } else if (v.IsChecked(PrefsChoice::RadioButton9)) {
        s.stateConnectChecked = kConnectSystemSettings;
    } else {
        s.stateConnectChecked = kConnectProxy;
        s.ProxyServer = AsStoredText(v.EditText(PrefsControl::Edit1));
        s.ProxyPort = AsStoredText(v.EditText(PrefsControl::Edit2));
        s.userProxy = AsStoredText(v.EditText(PrefsControl::Edit3));
        s.passwdProxy = AsStoredText(v.EditText(PrefsControl::Edit4));
    }
}

void TForm2::Button2Click() {
    Close();
    ports_.menu.EnableMenuItem(MenuItem::Install, true);
    ReleaseTownList();
}

void TForm2::CloseBoxClick() {
    ports_.view.HideForm();
    FormClose();
    ReleaseTownList();
}

void TForm2::Button3Click() {
    ports_.menu.EnableMenuItem(MenuItem::AboutTray, false);
    if (about_) about_->Show();
}

void TForm2::FormClose() {
    ports_.menu.EnableMenuItem(MenuItem::Install, true);
    ports_.menu.EnableMenuItem(MenuItem::AboutTray, true);
}

void TForm2::Button4Click() {
    PrefsView& v = ports_.view;
    if (main_.service.source == WeatherSource::OpenMeteo) {
        // «Найти»: the town box's text goes to the geocoding API.
        const std::string text = v.TownText();
        if (!IsSearchableName(text)) {
            v.SetTownText(kTooShortToSearchText);
            return;
        }
        main_.townQuery = text;
    }
    v.SetTownEntries({});
    v.SetEnabled(PrefsControl::Button4, false);
    v.SetEnabled(PrefsControl::Button1, false);
    v.SetTownText(kTownListLoadingText);
    townsFromThisOpening_ = false;
    main_.StartJob(kTownListJob);
}

void TForm2::LoadTownList() {
    PrefsView& v = ports_.view;
    const TTraySettings& s = main_.Settings;
    const std::string base =
        s.townListFileBase.empty() ? main_.TownListFileBase() : s.townListFileBase;
    TownListLoad load = ReadTownList(ports_.files, s.progDir, base, s.frcTownName);
    if (load.state == TownListState::Loaded) {
        Towns = std::move(load.towns);
        townsFromThisOpening_ = true;
        v.SetTownEntries(TownNames(Towns));
        v.SelectTownEntry(load.selected);
    } else {
        Towns.clear();
        townsFromThisOpening_ = false;
        v.SetTownEntries({});
        v.SetTownText(load.state == TownListState::Empty ? kTownListEmptyText
                                                         : kTownListUnreadableText);
    }
    v.SetEnabled(PrefsControl::Button4, true);
    v.SetEnabled(PrefsControl::Button1, true);
}

void TForm2::ShowTownListFailure(const JobOutcome& outcome) {
    if (outcome.comboText) ports_.view.SetTownText(*outcome.comboText);
    if (outcome.enableButton4) ports_.view.SetEnabled(PrefsControl::Button4, true);
}

void TForm2::EnableButton1() {
    ports_.view.SetEnabled(PrefsControl::Button1, true);
}

void TForm2::SetButton3Enabled(bool enabled) {
    ports_.view.SetEnabled(PrefsControl::Button3, enabled);
}

}  // namespace vt
