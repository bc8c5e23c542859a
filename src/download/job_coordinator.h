// Which download jobs run, on the UI thread: at most one of each kind, a request made while one
// runs becomes a single follow-up, and a job past its deadline is given up so a late answer
// cannot overwrite a newer state. It starts no threads; the Win32 layer runs the workers.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/calendar.h"
#include "download/jobs.h"

namespace vt {

using JobToken = std::uint64_t;  // 0 is never handed out

inline constexpr std::int64_t kJobTimeoutMillis = 60 * 1000;
inline constexpr std::int64_t kMaxJobTimeoutMillis = 90 * 1000;

// A job to start now: its worker gets a copy of the input.
struct JobStart {
    JobToken token = 0;
    JobInput input;
};

enum class JobVerdict {
    Deliver,     // hand the outcome to JobDone
    TimedOut,    // given up: complete it as a failed fetch (FailedFetchOutcome), then JobDone
    Superseded,  // a forecast of a town no longer chosen: do not load it
    Discard,     // a token already given up or unknown: ignore the completion
};

struct JobEnd {
    JobToken token = 0;
    JobInput input;  // what the job was started with
    JobVerdict verdict = JobVerdict::Discard;
    std::optional<JobOutcome> outcome;  // with Deliver only
    bool followUp = false;              // request a job of the kind again, for the settings now
};

class JobCoordinator {
  public:
    // The timeout is kept within 1 ms .. kMaxJobTimeoutMillis.
    explicit JobCoordinator(std::int64_t timeoutMillis = kJobTimeoutMillis);

    // A start, with the input's cancel flag and deadline set, when no job of the input's kind
    // runs; nullopt when one does (remembered as one follow-up).
    std::optional<JobStart> Request(JobInput input, const UtcTime& now);

    // The worker's completion, posted to the UI thread. currentTown: the town chosen now.
    JobEnd Completed(JobToken token, JobOutcome outcome, const std::string& currentTown);

    // Gives up every running job whose deadline has come and tells its worker to stop.
    std::vector<JobEnd> Expired(const std::string& currentTown, const UtcTime& now);

    bool Running(JobKind kind) const;
    bool AnyRunning() const { return Running(JobKind::Forecast) || Running(JobKind::TownList); }
    // The town whose forecast is being fetched, while a forecast job runs.
    std::optional<std::string> RunningForecastTown() const;

  private:
    struct Slot {
        std::optional<JobStart> running;
        bool followUpWanted = false;
    };

    Slot& SlotOf(JobKind kind);
    const Slot& SlotOf(JobKind kind) const;
    // Frees the slot; the end says whether a follow-up is due.
    JobEnd Finish(Slot& slot, JobVerdict verdict, const std::string& currentTown);

    std::int64_t timeoutMillis_;
    JobToken lastToken_ = 0;
    std::array<Slot, 2> slots_;
};

}  // namespace vt
