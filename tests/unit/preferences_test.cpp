#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/errors.h"
#include "forms/preferences_form.h"
#include "program_rig.h"

namespace vt {
namespace {

using namespace vt::test;
using C = PrefsControl;
using R = PrefsChoice;
using Lines = std::vector<std::string>;

// 0 Москва, 1 and 2 two towns named Киев, 3 an index with a letter, 4 a four-digit index.
const std::string kList =
    "27612;Москва;x;Россия;\r\n33345;Киев;x;Украина;\r\n12345;Киев;x;Россия;\r\n"
    "12a4;Энск;x;Россия;\r\n1234;Пущино;x;Россия;\r\n";
const std::string kListFile = "C:\\Apps\\Tray\\vlbartlistfull.txt";
const std::string kLoading = "Идёт загрузка списка городов";
const std::string kClick = "Vantorel: Щелкните для просмотра прогноза погоды";
constexpr Colour kRed = 0x0000FF;

// What the top-level handler would show: each error of that type leaving the handler.
template <typename Error, typename Handler>
Lines Shown(Handler&& handler) {
    Lines shown;
    try {
        handler();
    } catch (const Error& e) {
        shown.push_back(e.what());
    }
    return shown;
}

// A program whose stored forecast of the default town and town list are in place, so that
// start-up and the opening start no job.
std::unique_ptr<ProgramRig> Ready(const std::string& list = kList) {
    auto rig = std::make_unique<ProgramRig>();
    rig->StoreForecast("27612");
    if (!list.empty()) rig->StoreTownList(list);
    rig->Start();
    return rig;
}

std::unique_ptr<ProgramRig> Opened(const std::string& list = kList) {
    auto rig = Ready(list);
    rig->Main().InstallClick();
    return rig;
}

void ClickRadio(ProgramRig& rig, PrefsChoice choice) {
    rig.prefsView.SetChecked(choice, true);
    TForm2& f = rig.Prefs();
    if (choice == R::RadioButton3) f.RadioButton3Click();
    if (choice == R::RadioButton4) f.RadioButton4Click();
    if (choice == R::RadioButton8) f.RadioButton8Click();
    if (choice == R::RadioButton9) f.RadioButton9Click();
    if (choice == R::RadioButton10) f.RadioButton10Click();
}

TEST(PreferencesCreation, IsHiddenWithTheColourAndStyleOfTheSettings) {
    struct Case {
        const char* style;
        int selectedStyle;
        const char* colour;
        Colour selectedColour;
        PrefsChoice icon;  // as the window holds it when the logic runs
    };
    const Case cases[] = {
        {"0", 0, "clRed", kRed, R::RadioButton3},
        {"1", 1, "clBlack", 0, R::RadioButton3},
        {"2", 1, "$00123456", 0x123456, R::RadioButton3},
        {"01", 1, "clBtnFace", static_cast<Colour>(0x8000000F), R::RadioButton4},
    };
    for (const Case& c : cases) {
        ProgramRig rig;
        rig.profile.Set("settings", "picOnIconStyle", c.style);
        rig.profile.Set("settings", "viewIconColor", c.colour);
        FakePrefsView& v = rig.prefsView;
        const bool temperature = c.icon == R::RadioButton4;
        v.SetChecked(c.icon, true);
        v.SetEnabled(C::ColorBox1, !temperature);
        rig.Start();
        EXPECT_FALSE(v.shown) << c.style;
        EXPECT_EQ(v.SelectedStyle(), c.selectedStyle) << c.style;
        EXPECT_EQ(v.SelectedColour(), c.selectedColour) << c.colour;
        EXPECT_EQ(v.IsEnabled(C::ColorBox1), temperature) << c.style;
        EXPECT_FALSE(v.IsEnabled(C::Button1));
        EXPECT_FALSE(v.IsEnabled(C::Button4));
        EXPECT_TRUE(rig.view.IsEnabled(MenuItem::Install));
        EXPECT_TRUE(rig.Prefs().Towns.empty());
    }
}

TEST(PreferencesOpening, FillsSpanIconBalloonAndAutostartFromTheSettings) {
    struct Case {
        const char* span;
        const char* icon;
        const char* balloon;
        const char* autoload;
        PrefsChoice spanRadio, iconRadio, balloonRadio;
        bool ticked;
    };
    const Case cases[] = {
        {"День+ночь", "Облачность и осадки", "10", "true", R::RadioButton1, R::RadioButton3,
         R::RadioButton5, true},
        {"День", "Температура", "15", "false", R::RadioButton2, R::RadioButton4, R::RadioButton6,
         false},
        {"день+ночь", "облачность и осадки", "20", "TRUE", R::RadioButton2, R::RadioButton4,
         R::RadioButton7, false},
        {"x", "x", "25", "1", R::RadioButton2, R::RadioButton4, R::RadioButton7, false},
    };
    for (const Case& c : cases) {
        auto rig = Ready();
        TTraySettings& s = rig->S();
        s.viewFrcCheked = c.span;
        s.viewIconCheked = c.icon;
        s.breakBaloonCheked = c.balloon;
        s.autoloadChecked = c.autoload;
        FakePrefsView& v = rig->prefsView;
        // The opposite of what the opening must leave, so that only its handlers can fix it.
        const bool pictures = c.iconRadio == R::RadioButton3;
        for (C ctl : {C::Label7, C::ColorBox1}) v.SetEnabled(ctl, pictures);
        for (C ctl : {C::Label8, C::ComboBox2}) v.SetEnabled(ctl, !pictures);
        v.SetChecked(R::CheckBox1, !c.ticked);

        rig->Main().InstallClick();
        EXPECT_TRUE(v.shown) << c.span;
        EXPECT_FALSE(rig->view.IsEnabled(MenuItem::Install));
        EXPECT_TRUE(v.Checked(c.spanRadio)) << c.span;
        EXPECT_TRUE(v.Checked(c.iconRadio)) << c.icon;
        EXPECT_TRUE(v.Checked(c.balloonRadio)) << c.balloon;
        EXPECT_EQ(v.Checked(R::CheckBox1), c.ticked) << c.autoload;
        EXPECT_EQ(v.IsEnabled(C::Label7), !pictures) << c.icon;
        EXPECT_EQ(v.IsEnabled(C::ColorBox1), !pictures) << c.icon;
        EXPECT_EQ(v.IsEnabled(C::Label8), pictures) << c.icon;
        EXPECT_EQ(v.IsEnabled(C::ComboBox2), pictures) << c.icon;
    }
}

TEST(PreferencesOpening, ConnectionModesAndTheProxyFieldsOfAnEarlierOpening) {
    struct Case {
        const char* mode;
        PrefsChoice radio;
        bool fieldsEnabled;
        bool refilled;
    };
    const Case cases[] = {
        {"1", R::RadioButton8, false, false}, {"2", R::RadioButton9, false, false},
        {"3", R::RadioButton10, true, true},  {"0", R::RadioButton10, true, true},
        {"", R::RadioButton10, true, true},
    };
    const C edits[] = {C::Edit1, C::Edit2, C::Edit3, C::Edit4};
    const C fields[] = {C::Label3, C::Label4, C::Label5, C::Label6,
                        C::Edit1,  C::Edit2,  C::Edit3,  C::Edit4};
    const Lines stored = {"proxy.example", "3128", "кто", "секрет"};
    for (const Case& c : cases) {
        auto rig = Ready();
        TTraySettings& s = rig->S();
        s.stateConnectChecked = c.mode;
        s.ProxyServer = stored[0];
        s.ProxyPort = stored[1];
        s.userProxy = stored[2];
        s.passwdProxy = stored[3];
        FakePrefsView& v = rig->prefsView;
        for (C e : edits) v.SetEditText(e, "earlier");
        for (C f : fields) v.SetEnabled(f, !c.fieldsEnabled);

        rig->Main().InstallClick();
        EXPECT_TRUE(v.Checked(c.radio)) << c.mode;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(v.Edit(edits[i]), c.refilled ? stored[i] : "earlier") << c.mode << i;
        }
        for (C f : fields) EXPECT_EQ(v.IsEnabled(f), c.fieldsEnabled) << c.mode;
    }
}

TEST(PreferencesOpening, ProxyFieldsKeptInModeTwoAndLeftOutOfTheSettings) {
    auto rig = Ready();
    TTraySettings& s = rig->S();
    s.stateConnectChecked = "3";
    s.ProxyServer = "proxy.example";
    TForm2& f = rig->Prefs();
    rig->Main().InstallClick();
    ClickRadio(*rig, R::RadioButton9);
    f.Button1Click();
    EXPECT_EQ(s.stateConnectChecked, "2");
    EXPECT_EQ(s.ProxyServer, "proxy.example");

    rig->Main().InstallClick();
    FakePrefsView& v = rig->prefsView;
    EXPECT_TRUE(v.Checked(R::RadioButton9));
    EXPECT_EQ(v.Edit(C::Edit1), "proxy.example") << "kept from the first opening";
    EXPECT_FALSE(v.IsEnabled(C::Edit1));
    v.SetEditText(C::Edit1, "other.example");
    f.Button1Click();
    EXPECT_EQ(s.ProxyServer, "proxy.example");
}

TEST(PreferencesTownList, NoCopyDownloadsTheListAndItsCompletionLoadsIt) {
    auto rig = Ready("");
    rig->S().frcTownName = "пущино";
    rig->Main().InstallClick();
    FakePrefsView& v = rig->prefsView;
    ASSERT_EQ(rig->jobs.started, (std::vector<int>{kTownListJob}));
    EXPECT_EQ(rig->jobs.inputs[0].townListFileBase, "vlbartlistfull");
    EXPECT_EQ(v.TownText(), kLoading);
    EXPECT_FALSE(v.IsEnabled(C::Button1));

    rig->StoreTownList(kList);
    rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
    EXPECT_EQ(v.entries, (Lines{"Москва", "Киев", "Киев", "Энск", "Пущино"}));
    EXPECT_EQ(v.SelectedTownEntry(), 4);
    EXPECT_EQ(v.TownText(), "Пущино");
    EXPECT_TRUE(v.IsEnabled(C::Button1));
    EXPECT_TRUE(v.IsEnabled(C::Button4));
    ASSERT_EQ(rig->Prefs().Towns.size(), 5u);
    EXPECT_EQ(rig->Prefs().Towns[4], (TComboList{"Пущино", "01234", "Россия"}));
}

TEST(PreferencesTownList, AStoredCopyIsLoadedAtOnceWithTheTownSelectedInAnyCase) {
    struct Case {
        const char* town;
        int selected;
        const char* text;
    };
    const Case cases[] = {
        {"Москва", 0, "Москва"},
        {"мОСКВА", 0, "Москва"},
        {"КИЕВ", 1, "Киев"},
        {"Париж", -1, ""},
    };
    for (const Case& c : cases) {
        auto rig = Ready();
        rig->S().frcTownName = c.town;
        rig->journal.Clear();
        rig->Main().InstallClick();
        FakePrefsView& v = rig->prefsView;
        EXPECT_TRUE(rig->jobs.started.empty()) << c.town;
        EXPECT_EQ(v.entries.size(), 5u) << c.town;
        EXPECT_EQ(v.SelectedTownEntry(), c.selected) << c.town;
        EXPECT_EQ(v.TownText(), c.text) << c.town;
        EXPECT_TRUE(v.IsEnabled(C::Button1)) << c.town;
        EXPECT_TRUE(rig->journal.Has("files: read " + kListFile)) << c.town;
    }
}

TEST(PreferencesTownList, ALockedCopyIsDownloadedBesideItAndLoadedFromThere) {
    auto rig = Ready();
    rig->files.files[kListFile].locked = true;
    rig->Main().InstallClick();
    ASSERT_EQ(rig->jobs.started, (std::vector<int>{kTownListJob}));
    EXPECT_EQ(rig->jobs.inputs[0].townListFileBase, "vlbartlistfull1");
    EXPECT_EQ(rig->S().townListFileBase, "vlbartlistfull1");

    rig->StoreTownList("30000;Приморск;x;Украина;\r\n27612;Москва;x;Россия;", "vlbartlistfull1");
    rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
    EXPECT_EQ(rig->prefsView.entries, (Lines{"Приморск", "Москва"}));
    EXPECT_EQ(rig->prefsView.TownText(), "Москва");
}

TEST(PreferencesTownList, AnEarlierOpeningsJobStillRunningIsNotStartedAgain) {
    auto rig = Ready("");
    TForm1& main = rig->Main();
    main.InstallClick();
    rig->Prefs().Button2Click();
    rig->journal.Clear();
    main.InstallClick();
    FakePrefsView& v = rig->prefsView;
    EXPECT_EQ(rig->jobs.started.size(), 1u);
    EXPECT_EQ(rig->journal.With("files:"), Lines{}) << "the download is not judged again";
    EXPECT_EQ(v.TownText(), kLoading);
    EXPECT_FALSE(v.IsEnabled(C::Button1));

    rig->StoreTownList(kList);
    rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
    EXPECT_EQ(rig->jobs.started.size(), 1u) << "no second download afterwards either";
    EXPECT_EQ(v.entries.size(), 5u);
    EXPECT_EQ(v.TownText(), "Москва");
    EXPECT_TRUE(v.IsEnabled(C::Button1));
    // The list of this opening: OK takes a town of it.
    v.UserSelectsTown(1);
    rig->Prefs().Button1Click();
    EXPECT_EQ(rig->S().frcTownIndex, "33345");
}

TEST(PreferencesTownList, RefreshAlwaysDownloadsAndRestoresTheSelectionByName) {
    auto rig = Opened();
    FakePrefsView& v = rig->prefsView;
    v.UserSelectsTown(3);
    rig->S().frcTownName = "Киев";
    rig->journal.Clear();
    rig->Prefs().Button4Click();
    EXPECT_TRUE(v.entries.empty());
    EXPECT_FALSE(v.IsEnabled(C::Button4));
    EXPECT_FALSE(v.IsEnabled(C::Button1));
    EXPECT_EQ(v.TownText(), kLoading);
    EXPECT_EQ(rig->jobs.started, (std::vector<int>{kTownListJob})) << "although the copy is good";
    EXPECT_EQ(rig->journal.With("files:"), Lines{}) << "the copy is not consulted";

    rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
    EXPECT_EQ(v.SelectedTownEntry(), 1);
    EXPECT_EQ(v.TownText(), "Киев");
    EXPECT_TRUE(v.IsEnabled(C::Button4));
    EXPECT_TRUE(v.IsEnabled(C::Button1));
}

TEST(PreferencesTownList, LoadingEndsLoadedUnreadableOrEmpty) {
    struct Case {
        std::optional<std::string> file;  // nullopt: absent
        bool readError;
        const char* text;
        std::size_t entries;
    };
    const Case cases[] = {
        {kList, false, "Москва", 5},
        {std::nullopt, false, "Невозможно загрузить список городов", 0},
        {kList, true, "Невозможно загрузить список городов", 0},
        {"", false, "Список городов пуст", 0},
        {"\r\n", false, "", 1},
    };
    for (const Case& c : cases) {
        auto rig = Opened();
        rig->Prefs().Button4Click();
        rig->files.files.erase(kListFile);
        if (c.file) rig->StoreTownList(*c.file);
        if (c.readError) rig->files.files[kListFile].readError = true;
        rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
        FakePrefsView& v = rig->prefsView;
        EXPECT_EQ(v.TownText(), c.text) << c.text;
        EXPECT_EQ(v.entries.size(), c.entries) << c.text;
        EXPECT_EQ(rig->Prefs().Towns.size(), c.entries) << c.text;
        EXPECT_TRUE(v.IsEnabled(C::Button4)) << c.text;
        EXPECT_TRUE(v.IsEnabled(C::Button1)) << c.text;
    }
}

TEST(PreferencesTownList, AFailedJobsTextAndButton4ReachTheDialogBeforeJobDone) {
    const std::string noConnection = "Не удалось установить соединение с сервером погоды Vantorel";
    const std::string noFile = "Ошибка в доступе к файлу с списком городов";
    struct Case {
        std::optional<std::string> comboText;
        bool enableButton4;
        Lines journal;
    };
    const Case cases[] = {
        {noConnection,
         true,
         {"prefs: town text " + noConnection, "prefs: Button4 on", "menu: Update on",
          "prefs: Button1 on"}},
        {noFile,
         true,
         {"prefs: town text " + noFile, "prefs: Button4 on", "menu: Update on",
          "prefs: Button1 on"}},
        {std::nullopt, false, {"menu: Update on", "prefs: Button1 on"}},
    };
    for (const Case& c : cases) {
        auto rig = Opened();
        rig->Prefs().Button4Click();
        JobOutcome failed = ProgramRig::Outcome(kLastJobTownList, false);
        failed.comboText = c.comboText;
        failed.enableButton4 = c.enableButton4;
        rig->journal.Clear();
        rig->Finish(0, failed);
        EXPECT_EQ(rig->journal.entries, c.journal) << "no tray change, no load";
        FakePrefsView& v = rig->prefsView;
        EXPECT_EQ(v.TownText(), c.comboText.value_or(kLoading));
        EXPECT_EQ(v.IsEnabled(C::Button4), c.enableButton4);
        EXPECT_TRUE(v.entries.empty());
    }
}

// Steps 1 to 15 of OK, with a town whose forecast must be downloaded.
TEST(PreferencesOk, RunsItsStepsInOrder) {
    auto rig = Opened();
    TForm2& f = rig->Prefs();
    rig->prefsView.UserSelectsTown(1);
    rig->journal.Clear();
    rig->profile.writeLog.clear();
    f.Button1Click();
    const Lines expected = {
        "prefs: hide",
        "menu: Install on",
        "menu: AboutTray on",
        "tray: Modify",
        "menu: Install on",
        "registry: HKLM open write",
        "registry: HKLM query VantorelTray",
        "registry: HKLM set VantorelTray=C:\\Apps\\Tray\\vantoreltray.exe",
        "registry: HKLM flush",
        "registry: HKLM close",
        "registry: HKCU open write",
        "registry: HKCU query VantorelTray",
        "registry: HKCU flush",
        "registry: HKCU close",
        "files: exists C:\\Apps\\Tray\\33345.txt",
        "jobs: launch 0",
        "profile: write frc/frcTownName=Киев",
        "profile: write frc/frcTownIndex=33345",
        "profile: write frc/frcCountryName=Украина",
        "profile: write settings/viewFrcCheked=День+ночь",
        "profile: write settings/viewIconCheked=Облачность и осадки",
        "profile: write settings/breakBaloonCheked=10",
        "profile: write settings/autoloadChecked=true",
        "profile: write settings/stateConnectChecked=2",
        "profile: write settings/ProxyServer=",
        "profile: write settings/ProxyPort=",
        "profile: write settings/userProxy=",
        "profile: write settings/passwdProxy=",
        "profile: write settings/picOnIconStyle=1",
    };
    EXPECT_EQ(rig->journal.entries, expected);
    const FakeTray::Call& pref = rig->tray.calls.back();
    EXPECT_EQ(pref.image.picture, kNeutralPicture);
    EXPECT_EQ(pref.data.szTip, kClick);
    EXPECT_EQ(pref.data.uFlags, kTipFlags) << "no balloon for the pref display";
    EXPECT_TRUE(rig->S().balloonRequested);
    EXPECT_EQ(rig->Main().frc.trayText, kPleaseWaitText);
    EXPECT_TRUE(f.Towns.empty());
    EXPECT_FALSE(rig->prefsView.shown);
    EXPECT_TRUE(rig->view.errors.empty());

    // The download's display shows the balloon that OK asked for.
    rig->StoreForecast("33345");
    rig->Finish(0, ProgramRig::Outcome(kLastJobForecast, true));
    EXPECT_EQ(rig->tray.calls.back().data.uFlags, 0x13u);
    EXPECT_EQ(rig->tray.calls.back().data.szInfoTitle, "Vantorel: Прогноз погоды. Киев");
    EXPECT_FALSE(rig->S().balloonRequested);
}

TEST(PreferencesOk, AStoredForecastIsShownAtOnceWithTheBalloon) {
    auto rig = Opened();
    rig->journal.Clear();
    rig->Prefs().Button1Click();
    const Lines refresh = {
        "files: exists C:\\Apps\\Tray\\27612.txt",
        "files: open C:\\Apps\\Tray\\27612.txt",
        "files: read C:\\Apps\\Tray\\27612.txt",
    };
    EXPECT_EQ(rig->journal.With("files:"), refresh);
    EXPECT_EQ(rig->journal.With("tray:"), (Lines{"tray: Modify", "tray: Modify"}));
    EXPECT_TRUE(rig->jobs.started.empty());
    const FakeTray::Call& shown = rig->tray.calls.back();
    EXPECT_EQ(shown.data.uFlags, 0x13u);
    EXPECT_EQ(shown.data.szInfoTitle, "Vantorel: Прогноз погоды. Москва");
    EXPECT_FALSE(rig->S().balloonRequested);
    // The display precedes the settings file.
    const auto& e = rig->journal.entries;
    EXPECT_EQ(e[e.size() - 14], "tray: Modify");
    EXPECT_EQ(rig->journal.With("profile:").size(), 13u);
}

TEST(PreferencesOk, StoresTheChoicesOfTheDialog) {
    struct Case {
        std::vector<PrefsChoice> clicks;
        bool ticked;
        const char* span;
        const char* icon;
        const char* balloon;
        const char* autoload;
        Colour colour;
        const char* style;
        const char* written;     // the one of the two keys written
        const char* notWritten;  // the other
    };
    const auto rb = [](std::initializer_list<PrefsChoice> l) {
        return std::vector<PrefsChoice>(l);
    };
    const Case cases[] = {
        {rb({}), true, "День+ночь", "Облачность и осадки", "20", "true", 0, "0",
         "settings/picOnIconStyle=0", "settings/viewIconColor"},
        {rb({R::RadioButton2, R::RadioButton4, R::RadioButton5}), false, "День", "Температура",
         "10", "false", kRed, "1", "settings/viewIconColor=clRed", "settings/picOnIconStyle"},
        {rb({R::RadioButton6}), true, "День+ночь", "Облачность и осадки", "15", "true", 0, "0",
         "settings/picOnIconStyle=0", "settings/viewIconColor"},
        {rb({R::RadioButton4, R::RadioButton7}), true, "День+ночь", "Температура", "20", "true",
         kRed, "1", "settings/viewIconColor=clRed", "settings/picOnIconStyle"},
    };
    for (const Case& c : cases) {
        auto rig = Ready();
        rig->S().breakBaloonCheked = "25";
        rig->Main().InstallClick();
        FakePrefsView& v = rig->prefsView;
        // Both boxes changed: only the one of the chosen icon type is taken.
        v.SelectColour(kRed);
        v.SelectStyle(0);
        for (PrefsChoice r : c.clicks) ClickRadio(*rig, r);
        v.SetChecked(R::CheckBox1, c.ticked);
        rig->profile.writeLog.clear();
        rig->Prefs().Button1Click();
        const TTraySettings& s = rig->S();
        const std::string row = c.written;
        EXPECT_EQ(s.viewFrcCheked, c.span) << row;
        EXPECT_EQ(s.viewIconCheked, c.icon) << row;
        EXPECT_EQ(s.breakBaloonCheked, c.balloon) << row;
        EXPECT_EQ(s.autoloadChecked, c.autoload) << row;
        EXPECT_EQ(s.viewIconColor, c.colour) << row;
        EXPECT_EQ(s.picOnIconStyle, c.style) << row;
        const Lines& log = rig->profile.writeLog;
        EXPECT_NE(std::find(log.begin(), log.end(), c.written), log.end()) << row;
        for (const std::string& line : log) EXPECT_NE(line.rfind(c.notWritten, 0), 0u) << row;
        EXPECT_NE(std::find(log.begin(), log.end(),
                            std::string("settings/breakBaloonCheked=") + c.balloon),
                  log.end())
            << row;
        const auto machine = rig->registry.Data(RegistryRoot::LocalMachine, kRunKey, kRunValueName);
        EXPECT_EQ(machine.has_value(), c.ticked) << row;
    }
}

TEST(PreferencesOk, TakesOnlyATownOfThisOpeningsListWithASafeIndex) {
    struct Case {
        const char* name;
        int select;
        std::optional<std::string> typed;
        const char* index;
        const char* town;
        const char* country;
    };
    const Case cases[] = {
        {"the selected town", 1, std::nullopt, "33345", "Киев", "Украина"},
        {"the selected one of two namesakes", 2, std::nullopt, "12345", "Киев", "Россия"},
        {"typed, another entry in any case: the first such", 0, "кИЕВ", "33345", "Киев", "Украина"},
        {"typed differently from the selected namesake", 2, "КИЕВ", "33345", "Киев", "Украина"},
        {"a four-digit index completed", 4, std::nullopt, "01234", "Пущино", "Россия"},
        {"text matching nothing", 1, "Париж", "27612", "Москва", "Россия"},
        {"an empty text", -1, std::nullopt, "27612", "Москва", "Россия"},
        {"an index with a letter", 3, std::nullopt, "27612", "Москва", "Россия"},
        {"typed, an index with a letter", 0, "энск", "27612", "Москва", "Россия"},
    };
    for (const Case& c : cases) {
        auto rig = Opened();
        FakePrefsView& v = rig->prefsView;
        v.UserSelectsTown(c.select);
        if (c.typed) v.UserTypes(*c.typed);
        rig->Prefs().Button1Click();
        const TTraySettings& s = rig->S();
        EXPECT_EQ(s.frcTownIndex, c.index) << c.name;
        EXPECT_EQ(s.frcTownName, c.town) << c.name;
        EXPECT_EQ(s.frcCountryName, c.country) << c.name;
        EXPECT_EQ(rig->profile.Read("frc", "frcTownIndex"), c.index) << c.name;
        EXPECT_TRUE(rig->Prefs().Towns.empty()) << c.name;
    }
}

TEST(PreferencesOk, AOneLineListIsShownButNotTaken) {
    auto rig = Opened("33345;Киев;x;Украина;\r\n");
    FakePrefsView& v = rig->prefsView;
    EXPECT_EQ(v.entries, (Lines{"Киев"}));
    v.UserSelectsTown(0);
    rig->Prefs().Button1Click();
    EXPECT_EQ(rig->S().frcTownIndex, "27612");
    EXPECT_EQ(rig->S().frcTownName, "Москва");
}

// The close box keeps Towns; a forecast job then enables OK while the next opening's list is
// still being downloaded, and the box still shows the earlier entries.
TEST(PreferencesOk, EnabledByAForecastJobBeforeTheListLoadedKeepsTheTown) {
    auto rig = Opened();
    FakePrefsView& v = rig->prefsView;
    v.HideForm();
    rig->Prefs().FormClose();
    rig->files.files.erase(kListFile);
    rig->Main().InstallClick();
    ASSERT_EQ(rig->jobs.started, (std::vector<int>{kTownListJob}));
    rig->Main().UpdateClick();
    rig->Finish(1, ProgramRig::Outcome(kLastJobForecast, true));
    ASSERT_TRUE(v.IsEnabled(C::Button1));
    ASSERT_EQ(v.entries.size(), 5u);
    v.UserSelectsTown(1);
    rig->Prefs().Button1Click();
    EXPECT_EQ(rig->S().frcTownIndex, "27612");
    EXPECT_EQ(rig->S().frcTownName, "Москва");
}

TEST(PreferencesOk, ProxyTextsLoseLineBreaksAndWhatTheCodePageCannotHold) {
    struct Case {
        PrefsControl edit;
        std::string typed, stored, key;
        std::string TTraySettings::*field;
    };
    const Case cases[] = {
        {C::Edit1, "proxy\r\n.example", "proxy.example", "ProxyServer",
         &TTraySettings::ProxyServer},
        {C::Edit2, "\r8080\n", "8080", "ProxyPort", &TTraySettings::ProxyPort},
        {C::Edit3, "и в а н\tЁё", "и в а н\tЁё", "userProxy", &TTraySettings::userProxy},
        {C::Edit4, "€\r\r中;=\n😀", "€?;=?", "passwdProxy", &TTraySettings::passwdProxy},
    };
    auto rig = Opened();
    ClickRadio(*rig, R::RadioButton10);
    for (const Case& c : cases) rig->prefsView.SetEditText(c.edit, c.typed);
    rig->Prefs().Button1Click();
    EXPECT_EQ(rig->S().stateConnectChecked, "3");
    for (const Case& c : cases) {
        EXPECT_EQ(rig->S().*c.field, c.stored) << c.key;
        EXPECT_EQ(rig->profile.Read("settings", c.key), c.stored) << c.key;
    }
}

// An error at step 12 ends OK there: the town and the choices of steps 5-11 are in Settings,
// the connection, the refresh and the settings file are not done.
TEST(PreferencesOk, AnAutostartErrorEndsOkAtStep12) {
    struct Case {
        const char* name;
        bool plantDword;
        bool keysWritable;
        const char* error;
    };
    const Case cases[] = {
        {"a value that is not a string", true, true, "Invalid data type for 'VantorelTray'"},
        {"no Run key writable", false, false, "Failed to set data for 'VantorelTray'"},
    };
    for (const Case& c : cases) {
        auto rig = Opened();
        auto& machine = rig->registry.At(RegistryRoot::LocalMachine, kRunKey);
        if (c.plantDword) machine.values[kRunValueName] = {false, ""};
        machine.writable = c.keysWritable;
        rig->registry.At(RegistryRoot::CurrentUser, kRunKey).writable = c.keysWritable;
        FakePrefsView& v = rig->prefsView;
        v.UserSelectsTown(1);
        ClickRadio(*rig, R::RadioButton2);
        ClickRadio(*rig, R::RadioButton10);
        v.SetEditText(C::Edit1, "proxy.example");
        rig->journal.Clear();
        const std::size_t writes = rig->profile.writeLog.size();

        const Lines shown = Shown<AutostartError>([&] { rig->Prefs().Button1Click(); });
        EXPECT_EQ(shown, Lines{c.error}) << c.name;
        EXPECT_TRUE(rig->view.errors.empty()) << c.name << ": shown by the handler only";
        const TTraySettings& s = rig->S();
        EXPECT_EQ(s.frcTownIndex, "33345") << c.name;
        EXPECT_EQ(s.viewFrcCheked, "День") << c.name;
        EXPECT_EQ(s.autoloadChecked, "true") << c.name;
        EXPECT_TRUE(s.balloonRequested) << c.name;
        EXPECT_EQ(s.stateConnectChecked, "2") << c.name << ": step 13 not done";
        EXPECT_EQ(s.ProxyServer, "") << c.name;
        EXPECT_EQ(rig->journal.With("files:"), Lines{}) << c.name << ": step 14 not done";
        EXPECT_EQ(rig->journal.With("jobs:"), Lines{}) << c.name;
        EXPECT_EQ(rig->journal.With("profile:"), Lines{}) << c.name << ": step 15 not done";
        EXPECT_EQ(rig->profile.writeLog.size(), writes) << c.name;
        EXPECT_EQ(rig->registry.openKeys, 0) << c.name;
        EXPECT_EQ(rig->journal.entries.back().rfind("registry: ", 0), 0u) << c.name;
        EXPECT_TRUE(rig->view.IsEnabled(MenuItem::Install)) << c.name;
    }
}

TEST(PreferencesOk, ASettingsFileErrorEndsOkAtStep15AfterTheRefresh) {
    auto rig = Opened();
    rig->prefsView.UserSelectsTown(1);
    ClickRadio(*rig, R::RadioButton10);
    rig->prefsView.SetEditText(C::Edit1, "proxy.example");
    rig->profile.failWritesFrom = rig->profile.writes + 2;
    rig->journal.Clear();

    const Lines shown = Shown<SettingsWriteError>([&] { rig->Prefs().Button1Click(); });
    EXPECT_EQ(shown, Lines{"Unable to write to C:\\Apps\\Tray\\vantoreltray.ini"});
    EXPECT_TRUE(rig->view.errors.empty());
    const Lines profile = {
        "profile: write frc/frcTownName=Киев",
        "profile: write frc/frcTownIndex=33345",
        "profile: write frc/frcCountryName failed",
    };
    EXPECT_EQ(rig->journal.With("profile:"), profile) << "nothing after the failing write";
    EXPECT_EQ(rig->journal.entries.back(), profile.back());
    EXPECT_TRUE(rig->journal.Has("jobs: launch 0")) << "step 14 done";
    EXPECT_EQ(rig->S().stateConnectChecked, "3");
    EXPECT_EQ(rig->S().ProxyServer, "proxy.example");
    EXPECT_EQ(rig->S().frcTownIndex, "33345");
}

TEST(PreferencesOk, WhileAForecastJobRunsStep14AsksForAFollowUpInsteadOfReadingTheFile) {
    auto rig = std::make_unique<ProgramRig>();
    rig->StoreTownList(kList);
    rig->Start();
    ASSERT_EQ(rig->jobs.started, (std::vector<int>{kForecastJob})) << "the start-up download";
    rig->Main().InstallClick();
    rig->prefsView.UserSelectsTown(1);
    rig->journal.Clear();
    rig->Prefs().Button1Click();
    EXPECT_EQ(rig->journal.With("files:"), Lines{});
    EXPECT_EQ(rig->jobs.started.size(), 1u);
    EXPECT_TRUE(rig->S().balloonRequested);
    EXPECT_EQ(rig->journal.With("profile:").size(), 13u);

    // The earlier town's job ends: not shown, and the follow-up fetches the new town.
    rig->StoreForecast("27612");
    rig->Finish(0, ProgramRig::Outcome(kLastJobForecast, true));
    ASSERT_EQ(rig->jobs.started.size(), 2u);
    EXPECT_EQ(rig->jobs.inputs[1].townIndex, "33345");
    EXPECT_EQ(rig->jobs.inputs[1].frcFileBase, "33345") << "the new town's own file";
    EXPECT_TRUE(rig->S().balloonRequested);

    rig->StoreForecast("33345");
    rig->Finish(1, ProgramRig::Outcome(kLastJobForecast, true));
    EXPECT_TRUE(rig->journal.Has("files: read C:\\Apps\\Tray\\33345.txt"));
    EXPECT_EQ(rig->tray.calls.back().data.uFlags, 0x13u);
    EXPECT_EQ(rig->tray.calls.back().data.szInfoTitle, "Vantorel: Прогноз погоды. Киев");
}

TEST(PreferencesCancel, KeepsTheSettingsAndTheColourChosenInTheDialog) {
    auto rig = Opened();
    FakePrefsView& v = rig->prefsView;
    const TTraySettings before = rig->S();
    v.UserSelectsTown(1);
    ClickRadio(*rig, R::RadioButton2);
    ClickRadio(*rig, R::RadioButton4);
    v.SelectColour(kRed);
    v.SelectStyle(0);
    ClickRadio(*rig, R::RadioButton10);
    v.SetEditText(C::Edit1, "proxy.example");
    rig->journal.Clear();
    rig->Prefs().Button2Click();
    EXPECT_EQ(rig->journal.entries,
              (Lines{"prefs: hide", "menu: Install on", "menu: AboutTray on", "menu: Install on"}));
    EXPECT_TRUE(rig->Prefs().Towns.empty());
    const TTraySettings& s = rig->S();
    EXPECT_EQ(s.frcTownIndex, before.frcTownIndex);
    EXPECT_EQ(s.viewFrcCheked, before.viewFrcCheked);
    EXPECT_EQ(s.viewIconCheked, before.viewIconCheked);
    EXPECT_EQ(s.viewIconColor, before.viewIconColor);
    EXPECT_EQ(s.picOnIconStyle, before.picOnIconStyle);
    EXPECT_EQ(s.stateConnectChecked, before.stateConnectChecked);
    EXPECT_EQ(s.ProxyServer, before.ProxyServer);

    rig->Main().InstallClick();
    EXPECT_TRUE(v.Checked(R::RadioButton1)) << "refilled from the settings";
    EXPECT_TRUE(v.Checked(R::RadioButton3));
    EXPECT_EQ(v.SelectedColour(), kRed) << "the colour box keeps the last choice";
    EXPECT_EQ(v.SelectedStyle(), 0);
    ClickRadio(*rig, R::RadioButton4);
    rig->Prefs().Button1Click();
    EXPECT_EQ(s.viewIconColor, kRed);
    EXPECT_EQ(rig->profile.Read("settings", "viewIconColor"), "clRed");
}

TEST(PreferencesClose, TheCloseBoxOnlyEnablesTheMenuItems) {
    auto rig = Opened();
    rig->prefsView.UserSelectsTown(1);
    ClickRadio(*rig, R::RadioButton2);
    rig->Main().AboutTrayClick();
    rig->journal.Clear();
    rig->Prefs().FormClose();
    EXPECT_EQ(rig->journal.entries, (Lines{"menu: Install on", "menu: AboutTray on"}));
    EXPECT_EQ(rig->S().frcTownIndex, "27612");
    EXPECT_EQ(rig->S().viewFrcCheked, "День+ночь");
    EXPECT_EQ(rig->Prefs().Towns.size(), 5u);
}

}  // namespace
}  // namespace vt
