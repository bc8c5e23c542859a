#include "app/tray_decision.h"

#include "app/comma_text.h"
#include "app/tray_settings.h"
#include "forecast/forecast_texts.h"
#include "forecast/icon_choice.h"

namespace vt {
std::uint32_t BalloonTimeoutMs(std::string_view breakBaloonCheked) {
    const int seconds = WholeNumberOr(breakBaloonCheked, 10);
    return static_cast<std::uint32_t>(seconds > 0 ? seconds : 10) * 1000u;
}

TrayUpdate DecideTrayUpdate(std::string_view state, const TrayData& previous,
                            const TTraySettings& settings, const TFrcBaloonAndIcon& frc) {
    TrayUpdate update;
    TrayData& d = update.data;
    d = previous;
    int picture = kNeutralPicture;
    const bool isError = state == kStateError;
    const bool neutralState = isError || state == kStatePref;

    if (state == kStateFormCreate) {
        d.dwInfoFlags = kInfoIcon;
        d.uFlags = kTipFlags;
        d.szTip = TooltipText(frc.trayText);
    } else if (settings.balloonRequested && settings.winMajor == 5) {
        d.uFlags = kBalloonFlags;
        d.szInfo = BalloonText(frc.trayText);
        d.szInfoTitle = BalloonTitle(settings.frcTownName);
        d.dwInfoFlags = isError ? kErrorIcon : kInfoIcon;
        if (!isError) picture = TrayPictureNumber(frc);
    } else if (settings.winMajor == 5) {
        d.dwInfoFlags = kInfoIcon;
        d.uFlags = kTipFlags;
        d.szTip = kClickTooltip;
        if (!neutralState) picture = TrayPictureNumber(frc);
    } else if (settings.winMajor == 4) {
        if (neutralState) {
            d.szTip = TooltipText(frc.trayText);
        } else {
            d.szTip = ShortTooltip(settings.frcTownName, frc.shortText);
            picture = TrayPictureNumber(frc);
        }
    }
    d.uCallbackMessage = kWmTrayIcon;
    d.uTimeout = BalloonTimeoutMs(settings.breakBaloonCheked);

    update.image = ChooseTrayIcon(picture, ShowsTemperature(settings.viewIconCheked),
                                  UsesLightPictures(settings.picOnIconStyle), frc.iconTempText,
                                  settings.viewIconColor);
    update.message = state == kStateFormCreate ? TrayMessage::Add : TrayMessage::Modify;
    return update;
}

}  // namespace vt
