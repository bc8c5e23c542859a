// A raw loopback HTTP client for the service tests: it sends bytes, collects every byte that
// comes back within a time limit, and reports how the exchange ended, which is what the fault
// modes are about.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vts::test {

struct RawReply {
    std::string bytes;
    bool closedByServer = false;  // saw the server's FIN (or a reset)
    bool timedOut = false;        // the time limit ended the exchange
    bool connected = false;
};

// Connects to 127.0.0.1:port, sends the request and reads until the server closes, the time
// limit passes, or maxBytes have arrived.
RawReply Exchange(std::uint16_t port, std::string_view request, std::chrono::milliseconds limit,
                  std::size_t maxBytes = std::size_t{4} << 20);

// "GET target HTTP/1.1" with Host, the extra headers and Connection: close.
std::string GetRequest(std::string_view target, std::uint16_t port,
                       const std::vector<std::pair<std::string, std::string>>& extra = {});

struct Reply {
    int status = 0;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;  // everything after the head
    std::optional<std::string> Header(std::string_view name) const;
};

// Splits status line, headers and the rest; nullopt when the bytes hold no complete head.
std::optional<Reply> ParseReply(std::string_view bytes);

}  // namespace vts::test
