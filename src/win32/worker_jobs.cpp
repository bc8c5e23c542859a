#include "win32/worker_jobs.h"

#include <thread>

#include "download/jobs.h"
#include "win32/system_adapters.h"
#include "win32/win_files.h"
#include "win32/wininet_client.h"

namespace vt {
namespace {

constexpr UINT kJobWatchInterval = 1000;

}  // namespace

void WorkerJobs::Launch(std::uint64_t token, const JobInput& input) {
    // The worker owns copies of everything it touches, so neither a given-up job nor the exit
    // (which does not wait for it) leaves it with freed state.
    std::thread([hwnd = window_, token, input] {
        WinInternet internet;
        WinFiles files;
        SystemClock clock;
        JobOutcome outcome = RunJob(input, JobPorts{internet, files, clock});
        // Like a synchronised call: the UI thread runs the completion while the worker waits.
        SendMessageW(hwnd, kMsgJobDone, static_cast<WPARAM>(token),
                     reinterpret_cast<LPARAM>(&outcome));
    }).detach();
}

void WorkerJobs::WatchDeadlines(bool on) {
    if (on) {
        SetTimer(window_, kJobWatchTimer, kJobWatchInterval, nullptr);
    } else {
        KillTimer(window_, kJobWatchTimer);
    }
}

}  // namespace vt
