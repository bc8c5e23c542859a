// One HTTP download into memory, with the user's connection mode, three attempts at each stage,
// a 1000 ms pause after every failed attempt, and at most kMaxRedirects redirects, each to http
// or https.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "ports/internet.h"

namespace vt {

enum class ConnectionMode { Direct, SystemSettings, Proxy, Unknown };

// The connection fields of the settings, UTF-8 as held in memory.
struct ConnectionSettings {
    ConnectionMode mode = ConnectionMode::Unknown;
    std::string ProxyServer;
    std::string ProxyPort;
    std::string userProxy;
    std::string passwdProxy;
};

inline constexpr const char* kUserAgent = "Internet VOR Client";
inline constexpr int kFetchAttempts = 3;
inline constexpr int kFetchPauseMillis = 1000;
inline constexpr std::size_t kReadBufferBytes = 16384;

struct FetchOptions {
    // A longer body fails the fetch, so a runaway answer cannot exhaust memory.
    std::size_t maxBodyBytes = 1024 * 1024;
    // Asked before every attempt and every read; true stops the fetch as failed.
    std::function<bool()> expired;
};

struct FetchResult {
    bool ok = false;
    std::string body;                       // empty after a failure
    int status = 0;                         // of the final answer; 0 without one
    std::optional<std::string> retryAfter;  // its Retry-After header
    bool overCap = false;                   // the body was longer than maxBodyBytes
};

// The extra-header block: empty unless the explicit proxy has a user name.
std::string ProxyHeaderBlock(const ConnectionSettings& connection);

// The proxy's user for https, which reaches the proxy on the CONNECT; nullopt unless the
// explicit proxy has a user name.
std::optional<ProxyLogin> TunnelLogin(const ConnectionSettings& connection);

// False for the explicit proxy with a user name and a blank address: WinINet would then go direct,
// and the credentials with it to the weather service. Such a fetch sends nothing.
bool HasProxyAddressForCredentials(const ConnectionSettings& connection);

// Succeeds only with a 2xx answer whose whole body (as long as its Content-Length, when given)
// arrived within the cap.
FetchResult FetchUrl(Internet& internet, const ConnectionSettings& connection,
                     const std::string& url, const FetchOptions& options);

}  // namespace vt
