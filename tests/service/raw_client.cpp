#include "raw_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

namespace vts::test {

RawReply Exchange(std::uint16_t port, std::string_view request, std::chrono::milliseconds limit,
                  std::size_t maxBytes) {
    RawReply reply;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return reply;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return reply;
    }
    reply.connected = true;
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);

    const auto deadline = std::chrono::steady_clock::now() + limit;
    char chunk[65536];
    while (reply.bytes.size() < maxBytes) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            reply.timedOut = true;
            break;
        }
        pollfd p{fd, POLLIN, 0};
        const int n = ::poll(&p, 1, static_cast<int>(left.count()));
        if (n == 0) {
            reply.timedOut = true;
            break;
        }
        if (n < 0 && errno == EINTR) continue;
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) {
            reply.closedByServer = true;
            break;
        }
        reply.bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return reply;
}

std::string GetRequest(std::string_view target, std::uint16_t port,
                       const std::vector<std::pair<std::string, std::string>>& extra) {
    std::string request = "GET " + std::string(target) +
                          " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n";
    for (const auto& [name, value] : extra) request += name + ": " + value + "\r\n";
    request += "Connection: close\r\n\r\n";
    return request;
}

std::optional<std::string> Reply::Header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (key.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < key.size() && same; ++i) {
            same = std::tolower(static_cast<unsigned char>(key[i])) ==
                   std::tolower(static_cast<unsigned char>(name[i]));
        }
        if (same) return value;
    }
    return std::nullopt;
}

std::optional<Reply> ParseReply(std::string_view bytes) {
    const std::size_t end = bytes.find("\r\n\r\n");
    if (end == std::string_view::npos || !bytes.starts_with("HTTP/1.1 ")) return std::nullopt;
    Reply reply;
    reply.status = std::stoi(std::string(bytes.substr(9, 3)));
    std::string_view head = bytes.substr(0, end);
    const std::size_t statusEnd = head.find("\r\n");
    head = statusEnd == std::string_view::npos ? std::string_view() : head.substr(statusEnd + 2);
    while (!head.empty()) {
        const std::size_t crlf = head.find("\r\n");
        const std::string_view line = head.substr(0, crlf);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) return std::nullopt;
        std::string_view value = line.substr(colon + 1);
        while (value.starts_with(' ')) value.remove_prefix(1);
        reply.headers.emplace_back(line.substr(0, colon), value);
        if (crlf == std::string_view::npos) break;
        head.remove_prefix(crlf + 2);
    }
    reply.body = bytes.substr(end + 4);
    return reply;
}

}  // namespace vts::test
