// The HTTP client the download jobs use, cut at the granularity of one attempt so that the
// portable fetch owns the modes, the retries, the pauses and the header bytes. The Win32 adapter
// maps it onto WinINet; closing a handle is destroying its object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vt {

// The values of the platform's access types.
enum class AccessType : int {
    Preconfig = 0,  // the system's Internet settings choose the proxy
    Direct = 1,
    Proxy = 3,  // every request goes to the given proxy, no bypass list
};

// Reload from the origin, write nothing to the local cache, have a proxy pass the request on,
// and hand redirects back rather than follow them (the fetch follows them within bounds).
inline constexpr std::uint32_t kOpenUrlFlags = 0x84200100;

struct ReadResult {
    bool ok = false;
    std::size_t bytes = 0;  // 0 with ok: the end of the body
};

// The explicit proxy's user for a tunnel (https): the platform gives it to the proxy when the
// proxy asks, on the CONNECT, never inside the tunnel. Code-page-1251 bytes, as the settings.
struct ProxyLogin {
    std::string user;
    std::string password;
    bool operator==(const ProxyLogin&) const = default;
};

// One answered GET; the response headers have arrived.
class UrlRequest {
  public:
    virtual ~UrlRequest() = default;
    // The HTTP status, 0 when the server closed without a reply.
    virtual int Status() = 0;
    // Nullopt when the response has no usable Content-Length.
    virtual std::optional<std::int64_t> ContentLength() = 0;
    // Up to size bytes of the body into buffer.
    virtual ReadResult Read(char* buffer, std::size_t size) = 0;
    // The Location header of a redirect, nullopt without one.
    virtual std::optional<std::string> Location() = 0;
    // The Retry-After header, nullopt without one.
    virtual std::optional<std::string> RetryAfter() = 0;
};

class InternetSession {
  public:
    virtual ~InternetSession() = default;
    // Connects on a connection of its own (never one kept from another request, which may have
    // been opened under other settings), sends the GET with extraHeaders (the exact bytes;
    // empty: none) and waits for the response headers. Null when no answer could be obtained.
    // tunnelLogin, for https through the explicit proxy only, answers the proxy's challenge.
    virtual std::unique_ptr<UrlRequest> OpenUrl(const std::string& url,
                                                const std::string& extraHeaders,
                                                std::uint32_t flags,
                                                const ProxyLogin* tunnelLogin) = 0;
};

// Must be usable from a worker thread; each call opens its own handles.
class Internet {
  public:
    virtual ~Internet() = default;
    // proxy: "host:port" as given, used with AccessType::Proxy only; empty: none.
    virtual std::unique_ptr<InternetSession> Open(const std::string& agent, AccessType type,
                                                  const std::string& proxy) = 0;
    // The pause between failed attempts.
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace vt
