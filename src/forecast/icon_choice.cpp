#include "forecast/icon_choice.h"

#include <string>

namespace vt {

TrayIconImage ChooseTrayIcon(int picture, bool temperatureView, bool lightPictures,
                             std::string_view iconTempText, Colour colour) {
    TrayIconImage image;
    image.picture = picture;
    image.lightStyle = lightPictures;
    if (temperatureView && !iconTempText.empty() && picture != kNeutralPicture) {
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
