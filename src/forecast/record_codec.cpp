#include "forecast/record_codec.h"

#include "forecast/record_year.h"

namespace vt {
namespace {

constexpr int kSkyShift = 0, kWindDirectionShift = 4, kWindSpeedShift = 9, kHumidityShift = 12,
              kPressureShift = 19, kTemperatureShift = 28, kYearShift = 35, kMonthShift = 38,
              kDayShift = 42, kPeriodShift = 47;

constexpr int kPressureBase = 500;
constexpr int kTemperatureBase = 70;
constexpr int kFirstYear = 2005;

int Field(std::uint64_t value, int shift, int width) {
    return static_cast<int>(value >> shift & ((std::uint64_t{1} << width) - 1));
}

std::uint64_t Put(int value, int shift, int width) {
    return (static_cast<std::uint64_t>(value) & ((std::uint64_t{1} << width) - 1)) << shift;
}

}  // namespace

std::uint64_t ApplyMask(std::uint64_t value) {
    return value ^ (std::uint64_t{kMaskHigh} << 32 | kMaskLow);
}

RecordFields SplitRecordFields(std::uint64_t v) {
    RecordFields f;
    f.skyCode = Field(v, kSkyShift, 4);
    f.windDirection = Field(v, kWindDirectionShift, 5);
    f.windSpeed = Field(v, kWindSpeedShift, 3);
    f.humidity = Field(v, kHumidityShift, 7);
    f.pressure = Field(v, kPressureShift, 9);
    f.temperature = Field(v, kTemperatureShift, 7);
    f.year = Field(v, kYearShift, 3);
    f.month = Field(v, kMonthShift, 4);
    f.day = Field(v, kDayShift, 5);
    f.period = v >> kPeriodShift;
    return f;
}

std::optional<ForecastRecord> UnpackRecord(std::uint64_t unmasked, CivilDate todayUtc) {
    const RecordFields f = SplitRecordFields(unmasked);
    if (f.skyCode < 2 || f.skyCode > 10 || f.windDirection > 7 || f.period > 3) return std::nullopt;
    const std::optional<int> year = ResolveRecordYear(f.year, f.month, f.day, todayUtc);
    if (!year) return std::nullopt;

    ForecastRecord r;
    r.period = static_cast<int>(f.period);
    r.date = {*year, f.month, f.day};
    r.sky = f.skyCode - 1;
    r.temperature = f.temperature - kTemperatureBase;
    r.pressure = f.pressure + kPressureBase;
    r.humidity = f.humidity;
    r.windDirection = f.windDirection;
    r.windSpeed = f.windSpeed;
    return r;
}

std::uint64_t PackRecord(const ForecastRecord& r) {
    const int yearField = ((r.date.year - kFirstYear) % 8 + 8) % 8;
    return Put(r.sky + 1, kSkyShift, 4) | Put(r.windDirection, kWindDirectionShift, 5) |
           Put(r.windSpeed, kWindSpeedShift, 3) | Put(r.humidity, kHumidityShift, 7) |
           Put(r.pressure - kPressureBase, kPressureShift, 9) |
           Put(r.temperature + kTemperatureBase, kTemperatureShift, 7) |
           Put(yearField, kYearShift, 3) | Put(r.date.month, kMonthShift, 4) |
           Put(r.date.day, kDayShift, 5) | Put(r.period, kPeriodShift, 17);
}

std::string EncodeMaskedValue(std::uint64_t unmasked) {
    return std::to_string(static_cast<std::int64_t>(ApplyMask(unmasked)));
}

std::string EncodeForecastLine(const ForecastRecord& record) {
    return EncodeMaskedValue(PackRecord(record));
}

std::string EncodeForecastFile(std::span<const ForecastRecord> records) {
    std::string file;
    for (const ForecastRecord& record : records) file += EncodeForecastLine(record) + "\r\n";
    return file;
}

}  // namespace vt
