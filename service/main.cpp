// vtservice: the reference weather service on loopback, the peer of the program's tests and
// demos.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"
#include "request_log.h"
#include "routes.h"
#include "server.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const vts::OptionsResult parsed = vts::ParseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "vtservice: %s\n%.*s", parsed.error.c_str(),
                     static_cast<int>(vts::UsageText().size()), vts::UsageText().data());
        return 2;
    }
    const vts::Options& options = *parsed.options;
    if (options.help) {
        std::fwrite(vts::UsageText().data(), 1, vts::UsageText().size(), stdout);
        return 0;
    }

    // Blocked before any thread starts, so every thread inherits the mask and only sigwait
    // below sees the signals.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    vts::RequestLog log;
    if (!options.logPath.empty() && !log.Open(options.logPath)) {
        std::fprintf(stderr, "vtservice: cannot open log file %s\n", options.logPath.c_str());
        return 1;
    }
    vts::ServiceState state(options.fault, options.faultScope, options.now);
    std::string error;
    const std::optional<vts::ApiSamples> api = vts::ApiSamples::Load(VT_SERVICE_FEED_DIR, error);
    if (!api) {
        std::fprintf(stderr, "vtservice: the forecast API's samples: %s\n", error.c_str());
        return 1;
    }
    state.api = &*api;
    vts::Server server(state, log);
    if (!server.Start(vts::ListenAddresses(options), options.port, error)) {
        std::fprintf(stderr, "vtservice: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", vts::ReadyLine(options, server.PortOf(0)).c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    server.Stop();
    return 0;
}
