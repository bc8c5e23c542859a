#include "forecast/forecast_decoder.h"

#include <cstdint>
#include <optional>

#include "forecast/forecast_texts.h"
#include "forecast/record_codec.h"
#include "forecast/record_integer.h"
#include "forecast/record_text.h"

namespace vt {
namespace {

constexpr int kDayPeriod = 1;

}  // namespace

std::string DecodeForecastLine(std::string_view line, ForecastSession& session,
                               const DayNames& dayNames, CivilDate todayUtc) {
    const std::int64_t value = ParseRecordInteger(line);
    if (value == 0) return kInvalidDataText;

    const std::optional<ForecastRecord> record =
        UnpackRecord(ApplyMask(static_cast<std::uint64_t>(value)), todayUtc);
    if (!record) return kInvalidDataLongText;

    const bool isDay = record->period == kDayPeriod;
    std::string text = DatePart(*record, dayNames);
    if (isDay) {
        session.dayDate = record->date;
        session.frc.iconPicture = record->sky;
        session.frc.iconPictureFromRecord = true;
    } else {
        session.otherDate = record->date;
    }

    text += SkyPart(record->sky);
    if (isDay) session.frc.iconTempText = std::to_string(record->temperature);

    text += TemperaturePart(record->temperature);
    if (isDay) session.frc.shortText = text;

    text += RestPart(*record);
    return text;
}

}  // namespace vt
