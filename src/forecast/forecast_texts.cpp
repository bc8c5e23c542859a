#include "forecast/forecast_texts.h"

#include "text/encoding.h"

namespace vt {
namespace {

std::string Concat(std::string_view a, std::string_view b) {
    std::string text(a);
    text += b;
    return text;
}

}  // namespace

std::string BalloonTitle(std::string_view townName) {
    return CutToChars(Concat("Vantorel: Прогноз погоды. ", townName), kBalloonTitleChars);
}

std::string ShortTooltip(std::string_view townName, std::string_view shortText) {
    return CutToChars(Concat(Concat(townName, ": "), shortText), kTipChars);
}

std::string BalloonText(std::string_view trayText) {
    return CutToChars(trayText, kBalloonInfoChars);
}

std::string TooltipText(std::string_view trayText) {
    return CutToChars(trayText, kTipChars);
}

std::string FrcCaptionAtStartup(std::string_view townName) {
    return Concat("Прогноз на 3 дня по г.", townName);
}

std::string FrcCaptionAfterLoad(std::string_view townName) {
    return Concat("Прогноз на 3 дня по г. ", townName);
}

}  // namespace vt
