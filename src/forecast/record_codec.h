// The bit layout of a forecast record and the mask shared with the service that writes the
// files. Bit 0 is the least significant bit.
//
//   0-3 sky code (sky + 1)   4-8 wind direction   9-11 wind speed   12-18 humidity
//   19-27 pressure - 500     28-34 temperature + 70   35-37 (year - 2005) mod 8
//   38-41 month              42-46 day            47-63 period
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/calendar.h"
#include "forecast/forecast_types.h"

namespace vt {

// The mask, as halves for the low and the high 32 bits. Bit 63 is set: a valid record has bits
// 49..63 clear, so no valid record masks to 0, which the loader rejects.
inline constexpr std::uint32_t kMaskLow = 0x5E7D2C46u;
inline constexpr std::uint32_t kMaskHigh = 0xA5C3E19Bu;

// Masks and unmasks alike.
std::uint64_t ApplyMask(std::uint64_t value);

// The raw fields of an unmasked value, before any range check.
struct RecordFields {
    int skyCode = 0;
    int windDirection = 0;
    int windSpeed = 0;
    int humidity = 0;
    int pressure = 0;     // field value, 0..511
    int temperature = 0;  // field value, 0..127
    int year = 0;         // field value, 0..7
    int month = 0;
    int day = 0;
    std::uint64_t period = 0;  // all bits from 47 up
};

RecordFields SplitRecordFields(std::uint64_t unmasked);

// Nullopt when a field has no meaning (sky code outside 2..10, wind direction above 7, period
// above 3) or the date does not exist in the year the year field resolves to near todayUtc.
std::optional<ForecastRecord> UnpackRecord(std::uint64_t unmasked, CivilDate todayUtc);

// The unmasked value. Every field is cut to its width, so the caller keeps values in range.
std::uint64_t PackRecord(const ForecastRecord& record);

// A file line: the masked value as signed decimal.
std::string EncodeMaskedValue(std::uint64_t unmasked);
std::string EncodeForecastLine(const ForecastRecord& record);
// The forecast file as the service sends it: one masked line per record, CR LF after each.
std::string EncodeForecastFile(std::span<const ForecastRecord> records);

}  // namespace vt
