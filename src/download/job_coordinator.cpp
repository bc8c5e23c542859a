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

JobStart JobCoordinator::Start(JobKind kind, const std::string& town, const UtcTime& now) {
    JobStart start;
    start.token = ++lastToken_;
    start.kind = kind;
    start.town = town;
    start.cancelled = std::make_shared<std::atomic<bool>>(false);
    start.deadline = FromUnixMillis(ToUnixMillis(now) + timeoutMillis_);
    Slot& slot = SlotOf(kind);
    slot.running = start;
    slot.followUpWanted = false;
    return start;
}

std::optional<JobStart> JobCoordinator::Request(JobKind kind, const std::string& currentTown,
                                                const UtcTime& now) {
    Slot& slot = SlotOf(kind);
    if (slot.running) {
        slot.followUpWanted = true;
        return std::nullopt;
    }
    return Start(kind, currentTown, now);
}

JobEnd JobCoordinator::Finish(Slot& slot, JobVerdict verdict, const std::string& currentTown,
                              const UtcTime& now) {
    JobEnd end;
    end.token = slot.running->token;
    end.kind = slot.running->kind;
    const bool townChanged = end.kind == JobKind::Forecast && slot.running->town != currentTown;
    end.verdict = townChanged ? JobVerdict::Superseded : verdict;
    const bool followUp = slot.followUpWanted || townChanged;
    slot.running.reset();
    slot.followUpWanted = false;
    if (followUp) end.followUp = Start(end.kind, currentTown, now);
    return end;
}

JobEnd JobCoordinator::Completed(JobToken token, JobOutcome outcome, const std::string& currentTown,
                                 const UtcTime& now) {
    for (Slot& slot : slots_) {
        if (!slot.running || slot.running->token != token) continue;
        JobEnd end = Finish(slot, JobVerdict::Deliver, currentTown, now);
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
        if (!slot.running || now < slot.running->deadline) continue;
        slot.running->cancelled->store(true);
        ends.push_back(Finish(slot, JobVerdict::TimedOut, currentTown, now));
    }
    return ends;
}

bool JobCoordinator::Running(JobKind kind) const {
    return SlotOf(kind).running.has_value();
}

std::optional<UtcTime> JobCoordinator::NextDeadline() const {
    std::optional<UtcTime> next;
    for (const Slot& slot : slots_) {
        if (slot.running && (!next || slot.running->deadline < *next)) {
            next = slot.running->deadline;
        }
    }
    return next;
}

}  // namespace vt
