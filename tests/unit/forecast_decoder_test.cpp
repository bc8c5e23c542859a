#include "forecast/forecast_decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "forecast/forecast_texts.h"
#include "forecast/record_codec.h"
#include "forecast/record_text.h"
#include "forecast/russian_day_names.h"

namespace vt {
namespace {

const RussianDayNames kDays;
constexpr CivilDate kDecember2007{2007, 12, 20};
const std::string kExampleDayText =
    "15/12 Сб, день: Переменная облачность. Снег, -4..-6 °C, Давление 748 мм, Влажность 85%, "
    "Ветер юго-восточный, 4 м/с";
const std::string kExampleNightText =
    "16/12 Вс, ночь: Облачно, -8..-10 °C, Давление 750 мм, Влажность 90%, Ветер восточный, 2 м/с";

TEST(ForecastDecoder, WorkedExample) {
    ForecastSession s;
    EXPECT_EQ(DecodeForecastLine(EncodeMaskedValue(210093019060280), s, kDays, kDecember2007),
              kExampleDayText);
    EXPECT_EQ(s.dayDate, (CivilDate{2007, 12, 15}));
    EXPECT_EQ(s.otherDate, CivilDate{});
    EXPECT_EQ(s.frc.iconPicture, 7);
    EXPECT_EQ(s.frc.iconTempText, "-5");
    EXPECT_EQ(s.frc.shortText, "15/12 Сб, день: Переменная облачность. Снег, -4..-6 °C, ");

    EXPECT_EQ(DecodeForecastLine(EncodeMaskedValue(495964969608228), s, kDays, kDecember2007),
              kExampleNightText);
    EXPECT_EQ(s.otherDate, (CivilDate{2007, 12, 16}));
    EXPECT_EQ(s.dayDate, (CivilDate{2007, 12, 15}));
    EXPECT_EQ(s.frc.iconPicture, 7);
    EXPECT_EQ(s.frc.iconTempText, "-5");
}

TEST(ForecastDecoder, TemperatureRanges) {
    const struct {
        int t;
        const char* part;
    } cases[] = {
        {-70, "-69..-71 °C, "}, {-5, "-4..-6 °C, "}, {-2, "-1..-3 °C, "},
        {-1, "-2..0 °C, "},     {0, "-1..+1 °C, "},  {1, "0..+2 °C, "},
        {2, "+1..+3 °C, "},     {5, "+4..+6 °C, "},  {57, "+56..+58 °C, "},
    };
    for (const auto& c : cases) EXPECT_EQ(TemperaturePart(c.t), c.part) << c.t;
}

TEST(ForecastDecoder, FieldLimitsInText) {
    const struct {
        ForecastRecord record;
        const char* text;
    } cases[] = {
        {{0, {2026, 1, 5}, 1, -70, 500, 0, 0, 0},
         "5/1 Пн, утро: Ясно, -69..-71 °C, Давление 500 мм, Влажность 0%, Ветер северный, 0 м/с"},
        {{2, {2026, 12, 31}, 8, 57, 1011, 127, 7, 7},
         "31/12 Чт, вечер: Пасмурно. Cнег, +56..+58 °C, Давление 1011 мм, Влажность 127%, Ветер "
         "северо-западный, 7 м/с"},
    };
    for (const auto& c : cases) {
        ForecastSession s;
        EXPECT_EQ(DecodeForecastLine(EncodeForecastLine(c.record), s, kDays, {2026, 6, 1}), c.text);
    }
}

TEST(ForecastDecoder, SnowWordsDifferInOneLetter) {
    EXPECT_EQ(SkyWord(8).substr(SkyWord(8).find(' ') + 1, 1), "C");  // Latin, byte 0x43
    EXPECT_EQ(SkyWord(7).find('C'), std::string_view::npos);
    EXPECT_EQ(SkyWord(7).substr(SkyWord(7).rfind(' ') + 1), "Снег");
}

TEST(ForecastDecoder, DayNameFollowsResolvedYear) {
    const struct {
        CivilDate date;
        CivilDate today;
        const char* start;
    } cases[] = {
        {{2026, 12, 8}, {2026, 12, 7}, "8/12 Вт, "},
        {{2027, 1, 2}, {2026, 12, 30}, "2/1 Сб, "},
        {{2026, 12, 30}, {2027, 1, 2}, "30/12 Ср, "},
        {{2028, 2, 29}, {2028, 2, 28}, "29/2 Вт, "},
    };
    for (const auto& c : cases) {
        ForecastSession s;
        const ForecastRecord r{1, c.date, 3, 10, 750, 60, 2, 3};
        EXPECT_TRUE(
            DecodeForecastLine(EncodeForecastLine(r), s, kDays, c.today).starts_with(c.start))
            << c.start;
        EXPECT_EQ(s.dayDate, c.date);
    }
}

TEST(ForecastDecoder, FailuresChangeNothing) {
    const ForecastRecord night{3, {2026, 2, 28}, 3, 10, 750, 60, 2, 3};
    const std::uint64_t good = PackRecord(night);
    const struct {
        std::string line;
        const char* text;
    } cases[] = {
        {"", kInvalidDataText},
        {"abc", kInvalidDataText},
        {"0", kInvalidDataText},
        {EncodeForecastLine(night) + " ", kInvalidDataText},
        {EncodeMaskedValue((good & ~(std::uint64_t{0x1F} << 42)) | std::uint64_t{29} << 42),
         kInvalidDataLongText},
        {EncodeMaskedValue(good & ~(std::uint64_t{0xF} << 38)), kInvalidDataLongText},
        {EncodeMaskedValue(good & ~std::uint64_t{0xF}), kInvalidDataLongText},
        {EncodeMaskedValue(good | std::uint64_t{1} << 50), kInvalidDataLongText},
        {EncodeMaskedValue(good | std::uint64_t{9} << 4), kInvalidDataLongText},
    };
    for (const auto& c : cases) {
        ForecastSession s;
        s.frc.iconPicture = 4;
        s.frc.iconTempText = "3";
        s.frc.shortText = "old";
        s.dayDate = {2026, 2, 1};
        s.otherDate = {2026, 2, 2};
        EXPECT_EQ(DecodeForecastLine(c.line, s, kDays, {2026, 2, 20}), c.text) << c.line;
        // An answer beginning with such a line is no forecast, whatever follows.
        EXPECT_FALSE(IsForecastAnswer(c.line + "\r\n" + EncodeForecastLine(night), {2026, 2, 20}));
        EXPECT_EQ(s.frc.iconPicture, 4);
        EXPECT_EQ(s.frc.iconTempText, "3");
        EXPECT_EQ(s.frc.shortText, "old");
        EXPECT_EQ(s.dayDate, (CivilDate{2026, 2, 1}));
        EXPECT_EQ(s.otherDate, (CivilDate{2026, 2, 2}));
    }
}

TEST(ForecastDecoder, AnAnswerIsAForecastWhenItsFirstLineIsARecord) {
    const std::string night = EncodeForecastLine({3, {2026, 2, 28}, 3, 10, 750, 60, 2, 3});
    for (const std::string& tail :
         {std::string(""), std::string("\r\n"), std::string("\n<html>")}) {
        EXPECT_TRUE(IsForecastAnswer(night + tail, {2026, 2, 20})) << tail;
    }
    EXPECT_FALSE(IsForecastAnswer("", {2026, 2, 20}));
    EXPECT_FALSE(IsForecastAnswer("\r\n" + night, {2026, 2, 20}));
}

TEST(ForecastDecoder, OnlyDayRecordsTouchThePicture) {
    for (int period = 0; period < 4; ++period) {
        ForecastSession s;
        const ForecastRecord r{period, {2026, 3, 4}, 6, 0, 750, 60, 2, 3};
        DecodeForecastLine(EncodeForecastLine(r), s, kDays, {2026, 3, 3});
        const bool isDay = period == 1;
        EXPECT_EQ(s.frc.iconPictureFromRecord, isDay) << period;
        EXPECT_EQ(s.frc.iconPicture, isDay ? 6 : 0) << period;
        EXPECT_EQ(s.frc.iconTempText, isDay ? "0" : "") << period;
        EXPECT_EQ(s.dayDate, isDay ? r.date : CivilDate{}) << period;
        EXPECT_EQ(s.otherDate, isDay ? CivilDate{} : r.date) << period;
    }
}

}  // namespace
}  // namespace vt
