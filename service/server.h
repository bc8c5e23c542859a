// The listeners: one socket and one thread per loopback address, each accepted connection on a
// thread of its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "request_log.h"
#include "routes.h"
#include "socket_io.h"

namespace vts {

// More connections at once on one address are closed at once, so a runaway client cannot
// exhaust threads.
inline constexpr int kMaxConnectionsPerAddress = 64;

class Server {
  public:
    Server(ServiceState& state, RequestLog& log);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds every address (port 0: an ephemeral port per address), then starts serving. On a
    // failure nothing is left listening and `error` says which address failed.
    bool Start(const std::vector<std::string>& ips, std::uint16_t port, std::string& error);

    // The port the i-th address listens on.
    std::uint16_t PortOf(std::size_t i) const;

    // Ends every connection (held faults included) and joins all threads.
    void Stop();

  private:
    struct Listener;
    void AcceptLoop(Listener& listener);

    ServiceState& state_;
    RequestLog& log_;
    std::atomic<bool> stopping_{false};
    UniqueFd wakeRead_, wakeWrite_;
    std::vector<std::unique_ptr<Listener>> listeners_;
};

}  // namespace vts
