#include "openmeteo/town_page.h"

#include "forecast/record_text.h"
#include "forecast/russian_day_names.h"
#include "openmeteo/period_mapping.h"
#include "text/html_text.h"

namespace vt {
namespace {

constexpr int kPageDays = 3;
constexpr int kMinutesPerDay = 24 * 60;
constexpr const char* kUnavailable = "<p>Прогноз временно недоступен.</p>\n";

}  // namespace

std::vector<PageRow> PageRows(const HourlySeries& series, int utcOffsetMinutes,
                              const UtcTime& now) {
    const CivilDate today = LocalDate(now, utcOffsetMinutes);
    const std::int64_t localMinute = ToUnixMillis(now) / 60000 + utcOffsetMinutes;
    const std::int64_t localHour = (localMinute - DaysFromCivil(today) * kMinutesPerDay) / 60;
    std::vector<PageRow> rows;
    for (int day = 0; day < kPageDays; ++day) {
        const CivilDate date = CivilFromDays(DaysFromCivil(today) + day);
        for (int period : {kNight, kMorning, kDay, kEvening}) {
            if (day == 0 && HoursOf(period).end <= localHour) continue;
            const SamplesResult samples = SamplesOf(series, utcOffsetMinutes, date, period);
            PageRow row{date, period, std::nullopt};
            if (samples.samples) {
                row.record = RecordOf(*samples.samples, period, date);
                row.record->windSpeed = RealWindSpeedOf(samples.samples->windSpeed);
            }
            rows.push_back(row);
        }
    }
    return rows;
}

std::string HtmlPage(std::string_view title, std::string_view body) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    page += HtmlEscape(title);
    page += "</title>\n</head>\n<body>\n<h1>";
    page += HtmlEscape(title);
    page += "</h1>\n";
    page += body;
    page += "<p>Данные о погоде: <a href=\"";
    page += kDataSourceAddress;
    page += "\">Open-Meteo.com</a> (CC BY 4.0)</p>\n</body>\n</html>\n";
    return page;
}

std::string TownPage(std::string_view name, std::string_view country,
                     std::span<const PageRow> rows) {
    const RussianDayNames dayNames;
    const std::string title = "Прогноз на 3 дня: " + std::string(name);
    std::string body = "<p>" + HtmlEscape(name) + ", " + HtmlEscape(country) + "</p>\n";
    if (rows.empty()) return HtmlPage(title, body + kUnavailable);
    body += "<table>\n";
    for (const PageRow& row : rows) {
        body += "<tr><td>";
        if (row.record) {
            body += HtmlEscape(RecordText(*row.record, dayNames));
        } else {
            ForecastRecord when;
            when.date = row.date;
            when.period = row.period;
            body += HtmlEscape(DatePart(when, dayNames)) + "нет данных";
        }
        body += "</td></tr>\n";
    }
    body += "</table>\n";
    return HtmlPage(title, body);
}

}  // namespace vt
