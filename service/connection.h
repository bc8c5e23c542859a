// One client connection: reads requests, routes them, logs them, and answers them, either
// properly or in the fault mode in force.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "request_log.h"
#include "routes.h"
#include "socket_io.h"

namespace vts {

struct ConnectionContext {
    ServiceState& state;
    RequestLog& log;
    std::string listenIp;
    std::uint16_t listenPort = 0;
    const std::atomic<bool>& stopping;
};

// Returns when the connection is over; the socket is closed by then.
void ServeConnection(UniqueFd socket, const ConnectionContext& context);

}  // namespace vts
