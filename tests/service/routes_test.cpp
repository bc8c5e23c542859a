#include "routes.h"

#include <gtest/gtest.h>

#include <string>

#include "options.h"
#include "pages.h"
#include "towns.h"
#include "weather.h"

namespace vts {
namespace {

const vt::UtcTime kNow = *ParseUtcTime("2026-03-10T12:00:00Z");

HttpRequest Get(std::string target) {
    return {"GET", std::move(target), "HTTP/1.1", {{"Host", "127.0.0.1:8717"}}};
}

std::optional<std::string> HeaderOf(const HttpResponse& r, std::string_view name) {
    for (const auto& [key, value] : r.extraHeaders) {
        if (key == name) return value;
    }
    return std::nullopt;
}

TEST(Route, AnswersEachPath) {
    const struct {
        const char* target;
        const char* ip;
        int status;
        FaultTarget faultTarget;
        const char* contentTypeStart;
    } cases[] = {
        {"/vlbartlistfull.txt", "127.0.0.2", 200, FaultTarget::Data,
         "text/plain; charset=windows-1251"},
        {"/data/BTR27612.TXT", "127.0.0.2", 200, FaultTarget::Data, "text/plain"},
        {"/data/BTR02974.TXT", "127.0.0.2", 200, FaultTarget::Data, "text/plain"},
        {"/data/BTR2974.TXT", "127.0.0.2", 404, FaultTarget::Data, "text/html"},
        {"/data/BTR99999.TXT", "127.0.0.2", 404, FaultTarget::Data, "text/plain"},
        {"/data/btr27612.txt", "127.0.0.2", 404, FaultTarget::Data, "text/html"},
        {"/data/", "127.0.0.2", 404, FaultTarget::Data, "text/html"},
        {"/r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT", "127.0.0.1", 302,
         FaultTarget::Counter, "text/html"},
        {"/r.php?cl+TRAY+http://127.0.0.5:8717", "127.0.0.1", 302, FaultTarget::Never, "text/html"},
        {"/r.php?xx+TRAY+http://127.0.0.5:8717", "127.0.0.1", 400, FaultTarget::Never,
         "text/plain"},
        {"/r.php?sh+TRAY+", "127.0.0.1", 400, FaultTarget::Counter, "text/plain"},
        {"/r.php?sh", "127.0.0.1", 400, FaultTarget::Never, "text/plain"},
        {"/r.php", "127.0.0.1", 400, FaultTarget::Never, "text/plain"},
        {"/r.php?sh+TRAY+http://example.com/x", "127.0.0.1", 403, FaultTarget::Counter,
         "text/plain"},
        {"/towns/27612.htm", "127.0.0.3", 200, FaultTarget::Never, "text/html"},
        {"/towns/33345.htm", "127.0.0.4", 200, FaultTarget::Never, "text/html"},
        {"/towns/99999.htm", "127.0.0.3", 404, FaultTarget::Never, "text/html"},
        {"/", "127.0.0.5", 200, FaultTarget::Never, "text/html"},
        {"/maps.htm", "127.0.0.3", 200, FaultTarget::Never, "text/html"},
        {"/counts", "127.0.0.1", 200, FaultTarget::Never, "application/json"},
        {"/nothing-here", "127.0.0.3", 404, FaultTarget::Never, "text/html"},
    };
    for (const auto& c : cases) {
        ServiceState state(FaultMode::None, FaultScope::Data, kNow);
        const Routed routed = Route(Get(c.target), c.ip, state);
        EXPECT_EQ(routed.response.status, c.status) << c.target;
        EXPECT_EQ(routed.faultTarget, c.faultTarget) << c.target;
        EXPECT_TRUE(routed.response.contentType.starts_with(c.contentTypeStart))
            << c.target << " " << routed.response.contentType;
    }
}

TEST(Route, BodiesAreTheFilesOfTheTownAndTheMoment) {
    ServiceState state(FaultMode::None, FaultScope::Data, kNow);
    EXPECT_EQ(Route(Get("/vlbartlistfull.txt"), "127.0.0.2", state).response.body, TownListFile());
    EXPECT_EQ(Route(Get("/data/BTR27612.TXT"), "127.0.0.2", state).response.body,
              ForecastFile(*FindTown("27612"), kNow));
    EXPECT_EQ(Route(Get("/data/BTR02974.TXT"), "127.0.0.2", state).response.body,
              ForecastFile(*FindTown("02974"), kNow));
    const std::string page = Route(Get("/towns/27612.htm"), "127.0.0.3", state).response.body;
    EXPECT_NE(page.find("Москва"), std::string::npos);
    EXPECT_NE(page.find("10/3 Вт, день: "), std::string::npos);
    EXPECT_NE(page.find("11/3 Ср, ночь: "), std::string::npos);
    // HEAD is routed like GET; other methods are refused.
    HttpRequest head = Get("/data/BTR27612.TXT");
    head.method = "HEAD";
    EXPECT_EQ(Route(head, "127.0.0.2", state).response.status, 200);
    HttpRequest post = Get("/data/BTR27612.TXT");
    post.method = "POST";
    const Routed refused = Route(post, "127.0.0.2", state);
    EXPECT_EQ(refused.response.status, 405);
    EXPECT_EQ(HeaderOf(refused.response, "Allow"), "GET, HEAD");
}

TEST(Route, RedirectsToTheEmbeddedAddressUnchangedAndCounts) {
    const struct {
        const char* query;
        const char* kind;
        const char* location;
    } cases[] = {
        {"sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT", "sh",
         "http://127.0.0.2:8717/data/BTR27612.TXT"},
        {"cl+TRAY+http://127.0.0.3:8717/towns/02974.htm", "cl",
         "http://127.0.0.3:8717/towns/02974.htm"},
        {"cl+TRAY+http://127.0.0.5:8717", "cl", "http://127.0.0.5:8717"},
        {"cl+TRAY+http://localhost:8717/a?b=1&c=d+e%20f", "cl",
         "http://localhost:8717/a?b=1&c=d+e%20f"},
    };
    ServiceState state(FaultMode::None, FaultScope::Data, kNow);
    for (const auto& c : cases) {
        for (int n = 1; n <= 2; ++n) {
            const Routed routed = Route(Get(std::string("/r.php?") + c.query), "127.0.0.1", state);
            ASSERT_EQ(routed.response.status, 302) << c.query;
            EXPECT_EQ(HeaderOf(routed.response, "Location"), c.location);
            EXPECT_EQ(state.counter.CountOf(c.kind, c.location), n);
        }
    }
    const std::string counts = Route(Get("/counts"), "127.0.0.1", state).response.body;
    EXPECT_NE(counts.find("\"count\":2"), std::string::npos);
}

TEST(Route, ControlSetsTheFaultModeAndScope) {
    const struct {
        const char* query;
        int status;
        FaultMode mode;
        FaultScope scope;
    } cases[] = {
        {"mode=never-answer", 200, FaultMode::NeverAnswer, FaultScope::Data},
        {"mode=status-500&scope=all", 200, FaultMode::Status500, FaultScope::All},
        {"mode=none", 200, FaultMode::None, FaultScope::All},  // scope kept
        {"mode=bogus", 400, FaultMode::None, FaultScope::All},
        {"", 400, FaultMode::None, FaultScope::All},
        {"mode=empty-body&scope=some", 400, FaultMode::None, FaultScope::All},
        {"scope=data&mode=close-no-reply", 200, FaultMode::CloseNoReply, FaultScope::Data},
    };
    ServiceState state(FaultMode::None, FaultScope::Data, kNow);
    for (const auto& c : cases) {
        const std::uint64_t before = state.faults.Generation();
        const Routed routed =
            Route(Get(std::string("/control/fault?") + c.query), "127.0.0.1", state);
        EXPECT_EQ(routed.response.status, c.status) << c.query;
        EXPECT_EQ(state.faults.Mode(), c.mode) << c.query;
        EXPECT_EQ(state.faults.Scope(), c.scope) << c.query;
        EXPECT_EQ(state.faults.Generation() != before, c.status == 200) << c.query;
        EXPECT_EQ(routed.faultTarget, FaultTarget::Never);
    }
}

TEST(FaultState, ScopeDecidesWhichRequestsFail) {
    const struct {
        FaultScope scope;
        FaultTarget target;
        bool faulted;
    } cases[] = {
        {FaultScope::Data, FaultTarget::Data, true},
        {FaultScope::Data, FaultTarget::Counter, false},
        {FaultScope::Data, FaultTarget::Never, false},
        {FaultScope::All, FaultTarget::Data, true},
        {FaultScope::All, FaultTarget::Counter, true},
        {FaultScope::All, FaultTarget::Never, false},
    };
    for (const auto& c : cases) {
        const FaultState state(FaultMode::Status404, c.scope);
        EXPECT_EQ(state.ModeFor(c.target), c.faulted ? FaultMode::Status404 : FaultMode::None);
    }
}

TEST(FaultMode, NamesRoundTripAndSubstitutesArePlainResponses) {
    const struct {
        const char* name;
        std::optional<int> substituteStatus;
    } cases[] = {
        {"none", std::nullopt},
        {"never-answer", std::nullopt},
        {"stall-body", std::nullopt},
        {"truncate-body", std::nullopt},
        {"endless-body", std::nullopt},
        {"error-page", 200},
        {"status-404", 404},
        {"status-500", 500},
        {"status-429", 429},
        {"empty-body", 200},
        {"close-no-reply", std::nullopt},
        {"redirect-loop", 302},
    };
    for (const auto& c : cases) {
        const std::optional<FaultMode> mode = ParseFaultMode(c.name);
        ASSERT_TRUE(mode.has_value()) << c.name;
        EXPECT_EQ(FaultModeName(*mode), c.name);
        const std::optional<HttpResponse> substitute =
            SubstituteResponse(*mode, "/data/BTR27612.TXT");
        EXPECT_EQ(substitute ? std::optional(substitute->status) : std::nullopt, c.substituteStatus)
            << c.name;
    }
    EXPECT_FALSE(ParseFaultMode("None").has_value());
    const HttpResponse loop = *SubstituteResponse(FaultMode::RedirectLoop, "/r.php?sh+TRAY+x");
    EXPECT_EQ(loop.extraHeaders, (HeaderList{{"Location", "/r.php?sh+TRAY+x"}}));
    EXPECT_TRUE(SubstituteResponse(FaultMode::EmptyBody, "/")->body.empty());
    EXPECT_EQ(SubstituteResponse(FaultMode::Status429, "/")->extraHeaders,
              (HeaderList{{"Retry-After", "60"}}));
    EXPECT_NE(SubstituteResponse(FaultMode::ErrorPage, "/")->body.find("<html>"),
              std::string::npos);
}

TEST(IsLoopbackUrl, AcceptsOnlyThisMachine) {
    const struct {
        const char* url;
        bool loopback;
    } cases[] = {
        {"http://127.0.0.2:8717/data/BTR27612.TXT", true},
        {"http://127.255.255.254", true},
        {"HTTP://127.0.0.1/", true},
        {"http://localhost:8717", true},
        {"http://127.0.0.1?x", true},
        {"http://127.0.0.1.example.com/", false},
        {"http://127.0.0/", false},
        {"http://127.0.0.256/", false},
        {"http://128.0.0.1/", false},
        {"http://example.com/127.0.0.1", false},
        {"https://127.0.0.1/", false},
        {"ftp://127.0.0.1/", false},
        {"http://", false},
        {"http://127.0.0.1./", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsLoopbackUrl(c.url), c.loopback) << c.url;
}

TEST(SiteName, FollowsTheDefaultAddressesOfThePrograms) {
    const struct {
        const char* ip;
        const char* name;
    } cases[] = {
        {"127.0.0.1", "Счётчик переходов"},
        {"127.0.0.3", "Погода Vantorel"},
        {"127.0.0.4", "Погода в Украине"},
        {"127.0.0.5", "Новости погоды"},
        {"127.0.0.10", "Туризм, отдых, путешествия"},
        {"127.0.0.11", "Сервер погоды Vantorel"},
        {"127.0.0.50", "Сервер погоды Vantorel"},
        {"127.1.0.5", "Сервер погоды Vantorel"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SiteName(c.ip), c.name) << c.ip;
        EXPECT_NE(SitePage(c.ip).body.find(std::string("<h1>") + c.name), std::string::npos);
    }
    // The main site lists the other towns, the Ukrainian site only the Ukrainian ones.
    EXPECT_NE(SitePage("127.0.0.3").body.find("/towns/27612.htm"), std::string::npos);
    EXPECT_EQ(SitePage("127.0.0.3").body.find("/towns/33345.htm"), std::string::npos);
    EXPECT_NE(SitePage("127.0.0.4").body.find("/towns/33345.htm"), std::string::npos);
    EXPECT_EQ(SitePage("127.0.0.4").body.find("/towns/27612.htm"), std::string::npos);
    EXPECT_EQ(HtmlEscape("<a href=\"x\">&</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
}

}  // namespace
}  // namespace vts
