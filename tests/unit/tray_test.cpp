#include <gtest/gtest.h>

#include "app/links.h"
#include "app/service_config.h"
#include "app/tray_decision.h"
#include "forms/main_form.h"
#include "main_form_rig.h"

namespace vt {
namespace {

using namespace vt::test;

TEST(DecideTrayUpdate, TheRulesOfEachStateAndVersion) {
    struct Case {
        const char* state;
        bool balloon;
        int winMajor;
        TrayMessage message;
        std::uint32_t flags;
        const char* tip;
        const char* info;
        const char* title;
        std::uint32_t infoFlags;
        int picture;
    };
    const char* click = "Vantorel: Щелкните для просмотра прогноза погоды";
    const char* title = "Vantorel: Прогноз погоды. Москва";
    const auto A = TrayMessage::Add;
    const auto M = TrayMessage::Modify;
    const Case cases[] = {
        {"FormCreate", false, 5, A, 7, "T", "", "", 1, 9},
        {"FormCreate", true, 5, A, 7, "T", "", "", 1, 9},
        {"FormCreate", false, 4, A, 7, "T", "", "", 1, 9},
        {"Prognoz", true, 5, M, 0x13, "prev", "T", title, 1, 2},
        {"Error", true, 5, M, 0x13, "prev", "T", title, 3, 9},
        {"pref", true, 5, M, 0x13, "prev", "T", title, 1, 2},
        {"Prognoz", false, 5, M, 7, click, "", "", 1, 2},
        {"Error", false, 5, M, 7, click, "", "", 1, 9},
        {"pref", false, 5, M, 7, click, "", "", 1, 9},
        {"Prognoz", false, 4, M, 0x55, "Москва: S", "", "", 0x66, 2},
        {"Prognoz", true, 4, M, 0x55, "Москва: S", "", "", 0x66, 2},
        {"Error", false, 4, M, 0x55, "T", "", "", 0x66, 9},
        {"pref", false, 4, M, 0x55, "T", "", "", 0x66, 9},
        {"Prognoz", true, 3, M, 0x55, "prev", "", "", 0x66, 9},
    };
    for (const auto& c : cases) {
        TTraySettings settings;
        settings.frcTownName = "Москва";
        settings.balloonRequested = c.balloon;
        settings.winMajor = c.winMajor;
        settings.breakBaloonCheked = "10";
        TFrcBaloonAndIcon frc;
        frc.trayText = "T";
        frc.shortText = "S";
        frc.iconPicture = 3;
        frc.iconPictureFromRecord = true;
        TrayData previous;
        previous.szTip = "prev";
        previous.uFlags = 0x55;
        previous.dwInfoFlags = 0x66;
        const TrayUpdate u = DecideTrayUpdate(c.state, previous, settings, frc);
        const std::string where =
            std::string(c.state) + (c.balloon ? " balloon " : " ") + std::to_string(c.winMajor);
        EXPECT_EQ(u.message, c.message) << where;
        EXPECT_EQ(u.data.uFlags, c.flags) << where;
        EXPECT_EQ(u.data.szTip, c.tip) << where;
        EXPECT_EQ(u.data.szInfo, c.info) << where;
        EXPECT_EQ(u.data.szInfoTitle, c.title) << where;
        EXPECT_EQ(u.data.dwInfoFlags, c.infoFlags) << where;
        EXPECT_EQ(u.data.uCallbackMessage, kWmTrayIcon) << where;
        EXPECT_EQ(u.data.uTimeout, 10000u) << where;
        EXPECT_EQ(u.image.picture, c.picture) << where;
    }
}

TEST(DecideTrayUpdate, TextsAreCutAtTheirLimitsInCharacters) {
    TTraySettings settings;
    settings.winMajor = 5;
    settings.balloonRequested = true;
    for (int i = 0; i < 50; ++i) settings.frcTownName += "ж";
    TFrcBaloonAndIcon frc;
    for (int i = 0; i < 30; ++i) frc.trayText += "Погода ";  // 210 characters
    frc.trayText += frc.trayText;
    const TrayUpdate balloon = DecideTrayUpdate("Prognoz", {}, settings, frc);
    EXPECT_EQ(CharCount(balloon.data.szInfo), 255u);
    EXPECT_EQ(balloon.data.szInfo, CutToChars(frc.trayText, 255));
    EXPECT_EQ(CharCount(balloon.data.szInfoTitle), 63u);

    settings.winMajor = 4;
    const TrayUpdate tip = DecideTrayUpdate("Error", {}, settings, frc);
    EXPECT_EQ(CharCount(tip.data.szTip), 127u);
}

TEST(BalloonTimeoutMs, SecondsOrTen) {
    EXPECT_EQ(BalloonTimeoutMs("15"), 15000u);
    EXPECT_EQ(BalloonTimeoutMs("20"), 20000u);
    EXPECT_EQ(BalloonTimeoutMs("abc"), 10000u);
    EXPECT_EQ(BalloonTimeoutMs(""), 10000u);
    EXPECT_EQ(BalloonTimeoutMs("-5"), 10000u);
}

TEST(DecideTrayUpdate, TemperatureModeShowsDigitsOnlyForAForecast) {
    TTraySettings settings;
    settings.winMajor = 5;
    settings.viewIconCheked = "Температура";
    settings.viewIconColor = 0x0000FF;
    TFrcBaloonAndIcon frc;
    frc.iconTempText = "-5";
    frc.iconPicture = 7;
    frc.iconPictureFromRecord = true;
    EXPECT_TRUE(DecideTrayUpdate("Prognoz", {}, settings, frc).image.drawTemperature);
    EXPECT_EQ(DecideTrayUpdate("Prognoz", {}, settings, frc).image.temperatureText, "-5");
    EXPECT_FALSE(DecideTrayUpdate("Error", {}, settings, frc).image.drawTemperature);
    EXPECT_FALSE(DecideTrayUpdate("FormCreate", {}, settings, frc).image.drawTemperature);
    EXPECT_FALSE(DecideTrayUpdate("pref", {}, settings, frc).image.drawTemperature);
    frc.iconTempText.clear();
    EXPECT_EQ(DecideTrayUpdate("Prognoz", {}, settings, frc).image.picture, 6);
}

TEST(Links, EveryAddressGoesThroughTheClickCounter) {
    ServiceConfig service;
    service.source = WeatherSource::Service;
    const std::string counter = "http://127.0.0.1:8717/r.php?cl+TRAY+";
    struct Case {
        MenuItem item;
        const char* target;
    };
    const Case cases[] = {
        {MenuItem::News, "http://127.0.0.5:8717"},
        {MenuItem::ICQ, "http://127.0.0.6:8717"},
        {MenuItem::Map, "http://127.0.0.3:8717/maps.htm"},
        {MenuItem::Avia, "http://127.0.0.7:8717"},
        {MenuItem::Auto, "http://127.0.0.8:8717"},
        {MenuItem::Month, "http://127.0.0.9:8717"},
        {MenuItem::Tourism, "http://127.0.0.10:8717"},
    };
    for (const auto& c : cases) EXPECT_EQ(MenuLink(service, c.item), counter + c.target);
    EXPECT_EQ(MenuLink(service, MenuItem::Update), std::nullopt);
    // The open forecast API has no sections of a site.
    for (const auto& c : cases) EXPECT_EQ(MenuLink(ServiceConfig(), c.item), std::nullopt);

    TTraySettings settings;
    settings.frcTownIndex = "27612";
    settings.frcCountryName = "Россия";
    EXPECT_EQ(TownPageLink(service, settings), counter + "http://127.0.0.3:8717/towns/27612.htm");
    settings.frcTownIndex = "33345";
    settings.frcCountryName = "Украина";
    EXPECT_EQ(TownPageLink(service, settings), counter + "http://127.0.0.4:8717/towns/33345.htm");
    settings.frcCountryName = "украина";
    EXPECT_EQ(TownPageLink(service, settings), counter + "http://127.0.0.3:8717/towns/33345.htm");
}

class TrayCallbackTest : public ::testing::Test, public MainFormRig {
  protected:
    TForm1& Start(int major) {
        system.major = major;
        clock.now = {2007, 12, 15, 9, 0, 0, 0};
        files.files[system.folder + "27612.txt"] = {"-1", {2007, 12, 15, 8, 0, 0, 0}, false, false};
        return MainFormRig::Start();
    }
};

TEST_F(TrayCallbackTest, ALeftPressShowsOneBalloonOnVersionFive) {
    TForm1& form = Start(10);
    const std::size_t before = tray.calls.size();
    form.TrayCallback(0x201);
    ASSERT_EQ(tray.calls.size(), before + 1);
    EXPECT_EQ(tray.calls.back().data.uFlags, kBalloonFlags);
    EXPECT_EQ(tray.calls.back().data.szInfoTitle, "Vantorel: Прогноз погоды. Москва");
    EXPECT_FALSE(form.Settings.balloonRequested);
    form.UpdateTrayIcon("Prognoz");
    EXPECT_EQ(tray.calls.back().data.uFlags, kTipFlags) << "a later update shows no balloon";
    EXPECT_TRUE(desktop.links.empty());
}

TEST_F(TrayCallbackTest, ASecondStartShowsTheBalloon) {
    TForm1& form = Start(10);
    form.ShowBalloon();
    EXPECT_EQ(tray.calls.back().data.uFlags, kBalloonFlags);
    EXPECT_EQ(tray.calls.back().data.szInfoTitle, "Vantorel: Прогноз погоды. Москва");
    EXPECT_TRUE(desktop.links.empty());
}

TEST_F(TrayCallbackTest, MouseMessagesOnVersionFour) {
    TForm1& form = Start(4);
    const FakeDesktop::Link town{
        "Open", "http://127.0.0.1:8717/r.php?cl+TRAY+http://127.0.0.3:8717/towns/27612.htm",
        ShowCommand::Restore};
    form.TrayCallback(0x201);
    form.TrayCallback(0x203);
    EXPECT_EQ(desktop.links, (std::vector<FakeDesktop::Link>{town, town}));
    form.TrayCallback(0x204);
    EXPECT_EQ(desktop.popups, 1);
    const std::size_t calls = tray.calls.size();
    form.TrayCallback(0x200);
    form.TrayCallback(0x405);
    EXPECT_EQ(tray.calls.size(), calls);
    EXPECT_EQ(desktop.links.size(), 2u);
}

TEST_F(TrayCallbackTest, MenuItemsOpenTheirLinks) {
    TForm1& form = Start(10);
    form.MenuClick(MenuItem::Map);
    form.MenuClick(MenuItem::Frc);
    ASSERT_EQ(desktop.links.size(), 2u);
    EXPECT_EQ(desktop.links[0].verb, "open");
    EXPECT_EQ(desktop.links[0].show, ShowCommand::ShowNormal);
    EXPECT_EQ(desktop.links[1].address,
              "http://127.0.0.1:8717/r.php?cl+TRAY+http://127.0.0.3:8717/towns/27612.htm");
    form.MenuClick(MenuItem::Update);
    EXPECT_EQ(jobs.started, (std::vector<int>{kForecastJob}));
    EXPECT_FALSE(view.IsEnabled(MenuItem::Update));
    EXPECT_TRUE(view.timer) << "the menu's refresh leaves the timer on";
    form.MenuClick(MenuItem::ExitTray);
    EXPECT_EQ(tray.removes, 1);
}

TEST_F(TrayCallbackTest, TheIconComesBackWhenTheShellRestarts) {
    TForm1& form = Start(10);
    form.TrayCallback(0x201);  // last display was a balloon
    const std::string state = form.frc.trayState;
    view.timerLog.clear();
    form.ShellRestarted();
    EXPECT_EQ(tray.calls.back().message, TrayMessage::Add);
    EXPECT_EQ(tray.calls.back().data.uFlags, kTipFlags) << "no balloon again";
    EXPECT_EQ(tray.calls.back().data.szTip, "Vantorel: Щелкните для просмотра прогноза погоды");
    EXPECT_EQ(form.frc.trayState, state);
    EXPECT_TRUE(view.timerLog.empty());
    EXPECT_FALSE(desktop.retryTimer);
}

TEST_F(TrayCallbackTest, AnIconRefusedAtStartIsAddedByTheRetryTimer) {
    tray.accept = false;
    TForm1& form = Start(10);
    EXPECT_TRUE(desktop.retryTimer);
    form.RetryAddIcon();
    EXPECT_TRUE(desktop.retryTimer) << "still refused";
    tray.accept = true;
    form.RetryAddIcon();
    EXPECT_FALSE(desktop.retryTimer);
    EXPECT_EQ(tray.calls.back().message, TrayMessage::Add);
    EXPECT_EQ(tray.calls.back().data.szTip, tray.calls[1].data.szTip) << "the latest display";
}

}  // namespace
}  // namespace vt
