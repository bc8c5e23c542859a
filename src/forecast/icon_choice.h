// Which picture the tray icon shows: a weather picture of the light or the dark set, or the
// temperature drawn as digits.
#pragma once

#include <string_view>

#include "common/colour.h"
#include "forecast/forecast_types.h"
#include "ports/tray_shell.h"

namespace vt {

// Digits for the temperature view when iconTempText is known and the picture is not the
// neutral 9; otherwise a picture of the light or the dark set. Only what the chosen drawing
// uses is filled in: the digits' text and colour stay default for a picture.
TrayIconImage ChooseTrayIcon(int picture, bool temperatureView, bool lightPictures,
                             std::string_view iconTempText, Colour colour);

// The picture for the tray where it would show iconPicture - 1: the neutral 9 until a day-period
// record has set iconPicture since start or the last failure, so there is never a picture -1
// and never the weather of a failed load.
int TrayPictureNumber(const TFrcBaloonAndIcon& frc);

}  // namespace vt
