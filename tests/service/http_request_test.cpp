#include "http_request.h"

#include <gtest/gtest.h>

#include <string>

namespace vts {
namespace {

constexpr std::size_t kLimit = 1024;

TEST(ParseRequestHead, ReadsLineAndHeadersInOrder) {
    const struct {
        std::string bytes;
        std::string method, target, version;
        HeaderList headers;
    } cases[] = {
        {"GET / HTTP/1.1\r\nHost: a\r\n\r\n", "GET", "/", "HTTP/1.1", {{"Host", "a"}}},
        // WinINet's order, with a duplicate header and blanks around a value.
        {"GET /r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT HTTP/1.1\r\n"
         "Accept: */*\r\nUser-Agent: Internet VOR Client\r\nHost: 127.0.0.1:8717\r\n"
         "Pragma: no-cache\r\nAccept:  text/html \r\n\r\n",
         "GET",
         "/r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT",
         "HTTP/1.1",
         {{"Accept", "*/*"},
          {"User-Agent", "Internet VOR Client"},
          {"Host", "127.0.0.1:8717"},
          {"Pragma", "no-cache"},
          {"Accept", "text/html"}}},
        {"HEAD /x HTTP/1.0\n\n", "HEAD", "/x", "HTTP/1.0", {}},
        {"\r\nGET /a HTTP/1.1\r\nX-Empty:\r\n\r\n", "GET", "/a", "HTTP/1.1", {{"X-Empty", ""}}},
    };
    for (const auto& c : cases) {
        const ParseResult r = ParseRequestHead(c.bytes + "rest", kLimit);
        ASSERT_EQ(r.status, ParseStatus::Complete) << c.bytes << r.error;
        EXPECT_EQ(r.request.method, c.method);
        EXPECT_EQ(r.request.target, c.target);
        EXPECT_EQ(r.request.version, c.version);
        EXPECT_EQ(r.request.headers, c.headers);
        EXPECT_EQ(r.consumed, c.bytes.size());
    }
}

TEST(ParseRequestHead, WaitsForTheBlankLine) {
    for (const char* partial : {"", "GET", "GET / HTTP/1.1", "GET / HTTP/1.1\r\n",
                                "GET / HTTP/1.1\r\nHost: a\r\n", "\r\n\r\n", "\r\n"}) {
        EXPECT_EQ(ParseRequestHead(partial, kLimit).status, ParseStatus::NeedMore) << partial;
    }
}

TEST(ParseRequestHead, RejectsMalformedHeads) {
    const std::string tooLong = "GET /" + std::string(kLimit, 'a') + " HTTP/1.1\r\n\r\n";
    const struct {
        std::string bytes;
        bool consumedNothing;  // the head is too long
    } cases[] = {
        {"GET /\r\n\r\n", false},
        {"GET  / HTTP/1.1\r\n\r\n", false},
        {"GET / HTTP/1.1 x\r\n\r\n", false},
        {"GET / HTTP/2.0\r\n\r\n", false},
        {"G(T / HTTP/1.1\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nNoColon\r\n\r\n", false},
        {"GET / HTTP/1.1\r\n: empty name\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nBad Name: v\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nA: b\r\n folded\r\n\r\n", false},
        {tooLong, true},
        {std::string(kLimit + 1, 'x'), true},
    };
    for (const auto& c : cases) {
        const ParseResult r = ParseRequestHead(c.bytes, kLimit);
        EXPECT_EQ(r.status, ParseStatus::Bad) << c.bytes.substr(0, 40);
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(r.consumed == 0, c.consumedNothing) << c.bytes.substr(0, 40);
    }
}

TEST(Target, PathAndRawQuery) {
    const struct {
        const char* target;
        const char* path;
        const char* query;
    } cases[] = {
        {"/", "/", ""},
        {"/data/BTR27612.TXT", "/data/BTR27612.TXT", ""},
        {"/r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT", "/r.php",
         "sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT"},
        // Only the first '?' splits; the embedded address keeps its own query.
        {"/r.php?cl+TRAY+http://127.0.0.3:8717/a?b=1&c=%20", "/r.php",
         "cl+TRAY+http://127.0.0.3:8717/a?b=1&c=%20"},
        {"/x?", "/x", ""},
        {"http://127.0.0.2:8717/data/BTR27612.TXT?q", "/data/BTR27612.TXT", "q"},
        {"http://127.0.0.2:8717", "/", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TargetPath(c.target), c.path) << c.target;
        EXPECT_EQ(RawQuery(c.target), c.query) << c.target;
    }
}

TEST(Target, QueryParamDecodes) {
    const struct {
        const char* query;
        const char* name;
        std::optional<std::string> value;
    } cases[] = {
        {"mode=never-answer", "mode", "never-answer"},
        {"scope=all&mode=status-500", "mode", "status-500"},
        {"mode=a%2Db+c", "mode", "a-b c"},
        {"mode", "mode", ""},
        {"modes=x", "mode", std::nullopt},
        {"", "mode", std::nullopt},
        {"a=1&&mode=2", "mode", "2"},
        {"mode=%zz", "mode", "%zz"},
        {"mode=%4", "mode", "%4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QueryParam(c.query, c.name), c.value) << c.query;
    }
}

TEST(RequestHeaders, CloseAndBodyLength) {
    const struct {
        const char* version;
        HeaderList headers;
        bool close;
        std::optional<std::size_t> length;
    } cases[] = {
        {"HTTP/1.1", {}, false, 0},
        {"HTTP/1.1", {{"connection", "Close"}}, true, 0},
        {"HTTP/1.1", {{"Connection", "keep-alive"}}, false, 0},
        {"HTTP/1.0", {}, true, 0},
        {"HTTP/1.0", {{"Connection", "Keep-Alive"}}, false, 0},
        {"HTTP/1.1", {{"Content-Length", "12"}}, false, 12},
        {"HTTP/1.1", {{"content-length", "0"}}, false, 0},
        {"HTTP/1.1", {{"Content-Length", "-1"}}, false, std::nullopt},
        {"HTTP/1.1", {{"Content-Length", "12a"}}, false, std::nullopt},
        {"HTTP/1.1", {{"Content-Length", "9999999999"}}, false, std::nullopt},
        {"HTTP/1.1", {{"Transfer-Encoding", "chunked"}}, false, std::nullopt},
    };
    for (const auto& c : cases) {
        HttpRequest request{"GET", "/", c.version, c.headers};
        EXPECT_EQ(WantsClose(request), c.close) << c.version;
        EXPECT_EQ(RequestBodyLength(request), c.length);
    }
}

}  // namespace
}  // namespace vts
