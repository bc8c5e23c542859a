// The preferences dialog's logic: filling it from the settings, the radio handlers, OK, Cancel,
// the town list in the town box. The Win32 dialog only turns its messages into these calls.
#pragma once

#include <string>
#include <vector>

#include "prefs/town_list.h"

namespace vt {

class Files;
class MainView;
class PrefsView;
class Profile;
class Registry;
class SystemInfo;
class TForm1;
class TForm3;
struct JobOutcome;

struct PrefsPorts {
    PrefsView& view;
    MainView& menu;
    Files& files;
    Registry& registry;
    Profile& profile;
    SystemInfo& system;
};

inline constexpr const char* kPleaseWaitText = "Пожалуйста, подождите...";
inline constexpr const char* kSearchCaption = "Найти";
inline constexpr const char* kTooShortToSearchText = "Введите не менее двух букв названия";

class TForm2 {
  public:
    TForm2(PrefsPorts ports, TForm1& main) : ports_(ports), main_(main) {}
    void SetAbout(TForm3* about) { about_ = about; }

    void FormCreate();
    // The opening through the tray menu item Install.
    void InstallClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void FormClose();
    // The close box: it only closes, it is not a Cancel.
    void CloseBoxClick();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton8Click();
    void RadioButton9Click();
    void RadioButton10Click();

    void LoadTownList();
    // A failed town-list job's text for the town box and Button4, before JobDone runs.
    void ShowTownListFailure(const JobOutcome& outcome);
    // Any download job has ended (JobDone).
    void EnableButton1();
    // The About dialog's close enables the button again.
    void SetButton3Enabled(bool enabled);

    std::vector<TComboList> Towns;

  private:
    void Close();
    void SetProxyFieldsEnabled(bool enabled);
    void TakeChosenTown();
    void TakeConnection();
    void ReleaseTownList();

    PrefsPorts ports_;
    TForm1& main_;
    TForm3* about_ = nullptr;
    bool townsFromThisOpening_ = false;
};

}  // namespace vt
