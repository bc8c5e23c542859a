// Runs each download job on a worker thread of its own and hands its outcome to the window's
// thread, where the controller's completion runs while the worker waits.
#pragma once

#include <windows.h>

#include "download/job_runner.h"

namespace vt {

struct JobOutcome;

// The window receives it with the job's token in wParam and the outcome in lParam.
inline constexpr UINT kMsgJobDone = WM_APP + 2;

class WorkerJobs : public JobRunner {
  public:
    // window: gets kMsgJobDone and the deadline timer's ticks (WM_TIMER with kJobWatchTimer).
    explicit WorkerJobs(HWND window) : window_(window) {}

    void Launch(std::uint64_t token, const JobInput& input) override;
    void WatchDeadlines(bool on) override;

    static constexpr UINT_PTR kJobWatchTimer = 3;

  private:
    HWND window_;
};

}  // namespace vt
