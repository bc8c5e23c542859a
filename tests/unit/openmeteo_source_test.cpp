// The embedded source as the main form drives it: which source a folder asks, where the town
// lies, and how often a failing API is asked.
#include <gtest/gtest.h>

#include "app/links.h"
#include "app/service_config.h"
#include "download/jobs.h"
#include "download_fakes.h"
#include "main_form_rig.h"

namespace vt {
namespace {

using namespace vt::test;

TEST(ServiceSource, TheOpenApiUnlessTheFolderNamesTheServiceAndOnlyHttpAddresses) {
    struct Case {
        const char* source;  // nullptr: no key
        const char* forecastApi;
        WeatherSource expected;
        const char* expectedApi;
    };
    const Case cases[] = {
        {nullptr, nullptr, WeatherSource::OpenMeteo, "https://api.open-meteo.com"},
        {"service", "http://127.0.0.1:9", WeatherSource::Service, "http://127.0.0.1:9"},
        {"open-meteo", "https://127.0.0.2", WeatherSource::OpenMeteo, "https://127.0.0.2"},
        {"Service ", "ftp://127.0.0.1", WeatherSource::OpenMeteo, "https://api.open-meteo.com"},
        {"", "https://127.0.0.1/v1", WeatherSource::OpenMeteo, "https://api.open-meteo.com"},
        {"x", "https://", WeatherSource::OpenMeteo, "https://api.open-meteo.com"},
        {"x", "javascript:alert(1)", WeatherSource::OpenMeteo, "https://api.open-meteo.com"},
        {"x", "http://user@host", WeatherSource::OpenMeteo, "https://api.open-meteo.com"},
    };
    for (const Case& c : cases) {
        FakeProfile profile;
        if (c.source) profile.Set("service", "source", c.source);
        if (c.forecastApi) profile.Set("service", "forecastApi", c.forecastApi);
        const ServiceConfig config = ReadServiceConfig(profile);
        EXPECT_EQ(config.source, c.expected) << (c.source ? c.source : "(none)");
        EXPECT_EQ(config.forecastApi, c.expectedApi) << (c.forecastApi ? c.forecastApi : "");
        EXPECT_EQ(config.geocodingApi, "https://geocoding-api.open-meteo.com");
    }
}

struct ApiRig : MainFormRig {
    ApiRig() { profile.Set("service", "source", "open-meteo"); }
    // Runs every job the form has launched and hands its outcome back.
    void RunJobs(FakeInternet& net, TForm1& form) {
        for (; ran_ < jobs.inputs.size(); ++ran_) {
            form.WorkerFinished(jobs.tokens[ran_], RunJob(jobs.inputs[ran_], {net, files, clock}));
        }
    }
    std::size_t ran_ = 0;
};

TEST(ApiSource, TheTownsPlaceIsItsStoredOneOrTheBuiltInTownsOfItsIndex) {
    struct Case {
        const char* index;
        const char* latitude;  // nullptr: no key
        const char* longitude;
        const char* url;  // empty: no job, the tray asks for a town
    };
    const Case cases[] = {
        {"27612", nullptr, nullptr, "latitude=55.7558&longitude=37.6173&"},
        {"00012345", "54.1961", "37.6182", "latitude=54.1961&longitude=37.6182&"},
        {"27612", "54,1961", "37.6182", "latitude=55.7558&longitude=37.6173&"},
        {"00012345", nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        ApiRig rig;
        rig.profile.Set("frc", "frcTownIndex", c.index);
        if (c.latitude) rig.profile.Set("frc", "frcTownLatitude", c.latitude);
        if (c.longitude) rig.profile.Set("frc", "frcTownLongitude", c.longitude);
        TForm1& form = rig.Start();
        if (c.url[0] == '\0') {
            EXPECT_TRUE(rig.jobs.inputs.empty()) << c.index;
            EXPECT_EQ(form.frc.trayText, kChooseTownText) << c.index;
            EXPECT_TRUE(rig.view.IsEnabled(MenuItem::Update)) << c.index;
            continue;
        }
        ASSERT_EQ(rig.jobs.inputs.size(), 1u) << c.index;
        FakeInternet net;
        net.status = 503;
        RunJob(rig.jobs.inputs[0], {net, rig.files, rig.clock});
        ASSERT_EQ(net.urls.size(), 1u);
        EXPECT_NE(net.urls[0].url.find(c.url), std::string::npos) << net.urls[0].url;
        EXPECT_TRUE(net.urls[0].url.starts_with("https://api.open-meteo.com/v1/forecast?"));
        // The program never writes the place: OK does.
        for (const auto& line : rig.profile.writeLog) {
            EXPECT_EQ(line.find("Latitude"), std::string::npos) << line;
        }
    }
}

TEST(ApiSource, NoWebSectionsTheProgramsOwnTownPageAndTheDataCredited) {
    ApiRig rig;
    TForm1& form = rig.Start();
    const MenuItem sections[] = {MenuItem::News, MenuItem::ICQ,   MenuItem::Map,    MenuItem::Avia,
                                 MenuItem::Auto, MenuItem::Month, MenuItem::Tourism};
    for (MenuItem item : sections) {
        EXPECT_FALSE(rig.view.IsEnabled(item));
        form.MenuClick(item);
    }
    form.MenuClick(MenuItem::Frc);
    EXPECT_TRUE(rig.desktop.links.empty()) << "no page before the first forecast";
    const std::string page = rig.system.folder + "27612.htm";
    rig.files.files[page] = {"<html>", rig.clock.now, false, false};
    form.MenuClick(MenuItem::Frc);
    ASSERT_EQ(rig.desktop.links.size(), 1u);
    EXPECT_EQ(rig.desktop.links[0].address, page);

    const AboutCredit credit = AboutCreditOf(form.service);
    EXPECT_EQ(credit.line1, "Данные о погоде: Open-Meteo.com (CC BY 4.0)");
    EXPECT_EQ(credit.address, "https://open-meteo.com/");
    form.service.source = WeatherSource::Service;
    EXPECT_EQ(AboutCreditOf(form.service).address, "http://127.0.0.6:8717/");
}

TEST(ApiSource, TwentyFourHoursOfFailureAskTheApiAtMost144Times) {
    struct Case {
        int status;  // 0: no answer at all
        const char* retryAfter;
        int most;
        int least;
    };
    const Case cases[] = {
        {0, nullptr, 144, 140},   {500, nullptr, 96, 94}, {429, nullptr, 96, 94},
        {429, "60", 96, 94},      {503, "3600", 24, 23},  {429, "999999", 4, 4},
        {200, nullptr, 144, 140},  // an answer that is not a forecast
    };
    for (const Case& c : cases) {
        ApiRig rig;
        FakeInternet net;
        net.status = c.status == 0 ? 200 : c.status;
        if (c.status == 0) net.requestResults.assign(100000, false);
        if (c.retryAfter) net.retryAfter = c.retryAfter;
        net.body = "<html>Hotel login</html>";
        rig.profile.Set("service", "forecastApi", "http://127.0.0.1:9");
        TForm1& form = rig.Start();
        rig.RunJobs(net, form);
        const std::int64_t start = ToUnixMillis(rig.clock.now);
        for (int minute = 0; minute < 24 * 60; ++minute) {
            rig.clock.now = FromUnixMillis(start + minute * 60000LL);
            if (rig.view.timer) form.Timer1Timer();
            rig.RunJobs(net, form);
        }
        // Three attempts a request when nothing answers.
        const int asked = c.status == 0 ? static_cast<int>(net.urls.size()) / 3
                                        : static_cast<int>(net.urls.size());
        EXPECT_LE(asked, c.most) << c.status << " " << (c.retryAfter ? c.retryAfter : "");
        EXPECT_GE(asked, c.least) << c.status << " " << (c.retryAfter ? c.retryAfter : "");
        EXPECT_EQ(net.agents.back(), "Internet VOR Client");
    }
}

}  // namespace
}  // namespace vt
