#include "forecast/forecast_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "app/tray_settings.h"
#include "forecast/icon_choice.h"
#include "text/encoding.h"

namespace vt {
namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

TEST(ForecastTexts, LimitsCountCharacters) {
    const std::string title = "Vantorel: Прогноз погоды. ";
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {BalloonTitle(Repeat("Ж", 37)), title + Repeat("Ж", 37)},
        {BalloonTitle(Repeat("Ж", 38)), title + Repeat("Ж", 37)},
        {BalloonTitle("Москва"), title + "Москва"},
        {ShortTooltip("Тверь", Repeat("ю", 120)), "Тверь: " + Repeat("ю", 120)},
        {ShortTooltip("Тверь", Repeat("ю", 121)), "Тверь: " + Repeat("ю", 120)},
        {ShortTooltip("Тверь", "15/12 Сб, день: Ясно, -4..-6 °C, "),
         "Тверь: 15/12 Сб, день: Ясно, -4..-6 °C, "},
        {BalloonText(Repeat("ы", 255)), Repeat("ы", 255)},
        {BalloonText(Repeat("ы", 254) + "°C"), Repeat("ы", 254) + "°"},
        {TooltipText(Repeat("щ", 126) + "°C"), Repeat("щ", 126) + "°"},
        {FrcCaptionAtStartup(Repeat("Ж", 60)), "Прогноз на 3 дня по г." + Repeat("Ж", 60)},
        {FrcCaptionAfterLoad(Repeat("Ж", 60)), "Прогноз на 3 дня по г. " + Repeat("Ж", 60)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, c.expected) << CharCount(c.expected);
    EXPECT_EQ(CharCount(kClickTooltip), 48u);
}

TEST(ForecastIconChoice, DigitsOrPictureSet) {
    const std::string temp = "Температура";
    const struct {
        int picture;
        std::string view, style, tempText;
        bool digits, light;
    } cases[] = {
        {6, temp, "1", "-5", true, false},
        {6, temp, "0", "-12", true, true},
        {9, temp, "1", "-5", false, false},
        {6, temp, "1", "", false, false},
        {6, "Облачность и осадки", "0", "-5", false, true},
        {6, "температура", "1", "-5", false, false},
        {6, temp + " ", "1", "-5", false, false},
        {0, temp, "", "3", true, false},
        {3, "", "", "3", false, false},
        {3, "", " 0", "3", false, false},
        {3, "", "00", "3", false, false},
    };
    constexpr Colour kRed = 0x0000FF;
    for (const auto& c : cases) {
        const TrayIconImage image = ChooseTrayIcon(c.picture, ShowsTemperature(c.view),
                                                   UsesLightPictures(c.style), c.tempText, kRed);
        EXPECT_EQ(image.drawTemperature, c.digits) << c.view << "|" << c.style << "|" << c.tempText;
        EXPECT_EQ(image.picture, c.picture);
        EXPECT_EQ(image.lightStyle, c.light) << c.style;
        EXPECT_EQ(image.temperatureText, c.digits ? c.tempText : "");
        EXPECT_EQ(image.colour, c.digits ? kRed : kClBlack);
    }
}

}  // namespace
}  // namespace vt
