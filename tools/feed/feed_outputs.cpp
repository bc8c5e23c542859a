#include "feed_outputs.h"

#include "text/encoding.h"
#include "text/html_text.h"

namespace vtf {

using vt::HtmlEscape;

std::string TownListFile(std::span<const FeedTown> towns) {
    std::string file;
    for (const FeedTown& town : towns) {
        file += town.index + ";" + vt::Utf8ToCp1251(town.name) + ";x;" +
                vt::Utf8ToCp1251(town.country) + ";\r\n";
    }
    return file;
}

std::string TownPage(const FeedTown& town, std::span<const vt::PageRow> rows) {
    return vt::TownPage(town.name, town.country, rows);
}

std::string IndexPage(std::span<const FeedTown> towns) {
    std::string body = "<ul>\n";
    for (const FeedTown& town : towns) {
        body += "<li><a href=\"towns/" + town.index + ".htm\">" + HtmlEscape(town.name) + "</a> (" +
                HtmlEscape(town.country) + ")</li>\n";
    }
    body += "</ul>\n";
    return vt::HtmlPage("Прогноз погоды", body);
}

}  // namespace vtf
