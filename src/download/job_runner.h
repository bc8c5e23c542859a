#pragma once

#include <cstdint>

namespace vt {

inline constexpr int kForecastJob = 0;
inline constexpr int kTownListJob = 1;

struct JobInput;

// Runs download jobs on worker threads. The worker's completion comes back on the UI thread,
// with its token, through TForm1::WorkerFinished.
class JobRunner {
  public:
    virtual ~JobRunner() = default;
    // Starts a worker with its own copy of the input and returns at once.
    virtual void Launch(std::uint64_t token, const JobInput& input) = 0;
    // A periodic tick (TForm1::CheckJobDeadlines) while any job runs.
    virtual void WatchDeadlines(bool on) = 0;
};

}  // namespace vt
