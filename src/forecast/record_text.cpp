#include "forecast/record_text.h"

#include <array>

namespace vt {
namespace {

// The word for 8 is spelled with a Latin capital C ("Cнег"), unlike the word for 7. Keep it.
constexpr std::array<std::string_view, 9> kSkyWords = {
    "Ясно",
    "Малооблачно",
    "Облачно",
    "Пасмурно",
    "Переменная облачность. Дождь",
    "Пасмурно. Дождь",
    "Переменная облачность. Снег",
    "Пасмурно. Cнег",
    "Гроза",
};

constexpr std::array<std::string_view, 8> kWindWords = {
    "северный", "северо-восточный", "восточный", "юго-восточный",
    "южный",    "юго-западный",     "западный",  "северо-западный",
};

constexpr std::array<std::string_view, 4> kPeriodWords = {"утро", "день", "вечер", "ночь"};

template <std::size_t N>
std::string_view WordAt(const std::array<std::string_view, N>& words, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return {};
    return words[static_cast<std::size_t>(index)];
}

std::string Signed(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

}  // namespace

std::string_view SkyWord(int sky) {
    return WordAt(kSkyWords, sky - 1);
}
std::string_view WindDirectionWord(int windDirection) {
    return WordAt(kWindWords, windDirection);
}
std::string_view PeriodWord(int period) {
    return WordAt(kPeriodWords, period);
}

std::string DatePart(const ForecastRecord& r, const DayNames& dayNames) {
    std::string text = std::to_string(r.date.day) + "/" + std::to_string(r.date.month) + " ";
    text += dayNames.Abbreviated(DayOfWeek(r.date));
    text += ", ";
    text += PeriodWord(r.period);
    text += ": ";
    return text;
}

std::string SkyPart(int sky) {
    std::string text(SkyWord(sky));
    text += ", ";
    return text;
}

// From -2 down the value nearer to zero comes first; above zero a value carries a plus.
std::string TemperaturePart(int t) {
    const std::string range = t <= -2 ? std::to_string(t + 1) + ".." + std::to_string(t - 1)
                                      : Signed(t - 1) + ".." + Signed(t + 1);
    return range + " °C, ";
}

std::string RestPart(const ForecastRecord& r) {
    std::string text = "Давление " + std::to_string(r.pressure) + " мм, ";
    text += "Влажность " + std::to_string(r.humidity) + "%, ";
    text += "Ветер ";
    text += WindDirectionWord(r.windDirection);
    text += ", " + std::to_string(r.windSpeed) + " м/с";
    return text;
}

std::string RecordText(const ForecastRecord& r, const DayNames& dayNames) {
    return DatePart(r, dayNames) + SkyPart(r.sky) + TemperaturePart(r.temperature) + RestPart(r);
}

std::string JoinRecordTexts(std::string_view first, std::string_view second) {
    std::string text(first);
    text += "\r\n\r\n";
    text += second;
    return text;
}

}  // namespace vt
