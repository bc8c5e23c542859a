#include "http_response.h"

#include <utility>

namespace vts {

std::string_view ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 302:
            return "Found";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 411:
            return "Length Required";
        case 413:
            return "Content Too Large";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
    }
    return "Unknown";
}

HttpResponse TextResponse(int status, std::string body) {
    HttpResponse r;
    r.status = status;
    r.contentType = "text/plain; charset=utf-8";
    r.body = std::move(body);
    return r;
}

HttpResponse HtmlResponse(int status, std::string body) {
    HttpResponse r;
    r.status = status;
    r.contentType = "text/html; charset=utf-8";
    r.body = std::move(body);
    return r;
}

std::string ResponseHead(const HttpResponse& response, const HeadOptions& options) {
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " ";
    head += ReasonPhrase(response.status);
    head += "\r\nServer: vtservice\r\n";
    if (!response.contentType.empty()) head += "Content-Type: " + response.contentType + "\r\n";
    if (options.contentLength) {
        head += "Content-Length: " + std::to_string(*options.contentLength) + "\r\n";
    }
    // The program under test must fetch afresh every time, never from a cache.
    head += "Cache-Control: no-cache\r\n";
    for (const auto& [name, value] : response.extraHeaders) head += name + ": " + value + "\r\n";
    head += options.closeAfter ? "Connection: close\r\n" : "Connection: keep-alive\r\n";
    head += "\r\n";
    return head;
}

}  // namespace vts
