#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "preferences_rig.h"

namespace vt {
namespace {

using namespace vt::test;

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
    EXPECT_EQ(rig->journal.entries, (Lines{"prefs: hide", "menu: Install on", "menu: AboutTray on",
                                           "menu: Install on", "prefs: town entries 0"}));
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
    EXPECT_EQ(rig->Prefs().Towns.size(), 5u) << "kept until the dialog is hidden";
}

// However the dialog is hidden, it holds no town list; the next opening loads it again.
TEST(PreferencesClose, HidingTheDialogReleasesTheTownList) {
    struct Case {
        const char* name;
        void (TForm2::*hide)();
    };
    const Case cases[] = {
        {"OK", &TForm2::Button1Click},
        {"Cancel", &TForm2::Button2Click},
        {"the close box", &TForm2::CloseBoxClick},
    };
    for (const Case& c : cases) {
        auto rig = Opened();
        FakePrefsView& v = rig->prefsView;
        ASSERT_EQ(v.entries.size(), 5u) << c.name;
        (rig->Prefs().*c.hide)();
        EXPECT_FALSE(v.shown) << c.name;
        EXPECT_TRUE(v.entries.empty()) << c.name;
        EXPECT_EQ(rig->Prefs().Towns.capacity(), 0u) << c.name;
        rig->Main().InstallClick();
        EXPECT_EQ(v.entries.size(), 5u) << c.name << ": loaded again";
    }
}

}  // namespace
}  // namespace vt
