// The service in-process on 127.0.0.1 and an ephemeral port, spoken to over real sockets.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "json_reader.h"
#include "options.h"
#include "raw_client.h"
#include "request_log.h"
#include "routes.h"
#include "server.h"
#include "towns.h"
#include "weather.h"

namespace vts {
namespace {

using namespace std::chrono_literals;
using test::Exchange;
using test::GetRequest;
using test::ParseReply;
using test::RawReply;

const vt::UtcTime kNow = *ParseUtcTime("2026-03-10T12:00:00Z");
const std::string kForecastPath = "/data/BTR27612.TXT";
const std::string kCounterPath = "/r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT";

class Loopback : public ::testing::Test {
  protected:
    void SetUp() override {
        char path[] = "/tmp/vtservice-loopback-XXXXXX";
        const int fd = ::mkstemp(path);
        ASSERT_GE(fd, 0);
        ::close(fd);
        logPath_ = path;
        ASSERT_TRUE(log_.Open(logPath_));
        server_ = std::make_unique<Server>(state_, log_);
        std::string error;
        ASSERT_TRUE(server_->Start({"127.0.0.1"}, 0, error)) << error;
        port_ = server_->PortOf(0);
        ASSERT_NE(port_, 0);
    }
    void TearDown() override {
        server_.reset();
        std::remove(logPath_.c_str());
    }

    RawReply Get(const std::string& target, std::chrono::milliseconds limit = 2000ms,
                 std::size_t maxBytes = std::size_t{4} << 20) {
        return Exchange(port_, GetRequest(target, port_, {{"X-Test", target}}), limit, maxBytes);
    }

    void SetFault(const std::string& mode, const std::string& scope = "data") {
        const RawReply r = Get("/control/fault?mode=" + mode + "&scope=" + scope);
        const auto reply = ParseReply(r.bytes);
        ASSERT_TRUE(reply.has_value());
        ASSERT_EQ(reply->status, 200) << mode;
    }

    std::vector<test::Json> LogLines() {
        std::vector<test::Json> lines;
        std::ifstream in(logPath_);
        std::string line;
        while (std::getline(in, line)) {
            std::optional<test::Json> json = test::ParseJson(line);
            EXPECT_TRUE(json.has_value()) << line;
            if (json) lines.push_back(std::move(*json));
        }
        return lines;
    }

