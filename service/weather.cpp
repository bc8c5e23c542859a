#include "weather.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "forecast/record_codec.h"

namespace vts {
namespace {

struct ClimateNorms {
    int januaryDay;  // mean day temperature in mid-January, degrees
    int julyDay;
    int nightDrop;  // how much colder the night is
};

ClimateNorms NormsOf(Climate climate) {
    switch (climate) {
        case Climate::Arctic:
            return {-13, 14, 5};
        case Climate::North:
            return {-8, 21, 6};
        case Climate::Baltic:
            return {-2, 22, 5};
        case Climate::Central:
            return {-6, 24, 7};
        case Climate::South:
            return {3, 30, 8};
        case Climate::Urals:
            return {-12, 24, 8};
        case Climate::Steppe:
            return {-13, 28, 10};
        case Climate::Siberia:
            return {-18, 25, 9};
        case Climate::Yakutia:
            return {-38, 25, 8};
        case Climate::Pacific:
            return {-9, 21, 5};
        case Climate::Asia:
            return {4, 35, 13};
    }
    return {0, 20, 6};
}

// splitmix64: a few well-mixed bits per call, stable across runs and platforms.
std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

class Dice {
  public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}
    // Uniform in lo..hi inclusive.
    int Between(int lo, int hi) {
        state_ = Mix(state_);
        return lo + static_cast<int>(state_ % static_cast<std::uint64_t>(hi - lo + 1));
    }

  private:
    std::uint64_t state_;
};

std::uint64_t IndexNumber(const Town& town) {
    std::uint64_t n = 0;
    for (char c : town.index) n = n * 10 + static_cast<std::uint64_t>(c - '0');
    return n;
}

int SeasonalDayTemperature(const ClimateNorms& norms, vt::CivilDate date) {
    const double dayOfYear =
        static_cast<double>(vt::DaysFromCivil(date) - vt::DaysFromCivil({date.year, 1, 1}));
    const double mid = (norms.januaryDay + norms.julyDay) / 2.0;
    const double amplitude = (norms.julyDay - norms.januaryDay) / 2.0;
    const double phase = 2.0 * std::numbers::pi * (dayOfYear - 15.0) / 365.25;
    return static_cast<int>(std::lround(mid - amplitude * std::cos(phase)));
}

// Snow below freezing, rain above it, thunder only when it is warm.
int SkyFor(int temperature, Dice& dice) {
    static constexpr int kCold[] = {1, 2, 3, 4, 7, 8};
    static constexpr int kMild[] = {1, 2, 3, 4, 5, 6, 7, 8};
    static constexpr int kWarm[] = {1, 2, 3, 4, 5, 6};
    static constexpr int kHot[] = {1, 1, 2, 2, 3, 4, 5, 6, 9};
    auto pick = [&dice](const auto& set) {
        return set[dice.Between(0, static_cast<int>(std::size(set)) - 1)];
    };
    if (temperature <= 0) return pick(kCold);
    if (temperature < 5) return pick(kMild);
    if (temperature < 18) return pick(kWarm);
    return pick(kHot);
}

}  // namespace

vt::ForecastRecord WeatherFor(const Town& town, vt::CivilDate date, int period) {
    const ClimateNorms norms = NormsOf(town.climate);
    Dice dice(Mix(IndexNumber(town)) ^ Mix(static_cast<std::uint64_t>(vt::DaysFromCivil(date)) * 4 +
                                           static_cast<std::uint64_t>(period)));
    const bool night = period == kPeriodNight;
    int temperature = SeasonalDayTemperature(norms, date) + dice.Between(-4, 4);
    if (night) temperature -= norms.nightDrop + dice.Between(-1, 2);
    if (period == 0 || period == 2) temperature -= norms.nightDrop / 2;

    vt::ForecastRecord r;
    r.period = period;
    r.date = date;
    r.temperature = std::clamp(temperature, -70, 57);
    r.sky = SkyFor(r.temperature, dice);
    r.pressure = dice.Between(730, 770);
    r.humidity = night ? dice.Between(60, 100) : dice.Between(40, 90);
    r.windDirection = dice.Between(0, 7);
    r.windSpeed = dice.Between(0, 7);
    return r;
}

std::array<vt::ForecastRecord, 2> ForecastRecordsAt(const Town& town, const vt::UtcTime& now) {
    constexpr int kDayEndsHour = 18;
    const std::int64_t today = vt::DaysFromCivil(now.Date());
    const vt::CivilDate dayDate = vt::CivilFromDays(now.hour < kDayEndsHour ? today : today + 1);
    const vt::CivilDate nightDate = vt::CivilFromDays(today + 1);
    return {WeatherFor(town, dayDate, kPeriodDay), WeatherFor(town, nightDate, kPeriodNight)};
}

std::string ForecastFile(const Town& town, const vt::UtcTime& now) {
    std::string file;
    for (const vt::ForecastRecord& record : ForecastRecordsAt(town, now)) {
        file += vt::EncodeForecastLine(record);
        file += "\r\n";
    }
    return file;
}

}  // namespace vts
