#include "routes.h"

#include <cctype>
#include <chrono>
#include <string>

#include "pages.h"
#include "towns.h"
#include "weather.h"

namespace vts {
namespace {

constexpr std::string_view kTownListPath = "/vlbartlistfull.txt";
constexpr std::string_view kForecastPrefix = "/data/BTR";
constexpr std::string_view kForecastSuffix = ".TXT";
constexpr std::string_view kTownPagePrefix = "/towns/";
constexpr std::string_view kTownPageSuffix = ".htm";

bool IsFiveDigits(std::string_view s) {
    if (s.size() != 5) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The index between prefix and suffix, when the path has exactly that shape.
std::optional<std::string_view> IndexIn(std::string_view path, std::string_view prefix,
                                        std::string_view suffix) {
    if (!path.starts_with(prefix) || !path.ends_with(suffix)) return std::nullopt;
    if (path.size() < prefix.size() + suffix.size()) return std::nullopt;
    const std::string_view index =
        path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
    if (!IsFiveDigits(index)) return std::nullopt;
    return index;
}

Routed ForecastFile(std::string_view index, const ServiceState& state) {
    Routed routed{TextResponse(404, "unknown town index\n"), FaultTarget::Data};
    if (const Town* town = FindTown(index)) {
        routed.response.status = 200;
        routed.response.contentType = "text/plain";
        routed.response.body = ForecastFile(*town, state.Now());
    }
    return routed;
}

// /r.php?sh+TRAY+<address> or ?cl+TRAY+<address>: the address follows unescaped.
Routed Redirect(std::string_view rawQuery, ServiceState& state) {
    const std::string_view kind = rawQuery.substr(0, 2);
    if ((kind != "sh" && kind != "cl") || rawQuery.substr(2, 6) != "+TRAY+") {
        return {TextResponse(400, "expected sh+TRAY+<address> or cl+TRAY+<address>\n")};
    }
    const std::string target(rawQuery.substr(8));
    const FaultTarget faultTarget = kind == "sh" ? FaultTarget::Counter : FaultTarget::Never;
    if (target.empty()) return {TextResponse(400, "no address to redirect to\n"), faultTarget};
    state.counter.Count(std::string(kind), target);
    if (!IsLoopbackUrl(target)) {
        return {TextResponse(403, "only loopback addresses are redirected\n"), faultTarget};
    }
    HttpResponse response =
        HtmlResponse(302, "<html><body><a href=\"" + HtmlEscape(target) + "\">" +
                              HtmlEscape(target) + "</a></body></html>\n");
    response.extraHeaders.emplace_back("Location", target);
    return {response, faultTarget};
}

Routed Control(std::string_view rawQuery, ServiceState& state) {
    const std::optional<std::string> modeName = QueryParam(rawQuery, "mode");
    const std::optional<FaultMode> mode = modeName ? ParseFaultMode(*modeName) : std::nullopt;
    if (!mode) return {TextResponse(400, "unknown or missing mode\n")};
    FaultScope scope = state.faults.Scope();
    if (const std::optional<std::string> scopeName = QueryParam(rawQuery, "scope")) {
        const std::optional<FaultScope> parsed = ParseFaultScope(*scopeName);
        if (!parsed) return {TextResponse(400, "unknown scope\n")};
        scope = *parsed;
    }
    state.faults.Set(*mode, scope);
    return {TextResponse(200, "fault " + std::string(FaultModeName(*mode)) + " scope " +
                                  std::string(FaultScopeName(scope)) + "\n")};
}

}  // namespace

vt::UtcTime ServiceState::Now() const {
    return fixedNow ? *fixedNow : SystemUtcNow();
}

vt::UtcTime SystemUtcNow() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return vt::FromUnixMillis(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

bool IsLoopbackUrl(std::string_view url) {
    constexpr std::string_view kScheme = "http://";
    if (url.size() < kScheme.size()) return false;
    for (std::size_t i = 0; i < kScheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(url[i])) != kScheme[i]) return false;
    }
    std::string_view host = url.substr(kScheme.size());
    host = host.substr(0, host.find_first_of(":/?#"));
    if (host == "localhost") return true;
    // Four dotted decimal parts of 0..255, the first 127.
    int parts = 0;
    while (!host.empty()) {
        const std::size_t dot = host.find('.');
        const std::string_view part = host.substr(0, dot);
        if (part.empty() || part.size() > 3) return false;
        int value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255 || (parts == 0 && value != 127)) return false;
        ++parts;
        if (dot == std::string_view::npos) break;
        host.remove_prefix(dot + 1);
        if (host.empty()) return false;
    }
    return parts == 4;
}

Routed Route(const HttpRequest& request, std::string_view listenIp, ServiceState& state) {
    if (request.method != "GET" && request.method != "HEAD") {
        HttpResponse response = TextResponse(405, "only GET and HEAD\n");
        response.extraHeaders.emplace_back("Allow", "GET, HEAD");
        return {response};
    }
    const std::string_view path = TargetPath(request.target);
    const std::string_view query = RawQuery(request.target);

    if (path == kTownListPath) {
        HttpResponse response = TextResponse(200, TownListFile());
        response.contentType = "text/plain; charset=windows-1251";
        return {response, FaultTarget::Data};
    }
    if (path.starts_with("/data/")) {
        if (const auto index = IndexIn(path, kForecastPrefix, kForecastSuffix)) {
            return ForecastFile(*index, state);
        }
        return {NotFoundPage(path), FaultTarget::Data};
    }
    if (path == "/r.php") return Redirect(query, state);
    if (path == "/v1/forecast" || path == "/v1/search") {
        if (!state.api) return {TextResponse(503, "no samples loaded\n"), FaultTarget::Data};
        return {path == "/v1/search" ? state.api->Search(query)
                                     : state.api->Forecast(query, state.Now()),
                FaultTarget::Data};
    }
    if (path == "/counts") {
        HttpResponse response = TextResponse(200, state.counter.Json());
        response.contentType = "application/json";
        return {response};
    }
    if (path == "/control/fault") return Control(query, state);
    if (const auto index = IndexIn(path, kTownPagePrefix, kTownPageSuffix)) {
        if (const Town* town = FindTown(*index)) return {TownPage(*town, state.Now())};
    }
    if (path == "/") return {SitePage(listenIp)};
    if (path == "/maps.htm") return {MapsPage()};
    return {NotFoundPage(path)};
}

}  // namespace vts
