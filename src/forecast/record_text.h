// The Russian text of one forecast record, built in parts so that the decoder can take its
// snapshots between them. Every part ends with its own separator.
#pragma once

#include <string>
#include <string_view>

#include "forecast/forecast_types.h"
#include "ports/day_names.h"

namespace vt {

// Words by sky number 1..9, wind direction 0..7 and period 0..3; empty outside.
std::string_view SkyWord(int sky);
std::string_view WindDirectionWord(int windDirection);
std::string_view PeriodWord(int period);

// "15/12 Сб, день: "
std::string DatePart(const ForecastRecord& record, const DayNames& dayNames);
// "Переменная облачность. Снег, "
std::string SkyPart(int sky);
// "-4..-6 °C, "
std::string TemperaturePart(int temperature);
// "Давление 748 мм, Влажность 85%, Ветер юго-восточный, 4 м/с"
std::string RestPart(const ForecastRecord& record);

std::string RecordText(const ForecastRecord& record, const DayNames& dayNames);

// Two record texts with an empty line between them.
std::string JoinRecordTexts(std::string_view first, std::string_view second);

}  // namespace vt
