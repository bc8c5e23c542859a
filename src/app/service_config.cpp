#include "app/service_config.h"

#include "ports/profile.h"
#include "text/encoding.h"

namespace vt {
namespace {

constexpr std::size_t kMaxHostLength = 253;
constexpr std::size_t kMaxSiteNameChars = 100;

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-';
}

bool IsValidPort(std::string_view port) {
    if (port.empty() || port.size() > 5) return false;
    int value = 0;
    for (char c : port) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 65535;
}

}  // namespace

bool IsValidHost(std::string_view value) {
    const auto colon = value.find(':');
    const std::string_view host = value.substr(0, colon);
    if (host.empty() || host.size() > kMaxHostLength) return false;
    for (char c : host) {
        if (!IsHostChar(c)) return false;
    }
    return colon == std::string_view::npos || IsValidPort(value.substr(colon + 1));
}

bool IsValidApiAddress(std::string_view value) {
    for (std::string_view scheme : {"http://", "https://"}) {
        if (value.starts_with(scheme)) return IsValidHost(value.substr(scheme.size()));
    }
    return false;
}

std::string SiteNameOf(const ServiceConfig& config) {
    return config.source == WeatherSource::OpenMeteo ? kApiSiteName : config.siteName;
}

ServiceConfig ReadServiceConfig(Profile& profile) {
    ServiceConfig config;
    if (profile.Read("service", "source") == "service") config.source = WeatherSource::Service;
    for (auto [name, field] : {std::pair{"forecastApi", &ServiceConfig::forecastApi},
                               std::pair{"geocodingApi", &ServiceConfig::geocodingApi}}) {
        std::string value = profile.Read("service", name);
        if (IsValidApiAddress(value)) config.*field = std::move(value);
    }
    struct Key {
        const char* name;
        std::string ServiceConfig::*field;
    };
    static const Key kHosts[] = {
        {"counterHost", &ServiceConfig::counterHost}, {"dataHost", &ServiceConfig::dataHost},
        {"mainSite", &ServiceConfig::mainSite},       {"uaSite", &ServiceConfig::uaSite},
        {"newsSite", &ServiceConfig::newsSite},       {"fanSite", &ServiceConfig::fanSite},
        {"aviaSite", &ServiceConfig::aviaSite},       {"roadSite", &ServiceConfig::roadSite},
        {"monthSite", &ServiceConfig::monthSite},     {"tourismSite", &ServiceConfig::tourismSite},
    };
    for (const Key& key : kHosts) {
        std::string value = profile.Read("service", key.name);
        if (IsValidHost(value)) config.*key.field = std::move(value);
    }
    std::string siteName = profile.Read("service", "siteName");
    if (!siteName.empty()) config.siteName = CutToChars(siteName, kMaxSiteNameChars);
    return config;
}

}  // namespace vt