    ServiceState state_{FaultMode::None, FaultScope::Data, kNow};
    RequestLog log_;
    std::unique_ptr<Server> server_;
    std::string logPath_;
    std::uint16_t port_ = 0;
};

TEST_F(Loopback, ServesTheProgramsRequests) {
    const std::string forecast = ForecastFile(*FindTown("27612"), kNow);
    const struct {
        std::string target;
        int status;
        std::string body;  // empty: not compared
        std::string location;
    } cases[] = {
        {kCounterPath, 302, "", "http://127.0.0.2:8717/data/BTR27612.TXT"},
        {"/r.php?cl+TRAY+http://127.0.0.3:8717/towns/27612.htm", 302, "",
         "http://127.0.0.3:8717/towns/27612.htm"},
        {kForecastPath, 200, forecast, ""},
        {"/vlbartlistfull.txt", 200, TownListFile(), ""},
        {"/data/BTR00000.TXT", 404, "", ""},
        {"/no/such/page", 404, "", ""},
    };
    for (const auto& c : cases) {
        const RawReply raw = Get(c.target);
        EXPECT_TRUE(raw.closedByServer) << c.target;
        const auto reply = ParseReply(raw.bytes);
        ASSERT_TRUE(reply.has_value()) << c.target;
        EXPECT_EQ(reply->status, c.status) << c.target;
        EXPECT_EQ(reply->Header("Content-Length"), std::to_string(reply->body.size()));
        if (!c.body.empty()) {
            EXPECT_EQ(reply->body, c.body) << c.target;
        }
        EXPECT_EQ(reply->Header("Location"),
                  c.location.empty() ? std::nullopt : std::optional(c.location));
    }
    const auto counts = ParseReply(Get("/counts").bytes);
    ASSERT_TRUE(counts.has_value());
    const std::optional<test::Json> json = test::ParseJson(counts->body);
    ASSERT_TRUE(json.has_value());
    ASSERT_EQ(json->Member("counts")->items.size(), 2u);
    EXPECT_EQ(state_.counter.CountOf("sh", "http://127.0.0.2:8717/data/BTR27612.TXT"), 1);
}

TEST_F(Loopback, KeepsTheConnectionForASecondRequest) {
    const std::string first = "GET " + kForecastPath + " HTTP/1.1\r\nHost: 127.0.0.2:8717\r\n\r\n";
    const RawReply raw = Exchange(port_, first + GetRequest("/vlbartlistfull.txt", port_), 2000ms);
    EXPECT_TRUE(raw.closedByServer);
    const auto one = ParseReply(raw.bytes);
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->Header("Connection"), "keep-alive");
    const std::size_t length = std::stoul(*one->Header("Content-Length"));
    const auto two = ParseReply(std::string_view(one->body).substr(length));
    ASSERT_TRUE(two.has_value());
    EXPECT_EQ(two->status, 200);
    EXPECT_EQ(two->body, TownListFile());
    EXPECT_EQ(two->Header("Connection"), "close");
}

TEST_F(Loopback, RefusesMalformedRequests) {
    const struct {
        std::string bytes;
        int status;
    } cases[] = {{"GARBAGE\r\n\r\n", 400},
                 {"GET / HTTP/1.1\r\nContent-Length: x\r\n\r\n", 411},
                 {"GET / HTTP/1.1\r\nX: " + std::string(70000, 'a') + "\r\n\r\n", 431}};
    for (const auto& c : cases) {
        const RawReply raw = Exchange(port_, c.bytes, 2000ms);
        EXPECT_TRUE(raw.closedByServer);
        const auto reply = ParseReply(raw.bytes);
        ASSERT_TRUE(reply.has_value()) << c.status;
        EXPECT_EQ(reply->status, c.status);
    }
}

enum class Body { None, Full, Half, Empty, Html, EndlessFromFull };
enum class End { ServerClosed, ClientGaveUp, ClientHadEnough };

TEST_F(Loopback, EveryFaultModeSpoilsTheForecastAsDescribed) {
    const std::string forecast = ForecastFile(*FindTown("27612"), kNow);
    constexpr std::size_t kEnough = std::size_t{1} << 20;
    const struct {
        const char* mode;
        int status;  // 0: no status line at all
        Body body;
        std::optional<std::size_t> contentLength;
        End end;
    } cases[] = {
        {"none", 200, Body::Full, forecast.size(), End::ServerClosed},
        {"never-answer", 0, Body::None, std::nullopt, End::ClientGaveUp},
        {"stall-body", 200, Body::Half, forecast.size(), End::ClientGaveUp},
        {"truncate-body", 200, Body::Half, forecast.size(), End::ServerClosed},
        {"endless-body", 200, Body::EndlessFromFull, std::nullopt, End::ClientHadEnough},
        {"error-page", 200, Body::Html, std::nullopt, End::ServerClosed},
        {"status-404", 404, Body::Html, std::nullopt, End::ServerClosed},
        {"status-500", 500, Body::Html, std::nullopt, End::ServerClosed},
        {"empty-body", 200, Body::Empty, 0, End::ServerClosed},
        {"close-no-reply", 0, Body::None, std::nullopt, End::ServerClosed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        SetFault(c.mode);
        const auto started = std::chrono::steady_clock::now();
        const RawReply raw = Get(kForecastPath, 500ms, kEnough);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms);
        ASSERT_TRUE(raw.connected);
        EXPECT_EQ(raw.closedByServer, c.end == End::ServerClosed);
        EXPECT_EQ(raw.timedOut, c.end == End::ClientGaveUp);
        if (c.status == 0) {
            EXPECT_TRUE(raw.bytes.empty()) << raw.bytes;
            continue;
        }
        const auto reply = ParseReply(raw.bytes);
        ASSERT_TRUE(reply.has_value()) << raw.bytes.substr(0, 200);
        EXPECT_EQ(reply->status, c.status);
        if (c.contentLength) {
            EXPECT_EQ(reply->Header("Content-Length"), std::to_string(*c.contentLength));
        }
        switch (c.body) {
            case Body::Full:
                EXPECT_EQ(reply->body, forecast);
                break;
            case Body::Half:
                EXPECT_EQ(reply->body, forecast.substr(0, forecast.size() / 2));
                break;
            case Body::Empty:
                EXPECT_EQ(reply->body, "");
                break;
            case Body::Html:
                EXPECT_NE(reply->body.find("<html>"), std::string::npos);
                EXPECT_EQ(reply->Header("Content-Length"), std::to_string(reply->body.size()));
                EXPECT_TRUE(reply->Header("Content-Type")->starts_with("text/html"));
                break;
            case Body::EndlessFromFull:
                EXPECT_FALSE(reply->Header("Content-Length").has_value());
                EXPECT_EQ(reply->Header("Connection"), "close");
                EXPECT_TRUE(reply->body.starts_with(forecast));
                EXPECT_GE(raw.bytes.size(), kEnough);
                break;
            case Body::None:
                break;
        }
    }
    SetFault("none");
    // The control path itself is never faulted, and the log saw every request.
    std::vector<test::Json> lines = LogLines();
    int faulted = 0;
    for (const test::Json& line : lines) {
        if (line.Member("target")->text != kForecastPath) continue;
        const std::string fault = line.Member("fault")->text;
        const bool silent = fault == "never-answer" || fault == "close-no-reply";
        EXPECT_EQ(line.Member("status")->kind == test::Json::Kind::Null, silent) << fault;
        if (fault != "none") ++faulted;
    }
    EXPECT_EQ(faulted, 9);
}

TEST_F(Loopback, ScopeAllAlsoSpoilsTheCounterRequest) {
    const struct {
        const char* scope;
        std::string target;
        int status;
    } cases[] = {
        {"data", kCounterPath, 302},
        {"all", kCounterPath, 500},
        {"all", "/r.php?cl+TRAY+http://127.0.0.5:8717", 302},
        {"all", "/", 200},
        {"all", "/vlbartlistfull.txt", 500},
        {"data", "/vlbartlistfull.txt", 500},
    };
    for (const auto& c : cases) {
        SetFault("status-500", c.scope);
        const auto reply = ParseReply(Get(c.target).bytes);
        ASSERT_TRUE(reply.has_value()) << c.target;
        EXPECT_EQ(reply->status, c.status) << c.scope << " " << c.target;
    }
}

TEST_F(Loopback, AHeldConnectionEndsWhenTheModeChanges) {
    SetFault("never-answer");
    RawReply held;
    std::thread client([&] { held = Get(kForecastPath, 5000ms); });
    std::this_thread::sleep_for(300ms);
    const auto changed = std::chrono::steady_clock::now();
    SetFault("none");
    client.join();
    EXPECT_LT(std::chrono::steady_clock::now() - changed, 2000ms);
    EXPECT_TRUE(held.closedByServer);
    EXPECT_TRUE(held.bytes.empty());
}

TEST_F(Loopback, StopEndsHeldConnectionsPromptly) {
    SetFault("stall-body");
    RawReply held;
    std::thread client([&] { held = Get(kForecastPath, 5000ms); });
    std::this_thread::sleep_for(300ms);
    const auto stopping = std::chrono::steady_clock::now();
    server_->Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 2000ms);
    client.join();
    EXPECT_TRUE(held.closedByServer);
    const auto reply = ParseReply(held.bytes);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->status, 200);
}

