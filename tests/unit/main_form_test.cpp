#include "forms/main_form.h"

#include <gtest/gtest.h>

#include "forecast/record_codec.h"
#include "main_form_rig.h"

namespace vt {
namespace {

using namespace vt::test;

class MainFormTest : public ::testing::Test, public MainFormRig {
  protected:
    void PutForecast(const std::string& base, const std::string& content, UtcTime written) {
        files.files[system.folder + base + ".txt"] = {content, written, false, false};
    }
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
              (std::vector<std::string>{"Unable to write to C:\\Apps\\Tray\\vantoreltray.ini"}));
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

namespace vt {
namespace {

using namespace vt::test;

class JobFlowTest : public ::testing::Test, public MainFormRig {
  protected:
    std::string Stored() const { return system.folder + "27612.txt"; }
    void StoreForecast() {
        clock.now = {2007, 12, 15, 9, 0, 0, 0};
        files.files[Stored()] = {
            EncodeMaskedValue(210093019060280) + "\r\n" + EncodeMaskedValue(495964969608228),
            clock.now, false, false};
    }
    JobOutcome Forecast(bool ok, std::optional<std::string> text = std::nullopt) {
        JobOutcome o;
        o.lastJob = kLastJobForecast;
        o.ok = ok;
        o.trayText = std::move(text);
        return o;
    }
};

TEST_F(JobFlowTest, TheStartUpJobCarriesCopiesOfEverythingItNeeds) {
    profile.Set("settings", "stateConnectChecked", "3");
    profile.Set("settings", "Proxyserver", "127.0.0.1");
    profile.Set("settings", "ProxyPort", "8718");
    profile.Set("settings", "userProxy", "пользователь");
    Start();
    ASSERT_EQ(jobs.inputs.size(), 1u);
    const JobInput& input = jobs.inputs[0];
    EXPECT_EQ(input.kind, JobKind::Forecast);
    EXPECT_EQ(input.townIndex, "27612");
    EXPECT_EQ(input.progDir, system.folder);
    EXPECT_EQ(input.frcFileBase, "27612");
    EXPECT_EQ(input.connection.mode, ConnectionMode::Proxy);
    EXPECT_EQ(input.connection.ProxyServer, "127.0.0.1");
    EXPECT_EQ(input.connection.ProxyPort, "8718");
    EXPECT_EQ(input.connection.userProxy, "пользователь");
    EXPECT_EQ(input.counterHost, ServiceConfig().counterHost);
    EXPECT_EQ(input.dataHost, ServiceConfig().dataHost);
    ASSERT_TRUE(input.cancelled);
    EXPECT_TRUE(jobs.watching);
}

TEST_F(JobFlowTest, ASuccessfulJobShowsTheStoredForecastAndTurnsTheTimerOn) {
    TForm1& form = Start();
    StoreForecast();
    form.WorkerFinished(jobs.tokens[0], Forecast(true));
    EXPECT_EQ(form.frc.trayState, "Prognoz");
    EXPECT_TRUE(view.IsEnabled(MenuItem::Update));
    EXPECT_TRUE(view.timer);
    EXPECT_FALSE(jobs.watching);
}

TEST_F(JobFlowTest, AFailedJobShowsItsMessageWithoutABalloon) {
    TForm1& form = Start();
    form.Settings.balloonRequested = true;
    form.WorkerFinished(jobs.tokens[0], Forecast(false, "Не удалось установить соединение с X"));
    EXPECT_EQ(form.frc.trayState, "Error");
    EXPECT_EQ(form.frc.trayText, "Не удалось установить соединение с X");
    EXPECT_EQ(tray.calls.back().data.uFlags, kTipFlags);
    EXPECT_EQ(tray.calls.back().image.picture, kNeutralPicture);
    EXPECT_TRUE(view.timer);
}

TEST_F(JobFlowTest, AFailedTownListLeavesTheTrayAlone) {
    TForm1& form = Start();
    form.WorkerFinished(jobs.tokens[0], Forecast(true));
    const std::size_t calls = tray.calls.size();
    form.StartJob(kTownListJob);
    ASSERT_EQ(jobs.started.back(), kTownListJob);
    JobOutcome failed;
    failed.lastJob = kLastJobTownList;
    form.WorkerFinished(jobs.tokens.back(), failed);
    EXPECT_EQ(tray.calls.size(), calls);
}

TEST_F(JobFlowTest, TicksAndRequestsWhileAForecastJobRunsMakeOneFollowUp) {
    TForm1& form = Start();
    files.files[Stored()] = {"", clock.now, true, false};  // the worker holds it
    form.Timer1Timer();
    EXPECT_TRUE(files.opened.empty()) << "a tick leaves the worker's file alone";
    form.UpdateClick();
    form.UpdateClick();
    EXPECT_EQ(jobs.started.size(), 1u);
    files.files.erase(Stored());
    form.WorkerFinished(jobs.tokens[0], Forecast(false));
    EXPECT_EQ(jobs.started.size(), 2u) << "one follow-up";
    form.WorkerFinished(jobs.tokens[1], Forecast(false));
    EXPECT_EQ(jobs.started.size(), 2u);
}

TEST_F(JobFlowTest, AJobPastItsDeadlineIsEndedByTheUiAndItsLateAnswerIgnored) {
    TForm1& form = Start();
    clock.now = FromUnixMillis(ToUnixMillis(clock.now) + kMaxJobTimeoutMillis + 1000);
    form.CheckJobDeadlines();
    EXPECT_EQ(form.frc.trayState, "Error");
    EXPECT_EQ(form.frc.trayText, "Не удалось установить соединение с " + ServiceConfig().siteName);
    EXPECT_TRUE(jobs.inputs[0].cancelled->load());
    EXPECT_TRUE(view.timer);
    StoreForecast();
    form.WorkerFinished(jobs.tokens[0], Forecast(true));
    EXPECT_EQ(form.frc.trayState, "Error") << "the late answer changes nothing";
}

}  // namespace
}  // namespace vt
