#include "app/main_form.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "forecast/record_codec.h"

namespace vt {
namespace {

using namespace vt::test;

class MainFormTest : public ::testing::Test {
  protected:
    TForm1& Start() {
        form_.emplace(
            MainPorts{profile, files, clock, random, system, dayNames, tray, view, jobs, desktop});
        form_->FormCreate();
        return *form_;
    }
    void PutForecast(const std::string& base, const std::string& content, UtcTime written) {
        files.files[system.folder + base + ".txt"] = {content, written, false, false};
    }

    FakeProfile profile;
    FakeFiles files;
    FakeClock clock;
    FakeRandom random;
    FakeSystemInfo system;
    RussianTestDayNames dayNames;
    FakeTray tray;
    FakeView view;
    FakeJobs jobs;
    FakeDesktop desktop;

  private:
    std::optional<TForm1> form_;
};

TEST_F(MainFormTest, FirstStartAddsTheGreetingIconAndStartsADownload) {
    TForm1& form = Start();
    ASSERT_GE(tray.calls.size(), 1u);
    const auto& first = tray.calls.front();
    EXPECT_EQ(first.message, TrayMessage::Add);
    EXPECT_EQ(first.data.szTip, "Vantorel: Погода от КЛЕВИР и Орнатек");
    EXPECT_EQ(first.data.uFlags, kTipFlags);
    EXPECT_EQ(first.data.uCallbackMessage, kWmTrayIcon);
    EXPECT_EQ(first.image.picture, kNeutralPicture);
    EXPECT_FALSE(first.image.drawTemperature);
    EXPECT_EQ(tray.calls.size(), 1u) << "nothing else is shown until the download ends";

    EXPECT_EQ(jobs.started, (std::vector<int>{kForecastJob}));
    EXPECT_FALSE(view.IsEnabled(MenuItem::Update));
    EXPECT_EQ(view.timerLog, (std::vector<bool>{true, false})) << "on by the display, then off";
    EXPECT_EQ(form.Settings.frcTownIndex, "27612");
    EXPECT_EQ(form.Settings.frcFileBase, "27612");
    EXPECT_EQ(form.frc.trayState, "FormCreate");
    EXPECT_EQ(view.captions[MenuItem::Frc], "Прогноз на 3 дня по г.Москва");
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(MainFormTest, MenuCaptionsAreSetInOrder) {
    Start();
    const std::vector<MenuItem> order = {
        MenuItem::Frc,    MenuItem::News,    MenuItem::ICQ,       MenuItem::Map,
        MenuItem::Avia,   MenuItem::Auto,    MenuItem::Month,     MenuItem::Tourism,
        MenuItem::Update, MenuItem::Install, MenuItem::AboutTray, MenuItem::ExitTray};
    EXPECT_EQ(view.captionOrder, order);
    EXPECT_EQ(view.captions[MenuItem::News], "Все новости о погоде");
    EXPECT_EQ(view.captions[MenuItem::Install], "Настроить Vantorel.Tray");
    EXPECT_EQ(view.captions[MenuItem::ExitTray], "Выход");
}

TEST_F(MainFormTest, EveryVersionFromFiveOnCountsAsFive) {
    struct Case {
        int major, expected;
    };
    for (const Case c : {Case{4, 4}, Case{5, 5}, Case{6, 5}, Case{10, 5}, Case{11, 5}}) {
        system.major = c.major;
        EXPECT_EQ(Start().Settings.winMajor, c.expected) << c.major;
    }
}

TEST_F(MainFormTest, TownIndexIsCompletedInMemoryAndUnsafeOnesReplaced) {
    struct Case {
        const char* inFile;
        const char* inMemory;
        const char* town;
    };
    const Case cases[] = {
        {"3914", "03914", "Энск"},    {"123", "123", "Энск"},      {"123456", "123456", "Энск"},
        {"..\\x", "27612", "Москва"}, {"12a4", "27612", "Москва"}, {"1 23", "27612", "Москва"},
        {"27612", "27612", "Энск"},
    };
    for (const auto& c : cases) {
        profile = FakeProfile();
        profile.Set("frc", "frcTownIndex", c.inFile);
        profile.Set("frc", "frcTownName", "Энск");
        profile.Set("frc", "frcCountryName", "Украина");
        TForm1& form = Start();
        EXPECT_EQ(form.Settings.frcTownIndex, c.inMemory) << c.inFile;
        EXPECT_EQ(form.Settings.frcTownName, c.town) << c.inFile;
        EXPECT_EQ(form.Settings.frcFileBase, c.inMemory) << c.inFile;
        EXPECT_EQ(profile.Read("frc", "frcTownIndex"), c.inFile) << "the file keeps its value";
        EXPECT_EQ(view.captions[MenuItem::Frc], std::string("Прогноз на 3 дня по г.") + c.town);
    }
}

TEST_F(MainFormTest, AFreshStoredForecastIsShownWithoutADownload) {
    clock.now = {2007, 12, 15, 9, 0, 0, 0};
    PutForecast("27612",
                EncodeMaskedValue(210093019060280) + "\r\n" + EncodeMaskedValue(495964969608228),
                {2007, 12, 15, 7, 0, 0, 0});
    TForm1& form = Start();
    EXPECT_TRUE(jobs.started.empty());
    EXPECT_TRUE(view.IsEnabled(MenuItem::Update));
    EXPECT_EQ(form.frc.trayState, "Prognoz");
    ASSERT_EQ(tray.calls.size(), 2u);
    EXPECT_EQ(tray.calls[1].message, TrayMessage::Modify);
    EXPECT_EQ(tray.calls[1].data.szTip, "Vantorel: Щелкните для просмотра прогноза погоды");
    EXPECT_EQ(tray.calls[1].image.picture, 6) << "sky 7: cloud with the sun behind it, snow";
    EXPECT_TRUE(view.timer);
    EXPECT_EQ(view.captions[MenuItem::Frc], "Прогноз на 3 дня по г. Москва");
}

TEST_F(MainFormTest, AWriteFailureIsReportedOnceAndStartUpGoesOn) {
    profile.failWritesFrom = 0;
    TForm1& form = Start();
    EXPECT_EQ(view.errors,
              (std::vector<std::string>{"Unable to write to C:\\Apps\\Tray\\\\vantoreltray.ini"}));
    EXPECT_EQ(profile.writes, 1);
    EXPECT_EQ(form.Settings.frcTownIndex, "27612");
    EXPECT_EQ(form.Settings.viewFrcCheked, "День+ночь");
    EXPECT_EQ(jobs.started.size(), 1u);
}

TEST_F(MainFormTest, ExitRemovesTheIconAndClosesTheForm) {
    TForm1& form = Start();
    form.ExitTrayClick();
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(tray.removes, 1);
}

TEST_F(MainFormTest, ServiceHostsComeFromTheirSectionAndInvalidOnesKeepTheirDefault) {
    profile.Set("service", "dataHost", "data.example.org:8080");
    profile.Set("service", "counterHost", "evil.org/path?");
    profile.Set("service", "mainSite", "javascript:alert(1)");
    profile.Set("service", "siteName", "www.example.org");
    TForm1& form = Start();
    EXPECT_EQ(form.service.dataHost, "data.example.org:8080");
    EXPECT_EQ(form.service.counterHost, ServiceConfig().counterHost);
    EXPECT_EQ(form.service.mainSite, ServiceConfig().mainSite);
    EXPECT_EQ(form.service.siteName, "www.example.org");
    for (const auto& line : profile.writeLog) EXPECT_NE(line.rfind("service/", 0), 0u) << line;
}

}  // namespace
}  // namespace vt
