#include "fault_replies.h"

#include <string>

namespace vts {
namespace {

// Sending more than this per call only makes the stop check later.
constexpr std::size_t kEndlessChunk = 16384;
constexpr std::chrono::seconds kSendTimeout{30};

std::string FillerLines(std::size_t bytes) {
    static constexpr std::string_view kLine = "0123456789012345678901234567890123456789\r\n";
    std::string filler;
    while (filler.size() < bytes) filler += kLine;
    return filler;
}

void SendHalfBody(int fd, const HttpResponse& normal, const Interrupted& interrupted) {
    const std::string head =
        ResponseHead(normal, {.contentLength = normal.body.size(), .closeAfter = true});
    const std::string_view half = std::string_view(normal.body).substr(0, normal.body.size() / 2);
    const auto deadline = SteadyClock::now() + kSendTimeout;
    if (SendAll(fd, head, deadline, interrupted) == IoStatus::Ok) {
        SendAll(fd, half, deadline, interrupted);
    }
}

void SendEndless(int fd, const HttpResponse& normal, const Interrupted& interrupted) {
    const auto deadline = SteadyClock::now() + kLongestHold;
    const std::string head =
        ResponseHead(normal, {.contentLength = std::nullopt, .closeAfter = true});
    if (SendAll(fd, head, deadline, interrupted) != IoStatus::Ok) return;
    std::size_t sent = 0;
    std::string_view first = normal.body;
    if (first.size() > kEndlessBodyLimit) first = first.substr(0, kEndlessBodyLimit);
    if (SendAll(fd, first, deadline, interrupted) != IoStatus::Ok) return;
    sent += first.size();
    const std::string filler = FillerLines(kEndlessChunk);
    while (sent < kEndlessBodyLimit) {
        const std::string_view chunk =
            std::string_view(filler).substr(0, std::min(filler.size(), kEndlessBodyLimit - sent));
        if (SendAll(fd, chunk, deadline, interrupted) != IoStatus::Ok) return;
        sent += chunk.size();
    }
}

}  // namespace

bool IsRawFault(FaultMode mode) {
    switch (mode) {
        case FaultMode::NeverAnswer:
        case FaultMode::StallBody:
        case FaultMode::TruncateBody:
        case FaultMode::EndlessBody:
        case FaultMode::CloseNoReply:
            return true;
        default:
            return false;
    }
}

bool RawFaultSendsStatus(FaultMode mode) {
    return mode == FaultMode::StallBody || mode == FaultMode::TruncateBody ||
           mode == FaultMode::EndlessBody;
}

void PlayRawFault(FaultMode mode, int fd, const HttpResponse& normal,
                  const Interrupted& interrupted) {
    switch (mode) {
        case FaultMode::NeverAnswer:
            HoldOpen(fd, SteadyClock::now() + kLongestHold, interrupted);
            break;
        case FaultMode::StallBody:
            SendHalfBody(fd, normal, interrupted);
            HoldOpen(fd, SteadyClock::now() + kLongestHold, interrupted);
            break;
        case FaultMode::TruncateBody:
            SendHalfBody(fd, normal, interrupted);
            break;
        case FaultMode::EndlessBody:
            SendEndless(fd, normal, interrupted);
            break;
        case FaultMode::CloseNoReply:
        default:
            break;
    }
}

}  // namespace vts
