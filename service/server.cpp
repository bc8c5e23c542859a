#include "server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <list>

#include "connection.h"

namespace vts {

struct Server::Listener {
    std::string ip;
    std::uint16_t port = 0;
    UniqueFd socket;
    std::thread thread;
    // Connection threads, each with a flag it sets as its last step so it can be joined.
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::list<Worker> workers;

    void JoinFinished(bool all) {
        for (auto it = workers.begin(); it != workers.end();) {
            if (all || it->done->load()) {
                it->thread.join();
                it = workers.erase(it);
            } else {
                ++it;
            }
        }
    }
};

namespace {

UniqueFd BindListener(const std::string& ip, std::uint16_t port, std::uint16_t& boundPort,
                      std::string& error) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, ip.c_str(), &addr.sin_addr) != 1) {
        error = "not an IPv4 address: " + ip;
        return {};
    }
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        error = std::string("socket: ") + std::strerror(errno);
        return {};
    }
    const int one = 1;
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd.Get(), 128) != 0) {
        error = "cannot listen on " + ip + ":" + std::to_string(port) + ": " + std::strerror(errno);
        return {};
    }
    socklen_t length = sizeof addr;
    ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&addr), &length);
    boundPort = ntohs(addr.sin_port);
    return fd;
}

}  // namespace

Server::Server(ServiceState& state, RequestLog& log) : state_(state), log_(log) {}

Server::~Server() {
    Stop();
}

bool Server::Start(const std::vector<std::string>& ips, std::uint16_t port, std::string& error) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    wakeRead_ = UniqueFd(pipeFds[0]);
    wakeWrite_ = UniqueFd(pipeFds[1]);
    for (const std::string& ip : ips) {
        auto listener = std::make_unique<Listener>();
        listener->ip = ip;
        listener->socket = BindListener(ip, port, listener->port, error);
        if (!listener->socket) {
            listeners_.clear();
            return false;
        }
        listeners_.push_back(std::move(listener));
    }
    for (auto& listener : listeners_) {
        listener->thread = std::thread([this, &l = *listener] { AcceptLoop(l); });
    }
    return true;
}

std::uint16_t Server::PortOf(std::size_t i) const {
    return i < listeners_.size() ? listeners_[i]->port : 0;
}

void Server::Stop() {
    if (stopping_.exchange(true)) return;
    if (wakeWrite_) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t n = ::write(wakeWrite_.Get(), &byte, 1);
    }
    for (auto& listener : listeners_) {
        if (listener->thread.joinable()) listener->thread.join();
    }
    listeners_.clear();
}

void Server::AcceptLoop(Listener& listener) {
    for (;;) {
        pollfd fds[2] = {{listener.socket.Get(), POLLIN, 0}, {wakeRead_.Get(), POLLIN, 0}};
        const int n = ::poll(fds, 2, 1000);
        listener.JoinFinished(false);
        if (stopping_.load()) break;
        if (n <= 0 || !(fds[0].revents & POLLIN)) continue;
        UniqueFd client(::accept4(listener.socket.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client) continue;
        if (listener.workers.size() >= kMaxConnectionsPerAddress) continue;  // closes it
        auto done = std::make_shared<std::atomic<bool>>(false);
        listener.workers.push_back({std::thread([this, &listener, done, fd = client.Release()] {
                                        const ConnectionContext context{state_, log_, listener.ip,
                                                                        listener.port, stopping_};
                                        ServeConnection(UniqueFd(fd), context);
                                        done->store(true);
                                    }),
                                    done});
    }
    listener.JoinFinished(true);
}

}  // namespace vts
