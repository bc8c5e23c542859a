// Where the weather comes from. Read from the [service] section of the settings file, which the
// program never writes: the open forecast API by default, or a weather service of the protocol
// (source=service), whose hosts default to the reference service on loopback.
#pragma once

#include <string>
#include <string_view>

#include "download/jobs.h"

namespace vt {

class Profile;

inline constexpr const char* kApiSiteName = "сервисом прогнозов Open-Meteo";

struct ServiceConfig {
    WeatherSource source = WeatherSource::OpenMeteo;
    std::string forecastApi = "https://api.open-meteo.com";
    std::string geocodingApi = "https://geocoding-api.open-meteo.com";
    std::string counterHost = "127.0.0.1:8717";
    std::string dataHost = "127.0.0.2:8717";
    std::string mainSite = "127.0.0.3:8717";
    std::string uaSite = "127.0.0.4:8717";
    std::string newsSite = "127.0.0.5:8717";
    std::string fanSite = "127.0.0.6:8717";
    std::string aviaSite = "127.0.0.7:8717";
    std::string roadSite = "127.0.0.8:8717";
    std::string monthSite = "127.0.0.9:8717";
    std::string tourismSite = "127.0.0.10:8717";
    std::string siteName = "сервером погоды Vantorel";
};

// "host" or "host:port": letters, digits, "." and "-" in the host, a port of 1..65535.
bool IsValidHost(std::string_view value);

// "http://" or "https://" and a valid host: an API's scheme and authority, no path.
bool IsValidApiAddress(std::string_view value);

// The words the connection failure names the source with.
std::string SiteNameOf(const ServiceConfig& config);

// Every invalid or absent value keeps its default.
ServiceConfig ReadServiceConfig(Profile& profile);

}  // namespace vt
