#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/tray_settings.h"
#include "download/jobs.h"
#include "download/stored_copy.h"
#include "download_fakes.h"
#include "fakes.h"
#include "forecast/record_codec.h"

namespace vt {
namespace {

using test::FakeClock;
using test::FakeFiles;
using test::FakeInternet;

constexpr std::int64_t kHour = 60 * 60 * 1000;
const std::string kDir = "C:\\Apps\\Tray\\";
const std::string kSite = "сервером погоды Vantorel";
const std::string kConnection = "Не удалось установить соединение с сервером погоды Vantorel";
const std::string kForecastFile = kDir + "27612.txt";
const std::string kTownFile = kDir + "vlbartlistfull.txt";

JobInput Input(JobKind kind, const std::string& mode = "1") {
    JobInput input;
    input.kind = kind;
    input.townIndex = "27612";
    input.progDir = kDir;
    input.frcFileBase = "27612";
    input.townListFileBase = "vlbartlistfull";
    input.connection = {ConnectionModeOf(mode), "", "", "", ""};
    input.counterHost = "count.example";
    input.dataHost = "data.example:8080";
    input.siteName = kSite;
    return input;
}

struct Rig {
    FakeInternet net;
    FakeFiles files;
    FakeClock clock;
    JobPorts Ports() { return {net, files, clock}; }
    UtcTime Ago(std::int64_t millis) const {
        return FromUnixMillis(ToUnixMillis(clock.now) - millis);
    }
    void Store(const std::string& path, std::int64_t ageMillis, bool locked = false) {
        files.files[path] = {"old", Ago(ageMillis), locked, false};
    }
};

// An answer of the job's kind: a day record of the rig's date, or a one-town list.
std::string Answer(JobKind kind) {
    if (kind == JobKind::TownList) return "27612;Москва;x;Россия;\r\n";
    return EncodeMaskedValue(PackRecord({1, {2026, 12, 8}, 7, -5, 748, 85, 3, 4})) + "\r\n";
}

JobOutcome Outcome(JobKind kind, bool ok, std::optional<std::string> tray = std::nullopt,
                   std::optional<std::string> combo = std::nullopt, bool button4 = false) {
    return {kind == JobKind::Forecast ? 2 : 1, ok, std::move(tray), std::move(combo), button4};
}

TEST(JobAddresses, EachJobFetchesItsAddressAndStoresUnderItsBaseName) {
    struct Case {
        JobKind kind;
        const char* base;
        std::string url;
        std::string path;
        int lastJob;
    };
    const Case cases[] = {
        {JobKind::Forecast, "27612",
         "http://count.example/r.php?sh+TRAY+http://data.example:8080/data/BTR27612.TXT",
         kDir + "27612.txt", 2},
        {JobKind::Forecast, "276121",  // the usual file was held open
         "http://count.example/r.php?sh+TRAY+http://data.example:8080/data/BTR27612.TXT",
         kDir + "276121.txt", 2},
        {JobKind::TownList, "vlbartlistfull1", "http://data.example:8080/vlbartlistfull.txt",
         kDir + "vlbartlistfull1.txt", 1},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.net.body = Answer(c.kind) + "\xff\r\nnot a record";
        JobInput input = Input(c.kind);
        (c.kind == JobKind::Forecast ? input.frcFileBase : input.townListFileBase) = c.base;
        const JobOutcome outcome = RunJob(input, rig.Ports());
        EXPECT_EQ(outcome, Outcome(c.kind, true)) << c.path;
        ASSERT_EQ(rig.net.urls.size(), 1U);
        EXPECT_EQ(rig.net.urls[0].url, c.url);
        ASSERT_EQ(rig.files.files.count(c.path), 1U) << c.path;
        EXPECT_EQ(rig.files.files[c.path].content, rig.net.body);  // byte for byte
        EXPECT_EQ(rig.files.files.size(), 1U);
    }
}

TEST(StoredCopy, FreshUpToTwelveHoursAndInTheFuture) {
    struct Case {
        const char* name;
        std::int64_t ageMillis;
        bool locked;
        bool present;
        StoredCopy expected;
    };
    const Case cases[] = {
        {"11 h", 11 * kHour, false, true, StoredCopy::Fresh},
        {"exactly 12 h", 12 * kHour, false, true, StoredCopy::Fresh},
        {"12 h and 1 ms", 12 * kHour + 1, false, true, StoredCopy::Stale},
        {"13 h", 13 * kHour, false, true, StoredCopy::Stale},
        {"a day", 24 * kHour, false, true, StoredCopy::Stale},
        {"future", -3 * kHour, false, true, StoredCopy::Fresh},
        {"locked", 1 * kHour, true, true, StoredCopy::CannotOpen},
        {"missing", 0, false, false, StoredCopy::CannotOpen},
    };
    for (const auto& c : cases) {
        Rig rig;
        if (c.present) rig.Store(kForecastFile, c.ageMillis, c.locked);
        EXPECT_EQ(CheckStoredCopy(rig.files, kForecastFile, rig.clock.now), c.expected) << c.name;
    }
}

TEST(FetchForecast, AFailedFetchFallsBackOnTheStoredCopy) {
    struct Case {
        const char* name;
        JobKind kind;
        std::int64_t ageMillis;
        bool locked;
        bool present;
        JobOutcome expected;
    };
    const Case cases[] = {
        {"forecast 11 h", JobKind::Forecast, 11 * kHour, false, true,
         Outcome(JobKind::Forecast, true)},
        {"forecast 12 h", JobKind::Forecast, 12 * kHour, false, true,
         Outcome(JobKind::Forecast, true)},
        {"forecast future", JobKind::Forecast, -kHour, false, true,
         Outcome(JobKind::Forecast, true)},
        {"forecast 13 h", JobKind::Forecast, 13 * kHour, false, true,
         Outcome(JobKind::Forecast, false, kConnection)},
        {"forecast locked", JobKind::Forecast, kHour, true, true,
         Outcome(JobKind::Forecast, false, kConnection)},
        {"forecast missing", JobKind::Forecast, 0, false, false,
         Outcome(JobKind::Forecast, false, kConnection)},
        {"list 11 h", JobKind::TownList, 11 * kHour, false, true, Outcome(JobKind::TownList, true)},
        {"list 13 h", JobKind::TownList, 13 * kHour, false, true,
         Outcome(JobKind::TownList, false, std::nullopt, kConnection, true)},
        {"list missing", JobKind::TownList, 0, false, false,
         Outcome(JobKind::TownList, false, std::nullopt, kConnection, true)},
    };
    for (const auto& c : cases) {
        Rig rig;
        const std::string path = c.kind == JobKind::Forecast ? kForecastFile : kTownFile;
        if (c.present) rig.Store(path, c.ageMillis, c.locked);
        const JobOutcome outcome = RunJob(Input(c.kind, "4"), rig.Ports());
        EXPECT_EQ(outcome, c.expected) << c.name;
        EXPECT_EQ(rig.net.sleeps.size(), 3U) << c.name;
        if (c.present) {
            EXPECT_EQ(rig.files.files[path].content, "old") << c.name;
        }
        // The UI thread gets the same answer when it gives a job up.
        EXPECT_EQ(FailedFetchOutcome(Input(c.kind), rig.files, rig.clock), c.expected) << c.name;
    }
}

TEST(FetchForecast, AFileThatCannotBeWrittenHasItsOwnMessage) {
    const JobOutcome forecast =
        Outcome(JobKind::Forecast, false, "Ошибка в доступе к файлу с прогнозом");
    const JobOutcome list = Outcome(JobKind::TownList, false, std::nullopt,
                                    "Ошибка в доступе к файлу с списком городов", true);
    for (const auto& [kind, expected] :
         {std::pair{JobKind::Forecast, forecast}, std::pair{JobKind::TownList, list}}) {
        Rig rig;
        rig.net.body = Answer(kind);
        rig.files.failReplace = true;
        EXPECT_EQ(RunJob(Input(kind), rig.Ports()), expected);
    }
}

TEST(FetchForecast, OnlyAForecastReplacesTheStoredOne) {
    // A login page answers 200 too: it fails like a failed fetch, and the stored copy of up to
    // 12 hours stands in.
    struct Case {
        const char* name;
        int status;
        std::string body;
        bool storedFresh;
        JobOutcome expected;
        std::string stored;
    };
    const std::string forecast = Answer(JobKind::Forecast);
    const std::string login = "<html><form action=/login>Wi-Fi</form></html>\r\n";
    const Case cases[] = {
        {"a forecast", 200, forecast, false, Outcome(JobKind::Forecast, true), forecast},
        {"a login page", 200, login, false, Outcome(JobKind::Forecast, false, kConnection), ""},
        {"an empty answer", 200, "", false, Outcome(JobKind::Forecast, false, kConnection), ""},
        {"a login page, fresh copy", 200, login, true, Outcome(JobKind::Forecast, true), "old"},
        {"a record later", 200, login + forecast, true, Outcome(JobKind::Forecast, true), "old"},
        {"404", 404, forecast, false, Outcome(JobKind::Forecast, false, kConnection), ""},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.net.status = c.status;
        rig.net.body = c.body;
        if (c.storedFresh) rig.Store(kForecastFile, kHour);
        EXPECT_EQ(FetchForecast(Input(JobKind::Forecast), rig.Ports()), c.expected) << c.name;
        EXPECT_EQ(rig.files.files[kForecastFile].content, c.stored) << c.name;
    }
}

TEST(FetchTownList, AnAnswerThatIsNoListKeepsTheStoredOne) {
    const JobOutcome notAList =
        Outcome(JobKind::TownList, false, std::nullopt, "Сервер прислал не список городов", true);
    for (const std::string& body : {std::string("<html>Войдите в сеть</html>"), std::string(""),
                                    std::string("27612;\0;x;\r\n", 12)}) {
        Rig rig;
        rig.net.body = body;
        rig.Store(kTownFile, 20 * kHour);
        EXPECT_EQ(FetchTownList(Input(JobKind::TownList), rig.Ports()), notAList) << body;
        EXPECT_EQ(rig.files.files[kTownFile].content, "old") << body;
    }
}

TEST(FetchJobs, AProxyUserWithoutAProxyAddressSendsNothing) {
    // WinINet would take the empty address as none and go direct, the password with it.
    for (JobKind kind : {JobKind::Forecast, JobKind::TownList}) {
        for (const char* server : {"", "  "}) {
            Rig rig;
            JobInput input = Input(kind, "3");
            input.connection = {ConnectionMode::Proxy, server, "3128", "vantorel", "s3cret"};
            const std::string text = "Не указан адрес proxy-сервера";
            const JobOutcome expected = kind == JobKind::Forecast
                                            ? Outcome(kind, false, text)
                                            : Outcome(kind, false, std::nullopt, text, true);
            EXPECT_EQ(RunJob(input, rig.Ports()), expected) << server;
            EXPECT_TRUE(rig.net.log.empty()) << server;
        }
    }
}

TEST(FetchTownList, TheBodyCapDependsOnTheJob) {
    struct Case {
        JobKind kind;
        std::size_t bytes;
        bool ok;
    };
    const Case cases[] = {
        {JobKind::Forecast, kForecastMaxBytes, true},
        {JobKind::Forecast, kForecastMaxBytes + 1, false},
        {JobKind::TownList, kForecastMaxBytes + 1, true},
        {JobKind::TownList, kTownListMaxBytes + 1, false},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.net.body = Answer(c.kind);
        rig.net.body.resize(c.bytes, 'x');
        const JobOutcome outcome = RunJob(Input(c.kind), rig.Ports());
        EXPECT_EQ(outcome.ok, c.ok) << c.bytes;
        EXPECT_EQ(rig.files.files.size(), c.ok ? 1U : 0U) << c.bytes;
    }
}

TEST(JobCancel, AGivenUpJobWritesNothing) {
    // The flag comes up while the last read is under way: the body is complete, yet not stored.
    for (JobKind kind : {JobKind::Forecast, JobKind::TownList}) {
        Rig rig;
        rig.net.body = "new";
        JobInput input = Input(kind);
        input.cancelled = std::make_shared<std::atomic<bool>>(false);
        rig.net.onRead = [&] {
            if (rig.net.readSizes.size() == 2) input.cancelled->store(true);
        };
        const JobOutcome outcome = RunJob(input, rig.Ports());
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(rig.net.readSizes.size(), 2U);
        EXPECT_TRUE(rig.files.files.empty());
    }
}

TEST(JobCancel, TheFlagOrTheDeadlineStopsTheFetchBeforeAnyTraffic) {
    struct Case {
        const char* name;
        bool cancelled;
        std::optional<std::int64_t> deadlineAgo;
        JobOutcome expected;
        const char* stored;
    };
    const Case cases[] = {
        {"cancelled", true, std::nullopt, Outcome(JobKind::Forecast, false), "old"},
        // The worker's own deadline is a failed fetch: the fresh stored copy stands in.
        {"deadline now", false, 0, Outcome(JobKind::Forecast, true), "old"},
        {"deadline passed", false, 1000, Outcome(JobKind::Forecast, true), "old"},
        {"deadline ahead", false, -1000, Outcome(JobKind::Forecast, true), "new"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.net.body = Answer(JobKind::Forecast);
        rig.Store(kForecastFile, kHour);
        JobInput input = Input(JobKind::Forecast);
        input.cancelled = std::make_shared<std::atomic<bool>>(c.cancelled);
        if (c.deadlineAgo) input.deadline = rig.Ago(*c.deadlineAgo);
        EXPECT_EQ(RunJob(input, rig.Ports()), c.expected) << c.name;
        EXPECT_EQ(rig.net.log.empty(), std::string(c.stored) == "old") << c.name;
        const std::string stored = c.stored == std::string("old") ? "old" : rig.net.body;
        EXPECT_EQ(rig.files.files[kForecastFile].content, stored) << c.name;
    }
}

class ThrowingFiles : public FakeFiles {
  public:
    std::unique_ptr<OpenFile> OpenExclusive(const std::string& path) override {
        if (throwOnOpen) throw std::runtime_error("disk gone");
        return FakeFiles::OpenExclusive(path);
    }
    bool throwOnOpen = false;
};

TEST(JobSafety, AnEscapingErrorCountsAsAFailedFetch) {
    struct Case {
        const char* name;
        JobKind kind;
        bool storedFresh;
        bool filesThrow;
        JobOutcome expected;
    };
    const Case cases[] = {
        {"forecast, fresh copy", JobKind::Forecast, true, false, Outcome(JobKind::Forecast, true)},
        {"forecast, no copy", JobKind::Forecast, false, false,
         Outcome(JobKind::Forecast, false, kConnection)},
        {"forecast, files throw too", JobKind::Forecast, true, true,
         Outcome(JobKind::Forecast, false, kConnection)},
        {"list, no copy", JobKind::TownList, false, false,
         Outcome(JobKind::TownList, false, std::nullopt, kConnection, true)},
    };
    for (const auto& c : cases) {
        FakeInternet net;
        ThrowingFiles files;
        FakeClock clock;
        net.throwOnOpenUrl = true;
        files.throwOnOpen = c.filesThrow;
        const std::string path = c.kind == JobKind::Forecast ? kForecastFile : kTownFile;
        if (c.storedFresh) files.files[path] = {"old", clock.now, false, false};
        EXPECT_EQ(RunJob(Input(c.kind), {net, files, clock}), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace vt
