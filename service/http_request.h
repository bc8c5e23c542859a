// The request side of HTTP/1.1: enough to read what a browser or WinINet sends, and to keep
// every header in the order received for the log.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vts {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string method;
    std::string target;  // as on the request line, never decoded
    std::string version;
    HeaderList headers;
};

enum class ParseStatus { Complete, NeedMore, Bad };

struct ParseResult {
    ParseStatus status = ParseStatus::NeedMore;
    HttpRequest request;       // filled when Complete; Bad keeps what could be read
    std::size_t consumed = 0;  // bytes of the head, blank line included
    std::string error;
};

// Parses the request head at the start of `buffer`. Lines may end with CR LF or LF alone.
// A head longer than maxHeadBytes without its blank line is Bad.
ParseResult ParseRequestHead(std::string_view buffer, std::size_t maxHeadBytes);

// The path part of the target; an absolute-form target ("http://host/p?q") gives "/p".
std::string_view TargetPath(std::string_view target);

// Everything after the first '?', taken as it is; empty when there is none.
std::string_view RawQuery(std::string_view target);

// The value of name=value in an '&'-separated query, with %XX and '+' decoded.
std::optional<std::string> QueryParam(std::string_view rawQuery, std::string_view name);

// The first header of that name, compared without letter case.
std::optional<std::string_view> HeaderValue(const HttpRequest& request, std::string_view name);

// True when the connection ends after this request: HTTP/1.0 without keep-alive, or
// "Connection: close".
bool WantsClose(const HttpRequest& request);

// Body length announced by Content-Length: 0 when absent, nullopt when malformed or when the
// body is chunked (which this service does not accept).
std::optional<std::size_t> RequestBodyLength(const HttpRequest& request);

}  // namespace vts
