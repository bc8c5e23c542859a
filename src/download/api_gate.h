// How often a free third-party API is asked: after a failure no sooner than 10 minutes later,
// after 429 or 5xx no sooner than 15 minutes (longer when its Retry-After asks, up to 6 hours).
// One gate per API, kept by the UI thread across jobs.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/calendar.h"

namespace vt {

inline constexpr std::int64_t kPauseAfterFailureMinutes = 10;
inline constexpr std::int64_t kPauseAfterRefusalMinutes = 15;
inline constexpr std::int64_t kLongestRetryAfterSeconds = 6 * 3600;

// What one request brought: nothing (no answer), or the final HTTP status and Retry-After.
struct ApiReply {
    bool succeeded = false;  // a usable answer
    int status = 0;          // 0 without an answer
    std::optional<std::int64_t> retryAfterSeconds;
    bool operator==(const ApiReply&) const = default;
};

// Retry-After as delta-seconds; nullopt for anything else (an HTTP date counts as absent).
std::optional<std::int64_t> ParseRetryAfter(std::string_view value);

class ApiGate {
  public:
    bool IsOpen(const UtcTime& now) const;
    void Record(const UtcTime& now, const ApiReply& reply);

  private:
    std::optional<std::int64_t> closedUntilMillis_;
};

}  // namespace vt
