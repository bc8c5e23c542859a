#include "download/api_gate.h"

#include <algorithm>

namespace vt {
namespace {

constexpr std::int64_t kMillisPerMinute = 60 * 1000;

bool IsRefusal(int status) {
    return status == 429 || (status >= 500 && status <= 599);
}

}  // namespace

std::optional<std::int64_t> ParseRetryAfter(std::string_view value) {
    if (value.empty() || value.size() > 9) return std::nullopt;
    std::int64_t seconds = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        seconds = seconds * 10 + (c - '0');
    }
    return seconds;
}

bool ApiGate::IsOpen(const UtcTime& now) const {
    return !closedUntilMillis_ || ToUnixMillis(now) >= *closedUntilMillis_;
}

void ApiGate::Record(const UtcTime& now, const ApiReply& reply) {
    if (reply.succeeded) {
        closedUntilMillis_.reset();
        return;
    }
    std::int64_t pauseMillis = kPauseAfterFailureMinutes * kMillisPerMinute;
    if (IsRefusal(reply.status)) {
        pauseMillis = kPauseAfterRefusalMinutes * kMillisPerMinute;
        if (reply.retryAfterSeconds) {
            pauseMillis = std::max(
                pauseMillis, std::min(*reply.retryAfterSeconds, kLongestRetryAfterSeconds) * 1000);
        }
    }
    closedUntilMillis_ = ToUnixMillis(now) + pauseMillis;
}

}  // namespace vt
