#include "download/fetch_url.h"

#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "download/base64.h"
#include "download/redirect.h"
#include "ports/internet.h"
#include "text/encoding.h"

namespace vt {

namespace {

bool IsExpired(const FetchOptions& options) {
    return options.expired && options.expired();
}

// Null for an unknown mode: the attempt fails without traffic.
std::unique_ptr<InternetSession> OpenSession(Internet& internet,
                                             const ConnectionSettings& connection) {
    switch (connection.mode) {
        case ConnectionMode::Direct:
            return internet.Open(kUserAgent, AccessType::Direct, "");
        case ConnectionMode::SystemSettings:
            return internet.Open(kUserAgent, AccessType::Preconfig, "");
        case ConnectionMode::Proxy:
            return internet.Open(kUserAgent, AccessType::Proxy,
                                 connection.ProxyServer + ":" + connection.ProxyPort);
        case ConnectionMode::Unknown:
            break;
    }
    return nullptr;
}

bool IsSuccessStatus(int status) {
    return status >= 200 && status <= 299;
}

// False on a failed read, a body over the cap (overCap set) or one shorter than its
// Content-Length.
bool ReadBody(UrlRequest& request, const FetchOptions& options, std::string& body, bool& overCap) {
    const std::optional<std::int64_t> declared = request.ContentLength();
    if (declared && *declared > static_cast<std::int64_t>(options.maxBodyBytes)) {
        overCap = true;
        return false;
    }
    std::vector<char> buffer(kReadBufferBytes);
    for (;;) {
        if (IsExpired(options)) return false;
        const ReadResult read = request.Read(buffer.data(), buffer.size());
        if (!read.ok || read.bytes > buffer.size()) return false;
        if (read.bytes == 0) break;
        if (read.bytes > options.maxBodyBytes - body.size()) {
            overCap = true;
            return false;
        }
        body.append(buffer.data(), read.bytes);
    }
    return !declared || *declared < 0 || static_cast<std::int64_t>(body.size()) >= *declared;
}

// Three attempts with a pause after each failure; null after the last one, or once the fetch
// has expired: a given-up worker sends nothing more.
template <typename Open>
auto WithRetries(Internet& internet, const FetchOptions& options, Open&& open) -> decltype(open()) {
    for (int attempt = 0; attempt < kFetchAttempts; ++attempt) {
        if (IsExpired(options)) return nullptr;
        if (auto made = open()) return made;
        internet.Sleep(kFetchPauseMillis);
    }
    return nullptr;
}

}  // namespace

std::string ProxyHeaderBlock(const ConnectionSettings& connection) {
    if (connection.mode != ConnectionMode::Proxy || connection.userProxy.empty()) return {};
    // The credentials go out as their code-page-1251 bytes, as the settings file holds them.
    const std::string credentials =
        Base64Encode(Utf8ToCp1251(connection.userProxy + ":" + connection.passwdProxy));
    // CR LF between the lines: the separator WinINet documents for extra headers.
    return "Accept: */*\r\nProxy-Authorization: Basic " + credentials;
}

std::optional<ProxyLogin> TunnelLogin(const ConnectionSettings& connection) {
    if (connection.mode != ConnectionMode::Proxy || connection.userProxy.empty()) return {};
    return ProxyLogin{Utf8ToCp1251(connection.userProxy), Utf8ToCp1251(connection.passwdProxy)};
}

bool HasProxyAddressForCredentials(const ConnectionSettings& connection) {
    return connection.mode != ConnectionMode::Proxy || connection.userProxy.empty() ||
           connection.ProxyServer.find_first_not_of(" \t") != std::string::npos;
}

FetchResult FetchUrl(Internet& internet, const ConnectionSettings& connection,
                     const std::string& url, const FetchOptions& options) {
    if (!HasProxyAddressForCredentials(connection)) return {};
    const std::unique_ptr<InternetSession> session =
        WithRetries(internet, options, [&] { return OpenSession(internet, connection); });
    if (!session) return {};

    const std::string headers = ProxyHeaderBlock(connection);
    const std::optional<ProxyLogin> login = TunnelLogin(connection);
    std::unique_ptr<UrlRequest> request;
    std::string address = url;
    for (int hop = 0;; ++hop) {
        // Through a tunnel the extra headers reach the server itself: the proxy's credentials
        // go to the proxy on the CONNECT instead.
        const bool tunnel = IsHttpsAddress(address);
        request = WithRetries(internet, options, [&] {
            return session->OpenUrl(address, tunnel ? std::string() : headers, kOpenUrlFlags,
                                    tunnel && login ? &*login : nullptr);
        });
        if (!request || !IsRedirectStatus(request->Status())) break;
        const std::optional<std::string> location = request->Location();
        const std::optional<std::string> next =
            location ? RedirectTarget(address, *location) : std::nullopt;
        if (hop == kMaxRedirects || !next) return {};
        address = *next;
        request.reset();
    }
    if (!request) return {};

    FetchResult result;
    result.status = request->Status();
    // An error page or a proxy's refusal is not the file asked for.
    if (!IsSuccessStatus(result.status)) {
        result.retryAfter = request->RetryAfter();
        return result;
    }

    try {
        result.ok = ReadBody(*request, options, result.body, result.overCap);
    } catch (const std::bad_alloc&) {
        result.ok = false;
    }
    if (!result.ok) result.body.clear();
    // The request is declared after the session, so it is closed first.
    return result;
}

}  // namespace vt
