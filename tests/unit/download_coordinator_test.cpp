#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "download/job_coordinator.h"
#include "download_fakes.h"

namespace vt {
namespace {

const UtcTime kNow{2026, 12, 8, 9, 0, 0, 0};
const std::string kTown = "27612";

UtcTime Later(std::int64_t millis) {
    return FromUnixMillis(ToUnixMillis(kNow) + millis);
}

JobOutcome Done(int lastJob, bool ok, std::optional<std::string> tray = std::nullopt) {
    return {lastJob, ok, std::move(tray), std::nullopt, false};
}

TEST(JobCoordinator, RunsOneJobPerKindAndRemembersOneFollowUp) {
    struct Case {
        JobKind kind;
        int requestsWhileRunning;
        bool followUp;
    };
    const Case cases[] = {
        {JobKind::Forecast, 0, false}, {JobKind::Forecast, 1, true}, {JobKind::Forecast, 3, true},
        {JobKind::TownList, 0, false}, {JobKind::TownList, 3, true},
    };
    for (const auto& c : cases) {
        JobCoordinator jobs;
        const std::optional<JobStart> first = jobs.Request(c.kind, kTown, kNow);
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(first->kind, c.kind);
        EXPECT_NE(first->token, 0U);
        for (int i = 0; i < c.requestsWhileRunning; ++i) {
            EXPECT_FALSE(jobs.Request(c.kind, kTown, kNow).has_value()) << i;
        }
        EXPECT_TRUE(jobs.Running(c.kind));

        const JobEnd end = jobs.Completed(first->token, Done(2, true), kTown, kNow);
        EXPECT_EQ(end.verdict, JobVerdict::Deliver);
        EXPECT_EQ(end.token, first->token);
        EXPECT_EQ(end.kind, c.kind);
        EXPECT_EQ(end.outcome, Done(2, true));
        ASSERT_EQ(end.followUp.has_value(), c.followUp) << c.requestsWhileRunning;
        EXPECT_EQ(jobs.Running(c.kind), c.followUp);
        if (!c.followUp) continue;

        // Only one follow-up, however many requests came in.
        EXPECT_NE(end.followUp->token, first->token);
        EXPECT_EQ(end.followUp->kind, c.kind);
        const JobEnd second = jobs.Completed(end.followUp->token, Done(2, false), kTown, kNow);
        EXPECT_EQ(second.verdict, JobVerdict::Deliver);
        EXPECT_FALSE(second.followUp.has_value());
        EXPECT_FALSE(jobs.Running(c.kind));
    }
}

TEST(JobCoordinator, JobsOfBothKindsOverlapEachWithItsOwnOutcome) {
    for (bool forecastFirst : {true, false}) {
        JobCoordinator jobs;
        const auto forecast = jobs.Request(JobKind::Forecast, kTown, kNow);
        const auto list = jobs.Request(JobKind::TownList, kTown, kNow);
        ASSERT_TRUE(forecast && list);
        EXPECT_NE(forecast->token, list->token);
        EXPECT_NE(forecast->cancelled, list->cancelled);

        const JobOutcome forecastOutcome = Done(kLastJobForecast, false, "нет связи");
        const JobOutcome listOutcome = Done(kLastJobTownList, true);
        const auto finish = [&](const JobStart& start, const JobOutcome& outcome) {
            const JobEnd end = jobs.Completed(start.token, outcome, kTown, kNow);
            EXPECT_EQ(end.verdict, JobVerdict::Deliver);
            EXPECT_EQ(end.kind, start.kind);
            EXPECT_EQ(end.outcome, outcome);
            EXPECT_FALSE(end.followUp.has_value());
        };
        if (forecastFirst) finish(*forecast, forecastOutcome);
        finish(*list, listOutcome);
        if (!forecastFirst) finish(*forecast, forecastOutcome);
        EXPECT_FALSE(jobs.Running(JobKind::Forecast) || jobs.Running(JobKind::TownList));
    }
}

TEST(JobCoordinator, AnExpiredJobIsGivenUpAndItsLateCompletionDiscarded) {
    struct Case {
        bool requestWhileRunning;
        bool followUp;
    };
    for (const Case c : {Case{false, false}, Case{true, true}}) {
        JobCoordinator jobs(60 * 1000);
        const auto start = jobs.Request(JobKind::Forecast, kTown, kNow);
        ASSERT_TRUE(start);
        EXPECT_EQ(start->deadline, Later(60 * 1000));
        EXPECT_EQ(jobs.NextDeadline(), Later(60 * 1000));
        if (c.requestWhileRunning) jobs.Request(JobKind::Forecast, kTown, kNow);

        EXPECT_TRUE(jobs.Expired(kTown, Later(60 * 1000 - 1)).empty());
        EXPECT_FALSE(start->cancelled->load());

        const std::vector<JobEnd> ends = jobs.Expired(kTown, Later(60 * 1000));
        ASSERT_EQ(ends.size(), 1U);
        EXPECT_EQ(ends[0].token, start->token);
        EXPECT_EQ(ends[0].verdict, JobVerdict::TimedOut);
        EXPECT_FALSE(ends[0].outcome.has_value());
        EXPECT_TRUE(start->cancelled->load());  // the worker must not write any more
        EXPECT_EQ(ends[0].followUp.has_value(), c.followUp);
        EXPECT_EQ(jobs.Running(JobKind::Forecast), c.followUp);
        EXPECT_TRUE(jobs.Expired(kTown, Later(60 * 1000)).empty()) << "reported twice";

        const JobEnd late = jobs.Completed(start->token, Done(2, true), kTown, Later(61 * 1000));
        EXPECT_EQ(late.verdict, JobVerdict::Discard);
        EXPECT_FALSE(late.outcome.has_value());
        EXPECT_FALSE(late.followUp.has_value());
        // The follow-up still runs and completes normally.
        EXPECT_EQ(jobs.Running(JobKind::Forecast), c.followUp);
        if (c.followUp) {
            EXPECT_FALSE(ends[0].followUp->cancelled->load());
            EXPECT_EQ(jobs.Completed(ends[0].followUp->token, Done(2, true), kTown, kNow).verdict,
                      JobVerdict::Deliver);
        }
    }
}

TEST(JobCoordinator, OnlyTheJobsPastTheirDeadlineExpire) {
    JobCoordinator jobs(30 * 1000);
    const auto forecast = jobs.Request(JobKind::Forecast, kTown, kNow);
    const auto list = jobs.Request(JobKind::TownList, kTown, Later(10 * 1000));
    ASSERT_TRUE(forecast && list);
    EXPECT_EQ(jobs.NextDeadline(), Later(30 * 1000));
    const auto ends = jobs.Expired(kTown, Later(35 * 1000));
    ASSERT_EQ(ends.size(), 1U);
    EXPECT_EQ(ends[0].kind, JobKind::Forecast);
    EXPECT_FALSE(list->cancelled->load());
    EXPECT_EQ(jobs.NextDeadline(), Later(40 * 1000));
    EXPECT_EQ(jobs.Completed(list->token, Done(1, true), kTown, kNow).verdict, JobVerdict::Deliver);
    EXPECT_FALSE(jobs.NextDeadline().has_value());
}

TEST(JobCoordinator, AForecastOfATownNoLongerChosenIsNotLoaded) {
    struct Case {
        JobKind kind;
        bool viaTimeout;
        JobVerdict verdict;
        bool followUp;
    };
    const Case cases[] = {
        {JobKind::Forecast, false, JobVerdict::Superseded, true},
        {JobKind::Forecast, true, JobVerdict::Superseded, true},
        {JobKind::TownList, false, JobVerdict::Deliver, false},  // the list is the same for all
        {JobKind::TownList, true, JobVerdict::TimedOut, false},
    };
    for (const auto& c : cases) {
        JobCoordinator jobs;
        const auto start = jobs.Request(c.kind, kTown, kNow);
        ASSERT_TRUE(start);
        const std::string newTown = "28698";
        const JobEnd end = c.viaTimeout
                               ? jobs.Expired(newTown, Later(kJobTimeoutMillis)).at(0)
                               : jobs.Completed(start->token, Done(2, true), newTown, kNow);
        EXPECT_EQ(end.verdict, c.verdict);
        EXPECT_EQ(end.outcome.has_value(), c.verdict == JobVerdict::Deliver);
        ASSERT_EQ(end.followUp.has_value(), c.followUp);
        if (c.followUp) {
            EXPECT_EQ(end.followUp->town, newTown);
            EXPECT_EQ(end.followUp->kind, JobKind::Forecast);
        }
    }
}

TEST(JobCoordinator, TokensAreUniqueAndUnknownOnesAreDiscarded) {
    JobCoordinator jobs;
    std::set<JobToken> tokens;
    for (int i = 0; i < 5; ++i) {
        const auto start = jobs.Request(JobKind::TownList, kTown, kNow);
        ASSERT_TRUE(start);
        tokens.insert(start->token);
        for (JobToken stranger : {JobToken{0}, start->token + 1000}) {
            EXPECT_EQ(jobs.Completed(stranger, Done(1, true), kTown, kNow).verdict,
                      JobVerdict::Discard);
        }
        EXPECT_TRUE(jobs.Running(JobKind::TownList));
        jobs.Completed(start->token, Done(1, true), kTown, kNow);
    }
    EXPECT_EQ(tokens.size(), 5U);
    EXPECT_EQ(tokens.count(0), 0U);
}

TEST(JobCoordinator, TheTimeoutStaysWithinNinetySeconds) {
    struct Case {
        std::int64_t requested;
        std::int64_t used;
    };
    const Case cases[] = {{60000, 60000}, {90000, 90000}, {200000, 90000}, {0, 1}, {-5, 1}};
    for (const auto& c : cases) {
        JobCoordinator jobs(c.requested);
        const auto start = jobs.Request(JobKind::Forecast, kTown, kNow);
        ASSERT_TRUE(start);
        EXPECT_EQ(start->deadline, Later(c.used)) << c.requested;
    }
}

}  // namespace
}  // namespace vt
