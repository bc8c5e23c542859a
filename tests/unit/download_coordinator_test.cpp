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

JobInput Input(JobKind kind, const std::string& town = kTown) {
    JobInput input;
    input.kind = kind;
    input.townIndex = town;
    return input;
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
        const std::optional<JobStart> first = jobs.Request(Input(c.kind), kNow);
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(first->input.kind, c.kind);
        EXPECT_NE(first->token, 0U);
        for (int i = 0; i < c.requestsWhileRunning; ++i) {
            EXPECT_FALSE(jobs.Request(Input(c.kind), kNow).has_value()) << i;
        }
        EXPECT_TRUE(jobs.Running(c.kind));

        const JobEnd end = jobs.Completed(first->token, Done(2, true), kTown);
        EXPECT_EQ(end.verdict, JobVerdict::Deliver);
        EXPECT_EQ(end.token, first->token);
        EXPECT_EQ(end.input.kind, c.kind);
        EXPECT_EQ(end.outcome, Done(2, true));
        EXPECT_EQ(end.followUp, c.followUp) << c.requestsWhileRunning;
        EXPECT_FALSE(jobs.Running(c.kind));
        if (!c.followUp) continue;

        // Only one follow-up, however many requests came in.
        const auto second = jobs.Request(Input(c.kind), kNow);
        ASSERT_TRUE(second.has_value());
        EXPECT_NE(second->token, first->token);
        const JobEnd secondEnd = jobs.Completed(second->token, Done(2, false), kTown);
        EXPECT_EQ(secondEnd.verdict, JobVerdict::Deliver);
        EXPECT_FALSE(secondEnd.followUp);
        EXPECT_FALSE(jobs.Running(c.kind));
    }
}

TEST(JobCoordinator, JobsOfBothKindsOverlapEachWithItsOwnOutcome) {
    for (bool forecastFirst : {true, false}) {
        JobCoordinator jobs;
        const auto forecast = jobs.Request(Input(JobKind::Forecast), kNow);
        const auto list = jobs.Request(Input(JobKind::TownList), kNow);
        ASSERT_TRUE(forecast && list);
        EXPECT_NE(forecast->token, list->token);
        EXPECT_NE(forecast->input.cancelled, list->input.cancelled);

        const JobOutcome forecastOutcome = Done(kLastJobForecast, false, "нет связи");
        const JobOutcome listOutcome = Done(kLastJobTownList, true);
        const auto finish = [&](const JobStart& start, const JobOutcome& outcome) {
            const JobEnd end = jobs.Completed(start.token, outcome, kTown);
            EXPECT_EQ(end.verdict, JobVerdict::Deliver);
            EXPECT_EQ(end.input.kind, start.input.kind);
            EXPECT_EQ(end.outcome, outcome);
            EXPECT_FALSE(end.followUp);
        };
        if (forecastFirst) finish(*forecast, forecastOutcome);
        finish(*list, listOutcome);
        if (!forecastFirst) finish(*forecast, forecastOutcome);
        EXPECT_FALSE(jobs.Running(JobKind::Forecast) || jobs.Running(JobKind::TownList));
    }
}

