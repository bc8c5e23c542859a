#include "pages.h"

#include <array>

#include "forecast/record_text.h"
#include "forecast/russian_day_names.h"
#include "weather.h"

namespace vts {
namespace {

constexpr std::string_view kServiceName = "Сервер погоды Vantorel";
constexpr std::string_view kMainSiteIp = "127.0.0.3";
constexpr std::string_view kUkrainianSiteIp = "127.0.0.4";

// By the last part of 127.0.0.N, as in the program's default [service] section.
constexpr std::array<std::string_view, 10> kSiteNames = {
    "Счётчик переходов",           // .1 click counter
    "Файлы прогнозов",             // .2 data host
    "Погода Vantorel",             // .3 main site
    "Погода в Украине",            // .4 Ukrainian site
    "Новости погоды",              // .5
    "Погода на кончиках пальцев",  // .6 fan site
    "Погода по аэропортам",        // .7
    "Погода на автодорогах",       // .8
    "Погода на месяц",             // .9
    "Туризм, отдых, путешествия",  // .10
};

std::string Page(std::string_view title, const std::string& body) {
    return "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>" +
           HtmlEscape(title) + "</title></head>\n<body>\n<h1>" + HtmlEscape(title) + "</h1>\n" +
           body + "</body></html>\n";
}

std::string TownLinks(bool ukraine) {
    std::string list = "<ul>\n";
    for (const Town& town : AllTowns()) {
        if ((town.country == "Украина") != ukraine) continue;
        list += "<li><a href=\"/towns/" + FiveDigitIndex(town) + ".htm\">" + HtmlEscape(town.name) +
                "</a>, " + HtmlEscape(town.country) + "</li>\n";
    }
    return list + "</ul>\n";
}

}  // namespace

std::string_view SiteName(std::string_view listenIp) {
    constexpr std::string_view kPrefix = "127.0.0.";
    if (!listenIp.starts_with(kPrefix)) return kServiceName;
    const std::string_view last = listenIp.substr(kPrefix.size());
    for (std::size_t n = 1; n <= kSiteNames.size(); ++n) {
        if (last == std::to_string(n)) return kSiteNames[n - 1];
    }
    return kServiceName;
}

HttpResponse SitePage(std::string_view listenIp) {
    std::string body =
        "<p>" + HtmlEscape(kServiceName) + " на адресе " + HtmlEscape(listenIp) + ".</p>\n";
    if (listenIp == kMainSiteIp) {
        body += "<p><a href=\"/maps.htm\">Карты погоды и анимации</a></p>\n" + TownLinks(false);
    } else if (listenIp == kUkrainianSiteIp) {
        body += TownLinks(true);
    }
    return HtmlResponse(200, Page(SiteName(listenIp), body));
}

HttpResponse MapsPage() {
    return HtmlResponse(200,
                        Page("Карты погоды и анимации", "<p>Карты погоды появятся здесь.</p>\n"));
}

HttpResponse TownPage(const Town& town, const vt::UtcTime& now) {
    const vt::RussianDayNames dayNames;
    std::string body =
        "<p>" + HtmlEscape(town.country) + ", станция " + FiveDigitIndex(town) + "</p>\n<ul>\n";
    for (const vt::ForecastRecord& record : ForecastRecordsAt(town, now)) {
        body += "<li>" + HtmlEscape(vt::RecordText(record, dayNames)) + "</li>\n";
    }
    body += "</ul>\n";
    return HtmlResponse(200, Page("Прогноз погоды: " + std::string(town.name), body));
}

HttpResponse NotFoundPage(std::string_view target) {
    return HtmlResponse(404, Page("Страница не найдена", "<p>" + HtmlEscape(target) + "</p>\n"));
}

}  // namespace vts
