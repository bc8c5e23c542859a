#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/tray_settings.h"
#include "download/fetch_url.h"
#include "download/redirect.h"
#include "download_fakes.h"

namespace vt {
namespace {

using test::FakeInternet;
using Log = std::vector<std::string>;

const std::string kUrl = "http://127.0.0.2:8717/vlbartlistfull.txt";

ConnectionSettings Mode(const std::string& mode) {
    return {ConnectionModeOf(mode), "proxy.local", "3128", "", ""};
}

FetchResult Fetch(FakeInternet& net, const ConnectionSettings& connection,
                  FetchOptions options = {}) {
    return FetchUrl(net, connection, kUrl, options);
}

TEST(FetchUrl, EachModeOpensItsAccessTypeWithItsHeaders) {
    struct Case {
        ConnectionSettings connection;
        const char* open;
        std::string headers;
    };
    const std::string accept = "Accept: */*\r\nProxy-Authorization: Basic ";
    const Case cases[] = {
        {{ConnectionMode::Direct, "srv", "80", "user", "pw"},
         "open 1 []",
         ""},  // credentials belong to mode 3
        {{ConnectionMode::SystemSettings, "srv", "80", "user", "pw"}, "open 0 []", ""},
        {{ConnectionMode::Proxy, "srv", "8080", "", ""}, "open 3 [srv:8080]", ""},
        {{ConnectionMode::Proxy, "", "", "", ""}, "open 3 [:]", ""},
        {{ConnectionMode::Proxy, "srv", "", "", ""}, "open 3 [srv:]", ""},
        {{ConnectionMode::Proxy, " srv ", " 80x", "", ""},
         "open 3 [ srv : 80x]",
         ""},  // neither trimmed nor checked
        {{ConnectionMode::Proxy, "srv", "80", "", "pw"},
         "open 3 [srv:80]",
         ""},  // no user: no headers
        {{ConnectionMode::Proxy, "srv", "80", "user", ""}, "open 3 [srv:80]", accept + "dXNlcjo="},
        {{ConnectionMode::Proxy, "srv", "80", "proxyuser", "secret"},
         "open 3 [srv:80]",
         accept + "cHJveHl1c2VyOnNlY3JldA=="},
        {{ConnectionMode::Proxy, "srv", "80", "Иван", "пароль"},
         "open 3 [srv:80]",
         accept + "yOLg7Trv4PDu6/w="},
    };
    for (const auto& c : cases) {
        FakeInternet net;
        net.body = "hello";
        const FetchResult result = Fetch(net, c.connection);
        EXPECT_TRUE(result.ok) << c.open;
        EXPECT_EQ(result.body, "hello") << c.open;
        EXPECT_EQ(net.log, (Log{c.open, "url " + kUrl, "read 16384", "read 16384", "close request",
                                "close session"}))
            << c.open;
        EXPECT_EQ(net.agents, (std::vector<std::string>{"Internet VOR Client"}));
        ASSERT_EQ(net.urls.size(), 1U);
        EXPECT_EQ(net.urls[0].url, kUrl);
        EXPECT_EQ(net.urls[0].headers, c.headers) << c.open;
        EXPECT_EQ(net.urls[0].flags, 0x84200100U);
        EXPECT_EQ(ProxyHeaderBlock(c.connection), c.headers) << c.open;
    }
}

TEST(FetchUrl, AnUnknownModeMakesNoTrafficAndPausesThreeTimes) {
    for (const char* mode : {"4", "", " 1", "1 ", "0", "01", "３"}) {
        FakeInternet net;
        const FetchResult result = Fetch(net, Mode(mode));
        EXPECT_FALSE(result.ok) << "[" << mode << "]";
        EXPECT_EQ(net.log, (Log{"sleep 1000", "sleep 1000", "sleep 1000"})) << mode;
    }
}

TEST(FetchUrl, RetriesEachStageThreeTimesWithAPauseAfterEveryFailure) {
    struct Case {
        std::deque<bool> sessions;
        std::deque<bool> requests;
        bool ok;
        Log log;
    };
    const std::string url = "url " + kUrl;
    const Case cases[] = {
        {{false, false, false},
         {},
         false,
         {"open 1 []", "sleep 1000", "open 1 []", "sleep 1000", "open 1 []", "sleep 1000"}},
        {{false, false, true},
         {},
         true,
         {"open 1 []", "sleep 1000", "open 1 []", "sleep 1000", "open 1 []", url, "read 16384",
          "close request", "close session"}},
        {{},
         {false, false, false},
         false,
         {"open 1 []", url, "sleep 1000", url, "sleep 1000", url, "sleep 1000", "close session"}},
        {{false},
         {false, true},
         true,
         {"open 1 []", "sleep 1000", "open 1 []", url, "sleep 1000", url, "read 16384",
          "close request", "close session"}},
    };
    for (const auto& c : cases) {
        FakeInternet net;
        net.sessionResults = c.sessions;
        net.requestResults = c.requests;
        EXPECT_EQ(Fetch(net, Mode("1")).ok, c.ok);
        EXPECT_EQ(net.log, c.log);
    }
}

TEST(FetchUrl, ReadsInBuffersOf16384BytesUntilAnEmptyRead) {
    struct Case {
        std::size_t bodyBytes;
        std::size_t chunkLimit;
        std::size_t reads;
    };
    const Case cases[] = {
        {0, 1 << 30, 1},     {5, 1 << 30, 2},         {16383, 1 << 30, 2}, {16384, 1 << 30, 2},
        {16385, 1 << 30, 3}, {3 * 16384, 1 << 30, 4}, {250, 100, 4},  // the platform may return
                                                                      // less than asked
    };
    for (const auto& c : cases) {
        FakeInternet net;
        for (std::size_t i = 0; i < c.bodyBytes; ++i) net.body += static_cast<char>('a' + i % 26);
        net.chunkLimit = c.chunkLimit;
        const FetchResult result = Fetch(net, Mode("2"));
        EXPECT_TRUE(result.ok) << c.bodyBytes;
        EXPECT_EQ(result.body, net.body) << c.bodyBytes;
        EXPECT_EQ(net.readSizes, std::vector<std::size_t>(c.reads, 16384)) << c.bodyBytes;
        // One buffer for the whole call.
        EXPECT_EQ(std::count(net.readBuffers.begin(), net.readBuffers.end(), net.readBuffers[0]),
                  static_cast<std::ptrdiff_t>(c.reads));
    }
}

TEST(FetchUrl, FailsOnAnErrorStatusAShortBodyAFailedReadOrTheCap) {
    struct Case {
        const char* name;
        int status;
        std::optional<std::int64_t> contentLength;
        std::size_t bodyBytes;
        int failRead;
        std::size_t cap;
        bool ok;
        std::size_t reads;
    };
    constexpr std::size_t kMiB = 1024 * 1024;
    const Case cases[] = {
        {"200", 200, std::nullopt, 10, -1, kMiB, true, 2},
        {"204", 204, std::nullopt, 0, -1, kMiB, true, 1},
        {"299", 299, std::nullopt, 10, -1, kMiB, true, 2},
        {"404", 404, std::nullopt, 10, -1, kMiB, false, 0},
        {"500", 500, std::nullopt, 10, -1, kMiB, false, 0},
        {"503", 503, std::nullopt, 10, -1, kMiB, false, 0},
        {"407 proxy", 407, std::nullopt, 10, -1, kMiB, false, 0},
        {"0 no reply", 0, std::nullopt, 0, -1, kMiB, false, 0},
        {"199", 199, std::nullopt, 10, -1, kMiB, false, 0},
        {"300", 300, std::nullopt, 10, -1, kMiB, false, 0},
        {"length matches", 200, 10, 10, -1, kMiB, true, 2},
        {"short body", 200, 11, 10, -1, kMiB, false, 2},
        {"empty but declared", 200, 1, 0, -1, kMiB, false, 1},
        {"declared over cap", 200, 101, 101, -1, 100, false, 0},
        {"exactly the cap", 200, std::nullopt, 100, -1, 100, true, 2},
        {"one over the cap", 200, std::nullopt, 101, -1, 100, false, 1},
        {"first read fails", 200, std::nullopt, 10, 0, kMiB, false, 1},
        {"fails mid-body", 200, std::nullopt, 40000, 1, kMiB, false, 2},
        {"end read fails", 200, std::nullopt, 10, 1, kMiB, false, 2},
    };
    for (const auto& c : cases) {
        FakeInternet net;
        net.status = c.status;
        net.contentLength = c.contentLength;
        net.body = std::string(c.bodyBytes, 'x');
        net.failRead = c.failRead;
        FetchOptions options;
        options.maxBodyBytes = c.cap;
        const FetchResult result = Fetch(net, Mode("1"), options);
        EXPECT_EQ(result.ok, c.ok) << c.name;
        EXPECT_EQ(result.body, c.ok ? net.body : "") << c.name;
        EXPECT_EQ(net.readSizes.size(), c.reads) << c.name;
        // No retry once the server has answered, and both handles are closed, request first.
        EXPECT_EQ(net.Count("url "), 1) << c.name;
        ASSERT_GE(net.log.size(), 2U);
        EXPECT_EQ(Log(net.log.end() - 2, net.log.end()), (Log{"close request", "close session"}))
            << c.name;
    }
}

TEST(FetchUrl, TheDeadlineStopsBetweenAttemptsAndReads) {
    struct Case {
        const char* name;
        std::deque<bool> sessions;
        std::deque<bool> requests;
        std::size_t expireAfterEvents;  // the check says "expired" once the log is this long
        Log log;
    };
    const std::string url = "url " + kUrl;
    const Case cases[] = {
        {"before anything", {}, {}, 0, {}},
        {"after a failed open", {false, false, false}, {}, 2, {"open 1 []", "sleep 1000"}},
        {"after a failed url",
         {},
         {false, false},
         3,
         {"open 1 []", url, "sleep 1000", "close session"}},
        {"between reads",
         {},
         {},
         3,
         {"open 1 []", url, "read 16384", "close request", "close session"}},
    };
    for (const auto& c : cases) {
        FakeInternet net;
        net.sessionResults = c.sessions;
        net.requestResults = c.requests;
        net.body = std::string(40000, 'x');
        FetchOptions options;
        options.expired = [&net, &c] { return net.log.size() >= c.expireAfterEvents; };
        const FetchResult result = Fetch(net, Mode("1"), options);
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_TRUE(result.body.empty()) << c.name;
        EXPECT_EQ(net.log, c.log) << c.name;
    }
}

TEST(FetchUrl, FollowsUpToTenRedirectsToHttpAndHttpsOnly) {
    struct Case {
        const char* name;
        int hops;  // redirects before the answer
        std::string location;
        bool ok;
        std::size_t requests;
    };
    const Case cases[] = {
        {"the counter's one redirect", 1, "http://127.0.0.2:8717/data/BTR27612.TXT", true, 2},
        {"ten", 10, "/again", true, 11},
        {"eleven: given up", 11, "/again", false, 11},
        {"a loop: given up", 1000, "/r.php?self", false, 11},
        {"https", 1, "https://secure.example/x", true, 2},
        {"ftp", 1, "ftp://files.example/x", false, 1},
        {"file", 1, "file:///C:/Windows/win.ini", false, 1},
        {"a script", 1, "javascript:alert(1)", false, 1},
        {"no Location", 1, "", false, 1},
    };
    for (const auto& c : cases) {
        FakeInternet net;
        net.body = "the file";
        for (int i = 0; i < c.hops; ++i) net.redirects.emplace_back(302, c.location);
        const FetchResult result = Fetch(net, {ConnectionMode::Proxy, "srv", "80", "user", "pw"});
        EXPECT_EQ(result.ok, c.ok) << c.name;
        EXPECT_EQ(net.urls.size(), c.requests) << c.name;
        // The proxy's credentials: a header to an http address, the tunnel's login to https.
        for (const auto& call : net.urls) {
            const bool tunnel = call.url.starts_with("https:");
            EXPECT_EQ(call.headers, tunnel ? "" : net.urls[0].headers) << c.name;
            EXPECT_EQ(call.tunnelLogin,
                      tunnel ? std::optional<ProxyLogin>({"user", "pw"}) : std::nullopt)
                << c.name;
        }
        EXPECT_EQ(net.Count("close request"), static_cast<int>(c.requests)) << c.name;
    }
}

TEST(FetchUrl, AGivenUpFetchFollowsNoFurtherRedirect) {
    FakeInternet net;
    for (int i = 0; i < 5; ++i) net.redirects.emplace_back(307, "/next");
    FetchOptions options;
    options.expired = [&net] { return net.urls.size() >= 2; };
    EXPECT_FALSE(Fetch(net, Mode("1"), options).ok);
    EXPECT_EQ(net.urls.size(), 2U);
}

TEST(FetchUrl, AProxyUserWithoutAProxyAddressMakesNoTraffic) {
    for (const char* server : {"", " ", "\t"}) {
        FakeInternet net;
        EXPECT_FALSE(Fetch(net, {ConnectionMode::Proxy, server, "3128", "user", "pw"}).ok)
            << server;
        EXPECT_TRUE(net.log.empty()) << server;
    }
}

TEST(RedirectTarget, ResolvesAgainstTheAddressItCameFrom) {
    const std::string from = "http://count.example:8717/r.php?sh+TRAY+http://x/y";
    struct Case {
        std::string location;
        std::optional<std::string> target;
    };
    const Case cases[] = {
        {"http://127.0.0.2:8717/data/BTR27612.TXT", "http://127.0.0.2:8717/data/BTR27612.TXT"},
        {"HTTPS://Secure.example/", "HTTPS://Secure.example/"},
        {"//other.example/a", "http://other.example/a"},
        {"/data/x.txt", "http://count.example:8717/data/x.txt"},
        {"list.txt", "http://count.example:8717/list.txt"},
        {"ftp://files.example/", std::nullopt},
        {"mailto:a@b", std::nullopt},
        {"http:///no-host", std::nullopt},
        {"http://host/a b", std::nullopt},
        {"http://host/\r\nSet-Cookie: x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(RedirectTarget(from, c.location), c.target) << c.location;
    EXPECT_EQ(RedirectTarget("http://h/a/b/c.txt?q=/z", "d.txt"), "http://h/a/b/d.txt");
    EXPECT_EQ(RedirectTarget("http://h", "d.txt"), "http://h/d.txt");
}

}  // namespace
}  // namespace vt