TEST(JobCoordinator, AnExpiredJobIsGivenUpAndItsLateCompletionDiscarded) {
    for (bool requestWhileRunning : {false, true}) {
        JobCoordinator jobs(60 * 1000);
        const auto start = jobs.Request(Input(JobKind::Forecast), kNow);
        ASSERT_TRUE(start);
        EXPECT_EQ(start->input.deadline, Later(60 * 1000));
        if (requestWhileRunning) jobs.Request(Input(JobKind::Forecast), kNow);

        EXPECT_TRUE(jobs.Expired(kTown, Later(60 * 1000 - 1)).empty());
        EXPECT_FALSE(start->input.cancelled->load());

        const std::vector<JobEnd> ends = jobs.Expired(kTown, Later(60 * 1000));
        ASSERT_EQ(ends.size(), 1U);
        EXPECT_EQ(ends[0].token, start->token);
        EXPECT_EQ(ends[0].verdict, JobVerdict::TimedOut);
        EXPECT_EQ(ends[0].input.townIndex, kTown) << "the input, for the stored-copy rule";
        EXPECT_FALSE(ends[0].outcome.has_value());
        EXPECT_TRUE(start->input.cancelled->load());  // the worker must not write any more
        EXPECT_EQ(ends[0].followUp, requestWhileRunning);
        EXPECT_FALSE(jobs.Running(JobKind::Forecast));
        EXPECT_TRUE(jobs.Expired(kTown, Later(60 * 1000)).empty()) << "reported twice";

        // A follow-up started meanwhile is not ended by the late completion.
        const auto followUp = jobs.Request(Input(JobKind::Forecast), Later(60 * 1000));
        const JobEnd late = jobs.Completed(start->token, Done(2, true), kTown);
        EXPECT_EQ(late.verdict, JobVerdict::Discard);
        EXPECT_FALSE(late.outcome.has_value());
        EXPECT_FALSE(late.followUp);
        EXPECT_TRUE(jobs.Running(JobKind::Forecast));
        EXPECT_FALSE(followUp->input.cancelled->load());
        EXPECT_EQ(jobs.Completed(followUp->token, Done(2, true), kTown).verdict,
                  JobVerdict::Deliver);
    }
}

TEST(JobCoordinator, OnlyTheJobsPastTheirDeadlineExpire) {
    JobCoordinator jobs(30 * 1000);
    const auto forecast = jobs.Request(Input(JobKind::Forecast), kNow);
    const auto list = jobs.Request(Input(JobKind::TownList), Later(10 * 1000));
    ASSERT_TRUE(forecast && list);
    const auto ends = jobs.Expired(kTown, Later(35 * 1000));
    ASSERT_EQ(ends.size(), 1U);
    EXPECT_EQ(ends[0].input.kind, JobKind::Forecast);
    EXPECT_FALSE(list->input.cancelled->load());
    EXPECT_TRUE(jobs.AnyRunning());
    EXPECT_TRUE(jobs.Expired(kTown, Later(39 * 1000)).empty());
    EXPECT_EQ(jobs.Completed(list->token, Done(1, true), kTown).verdict, JobVerdict::Deliver);
    EXPECT_FALSE(jobs.AnyRunning());
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
        const auto start = jobs.Request(Input(c.kind), kNow);
        ASSERT_TRUE(start);
        EXPECT_EQ(jobs.RunningForecastTown(),
                  c.kind == JobKind::Forecast ? std::optional(kTown) : std::nullopt);
        const std::string newTown = "28698";
        const JobEnd end = c.viaTimeout ? jobs.Expired(newTown, Later(kJobTimeoutMillis)).at(0)
                                        : jobs.Completed(start->token, Done(2, true), newTown);
        EXPECT_EQ(end.verdict, c.verdict);
        EXPECT_EQ(end.outcome.has_value(), c.verdict == JobVerdict::Deliver);
        EXPECT_EQ(end.followUp, c.followUp);
        EXPECT_EQ(jobs.RunningForecastTown(), std::nullopt);
    }
}

TEST(JobCoordinator, TokensAreUniqueAndUnknownOnesAreDiscarded) {
    JobCoordinator jobs;
    std::set<JobToken> tokens;
    for (int i = 0; i < 5; ++i) {
        const auto start = jobs.Request(Input(JobKind::TownList), kNow);
        ASSERT_TRUE(start);
        tokens.insert(start->token);
        for (JobToken stranger : {JobToken{0}, start->token + 1000}) {
            EXPECT_EQ(jobs.Completed(stranger, Done(1, true), kTown).verdict, JobVerdict::Discard);
        }
        EXPECT_TRUE(jobs.Running(JobKind::TownList));
        jobs.Completed(start->token, Done(1, true), kTown);
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
        const auto start = jobs.Request(Input(JobKind::Forecast), kNow);
        ASSERT_TRUE(start);
        EXPECT_EQ(start->input.deadline, Later(c.used)) << c.requested;
    }
}

}  // namespace
}  // namespace vt
