#include "feed_outputs.h"

#include "forecast/record_codec.h"
#include "forecast/record_text.h"
#include "forecast/russian_day_names.h"
#include "text/encoding.h"
#include "text/html_text.h"

namespace vtf {

using vt::HtmlEscape;

namespace {

constexpr std::string_view kPageStart =
    "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>";

constexpr const char* kUnavailable = "<p>Прогноз временно недоступен.</p>\n";

std::string Page(std::string_view title, std::string_view body) {
    std::string page(kPageStart);
    page += HtmlEscape(title);
    page += "</title>\n</head>\n<body>\n<h1>";
    page += HtmlEscape(title);
    page += "</h1>\n";
    page += body;
    page += "</body>\n</html>\n";
    return page;
}

}  // namespace

std::string TownListFile(std::span<const FeedTown> towns) {
    std::string file;
    for (const FeedTown& town : towns) {
        file += town.index + ";" + vt::Utf8ToCp1251(town.name) + ";x;" +
                vt::Utf8ToCp1251(town.country) + ";\r\n";
    }
    return file;
}

std::string TownPage(const FeedTown& town, std::span<const PageRow> rows) {
    const vt::RussianDayNames dayNames;
    std::string body = "<p>" + HtmlEscape(town.name) + ", " + HtmlEscape(town.country) + "</p>\n";
    if (rows.empty()) return Page("Прогноз на 3 дня: " + town.name, body + kUnavailable);
    body += "<table>\n";
    for (const PageRow& row : rows) {
        body += "<tr><td>";
        if (row.record) {
            body += HtmlEscape(vt::RecordText(*row.record, dayNames));
        } else {
            vt::ForecastRecord when;
            when.date = row.date;
            when.period = row.period;
            body += HtmlEscape(vt::DatePart(when, dayNames)) + "нет данных";
        }
        body += "</td></tr>\n";
    }
    body += "</table>\n";
    return Page("Прогноз на 3 дня: " + town.name, body);
}

std::string IndexPage(std::span<const FeedTown> towns) {
    std::string body = "<ul>\n";
    for (const FeedTown& town : towns) {
        body += "<li><a href=\"towns/" + town.index + ".htm\">" + HtmlEscape(town.name) + "</a> (" +
                HtmlEscape(town.country) + ")</li>\n";
    }
    body += "</ul>\n";
    return Page("Прогноз погоды", body);
}

}  // namespace vtf
