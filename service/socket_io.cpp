#include "socket_io.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vts {
namespace {

constexpr std::chrono::milliseconds kSlice{100};

enum class WaitResult { Ready, Timeout, Interrupted, Error };

WaitResult WaitFor(int fd, short events, SteadyClock::time_point deadline,
                   const Interrupted& interrupted) {
    for (;;) {
        if (interrupted && interrupted()) return WaitResult::Interrupted;
        const auto now = SteadyClock::now();
        if (now >= deadline) return WaitResult::Timeout;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(std::min(left, kSlice).count()) + 1);
        if (n < 0 && errno != EINTR) return WaitResult::Error;
        if (n > 0) return WaitResult::Ready;
    }
}

IoStatus FromWait(WaitResult w) {
    switch (w) {
        case WaitResult::Timeout:
            return IoStatus::Timeout;
        case WaitResult::Interrupted:
            return IoStatus::Interrupted;
        default:
            return IoStatus::Error;
    }
}

}  // namespace

void UniqueFd::Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

IoStatus ReceiveSome(int fd, std::string& buffer, SteadyClock::time_point deadline,
                     const Interrupted& interrupted) {
    const WaitResult w = WaitFor(fd, POLLIN, deadline, interrupted);
    if (w != WaitResult::Ready) return FromWait(w);
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            buffer.append(chunk, static_cast<std::size_t>(n));
            return IoStatus::Ok;
        }
        if (n == 0) return IoStatus::PeerClosed;
        if (errno != EINTR) return errno == ECONNRESET ? IoStatus::PeerClosed : IoStatus::Error;
    }
}

IoStatus SendAll(int fd, std::string_view data, SteadyClock::time_point deadline,
                 const Interrupted& interrupted) {
    while (!data.empty()) {
        const WaitResult w = WaitFor(fd, POLLOUT, deadline, interrupted);
        if (w != WaitResult::Ready) return FromWait(w);
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            data.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            return errno == EPIPE || errno == ECONNRESET ? IoStatus::PeerClosed : IoStatus::Error;
        }
    }
    return IoStatus::Ok;
}

IoStatus HoldOpen(int fd, SteadyClock::time_point deadline, const Interrupted& interrupted) {
    std::string discard;
    for (;;) {
        const IoStatus status = ReceiveSome(fd, discard, deadline, interrupted);
        if (status != IoStatus::Ok) return status;
        discard.clear();
    }
}

void LingeringClose(int fd, const Interrupted& interrupted) {
    constexpr std::chrono::seconds kLinger{2};
    ::shutdown(fd, SHUT_WR);
    HoldOpen(fd, SteadyClock::now() + kLinger, interrupted);
}

std::string PeerName(int fd) {
    sockaddr_in addr{};
    socklen_t length = sizeof addr;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0) return "?";
    char ip[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &addr.sin_addr, ip, sizeof ip);
    return std::string(ip) + ":" + std::to_string(ntohs(addr.sin_port));
}

}  // namespace vts