TEST_F(Loopback, LogsEveryRequestWithItsHeadersInOrder) {
    const std::vector<std::string> targets = {kCounterPath, kForecastPath, "/vlbartlistfull.txt",
                                              "/towns/27612.htm", "/missing"};
    for (const std::string& target : targets) Get(target);
    const std::vector<test::Json> lines = LogLines();
    ASSERT_EQ(lines.size(), targets.size());
    const int statuses[] = {302, 200, 200, 200, 404};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const test::Json& line = lines[i];
        SCOPED_TRACE(targets[i]);
        EXPECT_EQ(line.Member("method")->text, "GET");
        EXPECT_EQ(line.Member("target")->text, targets[i]);
        EXPECT_EQ(line.Member("version")->text, "HTTP/1.1");
        EXPECT_EQ(line.Member("address")->text, "127.0.0.1:" + std::to_string(port_));
        EXPECT_TRUE(line.Member("peer")->text.starts_with("127.0.0.1:"));
        EXPECT_EQ(line.Member("status")->number, statuses[i]);
        EXPECT_EQ(line.Member("fault")->text, "none");
        EXPECT_EQ(line.Member("time")->text.size(), 24u);
        const test::Json& headers = *line.Member("headers");
        ASSERT_EQ(headers.items.size(), 3u);
        EXPECT_EQ(headers.items[0].items[0].text, "Host");
        EXPECT_EQ(headers.items[0].items[1].text, "127.0.0.1:" + std::to_string(port_));
        EXPECT_EQ(headers.items[1].items[0].text, "X-Test");
        EXPECT_EQ(headers.items[1].items[1].text, targets[i]);
        EXPECT_EQ(headers.items[2].items[0].text, "Connection");
    }
}

}  // namespace
}  // namespace vts
