// The web addresses the tray opens. Every one goes through the service's click counter; only
// addresses built here, from the configured hosts and a digits-only town index, reach the shell.
#pragma once

#include <optional>
#include <string>

#include "ports/main_view.h"

namespace vt {

struct ServiceConfig;
struct TTraySettings;

// "http://" + counter host + "/r.php?cl+TRAY+" + the complete target, not escaped.
std::string CounterLink(const ServiceConfig& service, const std::string& target);

// The town page: the Ukrainian site exactly for "Украина", the main site otherwise.
std::string TownPageLink(const ServiceConfig& service, const TTraySettings& settings);

// The fan site as the About box shows and opens it, directly: "http://" + host + "/".
std::string FanSiteAddress(const ServiceConfig& service);

// What the About box says under the version and which address its links open: the fan site of
// the protocol's service, or the credit of the open forecast API's data.
struct AboutCredit {
    std::string address;
    std::string line1;  // Label5
    std::string line2;  // Label6, before the link
};
AboutCredit AboutCreditOf(const ServiceConfig& service);

// The link of a menu item that opens a section of the site; nullopt for the other items and for
// every item with the open forecast API, which has no such sections.
std::optional<std::string> MenuLink(const ServiceConfig& service, MenuItem item);

}  // namespace vt
