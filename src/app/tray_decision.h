// What one tray display puts into the notify-icon record, decided without the shell.
#pragma once

#include <string_view>

#include "forecast/forecast_types.h"
#include "ports/tray_shell.h"

namespace vt {

struct TTraySettings;

struct TrayUpdate {
    TrayMessage message = TrayMessage::Modify;
    TrayData data;
    TrayIconImage image;
};

// previous: the record as the last display left it.
TrayUpdate DecideTrayUpdate(std::string_view state, const TrayData& previous,
                            const TTraySettings& settings, const TFrcBaloonAndIcon& frc);

// The balloon time: breakBaloonCheked seconds, 10 when it is not a positive whole number.
std::uint32_t BalloonTimeoutMs(std::string_view breakBaloonCheked);

}  // namespace vt
