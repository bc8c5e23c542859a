// The small HTML pages behind the tray menu's links, so that every link opens something.
#pragma once

#include <string>
#include <string_view>

#include "common/calendar.h"
#include "http_response.h"
#include "text/html_text.h"
#include "towns.h"

namespace vts {

// The site an address stands for in the program's default configuration: "127.0.0.5" is the
// news site, and so on; any other address gets the service's general name.
std::string_view SiteName(std::string_view listenIp);

using vt::HtmlEscape;

// "/" of a site. The main and the Ukrainian site list their towns' pages.
HttpResponse SitePage(std::string_view listenIp);
HttpResponse MapsPage();
HttpResponse TownPage(const Town& town, const vt::UtcTime& now);
HttpResponse NotFoundPage(std::string_view target);

}  // namespace vts
