#include "app/links.h"

#include "app/service_config.h"
#include "app/tray_settings.h"
#include "openmeteo/town_page.h"

namespace vt {

std::string CounterLink(const ServiceConfig& service, const std::string& target) {
    return "http://" + service.counterHost + "/r.php?cl+TRAY+" + target;
}

std::string TownPageLink(const ServiceConfig& service, const TTraySettings& settings) {
    const std::string& site =
        settings.frcCountryName == "Украина" ? service.uaSite : service.mainSite;
    return CounterLink(service, "http://" + site + "/towns/" + settings.frcTownIndex + ".htm");
}

std::optional<std::string> MenuLink(const ServiceConfig& service, MenuItem item) {
    if (service.source == WeatherSource::OpenMeteo) return std::nullopt;
    switch (item) {
        case MenuItem::News:
            return CounterLink(service, "http://" + service.newsSite);
        case MenuItem::ICQ:
            return CounterLink(service, "http://" + service.fanSite);
        case MenuItem::Map:
            return CounterLink(service, "http://" + service.mainSite + "/maps.htm");
        case MenuItem::Avia:
            return CounterLink(service, "http://" + service.aviaSite);
        case MenuItem::Auto:
            return CounterLink(service, "http://" + service.roadSite);
        case MenuItem::Month:
            return CounterLink(service, "http://" + service.monthSite);
        case MenuItem::Tourism:
            return CounterLink(service, "http://" + service.tourismSite);
        default:
            return std::nullopt;
    }
}

std::string FanSiteAddress(const ServiceConfig& service) {
    return "http://" + service.fanSite + "/";
}

AboutCredit AboutCreditOf(const ServiceConfig& service) {
    if (service.source == WeatherSource::OpenMeteo) {
        return {kDataSourceAddress, kDataCredit, "сайт"};
    }
    return {FanSiteAddress(service), "За дополнительной информацией обращайтесь", "на сайт"};
}

}  // namespace vt
