// Where the weather service lives. Read from the [service] section of the settings file, which
// the program never writes; the defaults are the reference service on loopback.
#pragma once

#include <string>
#include <string_view>

namespace vt {

class Profile;

struct ServiceConfig {
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

// Every invalid or absent value keeps its default.
ServiceConfig ReadServiceConfig(Profile& profile);

}  // namespace vt
