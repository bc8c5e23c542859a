#include "http_request.h"

#include <cctype>

namespace vts {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool IsTokenChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u)) return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Position of the end of the head (after its blank line), or npos.
std::size_t HeadEnd(std::string_view buffer) {
    std::size_t lineStart = 0;
    bool seenRequestLine = false;
    while (lineStart < buffer.size()) {
        const std::size_t lf = buffer.find('\n', lineStart);
        if (lf == std::string_view::npos) return std::string_view::npos;
        std::string_view line = buffer.substr(lineStart, lf - lineStart);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // Blank lines before the request line are tolerated (RFC 9112 2.2).
        if (line.empty() && seenRequestLine) return lf + 1;
        if (!line.empty()) seenRequestLine = true;
        lineStart = lf + 1;
    }
    return std::string_view::npos;
}

bool ParseRequestLine(std::string_view line, HttpRequest& request, std::string& error) {
    const std::size_t sp1 = line.find(' ');
    const std::size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp2 == std::string_view::npos || line.find(' ', sp2 + 1) != std::string_view::npos) {
        error = "request line is not METHOD TARGET VERSION";
        return false;
    }
    request.method = line.substr(0, sp1);
    request.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    request.version = line.substr(sp2 + 1);
    for (char c : request.method) {
        if (!IsTokenChar(c)) {
            error = "bad method";
            return false;
        }
    }
    if (request.method.empty() || request.target.empty()) {
        error = "empty method or target";
        return false;
    }
    if (request.version != "HTTP/1.1" && request.version != "HTTP/1.0") {
        error = "unsupported version";
        return false;
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string DecodeQueryPart(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '+') {
            out += ' ';
        } else if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 &&
                   HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

ParseResult ParseRequestHead(std::string_view buffer, std::size_t maxHeadBytes) {
    ParseResult result;
    const std::size_t end = HeadEnd(buffer);
    if (end == std::string_view::npos || end > maxHeadBytes) {
        if (buffer.size() > maxHeadBytes || end != std::string_view::npos) {
            result.status = ParseStatus::Bad;
            result.error = "request head too long";
        }
        return result;
    }
    result.consumed = end;
    result.status = ParseStatus::Bad;

    std::string_view head = buffer.substr(0, end);
    bool first = true;
    while (!head.empty()) {
        const std::size_t lf = head.find('\n');
        std::string_view line = head.substr(0, lf);
        head.remove_prefix(lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first) {
            if (line.empty()) continue;
            if (!ParseRequestLine(line, result.request, result.error)) return result;
            first = false;
            continue;
        }
        if (line.empty()) break;
        if (line.front() == ' ' || line.front() == '\t') {
            result.error = "folded header line";
            return result;
        }
        const std::size_t colon = line.find(':');
        const std::string_view name = line.substr(0, colon);
        if (colon == std::string_view::npos || name.empty()) {
            result.error = "header line without a name";
            return result;
        }
        for (char c : name) {
            if (!IsTokenChar(c)) {
                result.error = "bad header name";
                return result;
            }
        }
        result.request.headers.emplace_back(name, TrimBlanks(line.substr(colon + 1)));
    }
    result.status = ParseStatus::Complete;
    return result;
}

std::string_view TargetPath(std::string_view target) {
    if (target.starts_with("http://")) {
        const std::size_t slash = target.find('/', 7);
        target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
    }
    return target.substr(0, target.find('?'));
}

std::string_view RawQuery(std::string_view target) {
    const std::size_t q = target.find('?');
    return q == std::string_view::npos ? std::string_view() : target.substr(q + 1);
}

std::optional<std::string> QueryParam(std::string_view rawQuery, std::string_view name) {
    while (!rawQuery.empty()) {
        const std::size_t amp = rawQuery.find('&');
        const std::string_view pair = rawQuery.substr(0, amp);
        const std::size_t eq = pair.find('=');
        if (DecodeQueryPart(pair.substr(0, eq)) == name) {
            return eq == std::string_view::npos ? std::string()
                                                : DecodeQueryPart(pair.substr(eq + 1));
        }
        if (amp == std::string_view::npos) break;
        rawQuery.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

std::optional<std::string_view> HeaderValue(const HttpRequest& request, std::string_view name) {
    for (const auto& [key, value] : request.headers) {
        if (EqualsNoCase(key, name)) return value;
    }
    return std::nullopt;
}

bool WantsClose(const HttpRequest& request) {
    const std::optional<std::string_view> connection = HeaderValue(request, "Connection");
    if (connection && EqualsNoCase(*connection, "close")) return true;
    if (request.version == "HTTP/1.0")
        return !(connection && EqualsNoCase(*connection, "keep-alive"));
    return false;
}

std::optional<std::size_t> RequestBodyLength(const HttpRequest& request) {
    if (HeaderValue(request, "Transfer-Encoding")) return std::nullopt;
    const std::optional<std::string_view> length = HeaderValue(request, "Content-Length");
    if (!length) return 0;
    if (length->empty() || length->size() > 9) return std::nullopt;
    std::size_t n = 0;
    for (char c : *length) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    return n;
}

}  // namespace vts
