#include "win32/worker_jobs.h"

#include <memory>

#include "common/errors.h"
#include "download/jobs.h"
#include "win32/system_adapters.h"
#include "win32/win_files.h"
#include "win32/wininet_client.h"

namespace vt {
namespace {

constexpr UINT kJobWatchInterval = 1000;

// What a worker owns: copies of everything it touches, so neither a given-up job nor the exit
// (which does not wait for it) leaves it with freed state.
struct WorkerState {
    HWND window;
    std::uint64_t token;
    JobInput input;
};

DWORD WINAPI RunWorker(void* parameter) {
    const std::unique_ptr<WorkerState> state(static_cast<WorkerState*>(parameter));
    WinInternet internet;
    WinFiles files;
    SystemClock clock;
    JobOutcome outcome = RunJob(state->input, JobPorts{internet, files, clock});
    // Like a synchronised call: the UI thread runs the completion while the worker waits.
    SendMessageW(state->window, kMsgJobDone, static_cast<WPARAM>(state->token),
                 reinterpret_cast<LPARAM>(&outcome));
    return 0;
}

}  // namespace

void WorkerJobs::Launch(std::uint64_t token, const JobInput& input) {
    auto state = std::make_unique<WorkerState>(WorkerState{window_, token, input});
    const HANDLE thread = CreateThread(nullptr, 0, RunWorker, state.get(), 0, nullptr);
    if (!thread) throw HandlerError("Не удалось начать загрузку: недостаточно системных ресурсов");
    state.release();  // the worker owns it now
    CloseHandle(thread);
}

void WorkerJobs::WatchDeadlines(bool on) {
    if (on) {
        SetTimer(window_, kJobWatchTimer, kJobWatchInterval, nullptr);
    } else {
        KillTimer(window_, kJobWatchTimer);
    }
}

}  // namespace vt
