#include "forecast/forecast_loader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/tray_settings.h"
#include "forecast/forecast_decoder.h"
#include "forecast/forecast_texts.h"
#include "forecast/icon_choice.h"
#include "forecast/record_codec.h"
#include "forecast/russian_day_names.h"

namespace vt {
namespace {

const RussianDayNames kDays;
constexpr CivilDate kToday{2026, 3, 10};
const std::string kTwo = "День+ночь";
const std::string kCaption = "Прогноз на 3 дня по г. Москва";

ForecastRecord At(int period, int day, int sky = 3, int temperature = 4) {
    return {period, {2026, 3, day}, sky, temperature, 750, 60, 2, 3};
}

std::string Line(const ForecastRecord& r) {
    return EncodeForecastLine(r);
}

std::string TextOf(const ForecastRecord& r) {
    ForecastSession fresh;
    return DecodeForecastLine(Line(r), fresh, kDays, kToday);
}

LoadOutcome Load(ForecastSession& s, const std::optional<std::string>& bytes,
                 const std::string& span = kTwo) {
    return LoadForecastFromBytes(bytes, ReadsTwoRecords(span), "Москва", s, kDays, kToday);
}

TEST(ForecastLoader, WorkedExampleInBothModes) {
    const std::string file =
        EncodeMaskedValue(210093019060280) + "\r\n" + EncodeMaskedValue(495964969608228) + "\r\n";
    const std::string day =
        "15/12 Сб, день: Переменная облачность. Снег, -4..-6 °C, Давление 748 мм, Влажность 85%, "
        "Ветер юго-восточный, 4 м/с";
    const std::string night =
        "16/12 Вс, ночь: Облачно, -8..-10 °C, Давление 750 мм, Влажность 90%, Ветер восточный, 2 "
        "м/с";
    const struct {
        std::string span;
        std::string trayText;
    } cases[] = {{kTwo, day + "\r\n\r\n" + night}, {"День", day}, {"", day}, {"день+ночь", day}};
    for (const auto& c : cases) {
        ForecastSession s;
        const LoadOutcome o = LoadForecastFromBytes(file, ReadsTwoRecords(c.span), "Москва", s,
                                                    kDays, {2007, 12, 17});
        EXPECT_FALSE(o.isError) << c.span;
        EXPECT_EQ(s.frc.trayText, c.trayText) << c.span;
        EXPECT_EQ(s.frc.trayState, "Prognoz");
        EXPECT_EQ(o.frcCaption, kCaption);
        EXPECT_EQ(s.dayDate, (CivilDate{2007, 12, 15}));
        EXPECT_EQ(s.frc.firstText, c.span == kTwo ? day : "");
    }
}

TEST(ForecastLoader, FailureTable) {
    const std::string good = Line(At(1, 10));
    const struct {
        std::optional<std::string> bytes;
        std::string span;
        bool isError;
        std::string message;
        bool caption;
    } cases[] = {
        {std::nullopt, kTwo, true, kFileAccessError, false},
        {"", kTwo, true, kEmptyFileError, false},
        {std::string("\0"
                     "123",
                     4),
         kTwo, true, kEmptyFileError, false},
        {"\r\n", kTwo, true, kInvalidDataLongText, true},
        {"abc", "День", true, kInvalidDataLongText, true},
        {good + " ", "День", true, kInvalidDataLongText, true},
        {good + "\n0", kTwo, true, kInvalidDataLongText, true},
        {"0\n" + good, kTwo, true, kInvalidDataLongText, true},
        {"   " + good, "День", false, "", true},
        {good + "\nanything", "День", false, "", true},
    };
    for (const auto& c : cases) {
        ForecastSession s;
        const LoadOutcome o = Load(s, c.bytes, c.span);
        const std::string shown = c.bytes ? testing::PrintToString(*c.bytes) : "nullopt";
        EXPECT_EQ(o.isError, c.isError) << shown;
        EXPECT_EQ(o.errorMessage, c.message) << shown;
        EXPECT_EQ(o.frcCaption.has_value(), c.caption) << shown;
        EXPECT_EQ(o.frcCaption.value_or(kCaption), kCaption) << shown;
        EXPECT_EQ(s.frc.trayState, c.isError ? "" : "Prognoz") << shown;
    }
}

TEST(ForecastLoader, ImpossibleDateStandsInPlaceOfItsText) {
    const std::uint64_t bits = PackRecord({3, {2026, 2, 28}, 3, 4, 750, 60, 2, 3});
    const std::string bad =
        EncodeMaskedValue((bits & ~(std::uint64_t{0x1F} << 42)) | std::uint64_t{29} << 42);
    ForecastSession s;
    const LoadOutcome o = Load(s, Line(At(1, 10)) + "\n" + bad);
    EXPECT_FALSE(o.isError);
    EXPECT_EQ(s.frc.secondText, kInvalidDataLongText);
    // otherDate stays zero, so the day record is not earlier and the failed one comes first.
    EXPECT_EQ(s.frc.trayText, std::string(kInvalidDataLongText) + "\r\n\r\n" + s.frc.firstText);
    EXPECT_EQ(s.frc.trayState, "Prognoz");
}

TEST(ForecastLoader, OrderFollowsTheDates) {
    const struct {
        ForecastRecord first, second;
        bool firstLeads;
    } cases[] = {
        {At(1, 10), At(3, 11), true},  {At(1, 10), At(3, 10), false},  // equal dates: night first
        {At(3, 10), At(1, 11), false}, {At(1, 11), At(0, 10), false},
        {At(1, 10), At(1, 11), false},  // both set dayDate; otherDate is still zero
        {At(0, 12), At(3, 11), true},   // no day record: a zero dayDate is earlier
    };
    for (const auto& c : cases) {
        ForecastSession s;
        Load(s, Line(c.first) + "\n" + Line(c.second) + "\n");
        const std::string expected = c.firstLeads ? s.frc.firstText + "\r\n\r\n" + s.frc.secondText
                                                  : s.frc.secondText + "\r\n\r\n" + s.frc.firstText;
        EXPECT_EQ(s.frc.trayText, expected) << c.first.period << "/" << c.second.period;
        EXPECT_NE(s.frc.firstText, s.frc.secondText);
    }
}

TEST(ForecastLoader, StateCarriesOverBetweenLoads) {
    ForecastSession s;
    Load(s, Line(At(1, 12, 5, -3)) + "\n" + Line(At(3, 12)));
    const std::string firstShort = s.frc.shortText;

    // Neither record is a day record: dayDate (12th) is kept and is later than the 11th.
    Load(s, Line(At(0, 11)) + "\n" + Line(At(2, 11)) + "\nwhatever\n0\n");
    EXPECT_EQ(s.dayDate, (CivilDate{2026, 3, 12}));
    EXPECT_EQ(s.otherDate, (CivilDate{2026, 3, 11}));
    EXPECT_EQ(s.frc.trayText, s.frc.secondText + "\r\n\r\n" + s.frc.firstText);
    EXPECT_EQ(s.frc.iconPicture, 5);
    EXPECT_EQ(s.frc.iconTempText, "-3");
    EXPECT_EQ(s.frc.shortText, firstShort);

    // Single record mode leaves firstText and secondText of the last two-record load.
    const std::string first = s.frc.firstText;
    Load(s, Line(At(3, 13)), kTwo);
    EXPECT_EQ(s.frc.firstText, first);
    EXPECT_EQ(s.frc.trayText, TextOf(At(3, 13)));
}

TEST(ForecastLoader, PictureOnlyFromDayRecordSinceLastFailure) {
    ForecastSession s;
    EXPECT_EQ(TrayPictureNumber(s.frc), 9);
    const struct {
        std::optional<std::string> bytes;
        int picture;
    } steps[] = {
        {Line(At(3, 10, 6)), 9}, {Line(At(1, 10, 6)), 5}, {Line(At(3, 11, 2)), 5},
        {std::nullopt, 9},       {Line(At(0, 11, 2)), 9}, {"0", 9},
        {Line(At(1, 12, 1)), 0},
    };
    for (const auto& step : steps) {
        const LoadOutcome o = Load(s, step.bytes, "День");
        if (o.isError) ApplyShowError(s.frc, o.errorMessage);
        EXPECT_EQ(TrayPictureNumber(s.frc), step.picture) << s.frc.trayText;
    }
}

TEST(ForecastLoader, ShowErrorKeepsTextsAndDates) {
    ForecastSession s;
    Load(s, Line(At(1, 10, 4, 7)) + "\n" + Line(At(3, 10)));
    const ForecastSession before = s;
    ApplyShowError(s.frc, kEmptyFileError);
    EXPECT_EQ(s.frc.trayText, kEmptyFileError);
    EXPECT_EQ(s.frc.iconTempText, "");
    EXPECT_EQ(s.frc.iconPicture, 9);
    EXPECT_EQ(s.frc.trayState, "Error");
    EXPECT_FALSE(s.frc.iconPictureFromRecord);
    EXPECT_EQ(s.frc.firstText, before.frc.firstText);
    EXPECT_EQ(s.frc.secondText, before.frc.secondText);
    EXPECT_EQ(s.frc.shortText, before.frc.shortText);
    EXPECT_EQ(s.dayDate, before.dayDate);
    EXPECT_EQ(s.otherDate, before.otherDate);
}

}  // namespace
}  // namespace vt
