// Responses: what a route answers, and the bytes of its head.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "http_request.h"

namespace vts {

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/plain";
    std::string body;
    HeaderList extraHeaders;  // e.g. Location
};

std::string_view ReasonPhrase(int status);

HttpResponse TextResponse(int status, std::string body);
HttpResponse HtmlResponse(int status, std::string body);

struct HeadOptions {
    // Announced Content-Length; nullopt sends none (the body then ends with the connection).
    std::optional<std::size_t> contentLength;
    bool closeAfter = false;
};

// Status line and headers up to and including the blank line.
std::string ResponseHead(const HttpResponse& response, const HeadOptions& options);

}  // namespace vts
