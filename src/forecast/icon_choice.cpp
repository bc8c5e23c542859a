#include "forecast/icon_choice.h"

#include <string>

namespace vt {

TrayIconImage ChooseTrayIcon(int picture, std::string_view viewIconCheked,
                             std::string_view picOnIconStyle, std::string_view iconTempText,
                             Colour colour) {
    TrayIconImage image;
    image.picture = picture;
    image.lightStyle = picOnIconStyle == "0";
    if (viewIconCheked == "Температура" && !iconTempText.empty() && picture != kNeutralPicture) {
        image.drawTemperature = true;
        image.temperatureText = std::string(iconTempText);
        image.colour = colour;
    }
    return image;
}

int TrayPictureNumber(const TFrcBaloonAndIcon& frc) {
    return frc.iconPictureFromRecord ? frc.iconPicture - 1 : kNeutralPicture;
}

}  // namespace vt
