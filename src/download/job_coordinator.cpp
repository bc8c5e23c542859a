#include "download/job_coordinator.h"

#include <algorithm>
#include <utility>

namespace vt {

JobCoordinator::JobCoordinator(std::int64_t timeoutMillis)
    : timeoutMillis_(std::clamp<std::int64_t>(timeoutMillis, 1, kMaxJobTimeoutMillis)) {}

JobCoordinator::Slot& JobCoordinator::SlotOf(JobKind kind) {
    return slots_[kind == JobKind::Forecast ? 0 : 1];
}

const JobCoordinator::Slot& JobCoordinator::SlotOf(JobKind kind) const {
    return slots_[kind == JobKind::Forecast ? 0 : 1];
}

std::optional<JobStart> JobCoordinator::Request(JobInput input, const UtcTime& now) {
    Slot& slot = SlotOf(input.kind);
    if (slot.running) {
        slot.followUpWanted = true;
        return std::nullopt;
    }
    // Not make_shared: without type information it brings in a type_info compare.
    input.cancelled = std::shared_ptr<std::atomic<bool>>(new std::atomic<bool>(false));
    input.deadline = FromUnixMillis(ToUnixMillis(now) + timeoutMillis_);
    slot.running = JobStart{++lastToken_, std::move(input)};
    slot.followUpWanted = false;
    return slot.running;
}

JobEnd JobCoordinator::Finish(Slot& slot, JobVerdict verdict, const std::string& currentTown) {
    JobEnd end;
    end.token = slot.running->token;
    end.input = std::move(slot.running->input);
    const bool townChanged =
        end.input.kind == JobKind::Forecast && end.input.townIndex != currentTown;
    end.verdict = townChanged ? JobVerdict::Superseded : verdict;
    end.followUp = slot.followUpWanted || townChanged;
    slot.running.reset();
    slot.followUpWanted = false;
    return end;
}

JobEnd JobCoordinator::Completed(JobToken token, JobOutcome outcome,
                                 const std::string& currentTown) {
    for (Slot& slot : slots_) {
        if (!slot.running || slot.running->token != token) continue;
        JobEnd end = Finish(slot, JobVerdict::Deliver, currentTown);
        if (end.verdict == JobVerdict::Deliver) end.outcome = std::move(outcome);
        return end;
    }
    JobEnd discarded;
    discarded.token = token;
    return discarded;
}

std::vector<JobEnd> JobCoordinator::Expired(const std::string& currentTown, const UtcTime& now) {
    std::vector<JobEnd> ends;
    for (Slot& slot : slots_) {
        if (!slot.running || now < *slot.running->input.deadline) continue;
        slot.running->input.cancelled->store(true);
        ends.push_back(Finish(slot, JobVerdict::TimedOut, currentTown));
    }
    return ends;
}

bool JobCoordinator::Running(JobKind kind) const {
    return SlotOf(kind).running.has_value();
}

std::optional<std::string> JobCoordinator::RunningForecastTown() const {
    const Slot& slot = SlotOf(JobKind::Forecast);
    if (!slot.running) return std::nullopt;
    return slot.running->input.townIndex;
}

}  // namespace vt
