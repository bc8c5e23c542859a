// Fault modes: the ways the service can misbehave on purpose, so that tests can watch the
// program cope with a broken network or server.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>

#include "http_response.h"

namespace vts {

enum class FaultMode {
    None,
    NeverAnswer,   // read the request, send nothing, hold the connection
    StallBody,     // head with Content-Length, half the body, then hold the connection
    TruncateBody,  // head with Content-Length, half the body, then close
    EndlessBody,   // head without a length, then data until 64 MiB or the client goes
    ErrorPage,     // 200 with an HTML error page
    Status404,
    Status500,
    Status429,     // 429 Too Many Requests with Retry-After: 60, as a rate-limited API says
    EmptyBody,     // 200 with Content-Length: 0
    CloseNoReply,  // read the request, close without a byte
    RedirectLoop,  // 302 back to the address asked for, for ever
};

// Which requests a fault applies to.
enum class FaultScope {
    Data,  // /data/..., /vlbartlistfull.txt and /v1/forecast
    All,   // those and the forecast's counter request /r.php?sh...
};

// What a route is, as far as faults are concerned.
enum class FaultTarget { Never, Data, Counter };

std::optional<FaultMode> ParseFaultMode(std::string_view name);
std::string_view FaultModeName(FaultMode mode);
std::optional<FaultScope> ParseFaultScope(std::string_view name);
std::string_view FaultScopeName(FaultScope scope);

// The response that replaces the normal one for the modes that are plain responses; nullopt
// for None and for the modes that need control of the connection. target: the request's.
std::optional<HttpResponse> SubstituteResponse(FaultMode mode, std::string_view target);

// The mode in force, shared by all connections; changed at start and by /control/fault.
class FaultState {
  public:
    FaultState(FaultMode mode, FaultScope scope) : mode_(mode), scope_(scope) {}

    void Set(FaultMode mode, FaultScope scope);
    FaultMode Mode() const;
    FaultScope Scope() const;
    // The mode that applies to a request of this target.
    FaultMode ModeFor(FaultTarget target) const;
    // Changes with every Set, so a held connection notices a new mode.
    std::uint64_t Generation() const { return generation_.load(); }

  private:
    mutable std::mutex mutex_;
    FaultMode mode_;
    FaultScope scope_;
    std::atomic<std::uint64_t> generation_{0};
};

}  // namespace vts
