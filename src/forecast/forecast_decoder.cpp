#include "forecast/forecast_decoder.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "forecast/forecast_lines.h"
#include "forecast/forecast_texts.h"
#include "forecast/record_codec.h"
#include "forecast/record_integer.h"
#include "forecast/record_text.h"

namespace vt {
namespace {

constexpr int kDayPeriod = 1;

}  // namespace

RecordLine ReadRecordLine(std::string_view line, CivilDate todayUtc) {
    const std::int64_t value = ParseRecordInteger(line);
    if (value == 0) return {std::nullopt, true};
    return {UnpackRecord(ApplyMask(static_cast<std::uint64_t>(value)), todayUtc), false};
}

bool IsForecastAnswer(std::string_view bytes, CivilDate todayUtc) {
    const std::vector<std::string> lines = SplitForecastLines(bytes);
    return !lines.empty() && ReadRecordLine(lines[0], todayUtc).record.has_value();
}

std::string DecodeForecastLine(std::string_view line, ForecastSession& session,
                               const DayNames& dayNames, CivilDate todayUtc) {
    const RecordLine read = ReadRecordLine(line, todayUtc);
    if (read.notANumber) return kInvalidDataText;
    if (!read.record) return kInvalidDataLongText;
    const std::optional<ForecastRecord>& record = read.record;

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
