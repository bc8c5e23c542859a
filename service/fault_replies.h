// The fault modes that misuse the connection itself rather than answer with another response.
#pragma once

#include <chrono>
#include <cstddef>

#include "fault.h"
#include "http_response.h"
#include "socket_io.h"

namespace vts {

// Bounds, so that no fault holds a thread or a socket for ever.
inline constexpr std::chrono::minutes kLongestHold{10};
inline constexpr std::size_t kEndlessBodyLimit = std::size_t{64} << 20;

// NeverAnswer, StallBody, TruncateBody, EndlessBody and CloseNoReply.
bool IsRawFault(FaultMode mode);

// Whether the fault sends a status line at all.
bool RawFaultSendsStatus(FaultMode mode);

// Plays the fault on the connection with `normal` as the response it spoils; the caller then
// closes the socket. `interrupted` ends a hold or an endless body early (service stopping,
// fault mode changed).
void PlayRawFault(FaultMode mode, int fd, const HttpResponse& normal,
                  const Interrupted& interrupted);

}  // namespace vts
