#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "forecast/record_codec.h"
#include "forecast/record_integer.h"
#include "forecast/record_year.h"

namespace vt {
namespace {

constexpr std::uint64_t kExampleDay = 210093019060280;
constexpr std::uint64_t kExampleNight = 495964969608228;

TEST(ForecastCodec, MaskedLineReadsBack) {
    const std::uint64_t values[] = {kExampleDay,       kExampleNight,          1,
                                    ~std::uint64_t{0}, std::uint64_t{1} << 63, ApplyMask(0) ^ 1};
    for (std::uint64_t raw : values) {
        const std::string line = EncodeMaskedValue(raw);
        EXPECT_EQ(ApplyMask(static_cast<std::uint64_t>(ParseRecordInteger(line))), raw) << line;
    }
    EXPECT_NE(EncodeMaskedValue(kExampleDay), std::to_string(kExampleDay));
}

// The texts of the worked example check the fields; this checks that the encoder agrees.
TEST(ForecastCodec, PackInvertsUnpack) {
    for (std::uint64_t raw : {kExampleDay, kExampleNight}) {
        const std::optional<ForecastRecord> record = UnpackRecord(raw, {2007, 12, 20});
        ASSERT_TRUE(record) << raw;
        EXPECT_EQ(PackRecord(*record), raw);
    }
}

TEST(ForecastCodec, YearFieldIsNonNegative) {
    const struct {
        int year, field;
    } cases[] = {{2005, 0}, {2012, 7}, {2013, 0}, {2026, 5}, {2004, 7}, {1998, 1}};
    for (const auto& c : cases) {
        ForecastRecord r{1, {c.year, 3, 1}, 1, 0, 500, 0, 0, 0};
        EXPECT_EQ(SplitRecordFields(PackRecord(r)).year, c.field) << c.year;
    }
}

TEST(ForecastCodec, ValuesWithoutMeaningAreRejected) {
    const CivilDate today{2007, 12, 20};
    const std::uint64_t sky = 0xF, wind = std::uint64_t{0x1F} << 4;
    const struct {
        std::uint64_t value;
        bool valid;
    } cases[] = {
        {(kExampleDay & ~sky) | 2, true},
        {(kExampleDay & ~sky) | 10, true},
        {(kExampleDay & ~sky) | 1, false},
        {(kExampleDay & ~sky) | 0, false},
        {(kExampleDay & ~sky) | 11, false},
        {(kExampleDay & ~sky) | 15, false},
        {(kExampleDay & ~wind) | std::uint64_t{7} << 4, true},
        {(kExampleDay & ~wind) | std::uint64_t{8} << 4, false},
        {(kExampleDay & ~wind) | std::uint64_t{31} << 4, false},
        {kExampleDay | std::uint64_t{3} << 47, true},
        {kExampleDay | std::uint64_t{1} << 49, false},
        {kExampleDay | std::uint64_t{1} << 63, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnpackRecord(c.value, today).has_value(), c.valid) << std::hex << c.value;
    }
}

TEST(ForecastYear, NearestCandidate) {
    const struct {
        int field, month, day;
        CivilDate today;
        std::optional<int> year;
    } cases[] = {
        {2, 12, 15, {2007, 12, 20}, 2007},
        {5, 6, 16, {2026, 6, 15}, 2026},
        {7, 6, 16, {2026, 6, 15}, 2028},
        {1, 6, 15, {2026, 6, 15}, 2022},  // 2022 and 2030 are 1461 days away each
        {6, 1, 2, {2026, 12, 30}, 2027},
        {5, 12, 30, {2027, 1, 2}, 2026},
        {7, 2, 29, {2028, 2, 20}, 2028},
        {7, 2, 29, {2027, 12, 30}, 2028},
        {5, 2, 29, {2026, 2, 20}, std::nullopt},  // nearest is 2026, no 29 February
        {5, 4, 31, {2026, 4, 1}, std::nullopt},
        {5, 0, 1, {2026, 4, 1}, std::nullopt},
        {5, 13, 1, {2026, 4, 1}, std::nullopt},
        {5, 4, 0, {2026, 4, 1}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveRecordYear(c.field, c.month, c.day, c.today), c.year)
            << c.field << " " << c.month << "/" << c.day << " today " << c.today.year;
    }
}

}  // namespace
}  // namespace vt
