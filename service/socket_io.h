// Blocking socket I/O in short slices, so that every wait notices a stop or a change of fault
// mode within a tenth of a second, and no wait outlives its deadline.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace vts {

using SteadyClock = std::chrono::steady_clock;
using Interrupted = std::function<bool()>;

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = other.Release();
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset();

  private:
    int fd_ = -1;
};

enum class IoStatus { Ok, PeerClosed, Timeout, Interrupted, Error };

// Waits for data and appends what arrives (at most 64 KiB per call).
IoStatus ReceiveSome(int fd, std::string& buffer, SteadyClock::time_point deadline,
                     const Interrupted& interrupted);

IoStatus SendAll(int fd, std::string_view data, SteadyClock::time_point deadline,
                 const Interrupted& interrupted);

// Keeps the connection open without answering: reads and drops whatever the client sends,
// until the client closes, the deadline passes or `interrupted` says so.
IoStatus HoldOpen(int fd, SteadyClock::time_point deadline, const Interrupted& interrupted);

// Sends a FIN, then drops what the client still sends for a moment, so that unread input does
// not turn the close into a reset that could destroy the answer on its way.
void LingeringClose(int fd, const Interrupted& interrupted);

// "127.0.0.1:54321" for a connected socket's peer.
std::string PeerName(int fd);

}  // namespace vts
