#include "win32/wininet_client.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <utility>

#include "win32/handles.h"

namespace vt {
namespace {

struct InternetTraits {
    static HINTERNET Invalid() { return nullptr; }
    static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
using Handle = UniqueHandle<HINTERNET, InternetTraits>;

class WinRequest : public UrlRequest {
  public:
    // The request is closed before its connection.
    WinRequest(Handle connection, Handle request)
        : connection_(std::move(connection)), request_(std::move(request)) {}

    int Status() override {
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!HttpQueryInfoA(request_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                            &status, &size, nullptr)) {
            return 0;
        }
        return static_cast<int>(status);
    }

    std::optional<std::int64_t> ContentLength() override {
        char text[32] = {};
        DWORD size = sizeof text - 1;
        if (!HttpQueryInfoA(request_.Get(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
            return std::nullopt;
        }
        char* end = nullptr;
        const long long value = std::strtoll(text, &end, 10);
        if (end == text || *end != '\0' || value < 0) return std::nullopt;
        return value;
    }

    std::optional<std::string> Location() override { return Header(HTTP_QUERY_LOCATION); }

    std::optional<std::string> RetryAfter() override { return Header(HTTP_QUERY_RETRY_AFTER); }

    ReadResult Read(char* buffer, std::size_t size) override {
        DWORD read = 0;
        if (!InternetReadFile(request_.Get(), buffer, static_cast<DWORD>(size), &read)) {
            return {false, 0};
        }
        return {true, read};
    }

  private:
    std::optional<std::string> Header(DWORD query) {
        char text[4096] = {};
        DWORD size = sizeof text - 1;
        if (!HttpQueryInfoA(request_.Get(), query, text, &size, nullptr)) return std::nullopt;
        return std::string(text, size);
    }

    Handle connection_;
    Handle request_;
};

class WinSession : public InternetSession {
  public:
    WinSession(Handle session, unsigned timeoutMs)
        : session_(std::move(session)), timeoutMs_(timeoutMs) {}

    std::unique_ptr<UrlRequest> OpenUrl(const std::string& url, const std::string& extraHeaders,
                                        std::uint32_t flags,
                                        const ProxyLogin* tunnelLogin) override {
        char host[256] = {};
        char path[2048] = {};
        URL_COMPONENTSA parts = {};
        parts.dwStructSize = sizeof parts;
        parts.lpszHostName = host;
        parts.dwHostNameLength = sizeof host;
        parts.lpszUrlPath = path;
        parts.dwUrlPathLength = sizeof path;
        if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) return nullptr;
        // The path component of a cracked URL holds the query too.
        Handle connection(InternetConnectA(session_.Get(), host, parts.nPort, nullptr, nullptr,
                                           INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection) return nullptr;
        if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
        Handle request(HttpOpenRequestA(connection.Get(), "GET", path[0] ? path : "/", "HTTP/1.1",
                                        nullptr, nullptr, flags, 0));
        if (!request) return nullptr;
        // WinINet keeps connections in one pool for the whole process, whatever the session's
        // proxy: a request after a change of settings could go down a connection opened under
        // the old ones (direct, with the proxy's password). No answer is kept alive.
        if (!HttpAddRequestHeadersA(request.Get(), "Connection: close", static_cast<DWORD>(-1),
                                    HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE)) {
            return nullptr;
        }
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT}) {
            DWORD value = timeoutMs_;
            InternetSetOptionA(request.Get(), option, &value, sizeof value);
        }
        // WinINet answers the proxy's 407 to the CONNECT with these; they never enter the tunnel.
        if (tunnelLogin) {
            std::string user = tunnelLogin->user, password = tunnelLogin->password;
            if (!InternetSetOptionA(request.Get(), INTERNET_OPTION_PROXY_USERNAME, user.data(),
                                    static_cast<DWORD>(user.size() + 1)) ||
                !InternetSetOptionA(request.Get(), INTERNET_OPTION_PROXY_PASSWORD, password.data(),
                                    static_cast<DWORD>(password.size() + 1))) {
                return nullptr;
            }
        }
        const BOOL sent =
            extraHeaders.empty()
                ? HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0)
                : HttpSendRequestA(request.Get(), extraHeaders.c_str(),
                                   static_cast<DWORD>(extraHeaders.size()), nullptr, 0);
        if (!sent) return nullptr;
        return std::make_unique<WinRequest>(std::move(connection), std::move(request));
    }

  private:
    Handle session_;
    unsigned timeoutMs_;
};

}  // namespace

std::unique_ptr<InternetSession> WinInternet::Open(const std::string& agent, AccessType type,
                                                   const std::string& proxy) {
    const bool useProxy = type == AccessType::Proxy;
    Handle session(InternetOpenA(agent.c_str(), static_cast<DWORD>(type),
                                 useProxy ? proxy.c_str() : nullptr, nullptr, 0));
    if (!session) return nullptr;
    return std::make_unique<WinSession>(std::move(session), timeoutMs_);
}

void WinInternet::Sleep(int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace vt
