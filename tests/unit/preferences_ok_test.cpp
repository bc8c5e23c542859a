#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/errors.h"
#include "preferences_rig.h"

namespace vt {
namespace {

using namespace vt::test;

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
        "prefs: town entries 0",
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

// Lines without a name load and show, but OK never takes a town it could not name: the next
// start would show that index under the default town's name.
TEST(PreferencesOk, NeverTakesANamelessEntry) {
    struct Case {
        const char* name;
        int select;
        std::optional<std::string> typed;
    };
    const Case cases[] = {
        {"the current town not in the list", -1, std::nullopt},
        {"the nameless entry selected", 1, std::nullopt},
        {"the box text cleared", 0, ""},
        {"the box text cleared after selecting another", 2, ""},
    };
    for (const Case& c : cases) {
        auto rig = Ready("33344;Омск;x;Россия;\r\n33345;\r\n27612;Москва\r\n");
        rig->S().frcTownName = "Тверь";
        rig->Main().InstallClick();
        FakePrefsView& v = rig->prefsView;
        ASSERT_EQ(v.entries, (Lines{"Омск", "", ""})) << c.name;
        v.UserSelectsTown(c.select);
        if (c.typed) v.UserTypes(*c.typed);
        rig->Prefs().Button1Click();
        EXPECT_EQ(rig->S().frcTownIndex, "27612") << c.name;
        EXPECT_EQ(rig->S().frcTownName, "Тверь") << c.name;
        EXPECT_EQ(rig->profile.Read("frc", "frcTownIndex"), "27612") << c.name;
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

// A forecast job enables OK while the next opening's list is still being downloaded: the box
// holds no town of this opening, and OK keeps the town.
TEST(PreferencesOk, EnabledByAForecastJobBeforeTheListLoadedKeepsTheTown) {
    auto rig = Opened();
    FakePrefsView& v = rig->prefsView;
    rig->Prefs().CloseBoxClick();
    rig->files.files.erase(kListFile);
    rig->Main().InstallClick();
    ASSERT_EQ(rig->jobs.started, (std::vector<int>{kTownListJob}));
    rig->Main().UpdateClick();
    rig->Finish(1, ProgramRig::Outcome(kLastJobForecast, true));
    ASSERT_TRUE(v.IsEnabled(C::Button1));
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

// OK is enabled again after every job, whatever its end: also after a forecast job of a town
// OK has since replaced, and while the dialog is closed.
TEST(PreferencesOk, EveryForecastJobEnablesOkWhateverItsEnd) {
    struct Case {
        const char* name;
        int town;  // chosen before OK: 0 keeps Москва, 1 replaces it
        bool dialogClosed, ok;
    };
    const Case cases[] = {
        {"delivered, dialog open", 0, false, true},
        {"failed, dialog closed", 0, true, false},
        {"delivered, dialog closed", 0, true, true},
        {"superseded by another town, dialog open", 1, false, true},
        {"superseded by another town, dialog closed", 1, true, false},
    };
    for (const Case& c : cases) {
        auto rig = Opened();
        FakePrefsView& v = rig->prefsView;
        rig->Main().UpdateClick();
        v.UserSelectsTown(c.town);
        rig->Prefs().Button1Click();
        // The next opening downloads the list again, so OK waits.
        rig->files.files.erase(kListFile);
        rig->Main().InstallClick();
        ASSERT_FALSE(v.IsEnabled(C::Button1)) << c.name;
        if (c.dialogClosed) rig->Prefs().CloseBoxClick();
        rig->Finish(0, ProgramRig::Outcome(kLastJobForecast, c.ok));
        EXPECT_TRUE(v.IsEnabled(C::Button1)) << c.name;
    }
}

}  // namespace
}  // namespace vt
